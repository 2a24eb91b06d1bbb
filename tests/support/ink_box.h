// Where a picture has ink: the smallest box holding every pixel that is not
// the background colour.
#pragma once

#include <QImage>
#include <QRect>

// An empty rectangle when every pixel is `background`.
inline QRect InkBox(const QImage& img, QRgb background) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}
