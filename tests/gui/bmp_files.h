// BMP files put together field by field for the reader's tests, the
// pictures they should read as, and the fixture that reads them.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "io/picture.h"
#include "support/picture_files.h"

inline void Put16(ByteBuffer& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
inline void Put32(ByteBuffer& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A BMP put together field by field, so that any field can lie.
struct BmpBuilder {
  uint32_t HeaderSize = 40;
  int32_t Width = 0, Height = 0;  // Height < 0: top-down
  int Bits = 24;
  uint32_t Compression = 0;
  std::vector<QRgb> Palette;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Masks;  // written after a 40-byte header, or inside a longer one
  ByteBuffer Pixels;
  int64_t OffBitsDelta = 0;  // added to the true pixel offset

  ByteBuffer Bytes() const {
    const size_t paletteEntry = HeaderSize == 12 ? 3 : 4;
    const size_t masksAfter = HeaderSize == 40 && !Masks.empty() ? 4 * Masks.size() : 0;
    const size_t offBits = 14 + HeaderSize + masksAfter + Palette.size() * paletteEntry;
    ByteBuffer b(offBits + Pixels.size(), 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, uint32_t(b.size()));
    Put32(b, 10, uint32_t(int64_t(offBits) + OffBitsDelta));
    Put32(b, 14, HeaderSize);
    if (HeaderSize == 12) {
      Put16(b, 18, uint32_t(Width));
      Put16(b, 20, uint32_t(Height));
      Put16(b, 22, 1);
      Put16(b, 24, uint32_t(Bits));
    } else {
      Put32(b, 18, uint32_t(Width));
      Put32(b, 22, uint32_t(Height));
      Put16(b, 26, 1);
      Put16(b, 28, uint32_t(Bits));
      Put32(b, 30, Compression);
      Put32(b, 34, uint32_t(Pixels.size()));
      Put32(b, 46, ColorsUsed);
      for (size_t i = 0; i < Masks.size(); ++i) Put32(b, 54 + 4 * i, Masks[i]);
    }
    size_t at = 14 + HeaderSize + masksAfter;
    for (QRgb c : Palette) {
      b[at] = uint8_t(qBlue(c)), b[at + 1] = uint8_t(qGreen(c)), b[at + 2] = uint8_t(qRed(c));
      at += paletteEntry;
    }
    std::copy(Pixels.begin(), Pixels.end(), b.begin() + offBits);
    return b;
  }
};

inline const std::vector<QRgb> kPalette16 = {
    qRgb(0, 0, 0),     qRgb(255, 255, 255), qRgb(255, 0, 0),   qRgb(0, 255, 0),
    qRgb(0, 0, 255),   qRgb(255, 255, 0),   qRgb(0, 255, 255), qRgb(255, 0, 255),
    qRgb(128, 0, 0),   qRgb(0, 128, 0),     qRgb(0, 0, 128),   qRgb(128, 128, 0),
    qRgb(0, 128, 128), qRgb(128, 0, 128),   qRgb(192, 192, 192), qRgb(1, 2, 3),
};

// The expected picture: 7 × 5 (odd, so rows need padding) of palette
// colours, different in every row and column.
inline int IndexAt(int x, int y, int colors) { return (x * 3 + y * 5 + x * y) % colors; }

inline QImage Expected(int colors, int w = 7, int h = 5) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, kPalette16[IndexAt(x, y, colors)]);
  return img;
}

// Stores `img` in the uncompressed layout of `bits`, rows bottom-up unless
// topDown. Indexed layouts use kPalette16's positions.
inline ByteBuffer Layout(const QImage& img, int bits, bool topDown, const std::vector<uint32_t>& masks = {}) {
  const int w = img.width(), h = img.height();
  const int stride = (w * bits + 31) / 32 * 4;
  ByteBuffer px(size_t(stride) * h, 0);
  for (int row = 0; row < h; ++row) {
    const int y = topDown ? row : h - 1 - row;
    uint8_t* dst = px.data() + size_t(row) * stride;
    for (int x = 0; x < w; ++x) {
      const QRgb c = img.pixel(x, y);
      if (bits <= 8) {
        const int index = int(std::find(kPalette16.begin(), kPalette16.end(), c) - kPalette16.begin());
        const int perByte = 8 / bits;
        dst[x / perByte] |= uint8_t(index << (8 - bits * (x % perByte + 1)));
      } else if (bits == 24) {
        dst[3 * x] = uint8_t(qBlue(c)), dst[3 * x + 1] = uint8_t(qGreen(c)), dst[3 * x + 2] = uint8_t(qRed(c));
      } else if (bits == 32) {
        uint32_t v;
        if (masks.empty())
          v = 0x5A000000u | (uint32_t(qRed(c)) << 16) | (uint32_t(qGreen(c)) << 8) | qBlue(c);  // junk in the 4th byte
        else  // masks red 0xFF, green 0xFF00, blue 0xFF0000
          v = 0xA5000000u | (uint32_t(qBlue(c)) << 16) | (uint32_t(qGreen(c)) << 8) | qRed(c);
        for (int i = 0; i < 4; ++i) dst[4 * x + i] = uint8_t(v >> (8 * i));
      }
    }
  }
  return px;
}

class BmpTest : public PictureFileTest {
 protected:
  PictureResult Read(const ByteBuffer& bytes, QImage& out) { return ReadBMP(Write("t.bmp", bytes), out); }

  void ExpectDamaged(const ByteBuffer& bytes, const char* what) {
    QImage out;
    const PictureResult r = Read(bytes, out);
    EXPECT_FALSE(r.Ok) << what;
    EXPECT_EQ(r.Error, "ビットマップイメージが不正です") << what;
  }

  void ExpectReads(const BmpBuilder& bmp, const QImage& want, const char* what) {
    QImage out;
    const PictureResult r = Read(bmp.Bytes(), out);
    ASSERT_TRUE(r.Ok) << what << ": " << r.Error;
    EXPECT_EQ(out.format(), QImage::Format_RGB32) << what;
    EXPECT_EQ(out, want) << what;
  }
};

inline BmpBuilder Indexed(int bits, uint32_t headerSize = 40, bool topDown = false) {
  BmpBuilder b;
  b.HeaderSize = headerSize;
  b.Bits = bits;
  const int colors = 1 << bits;
  b.Palette.assign(kPalette16.begin(), kPalette16.begin() + std::min(colors, 16));
  if (headerSize == 12)
    b.Palette.resize(size_t(colors), qRgb(9, 9, 9));  // the oldest header always has a full palette
  else if (bits == 8)
    b.ColorsUsed = 16;  // a short palette, as most writers store it
  const QImage img = Expected(std::min(colors, 16));
  b.Width = img.width();
  b.Height = topDown ? -img.height() : img.height();
  b.Pixels = Layout(img, bits, topDown);
  return b;
}

inline BmpBuilder TrueColor(int bits, uint32_t headerSize = 40, bool topDown = false, bool bitfields = false) {
  BmpBuilder b;
  b.HeaderSize = headerSize;
  b.Bits = bits;
  const QImage img = Expected(16);
  b.Width = img.width();
  b.Height = topDown ? -img.height() : img.height();
  if (bitfields) {
    b.Compression = 3;
    b.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  }
  b.Pixels = Layout(img, bits, topDown, b.Masks);
  return b;
}

// One row of pixels, left to right.
inline QImage Row(std::initializer_list<QRgb> pixels) {
  QImage row(int(pixels.size()), 1, QImage::Format_RGB32);
  int x = 0;
  for (QRgb p : pixels) row.setPixel(x++, 0, p);
  return row;
}

// ImageMagick, when it is installed, makes and reads BMP files of its own.
inline bool HaveImageMagick() { return std::system("convert -version > /dev/null 2>&1") == 0; }

inline QImage Gradient(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x * y) % 256));
  return img;
}
