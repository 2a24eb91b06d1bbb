#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "history/replay_pace.h"

namespace {

TimeOfDay At(int hour, int min, int sec, int hund) {
  TimeOfDay t;
  t.Hour = uint8_t(hour);
  t.Min = uint8_t(min);
  t.Sec = uint8_t(sec);
  t.Hund = uint8_t(hund);
  return t;
}

TEST(ReplayPace, GapsCountHundredthsAndPassMidnight) {
  EXPECT_DOUBLE_EQ(ActionGapSeconds(At(10, 0, 0, 0), At(10, 0, 0, 0)), 0);
  EXPECT_NEAR(ActionGapSeconds(At(9, 59, 59, 95), At(10, 0, 0, 5)), 0.10, 1e-9);
  EXPECT_NEAR(ActionGapSeconds(At(10, 0, 0, 0), At(11, 2, 3, 4)), 3723.04, 1e-9);
  // Over midnight: the next day.
  EXPECT_NEAR(ActionGapSeconds(At(23, 59, 59, 50), At(0, 0, 0, 25)), 0.75, 1e-9);
  EXPECT_NEAR(ActionGapSeconds(At(20, 0, 0, 0), At(7, 0, 0, 0)), 11 * 3600.0, 1e-9);
  // Backwards in time (clock set back, damaged file): unknown.
  EXPECT_EQ(ActionGapSeconds(At(10, 0, 5, 0), At(10, 0, 3, 0)), -1);
  EXPECT_EQ(ActionGapSeconds(At(15, 0, 0, 0), At(14, 0, 0, 0)), -1);
  // Fields out of range as a damaged file may hold them count as they are.
  EXPECT_NEAR(ActionGapSeconds(At(10, 0, 0, 0), At(10, 0, 0, 250)), 2.5, 1e-9);
  EXPECT_DOUBLE_EQ(SecondsOfDay(At(255, 255, 255, 255)), 255 * 3600.0 + 255 * 60 + 255 + 2.55);
}

TEST(ReplayPace, FixedRateIgnoresTheRecordedTimes) {
  ReplayPace pace;  // 4 steps a second, hold 2 s
  const TimeOfDay a = At(10, 0, 0, 0), b = At(10, 30, 0, 0), back = At(9, 0, 0, 0);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &b), 0.25);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &back), 0.25);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 2.0);
  pace.StepsPerSecond = 0.5;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &b), 2.0);
  // The last step never goes by faster than the others.
  pace.HoldSeconds = 0.5;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 2.0);
  pace.StepsPerSecond = 10;
  pace.HoldSeconds = 0;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 0.1);
  // Nonsense set directly in the structure falls back to sane times.
  pace.StepsPerSecond = 0;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &b), 0.25);
  pace.StepsPerSecond = std::numeric_limits<double>::quiet_NaN();
  pace.HoldSeconds = std::numeric_limits<double>::infinity();
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &b), 0.25);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 0.25);
  pace.HoldSeconds = -3;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 0.25);
}

TEST(ReplayPace, AsDrawnFollowsTheGapsWithinLimits) {
  ReplayPace pace;
  pace.Kind = PaceKind::AsDrawn;
  const TimeOfDay a = At(10, 0, 0, 0);
  const TimeOfDay soon = At(10, 0, 0, 70), same = a, late = At(10, 5, 0, 0);
  const TimeOfDay tiny = At(10, 0, 0, 1), back = At(9, 59, 0, 0), nextDay = At(0, 0, 1, 0);
  EXPECT_NEAR(StepSeconds(pace, a, &soon), 0.70, 1e-9);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &same), kMinStepSeconds);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &tiny), kMinStepSeconds);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &late), kMaxPauseSeconds);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, &back), kMinStepSeconds);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, At(23, 59, 59, 0), &nextDay), kMaxPauseSeconds);
  const TimeOfDay justBefore = At(0, 0, 0, 40);
  EXPECT_NEAR(StepSeconds(pace, At(23, 59, 59, 90), &justBefore), 0.5, 1e-9);
  // The last step: the hold, but at least the shortest step.
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 2.0);
  pace.HoldSeconds = 0;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), kMinStepSeconds);
  pace.HoldSeconds = 7.5;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, a, nullptr), 7.5);
}

TEST(ReplayPace, StepsOfAHistoryUseTheFollowingRecord) {
  HistoryList h;
  const TimeOfDay times[] = {At(10, 0, 0, 0), At(10, 0, 0, 30), At(10, 0, 9, 0), At(10, 0, 9, 0)};
  for (const TimeOfDay& t : times) h.Add().ActionTime = t;
  ReplayPace pace;
  pace.Kind = PaceKind::AsDrawn;
  pace.HoldSeconds = 3;
  double total = 0;
  std::vector<double> steps;
  for (int32_t step = 1; step <= h.Count(); ++step) steps.push_back(StepSeconds(pace, h, step));
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_NEAR(steps[0], 0.3, 1e-9);
  EXPECT_DOUBLE_EQ(steps[1], kMaxPauseSeconds);
  EXPECT_DOUBLE_EQ(steps[2], kMinStepSeconds);
  EXPECT_DOUBLE_EQ(steps[3], 3.0);
  for (double s : steps) total += s;
  EXPECT_NEAR(total, 0.3 + 2 + 0.05 + 3, 1e-9);
}

TEST(ReplayPace, ParsesPaceAndHoldFromTheCommandLine) {
  ReplayPace pace;
  EXPECT_TRUE(ParsePace("drawn", pace));
  EXPECT_EQ(pace.Kind, PaceKind::AsDrawn);
  EXPECT_TRUE(ParsePace("0.5", pace));
  EXPECT_EQ(pace.Kind, PaceKind::Fixed);
  EXPECT_DOUBLE_EQ(pace.StepsPerSecond, 0.5);
  EXPECT_TRUE(ParsePace("100", pace));
  EXPECT_DOUBLE_EQ(pace.StepsPerSecond, 100);
  // Refused texts leave the pace as it was.
  for (const char* bad : {"", "0", "0.0", "-4", "+4", "101", "4x", " 4", "1e2", "inf", "nan", "Drawn", "4,5", "."}) {
    EXPECT_FALSE(ParsePace(bad, pace)) << bad;
    EXPECT_EQ(pace.Kind, PaceKind::Fixed) << bad;
    EXPECT_DOUBLE_EQ(pace.StepsPerSecond, 100) << bad;
  }
  EXPECT_TRUE(ParseHold("0", pace));
  EXPECT_DOUBLE_EQ(pace.HoldSeconds, 0);
  EXPECT_TRUE(ParseHold("1.5", pace));
  EXPECT_DOUBLE_EQ(pace.HoldSeconds, 1.5);
  for (const char* bad : {"", "-1", "601", "2s", "nan", "1e3"}) {
    EXPECT_FALSE(ParseHold(bad, pace)) << bad;
    EXPECT_DOUBLE_EQ(pace.HoldSeconds, 1.5) << bad;
  }
}

TEST(ReplayPace, TheHoldGoesUpToTenMinutesExactly) {
  // The bound itself is taken, a hundredth more is not; as drawn the last
  // step then lasts exactly the hold, and a larger hold set directly is cut
  // to the bound.
  ReplayPace pace;
  ASSERT_TRUE(ParsePace("drawn", pace));
  EXPECT_TRUE(ParseHold("600", pace));
  EXPECT_DOUBLE_EQ(pace.HoldSeconds, 600);
  for (const char* over : {"600.01", "600.001"}) {
    EXPECT_FALSE(ParseHold(over, pace)) << over;
    EXPECT_DOUBLE_EQ(pace.HoldSeconds, 600) << over;
  }
  const TimeOfDay last = At(10, 0, 0, 0);
  EXPECT_DOUBLE_EQ(StepSeconds(pace, last, nullptr), 600);
  pace.HoldSeconds = 600.01;
  EXPECT_DOUBLE_EQ(StepSeconds(pace, last, nullptr), 600);
  EXPECT_TRUE(ParseHold("599.99", pace));
  EXPECT_DOUBLE_EQ(StepSeconds(pace, last, nullptr), 599.99);
}

}  // namespace
