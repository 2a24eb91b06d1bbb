// Undo and redo of the draw and edit modes, worked out from the records
// alone. An undo or a redo never cuts the history: it appends a Branch record
// to the step whose picture it shows, the record that leaving the view mode
// at an earlier step writes. So the same history, loaded again, undoes and
// redoes the same way, and older programs replay it unchanged.
//
// The picture after any step k is the picture of a step c(k) made by a
// change: c(k) = k for a change, c(target) for an undo or a redo, c(k - 1)
// for a record that changes nothing drawn (a branch to the step just before
// it among them). Undo shows the picture before the change that made the
// current one: step c(tail) - 1. Redo goes back to the step shown before the
// latest undos, one at a time, as long as only undos and redos were recorded
// since. A branch is an undo when it goes to exactly the step an undo would
// show, a redo when it goes to exactly the step a redo would show, and
// otherwise the user's own, written by leaving the view mode at an earlier
// step: that one is a change, so one undo returns to the picture before it
// and a redo brings it back. Only the records decide, so a loaded drawing
// undoes the same way.
#pragma once

#include <cstdint>
#include <vector>

#include "history/history.h"

struct UndoRedoPlan {
  int32_t UndoTo = -1;  // the step an undo branches to; -1: nothing to undo
  int32_t RedoTo = -1;  // the step a redo branches to; -1: nothing to redo
};

// The plan of one history, kept up to date as records are appended: each
// record is read once, so asking after every click costs nothing more than
// the records added since. A history cleared (and read again) is read anew.
class UndoPlanner {
 public:
  UndoRedoPlan Plan(const HistoryList& history);

 private:
  const HistoryList* m_history = nullptr;
  uint64_t m_generation = 0;
  // m_made[k]: the step whose change made the picture shown after step k.
  std::vector<int32_t> m_made;
  // The steps shown before each undo not yet redone, the latest last.
  std::vector<int32_t> m_redo;
};

// Reads the whole history once (linear in its length).
UndoRedoPlan PlanUndoRedo(const HistoryList& history);
