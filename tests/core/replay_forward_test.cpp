// Walking a history forward record by record, as the exports do on their
// own copy of a drawing, gives at every step exactly what rebuilding that
// step from the start gives: figures, the undo store and the background,
// through deletions, undos, clears and branches inside branches.
#include <gtest/gtest.h>

#include <string>

#include "history/play.h"
#include "support/random_actions.h"
#include "support/drawing_door.h"

namespace {

std::string Describe(const Figure& f) {
  std::string s = std::to_string(static_cast<int>(f.DrawingTool)) + ":" + f.Text + "@" + std::to_string(f.Start.X) +
                  "," + std::to_string(f.Start.Y) + "-" + std::to_string(f.End.X) + "," + std::to_string(f.End.Y) +
                  " w" + std::to_string(f.PenWidth) + " c" + std::to_string(f.PenColor) + "/" +
                  std::to_string(f.BrushColor) + "/" + std::to_string(f.TextColor) + " s" + std::to_string(f.TextSize);
  for (int32_t k = 0; k < f.PointData.Count(); ++k)
    s += " " + std::to_string(f.PointData.Points[k].X) + "/" + std::to_string(f.PointData.Points[k].Y);
  for (const Figure& g : f.StampData) s += " {" + Describe(g) + "}";
  return s;
}

std::string Describe(const FigureList& list) {
  std::string s;
  for (const Figure& f : list) s += Describe(f) + "; ";
  return s;
}

// The records of `from`, without their links.
void CopyRecords(const HistoryList& from, HistoryList& to) {
  for (const Action& a : from) {
    Action& copy = to.Add();
    copy = a;
    copy.TargetFig = nullptr;
    copy.TargetItem.reset();
  }
}

TEST(ReplayForward, EveryStepEqualsTheStepRebuiltFromTheStart) {
  int branches = 0;
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    AppState original;
    RandomSession session(original, seed);
    for (int k = 0; k < 300; ++k) session.Step();
    for (const Action& a : original.History()) branches += a.TargetType == ActionKind::Branch;

    AppState copy;
    CopyRecords(Writable(original).History, Writable(copy).History);
    // A walk starts from an empty drawing whatever the state held before.
    Writable(copy).Figures.Add(Figure());
    Writable(copy).BGFileName = "left over.bmp";
    ForwardReplay walk(copy);
    EXPECT_EQ(walk.Step(), 0);
    EXPECT_TRUE(copy.Figures().IsEmpty());
    EXPECT_TRUE(copy.BGFileName().empty());
    // Rebuilding a step starts from the background name left in the state
    // (live editing may leave one there); the walk starts from none, as a
    // drawing just read does.
    Writable(original).BGFileName.clear();
    for (int32_t step = 1; step <= original.History().Count(); ++step) {
      ASSERT_TRUE(walk.Next());
      ASSERT_EQ(walk.Step(), step);
      ASSERT_EQ(copy.CurrentStep(), step);
      GoToStep(original, step);
      ASSERT_EQ(Describe(copy.Figures()), Describe(original.Figures())) << "step " << step;
      ASSERT_EQ(Describe(copy.DeletedFigures()), Describe(original.DeletedFigures())) << "step " << step;
      ASSERT_EQ(copy.BGFileName(), original.ShownBGFileName()) << "step " << step;
    }
    EXPECT_FALSE(walk.Next());
    EXPECT_EQ(walk.Step(), original.History().Count());
  }
  EXPECT_GT(branches, 12);  // the sessions went back often
}

}  // namespace
