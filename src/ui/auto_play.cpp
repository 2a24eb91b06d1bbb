// The replay that plays by itself: the ▶/⏸ button, the speed choice and the
// step counter of the view mode. Each step is one move of the slider, as if
// the child had pressed ">", so the slider and the counter follow it; any
// other move of the slider, a play button, a mode button or a menu stops it.
#include "ui/auto_play.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <cmath>

#include "history/replay_pace.h"
#include "ui/main_window.h"
#include "ui/icons.h"
#include "ui/panels/play_panels.h"

namespace {

// The empty canvas before the first record has no recorded time of its own.
constexpr int kFirstStepMilliseconds = 500;

}  // namespace

QtPlaybackTimer::QtPlaybackTimer() {
  m_timer.setSingleShot(true);
  m_timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
    if (OnTimeout) OnTimeout();
  });
}

void QtPlaybackTimer::Start(int milliseconds) { m_timer.start(milliseconds); }

void QtPlaybackTimer::Stop() { m_timer.stop(); }

bool QtPlaybackTimer::IsActive() const { return m_timer.isActive(); }

int PlayStepMilliseconds(PlaybackSpeed speed, const HistoryList& history, int32_t shown) {
  switch (speed) {
    case PlaybackSpeed::One:
      return 1000;
    case PlaybackSpeed::Two:
      return 500;
    case PlaybackSpeed::Four:
      return 250;
    case PlaybackSpeed::AsDrawn:
      break;
  }
  if (shown <= 0 || shown >= history.Count()) return kFirstStepMilliseconds;
  ReplayPace pace;
  pace.Kind = PaceKind::AsDrawn;
  return static_cast<int>(std::lround(StepSeconds(pace, history, shown) * 1000));
}

void MainWindow::SetPlayTimer(std::unique_ptr<PlaybackTimer> timer) {
  StopPlaying();
  if (m_playTimer) m_playTimer->OnTimeout = nullptr;
  m_playTimer = std::move(timer);
  if (m_playTimer) m_playTimer->OnTimeout = [this] { PlayTimerTick(); };
}

void MainWindow::PlayBtnClick() {
  if (m_playing) {
    StopPlaying();
    return;
  }
  if (S.WorkMode != WindowMode::Play || S.History().Count() == 0 || !m_playTimer) return;
  // At the last step the film starts again from the empty canvas.
  if (S.AtLastStep()) StopBtnClick();
  m_playing = true;
  ShowPlayState();
  m_playTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.History(), S.CurrentStep()));
}

void MainWindow::StopPlaying() {
  if (!m_playing) return;
  m_playing = false;
  if (m_playTimer) m_playTimer->Stop();
  ShowPlayState();
}

void MainWindow::SpeedBtnClick() {
  // A new speed counts from now on, for the step on the screen too.
  if (m_playing) m_playTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.History(), S.CurrentStep()));
}

void MainWindow::PlayTimerTick() {
  if (!m_playing) return;
  if (S.WorkMode != WindowMode::Play || S.AtLastStep()) {
    StopPlaying();
    return;
  }
  m_playStepping = true;
  PlayPanel->SetStep(PlayPanel->Step() + 1);  // rebuilds the step
  m_playStepping = false;
  if (S.AtLastStep())
    StopPlaying();  // the last step stays
  else
    m_playTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.History(), S.CurrentStep()));
}

void MainWindow::ShowPlayState() {
  if (ReplayPanel) ReplayPanel->ShowPlaying(m_playing);
}

PlaybackSpeed MainWindow::PlaySpeed() const { return ReplayPanel ? ReplayPanel->Speed() : PlaybackSpeed::One; }
