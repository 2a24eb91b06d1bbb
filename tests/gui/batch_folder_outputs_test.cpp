// Folder exports as a class uses them: videos in the format asked for (GIF,
// MP4 or WebM), PNG pictures, contact sheets laid out by the options, and
// outputs that are replaced on every run without backups, while a single
// file keeps its backup.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "batch_run.h"
#include "io/contact_sheet.h"
#include "support/file_fixture.h"
#include "video_decode.h"

namespace {

class BatchFolderOutputsTest : public BatchFolderTest {
 protected:
  void WriteRects(const QString& name, int rects) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= rects; ++i) lines += RectRecord(i, 20 + 60 * i, 100, 60 + 60 * i, 140);
    WriteFile(name, (lines.join("\r\n") + "\r\n").toUtf8());
  }
};

TEST_F(BatchFolderOutputsTest, FolderVideosComeInTheFormatAsked) {
  WriteRects("a.tlo", 3);
  WriteRects("b.tlo", 5);
  const struct {
    const char* Format;
    AVCodecID Codec;
  } formats[] = {{"gif", AV_CODEC_ID_GIF}, {"webm", AV_CODEC_ID_VP9}, {"mp4", AV_CODEC_ID_H264}};
  for (const auto& f : formats) {
    SCOPED_TRACE(f.Format);
    const QString folder = QStringLiteral("films-%1/").arg(f.Format);
    ASSERT_TRUE(Succeeds({"--export-video", folder, "--video-format", f.Format, "a.tlo", "b.tlo"}));
    const QString ext = QString::fromLatin1(f.Format);
    EXPECT_EQ(Files(folder), (QStringList{"a." + ext, "b." + ext}));
    const DecodedVideo d = DecodeVideo(Path(folder + "b." + ext));
    ASSERT_TRUE(d.Ok);
    EXPECT_EQ(d.Codec, f.Codec);
    EXPECT_EQ(d.Pictures.size(), 5u);
  }
  // A single video takes its extension's format; the option is for folders.
  EXPECT_EQ(Run({"--export-video", "one.webm", "a.tlo"}).Status, 0);
  EXPECT_EQ(DecodeVideo(Path("one.webm")).Codec, AV_CODEC_ID_VP9);
  EXPECT_EQ(Run({"--export-video", "one.mp4", "--video-format", "gif", "a.tlo"}).Status, 2);
  EXPECT_EQ(Run({"--export-video", "f/", "--video-format", "avi", "a.tlo"}).Status, 2);
  EXPECT_EQ(Run({"--export-png", "f/", "--video-format", "gif", "a.tlo"}).Status, 2);
}

TEST_F(BatchFolderOutputsTest, RunningAgainReplacesFolderOutputsWithoutBackups) {
  WriteRects("a.tlo", 2);
  WriteRects("b.tlo", 3);
  for (const QString option : {"--export-png", "--export-jpeg", "--export-bmp", "--export-video"}) {
    SCOPED_TRACE(option.toStdString());
    const QString folder = "out" + option + "/";
    ASSERT_EQ(Run({option, folder, "a.tlo", "b.tlo"}).Status, 0);
    const QStringList first = Files(folder);
    ASSERT_EQ(first.size(), 2);
    WriteRects("a.tlo", 4);
    ASSERT_EQ(Run({option, folder, "a.tlo", "b.tlo"}).Status, 0);
    EXPECT_EQ(Files(folder), first);  // no .bak, no leftovers
    // One drawing into the folder is a folder export too.
    ASSERT_EQ(Run({option, folder, "a.tlo"}).Status, 0);
    EXPECT_EQ(Files(folder), first);
    WriteRects("a.tlo", 2);
  }
  // The PNG pictures are the drawings' pictures.
  EXPECT_EQ(QImage(Path("out--export-png/b.png")).size(), QSize(640, 480));
  // A single file still keeps its backup.
  ASSERT_EQ(Run({"--export-png", "one.png", "a.tlo"}).Status, 0);
  ASSERT_EQ(Run({"--export-png", "one.png", "b.tlo"}).Status, 0);
  EXPECT_TRUE(QFileInfo::exists(Path("one.bak")));
}

TEST_F(BatchFolderOutputsTest, TheContactSheetOptionsShapeTheSheet) {
  for (const char* name : {"one.tlo", "two.tlo", "three.tlo", "four.tlo", "five.tlo"}) WriteRects(name, 2);
  const QStringList drawings{"one.tlo", "two.tlo", "three.tlo", "four.tlo", "five.tlo"};

  // The default: 320 × 240 thumbnails.
  ASSERT_EQ(Run(QStringList{"--contact-sheet", "plain.png"} + drawings).Status, 0);
  EXPECT_EQ(QImage(Path("plain.png")).size(), ContactSheet(std::vector<SheetEntry>(5)).size());
  EXPECT_GE(SheetThumbnailRect(0, 5).width(), 320);

  // Thumbnail size, columns and a title.
  const BatchRun r = Run(QStringList{"--contact-sheet", "laid.png", "--thumb-size", "400x300", "--columns", "5", "--title",
                                     "1ねん 2くみ"} + drawings);
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  SheetLayout layout;
  layout.ThumbWidth = 400;
  layout.ThumbHeight = 300;
  layout.Columns = 5;
  layout.Title = "1ねん 2くみ";
  const QImage laid(Path("laid.png"));
  EXPECT_EQ(laid.size(), ContactSheet(std::vector<SheetEntry>(5), layout).size());
  const QRect fifth = SheetThumbnailRect(4, 5, layout);
  EXPECT_EQ(fifth.top(), SheetThumbnailRect(0, 5, layout).top());  // one row
  EXPECT_EQ(laid.pixel(fifth.topLeft() + QPoint(5, 5)) & 0xFFFFFF, 0xFFFFFFu);

  // The A4 preset: a landscape page at 300 dpi.
  ASSERT_EQ(Run(QStringList{"--contact-sheet", "a4.png", "--page", "a4"} + drawings).Status, 0);
  const QImage a4(Path("a4.png"));
  EXPECT_EQ(a4.size(), QSize(3508, 2480));
  EXPECT_NEAR(a4.dotsPerMeterX() * 0.0254, 300, 0.5);

  // Options that do not go together, or with another output.
  EXPECT_EQ(Run(QStringList{"--contact-sheet", "x.png", "--page", "a5"} + drawings).Status, 2);
  EXPECT_EQ(Run(QStringList{"--contact-sheet", "x.png", "--page", "a4", "--thumb-size", "400x300"} + drawings).Status, 2);
  EXPECT_EQ(Run(QStringList{"--contact-sheet", "x.png", "--thumb-size", "400"} + drawings).Status, 2);
  EXPECT_EQ(Run(QStringList{"--contact-sheet", "x.png", "--columns", "0"} + drawings).Status, 2);
  EXPECT_EQ(Run({"--export-png", "x.png", "--columns", "2", "one.tlo"}).Status, 2);
  EXPECT_FALSE(QFileInfo::exists(Path("x.png")));
}

TEST_F(BatchFolderOutputsTest, TheHelpNamesTheNewOptionsAndTheDerivedFiles) {
  const BatchRun r = Run({"--help"});
  ASSERT_EQ(r.Status, 0);
  for (const char* text : {"--portfolio OUTDIR", "--thumb-size WxH", "--columns N", "--title TEXT", "--page a4|letter",
                           "--video-format", "without any .bak"})
    EXPECT_TRUE(r.Out.contains(text)) << text;
}

}  // namespace
