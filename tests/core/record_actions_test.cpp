// The recorders: figure IDs, snapshots, the pending resize, branch numbering,
// the time of day and the hand-over to the process display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "support/builders.h"
#include "support/fakes.h"
#include "support/drawing_door.h"

namespace {

struct Recording : ::testing::Test {
  AppState S;
  FakeClock Clock;
  MemoLog Memo;
  Recording() {
    S.Clock = &Clock;
    S.Memo = &Memo;
  }

  Figure* Draw(ToolKind tool, Point start, Point end) {
    Figure f;
    f.DrawingTool = tool;
    f.Start = start;
    f.End = end;
    return CreateFigure(S, f);
  }
  // The selected figure with one attribute changed by `edit`.
  void Change(ParameterKind parameter, void (*edit)(Figure&)) {
    Figure changed = S.Shown(*S.SelectedFig);  // as the window takes it
    edit(changed);
    ChangeSelected(S, parameter, changed);
  }
  // The resize preview of `f`, started as the size sliders start it.
  Figure& Preview(Figure* f) {
    if (S.Preview.Kind == PreviewKind::None) S.Preview = FigurePreview{PreviewKind::Resize, f, *f};
    return S.Preview.Fig;
  }
  const Action& Last() { return S.History().Last(); }
  const Action& Record(int32_t k) { return S.History().At(k); }
};

TEST_F(Recording, CreatesTakeNewIDsAndIndependentSnapshots) {
  Figure* rect = Draw(ToolKind::Rectangle, {10, 10}, {50, 40});
  Draw(ToolKind::Line, {0, 0}, {5, 5});
  EXPECT_EQ(Record(1).TargetType, ActionKind::Create);
  EXPECT_EQ(Record(1).TargetID, 1);
  EXPECT_EQ(Record(2).TargetID, 2);
  EXPECT_EQ(S.History().NextFigID, 3);
  EXPECT_EQ(Record(1).TargetFig, rect);
  ASSERT_TRUE(Record(1).TargetItem);
  EXPECT_EQ(&**Record(1).TargetItem, rect);
  EXPECT_EQ(Record(1).Parameter, ParameterKind::None);
  rect->Offset(100, 100);
  rect->PenWidth = 9;
  EXPECT_EQ(Record(1).FigData.Start, (Point{10, 10}));
  EXPECT_EQ(Record(1).FigData.PenWidth, 0);
}

TEST_F(Recording, FreeLineSnapshotOwnsItsVertices) {
  Figure* item = CreateFigure(S, freeLine({{3, 4}, {8, 1}}));
  ASSERT_EQ(Last().FigData.PointData.Count(), 2);
  EXPECT_NE(Last().FigData.PointData.Points.data(), item->PointData.Points.data());
  item->Offset(1, 1);
  EXPECT_EQ(Last().FigData.PointData.Points[0], (Point{3, 4}));
}

TEST_F(Recording, FigureCommandsCarryTheFiguresID) {
  Draw(ToolKind::Rectangle, {0, 0}, {10, 10});
  Figure* b = Draw(ToolKind::Ellipse, {20, 20}, {30, 30});
  S.SelectedFig = b;
  b->Offset(1, 0);
  RecordMoveOfSelected(S);
  EXPECT_EQ(Last().TargetType, ActionKind::Move);
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_EQ(Last().FigData.Start, (Point{21, 20}));
  EXPECT_EQ(Last().TargetFig, b);
  Change(ParameterKind::LineColor, [](Figure& f) { f.PenColor = 0xFF; });  // found through the move record
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_EQ(Last().Parameter, ParameterKind::LineColor);
  EXPECT_EQ(b->PenColor, 0xFF);  // applied to the figure
  Change(ParameterKind::Text, [](Figure& f) { f.Text = "t"; });
  EXPECT_EQ(Last().Parameter, ParameterKind::Text);
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_TRUE(MoveSelectedBack(S));
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_EQ(Last().TargetFig, nullptr);
  EXPECT_EQ(&S.Figures().First(), b);
  EXPECT_FALSE(MoveSelectedBack(S));  // already at the back: nothing recorded
  EXPECT_EQ(Last().TargetType, ActionKind::Back);
  EXPECT_EQ(S.History().Count(), 6);
  ClearDrawing(S, ActionKind::ClearDrawing);
  EXPECT_EQ(Last().TargetID, 0);
  EXPECT_TRUE(S.Figures().IsEmpty());
  EXPECT_EQ(S.SelectedFig, nullptr);
}

TEST_F(Recording, IDCounterAtTheLargestIDNeitherOverflowsNorRepeats) {
  // The last ID the counter hands out, then the free ones from 1 up: never
  // a wrap to negative IDs, never an ID some record already names.
  Writable(S).History.NextFigID = MaxFigureID;
  Draw(ToolKind::Line, {0, 0}, {5, 5});
  Draw(ToolKind::Line, {0, 0}, {6, 6});
  Draw(ToolKind::Line, {0, 0}, {7, 7});
  EXPECT_EQ(Record(1).TargetID, MaxFigureID);
  EXPECT_EQ(Record(2).TargetID, 1);
  EXPECT_EQ(Record(3).TargetID, 2);
  EXPECT_EQ(S.History().NextFigID, MaxFigureID + 1);
  // A counter that wrapped elsewhere, or a record naming the next free ID
  // (a branch names a step, not a figure), is stepped over.
  Writable(S).History.NextFigID = INT32_MIN;
  S.SelectedFig = &Writable(S).Figures.First();
  DeleteSelected(S);  // names ID MaxFigureID
  BranchTo(S, 3);
  Action& odd = Writable(S).History.Add();
  odd.TargetType = ActionKind::Move;
  odd.TargetID = 3;
  Draw(ToolKind::Line, {0, 0}, {8, 8});
  EXPECT_EQ(Last().TargetID, 4);
  EXPECT_EQ(S.History().NextFigID, MaxFigureID + 1);
}

TEST_F(Recording, DeletedFiguresComeBackLatestFirst) {
  Figure* a = Draw(ToolKind::Rectangle, {10, 10}, {50, 40});
  Figure* b = Draw(ToolKind::Ellipse, {60, 10}, {90, 40});
  Draw(ToolKind::Line, {0, 0}, {5, 5});
  S.SelectedFig = a;
  ASSERT_TRUE(DeleteSelected(S));
  S.SelectedFig = b;
  ASSERT_TRUE(DeleteSelected(S));
  const Figure* first = RestoreDeleted(S);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->DrawingTool, ToolKind::Ellipse);  // B, deleted last
  EXPECT_EQ(Last().FigData.DrawingTool, ToolKind::Ellipse);
  EXPECT_EQ(S.DeletedFigures().Count(), 1);
  const Figure* second = RestoreDeleted(S);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(second->Start, (Point{10, 10}));
  // Each comes back on top: the line, then B, then A.
  std::vector<ToolKind> order;
  for (const Figure& f : S.Figures()) order.push_back(f.DrawingTool);
  EXPECT_EQ(order, (std::vector<ToolKind>{ToolKind::Line, ToolKind::Ellipse, ToolKind::Rectangle}));
  // Replay brings them back in the same order.
  GoToStep(S);
  order.clear();
  for (const Figure& f : S.Figures()) order.push_back(f.DrawingTool);
  EXPECT_EQ(order, (std::vector<ToolKind>{ToolKind::Line, ToolKind::Ellipse, ToolKind::Rectangle}));
  EXPECT_EQ(RestoreDeleted(S), nullptr);
}

TEST_F(Recording, DeleteThenUndoGivesANewID) {
  S.SelectedFig = Draw(ToolKind::Rectangle, {0, 0}, {10, 10});
  EXPECT_TRUE(DeleteSelected(S));
  EXPECT_EQ(Last().TargetID, 1);
  EXPECT_TRUE(S.Figures().IsEmpty());
  EXPECT_EQ(S.DeletedFigures().Count(), 1);
  EXPECT_EQ(S.SelectedFig, nullptr);
  EXPECT_NE(RestoreDeleted(S), nullptr);
  EXPECT_EQ(Last().TargetType, ActionKind::Undo);
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_TRUE(S.DeletedFigures().IsEmpty());
  EXPECT_EQ(RestoreDeleted(S), nullptr);  // nothing left to bring back
  EXPECT_EQ(S.History().Count(), 3);
}

TEST_F(Recording, AfterARebuildTheCreatingRecordGivesTheID) {
  Draw(ToolKind::Rectangle, {0, 0}, {10, 10});
  S.SelectedFig = Draw(ToolKind::Rectangle, {5, 5}, {15, 15});
  Change(ParameterKind::BodyColor, [](Figure& f) { f.BrushColor = 5; });
  GoToStep(S, S.History().Count());  // new figures; only creating records point at them
  S.SelectedFig = FrontFigureAt(S, {0, 0});  // the first, which the second does not cover there
  EXPECT_TRUE(MoveSelectedFront(S));
  EXPECT_EQ(Last().TargetID, 1);
  EXPECT_EQ(S.Figures().Last().Start, (Point{0, 0}));
}

// A figure no record knows (only a damaged history allows it) is recorded
// with no ID; the walk stops at the first record.
TEST_F(Recording, AnUnknownFigureGetsIDZero) {
  Figure* stray = &*Writable(S).Figures.Add(Figure{});
  Writable(S).Figures.Add(Figure{});
  S.SelectedFig = stray;
  EXPECT_TRUE(MoveSelectedFront(S));
  EXPECT_EQ(Last().TargetID, 0);
  Change(ParameterKind::LineWidth, [](Figure& f) { f.PenWidth = 3; });
  EXPECT_EQ(Last().TargetID, 0);
  S.SelectedFig = nullptr;
  RecordMoveOfSelected(S);
  EXPECT_EQ(Last().TargetID, 0);
  EXPECT_EQ(S.History().Count(), 3);
}

TEST_F(Recording, ResizeIsRecordedOnceBeforeTheNextAction) {
  Figure* a = Draw(ToolKind::Rectangle, {10, 10}, {50, 50});
  S.SelectedFig = a;
  Clock.Time = At(9, 5);
  Figure& shown = Preview(a);
  shown.End = {60, 50};  // many trackbar steps, one pending record
  shown.End = {70, 55};
  EXPECT_EQ(a->End, (Point{50, 50}));  // the drawing waits for the record
  Clock.Time = At(9, 5, 0, 50);
  Change(ParameterKind::LineWidth, [](Figure& f) { f.PenWidth += 2; });
  ASSERT_EQ(S.History().Count(), 3);
  EXPECT_EQ(Record(2).Parameter, ParameterKind::Size);
  EXPECT_EQ(Record(2).TargetID, 1);
  EXPECT_EQ(Record(2).FigData.End, (Point{70, 55}));
  EXPECT_EQ(Record(3).Parameter, ParameterKind::LineWidth);
  EXPECT_EQ(a->End, (Point{70, 55}));
  EXPECT_FALSE(S.ResizePending());
  EXPECT_EQ(S.Preview.Of, nullptr);
  EXPECT_EQ(S.StampReference, nullptr);
}

TEST_F(Recording, ResizeBackOrMoveOnlyIsNoSizeChange) {
  Figure* a = Draw(ToolKind::Rectangle, {10, 10}, {50, 50});
  Preview(a).End = {80, 80};
  Preview(a).End = {50, 50};
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), 1);
  EXPECT_FALSE(S.ResizePending());
  Preview(a).Offset(7, -3);
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), 1);
  EXPECT_EQ(a->Start, (Point{10, 10}));  // unrecorded, so not applied either
  Preview(a).End.Y += 1;  // one pixel taller
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), 2);
  EXPECT_EQ(a->End, (Point{50, 51}));
}

TEST_F(Recording, ResizeComparesWithTheLatestSnapshot) {
  Figure* a = Draw(ToolKind::Rectangle, {0, 0}, {10, 10});
  Preview(a).End = {20, 10};
  CommitPreview(S);
  Preview(a);
  CommitPreview(S);  // same as the size record just made
  EXPECT_EQ(S.History().Count(), 2);
}

TEST_F(Recording, ADragIsOneMoveRecordedByTheNextActionOrNothingWhenItCameBack) {
  Figure* a = Draw(ToolKind::Rectangle, {10, 10}, {50, 50});
  S.SelectedFig = a;
  for (int i = 0; i < 5; ++i) DragSelected(S, 3, 1);
  EXPECT_EQ(a->Start, (Point{10, 10}));
  EXPECT_EQ(S.Shown(*a).Start, (Point{25, 15}));
  EXPECT_EQ(S.History().Count(), 1);
  MoveSelectedBack(S);  // refused (a is the only figure): records nothing, not even the drag
  EXPECT_EQ(S.History().Count(), 1);
  Change(ParameterKind::LineWidth, [](Figure& f) { f.PenWidth += 2; });
  ASSERT_EQ(S.History().Count(), 3);
  EXPECT_EQ(Record(2).TargetType, ActionKind::Move);
  EXPECT_EQ(Record(2).FigData.Start, (Point{25, 15}));
  EXPECT_EQ(a->Start, (Point{25, 15}));
  EXPECT_EQ(S.Preview.Kind, PreviewKind::None);
  // Dragged away and back: nothing to record.
  DragSelected(S, 40, 0);
  DragSelected(S, -40, 0);
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), 3);
  // A resize under way is committed as its own record when a drag starts.
  Preview(a).End.X += 10;
  DragSelected(S, 1, 1);
  ASSERT_EQ(S.History().Count(), 4);
  EXPECT_EQ(Record(4).Parameter, ParameterKind::Size);
  RecordMoveOfSelected(S);
  ASSERT_EQ(S.History().Count(), 5);
  EXPECT_EQ(Record(5).FigData.Start, (Point{26, 16}));
  EXPECT_EQ(Record(5).FigData.End, (Point{76, 56}));
}

TEST_F(Recording, BranchTakesTheStepAndNextRecordsFollowIt) {
  for (int i = 0; i < 10; ++i) Draw(ToolKind::Line, {i, 0}, {i, 10});
  BranchTo(S, 3);
  EXPECT_EQ(S.History().Count(), 11);
  EXPECT_EQ(S.Figures().Count(), 3);  // the picture of step 3
  EXPECT_EQ(Last().TargetType, ActionKind::Branch);
  EXPECT_EQ(Last().TargetID, 3);
  Draw(ToolKind::Line, {0, 0}, {1, 1});
  EXPECT_EQ(S.History().Count(), 12);
  EXPECT_EQ(Last().TargetID, 11);
}

TEST_F(Recording, FileRecordKeepsThePathAndNoFigure) {
  SetBackground(S, "/home/k/え.bmp");
  EXPECT_EQ(S.ShownBGFileName(), "/home/k/え.bmp");
  EXPECT_TRUE(S.BGFileName().empty());
  EXPECT_EQ(Last().TargetType, ActionKind::ReadBG);
  EXPECT_EQ(Last().FileName, "/home/k/え.bmp");
  EXPECT_EQ(Last().TargetID, 0);
  EXPECT_EQ(Last().FigData.DrawingTool, ToolKind::None);
}

TEST_F(Recording, TimeOfDayAndProcessDisplay) {
  Clock.Time = At(14, 5, 9, 7);
  Draw(ToolKind::Rectangle, {0, 0}, {1, 1});
  EXPECT_TRUE(Memo.Lines.empty());  // display off
  EXPECT_EQ(Last().ActionTime.Hour, 14);
  EXPECT_EQ(Last().ActionTime.Hund, 7);
  S.ShowProcess = true;
  Draw(ToolKind::Rectangle, {0, 0}, {1, 1});
  BranchTo(S, 1);
  EXPECT_EQ(Memo.Lines, (std::vector<std::string>{"Create Rectangle (ID = 2)", "at 14:05:09.07.", "",
                                                  "Branch (STEP = 1)", "at 14:05:09.07.", ""}));
}

}  // namespace
