// How far two pictures of the same drawing agree: anywhere off the edges of
// the reference they must match closely; along the edges (where one
// picture is aliased and the other antialiased, or glyphs are shaped at
// another size) they may differ, but only by about as much ink as the
// edges hold.
#pragma once

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

struct PictureAgreement {
  int EdgePixels = 0;   // pixels of the reference next to a change of colour
  int FlatMaxDiff = 0;  // largest channel difference anywhere else
  int FlatX = -1, FlatY = -1;  // where it is
  double Ink = 0;       // summed channel differences / (3 × 255): pixels' worth of ink moved
  double InkPerEdge() const { return EdgePixels > 0 ? Ink / EdgePixels : Ink; }
  std::string Describe() const {
    return "edge pixels " + std::to_string(EdgePixels) + ", largest difference off the edges " +
           std::to_string(FlatMaxDiff) + " at (" + std::to_string(FlatX) + ", " + std::to_string(FlatY) +
           "), ink moved " + std::to_string(Ink) + " pixels (" +
           std::to_string(InkPerEdge()) + " per edge pixel)";
  }
};

inline int ChannelDiff(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// `image` reduced by `factor` in both directions, each pixel the mean of
// its factor × factor block.
inline QImage Reduced(const QImage& image, int factor) {
  const QImage src = image.convertToFormat(QImage::Format_RGB32);
  QImage out(src.width() / factor, src.height() / factor, QImage::Format_RGB32);
  const int n = factor * factor;
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int dy = 0; dy < factor; ++dy) {
        const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y * factor + dy)) + x * factor;
        for (int dx = 0; dx < factor; ++dx) r += qRed(row[dx]), g += qGreen(row[dx]), b += qBlue(row[dx]);
      }
      out.setPixel(x, y, qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
    }
  return out;
}

// A pixel is on an edge of `reference` when some pixel within `reach`
// (a square around it) differs from it by more than a trace.
inline PictureAgreement Agreement(const QImage& reference, const QImage& other, int reach = 1) {
  const QImage a = reference.convertToFormat(QImage::Format_RGB32), b = other.convertToFormat(QImage::Format_RGB32);
  PictureAgreement r;
  if (a.size() != b.size()) {
    r.FlatMaxDiff = 256;
    return r;
  }
  const int w = a.width(), h = a.height();
  std::vector<uint8_t> edge(size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb c = a.pixel(x, y);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || ChannelDiff(c, a.pixel(nx, ny)) <= 8) continue;
          // A change of colour: every pixel within reach of it is edge.
          for (int ey = std::max(0, y - reach + 1); ey <= std::min(h - 1, y + reach - 1); ++ey)
            for (int ex = std::max(0, x - reach + 1); ex <= std::min(w - 1, x + reach - 1); ++ex)
              edge[size_t(ey) * w + ex] = 1;
        }
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      r.Ink += (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))) / 765.0;
      if (edge[size_t(y) * w + x])
        ++r.EdgePixels;
      else if (ChannelDiff(p, q) > r.FlatMaxDiff)
        r.FlatMaxDiff = ChannelDiff(p, q), r.FlatX = x, r.FlatY = y;
    }
  return r;
}
