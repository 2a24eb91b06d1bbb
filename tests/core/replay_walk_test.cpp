// Walking the view mode's steps: a walk forward applies only the records it
// passes, and must leave exactly what a rebuild from the first record
// leaves, whatever the records in between and wherever it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "history/play.h"
#include "support/builders.h"
#include "support/fakes.h"
#include "support/random_actions.h"
#include "support/drawing_door.h"

namespace {


struct Shown {
  std::vector<Figure> Drawn, Deleted;
  std::string Background;
};

Shown Rebuilt(AppState& S, int32_t step) {
  GoToStep(S, step);
  return {listed(S.Figures()), listed(S.DeletedFigures()), S.ShownBGFileName()};
}

TEST(WalkToStep, EveryWalkLeavesWhatARebuildLeaves) {
  AppState S;
  PictureLog pictures;
  pictures.EveryPictureExists = true;
  S.Pictures = &pictures;
  RandomSession session(S, 31);
  for (int i = 0; i < 400; ++i) session.Step();
  const int32_t last = S.History().Count();
  std::vector<Shown> expected;
  for (int32_t k = 0; k <= last; ++k) expected.push_back(Rebuilt(S, k));

  // Every step forward from every start, one at a time and in jumps long
  // enough for the index; then back, which rebuilds.
  std::mt19937 rng(5);
  GoToStep(S, 0);
  for (int round = 0; round < 600; ++round) {
    const int32_t step = round % 3 == 0 ? static_cast<int32_t>(rng() % (last + 1)) : std::min(last, S.CurrentStep() + 1 + round % 50);
    pictures.Repaints = 0;
    WalkToStep(S, step);
    ASSERT_EQ(pictures.Repaints, 1) << step;
    ASSERT_EQ(S.ReplayedStep(), step);
    const Shown& e = expected[static_cast<size_t>(step)];
    ASSERT_EQ(listed(S.Figures()), e.Drawn) << "step " << step;
    ASSERT_EQ(listed(S.DeletedFigures()), e.Deleted) << "step " << step;
    ASSERT_EQ(S.ShownBGFileName(), e.Background) << "step " << step;
    if (step == last) {
      GoToStep(S, 0);
    }
  }
}

TEST(WalkToStep, AnythingButAReplayMakesTheNextWalkARebuild) {
  AppState S;
  RandomSession session(S, 8);
  for (int i = 0; i < 60; ++i) session.Step();
  GoToStep(S, 30);
  EXPECT_EQ(S.ReplayedStep(), 30);
  // A record applied live: the lists no longer hold a replayed step.
  ApplyAction(S, 31);
  EXPECT_EQ(S.ReplayedStep(), -1);
  // So the walk rebuilds, and step 40 is step 40 however the lists looked.
  Writable(S).Figures.Clear();
  WalkToStep(S, 40);
  const std::vector<Figure> walked = listed(S.Figures());
  EXPECT_EQ(walked, Rebuilt(S, 40).Drawn);
  // Step 0, emptied by hand as entering the view mode does, walks on.
  ClearToStepZero(S);
  EXPECT_EQ(S.ReplayedStep(), 0);
  EXPECT_EQ(S.CurrentStep(), 0);
  WalkToStep(S, 40);
  EXPECT_EQ(listed(S.Figures()), walked);
}

}  // namespace
