// The play controls of the view mode. The slider's position is always the
// step number of CurrentStep; its change handler runs whenever the position
// changes, also when a button sets it, and is the one place that shows the
// step: a button only moves the slider. A step taken by hand stops the
// replay that plays by itself (auto_play.cpp).
#include <algorithm>

#include <QPushButton>
#include <QSlider>

#include "history/describe.h"
#include "history/play.h"
#include "ui/main_window.h"

void MainWindow::StopBtnClick() {
  StopPlaying();
  ForwardBtn->setEnabled(true);
  StopBtn->setEnabled(true);
  ReverseBtn->setEnabled(false);
  if (TimeTrackBar->value() != 0) {
    TimeTrackBar->setValue(0);
  } else {
    WalkToStep(S, 0);
  }
}

void MainWindow::ForwardBtnClick() {
  StopPlaying();
  if (S.AtLastStep()) {
    ForwardBtn->setEnabled(false);
    return;
  }
  TimeTrackBar->setValue(TimeTrackBar->value() + 1);
}

void MainWindow::ReverseBtnClick() {
  StopPlaying();
  if (S.CurrentStep() == 0) {
    ReverseBtn->setEnabled(false);
    return;
  }
  TimeTrackBar->setValue(TimeTrackBar->value() - 1);
}

void MainWindow::TimeTrackBarChange() {
  if (!m_playStepping) StopPlaying();
  const int position = TimeTrackBar->value();
  const bool atStart = position <= 0;
  const bool atEnd = position >= S.History().Count();
  ReverseBtn->setEnabled(!atStart);
  ForwardBtn->setEnabled(!atEnd);

  const int32_t step = std::clamp(position, 0, S.History().Count());
  // Step 0 shows as a record of nothing.
  ShowAction(S, step > 0 ? S.History().At(step) : Action{});
  WalkToStep(S, step);
  NoteShownStep();
}
