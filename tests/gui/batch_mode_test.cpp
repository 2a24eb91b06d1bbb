// The batch mode end to end: the program itself is run without a display on
// drawing files the tests write.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "batch_run.h"
#include "support/file_fixture.h"

namespace {

using PixelRun = BatchRun;

class BatchTest : public BatchFolderTest {
 protected:
  QStringList Entries() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name); }

  // Two rectangles, then a third after a ReadBG of a missing picture.
  void WriteDrawing(const QString& name = "d.tlo") {
    WriteFile(name, DrawingFileText({RectRecord(1, 10, 10, 60, 50), RectRecord(2, 100, 10, 150, 50),
                                     ReadBGRecord("nowhere.bmp"), RectRecord(3, 200, 10, 250, 50)}));
  }
};

TEST_F(BatchTest, HelpAndVersion) {
  PixelRun r = Run({"--version"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Tamlo Ver.1.23\n");
  r = Run({"--help"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_TRUE(r.Out.startsWith("usage: tamlo"));
  EXPECT_TRUE(r.Out.contains("--export-process"));
}

TEST_F(BatchTest, BadUsageExitsWithTwoAndTheUsage) {
  for (const QStringList& args :
       {QStringList{"--export-bmp", "out.bmp"}, QStringList{"--export-bmp"}, QStringList{"--describe", "a.tlo", "b.tlo"},
        QStringList{"--export-bmp", "o.bmp", "--step", "x", "d.tlo"}, QStringList{"--describe", "--step", "1", "d.tlo"},
        QStringList{"--export-bmp", "o.bmp", "--export-jpeg", "o.jpg", "d.tlo"}, QStringList{"--describe", "--frobnicate", "d.tlo"},
        QStringList{"--bogus", "d.tlo"}}) {
    const PixelRun r = Run(args);
    EXPECT_EQ(r.Status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.Err.contains("usage: tamlo")) << args.join(' ').toStdString();
    EXPECT_TRUE(Entries().isEmpty());
  }
}

TEST_F(BatchTest, BMPOfTheLastAndOfAnEarlierStep) {
  WriteDrawing();
  PixelRun r = Run({"--export-bmp", "out.bmp", "d.tlo"});
  // Written, but without the missing background the last step names.
  ASSERT_EQ(r.Status, 3) << r.Err.toStdString();
  // The missing picture's locating question got its safe answer.
  EXPECT_TRUE(r.Err.contains("nowhere.bmpが見つかりません。場所を指定しますか？ -> No"));
  const QByteArray bmp = ReadFile("out.bmp");
  ASSERT_GE(bmp.size(), 54);
  EXPECT_EQ(uint8_t(bmp[28]), 32);
  QImage picture = QImage::fromData(bmp, "BMP");
  ASSERT_EQ(picture.size(), QSize(640, 480));
  EXPECT_EQ(picture.pixel(10, 30) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(picture.pixel(200, 30) & 0xFFFFFF, 0x000000u);

  r = Run({"--step", "1", "--export-bmp", "out.bmp", "d.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  EXPECT_EQ(ReadFile("out.bak"), bmp);  // the first picture is the backup
  picture = QImage(Path("out.bmp"));
  EXPECT_EQ(picture.pixel(10, 30) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(picture.pixel(100, 30) & 0xFFFFFF, 0xFFFFFFu);  // step 2 not yet

  r = Run({"--export-bmp", "zero.bmp", "--step", "0", "d.tlo"});
  ASSERT_EQ(r.Status, 0);
  EXPECT_EQ(QImage(Path("zero.bmp")).pixel(10, 30) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(BatchTest, JPEGIsBaseline) {
  WriteDrawing();
  const PixelRun r = Run({"--export-jpeg", "out.jpg", "d.tlo"});
  ASSERT_EQ(r.Status, 3) << r.Err.toStdString();  // written; nowhere.bmp is missing
  const QByteArray jpeg = ReadFile("out.jpg");
  EXPECT_TRUE(jpeg.startsWith("\xFF\xD8"));
  EXPECT_TRUE(jpeg.contains("\xFF\xC0"));
  EXPECT_FALSE(jpeg.contains("\xFF\xC2"));
  EXPECT_EQ(QImage::fromData(jpeg, "JPG").size(), QSize(640, 480));
}

TEST_F(BatchTest, ProcessWritesOnePicturePerRecord) {
  WriteDrawing();
  QDir(Dir.path()).mkdir("pics");
  const PixelRun r = Run({"--export-process", "pics/p.jpg", "d.tlo"});
  ASSERT_EQ(r.Status, 3) << r.Err.toStdString();  // written; nowhere.bmp is missing
  EXPECT_EQ(QDir(Path("pics")).entryList(QDir::Files, QDir::Name),
            (QStringList{"p001.jpg", "p002.jpg", "p003.jpg", "p004.jpg"}));
}

TEST_F(BatchTest, DescribeListsEveryRecord) {
  WriteFile("d.tlo", DrawingFileText({RectRecord(1, 10, 10, 60, 50), ReadBGRecord(Path("sky.jpg"))}));
  const PixelRun r = Run({"--describe", "d.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  const QString expected = "Create Rectangle (ID = 1)\nat 10:02:15.07.\n\nRead BG file (" + Path("sky.jpg") +
                           ")\nat 10:02:16.00.\n\n";
  EXPECT_EQ(QString::fromUtf8(r.Out), expected);
}

TEST_F(BatchTest, FailuresExitWithOne) {
  PixelRun r = Run({"--export-bmp", "o.bmp", "missing.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("データ読み込みに失敗しました"));

  WriteFile("bad.tlo", "not a drawing\r\n");
  r = Run({"--describe", "bad.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("データフォーマットが違います"));

  // A damaged record: the message, where reading stopped and what was
  // expected there.
  WriteFile("cut.tlo", "TAMLO FILE FORMAT 1.2\r\nbegin ActionData\r\n10 00 00 00\r\nBranch\r\n1\r\n");
  r = Run({"--describe", "cut.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("tamlo: ActionItem：読み込みエラー (line 6: expected \"end ActionData\", found the end "
                             "of the file)\n"))
      << r.Err.toStdString();

  WriteFile("w.Tlo", DrawingFileText({}));
  r = Run({"--describe", "w.Tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("ファイルけいしきがちがいます"));

  WriteDrawing();
  r = Run({"--export-jpeg", "o.jpg", "--step", "5", "d.tlo"});
  EXPECT_EQ(r.Status, 1);
  r = Run({"--export-jpeg", "no/such/folder/o.jpg", "d.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("を作成できません"));
  EXPECT_FALSE(QFileInfo::exists(Path("o.jpg")));
}

}  // namespace
