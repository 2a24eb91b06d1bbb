// The 32-bit BMP writer, read back by us, by Qt and by ImageMagick.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "bmp_files.h"
#include "io/picture.h"

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
