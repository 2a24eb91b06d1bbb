#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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
// Largest font pixel size: any larger text would not fit on the canvas.
constexpr int kMaxFontPixels = 4096;

// Integer vertices are pixel indices; shapes are laid through the pixel
// centres so that odd pen widths spread evenly to both sides.
inline QPointF Centre(int64_t x, int64_t y) { return QPointF(double(x) + 0.5, double(y) + 0.5); }

QRect BoundsOf(int64_t l, int64_t t, int64_t r, int64_t b, int margin) {
  // Clamp into a range QRect can hold; the caller intersects with the image.
  auto c = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(1 << 28), 1 << 28)); };
  return QRect(QPoint(c(l - margin), c(t - margin)), QPoint(c(r + margin), c(b + margin)));
}

}  // namespace

QColor ToQColor(TColor color) {
  const uint32_t c = static_cast<uint32_t>(color);
  if (c & 0x80000000u) {
    const uint32_t index = c & 0xFFu;
    const QRgb rgb = index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
    return QColor::fromRgb(rgb);
  }
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int PointsToPixels(int points) {
  // Rounded like the platform's MulDiv(points, 96, 72).
  const int64_t p = points;
  const int64_t px = p >= 0 ? (p * 96 + 36) / 72 : -((-p * 96 + 36) / 72);
  return static_cast<int>(std::clamp<int64_t>(px, INT32_MIN, INT32_MAX));
}

TCanvas::TCanvas(QImage* image) : FImage(image) {}

int TCanvas::EffectivePenWidth() const { return std::clamp(PenWidth, 1, kMaxPenWidth); }

QPen TCanvas::MakePen() const {
  QPen pen(ToQColor(PenColor));
  const int w = EffectivePenWidth();
  pen.setWidth(w);
  // Round ends and joins like the platform's wide pens; a dotted style only
  // applies to the one-pixel pen, wider pens draw solid.
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (PenStyle == psDot && w == 1) pen.setDashPattern({1.0, 1.0});
  return pen;
}

QBrush TCanvas::MakeBrush() const {
  if (BrushStyle == bsClear) return Qt::NoBrush;
  return QBrush(ToQColor(BrushColor));
}

const QFont& TCanvas::CurrentFont() const {
  int px = PointsToPixels(FontSize);
  // A size of 0 or less asks for the default size.
  if (px <= 0) px = PointsToPixels(9);
  px = std::min(px, kMaxFontPixels);
  if (FFontIndex < 0 || FFonts[size_t(FFontIndex)].Pixels != px) {
    FFontIndex = -1;
    for (size_t i = 0; i < FFonts.size(); ++i)
      if (FFonts[i].Pixels == px) FFontIndex = int(i);
    if (FFontIndex < 0) {
      // Beyond a handful of sizes the oldest ones go.
      if (FFonts.size() >= 32) FFonts.erase(FFonts.begin());
      QFont font(QString::fromLatin1(kFigureFontFamily));
      font.setPixelSize(px);
      font.setStyleStrategy(QFont::NoAntialias);
      FFonts.push_back(TSizedFont{px, font, QFontMetrics(font)});
      FFontIndex = int(FFonts.size()) - 1;
    }
  }
  return FFonts[size_t(FFontIndex)].Font;
}

const QFontMetrics& TCanvas::CurrentFontMetrics() const {
  CurrentFont();
  return FFonts[size_t(FFontIndex)].Metrics;
}

void TCanvas::Paint(const QRect& bounds, const std::function<void(TTarget&)>& draw) {
  if (FImage == nullptr || FImage->isNull()) return;
  const QRect box = bounds.intersected(FImage->rect());
  if (box.isEmpty()) return;
  if (TrackExtent != nullptr) *TrackExtent |= box;
  if (MeasureOnly) return;
  auto prepare = [](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  };
  if (PenMode == pmCopy) {
    QPainter p(FImage);
    prepare(p);
    p.setClipRect(box);
    TTarget t{p, *FImage, QPoint(0, 0), box};
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
    TTarget t{sp, sheet, box.topLeft(), sheet.rect()};
    draw(t);
  }
  QPainter p(FImage);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  p.drawImage(box.topLeft(), sheet);
}

// Wide pens are laid down as one capsule per segment (the segment widened
// by the pen's radius in every direction, so ends and joins are round): a
// pixel is covered when its sample point lies within the radius of the
// segment. Odd widths sample at the pixel centres' grid, so a horizontal
// line of width 3 covers its own row and one row on each side; even widths
// sample half a pixel off, which gives exactly `width` rows as well. This is
// several times faster than stroking the outline of a whole path and gives
// the same shape.
void TCanvas::FillCapsule(TTarget& t, double ax, double ay, double bx, double by, double r, QRgb color) {
  // Into the target image's coordinates.
  ax -= t.Origin.x(), bx -= t.Origin.x();
  ay -= t.Origin.y(), by -= t.Origin.y();
  const QRect clip = t.Clip.intersected(t.Image.rect());
  if (clip.isEmpty()) return;
  constexpr double eps = 1e-9;
  const double yTop = std::max(std::ceil(std::min(ay, by) - r - eps), double(clip.top()));
  const double yBottom = std::min(std::floor(std::max(ay, by) + r + eps), double(clip.bottom()));
  if (yTop > yBottom) return;
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  const double ux = len > 0 ? dx / len : 1, uy = len > 0 ? dy / len : 0;
  const double r2 = r * r;
  // The band between the ends: 0 <= along <= len and |across| <= r, with
  // along = x'·ux + (y − ay)·uy and across = (y − ay)·ux − x'·uy, x' = x − ax.
  // Both are linear in x', so each row cuts the band in one interval.
  const bool band = len > 0;
  const bool vertical = std::abs(ux) < 1e-12, horizontal = std::abs(uy) < 1e-12;
  uchar* bits = t.Image.bits();
  const qsizetype stride = t.Image.bytesPerLine();
  for (double y = yTop; y <= yBottom; ++y) {
    double lo = INFINITY, hi = -INFINITY;
    const double ha = r2 - (y - ay) * (y - ay);
    if (ha >= 0) {
      const double h = std::sqrt(ha);
      lo = ax - h, hi = ax + h;
    }
    const double hb = r2 - (y - by) * (y - by);
    if (hb >= 0) {
      const double h = std::sqrt(hb);
      lo = std::min(lo, bx - h), hi = std::max(hi, bx + h);
    }
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
    QRgb* row = reinterpret_cast<QRgb*>(bits + qsizetype(y) * stride);
    std::fill(row + x0, row + x1 + 1, color);
  }
}

void TCanvas::StrokeWide(TTarget& t, const TPoint* points, int count, bool closed, int width, QRgb color) {
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const double r = width / 2.0;
  auto capsule = [&](const TPoint& a, const TPoint& b) {
    FillCapsule(t, a.X + shift, a.Y + shift, b.X + shift, b.Y + shift, r, color);
  };
  if (count == 1) capsule(points[0], points[0]);
  for (int i = 0; i + 1 < count; ++i) capsule(points[i], points[i + 1]);
  if (closed && count > 2) capsule(points[count - 1], points[0]);
}

void TCanvas::MoveTo(int x, int y) { PenPos = TPoint{x, y}; }

void TCanvas::LineTo(int x, int y) {
  const TPoint pts[2] = {PenPos, TPoint{x, y}};
  Polyline(pts, 2);
  PenPos = TPoint{x, y};
}

void TCanvas::Line(TPoint a, TPoint b) {
  const TPoint pts[2] = {a, b};
  Polyline(pts, 2);
}

void TCanvas::StrokePoints(const TPoint* points, int count, bool closed, bool filled) {
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
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TTarget& target) {
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

void TCanvas::Polyline(const TPoint* points, int count) { StrokePoints(points, count, false, false); }

void TCanvas::Polygon(const TPoint* points, int count) { StrokePoints(points, count, true, true); }

void TCanvas::BoxShape(int x1, int y1, int x2, int y2, bool ellipse) {
  // The box is normalised and, as on the platform, excludes its right and
  // bottom edge: (x1, y1, x2, y2) covers the pixels x1 … x2 − 1, y1 … y2 − 1.
  // A box of zero width or height still draws its one column or row.
  int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  r = std::max(l, r - 1);
  b = std::max(t, b - 1);
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TTarget& target) {
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
      const TPoint corners[4] = {{int32_t(l), int32_t(t)}, {int32_t(r), int32_t(t)},
                                 {int32_t(r), int32_t(b)}, {int32_t(l), int32_t(b)}};
      StrokeWide(target, corners, 4, true, w, pen.color().rgb());
    } else {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawRect(geometry);
    }
  });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, true); }

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, false); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(text);
  const QFont& font = CurrentFont();
  const QFontMetrics& fm = CurrentFontMetrics();
  const int width = fm.horizontalAdvance(s);
  const int height = fm.height();
  const int ascent = fm.ascent();
  const QColor fontColor = ToQColor(FontColor);
  const QBrush brush = MakeBrush();
  if (!s.isEmpty()) {
    // Glyphs may reach a little beyond their advance (italic overhangs,
    // wide glyphs from a fallback face). Paint draws only when this box
    // meets the image, so x and y are then near it and cannot overflow.
    Paint(BoundsOf(x, y, int64_t(x) + width, int64_t(y) + height, height), [&](TTarget& target) {
      QPainter& p = target.P;
      if (brush.style() != Qt::NoBrush) p.fillRect(QRect(x, y, std::max(width, 0), height), brush);
      p.setFont(font);
      p.setPen(fontColor);
      p.drawText(QPoint(x, y + ascent), s);
    });
  }
  PenPos = TPoint{static_cast<int32_t>(int64_t(x) + width), y};
}

int TCanvas::TextWidth(const std::string& text) const {
  return CurrentFontMetrics().horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string&) const { return CurrentFontMetrics().height(); }

void TCanvas::FillRect(const QRect& rect) {
  // Fills with the brush whatever the pen mode, like the platform's call.
  if (FImage == nullptr || FImage->isNull() || BrushStyle == bsClear) return;
  QPainter p(FImage);
  p.fillRect(rect.intersected(FImage->rect()), ToQColor(BrushColor));
}

void TCanvas::StretchDraw(const QRect& to, const QImage& source, const QRect& from) {
  if (FImage == nullptr || FImage->isNull() || source.isNull()) return;
  QPainter p(FImage);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(to, source, from);
}
