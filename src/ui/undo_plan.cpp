// Undo and redo read from the records alone (see undo_redo.h). No Qt here:
// the benchmarks and any tool can use it with the document core.
#include <algorithm>
#include <vector>

#include "ui/undo_redo.h"

namespace {

// Records that leave the drawing and its background as they were.
bool ChangesNothingDrawn(ActionKind kind) {
  switch (kind) {
    case ActionKind::Create:
    case ActionKind::Move:
    case ActionKind::Duplicate:
    case ActionKind::Delete:
    case ActionKind::Undo:
    case ActionKind::Front:
    case ActionKind::Back:
    case ActionKind::Change:
    case ActionKind::ReadBG:
    case ActionKind::ClearBG:
    case ActionKind::ClearDrawing:
    case ActionKind::ClearAll:
      return false;
    default:  // ActionKind::SetStamp, ActionKind::ReadData, ActionKind::None and codes no program writes
      return true;
  }
}

// The step a branch record at `position` shows, as replay reads it: a
// negative target is the empty canvas, and a branch can only go back.
int32_t BranchTarget(int32_t targetID, int32_t position) {
  if (targetID < 0) return 0;
  return std::min(targetID, position - 1);
}

}  // namespace

UndoRedoPlan PlanUndoRedo(const HistoryList& history) {
  // made[k]: the step whose change made the picture shown after step k.
  std::vector<int32_t> made;
  made.reserve(static_cast<size_t>(history.Count()) + 1);
  made.push_back(0);
  // The steps shown before each undo not yet redone, the latest last.
  std::vector<int32_t> redo;
  int32_t k = 0;
  for (const Action& a : history) {
    ++k;
    const ActionKind kind = a.TargetType;
    if (kind == ActionKind::Branch) {
      const int32_t target = BranchTarget(a.TargetID, k);
      const int32_t before = made[k - 1];
      if (target == k - 1) {
        made.push_back(before);  // shows the picture already shown
      } else if (before > 0 && target == before - 1) {
        redo.push_back(k - 1);  // an undo
        made.push_back(made[target]);
      } else if (!redo.empty() && target == redo.back()) {
        redo.pop_back();  // a redo
        made.push_back(made[target]);
      } else {
        // Drawing on from an earlier step of the view mode: a change like
        // any other, which an undo takes back to the picture before it.
        redo.clear();
        made.push_back(k);
      }
    } else if (ChangesNothingDrawn(kind)) {
      made.push_back(made[k - 1]);
    } else {
      redo.clear();  // something new drawn or changed
      made.push_back(k);
    }
  }
  UndoRedoPlan plan;
  if (made[k] > 0) plan.UndoTo = made[k] - 1;
  if (!redo.empty()) plan.RedoTo = redo.back();
  return plan;
}
