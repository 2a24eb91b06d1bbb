// Pixels of figures drawn on a canvas-sized picture: plain colours, blank
// pictures and the count of pixels two pictures differ in.
#pragma once

#include <QImage>

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

// Pixels that differ between two pictures.
inline int Differences(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}
