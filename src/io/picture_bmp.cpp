// BMP pictures: the reader of backgrounds and the 32-bit writer of exports.
#include "io/picture.h"

#include <QFile>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "io/picture_internal.h"

using namespace picture_internal;

namespace {

// The BMP reader is our own: every size the header declares is checked
// against the bytes the file really has before a pixel is read, so that a
// short or lying file is refused instead of being shown with made-up pixels.

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

enum : uint32_t { kBI_RGB = 0, kBI_RLE8 = 1, kBI_RLE4 = 2, kBI_BITFIELDS = 3 };

// One colour channel of a bit-field pixel, scaled to 0 … 255.
struct ChannelRange {
  int Shift = 0;
  int Bits = 0;
  explicit ChannelRange(uint32_t mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::countr_one(mask >> Shift);
  }
  uint32_t Get(uint32_t pixel) const {
    if (Bits == 0) return 0;
    const uint64_t max = (uint64_t(1) << Bits) - 1;
    const uint64_t v = (uint64_t(pixel) >> Shift) & max;
    return uint32_t((v * 255 + max / 2) / max);
  }
};

struct BmpInfo {
  int64_t Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kBI_RGB;
  uint32_t Masks[3] = {0, 0, 0};
  std::vector<QRgb> Palette;
  size_t PixelOffset = 0;
};

// Bytes per stored row: whole 32-bit words.
int64_t RowStride(const BmpInfo& info) { return (info.Width * info.Bits + 31) / 32 * 4; }

// Reads and checks the headers, the palette and, for uncompressed pictures,
// the amount of pixel data, before anything is allocated. False for anything
// damaged.
bool ParseBmpHeaders(const uint8_t* d, size_t size, BmpInfo& info) {
  if (size < 14 + 12 || d[0] != 'B' || d[1] != 'M') return false;
  const size_t offBits = U32(d + 10);
  const uint32_t headerSize = U32(d + 14);
  size_t colorsUsed = 0;
  int entrySize = 4;
  if (headerSize == 12) {  // the oldest header: 16-bit sizes, 3-byte palette entries
    info.Width = U16(d + 18);
    info.Height = U16(d + 20);
    info.Bits = U16(d + 24);
    entrySize = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
             headerSize == 108 || headerSize == 124) {
    if (size < 14 + size_t(headerSize)) return false;
    info.Width = int32_t(U32(d + 18));
    const int32_t h = int32_t(U32(d + 22));
    if (h == INT32_MIN) return false;
    info.TopDown = h < 0;
    info.Height = h < 0 ? -int64_t(h) : h;
    info.Bits = U16(d + 28);
    info.Compression = U32(d + 30);
    colorsUsed = U32(d + 46);
  } else {
    return false;
  }
  if (info.Width <= 0 || info.Height <= 0) return false;
  if (info.Width * info.Height > kMaxPicturePixels) return false;

  switch (info.Bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  size_t headersEnd = 14 + size_t(headerSize);
  switch (info.Compression) {
    case kBI_RGB:
      break;
    case kBI_RLE8:
    case kBI_RLE4:
      // Run-length pictures are always stored bottom-up.
      if (info.TopDown || info.Bits != (info.Compression == kBI_RLE8 ? 8 : 4)) return false;
      break;
    case kBI_BITFIELDS:
      if (info.Bits != 16 && info.Bits != 32) return false;
      if (headerSize == 40) {  // the masks follow the header
        headersEnd += 12;
        if (size < headersEnd) return false;
        for (int i = 0; i < 3; ++i) info.Masks[i] = U32(d + 54 + 4 * i);
      } else {
        for (int i = 0; i < 3; ++i) info.Masks[i] = U32(d + 54 + 4 * i);
      }
      break;
    default:
      return false;  // embedded JPEG/PNG, OS/2 Huffman and the like
  }
  if (info.Compression != kBI_BITFIELDS) {
    if (info.Bits == 16) {
      info.Masks[0] = 0x7C00, info.Masks[1] = 0x03E0, info.Masks[2] = 0x001F;
    } else if (info.Bits == 32) {
      info.Masks[0] = 0xFF0000, info.Masks[1] = 0x00FF00, info.Masks[2] = 0x0000FF;
    }
  }
  if (offBits < headersEnd || offBits > size) return false;
  info.PixelOffset = offBits;
  if (info.Bits <= 8) {
    const size_t maxColors = size_t(1) << info.Bits;
    size_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    // A palette shorter than its header says ends where the pixels begin.
    count = std::min(count, (offBits - headersEnd) / entrySize);
    // Indices past the palette show black.
    info.Palette.assign(maxColors, qRgb(0, 0, 0));
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = d + headersEnd + i * entrySize;
      info.Palette[i] = qRgb(e[2], e[1], e[0]);
    }
  }
  if (info.Compression == kBI_RGB || info.Compression == kBI_BITFIELDS) {
    // Every row must be there; only the last one may lack its padding.
    const int64_t bitsPerRow = info.Width * info.Bits;
    const uint64_t needed = uint64_t(RowStride(info)) * uint64_t(info.Height - 1) + uint64_t((bitsPerRow + 7) / 8);
    if (needed > size - offBits) return false;
  }
  return true;
}

// `img` holds the top-left part of the picture (all of it, or less).
bool DecodeRle(const uint8_t* d, size_t size, const BmpInfo& info, QImage& img) {
  const bool rle8 = info.Compression == kBI_RLE8;
  const int64_t h = info.Height;
  const int64_t keepW = img.width(), keepH = img.height();
  // Pixels no run reaches show the first palette colour.
  img.fill(info.Palette[0]);
  auto put = [&](int64_t x, int64_t row, uint32_t index) {
    if (x < keepW && row < h && h - 1 - row < keepH)
      reinterpret_cast<QRgb*>(img.scanLine(int(h - 1 - row)))[x] = info.Palette[index];
  };
  size_t pos = info.PixelOffset;
  int64_t x = 0, row = 0;  // row counted from the bottom
  while (row < h) {
    if (pos + 2 > size) return false;  // the data ends before the picture does
    const uint8_t count = d[pos], value = d[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of one index (RLE8) or of two alternating ones (RLE4)
      for (int i = 0; i < count; ++i) {
        put(x + i, row, rle8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
      }
      x += count;
    } else if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (pos + 2 > size) return false;
      x += d[pos];
      row += d[pos + 1];
      pos += 2;
    } else {  // literal indices, padded to an even number of bytes
      const size_t bytes = rle8 ? value : (value + 1) / 2;
      if (pos + bytes > size) return false;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = d[pos + (rle8 ? i : i / 2)];
        put(x + i, row, rle8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F));
      }
      x += value;
      pos += bytes + (bytes & 1);
    }
  }
  return true;
}

// Sizes were checked by ParseBmpHeaders. `img` holds the top-left part of
// the picture (all of it, or less): only the rows and columns it keeps are
// read.
void DecodeRaw(const uint8_t* d, const BmpInfo& info, QImage& img) {
  const int64_t w = img.width(), h = info.Height;
  const int64_t stride = RowStride(info);
  const ChannelRange r(info.Masks[0]), g(info.Masks[1]), b(info.Masks[2]);
  for (int64_t y = 0; y < img.height(); ++y) {
    const int64_t fileRow = info.TopDown ? y : h - 1 - y;
    const uint8_t* src = d + info.PixelOffset + fileRow * stride;
    QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
    switch (info.Bits) {
      case 1: case 4: case 8: {
        const int bits = info.Bits, perByte = 8 / bits, mask = (1 << bits) - 1;
        for (int64_t x = 0; x < w; ++x) {
          const int shift = 8 - bits * (int(x % perByte) + 1);
          dst[x] = info.Palette[(src[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 16:
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t p = U16(src + 2 * x);
          dst[x] = qRgb(r.Get(p), g.Get(p), b.Get(p));
        }
        break;
      case 24:
        for (int64_t x = 0; x < w; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t p = U32(src + 4 * x);
          dst[x] = qRgb(r.Get(p), g.Get(p), b.Get(p));
        }
        break;
    }
  }
}

}  // namespace

PictureResult ReadBMP(const std::string& path, QImage& out, QSize keep) {
  QFile file(QString::fromStdString(path));
  if (!IsFile(path) || !file.open(QIODevice::ReadOnly)) return Failed(kBadBitmapText);
  const qint64 fileSize = file.size();
  if (fileSize <= 0) return Failed(kBadBitmapText);
  // Mapped, not read: a huge file costs no memory, only the bytes the
  // headers lead to are touched.
  const uint8_t* d = file.map(0, fileSize);
  std::vector<uint8_t> copy;
  if (d == nullptr) {
    copy.resize(size_t(fileSize));
    if (file.read(reinterpret_cast<char*>(copy.data()), fileSize) != fileSize) return Failed(kBadBitmapText);
    d = copy.data();
  }
  const size_t size = size_t(fileSize);
  BmpInfo info;
  if (!ParseBmpHeaders(d, size, info)) return Failed(kBadBitmapText);
  QImage img(KeptSize(info.Width, info.Height, keep), QImage::Format_RGB32);
  if (img.isNull()) return Failed(kBadBitmapText);
  if (info.Compression == kBI_RLE8 || info.Compression == kBI_RLE4) {
    if (!DecodeRle(d, size, info, img)) return Failed(kBadBitmapText);
  } else {
    DecodeRaw(d, info, img);
  }
  out = std::move(img);
  return Done();
}

PictureResult WriteBMP32(const std::string& path, const QImage& image) {
  const QImage img = AsRGB32(image);
  const int w = img.width(), h = img.height();
  const uint32_t pixelBytes = uint32_t(w) * uint32_t(h) * 4;
  uint8_t header[54] = {};
  auto put16 = [&](int at, uint16_t v) { header[at] = uint8_t(v), header[at + 1] = uint8_t(v >> 8); };
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + i] = uint8_t(v >> (8 * i));
  };
  // BITMAPFILEHEADER
  header[0] = 'B', header[1] = 'M';
  put32(2, 54 + pixelBytes);
  put32(10, 54);
  // BITMAPINFOHEADER: 32 bits, uncompressed, bottom-up, 96 dpi
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  put16(26, 1);
  put16(28, 32);
  put32(30, kBI_RGB);
  put32(34, pixelBytes);
  put32(38, 3780);
  put32(42, 3780);

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return Failed(CannotCreateText(path));
  int error = 0;
  auto written = [&](bool ok) {
    if (!ok && error == 0) error = errno;
    return ok;
  };
  bool ok = written(std::fwrite(header, 1, sizeof header, f) == sizeof header);
  std::vector<uint8_t> row(size_t(w) * 4);
  for (int y = h - 1; ok && y >= 0; --y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      // Blue, green, red, then an opaque fourth byte for the viewers that
      // read it as alpha.
      row[4 * x] = uint8_t(qBlue(src[x]));
      row[4 * x + 1] = uint8_t(qGreen(src[x]));
      row[4 * x + 2] = uint8_t(qRed(src[x]));
      row[4 * x + 3] = 0xFF;
    }
    ok = written(std::fwrite(row.data(), 1, row.size(), f) == row.size());
  }
  ok = written(std::fclose(f) == 0) && ok;
  if (!ok) return WriteFailed(path, error);
  return Done();
}
