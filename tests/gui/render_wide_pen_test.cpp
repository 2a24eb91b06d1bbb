// Wide pens: the row-merged stroker against the plain one that fills every
// segment's capsule on its own, pixel for pixel on random polylines, and the
// cost of a wide pen on many vertices.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "render/paint.h"
#include "support/sanitizers.h"

namespace {

// The plain stroker: each segment's capsule filled over its own rows.
void PlainCapsule(QImage& img, QPoint origin, const QRect& clipIn, double ax, double ay, double bx, double by,
                  double r, QRgb color) {
  ax -= origin.x(), bx -= origin.x();
  ay -= origin.y(), by -= origin.y();
  const QRect clip = clipIn.intersected(img.rect());
  if (clip.isEmpty()) return;
  constexpr double eps = 1e-9;
  const double yTop = std::max(std::ceil(std::min(ay, by) - r - eps), double(clip.top()));
  const double yBottom = std::min(std::floor(std::max(ay, by) + r + eps), double(clip.bottom()));
  if (yTop > yBottom) return;
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  const double ux = len > 0 ? dx / len : 1, uy = len > 0 ? dy / len : 0;
  const double r2 = r * r;
  const bool band = len > 0;
  const bool vertical = std::abs(ux) < 1e-12, horizontal = std::abs(uy) < 1e-12;
  for (double y = yTop; y <= yBottom; ++y) {
    double lo = INFINITY, hi = -INFINITY;
    const double ha = r2 - (y - ay) * (y - ay);
    if (ha >= 0) lo = ax - std::sqrt(ha), hi = ax + std::sqrt(ha);
    const double hb = r2 - (y - by) * (y - by);
    if (hb >= 0) lo = std::min(lo, bx - std::sqrt(hb)), hi = std::max(hi, bx + std::sqrt(hb));
    if (band) {
      const double fy = y - ay;
      double from = -INFINITY, to = INFINITY;
      bool empty = false;
      if (vertical) {
        const double c = fy * uy;
        empty = c < -eps || c > len + eps;
      } else {
        double a = -fy * uy / ux, b = (len - fy * uy) / ux;
        if (a > b) std::swap(a, b);
        from = a, to = b;
      }
      if (horizontal) {
        empty = empty || std::abs(fy * ux) > r + eps;
      } else {
        double a = (fy * ux - r) / uy, b = (fy * ux + r) / uy;
        if (a > b) std::swap(a, b);
        from = std::max(from, a), to = std::min(to, b);
      }
      if (!empty && from <= to) lo = std::min(lo, ax + from), hi = std::max(hi, ax + to);
    }
    if (lo > hi) continue;
    const int x0 = int(std::max(std::ceil(lo - eps), double(clip.left())));
    const int x1 = int(std::min(std::floor(hi + eps), double(clip.right())));
    if (x0 > x1) continue;
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
    std::fill(row + x0, row + x1 + 1, color);
  }
}

// A whole wide polyline or polygon as the canvas drew it with the plain
// stroker: the body (if any) with the painter, then one capsule per segment;
// in not-xor mode on a white sheet combined with the picture afterwards.
void PlainStroke(QImage& img, const std::vector<Point>& pts, bool closed, int width, QRgb pen, bool body,
                 QRgb brush, bool notXor) {
  int64_t l = pts[0].X, r = l, t = pts[0].Y, b = t;
  for (const Point& p : pts) {
    l = std::min<int64_t>(l, p.X), r = std::max<int64_t>(r, p.X);
    t = std::min<int64_t>(t, p.Y), b = std::max<int64_t>(b, p.Y);
  }
  const int m = width / 2 + 2;
  const QRect box = QRect(QPoint(int(l - m), int(t - m)), QPoint(int(r + m), int(b + m))).intersected(img.rect());
  if (box.isEmpty()) return;
  QImage sheet;
  QImage* target = &img;
  QPoint origin(0, 0);
  QRect clip = box;
  if (notXor) {
    sheet = QImage(box.size(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    target = &sheet, origin = box.topLeft(), clip = sheet.rect();
  }
  if (body && pts.size() > 2) {
    QPainter p(target);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(clip);
    p.translate(-origin);
    QPolygonF poly;
    for (const Point& q : pts) poly << QPointF(q.X + 0.5, q.Y + 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(brush));
    p.drawPolygon(poly, Qt::OddEvenFill);
  }
  const double shift = width % 2 == 0 ? -0.5 : 0.0, rad = width / 2.0;
  auto capsule = [&](const Point& a, const Point& c) {
    PlainCapsule(*target, origin, clip, a.X + shift, a.Y + shift, c.X + shift, c.Y + shift, rad, pen);
  };
  const int n = int(pts.size());
  if (n == 1) capsule(pts[0], pts[0]);
  for (int i = 0; i + 1 < n; ++i) capsule(pts[i], pts[i + 1]);
  if (closed && n > 2) capsule(pts[n - 1], pts[0]);
  if (notXor) {
    QPainter p(&img);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.drawImage(box.topLeft(), sheet);
  }
}

QImage Noise(int w, int h, uint32_t seed) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      img.setPixel(x, y, 0xFF000000u | (seed >> 8));
    }
  return img;
}

// The first differing pixel, for the failure message.
std::string FirstDifference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return "none";
}

}  // namespace

// Random wide polylines, polygons with and without a body and rectangles,
// wholly inside the picture or reaching far past it, short and long, with
// segments of every direction and repeated vertices, in copy and not-xor
// mode on a noisy picture.
TEST(CanvasWidePen, MergedRowsCoverExactlyThePixelsOfEveryCapsule) {
  std::mt19937 rng(20240611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int compared = 0;
  for (int round = 0; round < 600; ++round) {
    const bool small = round % 3 != 0;
    const int w = small ? pick(8, 80) : 640, h = small ? pick(8, 60) : 480;
    const bool clipped = round % 2 == 1;
    const int spread = clipped ? std::max(w, h) * 3 : 0;
    const int n = pick(1, round % 10 == 0 ? 400 : 12);
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
      if (i > 0 && pick(0, 7) == 0) {
        pts.push_back(pts.back());  // a repeated vertex
      } else if (i > 0 && pick(0, 5) == 0) {
        pts.push_back(Point{pts.back().X, pick(-spread, h + spread)});  // vertical
      } else if (i > 0 && pick(0, 5) == 0) {
        pts.push_back(Point{pick(-spread, w + spread), pts.back().Y});  // horizontal
      } else {
        pts.push_back(Point{pick(-spread, w - 1 + spread), pick(-spread, h - 1 + spread)});
      }
    }
    const int widths[] = {2, 3, 4, 5, 8, 9, 16, 33, 100, 4096};
    const int width = widths[pick(0, 9)];
    const int kind = pick(0, 3);  // 0 polyline, 1 polygon without a body, 2 with one, 3 rectangle
    const bool notXor = pick(0, 1) == 1;
    const QRgb pen = 0xFF000000u | uint32_t(pick(0, 0xFFFFFF));
    const QRgb brush = 0xFF000000u | uint32_t(pick(0, 0xFFFFFF));

    QImage expected = Noise(w, h, uint32_t(round));
    QImage actual = expected;
    RasterCanvas c(&actual);
    c.PenWidth = width;
    c.PenColor = ColorRef(qBlue(pen) << 16 | qGreen(pen) << 8 | qRed(pen));
    c.BrushColor = ColorRef(qBlue(brush) << 16 | qGreen(brush) << 8 | qRed(brush));
    c.BrushStyle = kind == 2 ? FillStyle::Solid : FillStyle::Clear;
    c.PenMode = notXor ? DrawMode::NotXor : DrawMode::Copy;
    if (kind == 3) {
      const Point a = pts[0], b = pts.size() > 1 ? pts[1] : pts[0];
      c.Rectangle(a.X, a.Y, b.X, b.Y);
      const int l = std::min(a.X, b.X), t = std::min(a.Y, b.Y);
      const int r = std::max(l, std::max(a.X, b.X) - 1), bo = std::max(t, std::max(a.Y, b.Y) - 1);
      PlainStroke(expected, {{l, t}, {r, t}, {r, bo}, {l, bo}}, true, width, pen, false, brush, notXor);
    } else {
      if (kind == 0)
        c.Polyline(pts.data(), n);
      else
        c.Polygon(pts.data(), n);
      PlainStroke(expected, pts, kind != 0, width, pen, kind == 2, brush, notXor);
    }
    ASSERT_TRUE(actual == expected) << "round " << round << ", width " << width << ", kind " << kind
                                    << (notXor ? ", not-xor" : ", copy") << ", first difference at "
                                    << FirstDifference(actual, expected);
    ++compared;
  }
  EXPECT_EQ(compared, 600);
}

// In not-xor mode overlapping segments still change every pixel once, so a
// second identical call restores the picture.
TEST(CanvasWidePen, NotXorOverlappingSegmentsRestoreOnTheSecondCall) {
  const QImage before = Noise(120, 90, 7);
  QImage img = before;
  RasterCanvas c(&img);
  c.PenWidth = 25;
  c.PenMode = DrawMode::NotXor;
  c.PenColor = 0x123456;
  const Point zigzag[] = {{10, 10}, {100, 20}, {12, 30}, {110, 45}, {10, 80}, {10, 80}, {60, 5}};
  c.Polyline(zigzag, 7);
  EXPECT_FALSE(img == before);
  c.Polyline(zigzag, 7);
  EXPECT_TRUE(img == before);
}

// Fifty polylines of 2,000 vertices with the widest pen, drawn as figures
// onto the canvas: the plain stroker took over ten seconds (the cost is
// measured by BM_WidePolylines50x2000).
TEST(CanvasWidePen, ManyWideVerticesDraw) {
  if (kSanitized) GTEST_SKIP() << "too slow under the sanitizers";
  std::mt19937 rng(5);
  std::vector<Figure> figs(50);
  for (size_t k = 0; k < figs.size(); ++k) {
    for (int i = 0; i < MaxPoints; ++i) figs[k].PointData.AddPoint(int(rng() % 900) - 130, int(rng() % 700) - 110);
    figs[k].DrawingTool = k % 2 ? ToolKind::Polyline : ToolKind::FreeLine;
    figs[k].PenWidth = 4096;
    figs[k].PenColor = ColorRef(rng() & 0xFFFFFF);
  }
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  RasterCanvas canvas(&img);
  for (const Figure& f : figs) DrawFigure(canvas, &f, 0, 0, DrawMode::Copy);
  EXPECT_EQ(img.pixel(320, 240), ToQColor(figs.back().PenColor).rgb());
}
