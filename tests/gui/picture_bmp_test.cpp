// BMP files: every usual layout read exactly, damaged and lying files
// refused, and the 32-bit writer read back by us, by Qt and by ImageMagick.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "io/picture.h"
#include "support/picture_files.h"
#include "io/picture_store.h"
#include "render/paint.h"
#include "support/scripted_dialogs.h"

namespace {


void Put16(ByteBuffer& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void Put32(ByteBuffer& b, size_t at, uint32_t v) {
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

const std::vector<QRgb> kPalette16 = {
    qRgb(0, 0, 0),     qRgb(255, 255, 255), qRgb(255, 0, 0),   qRgb(0, 255, 0),
    qRgb(0, 0, 255),   qRgb(255, 255, 0),   qRgb(0, 255, 255), qRgb(255, 0, 255),
    qRgb(128, 0, 0),   qRgb(0, 128, 0),     qRgb(0, 0, 128),   qRgb(128, 128, 0),
    qRgb(0, 128, 128), qRgb(128, 0, 128),   qRgb(192, 192, 192), qRgb(1, 2, 3),
};

// The expected picture: 7 × 5 (odd, so rows need padding) of palette
// colours, different in every row and column.
int IndexAt(int x, int y, int colors) { return (x * 3 + y * 5 + x * y) % colors; }

QImage Expected(int colors, int w = 7, int h = 5) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, kPalette16[IndexAt(x, y, colors)]);
  return img;
}

// Stores `img` in the uncompressed layout of `bits`, rows bottom-up unless
// topDown. Indexed layouts use kPalette16's positions.
ByteBuffer Layout(const QImage& img, int bits, bool topDown, const std::vector<uint32_t>& masks = {}) {
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

BmpBuilder Indexed(int bits, uint32_t headerSize = 40, bool topDown = false) {
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

BmpBuilder TrueColor(int bits, uint32_t headerSize = 40, bool topDown = false, bool bitfields = false) {
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

}  // namespace

TEST_F(BmpTest, EveryUncompressedLayoutReadsExactly) {
  for (uint32_t header : {12u, 40u, 108u, 124u}) {
    for (bool topDown : {false, true}) {
      if (header == 12 && topDown) continue;  // the oldest header has no top-down form
      const std::string where = "header " + std::to_string(header) + (topDown ? " top-down" : " bottom-up");
      ExpectReads(Indexed(1, header, topDown), Expected(2), (where + ", 1 bit").c_str());
      ExpectReads(Indexed(4, header, topDown), Expected(16), (where + ", 4 bits").c_str());
      ExpectReads(Indexed(8, header, topDown), Expected(16), (where + ", 8 bits").c_str());
      ExpectReads(TrueColor(24, header, topDown), Expected(16), (where + ", 24 bits").c_str());
      if (header != 12) {
        ExpectReads(TrueColor(32, header, topDown), Expected(16), (where + ", 32 bits").c_str());
        ExpectReads(TrueColor(32, header, topDown, true), Expected(16), (where + ", 32 bit fields").c_str());
      }
    }
  }
}

TEST_F(BmpTest, SixteenBitPixelsScaleTheirChannelsToFullRange) {
  // 5-5-5 by default; 5-6-5 with bit fields.
  BmpBuilder b;
  b.Bits = 16;
  b.Width = 3;
  b.Height = 1;
  b.Pixels = {0xFF, 0x7F, 0x00, 0x00, 0x10, 0x42, 0, 0};  // white, black, (16, 16, 16)
  ExpectReads(b, [] {
    QImage want(3, 1, QImage::Format_RGB32);
    want.setPixel(0, 0, qRgb(255, 255, 255));
    want.setPixel(1, 0, qRgb(0, 0, 0));
    want.setPixel(2, 0, qRgb(132, 132, 132));
    return want;
  }(), "555");
  b.Compression = 3;
  b.Masks = {0xF800, 0x07E0, 0x001F};
  b.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};  // red, green, blue
  ExpectReads(b, [] {
    QImage want(3, 1, QImage::Format_RGB32);
    want.setPixel(0, 0, qRgb(255, 0, 0));
    want.setPixel(1, 0, qRgb(0, 255, 0));
    want.setPixel(2, 0, qRgb(0, 0, 255));
    return want;
  }(), "565");
}

TEST_F(BmpTest, RunLengthPicturesReadExactly) {
  // 6 × 3, bottom row first: "3 × index 2, literal 1 4 3, end of line";
  // "delta right 2, 2 × index 5, end of line"; "literal 7 7 7 7 7 7", end.
  BmpBuilder b;
  b.Bits = 8;
  b.Compression = 1;
  b.Width = 6;
  b.Height = 3;
  b.Palette = kPalette16;
  b.Pixels = {3, 2, 0, 3, 1, 4, 3, 0, 0, 0,  // odd literal: one pad byte
              0, 2, 2, 0, 2, 5, 0, 0,        //
              0, 6, 7, 7, 7, 7, 7, 7, 0, 1};
  QImage want(6, 3, QImage::Format_RGB32);
  want.fill(kPalette16[0]);  // where no run reaches
  const int bottom[] = {2, 2, 2, 1, 4, 3};
  for (int x = 0; x < 6; ++x) want.setPixel(x, 2, kPalette16[bottom[x]]);
  want.setPixel(2, 1, kPalette16[5]);
  want.setPixel(3, 1, kPalette16[5]);
  for (int x = 0; x < 6; ++x) want.setPixel(x, 0, kPalette16[7]);
  ExpectReads(b, want, "RLE8");

  // The same picture in 4-bit runs: runs alternate two indices.
  BmpBuilder c = b;
  c.Bits = 4;
  c.Compression = 2;
  c.Pixels = {3, 0x22, 0, 3, 0x14, 0x30, 0, 0,  // literal of 3 in 2 bytes: even, no pad
              0, 2, 2, 0, 2, 0x55, 0, 0,       //
              6, 0x77, 0, 1};
  ExpectReads(c, want, "RLE4");

  // Without its end marker a picture whose rows are all there is whole.
  BmpBuilder d = b;
  d.Pixels = {3, 2, 0, 3, 1, 4, 3, 0, 0, 0, 0, 2, 2, 0, 2, 5, 0, 0, 6, 7, 0, 0};
  QImage out;
  EXPECT_TRUE(Read(d.Bytes(), out).Ok);
}

TEST_F(BmpTest, RunsPastTheEdgesAreClippedNotWritten) {
  BmpBuilder b;
  b.Bits = 8;
  b.Compression = 1;
  b.Width = 2;
  b.Height = 2;
  b.Palette = kPalette16;
  b.Pixels = {255, 3, 0, 2, 250, 250, 255, 4, 0, 0, 255, 5, 0, 0, 255, 6, 0, 1};
  QImage out;
  const PictureResult r = Read(b.Bytes(), out);
  ASSERT_TRUE(r.Ok);
  EXPECT_EQ(out.pixel(0, 1), kPalette16[3]);
  EXPECT_EQ(out.pixel(1, 1), kPalette16[3]);
}

TEST_F(BmpTest, DamagedAndLyingHeadersAreRefused) {
  const BmpBuilder good = TrueColor(24);
  ExpectDamaged({}, "empty file");
  ExpectDamaged({'B', 'M'}, "signature only");
  ByteBuffer b = good.Bytes();
  b[0] = 'X';
  ExpectDamaged(b, "no BM signature");

  auto with = [&](auto change, const char* what) {
    BmpBuilder t = good;
    change(t);
    ExpectDamaged(t.Bytes(), what);
  };
  with([](BmpBuilder& t) { t.HeaderSize = 20; }, "unknown header size");
  with([](BmpBuilder& t) { t.Width = 0; }, "width 0");
  with([](BmpBuilder& t) { t.Width = -7; }, "negative width");
  with([](BmpBuilder& t) { t.Height = 0; }, "height 0");
  with([](BmpBuilder& t) { t.Height = INT_MIN; }, "height INT_MIN");
  with([](BmpBuilder& t) { t.Bits = 2; }, "2 bits");
  with([](BmpBuilder& t) { t.Bits = 64; }, "64 bits");
  with([](BmpBuilder& t) { t.Bits = 0; }, "0 bits");
  with([](BmpBuilder& t) { t.Compression = 4; }, "embedded JPEG");
  with([](BmpBuilder& t) { t.Compression = 5; }, "embedded PNG");
  with([](BmpBuilder& t) { t.Compression = 1; }, "run-length 8 on 24 bits");
  with([](BmpBuilder& t) { t.Compression = 3, t.Masks = {1, 2, 4}; }, "bit fields on 24 bits");
  with([](BmpBuilder& t) { t.Height += 1; }, "one row more than the data");
  with([](BmpBuilder& t) { t.Width += 2; }, "wider than the data");
  with([](BmpBuilder& t) { t.Pixels.resize(t.Pixels.size() - 4); }, "short pixel data");
  with([](BmpBuilder& t) { t.OffBitsDelta = 1000; }, "pixel offset beyond the file");
  with([](BmpBuilder& t) { t.OffBitsDelta = -30; }, "pixel offset inside the header");
  with([](BmpBuilder& t) { t.Width = 8193, t.Height = 8192; }, "more than 64 megapixels");
  with([](BmpBuilder& t) { t.Width = 65535, t.Height = -65535; }, "4 gigapixels top-down");
  with([](BmpBuilder& t) { t.HeaderSize = 12, t.Width = 65535, t.Height = 65535; }, "4 gigapixels, old header");

  BmpBuilder pal = Indexed(8);
  pal.ColorsUsed = 200;  // more colours declared than stored, and no pixels
  pal.Pixels.clear();
  ExpectDamaged(pal.Bytes(), "palette and pixels missing");

  BmpBuilder rle;
  rle.Bits = 8, rle.Compression = 1, rle.Width = 4, rle.Height = -2, rle.Palette = kPalette16;
  rle.Pixels = {4, 1, 0, 0, 4, 2, 0, 1};
  ExpectDamaged(rle.Bytes(), "run-length top-down");
  rle.Height = 2;
  rle.Pixels = {4, 1, 0, 0, 4};
  ExpectDamaged(rle.Bytes(), "run-length data ends inside the picture");
  rle.Pixels = {4, 1, 0, 0, 0, 6, 1, 2};
  ExpectDamaged(rle.Bytes(), "literal run longer than the data");
  rle.Pixels = {4, 1, 0, 2, 1};
  ExpectDamaged(rle.Bytes(), "delta cut short");
}

TEST_F(BmpTest, TheLargestAllowedPictureIsStillRead) {
  // 8192 × 8192 at 1 bit per pixel: 8 MB of file, 64 megapixels exactly.
  BmpBuilder b;
  b.Bits = 1;
  b.Width = 8192;
  b.Height = 8192;
  b.Palette = {qRgb(255, 255, 255), qRgb(255, 0, 0)};
  b.Pixels.assign(size_t(8192 / 8) * 8192, 0);
  b.Pixels[0] = 0x80;  // bottom-left pixel in the second colour
  QImage out;
  const PictureResult r = Read(b.Bytes(), out);
  ASSERT_TRUE(r.Ok);
  EXPECT_EQ(out.size(), QSize(8192, 8192));
  EXPECT_EQ(out.pixel(0, 8191), qRgb(255, 0, 0));
  EXPECT_EQ(out.pixel(1, 8191), qRgb(255, 255, 255));
}

TEST_F(BmpTest, IndicesPastAShortPaletteShowBlack) {
  BmpBuilder b;
  b.Bits = 8;
  b.Width = 2;
  b.Height = 1;
  b.Palette = {qRgb(255, 0, 0)};
  b.ColorsUsed = 1;
  b.Pixels = {0, 200, 0, 0};
  QImage want(2, 1, QImage::Format_RGB32);
  want.setPixel(0, 0, qRgb(255, 0, 0));
  want.setPixel(1, 0, qRgb(0, 0, 0));
  ExpectReads(b, want, "index 200 of 1");
}

TEST_F(BmpTest, EveryTruncationOfEveryLayoutIsRefusedOrWhole) {
  std::vector<ByteBuffer> files = {Indexed(1).Bytes(), Indexed(4).Bytes(), Indexed(8, 124).Bytes(),
                               TrueColor(24).Bytes(), TrueColor(32, 108, true, true).Bytes(),
                               Indexed(8, 12).Bytes()};
  BmpBuilder rle;
  rle.Bits = 8, rle.Compression = 1, rle.Width = 6, rle.Height = 3, rle.Palette = kPalette16;
  rle.Pixels = {3, 2, 0, 3, 1, 4, 3, 0, 0, 0, 0, 2, 2, 0, 2, 5, 0, 0, 0, 6, 7, 7, 7, 7, 7, 7, 0, 1};
  files.push_back(rle.Bytes());
  for (size_t f = 0; f < files.size(); ++f) {
    const ByteBuffer& whole = files[f];
    QImage full;
    ASSERT_TRUE(Read(whole, full).Ok) << f;
    for (size_t n = 0; n < whole.size(); ++n) {
      QImage out;
      const PictureResult r = Read(ByteBuffer(whole.begin(), whole.begin() + n), out);
      // Only the last row's padding, or a run-length end marker after the
      // last row, may be missing.
      if (r.Ok)
        EXPECT_EQ(out, full) << "file " << f << " cut at " << n;
      else
        EXPECT_EQ(r.Error, "ビットマップイメージが不正です");
      if (n + 4 < whole.size() && f != files.size() - 1) {
        EXPECT_FALSE(r.Ok) << "file " << f << " cut at " << n;
      }
    }
  }
}

TEST_F(BmpTest, RandomlyDamagedFilesNeverCrashTheReader) {
  const std::vector<ByteBuffer> seeds = {Indexed(4).Bytes(), Indexed(8, 40, true).Bytes(), TrueColor(24).Bytes(),
                                     TrueColor(32, 124, false, true).Bytes()};
  std::mt19937 rng(20240607);
  int ok = 0, refused = 0;
  for (int round = 0; round < 4000; ++round) {
    ByteBuffer b = seeds[round % seeds.size()];
    const int changes = 1 + int(rng() % 4);
    for (int k = 0; k < changes; ++k) {
      // Mostly in the headers, where the sizes are.
      const size_t at = rng() % 3 ? rng() % std::min<size_t>(b.size(), 70) : rng() % b.size();
      b[at] = rng() % 3 ? uint8_t(rng()) : (rng() % 2 ? 0xFF : 0x00);
    }
    QImage out;
    const PictureResult r = Read(b, out);
    if (r.Ok) {
      ++ok;
      EXPECT_FALSE(out.isNull());
      EXPECT_LE(int64_t(out.width()) * out.height(), kMaxPicturePixels);
    } else {
      ++refused;
    }
  }
  EXPECT_GT(ok, 0);
  EXPECT_GT(refused, 0);
}

TEST_F(BmpTest, ReadsLikeQtsOwnReaderOnWellFormedFiles) {
  const std::vector<std::pair<const char*, ByteBuffer>> files = {
      {"1 bit", Indexed(1).Bytes()},           {"4 bits", Indexed(4).Bytes()},
      {"8 bits", Indexed(8).Bytes()},          {"8 bits top-down", Indexed(8, 40, true).Bytes()},
      {"old header", Indexed(8, 12).Bytes()},  {"24 bits", TrueColor(24).Bytes()},
      {"24 bits v5", TrueColor(24, 124).Bytes()}, {"32 bits", TrueColor(32).Bytes()},
  };
  for (const auto& [what, bytes] : files) {
    const std::string path = Write("q.bmp", bytes);
    QImage ours;
    ASSERT_TRUE(ReadBMP(path, ours).Ok) << what;
    QImageReader reader(QString::fromStdString(path), "bmp");
    const QImage theirs = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(theirs.isNull()) << what;
    EXPECT_EQ(ours, theirs) << what;
  }
}

// ---- ImageMagick's files, when it is installed ----

namespace {

bool HaveImageMagick() { return std::system("convert -version > /dev/null 2>&1") == 0; }

QImage Gradient(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x * y) % 256));
  return img;
}

}  // namespace

TEST_F(BmpTest, ImageMagicksVariantsReadLikeTheirSource) {
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const QImage source = Gradient(37, 23);
  const QString png = dir.filePath("source.png");
  ASSERT_TRUE(source.save(png));
  struct Variant {
    const char* name;
    const char* options;
    bool lossless;  // the picture survives unchanged
  };
  const Variant variants[] = {
      {"bmp3-24.bmp", "-type TrueColor BMP3:", true},
      {"bmp-32.bmp", "-alpha on -define bmp:format=bmp4 BMP:", true},
      {"bmp2-24.bmp", "-type TrueColor BMP2:", true},
      {"bmp3-8.bmp", "-colors 200 -type Palette BMP3:", false},
      {"bmp3-4.bmp", "-colors 12 -type Palette BMP3:", false},
      {"bmp3-1.bmp", "-monochrome BMP3:", false},
      {"bmp3-rle8.bmp", "-colors 60 -type Palette -compress RLE BMP3:", false},
      {"gray.bmp", "-colorspace Gray -type Grayscale BMP3:", false},
  };
  for (const Variant& v : variants) {
    const QString out = dir.filePath(v.name);
    const std::string cmd = "convert " + png.toStdString() + " " + v.options + out.toStdString() + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) {
      ADD_FAILURE() << "convert failed for " << v.name;
      continue;
    }
    QImage ours;
    const PictureResult r = ReadBMP(out.toStdString(), ours);
    ASSERT_TRUE(r.Ok) << v.name;
    if (v.lossless) {
      EXPECT_EQ(ours, source) << v.name;
    } else {
      QImage theirs = QImageReader(out, "bmp").read().convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(ours, theirs) << v.name;
    }
    // And through the background loader.
    AppState S;
    ScriptedDialogs dialogs;
    S.Dialogs = &dialogs;
    PictureStore store(S);
    EXPECT_EQ(store.LoadBGPicture(out.toStdString()), 0) << v.name;
    EXPECT_EQ(store.BGPicture, ours) << v.name;
    EXPECT_TRUE(dialogs.Shown.empty()) << v.name;
  }
}

// ---- The 32-bit writer ----

TEST_F(BmpTest, WriterStoresThirtyTwoBitBottomUpWithPlainHeaders) {
  QImage img(640, 480, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
  const std::string path = dir.filePath("out.bmp").toStdString();
  ASSERT_TRUE(WriteBMP32(path, img).Ok);
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray b = f.readAll();
  auto u32 = [&](int at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
                                  uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24; };
  auto u16 = [&](int at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; };
  ASSERT_EQ(b.size(), 54 + 640 * 480 * 4);
  EXPECT_EQ(b.left(2), QByteArray("BM"));
  EXPECT_EQ(u32(2), uint32_t(b.size()));
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 640u);
  EXPECT_EQ(u32(22), 480u);  // positive: bottom-up
  EXPECT_EQ(u16(26), 1u);
  EXPECT_EQ(u16(28), 32u);
  EXPECT_EQ(u32(30), 0u);  // uncompressed
  // The first stored pixel is the bottom-left one, blue first.
  EXPECT_EQ(uint8_t(b[54]), qBlue(img.pixel(0, 479)));
  EXPECT_EQ(uint8_t(b[55]), qGreen(img.pixel(0, 479)));
  EXPECT_EQ(uint8_t(b[56]), qRed(img.pixel(0, 479)));

  QImage ours;
  ASSERT_TRUE(ReadBMP(path, ours).Ok);
  EXPECT_EQ(ours, img);
  EXPECT_EQ(QImageReader(QString::fromStdString(path), "bmp").read().convertToFormat(QImage::Format_RGB32), img);
  if (HaveImageMagick()) {
    const QString png = dir.filePath("back.png");
    ASSERT_EQ(std::system(("convert " + path + " " + png.toStdString()).c_str()), 0);
    const QImage viaPng = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(viaPng.size(), img.size());
    int differences = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) differences += viaPng.pixel(x, y) != img.pixel(x, y);
    EXPECT_EQ(differences, 0);
  }
}

TEST_F(BmpTest, WriterTellsWhichFileItCouldNotCreate) {
  const std::string path = dir.filePath("no/such/folder/out.bmp").toStdString();
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::white);
  const PictureResult r = WriteBMP32(path, img);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "ファイル " + path + " を作成できません");
}
