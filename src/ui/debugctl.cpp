// The internal process display panel.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/Unit1.h"

void TTamloForm::ShowDataMenuClick() {
  S.ShowProcess = !S.ShowProcess;
  if (S.ShowProcess) {
    ShowDataMenu->setText("内部処理の非表示");
    Memo->clear();  // earlier lines are not shown again
    resize(990, 620);
  } else {
    ShowDataMenu->setText("内部処理の表示");
    resize(810, 620);
  }
  Memo->setVisible(S.ShowProcess);
  ClearMemoBtn->setVisible(S.ShowProcess);
}

void TTamloForm::ClearMemoBtnClick() { Memo->clear(); }

void TTamloForm::AddLine(const std::string& line) {
  if (Memo) Memo->appendPlainText(QString::fromStdString(line));
}

void TTamloForm::Clear() {
  if (Memo) Memo->clear();
}
