#include "io/replay_walker.h"

#include <algorithm>

#include "document/paths.h"

ReplayWalker::ReplayWalker(const HistoryList& history, UserDialogs& dialogs) {
  W.Dialogs = &dialogs;
  W.Pictures = &Store;
  for (const Action& a : history) {
    Action& copy = W.History.Add();
    copy = a;
    // The window's links name the window's figures: the copy makes its own.
    copy.TargetFig = nullptr;
    copy.TargetItem.reset();
  }
  W.History.NextFigID = history.NextFigID;
  Restart();
}

ReplayWalker::~ReplayWalker() {
  // The records' links go before the figures they name.
  Walk.reset();
  ForgetLinksAfter(W.History, 0);
}

void ReplayWalker::Restart() {
  Walk.reset();
  Walk = std::make_unique<ForwardReplay>(W);
  W.ShownBGFileName.clear();
  W.Pictures->BlankBGImage();
  Compose();
}

bool ReplayWalker::Next() {
  if (!Walk->Next()) return false;
  // Most steps add a figure on top and change nothing else: that figure
  // alone is drawn onto the last picture (a record that brings back the
  // figure deleted last adds it on top too; a branch is a record of its
  // own kind).
  if (IsCreatingAction(W.History.At(Step()).TargetType) && W.BGFileName == W.ShownBGFileName)
    Store.PaintFigureAddedOnTop();
  else
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
  if (W.BGFileName != W.ShownBGFileName) {
    if (W.BGFileName.empty()) {
      W.Pictures->BlankBGImage();
    } else if (W.Pictures->LoadBGPicture(W.BGFileName) == 1) {
      // Not where it was recorded: by its bare name in the current folder.
      const std::string bare = PathBareName(W.BGFileName);
      if (!bare.empty() && bare != W.BGFileName) W.Pictures->LoadBGPicture(bare);
    }
    // Taken even when the picture was not found: the next step does not
    // look for it again.
    W.ShownBGFileName = W.BGFileName;
  }
  W.Pictures->PaintBoxPaint();
}
