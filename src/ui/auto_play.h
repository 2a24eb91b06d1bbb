// The view mode's replay that plays by itself: the timer it runs on, and
// how long each step stays on the screen at each speed.
#pragma once

#include <QTimer>
#include <functional>

#include "history/history.h"

// A single-shot timer. The window runs the replay on a QTimer; tests plug in
// one they fire by hand, so no test waits for real time.
class PlaybackTimer {
 public:
  virtual ~PlaybackTimer() = default;
  // Called once when a started timer runs out.
  std::function<void()> OnTimeout;
  // (Re)starts the timer; it runs out after `milliseconds`.
  virtual void Start(int milliseconds) = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
};

class QtPlaybackTimer : public PlaybackTimer {
 public:
  QtPlaybackTimer();
  void Start(int milliseconds) override;
  void Stop() override;
  bool IsActive() const override;

 private:
  QTimer m_timer;
};

// The speeds to choose from: one, two or four steps a second, or the pace at
// which the drawing was made.
enum class PlaybackSpeed { One, Two, Four, AsDrawn };

// How long step `shown` stays before the next one comes, in
// milliseconds. As drawn, a step stays as long as the child took to the next
// record, long pauses shortened to at most 2 seconds; the empty canvas
// before the first record stays half a second.
int PlayStepMilliseconds(PlaybackSpeed speed, const HistoryList& history, int32_t shown);
