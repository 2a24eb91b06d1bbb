// A stateful canvas over QPainter on a QImage: it keeps its pen, brush and
// font between calls (a QPainter is opened per call), draws without
// antialiasing, and offers the not-xor pen mode
// (QPainter::RasterOp_NotSourceXorDestination).
#pragma once

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPen>
#include <QRect>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/figure.h"

class QPainter;
class VectorCanvas;
class RasterCanvas;

// Another surface that follows a raster canvas: the screen drawn at its own
// resolution. Draw runs one primitive on a vector canvas that carries the
// raster canvas's pen, brush and font.
class CanvasMirror {
 public:
  virtual ~CanvasMirror() = default;
  virtual void Draw(const RasterCanvas& from, const std::function<void(VectorCanvas&)>& primitive) = 0;
};

enum class LineStyle { Solid, Dot };
enum class DrawMode { Copy, NotXor };
enum class FillStyle { Solid, Clear };

// ColorRef (0x00BBGGRR, system colours by index) to a Qt colour.
QColor ToQColor(ColorRef color);

// Family of the window font and of every text figure.
extern const char* const kFigureFontFamily;  // "IPAPGothic"
// Pixel size of a font of `points` points (points × 96 / 72).
int PointsToPixels(int points);

// Pixel conventions, the same for every call: a vertex (x, y) is the pixel
// at column x, row y, and lines and polylines cover both of their end
// points; a box given by two corners is normalised and excludes its right
// and bottom edge, so Rectangle(x1, y1, x2, y2) outlines the pixels x1 …
// x2 − 1 and y1 … y2 − 1; wider pens spread evenly around that outline with
// round ends and joins. Pen width 0 or less draws one pixel; the dotted
// style applies to one-pixel pens only (wider ones draw solid). In not-xor
// mode every covered pixel becomes NOT(dest XOR colour) exactly once, so a
// second identical call restores the picture; a white brush or pen leaves
// the destination unchanged in that mode. The image must be of format
// RGB32 or ARGB32_Premultiplied.
class RasterCanvas {
 public:
  explicit RasterCanvas(QImage* image);

  int PenWidth = 1;
  ColorRef PenColor = clBlack;
  LineStyle PenStyle = LineStyle::Solid;
  DrawMode PenMode = DrawMode::Copy;
  ColorRef BrushColor = clWhite;
  FillStyle BrushStyle = FillStyle::Solid;
  int FontSize = 9;  // points
  ColorRef FontColor = clBlack;
  Point PenPos;

  QImage* Image() const { return m_image; }

  // While set, every primitive adds the box it may change (within the
  // image) to *TrackExtent: a primitive never changes a pixel outside the
  // box it reports. With MeasureOnly it only reports and draws nothing.
  QRect* TrackExtent = nullptr;
  bool MeasureOnly = false;
  // While set, every primitive that draws is drawn again on *Mirror (not
  // while MeasureOnly is set).
  CanvasMirror* Mirror = nullptr;
  // While set, every primitive adds the whole box it may change, before it
  // is cut to the image, to *TrackBounds: a figure whose bounds lie within
  // the image was drawn without being cut anywhere.
  QRect* TrackBounds = nullptr;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // moves PenPos
  void Line(Point a, Point b);
  void Polyline(const Point* points, int count);
  void Polygon(const Point* points, int count);  // closed, outlined and filled
  void Ellipse(int x1, int y1, int x2, int y2);    // in the box, filled
  void Rectangle(int x1, int y1, int x2, int y2);  // outlined and filled
  // Writes text with its top-left at (x, y), transparent or on the brush;
  // leaves PenPos at the end of the text.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  // Fills a rectangle with the brush, no outline.
  void FillRect(const QRect& rect);
  // Copies `source`'s rectangle `from` onto this canvas's rectangle `to`,
  // stretching it.
  void StretchDraw(const QRect& to, const QImage& source, const QRect& from);

 private:
  QImage* m_image;
  // The fonts of the sizes used so far (a drawing has few), each made once;
  // m_fonts[m_fontIndex] is the one of the current size (an index, so that a
  // copy of the canvas keeps its own).
  struct SizedFont {
    int Pixels;
    QFont Font;
    QFontMetrics Metrics;
  };
  mutable std::vector<SizedFont> m_fonts;
  mutable int m_fontIndex = -1;

  // Where a primitive draws: a painter for what Qt draws, and the image it
  // paints on (whose (0, 0) is canvas point Origin) for the wide strokes
  // laid down directly, within Clip.
  struct TargetImage {
    QPainter& P;
    QImage& Image;
    QPoint Origin;
    QRect Clip;
  };

  int EffectivePenWidth() const;
  QPen MakePen() const;
  QBrush MakeBrush() const;
  const QFont& CurrentFont() const;
  const QFontMetrics& CurrentFontMetrics() const;
  // Runs `draw` on the image, restricted to `bounds`, in the current pen mode.
  void Paint(const QRect& bounds, const std::function<void(TargetImage&)>& draw);
  static void StrokeWide(TargetImage& t, const Point* points, int count, bool closed, int width, QRgb color);
  void StrokePoints(const Point* points, int count, bool closed, bool filled);
  void BoxShape(int x1, int y1, int x2, int y2, bool ellipse);
  template <class F>
  void Mirrored(F&& primitive) const {
    if (Mirror != nullptr && !MeasureOnly) Mirror->Draw(*this, std::function<void(VectorCanvas&)>(primitive));
  }
};
