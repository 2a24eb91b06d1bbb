// Undo and redo read from the records alone (see undo_plan.h).
#include <algorithm>
#include <vector>

#include "history/undo_plan.h"

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

UndoRedoPlan UndoPlanner::Plan(const HistoryList& history) {
  const auto known = static_cast<int32_t>(m_made.size()) - 1;
  if (m_history != &history || m_generation != history.Generation() || known > history.Count()) {
    m_history = &history;
    m_generation = history.Generation();
    m_made.assign(1, 0);
    m_redo.clear();
  }
  // Worked on as locals: the compiler then keeps their ends in registers
  // instead of reloading them after every store.
  std::vector<int32_t> made = std::move(m_made);
  std::vector<int32_t> redo = std::move(m_redo);
  const int32_t count = history.Count();
  made.reserve(static_cast<size_t>(count) + 1);
  auto k = static_cast<int32_t>(made.size());
  int32_t shown = made.back();  // made[k - 1]
  for (auto it = history.begin() + (k - 1); k <= count; ++k, ++it) {
    const ActionKind kind = it->TargetType;
    if (kind == ActionKind::Branch) {
      const int32_t target = BranchTarget(it->TargetID, k);
      if (target == k - 1) {
        // shows the picture already shown
      } else if (shown > 0 && target == shown - 1) {
        redo.push_back(k - 1);  // an undo
        shown = made[target];
      } else if (!redo.empty() && target == redo.back()) {
        redo.pop_back();  // a redo
        shown = made[target];
      } else {
        // Drawing on from an earlier step of the view mode: a change like
        // any other, which an undo takes back to the picture before it.
        redo.clear();
        shown = k;
      }
    } else if (!ChangesNothingDrawn(kind)) {
      redo.clear();  // something new drawn or changed
      shown = k;
    }
    made.push_back(shown);
  }
  UndoRedoPlan plan;
  if (made.back() > 0) plan.UndoTo = made.back() - 1;
  if (!redo.empty()) plan.RedoTo = redo.back();
  m_made = std::move(made);
  m_redo = std::move(redo);
  return plan;
}

UndoRedoPlan PlanUndoRedo(const HistoryList& history) { return UndoPlanner().Plan(history); }
