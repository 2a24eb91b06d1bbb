// The class portfolio made by the program itself: a folder of drawings
// (Japanese names among them, one damaged) becomes an index with a card per
// drawing and a folder per drawing with its page, pictures, video and file;
// running again replaces everything without backups.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "batch_run.h"
#include "io/portfolio_page.h"
#include "support/file_fixture.h"
#include "video_decode.h"

namespace {

class BatchPortfolioTest : public BatchFolderTest {
 protected:
  // A drawing of `rects` rectangles in a row.
  void WriteRects(const QString& name, int rects) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= rects; ++i)
      lines += RectRecord(i, 10 + 20 * i, 100 + 10 * (i % 5), 30 + 20 * i, 140 + 10 * (i % 5));
    WriteFile(name, (lines.join("\r\n") + "\r\n").toUtf8());
  }
  QString Text(const QString& name) const { return QString::fromUtf8(ReadFile(name)); }
};

TEST_F(BatchPortfolioTest, AClassFolderBecomesAnIndexAndAPagePerDrawing) {
  WriteRects("class/はなこ.tlo", 12);
  WriteRects("class/taro 1.tlo", 3);
  WriteFile("class/こわれた.tlo", "TAMLO FILE FORMAT 1.2\r\nbegin ActionData\r\nnonsense\r\n");
  WriteFile("class/notes.txt", "not a drawing");
  const BatchRun r = Run({"--portfolio", "site/", "--jobs", "2", "class"});
  EXPECT_EQ(r.Status, 1) << r.Err.toStdString();  // the worst: the damaged drawing
  EXPECT_TRUE(r.Err.contains("tamlo: 3 drawings: 2 done, 1 failed")) << r.Err.toStdString();

  // The index: a card each, in the order of the names; the damaged one says so.
  const QString index = Text("site/index.html");
  ASSERT_FALSE(index.isEmpty());
  EXPECT_EQ(index.count("<li class=\"card"), 3);
  EXPECT_LT(index.indexOf("こわれた"), index.indexOf("はなこ"));
  EXPECT_TRUE(index.contains("<li class=\"card damaged\"><div class=\"about\"><div class=\"name\">こわれた</div>"));
  EXPECT_TRUE(index.contains(">はなこ</div><div class=\"facts\">12 ステップ"));
  EXPECT_TRUE(index.contains("href=\"%E3%81%AF%E3%81%AA%E3%81%93/index.html\""));
  EXPECT_TRUE(index.contains("href=\"taro%201/index.html\""));
  EXPECT_FALSE(QFileInfo::exists(Path("site/こわれた")));

  // Each drawing's folder: page, pictures, video, strip and the drawing.
  EXPECT_EQ(Files("site/はなこ"),
            (QStringList{"index.html", "picture.png", "poster.png", "step-0002.png", "step-0003.png", "step-0004.png",
                         "step-0005.png", "step-0006.png", "step-0008.png", "step-0009.png", "step-0010.png",
                         "step-0011.png", "step-0012.png", "thumbnail.png", "video.mp4", "はなこ.tlo"}));
  EXPECT_EQ(ReadFile("site/はなこ/はなこ.tlo"), ReadFile("class/はなこ.tlo"));
  const QImage poster(Path("site/はなこ/poster.png"));
  const QImage doubled(Path("site/はなこ/picture.png"));
  ASSERT_EQ(poster.size(), QSize(640, 480));
  ASSERT_EQ(doubled.size(), QSize(1280, 960));
  for (const QPoint& p : {QPoint(0, 0), QPoint(251, 120), QPoint(639, 479), QPoint(45, 105)})
    EXPECT_EQ(doubled.pixel(p * 2 + QPoint(1, 1)), poster.pixel(p)) << p.x() << "," << p.y();
  EXPECT_EQ(QImage(Path("site/はなこ/thumbnail.png")).size(), QSize(kPortfolioThumbWidth, kPortfolioThumbHeight));
  // The poster is the last step, as a run for the drawing alone draws it.
  ASSERT_EQ(Run({"--export-png", "alone.png", "class/はなこ.tlo"}).Status, 0);
  EXPECT_EQ(QImage(Path("alone.png")).convertToFormat(QImage::Format_RGB32), poster.convertToFormat(QImage::Format_RGB32));

  // The video: H.264, a frame a step, the last one the final picture.
  const DecodedVideo film = DecodeVideo(Path("site/はなこ/video.mp4"));
  ASSERT_TRUE(film.Ok);
  EXPECT_EQ(film.Codec, AV_CODEC_ID_H264);
  EXPECT_EQ(film.Pictures.size(), 12u);
  // The strip's picture of step 6 is the video's sixth frame, smaller.
  const QImage six(Path("site/はなこ/step-0006.png"));
  const QImage frame6 = film.Pictures[5].scaled(six.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  int differing = 0;
  for (int y = 0; y < six.height(); y += 4)
    for (int x = 0; x < six.width(); x += 4) differing += std::abs(qGray(six.pixel(x, y)) - qGray(frame6.pixel(x, y))) > 40;
  EXPECT_LT(differing, 40);
  // …and differs from the last step.
  EXPECT_NE(six, QImage(Path("site/はなこ/step-0012.png")));

  // The page names its files.
  const QString page = Text("site/はなこ/index.html");
  EXPECT_TRUE(page.contains("<h1>はなこ</h1>"));
  EXPECT_TRUE(page.contains("download=\"はなこ.tlo\""));
  EXPECT_TRUE(page.contains("href=\"../index.html\""));
  EXPECT_EQ(page.count("<figure>"), 10);
}

TEST_F(BatchPortfolioTest, RunningAgainReplacesEverythingWithoutBackups) {
  WriteRects("a.tlo", 4);
  WriteRects("b.tlo", 2);
  ASSERT_EQ(Run({"--portfolio", "site", "a.tlo", "b.tlo"}).Status, 0);
  WriteRects("a.tlo", 6);
  const BatchRun again = Run({"--portfolio", "site", "--title", "1ねん 2くみ", "a.tlo", "b.tlo"});
  ASSERT_EQ(again.Status, 0) << again.Err.toStdString();
  for (const QString folder : {"site", "site/a", "site/b"})
    for (const QString& name : Files(folder)) EXPECT_FALSE(name.endsWith(".bak") || name.endsWith(".tmp")) << name.toStdString();
  EXPECT_EQ(DecodeVideo(Path("site/a/video.mp4")).Pictures.size(), 6u);
  EXPECT_TRUE(Text("site/index.html").contains("<h1>1ねん 2くみ</h1>"));
  EXPECT_TRUE(Text("site/a/index.html").contains("6 ステップ"));
  EXPECT_EQ(ReadFile("site/a/a.tlo"), ReadFile("a.tlo"));
}

TEST_F(BatchPortfolioTest, TwoDrawingsOfOneNameAndBadLinesAreRefused) {
  WriteRects("x/a.tlo", 2);
  WriteRects("y/a.tlo", 3);
  const BatchRun r = Run({"--portfolio", "site/", "x/a.tlo", "y/a.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains("another drawing of the same name")) << r.Err.toStdString();
  EXPECT_EQ(DecodeVideo(Path("site/a/video.mp4")).Pictures.size(), 2u);  // the first one's

  WriteFile("empty/readme.txt", "no drawings here");
  EXPECT_EQ(Run({"--portfolio", "site/", "empty"}).Status, 2);
  EXPECT_EQ(Run({"--portfolio", "site/", "--step", "2", "x/a.tlo"}).Status, 2);
  EXPECT_EQ(Run({"--portfolio", "site/", "--columns", "2", "x/a.tlo"}).Status, 2);
}

// Names whose part before the extension is "." or ".." or the index page's
// name: every drawing still gets a folder of its own inside the portfolio
// (never the folder above it), and the index page stays a page. The same
// for the numbered series of a folder export.
TEST_F(BatchPortfolioTest, OddNamesStayInsideTheOutputFolder) {
  WriteRects("in/...tlo", 2);
  WriteRects("in/..tlo", 3);
  WriteRects("in/index.html.tlo", 4);
  ASSERT_TRUE(Succeeds({"--portfolio", "out/site/", "in/...tlo", "in/..tlo", "in/index.html.tlo"}));
  EXPECT_EQ(QDir(Path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"site"});
  EXPECT_EQ(QDir(Path("out/site")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{"...tlo", "..tlo", "index.html", "index.html.tlo"}));
  EXPECT_TRUE(QFileInfo(Path("out/site/index.html")).isFile());
  const QString index = Text("out/site/index.html");
  for (const char* folder : {"...tlo", "..tlo", "index.html.tlo"}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(index.contains(QStringLiteral("href=\"%1/index.html\"").arg(folder)));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("out/site/%1/video.mp4").arg(folder))).isFile());
  }
  EXPECT_EQ(DecodeVideo(Path("out/site/..tlo/video.mp4")).Pictures.size(), 3u);

  ASSERT_TRUE(Succeeds({"--export-process", "out/series/", "in/...tlo"}));
  EXPECT_EQ(QDir(Path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"series", "site"}));
  EXPECT_EQ(Files("out/series/...tlo"), (QStringList{"..001.jpg", "..002.jpg"}));
}

}  // namespace
