#include "document/hit_test.h"

#include <algorithm>

bool HitTest(Point A, Point B, Point P) {
  // 64-bit: coordinates read from a file may lie near the 32-bit limits.
  const int64_t left = std::min<int64_t>(A.X, B.X), right = std::max<int64_t>(A.X, B.X);
  const int64_t top = std::min<int64_t>(A.Y, B.Y), bottom = std::max<int64_t>(A.Y, B.Y);
  return left - 3 <= P.X && P.X <= right + 3 && top - 3 <= P.Y && P.Y <= bottom + 3;
}
