// The canvas: its colours, pens and brushes, and the shapes it draws
// through QPainter. Wide pens and texts have files of their own.
#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/canvas_internal.h"
#include "render/vector_canvas.h"

using canvas_internal::BoundsOf;

const char* const kFigureFontFamily = "IPAPGothic";

namespace {

// Fixed stand-ins for the system colours (index in the low byte), the
// classic desktop scheme: no theme decides how a drawing looks.
constexpr QRgb kSystemColors[] = {
    0xC8C8C8,  //  0 scroll bar
    0x000000,  //  1 desktop
    0x99B4D1,  //  2 active caption
    0xBFCDDB,  //  3 inactive caption
    0xF0F0F0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x646464,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0x000000,  //  9 caption text
    0xB4B4B4,  // 10 active border
    0xF4F7FC,  // 11 inactive border
    0xABABAB,  // 12 application workspace
    0x3399FF,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 grey text
    0x000000,  // 18 button text
    0x000000,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3-D dark shadow
    0xE3E3E3,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xFFFFE1,  // 24 tooltip background
    0x000000,  // 25 (unused index)
    0x0066CC,  // 26 hot light
    0xB9D1EA,  // 27 gradient active caption
    0xD7E4F2,  // 28 gradient inactive caption
    0x3399FF,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};

// Pens wider than this cover the whole canvas from anywhere they could
// reach it; the limit keeps a hostile width from making the stroker work
// on absurd geometry.
constexpr int kMaxPenWidth = 4096;

// Integer vertices are pixel indices; shapes are laid through the pixel
// centres so that odd pen widths spread evenly to both sides.
inline QPointF Centre(int64_t x, int64_t y) { return QPointF(double(x) + 0.5, double(y) + 0.5); }

}  // namespace

QColor ToQColor(ColorRef color) {
  const uint32_t c = static_cast<uint32_t>(color);
  if (c & 0x80000000u) {
    const uint32_t index = c & 0xFFu;
    const QRgb rgb = index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
    return QColor::fromRgb(rgb);
  }
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int PointsToPixels(int points) {
  // Points at 96 dots per inch, rounded half away from zero (stored files
  // hold sizes in points).
  const int64_t p = points;
  const int64_t px = p >= 0 ? (p * 96 + 36) / 72 : -((-p * 96 + 36) / 72);
  return static_cast<int>(std::clamp<int64_t>(px, INT32_MIN, INT32_MAX));
}

RasterCanvas::RasterCanvas(QImage* image) : m_image(image) {}

int RasterCanvas::EffectivePenWidth() const { return std::clamp(PenWidth, 1, kMaxPenWidth); }

QPen RasterCanvas::MakePen() const {
  QPen pen(ToQColor(PenColor));
  const int w = EffectivePenWidth();
  pen.setWidth(w);
  // Wide pens have round ends and joins (Qt::RoundCap, Qt::RoundJoin); a
  // dotted style only applies to the one-pixel pen, wider pens draw solid.
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (PenStyle == LineStyle::Dot && w == 1) pen.setDashPattern({1.0, 1.0});
  return pen;
}

QBrush RasterCanvas::MakeBrush() const {
  if (BrushStyle == FillStyle::Clear) return Qt::NoBrush;
  return QBrush(ToQColor(BrushColor));
}

void RasterCanvas::Paint(const QRect& bounds, const std::function<void(TargetImage&)>& draw) {
  if (m_image == nullptr || m_image->isNull()) return;
  if (TrackBounds != nullptr) *TrackBounds |= bounds;
  const QRect box = bounds.intersected(m_image->rect());
  if (box.isEmpty()) return;
  if (TrackExtent != nullptr) *TrackExtent |= box;
  if (MeasureOnly) return;
  auto prepare = [](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  };
  if (PenMode == DrawMode::Copy) {
    QPainter p(m_image);
    prepare(p);
    p.setClipRect(box);
    TargetImage t{p, *m_image, QPoint(0, 0), box};
    draw(t);
    return;
  }
  // Not-xor: the shape is first drawn in copy mode on a white sheet, then
  // the sheet is combined with the destination as NOT(dest XOR source).
  // White is the identity of that operation, so only what the shape covers
  // changes, every pixel exactly once even where strokes overlap, and a
  // second identical call restores every pixel.
  QImage sheet(box.size(), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    QPainter sp(&sheet);
    prepare(sp);
    sp.translate(-box.topLeft());
    TargetImage t{sp, sheet, box.topLeft(), sheet.rect()};
    draw(t);
  }
  QPainter p(m_image);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  p.drawImage(box.topLeft(), sheet);
}

void RasterCanvas::MoveTo(int x, int y) { PenPos = Point{x, y}; }

void RasterCanvas::LineTo(int x, int y) {
  const Point pts[2] = {PenPos, Point{x, y}};
  Polyline(pts, 2);
  PenPos = Point{x, y};
}

void RasterCanvas::Line(Point a, Point b) {
  const Point pts[2] = {a, b};
  Polyline(pts, 2);
}

void RasterCanvas::StrokePoints(const Point* points, int count, bool closed, bool filled) {
  if (points == nullptr || count <= 0) return;
  int64_t l = points[0].X, r = l, t = points[0].Y, b = t;
  for (int i = 0; i < count; ++i) {
    l = std::min<int64_t>(l, points[i].X);
    r = std::max<int64_t>(r, points[i].X);
    t = std::min<int64_t>(t, points[i].Y);
    b = std::max<int64_t>(b, points[i].Y);
  }
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TargetImage& target) {
    QPainter& p = target.P;
    QPolygonF poly;
    if ((filled && brush.style() != Qt::NoBrush) || w == 1) {
      poly.reserve(count);
      for (int i = 0; i < count; ++i) poly << Centre(points[i].X, points[i].Y);
    }
    if (filled && brush.style() != Qt::NoBrush && count > 2) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly, Qt::OddEvenFill);
    }
    if (w > 1) {
      StrokeWide(target, points, count, closed, w, pen.color().rgb());
    } else if (l == r && t == b) {
      // Every vertex on one spot: one pixel, where the stroker would draw
      // nothing.
      p.fillRect(QRect(int(l), int(t), 1, 1), pen.color());
    } else {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      if (closed)
        p.drawPolygon(poly, Qt::OddEvenFill);
      else
        p.drawPolyline(poly);
    }
  });
}

void RasterCanvas::Polyline(const Point* points, int count) {
  StrokePoints(points, count, false, false);
  Mirrored([&](VectorCanvas& v) { v.Polyline(points, count); });
}

void RasterCanvas::Polygon(const Point* points, int count) {
  StrokePoints(points, count, true, true);
  Mirrored([&](VectorCanvas& v) { v.Polygon(points, count); });
}

void RasterCanvas::BoxShape(int x1, int y1, int x2, int y2, bool ellipse) {
  // The box is normalised and excludes its right and bottom edge (unlike
  // QPainter::drawRect, which includes them): (x1, y1, x2, y2) covers the pixels x1 … x2 − 1, y1 … y2 − 1.
  // A box of zero width or height still draws its one column or row.
  int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  r = std::max(l, r - 1);
  b = std::max(t, b - 1);
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TargetImage& target) {
    QPainter& p = target.P;
    const QRectF geometry(Centre(l, t), Centre(r, b));
    if (ellipse) {
      p.setPen(pen);
      p.setBrush(brush);
      p.drawEllipse(geometry);
      return;
    }
    if (brush.style() != Qt::NoBrush) {
      const QRect inside = BoundsOf(l, t, r, b, 0);
      p.fillRect(inside, brush);
    }
    if (w > 1) {
      const Point corners[4] = {{int32_t(l), int32_t(t)}, {int32_t(r), int32_t(t)},
                                 {int32_t(r), int32_t(b)}, {int32_t(l), int32_t(b)}};
      StrokeWide(target, corners, 4, true, w, pen.color().rgb());
    } else {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawRect(geometry);
    }
  });
}

void RasterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  BoxShape(x1, y1, x2, y2, true);
  Mirrored([&](VectorCanvas& v) { v.Ellipse(x1, y1, x2, y2); });
}

void RasterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  BoxShape(x1, y1, x2, y2, false);
  Mirrored([&](VectorCanvas& v) { v.Rectangle(x1, y1, x2, y2); });
}

void RasterCanvas::FillRect(const QRect& rect) {
  // Fills with the brush in plain copy mode, whatever the pen's raster
  // operation.
  Mirrored([&](VectorCanvas& v) { v.FillRect(rect); });
  if (m_image == nullptr || m_image->isNull() || BrushStyle == FillStyle::Clear) return;
  QPainter p(m_image);
  p.fillRect(rect.intersected(m_image->rect()), ToQColor(BrushColor));
}

void RasterCanvas::StretchDraw(const QRect& to, const QImage& source, const QRect& from) {
  Mirrored([&](VectorCanvas& v) { v.StretchDraw(to, source, from); });
  if (m_image == nullptr || m_image->isNull() || source.isNull()) return;
  QPainter p(m_image);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(to, source, from);
}
