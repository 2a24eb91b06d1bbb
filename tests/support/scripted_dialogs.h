// A scripted stand-in for message boxes and file dialogs: questions take
// queued answers, file dialogs queued paths, and everything shown is
// recorded, so no test ever blocks on a modal box.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "history/ports.h"

struct ShownBox {
  enum Kind { Message, Error, Question } kind;
  std::string text;
  std::string caption;  // questions only
  QuestionButtons buttons = QuestionButtons::YesNo;
};

class ScriptedDialogs : public UserDialogs {
 public:
  std::vector<ShownBox> Shown;
  std::deque<ModalResult> Answers;       // next answers to questions
  std::deque<std::string> Files;          // next dialog results; "" = cancel
  std::deque<int> FileTypes;              // the file type (1-based) chosen with them, when given
  std::vector<FileDialog> DialogsRun;    // every file dialog, as preset
  ModalResult DefaultAnswer = ModalResult::No;
  std::vector<SmallPicture> Pictures;    // the picture of every question asked with one

  void ShowMessage(const std::string& text) override { Shown.push_back({ShownBox::Message, text, "", QuestionButtons::YesNo}); }
  void ShowError(const std::string& text) override { Shown.push_back({ShownBox::Error, text, "", QuestionButtons::YesNo}); }
  ModalResult Ask(const std::string& text, const std::string& caption, QuestionButtons buttons) override {
    Shown.push_back({ShownBox::Question, text, caption, buttons});
    if (Answers.empty()) return DefaultAnswer;
    ModalResult r = Answers.front();
    Answers.pop_front();
    return r;
  }
  ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                             const SmallPicture& picture) override {
    Pictures.push_back(picture);
    return Ask(text, caption, buttons);
  }
  bool Execute(FileDialog& dialog) override {
    DialogsRun.push_back(dialog);
    if (Files.empty()) return false;
    std::string f = Files.front();
    Files.pop_front();
    if (f.empty()) return false;
    dialog.FileName = f;
    if (!FileTypes.empty()) {
      dialog.FilterIndex = FileTypes.front();
      FileTypes.pop_front();
    }
    return true;
  }

  // Texts of everything shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& b : Shown) t.push_back(b.text);
    return t;
  }
  std::string LastText() const { return Shown.empty() ? std::string() : Shown.back().text; }
};
