// JPEG files: the decoder's settings and limits, the encoder's settings,
// damaged and hostile files.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "io/picture.h"
#include "jpeg_files.h"
#include "support/picture_files.h"

namespace {

QImage Smooth(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128 + (x - y) / 8));
  return img;
}

double MeanError(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * a.width() * a.height());
}

class JpegTest : public PictureFileTest {
 protected:
  PictureResult Read(const ByteBuffer& bytes, QImage& out) { return ReadJPEG(Write("t.jpg", bytes), out); }
};

}  // namespace

TEST_F(JpegTest, ExportReadsBackCloseToTheOriginal) {
  const QImage img = Smooth(640, 480);
  const std::string path = dir.filePath("frame.jpg").toStdString();
  ASSERT_TRUE(WriteJPEG(path, img).Ok);
  QImage back;
  ASSERT_TRUE(ReadJPEG(path, back).Ok);
  EXPECT_EQ(back.size(), img.size());
  EXPECT_EQ(back.format(), QImage::Format_RGB32);
  EXPECT_LT(MeanError(back, img), 2.0);
}

TEST_F(JpegTest, ExportIsBaselineColourAtQualityNinety) {
  const std::string path = dir.filePath("frame.jpg").toStdString();
  ASSERT_TRUE(WriteJPEG(path, Smooth(64, 48)).Ok);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_stdio_src(&d, f);
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  EXPECT_FALSE(d.progressive_mode);
  EXPECT_EQ(d.num_components, 3);
  EXPECT_EQ(d.jpeg_color_space, JCS_YCbCr);
  // The standard tables scaled to 20 %: luminance 16 → 3, chrominance 17 → 3,
  // luminance's largest 121 → 24, chrominance's 99 → 20.
  ASSERT_NE(d.quant_tbl_ptrs[0], nullptr);
  ASSERT_NE(d.quant_tbl_ptrs[1], nullptr);
  EXPECT_EQ(d.quant_tbl_ptrs[0]->quantval[0], 3);
  EXPECT_EQ(d.quant_tbl_ptrs[1]->quantval[0], 3);
  EXPECT_EQ(*std::max_element(d.quant_tbl_ptrs[0]->quantval, d.quant_tbl_ptrs[0]->quantval + 64), 24);
  EXPECT_EQ(*std::max_element(d.quant_tbl_ptrs[1]->quantval, d.quant_tbl_ptrs[1]->quantval + 64), 20);
  jpeg_destroy_decompress(&d);
  std::fclose(f);
}

TEST_F(JpegTest, GreyScaleFilesAreReadAsColour) {
  QImage back;
  ASSERT_TRUE(Read(EncodeJpeg(Smooth(40, 30), {.Grey = true}), back).Ok);
  EXPECT_EQ(back.size(), QSize(40, 30));
  EXPECT_EQ(back.format(), QImage::Format_RGB32);
  int distinct = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const QRgb p = back.pixel(x, y);
      ASSERT_EQ(qRed(p), qGreen(p));
      ASSERT_EQ(qGreen(p), qBlue(p));
      distinct += qRed(p) != qRed(back.pixel(0, 0));
    }
  EXPECT_GT(distinct, 100);
}

TEST_F(JpegTest, ProgressiveAndFullChromaFilesDecode) {
  const QImage img = Smooth(75, 41);
  for (JpegKind o : {JpegKind{.Progressive = true}, JpegKind{.HSamp = 1, .VSamp = 1},
                           JpegKind{.Progressive = true, .HSamp = 1, .VSamp = 1}}) {
    QImage back;
    ASSERT_TRUE(Read(EncodeJpeg(img, o), back).Ok);
    EXPECT_EQ(back.size(), img.size());
    EXPECT_LT(MeanError(back, img), 3.0);
  }
}

TEST_F(JpegTest, AHundredScansDecodeAndTheHundredAndFirstStops) {
  const QImage img = Smooth(32, 32);
  QImage back;
  EXPECT_TRUE(Read(EncodeJpeg(img, {.Scans = 100}), back).Ok);
  const PictureResult r = Read(EncodeJpeg(img, {.Scans = 101}), back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, kTooManyScansText);
  EXPECT_FALSE(Read(EncodeJpeg(img, {.Scans = 190}), back).Ok);
}

TEST_F(JpegTest, PicturesOverSixtyFourMegapixelsAreRefusedBeforeDecoding) {
  ByteBuffer b = EncodeJpeg(Smooth(16, 16), JpegKind{});
  DeclareSize(b, 65000, 65000);
  QImage back;
  PictureResult r = Read(b, back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "JPEG エラー #" + std::to_string(JERR_IMAGE_TOO_BIG));
  DeclareSize(b, 8193, 8192);
  r = Read(b, back);
  EXPECT_EQ(r.Error, "JPEG エラー #" + std::to_string(JERR_IMAGE_TOO_BIG));
}

TEST_F(JpegTest, AProgressiveFileNeedingTooMuchMemoryIsRefused) {
  // 8192 × 8192 at full chroma: its coefficients alone would take 400 MB.
  ByteBuffer b = EncodeJpeg(Smooth(16, 16), {.Progressive = true, .HSamp = 1, .VSamp = 1});
  DeclareSize(b, 8192, 8192);
  QImage back;
  const PictureResult r = Read(b, back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error.rfind("JPEG エラー #", 0), 0u) << r.Error;
}

TEST_F(JpegTest, EmptyAndForeignFilesShowTheDecodersError) {
  QImage back;
  PictureResult r = Read({}, back);
  EXPECT_EQ(r.Error, "JPEG エラー #" + std::to_string(JERR_INPUT_EMPTY));
  r = Read({'B', 'M', 0, 0, 0, 0, 0, 0}, back);
  EXPECT_EQ(r.Error, "JPEG エラー #" + std::to_string(JERR_NO_SOI));
  // Tables only, no picture.
  r = Read({0xFF, 0xD8, 0xFF, 0xD9}, back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error.rfind("JPEG エラー #", 0), 0u);
}

TEST_F(JpegTest, EveryTruncationIsReadOrRefusedWithoutHarm) {
  for (JpegKind o : {JpegKind{}, JpegKind{.Progressive = true}}) {
    const ByteBuffer whole = EncodeJpeg(Smooth(48, 40), o);
    for (size_t n = 0; n < whole.size(); n += 3) {
      QImage back;
      const PictureResult r = Read(ByteBuffer(whole.begin(), whole.begin() + n), back);
      if (r.Ok)
        EXPECT_EQ(back.size(), QSize(48, 40)) << n;  // the missing part is filled in
      else
        EXPECT_EQ(r.Error.rfind("JPEG エラー #", 0), 0u) << n;
    }
  }
}

TEST_F(JpegTest, RandomlyDamagedFilesNeverCrashTheDecoder) {
  const std::vector<ByteBuffer> seeds = {EncodeJpeg(Smooth(40, 24), JpegKind{}), EncodeJpeg(Smooth(40, 24), {.Progressive = true}),
                                     EncodeJpeg(Smooth(40, 24), {.Grey = true})};
  std::mt19937 rng(777);
  int ok = 0, refused = 0;
  for (int round = 0; round < 1500; ++round) {
    ByteBuffer b = seeds[round % seeds.size()];
    const int changes = 1 + int(rng() % 6);
    for (int k = 0; k < changes; ++k) b[rng() % b.size()] = uint8_t(rng());
    QImage back;
    const PictureResult r = Read(b, back);
    if (r.Ok) {
      ++ok;
      EXPECT_LE(int64_t(back.width()) * back.height(), kMaxPicturePixels);
    } else {
      ++refused;
      EXPECT_EQ(r.Error.rfind("JPEG エラー #", 0), 0u);
    }
  }
  EXPECT_GT(ok, 0);
  EXPECT_GT(refused, 0);
}

TEST_F(JpegTest, ExportTellsWhichFileItCouldNotCreate) {
  const std::string path = dir.filePath("missing/folder/x.jpg").toStdString();
  const PictureResult r = WriteJPEG(path, Smooth(8, 8));
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "ファイル " + path + " を作成できません");
}

TEST_F(JpegTest, ImageMagicksJpegsDecode) {
  if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const QImage source = Smooth(57, 33);
  const QString png = dir.filePath("s.png");
  ASSERT_TRUE(source.save(png));
  const std::pair<const char*, const char*> variants[] = {
      {"plain.jpg", "-quality 95"},
      {"progressive.jpg", "-interlace Plane"},
      {"grey.jpg", "-colorspace Gray"},
      {"444.jpg", "-sampling-factor 1x1"},
  };
  for (const auto& [name, options] : variants) {
    const std::string out = dir.filePath(name).toStdString();
    ASSERT_EQ(std::system(("convert " + png.toStdString() + " " + options + " " + out).c_str()), 0) << name;
    QImage back;
    ASSERT_TRUE(ReadJPEG(out, back).Ok) << name;
    EXPECT_EQ(back.size(), source.size()) << name;
  }
  // A CMYK file has no colour conversion to RGB in the decoder: refused
  // with its error, not shown wrongly.
  const std::string cmyk = dir.filePath("cmyk.jpg").toStdString();
  ASSERT_EQ(std::system(("convert " + png.toStdString() + " -colorspace CMYK " + cmyk).c_str()), 0);
  QImage back;
  const PictureResult r = ReadJPEG(cmyk, back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "JPEG エラー #" + std::to_string(JERR_CONVERSION_NOTIMPL));
}
