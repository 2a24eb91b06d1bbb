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

namespace {

// The empty canvas before the first record has no recorded time of its own.
constexpr int kFirstStepMilliseconds = 500;

// The step counter's letters: their size as laid out, and the smallest
// size kept on one line before the counter takes two.
constexpr int kStepCountPixels = 20;
constexpr int kStepCountMinPixels = 14;

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
  TimeTrackBar->setValue(TimeTrackBar->value() + 1);  // rebuilds the step
  m_playStepping = false;
  if (S.AtLastStep())
    StopPlaying();  // the last step stays
  else
    m_playTimer->Start(PlayStepMilliseconds(PlaySpeed(), S.History(), S.CurrentStep()));
}

void MainWindow::ShowPlayState() {
  if (PlayBtn == nullptr) return;
  const char* name = m_playing ? "PauseBtn" : "PlayBtn";
  PlayBtn->setIcon(ButtonIcon(QLatin1String(name), PlayBtn->iconSize()));
  PlayBtn->setToolTip(m_playing ? tr("とめる") : tr("さいせい"));
  PlayBtn->setAccessibleName(PlayBtn->toolTip());
}

void MainWindow::UpdateStepCount() {
  if (StepCountLabel == nullptr) return;
  const QString step = QString::number(TimeTrackBar->value());
  const QString count = QString::number(TimeTrackBar->maximum());
  // As big as the label holds it: one line while that is readable, two
  // lines for long drawings, never cut off.
  const QSize room = StepCountLabel->contentsRect().size();
  const QString oneLine = step + QStringLiteral(" / ") + count;
  const QString twoLines = step + QStringLiteral(" /\n") + count;
  QFont font = StepCountLabel->font();
  QString text = twoLines;
  for (int size = kStepCountPixels; size >= kStepCountMinPixels; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance(oneLine) <= room.width()) {
      text = oneLine;
      break;
    }
  }
  if (text != oneLine) {
    for (int size = kStepCountPixels; size > 1; --size) {
      font.setPixelSize(size);
      const QFontMetrics metrics(font);
      if (metrics.horizontalAdvance(step + QStringLiteral(" /")) <= room.width() &&
          metrics.horizontalAdvance(count) <= room.width() && 2 * metrics.lineSpacing() <= room.height())
        break;
    }
  }
  StepCountLabel->setFont(font);
  StepCountLabel->setText(text);
}
