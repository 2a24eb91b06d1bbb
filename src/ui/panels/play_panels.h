// The view mode's panels: the play controls under the canvas (PlayPanel:
// the step buttons, the step slider and the step counter) and the replay
// panel beside it (ReplayPanel: ▶/⏸ and the speed choice).
#pragma once

#include <QFrame>

#include "ui/auto_play.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

class PlayControls : public QFrame {
  Q_OBJECT

 public:
  explicit PlayControls(QWidget* parent);

  // The slider's position: the step shown.
  int Step() const;
  // Moves the slider; StepChanged follows when the position changes.
  void SetStep(int step);
  // The slider's range becomes 0 … last (the position stays where it fits).
  void SetLastStep(int last);
  // Whether "<", "□" and ">" take clicks.
  void EnableSteps(bool reverse, bool stop, bool forward);
  void EnableReverse(bool enabled);
  void EnableForward(bool enabled);

 signals:
  void ReverseAsked();
  void StopAsked();
  void ForwardAsked();
  // The slider's position changed, by the user or by the program.
  void StepChanged(int step);
  // The user pressed the slider's thumb (before it moves).
  void StepGrabbed();

 private:
  // "12 / 170" as big as the counter holds it.
  void UpdateStepCount();

  QPushButton* m_reverse = nullptr;
  QPushButton* m_stop = nullptr;
  QPushButton* m_forward = nullptr;
  QSlider* m_slider = nullptr;
  QLabel* m_count = nullptr;
};

class ReplayControls : public QFrame {
  Q_OBJECT

 public:
  explicit ReplayControls(QWidget* parent);

  PlaybackSpeed Speed() const { return m_speed; }
  // Checks the speed's button without asking for it.
  void SetSpeed(PlaybackSpeed speed);
  // ▶ while stopped, ⏸ while playing; its tooltip and name follow.
  void ShowPlaying(bool playing);

 signals:
  void PlayPauseAsked();
  // The user clicked a speed button (the checked one too).
  void SpeedChosen(PlaybackSpeed speed);

 private:
  QToolButton* m_play = nullptr;
  QButtonGroup* m_speeds = nullptr;
  PlaybackSpeed m_speed = PlaybackSpeed::One;
};
