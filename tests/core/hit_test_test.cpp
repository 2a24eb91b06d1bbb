// The box a press or a dragged rectangle must meet.
#include <gtest/gtest.h>

#include <cstdint>

#include "document/hit_test.h"

namespace {

TEST(HitTest, TheBoxIsWidenedByThreePixelsInclusive) {
  const Point a{10, 10}, b{50, 40};
  EXPECT_TRUE(HitTest(a, b, {7, 20}));
  EXPECT_FALSE(HitTest(a, b, {6, 20}));
  EXPECT_TRUE(HitTest(a, b, {53, 43}));
  EXPECT_FALSE(HitTest(a, b, {54, 20}));
  EXPECT_FALSE(HitTest(a, b, {20, 44}));
  // Corners in any order.
  EXPECT_TRUE(HitTest(b, a, {7, 7}));
  EXPECT_TRUE(HitTest({50, 10}, {10, 40}, {30, 25}));
  // Coordinates at the 32-bit limits do not wrap around.
  EXPECT_FALSE(HitTest({INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}));
  EXPECT_TRUE(HitTest({INT32_MAX - 1, 0}, {INT32_MAX, 0}, {INT32_MAX, 2}));
}

}  // namespace
