// The play controls of the view mode. The slider's position is always the
// step number of CurrentStep; its change handler runs whenever the position
// changes, also when a button sets it, and rebuilds the drawing. A step
// taken by hand stops the replay that plays by itself (auto_play.cpp).
#include <QPushButton>
#include <QSlider>

#include "history/describe.h"
#include "history/play.h"
#include "ui/main_window.h"

void MainWindow::StopBtnClick() {
  StopPlaying();
  S.CurrentStep = S.History.Head;
  ForwardBtn->setEnabled(true);
  StopBtn->setEnabled(true);
  ReverseBtn->setEnabled(false);
  TimeTrackBar->setValue(0);
  GoToStep(S);
}

void MainWindow::ForwardBtnClick() {
  StopPlaying();
  if (S.CurrentStep->Next == nullptr) {  // already at the last step
    ForwardBtn->setEnabled(false);
    return;
  }
  S.CurrentStep = S.CurrentStep->Next;
  GoToStep(S);
  ReverseBtn->setEnabled(true);
  TimeTrackBar->setValue(TimeTrackBar->value() + 1);
  if (S.CurrentStep->Next == nullptr) ForwardBtn->setEnabled(false);
}

void MainWindow::ReverseBtnClick() {
  StopPlaying();
  if (S.CurrentStep == S.History.Head) {  // already at step 0
    ReverseBtn->setEnabled(false);
    return;
  }
  S.CurrentStep = S.CurrentStep->Prev;
  GoToStep(S);
  ForwardBtn->setEnabled(true);
  TimeTrackBar->setValue(TimeTrackBar->value() - 1);
  if (S.CurrentStep == S.History.Head) ReverseBtn->setEnabled(false);
}

void MainWindow::TimeTrackBarChange() {
  if (!m_playStepping) StopPlaying();
  const int position = TimeTrackBar->value();
  const bool atStart = position <= 0;
  const bool atEnd = position >= S.History.Count();
  ReverseBtn->setEnabled(!atStart);
  ForwardBtn->setEnabled(!atEnd);

  HistoryItem* step = S.History.Head;
  for (int i = 0; i < position && step->Next; ++i) step = step->Next;
  S.CurrentStep = step;
  ShowAction(S, step->Data);
  GoToStep(S);
  NoteShownStep();
}
