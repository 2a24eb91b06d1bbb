// BMP files: every usual layout read exactly, as Qt's own reader and
// ImageMagick's files read.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "bmp_files.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "support/scripted_dialogs.h"

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
  ExpectReads(b, Row({qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(132, 132, 132)}), "555");
  b.Compression = 3;
  b.Masks = {0xF800, 0x07E0, 0x001F};
  b.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};  // red, green, blue
  ExpectReads(b, Row({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}), "565");
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
  ExpectReads(b, Row({qRgb(255, 0, 0), qRgb(0, 0, 0)}), "index 200 of 1");
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
