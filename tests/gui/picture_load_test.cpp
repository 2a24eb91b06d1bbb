// The background loader: which files it reads, what a damaged one leaves
// behind, and the names of the whole-process export.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "io/picture.h"
#include "io/picture_store.h"
#include "render/paint.h"
#include "support/scripted_dialogs.h"

namespace {

class LoadTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  AppState S;
  ScriptedDialogs dialogs;
  PictureStore P{S};

  void SetUp() override { S.Dialogs = &dialogs; }

  std::string Path(const std::string& name) { return dir.filePath(QString::fromStdString(name)).toStdString(); }

  static QImage Filled(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
  }

  std::string SaveBmp(const std::string& name, const QImage& img) {
    const std::string path = Path(name);
    EXPECT_TRUE(WriteBMP32(path, img).Ok);
    return path;
  }

  std::string SaveBytes(const std::string& name, const QByteArray& bytes) {
    const std::string path = Path(name);
    // A new file each time: rewriting one in place makes some file
    // systems flush it to disk on every close.
    QFile::remove(QString::fromStdString(path));
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  QByteArray Bytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
};

}  // namespace

TEST_F(LoadTest, MissingFileOrFolderReturnsOneAndShowsNothing) {
  P.BGPicture = Filled(10, 10, qRgb(1, 2, 3));
  EXPECT_EQ(P.LoadBGPicture(Path("nothing.bmp")), 1);
  EXPECT_EQ(P.LoadBGPicture(""), 1);
  QDir(dir.path()).mkdir("folder.bmp");
  EXPECT_EQ(P.LoadBGPicture(Path("folder.bmp")), 1);
  EXPECT_TRUE(dialogs.Shown.empty());
  EXPECT_EQ(P.BGPicture, Filled(10, 10, qRgb(1, 2, 3)));
}

TEST_F(LoadTest, BitmapsAndJpegsReplaceTheBackgroundWhole) {
  const QImage red = Filled(320, 240, qRgb(255, 0, 0));
  EXPECT_EQ(P.LoadBGPicture(SaveBmp("small.bmp", red)), 0);
  EXPECT_EQ(P.BGPicture, red);
  EXPECT_EQ(P.LoadBGPicture(SaveBmp("SMALL.BMP", Filled(3, 2, qRgb(0, 0, 255)))), 0);
  EXPECT_EQ(P.BGPicture.size(), QSize(3, 2));

  QImage big(1024, 768, QImage::Format_RGB32);
  big.fill(qRgb(0, 200, 0));
  const std::string jpg = Path("big.jpg");
  ASSERT_TRUE(WriteJPEG(jpg, big).Ok);
  EXPECT_EQ(P.LoadBGPicture(jpg), 0);
  // Only the part the canvas shows is kept.
  EXPECT_EQ(P.BGPicture.size(), QSize(640, 480));
  EXPECT_EQ(P.BGPicture.format(), QImage::Format_RGB32);
  QFile::copy(QString::fromStdString(jpg), QString::fromStdString(Path("BIG.JPG")));
  P.BlankBGImage();
  EXPECT_EQ(P.LoadBGPicture(Path("BIG.JPG")), 0);
  EXPECT_NEAR(qGreen(P.BGPicture.pixel(600, 450)), 200, 2);
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(LoadTest, TheCanvasShowsASmallBitmapUnscaledFromTheTopLeft) {
  ASSERT_EQ(P.LoadBGPicture(SaveBmp("small.bmp", Filled(320, 240, qRgb(255, 0, 0)))), 0);
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(P.WorkBitmap.pixel(319, 239), qRgb(255, 0, 0));
  EXPECT_EQ(P.WorkBitmap.pixel(320, 239), qRgb(255, 255, 255));
}

TEST_F(LoadTest, OtherExtensionsLoadNothingAndReturnZero) {
  const QImage before = P.BGPicture;
  const QByteArray bmp = Bytes(SaveBmp("real.bmp", Filled(8, 8, qRgb(255, 0, 0))));
  for (const char* name : {"a.jpeg", "a.Jpg", "a.Bmp", "a.png", "noextension", "dots.bmp.txt"}) {
    EXPECT_EQ(P.LoadBGPicture(SaveBytes(name, bmp)), 0) << name;
    EXPECT_EQ(P.BGPicture, before) << name;
  }
  QDir(dir.path()).mkdir("pics.bmp");
  EXPECT_EQ(P.LoadBGPicture(SaveBytes("pics.bmp/picture", bmp)), 0);  // the dot is the folder's
  EXPECT_EQ(P.BGPicture, before);
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(LoadTest, ADamagedBitmapShowsItsErrorAndKeepsThePreviousPicture) {
  const QImage blue = Filled(20, 20, qRgb(0, 0, 255));
  ASSERT_EQ(P.LoadBGPicture(SaveBmp("blue.bmp", blue)), 0);
  QByteArray bytes = Bytes(Path("blue.bmp"));
  bytes.chop(100);
  EXPECT_EQ(P.LoadBGPicture(SaveBytes("cut.bmp", bytes)), 2);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_EQ(dialogs.Shown[0].text, "ビットマップイメージが不正です");
  EXPECT_EQ(P.BGPicture, blue);
  // A JPEG under a bitmap's name is a damaged bitmap.
  const std::string jpg = Path("x.jpg");
  ASSERT_TRUE(WriteJPEG(jpg, blue).Ok);
  EXPECT_EQ(P.LoadBGPicture(SaveBytes("x.bmp", Bytes(jpg))), 2);
  EXPECT_EQ(dialogs.LastText(), "ビットマップイメージが不正です");
  EXPECT_EQ(P.BGPicture, blue);
}

TEST_F(LoadTest, ADamagedJpegShowsTheDecodersErrorAndKeepsThePreviousPicture) {
  const QImage blue = Filled(20, 20, qRgb(0, 0, 255));
  ASSERT_EQ(P.LoadBGPicture(SaveBmp("blue.bmp", blue)), 0);
  EXPECT_EQ(P.LoadBGPicture(SaveBytes("bad.jpg", QByteArray("not a picture at all"))), 2);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_EQ(dialogs.Shown[0].text.rfind("JPEG エラー #", 0), 0u) << dialogs.Shown[0].text;
  EXPECT_EQ(P.BGPicture, blue);
}

TEST(ProcessNames, NumbersHaveAtLeastThreeDigits) {
  EXPECT_EQ(ProcessPictureName("/out/B", 1), "/out/B001.jpg");
  EXPECT_EQ(ProcessPictureName("/out/B", 42), "/out/B042.jpg");
  EXPECT_EQ(ProcessPictureName("/out/B", 999), "/out/B999.jpg");
  EXPECT_EQ(ProcessPictureName("/out/B", 1000), "/out/B1000.jpg");
  EXPECT_EQ(ProcessPictureName("/out/B", 123456), "/out/B123456.jpg");
}

TEST(ProcessNames, TheBaseIsTheChosenPathWithoutItsExtension) {
  EXPECT_EQ(ProcessPictureBase("/out/proc.jpg"), "/out/proc");
  EXPECT_EQ(ProcessPictureBase("/out/my.proc.JPG"), "/out/my.proc");
  EXPECT_EQ(ProcessPictureBase("/out.d/proc"), "/out.d/proc");
  EXPECT_EQ(ProcessPictureBase("proc.jpg"), "proc");
}
