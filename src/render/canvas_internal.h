// What the canvas's primitives, in their several files, share.
#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>

namespace canvas_internal {

// The box from (l, t) to (r, b) grown by `margin` on every side.
inline QRect BoundsOf(int64_t l, int64_t t, int64_t r, int64_t b, int margin) {
  // Clamp into a range QRect can hold; the caller intersects with the image.
  auto c = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(1 << 28), 1 << 28)); };
  return QRect(QPoint(c(l - margin), c(t - margin)), QPoint(c(r + margin), c(b + margin)));
}

}  // namespace canvas_internal
