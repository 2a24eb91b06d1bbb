// A canvas in the manner of the platform's drawing canvas, over QPainter on a
// QImage: it keeps its pen, brush and font between calls, draws without
// antialiasing, and offers the not-xor pen mode.
#pragma once

#include <QImage>
#include <QRect>
#include <string>

#include "document/figure.h"

enum TPenStyle { psSolid, psDot };
enum TPenMode { pmCopy, pmNotXor };
enum TBrushStyle { bsSolid, bsClear };

// TColor (0x00BBGGRR, system colours by index) to a Qt colour.
QColor ToQColor(TColor color);

// Family of the window font and of every text figure.
extern const char* const kFigureFontFamily;  // "IPAPGothic"
// Pixel size of a font of `points` points (points × 96 / 72).
int PointsToPixels(int points);

class TCanvas {
 public:
  explicit TCanvas(QImage* image);

  int PenWidth = 1;
  TColor PenColor = clBlack;
  TPenStyle PenStyle = psSolid;
  TPenMode PenMode = pmCopy;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  int FontSize = 9;  // points
  TColor FontColor = clBlack;
  TPoint PenPos;

  QImage* Image() const { return FImage; }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // moves PenPos
  void Line(TPoint a, TPoint b);
  void Polyline(const TPoint* points, int count);
  void Polygon(const TPoint* points, int count);  // closed, outlined and filled
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
  QImage* FImage;
};
