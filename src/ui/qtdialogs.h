// The real message boxes and file dialogs of the window.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "history/ports.h"

class QWidget;

class QtDialogs : public UserDialogs {
 public:
  explicit QtDialogs(QWidget* parent) : m_parent(parent) {}

  // OK only, captioned with the application title.
  void ShowMessage(const std::string& text) override;
  // The error box: error icon, application title.
  void ShowError(const std::string& text) override;
  // Question icon, Japanese button texts.
  ModalResult Ask(const std::string& text, const std::string& caption, QuestionButtons buttons) override;
  // The same with the picture in place of the question icon.
  ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                             const SmallPicture& picture) override;
  // Runs an open or save dialog; on success the chosen file's folder becomes
  // the current folder.
  bool Execute(FileDialog& dialog) override;
  // A list of the lines under the question, each with its picture, the
  // first one chosen; はい takes the line chosen, いいえ none.
  int Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines,
             const std::vector<SmallPicture>& pictures) override;

  // "text|pattern;pattern|text|pattern" to Qt's name filters, each pattern's
  // extension offered in lower and upper case ("*.tlo" matches .tlo and .TLO).
  static QStringList NameFilters(const std::string& filter);
  // Appends "." + ext when the file name has no extension (ext empty: never).
  static QString WithDefaultExt(const QString& path, const std::string& ext);

 private:
  QWidget* m_parent;
};
