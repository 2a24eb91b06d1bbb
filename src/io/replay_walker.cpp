#include "io/replay_walker.h"

#include <algorithm>

#include <utility>

ReplayWalker::ReplayWalker(const HistoryList& history, UserDialogs& dialogs) {
  W.Dialogs = &dialogs;
  W.Pictures = &Store;
  HistoryList records;
  for (const Action& a : history) {
    Action& copy = records.Add();
    copy = a;
    // The window's links name the window's figures: the copy makes its own.
    copy.TargetFig = nullptr;
    copy.TargetItem.reset();
  }
  records.NextFigID = history.NextFigID;
  LoadHistory(W, std::move(records));
  Restart();
}

ReplayWalker::~ReplayWalker() {
  // The records' links go before the figures they name.
  Walk.reset();
  W.Reset();
}

void ReplayWalker::Restart() {
  Walk.reset();
  Walk = std::make_unique<ForwardReplay>(W);
  ShowBlankBackground(W);
  Compose();
}

bool ReplayWalker::Next() {
  if (!Walk->Next()) return false;
  Compose();
  return true;
}

void ReplayWalker::ForwardTo(int step) {
  step = std::clamp(step, 0, Count());
  if (step < Step()) Restart();
  if (step == Step()) return;
  while (Step() < step) Walk->Next();
  Compose();
}

// The background the records ask for, as GoToStep loads it, then the canvas.
void ReplayWalker::Compose() {
  LoadAskedBackground(W);
  W.Pictures->PaintBoxPaint();
}
