// The batch mode's outputs: a picture the drawing names that could not be
// drawn has its own exit status, pictures never go over drawings, and the
// numbered series replaces links instead of writing through them.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "batch_run.h"
#include "support/file_fixture.h"

namespace {

class BatchOutputTest : public BatchFolderTest {
 protected:
  QStringList Entries() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::System, QDir::Name); }
  void WriteSky(const QString& name) {
    QImage sky(64, 64, QImage::Format_RGB32);
    sky.fill(QColor(0, 0, 255));
    ASSERT_TRUE(sky.save(Path(name), "BMP"));
  }
};

TEST_F(BatchOutputTest, APictureThatCannotBeDrawnExitsWithThreeAndIsNamed) {
  WriteSky("sky.bmp");
  WriteFile("bad.bmp", "BM this is no bitmap at all, only words");
  // Step 2 names a missing picture, step 4 a damaged one, step 6 a good one.
  WriteFile("d.tlo", DrawingFileText({RectRecord(1, 10, 10, 60, 50), ReadBGRecord(Path("gone.bmp")),
                                      RectRecord(2, 100, 10, 150, 50), ReadBGRecord(Path("bad.bmp")),
                                      RectRecord(3, 200, 10, 250, 50), ReadBGRecord(Path("sky.bmp"))}));

  BatchRun r = Run({"--export-bmp", "two.bmp", "--step", "2", "d.tlo"});
  EXPECT_EQ(r.Status, 3) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains(("tamlo: the picture " + Path("gone.bmp") + " could not be drawn: no such file").toUtf8()))
      << r.Err.toStdString();
  EXPECT_TRUE(QImage(Path("two.bmp")).pixel(10, 30) == qRgb(0, 0, 0));  // the picture is written all the same

  r = Run({"--export-jpeg", "four.jpg", "--step", "4", "d.tlo"});
  EXPECT_EQ(r.Status, 3);
  EXPECT_TRUE(r.Err.contains("ビットマップイメージが不正です"));
  EXPECT_TRUE(r.Err.contains(("tamlo: the picture " + Path("bad.bmp") + " could not be drawn: the file is damaged").toUtf8()))
      << r.Err.toStdString();
  EXPECT_EQ(QImage(Path("four.jpg")).size(), QSize(640, 480));

  // The last step shows the good picture: nothing is missing from it.
  r = Run({"--export-bmp", "last.bmp", "d.tlo"});
  EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
  EXPECT_FALSE(r.Err.contains("could not be drawn"));
  EXPECT_EQ(QImage(Path("last.bmp")).pixel(5, 5), qRgb(0, 0, 255));
  r = Run({"--export-bmp", "one.bmp", "--step", "1", "d.tlo"});
  EXPECT_EQ(r.Status, 0);

  // The series shows steps 2 to 5 without their pictures; each is named once.
  r = Run({"--export-process", "p.jpg", "d.tlo"});
  EXPECT_EQ(r.Status, 3);
  EXPECT_EQ(r.Err.count("could not be drawn"), 2) << r.Err.toStdString();
  EXPECT_EQ(QDir(Dir.path()).entryList({"p*.jpg"}, QDir::Files).size(), 6);

  // Failing to write still is a failure.
  r = Run({"--export-bmp", "no/such/folder/x.bmp", "--step", "2", "d.tlo"});
  EXPECT_EQ(r.Status, 1);

  r = Run({"--help"});
  EXPECT_TRUE(r.Out.contains("Exit status: 0 done, 1 failed, 2 bad usage, 3 written but a picture could\n"
                             "not be drawn, 4 stopped by SIGINT (Ctrl+C) or SIGTERM."));
}

TEST_F(BatchOutputTest, PicturesNeverGoOverTheDrawingOrAnyDrawingName) {
  const QByteArray drawing = DrawingFileText({RectRecord(1, 10, 10, 60, 50)});
  WriteFile("d.tlo", drawing);
  WriteFile("other.TLO", "another drawing");
  ASSERT_TRUE(QFile::link(Path("d.tlo"), Path("link.bmp")));
  ASSERT_EQ(::link(QFile::encodeName(Path("d.tlo")).constData(), QFile::encodeName(Path("hard.jpg")).constData()), 0);
  const QStringList before = Entries();

  for (const QStringList& args :
       {QStringList{"--export-bmp", "d.tlo", "d.tlo"}, QStringList{"--export-jpeg", "./d.tlo", "d.tlo"},
        QStringList{"--export-bmp", "other.TLO", "d.tlo"}, QStringList{"--export-jpeg", "new.Tlo", "d.tlo"},
        QStringList{"--export-process", "d.tlo", "d.tlo"}, QStringList{"--export-bmp", "link.bmp", "d.tlo"},
        QStringList{"--export-jpeg", "hard.jpg", "d.tlo"}, QStringList{"--export-jpeg", Path("link.bmp"), Path("d.tlo")}}) {
    const BatchRun r = Run(args);
    EXPECT_EQ(r.Status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.Err.contains("usage: tamlo")) << args.join(' ').toStdString();
    EXPECT_EQ(ReadFile("d.tlo"), drawing) << args.join(' ').toStdString();
    EXPECT_EQ(ReadFile("other.TLO"), "another drawing");
    EXPECT_EQ(Entries(), before) << args.join(' ').toStdString();
  }
  EXPECT_TRUE(Run({"--export-bmp", "d.tlo", "d.tlo"}).Err.contains("is the drawing"));
  EXPECT_TRUE(Run({"--export-bmp", "x.tlo", "d.tlo"}).Err.contains("has a drawing's extension"));

  // Another name next to it is fine.
  EXPECT_EQ(Run({"--export-bmp", "d.bmp", "d.tlo"}).Status, 0);
  EXPECT_EQ(ReadFile("d.tlo"), drawing);
}

TEST_F(BatchOutputTest, TheSeriesReplacesLinksInsteadOfWritingThroughThem) {
  WriteFile("d.tlo", DrawingFileText({RectRecord(1, 10, 10, 60, 50), RectRecord(2, 100, 10, 150, 50)}));
  WriteFile("keep.txt", "must stay");
  ASSERT_TRUE(QFile::link(Path("keep.txt"), Path("p001.jpg")));
  ASSERT_TRUE(Succeeds({"--export-process", "p.jpg", "d.tlo"}));
  EXPECT_EQ(ReadFile("keep.txt"), "must stay");
  EXPECT_FALSE(QFileInfo(Path("p001.jpg")).isSymLink());
  EXPECT_TRUE(ReadFile("p001.jpg").startsWith("\xFF\xD8"));
  EXPECT_EQ(Entries(), (QStringList{"d.tlo", "keep.txt", "p001.jpg", "p002.jpg"}));
}

}  // namespace

namespace {

// A drawing name that is a pipe or a link to an endless device must not
// hang or exhaust the batch mode: it is refused like an unreadable file.
TEST_F(BatchOutputTest, PipesAndDevicesNamedLikeDrawingsAreRefused) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.tlo")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.tlo")));
  for (const QString& name : {QStringLiteral("pipe.tlo"), QStringLiteral("zero.tlo")}) {
    const BatchRun r = Run({"--describe", name});
    EXPECT_EQ(r.Status, 1) << name.toStdString();
    const BatchRun e = Run({"--export-bmp", "out.bmp", name});
    EXPECT_EQ(e.Status, 1) << name.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.bmp")));
  }
}

}  // namespace
