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
  m_made.reserve(static_cast<size_t>(history.Count()) + 1);
  for (int32_t k = static_cast<int32_t>(m_made.size()); k <= history.Count(); ++k) {
    const Action& a = history.At(k);
    const ActionKind kind = a.TargetType;
    if (kind == ActionKind::Branch) {
      const int32_t target = BranchTarget(a.TargetID, k);
      const int32_t before = m_made[k - 1];
      if (target == k - 1) {
        m_made.push_back(before);  // shows the picture already shown
      } else if (before > 0 && target == before - 1) {
        m_redo.push_back(k - 1);  // an undo
        m_made.push_back(m_made[target]);
      } else if (!m_redo.empty() && target == m_redo.back()) {
        m_redo.pop_back();  // a redo
        m_made.push_back(m_made[target]);
      } else {
        // Drawing on from an earlier step of the view mode: a change like
        // any other, which an undo takes back to the picture before it.
        m_redo.clear();
        m_made.push_back(k);
      }
    } else if (ChangesNothingDrawn(kind)) {
      m_made.push_back(m_made[k - 1]);
    } else {
      m_redo.clear();  // something new drawn or changed
      m_made.push_back(k);
    }
  }
  UndoRedoPlan plan;
  if (m_made.back() > 0) plan.UndoTo = m_made.back() - 1;
  if (!m_redo.empty()) plan.RedoTo = m_redo.back();
  return plan;
}

UndoRedoPlan PlanUndoRedo(const HistoryList& history) { return UndoPlanner().Plan(history); }
