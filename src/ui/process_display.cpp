// The internal process display panel.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/main_window.h"

void MainWindow::ShowDataMenuClick() {
  S.ShowProcess = !S.ShowProcess;
  setMinimumSize(MinimumWindowSize());
  if (S.ShowProcess) {
    ShowDataMenu->setText(tr("内部処理の非表示"));
    Memo->clear();  // earlier lines are not shown again
    resize(FittedSize(QSize(990, 620), AvailableRoom()));
  } else {
    ShowDataMenu->setText(tr("内部処理の表示"));
    resize(FittedSize(QSize(810, 620), AvailableRoom()));
  }
  Memo->setVisible(S.ShowProcess);
  ClearMemoBtn->setVisible(S.ShowProcess);
}

void MainWindow::ClearMemoBtnClick() { Memo->clear(); }

void MainWindow::AddLine(const std::string& line) {
  if (Memo) Memo->appendPlainText(QString::fromStdString(line));
}

void MainWindow::Clear() {
  if (Memo) Memo->clear();
}
