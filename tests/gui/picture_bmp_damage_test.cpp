// BMP files that are damaged or lie about their sizes: refused, never
// shown with made-up pixels, never a crash.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "bmp_files.h"
#include "io/picture.h"

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
