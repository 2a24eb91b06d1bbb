// Pictures larger than the canvas and failing writes: a background keeps
// only the part the canvas shows, with exactly the pixels of the whole
// picture, at a bounded cost; the writers say when the disk is full.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "io/picture.h"
#include "io/picture_store.h"
#include "jpeg_files.h"
#include "render/paint.h"
#include "support/memory_use.h"
#include "support/picture_files.h"
#include "support/sanitizers.h"
#include "support/scripted_dialogs.h"

namespace {

const QSize kShown(kCanvasWidth, kCanvasHeight);

// A picture with detail everywhere, so that any shifted or smoothed pixel shows.
QImage Busy(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  std::mt19937 rng(uint32_t(w * 31 + h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256) ^ (rng() & 0x1F1F1F));
  return img;
}

void Put32(ByteBuffer& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A BMP with a 40-byte header: 24 bits (bottom-up or top-down) or RLE8
// with a grey palette; `pixels` follow the header (and palette).
ByteBuffer Bmp(int w, int h, int bits, uint32_t compression, const ByteBuffer& pixels) {
  const size_t palette = bits == 8 ? 256 * 4 : 0;
  ByteBuffer b(54 + palette, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, uint32_t(54 + palette));
  Put32(b, 14, 40);
  Put32(b, 18, uint32_t(w));
  Put32(b, 22, uint32_t(h));
  b[26] = 1, b[28] = uint8_t(bits);
  Put32(b, 30, compression);
  for (size_t i = 0; i < palette / 4; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = uint8_t(255 - i);
  b.insert(b.end(), pixels.begin(), pixels.end());
  Put32(b, 2, uint32_t(b.size()));
  return b;
}

ByteBuffer Rows24(int w, int h) {
  ByteBuffer p;
  const int stride = (w * 3 + 3) / 4 * 4;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < stride; ++x) p.push_back(uint8_t((x * 13 + y * 7) ^ (y >> 2)));
  return p;
}

class PictureLimits : public PictureFileTest {};

}  // namespace

// The kept part of every kind of JPEG, wider and taller than the canvas or
// only one of the two, is the top-left of the whole picture pixel for pixel.
TEST_F(PictureLimits, AKeptJpegPartHasThePixelsOfTheWholePicture) {
  const JpegKind kinds[] = {
      {"baseline 4:2:0", false, 2, 2, false, false}, {"baseline 4:4:4", false, 1, 1, false, false},
      {"baseline 4:2:2", false, 2, 1, false, false}, {"progressive 4:2:0", true, 2, 2, false, false},
      {"progressive 4:4:4", true, 1, 1, false, false}, {"one scan per component", false, 2, 2, true, false},
      {"grey", false, 1, 1, false, true},            {"progressive grey", true, 1, 1, false, true},
  };
  const QSize sizes[] = {{1000, 760}, {700, 1300}, {500, 900}, {1200, 300}, {640, 480}};
  for (const JpegKind& k : kinds)
    for (const QSize& size : sizes) {
      const std::string path = Write("big.jpg", EncodeJpeg(Busy(size.width(), size.height()), k));
      QImage whole, part;
      ASSERT_TRUE(ReadJPEG(path, whole).Ok) << k.Name;
      ASSERT_TRUE(ReadJPEG(path, part, kShown).Ok) << k.Name;
      ASSERT_EQ(whole.size(), size);
      const QSize kept = size.boundedTo(kShown);
      ASSERT_EQ(part.size(), kept) << k.Name;
      EXPECT_TRUE(part == whole.copy(QRect(QPoint(0, 0), kept)))
          << k.Name << " " << size.width() << " × " << size.height();
    }
}

TEST_F(PictureLimits, AKeptBmpPartHasThePixelsOfTheWholePicture) {
  // 24 bits bottom-up and top-down, and RLE8 runs crossing the right edge.
  ByteBuffer rle;
  const int w = 700, h = 530;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; x += 100) rle.push_back(100), rle.push_back(uint8_t(x / 3 + y));
    rle.push_back(0), rle.push_back(0);
  }
  rle.push_back(0), rle.push_back(1);
  ByteBuffer topDown = Bmp(w, h, 24, 0, Rows24(w, h));
  Put32(topDown, 22, uint32_t(-h));
  const ByteBuffer files[] = {Bmp(w, h, 24, 0, Rows24(w, h)), topDown, Bmp(w, h, 8, 1, rle),
                          Bmp(300, 700, 24, 0, Rows24(300, 700))};
  for (const ByteBuffer& b : files) {
    const std::string path = Write("big.bmp", b);
    QImage whole, part;
    ASSERT_TRUE(ReadBMP(path, whole).Ok);
    ASSERT_TRUE(ReadBMP(path, part, kShown).Ok);
    const QSize kept = whole.size().boundedTo(kShown);
    ASSERT_EQ(part.size(), kept);
    EXPECT_TRUE(part == whole.copy(QRect(QPoint(0, 0), kept)));
  }
}

// A 656-byte progressive JPEG and a tiny run-length BMP that declare
// 8192 × 8192 pixels: as backgrounds they cost little time and memory.
TEST_F(PictureLimits, HugeDeclaredPicturesLoadAsBackgroundsCheaply) {
  ByteBuffer jpeg = EncodeJpeg(Busy(16, 16), {"progressive", true, 2, 2, false, false});
  DeclareSize(jpeg, 8192, 8192);
  ByteBuffer rle = {0, 0, 0, 1};  // one empty row, then the end of the picture
  const std::string names[] = {Write("huge.jpg", jpeg), Write("huge.bmp", Bmp(8192, 8192, 8, 1, rle))};
  for (const std::string& name : names) {
    AppState S;
    ScriptedDialogs dialogs;
    S.Dialogs = &dialogs;
    PictureStore pictures(S);
    S.Pictures = &pictures;
    int result = -1;
    const double grown = PeakGrowthMB([&] { result = pictures.LoadBGPicture(name); });
    EXPECT_EQ(result, 0) << name;
    EXPECT_TRUE(dialogs.Shown.empty()) << name;
    EXPECT_EQ(pictures.BGPicture.size(), kShown) << name;
    if (kSanitized) continue;  // the sanitizers' own memory says nothing here
    if (grown >= 0) {
      EXPECT_LT(grown, 300.0) << name;
    }
  }
}

TEST_F(PictureLimits, TheScanLimitSaysSo) {
  const JpegKind k{"progressive", true, 1, 1, false, false};
  QImage back;
  EXPECT_TRUE(ReadJPEG(Write("100.jpg", EncodeJpeg(Busy(32, 32), {"100 scans", true, 1, 1, false, false, 100})), back).Ok);
  const PictureResult r = ReadJPEG(Write("101.jpg", EncodeJpeg(Busy(32, 32), {"101 scans", true, 1, 1, false, false, 101})), back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "この JPEG は スキャンが おおすぎて よみこめません");
  // Damage that libjpeg reports with the same number keeps its number.
  ByteBuffer bad = EncodeJpeg(Busy(32, 32), k);
  for (size_t i = 2; i + 8 < bad.size(); ++i)
    if (bad[i] == 0xFF && bad[i + 1] == 0xDA) {
      bad[i + 8] = 70;  // a spectral selection past the last coefficient
      break;
    }
  const PictureResult damaged = ReadJPEG(Write("bad.jpg", bad), back);
  EXPECT_FALSE(damaged.Ok);
  EXPECT_EQ(damaged.Error.rfind("JPEG エラー #", 0), 0u) << damaged.Error;
}

// Writing to a full disk: the message names the file and says the disk is
// full; what is under the name is not removed when the writer did not make
// it (here a device).
TEST_F(PictureLimits, AFullDiskIsNamedAndNothingElseIsRemoved) {
  struct stat st {};
  if (stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode)) GTEST_SKIP() << "no /dev/full";
  const QImage img = Busy(640, 480);
  const std::string expected = "ディスクがいっぱいで ファイル /dev/full をかけません";
  PictureResult r = WriteJPEG("/dev/full", img);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, expected);
  r = WriteJPEG("/dev/full", Busy(8, 8));  // fails only when the last bytes go out
  EXPECT_EQ(r.Error, expected);
  r = WriteBMP32("/dev/full", img);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, expected);
  r = WriteBMP32("/dev/full", Busy(2, 2));
  EXPECT_EQ(r.Error, expected);
  EXPECT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  // A file that cannot be made keeps its old message.
  const std::string missing = dir.filePath("no/such/folder.jpg").toStdString();
  EXPECT_EQ(WriteJPEG(missing, img).Error, "ファイル " + missing + " を作成できません");
}
