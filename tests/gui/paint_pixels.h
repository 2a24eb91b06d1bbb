// Pixels of figures drawn on a canvas-sized picture: plain colours, blank
// pictures and figures in exact colours and pen widths.
#pragma once

#include <QImage>
#include <string>

#include "render/paint.h"

inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kBlue = 0xFF0000FF;
inline constexpr ColorRef tRed = 0x0000FF;
inline constexpr ColorRef tBlue = 0xFF0000;

inline QImage Blank(QRgb fill = kWhite) {
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

inline Figure Shape(ToolKind tool, Point a, Point b, ColorRef brush, int penWidth = 1, ColorRef pen = clBlack) {
  Figure f;
  f.DrawingTool = tool;
  f.Start = a;
  f.End = b;
  f.BrushColor = brush;
  f.PenWidth = penWidth;
  f.PenColor = pen;
  return f;
}

inline Figure Text(Point at, const std::string& text, ColorRef color, ColorRef brush) {
  Figure f = Shape(ToolKind::Text, at, at, brush);
  f.Text = text;
  f.TextSize = 14;
  f.TextColor = color;
  return f;
}

// Pixels that differ between two pictures.
inline int Differences(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}
