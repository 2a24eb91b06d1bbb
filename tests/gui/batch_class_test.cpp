// A whole class in one command: several drawings into an output folder, in
// parallel, each read in its own folder; one that fails stops no other, the
// summary names it, and the exit status is the worst; the contact sheet;
// the series of a long drawing gets names that sort.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "batch_run.h"
#include "io/contact_sheet.h"
#include "support/file_fixture.h"
#include "support/plain_picture.h"

namespace {

class BatchClassTest : public BatchFolderTest {
 protected:
  QStringList Entries(const QString& folder) const {
    return QDir(Path(folder)).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  void WritePicture(const QString& name, QColor colour) { ASSERT_TRUE(SavePlainPicture(Path(name), colour, {64, 64})); }
  // A drawing of `rects` rectangles in a row.
  void WriteRects(const QString& name, int rects) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= rects; ++i) lines += RectRecord(i, 20 + 60 * i, 100, 60 + 60 * i, 140);
    WriteFile(name, (lines.join("\r\n") + "\r\n").toUtf8());
  }
};

TEST_F(BatchClassTest, EveryDrawingGetsItsPictureAndOneDamagedStopsNoOther) {
  WriteRects("class/a.tlo", 1);
  WriteRects("class/b.tlo", 3);
  WriteFile("class/broken.tlo", "TAMLO FILE FORMAT 1.2\r\nbegin ActionData\r\nnonsense\r\n");
  WriteRects("class/c.tlo", 2);
  const BatchRun r = Run({"--export-jpeg", "out/", "class/a.tlo", "class/b.tlo", "class/broken.tlo", "class/c.tlo",
                           "class/gone.tlo"});
  EXPECT_EQ(r.Status, 1) << r.Err.toStdString();
  EXPECT_EQ(Entries("out"), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
  // Each is the picture a run for that drawing alone writes.
  ASSERT_EQ(Run({"--export-jpeg", "b-alone.jpg", "class/b.tlo"}).Status, 0);
  EXPECT_EQ(ReadFile("out/b.jpg"), ReadFile("b-alone.jpg"));
  // The summary counts and names the drawings that failed, with the reason.
  EXPECT_TRUE(r.Err.contains("tamlo: 5 drawings: 3 done, 2 failed\n")) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains("tamlo:   failed: class/broken.tlo: ActionItem：読み込みエラー (line 4: expected "
                             "\"TargetType\", found the end of the file)\n"))
      << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains("tamlo:   failed: class/gone.tlo: データ読み込みに失敗しました\n")) << r.Err.toStdString();
  // Standard error is no terminal here: a plain line per drawing.
  EXPECT_TRUE(r.Err.contains("] class/a.tlo: done\n")) << r.Err.toStdString();
  EXPECT_FALSE(r.Err.contains("\r"));
}

TEST_F(BatchClassTest, EachDrawingFindsThePicturesBesideIt) {
  // Both drawings name "sky.bmp" without a folder: each its own.
  WritePicture("red/sky.bmp", QColor(255, 0, 0));
  WritePicture("blue/sky.bmp", QColor(0, 0, 255));
  for (const char* name : {"red/r.tlo", "blue/b.tlo"})
    WriteFile(name, DrawingFileText({RectRecord(1, 300, 300, 340, 340), ReadBGRecord("sky.bmp")}));
  const BatchRun r = Run({"--export-bmp", "out", "--jobs", "2", "red/r.tlo", "blue/b.tlo"});
  ASSERT_EQ(r.Status, 2) << "out is no folder yet and does not end in /";
  ASSERT_TRUE(QDir().mkpath(Path("out")));
  const BatchRun ok = Run({"--export-bmp", "out", "--jobs", "2", "red/r.tlo", "blue/b.tlo"});
  ASSERT_EQ(ok.Status, 0) << ok.Err.toStdString();
  EXPECT_EQ(QImage(Path("out/r.bmp")).pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(QImage(Path("out/b.bmp")).pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(BatchClassTest, TheExitStatusIsTheWorstOfTheDrawings) {
  WriteRects("a.tlo", 2);
  WriteFile("lost.tlo", DrawingFileText({RectRecord(1, 10, 10, 60, 50), ReadBGRecord(Path("nowhere.bmp"))}));
  WriteFile("bad.tlo", "not a drawing at all");

  BatchRun r = Run({"--export-png", "o/", "a.tlo", "lost.tlo"});
  EXPECT_EQ(r.Status, 3) << r.Err.toStdString();  // written, a picture not drawn
  EXPECT_EQ(Entries("o"), (QStringList{"a.png", "lost.png"}));
  EXPECT_EQ(QImage(Path("o/a.png")).size(), QSize(640, 480));
  EXPECT_TRUE(r.Err.contains("tamlo: lost.tlo: the picture " + Path("nowhere.bmp").toUtf8() + " could not be drawn"))
      << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains("1 written without a picture they name"));

  r = Run({"--export-png", "o/", "lost.tlo", "bad.tlo", "a.tlo"});
  EXPECT_EQ(r.Status, 1) << r.Err.toStdString();  // failed is worse

  // Several drawings into one file is bad usage, before anything is done.
  r = Run({"--export-png", "one.png", "a.tlo", "lost.tlo"});
  EXPECT_EQ(r.Status, 2);
  EXPECT_TRUE(r.Err.contains("usage: tamlo"));
  EXPECT_FALSE(QFile::exists(Path("one.png")));
}

TEST_F(BatchClassTest, DrawingsOfTheSameNameDoNotOverwriteEachOther) {
  WriteRects("x/a.tlo", 1);
  WriteRects("y/a.tlo", 4);
  const BatchRun r = Run({"--export-bmp", "out/", "x/a.tlo", "y/a.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Entries("out"), QStringList{"a.bmp"});
  // The first one named is written; the second is named as failed.
  ASSERT_EQ(Run({"--export-bmp", "alone.bmp", "x/a.tlo"}).Status, 0);
  EXPECT_EQ(ReadFile("out/a.bmp"), ReadFile("alone.bmp"));
  EXPECT_TRUE(r.Err.contains("failed: y/a.tlo: another drawing of the same name")) << r.Err.toStdString();
}

TEST_F(BatchClassTest, VideosAndSeriesIntoAFolder) {
  WriteRects("a.tlo", 3);
  WriteRects("b.tlo", 2);
  BatchRun r = Run({"--export-video", "films/", "--pace", "10", "a.tlo", "b.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  EXPECT_EQ(Entries("films"), (QStringList{"a.mp4", "b.mp4"}));

  r = Run({"--export-process", "steps/", "a.tlo", "b.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  EXPECT_EQ(Entries("steps"), (QStringList{"a", "b"}));
  EXPECT_EQ(Entries("steps/a"), (QStringList{"a001.jpg", "a002.jpg", "a003.jpg"}));
  EXPECT_EQ(Entries("steps/b"), (QStringList{"b001.jpg", "b002.jpg"}));
}

TEST_F(BatchClassTest, ALongSeriesHasNamesOfOneWidth) {
  WriteRects("long.tlo", 1000);
  ASSERT_TRUE(Succeeds({"--export-process", "p/", "long.tlo"}));
  const QStringList names = Entries("p/long");
  ASSERT_EQ(names.size(), 1000);
  EXPECT_EQ(names.first(), "long0001.jpg");
  EXPECT_EQ(names[998], "long0999.jpg");
  EXPECT_EQ(names.last(), "long1000.jpg");  // sorted by name = by step
}

TEST_F(BatchClassTest, TheContactSheetShowsEveryDrawingInAGrid) {
  WritePicture("g/green.bmp", QColor(0, 160, 0));
  WriteFile("g/one.tlo", DrawingFileText({ReadBGRecord("green.bmp")}));
  WriteRects("two.tlo", 2);
  WriteFile("three.tlo", "damaged");
  WriteRects("four.tlo", 1);
  const BatchRun r = Run({"--contact-sheet", "sheet.png", "g/one.tlo", "two.tlo", "three.tlo", "four.tlo"});
  EXPECT_EQ(r.Status, 1) << r.Err.toStdString();
  const QImage sheet = QImage(Path("sheet.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(sheet.isNull());
  EXPECT_EQ(sheet.size(), ContactSheet(std::vector<SheetEntry>(4)).size());
  // Two columns, two rows: the green background of one.tlo top left, the
  // rectangles of two.tlo top right, a cross for the damaged one.
  const QRect one = SheetThumbnailRect(0, 4), two = SheetThumbnailRect(1, 4), three = SheetThumbnailRect(2, 4);
  EXPECT_EQ(one.top(), two.top());
  EXPECT_GT(three.top(), one.bottom());
  EXPECT_EQ(sheet.pixel(one.topLeft() + QPoint(3, 3)) & 0xFFFFFF, 0x00A000u);
  EXPECT_EQ(sheet.pixel(two.topLeft() + QPoint(3, 3)) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_GT(qRed(sheet.pixel(three.center())), 150);  // the red cross
  EXPECT_LT(qGreen(sheet.pixel(three.center())), 80);
  EXPECT_TRUE(r.Err.contains("failed: three.tlo: ")) << r.Err.toStdString();

  // A folder is no sheet; a sheet over a drawing is refused.
  EXPECT_EQ(Run({"--contact-sheet", "g/", "two.tlo"}).Status, 2);
  EXPECT_EQ(Run({"--contact-sheet", "two.tlo", "two.tlo", "four.tlo"}).Status, 2);
  EXPECT_TRUE(ReadFile("two.tlo").startsWith("TAMLO FILE FORMAT"));
}

}  // namespace
