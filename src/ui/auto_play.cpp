// The replay that plays by itself: the ▶/⏸ button, the speed choice and the
// step counter of the view mode. Each step is one move of the slider, as if
// the child had pressed ">", so the slider and the counter follow it; any
// other move of the slider, a play button, a mode button or a menu stops it.
#include "ui/auto_play.h"

#include <QButtonGroup>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <cmath>

#include "history/replay_pace.h"
#include "ui/Unit1.h"
#include "ui/icons.h"

namespace {

// The empty canvas before the first record has no recorded time of its own.
constexpr int kFirstStepMilliseconds = 500;

}  // namespace

TQtPlayTimer::TQtPlayTimer() {
  FTimer.setSingleShot(true);
  FTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] {
    if (OnTimeout) OnTimeout();
  });
}

void TQtPlayTimer::Start(int milliseconds) { FTimer.start(milliseconds); }

void TQtPlayTimer::Stop() { FTimer.stop(); }

bool TQtPlayTimer::IsActive() const { return FTimer.isActive(); }

int PlayStepMilliseconds(TPlaySpeed speed, const TActionItem* shown, const TActionItem* head) {
  switch (speed) {
    case psOne:
      return 1000;
    case psTwo:
      return 500;
    case psFour:
      return 250;
    case psAsDrawn:
      break;
  }
  if (shown == nullptr || shown == head || shown->Next == nullptr) return kFirstStepMilliseconds;
  TReplayPace pace;
  pace.Kind = pcAsDrawn;
  return static_cast<int>(std::lround(StepSeconds(pace, shown) * 1000));
}

void TTamloForm::SetPlayTimer(std::unique_ptr<TPlayTimer> timer) {
  StopPlaying();
  if (FPlayTimer) FPlayTimer->OnTimeout = nullptr;
  FPlayTimer = std::move(timer);
  if (FPlayTimer) FPlayTimer->OnTimeout = [this] { PlayTimerTick(); };
}

TPlaySpeed TTamloForm::PlaySpeed() const {
  const int id = SpeedGroup != nullptr ? SpeedGroup->checkedId() : -1;
  return id >= psOne && id <= psAsDrawn ? static_cast<TPlaySpeed>(id) : psOne;
}

void TTamloForm::PlayBtnClick() {
  if (FPlaying) {
    StopPlaying();
    return;
  }
  if (S.WorkMode != wmPlay || S.History.Count() == 0 || !FPlayTimer) return;
  // At the last step the film starts again from the empty canvas.
  if (S.CurrentStep->Next == nullptr) StopBtnClick();
  FPlaying = true;
  ShowPlayState();
  FPlayTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.CurrentStep, S.History.Head));
}

void TTamloForm::StopPlaying() {
  if (!FPlaying) return;
  FPlaying = false;
  if (FPlayTimer) FPlayTimer->Stop();
  ShowPlayState();
}

void TTamloForm::SpeedBtnClick() {
  // A new speed counts from now on, for the step on the screen too.
  if (FPlaying) FPlayTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.CurrentStep, S.History.Head));
}

void TTamloForm::PlayTimerTick() {
  if (!FPlaying) return;
  if (S.WorkMode != wmPlay || S.CurrentStep->Next == nullptr) {
    StopPlaying();
    return;
  }
  FPlayStepping = true;
  TimeTrackBar->setValue(TimeTrackBar->value() + 1);  // rebuilds the step
  FPlayStepping = false;
  if (S.CurrentStep->Next == nullptr)
    StopPlaying();  // the last step stays
  else
    FPlayTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.CurrentStep, S.History.Head));
}

void TTamloForm::ShowPlayState() {
  if (PlayBtn == nullptr) return;
  const char* name = FPlaying ? "PauseBtn" : "PlayBtn";
  PlayBtn->setIcon(ButtonIcon(QLatin1String(name), PlayBtn->iconSize()));
  PlayBtn->setToolTip(QString::fromUtf8(FPlaying ? "とめる" : "さいせい"));
}

void TTamloForm::UpdateStepCount() {
  if (StepCountLabel == nullptr) return;
  StepCountLabel->setText(QStringLiteral("%1 / %2").arg(TimeTrackBar->value()).arg(TimeTrackBar->maximum()));
}
