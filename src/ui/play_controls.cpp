// The play controls of the view mode. The slider's position is always the
// step number of CurrentStep; its change handler runs whenever the position
// changes, also when a button sets it, and is the one place that shows the
// step: a button only moves the slider. A step taken by hand stops the
// replay that plays by itself (auto_play.cpp).
#include <algorithm>

#include "history/describe.h"
#include "history/play.h"
#include "ui/main_window.h"
#include "ui/panels/play_panels.h"

void MainWindow::StopBtnClick() {
  StopPlaying();
  PlayPanel->EnableSteps(false, true, true);
  if (PlayPanel->Step() != 0) {
    PlayPanel->SetStep(0);
  } else {
    WalkToStep(S, 0);
  }
}

void MainWindow::ForwardBtnClick() {
  StopPlaying();
  if (S.AtLastStep()) {
    PlayPanel->EnableForward(false);
    return;
  }
  PlayPanel->SetStep(PlayPanel->Step() + 1);
}

void MainWindow::ReverseBtnClick() {
  StopPlaying();
  if (S.CurrentStep() == 0) {
    PlayPanel->EnableReverse(false);
    return;
  }
  PlayPanel->SetStep(PlayPanel->Step() - 1);
}

void MainWindow::TimeTrackBarChange() {
  if (!m_playStepping) StopPlaying();
  const int position = PlayPanel->Step();
  const bool atStart = position <= 0;
  const bool atEnd = position >= S.History().Count();
  PlayPanel->EnableReverse(!atStart);
  PlayPanel->EnableForward(!atEnd);

  const int32_t step = std::clamp(position, 0, S.History().Count());
  // Step 0 shows as a record of nothing.
  ShowAction(S, step > 0 ? S.History().At(step) : Action{});
  WalkToStep(S, step);
  NoteShownStep();
}
