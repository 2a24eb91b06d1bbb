#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
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

QFont TCanvas::MakeFont() const {
  QFont font(QString::fromLatin1(kFigureFontFamily));
  int px = PointsToPixels(FontSize);
  // A size of 0 or less asks for the default size.
  if (px <= 0) px = PointsToPixels(9);
  font.setPixelSize(std::min(px, kMaxFontPixels));
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

void TCanvas::Paint(const QRect& bounds, const std::function<void(QPainter&)>& draw) {
  if (FImage == nullptr || FImage->isNull()) return;
  const QRect box = bounds.intersected(FImage->rect());
  if (box.isEmpty()) return;
  auto prepare = [](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  };
  if (PenMode == pmCopy) {
    QPainter p(FImage);
    prepare(p);
    p.setClipRect(box);
    draw(p);
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
    draw(sp);
  }
  QPainter p(FImage);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  p.drawImage(box.topLeft(), sheet);
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
  QPolygonF poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) {
    l = std::min<int64_t>(l, points[i].X);
    r = std::max<int64_t>(r, points[i].X);
    t = std::min<int64_t>(t, points[i].Y);
    b = std::max<int64_t>(b, points[i].Y);
    poly << Centre(points[i].X, points[i].Y);
  }
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](QPainter& p) {
    if (l == r && t == b) {
      // Every vertex on one spot: the stroker would draw nothing, so a dot
      // of the pen's width stands for it, made of the two round ends of a
      // vanishingly short line (the same shape as any line's ends).
      if (w <= 1) {
        p.fillRect(QRect(int(l), int(t), 1, 1), pen.color());
      } else {
        QPen solid = pen;
        solid.setStyle(Qt::SolidLine);
        p.setPen(solid);
        p.drawLine(poly[0], poly[0] + QPointF(1.0 / 64, 0));
      }
      return;
    }
    if (filled && brush.style() != Qt::NoBrush) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly, Qt::OddEvenFill);
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (closed)
      p.drawPolygon(poly, Qt::OddEvenFill);
    else
      p.drawPolyline(poly);
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
  const QRectF geometry(Centre(l, t), Centre(r, b));
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](QPainter& p) {
    p.setPen(pen);
    p.setBrush(brush);
    if (ellipse)
      p.drawEllipse(geometry);
    else
      p.drawRect(geometry);
  });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, true); }

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, false); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(text);
  const QFont font = MakeFont();
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(s);
  const int height = fm.height();
  const QColor fontColor = ToQColor(FontColor);
  const QBrush brush = MakeBrush();
  const QRect cell(x, y, std::max(width, 0), height);
  if (!s.isEmpty()) {
    // Glyphs may reach a little beyond their advance (italic overhangs,
    // wide glyphs from a fallback face).
    Paint(BoundsOf(x, y, int64_t(x) + width, int64_t(y) + height, height), [&](QPainter& p) {
      if (brush.style() != Qt::NoBrush) p.fillRect(cell, brush);
      p.setFont(font);
      p.setPen(fontColor);
      p.drawText(QPoint(x, y + fm.ascent()), s);
    });
  }
  PenPos = TPoint{static_cast<int32_t>(int64_t(x) + width), y};
}

int TCanvas::TextWidth(const std::string& text) const {
  return QFontMetrics(MakeFont()).horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string&) const { return QFontMetrics(MakeFont()).height(); }

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
