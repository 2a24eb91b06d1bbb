// Walking a history forward record by record, as the exports do on their
// own copy of a drawing, gives at every step exactly what rebuilding that
// step from the start gives: figures, the undo store and the background,
// through deletions, undos, clears and branches inside branches.
#include <gtest/gtest.h>

#include <string>

#include "history/play.h"
#include "support/random_actions.h"
#include "support/builders.h"

namespace {

TEST(ReplayForward, EveryStepEqualsTheStepRebuiltFromTheStart) {
  int branches = 0, leftFigures = 0, leftBackground = 0;
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    AppState original;
    RandomSession session(original, seed);
    for (int k = 0; k < 300; ++k) session.Step();
    for (const Action& a : original.History()) branches += a.TargetType == ActionKind::Branch;

    // A walk starts from an empty drawing whatever the state held before:
    // here the figures of the last step and a background record applied
    // on top.
    AppState copy;
    LoadHistory(copy, copyRecords(original.History()));
    GoToStep(copy, copy.History().Count());
    for (int32_t k = copy.History().Count(); k >= 1; --k)
      if (copy.History().At(k).TargetType == ActionKind::ReadBG) {
        ApplyAction(copy, k);
        break;
      }
    leftFigures += !copy.Figures().IsEmpty();
    leftBackground += !copy.BGFileName().empty();
    ForwardReplay walk(copy);
    EXPECT_EQ(walk.Step(), 0);
    EXPECT_TRUE(copy.Figures().IsEmpty());
    EXPECT_TRUE(copy.BGFileName().empty());
    // Rebuilding a step starts from the background name left in the state
    // (live editing may leave one there); the walk starts from none, as a
    // drawing just read does: compare with the records read afresh.
    LoadHistory(original, copyRecords(original.History()));
    for (int32_t step = 1; step <= original.History().Count(); ++step) {
      ASSERT_TRUE(walk.Next());
      ASSERT_EQ(walk.Step(), step);
      ASSERT_EQ(copy.CurrentStep(), step);
      GoToStep(original, step);
      ASSERT_EQ(listed(copy.Figures()), listed(original.Figures())) << "step " << step;
      ASSERT_EQ(listed(copy.DeletedFigures()), listed(original.DeletedFigures())) << "step " << step;
      ASSERT_EQ(copy.BGFileName(), original.ShownBGFileName()) << "step " << step;
    }
    EXPECT_FALSE(walk.Next());
    EXPECT_EQ(walk.Step(), original.History().Count());
  }
  EXPECT_GT(branches, 12);  // the sessions went back often
  EXPECT_GT(leftFigures, 0);
  EXPECT_GT(leftBackground, 0);
}

}  // namespace
