// The ways a drawing changes from outside history/: a reset, a history put
// in place whole (as reading a file does), a replay to a step, and the
// figure that a click selects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "history/actions.h"
#include "history/play.h"
#include "support/builders.h"

namespace {

// Three rectangles, the middle one deleted: four records, the last step shown.
void DrawThreeDeleteOne(AppState& S) {
  const std::vector<Figure*> f = draw(S, {rect({0, 0}, {50, 50}), rect({20, 20}, {80, 80}), rect({100, 100}, {150, 150})});
  S.SelectedFig = f[1];
  ASSERT_TRUE(DeleteSelected(S));
}

TEST(DrawingChanges, ResetLeavesANewEmptyDrawingOfNoFile) {
  AppState S;
  DrawThreeDeleteOne(S);
  S.NameFile("/x/e.tlo");
  const uint64_t before = S.History().Generation();

  S.Reset();
  EXPECT_TRUE(S.History().IsEmpty());
  EXPECT_EQ(S.History().NextFigID, 1);
  EXPECT_NE(S.History().Generation(), before);  // what was worked out from the old records is stale
  EXPECT_TRUE(S.Figures().IsEmpty());
  EXPECT_TRUE(S.DeletedFigures().IsEmpty());
  EXPECT_EQ(S.CurrentStep(), 0);
  EXPECT_TRUE(S.AtLastStep());
  EXPECT_TRUE(S.DataFileName().empty());
  EXPECT_TRUE(S.BGFileName().empty());

  draw(S, {rect({1, 1}, {9, 9})});
  EXPECT_EQ(S.History().Last().TargetID, 1);  // IDs start over
}

TEST(DrawingChanges, ReadingPutsTheWholeHistoryInPlaceAtStepZero) {
  AppState drawn;
  DrawThreeDeleteOne(drawn);
  AppState S;
  ASSERT_EQ(ReadHistory(S, HistoryFileText(drawn.History())), 0);
  EXPECT_EQ(S.History().Count(), 4);
  EXPECT_EQ(S.CurrentStep(), 0);
  EXPECT_TRUE(S.Figures().IsEmpty());

  ContinueFigureIDs(S);
  EXPECT_EQ(S.History().NextFigID, 4);  // after the largest ID the file names
  GoToStep(S, S.History().Count());
  EXPECT_EQ(S.CurrentStep(), 4);
  ASSERT_EQ(S.Figures().Count(), 2);
  EXPECT_EQ(S.DeletedFigures().Count(), 1);
  EXPECT_EQ(S.Figures().Last().Start, (Point{100, 100}));
}

TEST(DrawingChanges, AFailedReadLeavesNoPartOfTheFile) {
  AppState drawn;
  DrawThreeDeleteOne(drawn);
  std::string torn = HistoryFileText(drawn.History());
  torn.resize(torn.size() - 30);  // cut inside the last record
  AppState S;
  EXPECT_EQ(ReadHistory(S, torn), 1);
  EXPECT_TRUE(S.History().IsEmpty());
  EXPECT_EQ(S.CurrentStep(), 0);
  EXPECT_TRUE(S.Figures().IsEmpty());
  ContinueFigureIDs(S);
  EXPECT_EQ(S.History().NextFigID, 1);  // an empty drawing's first figure is 1
}

// A journal is read after its base file: the base's records stay in front
// and replay through the records read after them.
TEST(DrawingChanges, ReadingOnTopKeepsTheRecordsAlreadyThere) {
  AppState base;
  DrawThreeDeleteOne(base);
  AppState more;
  draw(more, {ellipse({200, 200}, {240, 240})});
  AppState S;
  ASSERT_EQ(ReadHistory(S, HistoryFileText(base.History())), 0);
  GoToStep(S, S.History().Count());  // links the records to figures
  ASSERT_EQ(ReadHistory(S, HistoryFileText(more.History())), 0);
  ASSERT_EQ(S.History().Count(), 5);
  EXPECT_EQ(S.History().At(4).TargetType, ActionKind::Delete);
  EXPECT_EQ(S.CurrentStep(), 0);
  EXPECT_TRUE(S.Figures().IsEmpty());
  for (const Action& a : S.History()) EXPECT_EQ(a.TargetFig, nullptr);  // no link to a figure gone

  GoToStep(S, 5);
  ASSERT_EQ(S.Figures().Count(), 3);
  EXPECT_EQ(S.Figures().Last().DrawingTool, ToolKind::Ellipse);
}

TEST(DrawingChanges, StepsAreReplayedToAndWalkedTo) {
  AppState S;
  DrawThreeDeleteOne(S);
  GoToStep(S, 1);
  EXPECT_EQ(S.CurrentStep(), 1);
  EXPECT_EQ(S.Figures().Count(), 1);
  WalkToStep(S, 3);
  EXPECT_EQ(S.CurrentStep(), 3);
  EXPECT_EQ(S.ReplayedStep(), 3);
  EXPECT_EQ(S.Figures().Count(), 3);
  WalkToStep(S, 4);
  EXPECT_TRUE(S.AtLastStep());
  EXPECT_EQ(S.Figures().Count(), 2);
}

TEST(DrawingChanges, AClickFindsTheFrontMostFigureUnderIt) {
  AppState S;
  const std::vector<Figure*> f = draw(S, {rect({0, 0}, {50, 50}), rect({20, 20}, {80, 80})});
  EXPECT_EQ(FrontFigureAt(S, {30, 30}), f[1]);
  EXPECT_EQ(FrontFigureAt(S, {10, 10}), f[0]);
  EXPECT_EQ(FrontFigureAt(S, {300, 300}), nullptr);
  S.SelectedFig = f[1];
  ASSERT_TRUE(MoveSelectedBack(S));
  EXPECT_EQ(FrontFigureAt(S, {30, 30}), f[0]);
}

}  // namespace
