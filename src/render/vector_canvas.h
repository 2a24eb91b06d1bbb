// The second canvas: the same primitives as RasterCanvas, drawn as
// antialiased vectors through a QPainter on any paint device (a picture of
// any size, an SVG or PDF file, a printer, the screen).
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPen>
#include <QRect>
#include <string>
#include <vector>

#include "document/figure.h"
#include "render/canvas.h"

class QPainter;

// Coordinates are canvas pixels, as on RasterCanvas; the painter's
// transformation maps them onto the device (a scale of 4 gives a picture
// four times as wide). Every shape covers the area whose pixels the raster
// canvas sets: a vertex stands for the pixel square (x, y) … (x + 1, y + 1);
// one-pixel pens run through the pixel centres; wider pens run through the
// centres for odd widths and through the pixels' top-left corners for even
// ones (as the raster canvas samples them), with round ends and joins;
// boxes cover their pixels' squares. Texts are drawn as text in the figure
// font at its pixel size, placed by the same whole-pixel metrics, so they
// start where the raster canvas starts them. Backgrounds are scaled
// smoothly. In not-xor mode the painter's raster operation is used where
// the device offers it (pictures); elsewhere the shape is drawn plainly.
class VectorCanvas {
 public:
  explicit VectorCanvas(QPainter* painter);

  int PenWidth = 1;
  ColorRef PenColor = clBlack;
  LineStyle PenStyle = LineStyle::Solid;
  DrawMode PenMode = DrawMode::Copy;
  ColorRef BrushColor = clWhite;
  FillStyle BrushStyle = FillStyle::Solid;
  int FontSize = 9;  // points
  ColorRef FontColor = clBlack;
  Point PenPos;

  QPainter* Painter() const { return m_painter; }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Line(Point a, Point b);
  void Polyline(const Point* points, int count);
  void Polygon(const Point* points, int count);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Rectangle(int x1, int y1, int x2, int y2);
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  void FillRect(const QRect& rect);
  void StretchDraw(const QRect& to, const QImage& source, const QRect& from);

 private:
  QPainter* m_painter;
  // The raster canvas measures texts (whole pixels, as it places them); a
  // one-pixel picture stands behind it.
  QImage m_measureImage{1, 1, QImage::Format_RGB32};
  RasterCanvas m_measure{&m_measureImage};

  void Begin();
  void End();
  void Stroke(const Point* points, int count, bool closed, bool filled);
  // The outline's pen: round ends and joins, `width` wide.
  QPen OutlinePen(int width) const;
};
