// Rebuilding the drawing of a step from records as a drawing file brings them
// (no live links): order, deletion and undo, branches, damaged histories.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "history/play.h"
#include "support/builders.h"

namespace {

struct Replay : ::testing::Test {
  AppState S;
  HistoryList H;  // the records written so far, read by the drawing at each step

  // A record naming `id`, its snapshot a square named `name` at `start`.
  Action& Add(ActionKind kind, int32_t id, const std::string& name = "", Point start = {}) {
    return addRecord(H, kind, id, named(name, start));
  }
  Action& Create(const std::string& name, Point start = {}) { return Add(ActionKind::Create, H.NextFigID++, name, start); }

  // The drawing reads the records (as a file brings them) when there are
  // new ones, and shows step k.
  void Step(int32_t k) {
    ASSERT_GE(k, 0);
    ASSERT_LE(k, H.Count());
    if (S.History().Count() != H.Count()) Reload();
    GoToStep(S, k);
    CheckLinks();
  }

  // Exactly the figures on the canvas are linked, each from one creating
  // record; no other record holds a link. Both lists read the same either
  // way and agree with their counts.
  void CheckLinks() {
    std::set<const Figure*> live, linked;
    for (const Figure& f : S.Figures()) live.insert(&f);
    for (const Action& d : S.History()) {
      if (!d.TargetItem) {
        EXPECT_EQ(d.TargetFig, nullptr);
        continue;
      }
      EXPECT_TRUE(IsCreatingAction(d.TargetType));
      if (!S.Figures().Contains(d.TargetFig)) {
        ADD_FAILURE() << "a link to a figure not on the canvas";
        continue;
      }
      EXPECT_EQ(d.TargetFig, &**d.TargetItem);
      EXPECT_TRUE(linked.insert(d.TargetFig).second);
    }
    EXPECT_EQ(live, linked);
    for (const FigureList* list : {&S.Figures(), &S.DeletedFigures()}) {
      const std::string names = Names(*list);
      std::string back;
      for (auto f = list->rbegin(); f != list->rend(); ++f) back.insert(0, f->Text);
      EXPECT_EQ(back, names);
      int32_t n = 0;
      for (auto f = list->begin(); f != list->end(); ++f) ++n;
      EXPECT_EQ(n, list->Count());
    }
  }

  // After a record was written over.
  void Reload() { LoadHistory(S, copyRecords(H)); }

  static std::string Names(const FigureList& list) {
    std::string s;
    for (const Figure& f : list) s += f.Text;
    return s;
  }
  std::string Shown() const { return Names(S.Figures()); }
};

TEST_F(Replay, CreateCreateMove) {
  Create("A", {10, 10});
  Create("B", {50, 50});
  Add(ActionKind::Move, 1, "", {30, 5});
  Step(0);
  EXPECT_EQ(Shown(), "");
  Step(1);
  EXPECT_EQ(Shown(), "A");
  Step(2);
  EXPECT_EQ(Shown(), "AB");
  Step(3);
  EXPECT_EQ(Shown(), "AB");
  EXPECT_EQ(S.Figures().First().Start, (Point{30, 5}));
  EXPECT_EQ(S.Figures().First().End, (Point{40, 15}));
  Step(1);  // backwards: from an empty drawing again
  EXPECT_EQ(S.Figures().First().Start, (Point{10, 10}));
}

TEST_F(Replay, MoveCarriesTheVerticesAlong) {
  const BuiltFigure f = polyline({{10, 10}, {20, 30}});
  addRecord(H, ActionKind::Create, 1, f);
  addRecord(H, ActionKind::Move, 1, f).FigData.Start = {15, 5};
  Step(2);
  const Vertex& p = S.Figures().Last().PointData;
  EXPECT_EQ(p.Points[0], (Point{15, 5}));
  EXPECT_EQ(p.Points[1], (Point{25, 25}));
}

TEST_F(Replay, DeleteThenUndoRestoresFromTheDeletedList) {
  Create("A");
  Add(ActionKind::Delete, 1);
  Add(ActionKind::Undo, 2, "not used");
  Step(2);
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(Names(S.DeletedFigures()), "A");
  Step(3);
  EXPECT_EQ(Shown(), "A");
  EXPECT_EQ(Names(S.DeletedFigures()), "");
  const Action& undo = S.History().At(3);
  ASSERT_TRUE(undo.TargetItem);
  EXPECT_EQ(&**undo.TargetItem, &S.Figures().Last());
}

TEST_F(Replay, FrontBackAndTheFigureListOrder) {
  Create("A");
  Create("B");
  Create("C");
  Add(ActionKind::Front, 1);  // BAC
  Add(ActionKind::Back, 3);   // BCA
  Add(ActionKind::Front, 1);  // A is already in front: no change
  Step(4);
  EXPECT_EQ(Shown(), "BAC");
  Step(6);
  EXPECT_EQ(Shown(), "BCA");
}

TEST_F(Replay, ClearRecordsEmptyBothLists) {
  Create("A");
  Create("B");
  Add(ActionKind::Delete, 2);
  Add(ActionKind::ClearDrawing, 0);
  Create("C");
  Step(3);
  EXPECT_EQ(Names(S.DeletedFigures()), "B");
  Step(5);
  EXPECT_EQ(Shown(), "C");
  EXPECT_EQ(Names(S.DeletedFigures()), "");
}

TEST_F(Replay, BranchRestartsFromItsStepAndKeepsTheLaterRecords) {
  Create("A");
  Create("B");
  Create("C");
  Add(ActionKind::Branch, 1);
  Create("D");
  Step(4);
  EXPECT_EQ(Shown(), "A");
  Step(5);
  EXPECT_EQ(Shown(), "AD");
  Step(3);
  EXPECT_EQ(Shown(), "ABC");
}

TEST_F(Replay, NestedBranches) {
  Create("A");
  Create("B");
  Add(ActionKind::Branch, 1);
  Create("C");
  Action& outer = Add(ActionKind::Branch, 4);
  Step(5);
  EXPECT_EQ(Shown(), "AC");
  outer.TargetID = 3;
  Reload();
  Step(5);
  EXPECT_EQ(Shown(), "A");
}

TEST_F(Replay, FiguresRebuiltInsideABranchCanBeActedOn) {
  Create("A", {0, 0});
  Create("B");
  Add(ActionKind::Branch, 1);
  Add(ActionKind::Move, 1, "", {7, 7});
  Add(ActionKind::Delete, 2);  // B was dropped by the branch: skipped
  Step(5);
  EXPECT_EQ(Shown(), "A");
  EXPECT_EQ(S.Figures().Last().Start, (Point{7, 7}));
  EXPECT_EQ(Names(S.DeletedFigures()), "");
}

// A single ApplyAction of a branch, as the table has it, leaves the same
// state as the rebuild.
TEST_F(Replay, ApplyActionOfABranchOnItsOwn) {
  Create("A");
  Create("B");
  Add(ActionKind::Branch, 1);
  Create("C");
  Add(ActionKind::Branch, 4);
  const int32_t outer = H.Count();
  Create("X");
  Step(6);
  EXPECT_EQ(Shown(), "ACX");
  ApplyAction(S, outer);
  EXPECT_EQ(Shown(), "AC");
  CheckLinks();
}

// Each branch goes back one step before itself: re-applying branches inside
// branches would take 2^60 record applications here.
TEST_F(Replay, AChainOfBranchesRebuildsInLinearTime) {
  Create("A");
  for (int32_t k = 1; k <= 60; ++k) Add(ActionKind::Branch, k);
  Step(61);
  EXPECT_EQ(Shown(), "A");
}

TEST_F(Replay, RecordsNamingNoLiveFigureAreSkipped) {
  Create("A");
  Add(ActionKind::Move, 99, "", {5, 5});  // no such ID
  Add(ActionKind::Undo, 2);               // nothing deleted yet
  Add(ActionKind::Delete, 1);
  Add(ActionKind::Delete, 1);             // already deleted
  Add(ActionKind::Move, 1, "", {9, 9});   // a deleted figure
  Add(ActionKind::Front, 1);
  Add(ActionKind::Change, 1).Parameter = ParameterKind::Text;
  Add(ActionKind::SetStamp, 0);
  Add(ActionKind::ReadData, 0);
  Add(static_cast<ActionKind>(42), 1);
  Step(H.Count());
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(Names(S.DeletedFigures()), "A");
}

TEST_F(Replay, ClearedFiguresAreNotReachedByLaterRecords) {
  Create("A");
  Add(ActionKind::ClearAll, 0);
  Add(ActionKind::Move, 1, "", {9, 9});
  Add(ActionKind::Change, 1).Parameter = ParameterKind::LineWidth;
  Add(ActionKind::Delete, 1);
  Step(5);
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(Names(S.DeletedFigures()), "");
}

TEST_F(Replay, BranchTargetsOutsideTheirRangeAreBounded) {
  Create("A");
  Action& b = Add(ActionKind::Branch, 2);  // its own step: would restart forever
  Create("B");
  Step(3);
  EXPECT_EQ(Shown(), "AB");
  b.TargetID = 1000;
  Reload();
  Step(3);
  EXPECT_EQ(Shown(), "AB");
  b.TargetID = -5;
  Reload();
  Step(3);
  EXPECT_EQ(Shown(), "B");
  ApplyAction(S, 2);
  EXPECT_EQ(Shown(), "");
}

TEST_F(Replay, FirstCreatingRecordOfAnIDIsTheTarget) {
  Create("A");
  Add(ActionKind::Create, 1, "A2");  // a damaged file reuses ID 1
  Add(ActionKind::Move, 1, "", {40, 40});
  Step(3);
  EXPECT_EQ(S.Figures().First().Start, (Point{40, 40}));
  EXPECT_EQ(S.Figures().Last().Start, (Point{0, 0}));
}

TEST_F(Replay, GoingBackLeavesNoLinksOnLaterRecords) {
  Create("A");
  Create("B");
  Step(2);
  const Action& b = S.History().At(2);
  EXPECT_TRUE(b.TargetItem);
  EXPECT_NE(b.TargetFig, nullptr);
  Step(1);
  EXPECT_FALSE(b.TargetItem);
  EXPECT_EQ(b.TargetFig, nullptr);
}

}  // namespace
