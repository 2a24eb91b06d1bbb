// The file dialogs as the settings shape them: every dialog that has no file
// name yet opens in the folder the settings give (or, once a folder has
// been chosen this run, in that one), the folder chosen is remembered for
// the next run, and in kiosk mode a file may be saved only inside the
// configured folder. Wraps the real dialogs (or a test's).
#pragma once

#include <QString>

#include "history/ports.h"

class Settings;

class FolderDialogs : public UserDialogs {
 public:
  FolderDialogs(UserDialogs& inner, Settings& settings);

  void ShowMessage(const std::string& text) override { m_inner.ShowMessage(text); }
  void ShowError(const std::string& text) override { m_inner.ShowError(text); }
  ModalResult Ask(const std::string& text, const std::string& caption, QuestionButtons buttons) override {
    return m_inner.Ask(text, caption, buttons);
  }
  ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                             const SmallPicture& picture) override {
    return m_inner.AskWithPicture(text, caption, buttons, picture);
  }
  int Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines,
             const std::vector<SmallPicture>& pictures) override {
    return m_inner.Choose(text, caption, lines, pictures);
  }
  bool Execute(FileDialog& dialog) override;

  // The message of a save outside the folder in kiosk mode.
  static std::string OutsideFolderText(const QString& folder);

 private:
  // The folder a dialog without a file name opens in.
  QString FolderToOpen() const;

  UserDialogs& m_inner;
  Settings& m_settings;
  // The working folder when the window started: while it is still the
  // working folder, nothing has been opened or chosen yet.
  QString m_startWorkingFolder;
};
