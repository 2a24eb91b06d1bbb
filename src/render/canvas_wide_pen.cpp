// The wide pens of the canvas: strokes laid down span by span.
#include "render/canvas.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Wide pens are laid down as capsules, one per segment (the segment widened
// by the pen's radius in every direction, so ends and joins are round): a
// pixel is covered when its sample point lies within the radius of a
// segment. Odd widths sample at the pixel centres' grid, so a horizontal
// line of width 3 covers its own row and one row on each side; even widths
// sample half a pixel off, which gives exactly `width` rows as well.
//
// Each capsule cuts a row in one span. The spans of all segments are
// gathered row by row, merged and filled once, so the cost follows the
// spans and the pixels covered, not the segments times their area: a wide
// pen on a long polyline would otherwise fill the same pixels thousands of
// times.
namespace {

// Pixels X0 … X1 of a row; left uninitialised when made in bulk.
struct Span {
  int X0, X1;
};

struct Capsule {
  double Ax, Ay, Bx, By, R;
  double Ux, Uy, Len;
  bool Band, Vertical, Horizontal;
  int Top, Bottom;  // rows it may reach, within the clip
};

// The capsule from a to b (target coordinates) of radius r; false when it
// reaches no row of the clip.
bool MakeCapsule(double ax, double ay, double bx, double by, double r, const QRect& clip, Capsule& c) {
  constexpr double eps = 1e-9;
  const double yTop = std::max(std::ceil(std::min(ay, by) - r - eps), double(clip.top()));
  const double yBottom = std::min(std::floor(std::max(ay, by) + r + eps), double(clip.bottom()));
  if (!(yTop <= yBottom)) return false;
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  c.Ax = ax, c.Ay = ay, c.Bx = bx, c.By = by, c.R = r, c.Len = len;
  c.Ux = len > 0 ? dx / len : 1, c.Uy = len > 0 ? dy / len : 0;
  c.Band = len > 0;
  c.Vertical = std::abs(c.Ux) < 1e-12, c.Horizontal = std::abs(c.Uy) < 1e-12;
  c.Top = int(yTop), c.Bottom = int(yBottom);
  return true;
}

// The pixels x0 … x1 of row y that the capsule covers, within the clip's
// columns; false when none.
bool CapsuleSpan(const Capsule& c, double y, const QRect& clip, int& x0, int& x1) {
  constexpr double eps = 1e-9;
  const double r2 = c.R * c.R;
  double lo = INFINITY, hi = -INFINITY;
  // The round ends.
  const double ha = r2 - (y - c.Ay) * (y - c.Ay);
  if (ha >= 0) {
    const double h = std::sqrt(ha);
    lo = c.Ax - h, hi = c.Ax + h;
  }
  const double hb = r2 - (y - c.By) * (y - c.By);
  if (hb >= 0) {
    const double h = std::sqrt(hb);
    lo = std::min(lo, c.Bx - h), hi = std::max(hi, c.Bx + h);
  }
  // The band between the ends: 0 <= along <= len and |across| <= r, with
  // along = x'·ux + (y − ay)·uy and across = (y − ay)·ux − x'·uy, x' = x − ax.
  // Both are linear in x', so the row cuts the band in one interval.
  if (c.Band) {
    const double fy = y - c.Ay;
    double from = -INFINITY, to = INFINITY;
    bool empty = false;
    if (c.Vertical) {
      const double v = fy * c.Uy;
      empty = v < -eps || v > c.Len + eps;
    } else {
      double a = -fy * c.Uy / c.Ux, b = (c.Len - fy * c.Uy) / c.Ux;
      if (a > b) std::swap(a, b);
      from = a, to = b;
    }
    if (c.Horizontal) {
      empty = empty || std::abs(fy * c.Ux) > c.R + eps;
    } else {
      double a = (fy * c.Ux - c.R) / c.Uy, b = (fy * c.Ux + c.R) / c.Uy;
      if (a > b) std::swap(a, b);
      from = std::max(from, a), to = std::min(to, b);
    }
    if (!empty && from <= to) lo = std::min(lo, c.Ax + from), hi = std::max(hi, c.Ax + to);
  }
  if (lo > hi) return false;
  x0 = int(std::max(std::ceil(lo - eps), double(clip.left())));
  x1 = int(std::min(std::floor(hi + eps), double(clip.right())));
  return x0 <= x1;
}

}  // namespace

void RasterCanvas::StrokeWide(TargetImage& t, const Point* points, int count, bool closed, int width, QRgb color) {
  const QRect clip = t.Clip.intersected(t.Image.rect());
  if (clip.isEmpty() || count <= 0) return;
  // Into the target image's coordinates.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const double ox = shift - t.Origin.x(), oy = shift - t.Origin.y();
  const double r = width / 2.0;
  std::vector<Capsule> capsules;
  capsules.reserve(size_t(count) + 1);
  int top = clip.bottom() + 1, bottom = clip.top() - 1;
  auto add = [&](const Point& a, const Point& b) {
    Capsule c;
    if (!MakeCapsule(a.X + ox, a.Y + oy, b.X + ox, b.Y + oy, r, clip, c)) return;
    capsules.push_back(c);
    top = std::min(top, c.Top), bottom = std::max(bottom, c.Bottom);
  };
  if (count == 1) add(points[0], points[0]);
  for (int i = 0; i + 1 < count; ++i) add(points[i], points[i + 1]);
  if (closed && count > 2) add(points[count - 1], points[0]);
  if (capsules.empty()) return;

  // The spans are gathered per capsule into the rows' slots (each row has
  // a slot for every capsule reaching it), so that a capsule is looked at
  // only on its own rows. A row that one span covers whole takes no more.
  const int rows = bottom - top + 1;
  std::vector<int64_t> start(size_t(rows) + 1, 0);
  {
    // How many capsules reach each row, then where each row's slots begin.
    std::vector<int64_t> change(size_t(rows) + 1, 0);
    for (const Capsule& c : capsules) ++change[size_t(c.Top - top)], --change[size_t(c.Bottom - top) + 1];
    int64_t reaching = 0;
    for (int i = 0; i < rows; ++i) {
      reaching += change[size_t(i)];
      start[size_t(i) + 1] = start[size_t(i)] + reaching;
    }
  }
  const size_t slotCount = size_t(start[size_t(rows)]);
  std::vector<int64_t> end(start.begin(), start.end() - 1);  // next free slot per row
  // Uninitialised: only the slots used are touched.
  std::unique_ptr<Span[]> spans(new Span[slotCount]);
  std::vector<uint8_t> whole(size_t(rows), 0);
  int open = rows;  // rows not yet covered whole
  for (const Capsule& c : capsules) {
    for (int y = c.Top; y <= c.Bottom; ++y) {
      const size_t row = size_t(y - top);
      if (whole[row]) continue;
      int x0, x1;
      if (!CapsuleSpan(c, double(y), clip, x0, x1)) continue;
      if (x0 == clip.left() && x1 == clip.right()) {
        whole[row] = 1;
        --open;
        continue;
      }
      spans[size_t(end[row]++)] = Span{x0, x1};
    }
    if (open == 0) break;
  }

  uchar* bits = t.Image.bits();
  const qsizetype stride = t.Image.bytesPerLine();
  for (int y = top; y <= bottom; ++y) {
    const size_t row = size_t(y - top);
    QRgb* line = reinterpret_cast<QRgb*>(bits + qsizetype(y) * stride);
    if (whole[row]) {
      std::fill(line + clip.left(), line + clip.right() + 1, color);
      continue;
    }
    Span* first = spans.get() + start[row];
    Span* last = spans.get() + end[row];
    if (first == last) continue;
    std::sort(first, last, [](const Span& a, const Span& b) { return a.X0 < b.X0; });
    int from = first->X0, to = first->X1;
    for (const Span* s = first + 1; s != last; ++s) {
      if (s->X0 <= to + 1) {
        to = std::max(to, s->X1);
      } else {
        std::fill(line + from, line + to + 1, color);
        from = s->X0, to = s->X1;
      }
    }
    std::fill(line + from, line + to + 1, color);
  }
}
