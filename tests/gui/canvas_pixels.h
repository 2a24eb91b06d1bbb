// Small pictures for the canvas's tests, and the pixels of one colour in
// them.
#pragma once

#include <QImage>
#include <cstdint>
#include <set>
#include <utility>

inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kBlack = 0xFF000000;

inline QImage Blank(int w = 24, int h = 16, QRgb fill = kWhite) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// A background where every pixel differs, so that any change shows.
inline QImage Noise(int w = 40, int h = 30) {
  QImage img(w, h, QImage::Format_RGB32);
  uint32_t s = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1103515245u + 12345u;
      img.setPixel(x, y, 0xFF000000u | (s >> 8));
    }
  return img;
}

// The pixels of one colour, as (x, y) pairs.
inline std::set<std::pair<int, int>> PixelsOf(const QImage& img, QRgb c) {
  std::set<std::pair<int, int>> s;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == c) s.insert({x, y});
  return s;
}

inline std::set<std::pair<int, int>> RectOutline(int l, int t, int r, int b) {
  std::set<std::pair<int, int>> s;
  for (int x = l; x <= r; ++x) s.insert({x, t}), s.insert({x, b});
  for (int y = t; y <= b; ++y) s.insert({l, y}), s.insert({r, y});
  return s;
}
