#include "render/vector_canvas.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cstdint>

namespace {

// As on the raster canvas: wider pens cover the whole canvas from anywhere
// they could reach it.
constexpr int kMaxPenWidth = 4096;
constexpr int kMaxFontPixels = 4096;

// A pixel's centre.
inline QPointF Centre(int64_t x, int64_t y) { return QPointF(double(x) + 0.5, double(y) + 0.5); }

// Where a pen of `width` runs for the vertex (x, y): the pixel centre for
// odd widths, its top-left corner for even ones (the raster canvas samples
// even widths half a pixel off, so that they cover exactly `width` rows).
inline QPointF PenPoint(int64_t x, int64_t y, int width) {
  const double d = width > 1 && width % 2 == 0 ? 0.0 : 0.5;
  return QPointF(double(x) + d, double(y) + d);
}

}  // namespace

VectorCanvas::VectorCanvas(QPainter* painter) : m_painter(painter) {}

void VectorCanvas::Begin() {
  m_painter->save();
  if (PenMode == DrawMode::NotXor) {
    // Marks that a second call removes: exact pixels, no blending.
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    if (m_painter->paintEngine() != nullptr &&
        m_painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
      m_painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  } else {
    m_painter->setRenderHint(QPainter::Antialiasing, true);
  }
  m_painter->setRenderHint(QPainter::TextAntialiasing, true);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void VectorCanvas::End() { m_painter->restore(); }

void VectorCanvas::MoveTo(int x, int y) { PenPos = Point{x, y}; }

void VectorCanvas::LineTo(int x, int y) {
  const Point pts[2] = {PenPos, Point{x, y}};
  Polyline(pts, 2);
  PenPos = Point{x, y};
}

void VectorCanvas::Line(Point a, Point b) {
  const Point pts[2] = {a, b};
  Polyline(pts, 2);
}

QPen VectorCanvas::OutlinePen(int width) const {
  QPen pen(ToQColor(PenColor), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // The dotted pen dots only the thin line, as on the raster canvas.
  if (PenStyle == LineStyle::Dot && width == 1) pen.setDashPattern({1.0, 1.0});
  return pen;
}

void VectorCanvas::Polyline(const Point* points, int count) { Stroke(points, count, false, false); }

void VectorCanvas::Polygon(const Point* points, int count) { Stroke(points, count, true, true); }

void VectorCanvas::Stroke(const Point* points, int count, bool closed, bool filled) {
  if (m_painter == nullptr || points == nullptr || count <= 0) return;
  const int w = std::clamp(PenWidth, 1, kMaxPenWidth);
  const QColor penColor = ToQColor(PenColor);
  Begin();
  QPainter& p = *m_painter;
  if (filled && BrushStyle == FillStyle::Solid && count > 2) {
    QPolygonF area;
    area.reserve(count);
    for (int i = 0; i < count; ++i) area << Centre(points[i].X, points[i].Y);
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(BrushColor));
    p.drawPolygon(area, Qt::OddEvenFill);
  }
  bool onePoint = true;
  for (int i = 1; i < count && onePoint; ++i) onePoint = points[i] == points[0];
  if (onePoint) {
    // A dot: the pixel for the thin pen, a disc for wider ones.
    p.setPen(Qt::NoPen);
    p.setBrush(penColor);
    if (w == 1)
      p.drawRect(QRectF(points[0].X, points[0].Y, 1, 1));
    else
      p.drawEllipse(PenPoint(points[0].X, points[0].Y, w), w / 2.0, w / 2.0);
    End();
    return;
  }
  QPainterPath path;
  path.moveTo(PenPoint(points[0].X, points[0].Y, w));
  for (int i = 1; i < count; ++i) path.lineTo(PenPoint(points[i].X, points[i].Y, w));
  if (closed && count > 2) path.closeSubpath();
  p.setPen(OutlinePen(w));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  End();
}

void VectorCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (m_painter == nullptr) return;
  int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  r = std::max(l, r - 1);
  b = std::max(t, b - 1);
  const int w = std::clamp(PenWidth, 1, kMaxPenWidth);
  Begin();
  QPainter& p = *m_painter;
  p.setPen(OutlinePen(w));
  p.setBrush(BrushStyle == FillStyle::Solid ? QBrush(ToQColor(BrushColor)) : QBrush(Qt::NoBrush));
  if (l == r || t == b) {
    // A flat box: its one row or column, stroked.
    p.drawLine(Centre(l, t), Centre(r, b));
  } else {
    p.drawEllipse(QRectF(Centre(l, t), Centre(r, b)));
  }
  End();
}

void VectorCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (m_painter == nullptr) return;
  int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  r = std::max(l, r - 1);
  b = std::max(t, b - 1);
  const int w = std::clamp(PenWidth, 1, kMaxPenWidth);
  Begin();
  QPainter& p = *m_painter;
  if (BrushStyle == FillStyle::Solid)
    p.fillRect(QRectF(QPointF(l, t), QPointF(r + 1, b + 1)), ToQColor(BrushColor));
  p.setPen(OutlinePen(w));
  p.setBrush(Qt::NoBrush);
  if (l == r && t == b) {
    End();
    const Point dot{int32_t(l), int32_t(t)};
    Stroke(&dot, 1, false, false);
    return;
  }
  if (l == r || t == b) {
    p.drawLine(PenPoint(l, t, w), PenPoint(r, b, w));
  } else {
    p.drawRect(QRectF(PenPoint(l, t, w), PenPoint(r, b, w)));
  }
  End();
}

void VectorCanvas::TextOut(int x, int y, const std::string& text) {
  m_measure.FontSize = FontSize;
  const int width = m_measure.TextWidth(text);
  if (m_painter != nullptr && !text.empty()) {
    int px = PointsToPixels(FontSize);
    if (px <= 0) px = PointsToPixels(9);
    px = std::min(px, kMaxFontPixels);
    QFont font(QString::fromLatin1(kFigureFontFamily));
    font.setPixelSize(px);
    // Whole-pixel metrics, as the raster canvas places the text.
    const QFontMetrics fm(font);
    QString s = QString::fromStdString(text);
    // A text is shown up to its first U+009C (a separator of alternative
    // texts), as it is measured.
    const qsizetype stop = s.indexOf(QChar(0x9C));
    if (stop >= 0) s.truncate(stop);
    Begin();
    QPainter& p = *m_painter;
    if (BrushStyle == FillStyle::Solid)
      p.fillRect(QRectF(x, y, std::max(width, 0), fm.height()), ToQColor(BrushColor));
    p.setFont(font);
    p.setPen(ToQColor(FontColor));
    p.drawText(QPointF(x, double(y) + fm.ascent()), s);
    End();
  }
  PenPos = Point{static_cast<int32_t>(int64_t(x) + width), y};
}

int VectorCanvas::TextWidth(const std::string& text) const {
  const_cast<RasterCanvas&>(m_measure).FontSize = FontSize;
  return m_measure.TextWidth(text);
}

int VectorCanvas::TextHeight(const std::string& text) const {
  const_cast<RasterCanvas&>(m_measure).FontSize = FontSize;
  return m_measure.TextHeight(text);
}

void VectorCanvas::FillRect(const QRect& rect) {
  if (m_painter == nullptr || BrushStyle == FillStyle::Clear) return;
  m_painter->fillRect(rect, ToQColor(BrushColor));
}

void VectorCanvas::StretchDraw(const QRect& to, const QImage& source, const QRect& from) {
  if (m_painter == nullptr || source.isNull()) return;
  m_painter->save();
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  m_painter->drawImage(QRectF(to), source, QRectF(from));
  m_painter->restore();
}
