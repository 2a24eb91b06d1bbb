// The steps of a drawing one after the other, as the view mode shows them,
// on a copy of the drawing and a canvas of its own: the exports of every
// step (the video, the numbered series) and of one step walk the history
// forward once, each record applied once, and never touch the window's
// drawing, its step or its canvas.
#pragma once

#include <QImage>
#include <memory>

#include "history/play.h"
#include "history/state.h"
#include "io/picture_store.h"

class ReplayWalker {
 public:
  // Copies the records of `history`; stands at step 0 (the blank canvas, as
  // the view mode starts: a background loaded through the menu, unknown to
  // the records, is not on it). Pictures that cannot be read are told
  // through `dialogs`.
  ReplayWalker(const HistoryList& history, UserDialogs& dialogs);
  ~ReplayWalker();
  ReplayWalker(const ReplayWalker&) = delete;
  ReplayWalker& operator=(const ReplayWalker&) = delete;

  int Count() const { return W.History().Count(); }
  int Step() const { return W.CurrentStep(); }

  // Goes on to the next step and composes its picture; false at the last.
  bool Next();
  // Goes forward to `step` (Step() ≤ step ≤ Count()) and composes only its
  // picture. A step behind the walk starts it over.
  void ForwardTo(int step);
  // Back to step 0, for a second walk.
  void Restart();

  // The picture of the step walked to (640 × 480, RGB32).
  const QImage& Picture() const { return Store.WorkBitmap; }

  // The walk's own drawing: its picture side may be wrapped (the batch mode
  // notes the pictures that could not be drawn).
  AppState& State() { return W; }
  PictureStore& Pictures() { return Store; }

 private:
  AppState W;
  PictureStore Store{W};
  std::unique_ptr<ForwardReplay> Walk;

  void Compose();
};
