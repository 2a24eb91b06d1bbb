// The background during a rebuild: loaded when the asked-for picture changes,
// blanked when none is asked for, looked for by its bare name when moved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/play.h"
#include "support/builders.h"
#include "support/fakes.h"

namespace {

struct Background : ::testing::Test {
  AppState S;
  PictureLog P;
  Background() { S.Pictures = &P; }

  HistoryList H;  // the records written so far; the drawing reads them at the first step

  Action& Add(ActionKind kind, const std::string& file = "") { return addFileRecord(H, kind, file); }
  std::vector<std::string> Step(int32_t k) {
    if (S.History().Count() != H.Count()) LoadHistory(S, copyRecords(H));
    GoToStep(S, k);
    EXPECT_EQ(S.BGFileName(), "");
    return P.Take();
  }
  using V = std::vector<std::string>;
};

TEST_F(Background, LoadedOnChangeBlankedOnClearNotReloadedWhenShown) {
  P.Existing = {"/pics/sky.bmp"};
  Add(ActionKind::ReadBG, "/pics/sky.bmp");
  Add(ActionKind::ClearBG);
  EXPECT_EQ(Step(1), (V{"load /pics/sky.bmp", "paint"}));
  EXPECT_EQ(S.ShownBGFileName(), "/pics/sky.bmp");
  EXPECT_EQ(Step(2), (V{"blank", "paint"}));
  EXPECT_EQ(S.ShownBGFileName(), "");
  EXPECT_EQ(Step(1), (V{"load /pics/sky.bmp", "paint"}));
  EXPECT_EQ(Step(1), (V{"paint"}));
  EXPECT_EQ(Step(0), (V{"blank", "paint"}));
  EXPECT_EQ(Step(0), (V{"paint"}));
}

TEST_F(Background, TheLastBackgroundRecordDecides) {
  P.Existing = {"a.bmp", "b.jpg"};
  Add(ActionKind::ReadBG, "a.bmp");
  Add(ActionKind::ReadBG, "b.jpg");
  Add(ActionKind::ClearAll);
  Add(ActionKind::ReadBG, "a.bmp");
  EXPECT_EQ(Step(2), (V{"load b.jpg", "paint"}));
  EXPECT_EQ(Step(3), (V{"blank", "paint"}));
  EXPECT_EQ(Step(4), (V{"load a.bmp", "paint"}));
}

TEST_F(Background, ABranchDropsThePictureOfLaterRecords) {
  P.Existing = {"a.bmp"};
  Add(ActionKind::ReadBG, "a.bmp");
  Add(ActionKind::Branch).TargetID = 0;
  Add(ActionKind::Branch).TargetID = 1;
  EXPECT_EQ(Step(1), (V{"load a.bmp", "paint"}));
  EXPECT_EQ(Step(2), (V{"blank", "paint"}));
  EXPECT_EQ(Step(3), (V{"load a.bmp", "paint"}));
}

TEST_F(Background, AMovedPictureIsLookedForByItsBareName) {
  P.Existing = {"sky.bmp", "sea.jpg"};
  Add(ActionKind::ReadBG, "/home/old/sky.bmp");
  Add(ActionKind::ReadBG, "C:\\My Pictures\\sea.jpg");
  EXPECT_EQ(Step(1), (V{"load /home/old/sky.bmp", "load sky.bmp", "paint"}));
  EXPECT_EQ(S.ShownBGFileName(), "/home/old/sky.bmp");
  EXPECT_EQ(Step(1), (V{"paint"}));
  EXPECT_EQ(Step(2), (V{"load C:\\My Pictures\\sea.jpg", "load sea.jpg", "paint"}));
}

// Not found anywhere: the background stays as it was, no box, and the name
// counts as shown so the next step does not look again.
TEST_F(Background, AMissingPictureIsLookedForOnce) {
  Add(ActionKind::ReadBG, "/gone/x.bmp");
  Add(ActionKind::ReadBG, "y.bmp");
  EXPECT_EQ(Step(1), (V{"load /gone/x.bmp", "load x.bmp", "paint"}));
  EXPECT_EQ(S.ShownBGFileName(), "/gone/x.bmp");
  EXPECT_EQ(Step(1), (V{"paint"}));
  EXPECT_EQ(Step(2), (V{"load y.bmp", "paint"}));  // already a bare name: one look
}

}  // namespace
