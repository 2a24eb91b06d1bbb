// What undo and redo do, read from the records alone.
#include <gtest/gtest.h>

#include <memory>

#include "history/undo_plan.h"
#include "support/random_actions.h"

namespace {

struct RecordInfo {
  ActionKind kind;
  int32_t target = 0;  // branches only
};

std::unique_ptr<HistoryList> MakeHistory(std::initializer_list<RecordInfo> records) {
  auto h = std::make_unique<HistoryList>();
  for (const RecordInfo& r : records) {
    Action& a = h->Add();
    a.TargetType = r.kind;
    a.TargetID = r.target;
  }
  return h;
}

UndoRedoPlan Plan(std::initializer_list<RecordInfo> records) { return PlanUndoRedo(*MakeHistory(records)); }

TEST(UndoRedoPlan, FollowsUndosRedosAndNewChanges) {
  // Nothing drawn: nothing to undo or redo.
  EXPECT_EQ(Plan({}).UndoTo, -1);
  EXPECT_EQ(Plan({}).RedoTo, -1);
  // One figure: undo goes back to the empty canvas.
  EXPECT_EQ(Plan({{ActionKind::Create}}).UndoTo, 0);
  // Two undos, then two redos, one at a time.
  auto p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}});
  EXPECT_EQ(p.UndoTo, 0);
  EXPECT_EQ(p.RedoTo, 4);  // the step shown before the second undo
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}, {ActionKind::Branch, 4}});
  EXPECT_EQ(p.UndoTo, 1);  // the picture of step 2 is shown: before it, step 1
  EXPECT_EQ(p.RedoTo, 3);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}, {ActionKind::Branch, 4}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, -1);  // everything is back
  // A new change after an undo ends the redos; undo then takes it back.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Delete}});
  EXPECT_EQ(p.RedoTo, -1);
  EXPECT_EQ(p.UndoTo, 3);
  // Undo after that goes back over the earlier undo, not through it.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Delete}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 0);  // step 3 shows step 1's picture
  EXPECT_EQ(p.RedoTo, 4);
}

TEST(UndoRedoPlan, ViewModeBranchesAndOddRecords) {
  // Leaving the view mode two steps back is a change of its own: undo
  // returns to the picture before it, and there is nothing to redo.
  auto p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}});
  EXPECT_EQ(p.UndoTo, 3);
  EXPECT_EQ(p.RedoTo, -1);
  // That undo is read as one (a branch to the step an undo computes), and
  // the redo after it brings the branch back; the next undo goes on from
  // the picture before the branch.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, 4);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Branch, 3}, {ActionKind::Branch, 4}});
  EXPECT_EQ(p.UndoTo, 3);
  EXPECT_EQ(p.RedoTo, -1);
  // A branch to the empty canvas from the view mode's first step, and one
  // after an undo: each is taken back by one undo, and it ends the redos.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 0}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, -1);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 2}, {ActionKind::Branch, 0}});
  EXPECT_EQ(p.UndoTo, 4);
  EXPECT_EQ(p.RedoTo, -1);
  // A branch to the step just before is an undo, whoever wrote it.
  EXPECT_EQ(Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}}).RedoTo, 2);
  // Records that change nothing drawn are stepped over and keep the redos.
  p = Plan({{ActionKind::Create}, {ActionKind::SetStamp}, {ActionKind::ReadData}});
  EXPECT_EQ(p.UndoTo, 0);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::SetStamp}});
  EXPECT_EQ(p.RedoTo, 2);
  EXPECT_EQ(Plan({{ActionKind::SetStamp}}).UndoTo, -1);
  // Damaged targets read as replay reads them: below 0 is the empty canvas,
  // at or beyond the branch itself is the step before it.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, -7}});
  EXPECT_EQ(p.UndoTo, 2);  // the user's branch to the empty canvas
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 99}});
  EXPECT_EQ(p.UndoTo, 1);
  p = Plan({{ActionKind::Create}, {ActionKind::Branch, 0}, {ActionKind::Branch, 2}});  // a chain through a branch target
  EXPECT_EQ(p.UndoTo, -1);
}

// Asked after every record, the plan kept up to date is the plan of the
// whole history read at once; a history cleared and filled again, even to
// the same length, is read anew.
TEST(UndoRedoPlan, KeptUpToDateRecordByRecord) {
  AppState S;
  UndoPlanner planner;
  for (uint32_t seed : {3u, 4u}) {
    S.Reset();
    RandomSession session(S, seed);
    for (int i = 0; i < 300; ++i) {
      session.Step();
      const UndoRedoPlan kept = planner.Plan(S.History());
      const UndoRedoPlan whole = PlanUndoRedo(S.History());
      ASSERT_EQ(kept.UndoTo, whole.UndoTo) << seed << " " << i;
      ASSERT_EQ(kept.RedoTo, whole.RedoTo) << seed << " " << i;
      // Undos and redos in between, as the buttons make them.
      if (i % 3 == 0 && kept.UndoTo >= 0)
        BranchTo(S, kept.UndoTo);
      else if (i % 5 == 0 && kept.RedoTo >= 0)
        BranchTo(S, kept.RedoTo);
    }
  }
  // Another history of the same length at the same planner.
  HistoryList other;
  for (int i = 0; i < S.History().Count(); ++i) other.Add().TargetType = ActionKind::Create;
  EXPECT_EQ(planner.Plan(other).UndoTo, S.History().Count() - 1);
  EXPECT_EQ(planner.Plan(other).RedoTo, -1);
}

}  // namespace
