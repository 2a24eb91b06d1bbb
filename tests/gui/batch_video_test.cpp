// The batch mode's time-lapse videos, read back with FFmpeg: one frame a
// step, the same pictures as the batch's own pictures of those steps, frame
// times from the pace and the hold, a looping GIF, and the usage refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "batch_run.h"
#include "support/file_fixture.h"
#include "video_decode.h"

namespace {

// A rectangle record made at `time` ("HH MM SS hh").
QStringList TimedRect(int id, const QString& time, int x, QColor body) {
  QStringList r = RectRecord(id, x, 40, x + 60, 120);
  r[1] = time;
  r[8] = QStringLiteral("$00%1%2%3")
             .arg(body.blue(), 2, 16, QChar(u'0'))
             .arg(body.green(), 2, 16, QChar(u'0'))
             .arg(body.red(), 2, 16, QChar(u'0'))
             .toUpper();
  return r;
}

class BatchVideoTest : public BatchFolderTest {
 protected:
  // Five rectangles: at 0.00 s, 0.30 s, 40.00 s (a long pause), 40.00 s
  // (the same moment) and 40.70 s.
  void WriteDrawing() {
    WriteFile("d.tlo", DrawingFileText({TimedRect(1, "10 02 15 00", 10, Qt::red), TimedRect(2, "10 02 15 30", 130, Qt::blue),
                                        TimedRect(3, "10 02 55 00", 250, Qt::green), TimedRect(4, "10 02 55 00", 370, Qt::yellow),
                                        TimedRect(5, "10 02 55 70", 490, Qt::magenta)}));
  }
  // The batch's BMP of a step.
  QImage StepPicture(int step) {
    const QString name = QStringLiteral("step%1.bmp").arg(step);
    const BatchRun r = Run({"--export-bmp", name, "--step", QString::number(step), "d.tlo"});
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    const QImage picture = QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
    QFile::remove(Path(name));
    return picture;
  }
};

TEST_F(BatchVideoTest, MP4HasAFrameAStepAtFourStepsASecondAndHoldsTheLast) {
  WriteDrawing();
  const BatchRun r = Run({"--export-video", "film.mp4", "d.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
  EXPECT_EQ(Files(), (QStringList{"d.tlo", "film.mp4"}));  // no temporary file left

  const DecodedVideo d = DecodeVideo(Path("film.mp4"));
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.Codec, AV_CODEC_ID_H264);
  EXPECT_EQ(d.PixelFormat, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(d.Width, 640);
  EXPECT_EQ(d.Height, 480);
  ASSERT_EQ(d.Pictures.size(), 5u);
  EXPECT_EQ(d.StartMs, (std::vector<int64_t>{0, 250, 500, 750, 1000}));
  EXPECT_EQ(d.LengthMs.back(), 2000);

  // The first and the last frame are the pictures of those steps, within
  // what a lossy encoding changes.
  for (const auto& [frame, step] : {std::pair{size_t(0), 1}, std::pair{size_t(4), 5}}) {
    const QImage expected = StepPicture(step);
    ASSERT_EQ(expected.size(), QSize(640, 480));
    EXPECT_LT(MeanPictureDiff(d.Pictures[frame], expected), 2.0) << "step " << step;
  }
  // The first frame has the first rectangle only.
  EXPECT_GT(qRed(d.Pictures[0].pixel(40, 80)), 200);
  EXPECT_GT(qBlue(d.Pictures[0].pixel(520, 80)), 200);  // still white there
  EXPECT_GT(qGreen(d.Pictures[0].pixel(520, 80)), 200);
  EXPECT_LT(qGreen(d.Pictures[4].pixel(520, 80)), 60);  // magenta at the end
}

TEST_F(BatchVideoTest, GIFAsDrawnLoopsWithTheRecordedTimesAndExactPictures) {
  WriteDrawing();
  ASSERT_TRUE(Succeeds({"--export-video", "film.gif", "--pace", "drawn", "--hold", "1", "d.tlo"}));
  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.Codec, AV_CODEC_ID_GIF);
  ASSERT_EQ(d.Pictures.size(), 5u);
  // 0.30 s, the 39.7 s pause cut to 2 s, the same moment shown 0.05 s,
  // 0.70 s, the last held 1 s.
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{300, 2000, 50, 700, 1000}));
  for (int step : {1, 3, 5})
    EXPECT_EQ(MeanPictureDiff(d.Pictures[size_t(step - 1)], StepPicture(step)), 0.0) << "step " << step;
  EXPECT_TRUE(GIFLoopsForever(ReadFile("film.gif")));

  // A slower fixed pace and a longer hold.
  ASSERT_EQ(Run({"--export-video", "slow.gif", "--pace", "0.5", "--hold", "3", "d.tlo"}).Status, 0);
  EXPECT_EQ(DecodeVideo(Path("slow.gif")).LengthMs, (std::vector<int64_t>{2000, 2000, 2000, 2000, 3000}));
}

TEST_F(BatchVideoTest, AnExistingVideoIsKeptAsTheBackupAndAnEmptyDrawingGivesTheBlankCanvas) {
  WriteDrawing();
  WriteFile("film.mp4", "an older film");
  ASSERT_EQ(Run({"--export-video", "film.mp4", "d.tlo"}).Status, 0);
  EXPECT_EQ(ReadFile("film.bak"), "an older film");
  EXPECT_EQ(DecodeVideo(Path("film.mp4")).Pictures.size(), 5u);

  WriteFile("empty.tlo", DrawingFileText({}));
  const BatchRun r = Run({"--export-video", "none.gif", "empty.tlo"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_TRUE(r.Err.contains("the drawing has no steps; its video or series shows the blank canvas")) << r.Err.toStdString();
  // One white frame, held as a last step is.
  const DecodedVideo d = DecodeVideo(Path("none.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 1u);
  EXPECT_EQ(d.LengthMs, std::vector<int64_t>{2000});
  EXPECT_EQ(d.Pictures[0].pixel(320, 240) & 0xFFFFFF, 0xFFFFFFu);
  // The series of an empty drawing: its one picture, step 0.
  const BatchRun p = Run({"--export-process", "empty.jpg", "empty.tlo"});
  EXPECT_EQ(p.Status, 0);
  EXPECT_TRUE(QFile::exists(Path("empty000.jpg")));
  EXPECT_FALSE(QFile::exists(Path("empty001.jpg")));
}

TEST_F(BatchVideoTest, BadPaceHoldOrVideoNameIsBadUsage) {
  WriteDrawing();
  for (const QStringList& args :
       {QStringList{"--export-video", "f.mp4", "--pace", "fast", "d.tlo"}, QStringList{"--export-video", "f.mp4", "--pace", "0", "d.tlo"},
        QStringList{"--export-video", "f.mp4", "--pace", "101", "d.tlo"}, QStringList{"--export-video", "f.mp4", "--hold", "-1", "d.tlo"},
        QStringList{"--export-video", "f.mp4", "--pace", "2", "--pace", "3", "d.tlo"}, QStringList{"--export-video", "f.avi", "d.tlo"},
        QStringList{"--export-bmp", "f.bmp", "--pace", "2", "d.tlo"}, QStringList{"--export-video", "f.mp4", "--step", "2", "d.tlo"},
        QStringList{"--export-video", "f.tlo", "d.tlo"}}) {
    const BatchRun r = Run(args);
    EXPECT_EQ(r.Status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.Err.contains("usage: tamlo")) << args.join(' ').toStdString();
  }
  EXPECT_EQ(Files(), QStringList{"d.tlo"});
}

}  // namespace

namespace {

// The GIF's one palette is made from the colours of every step, not of the
// last one alone: colours that later steps cover keep their exact values.
TEST_F(BatchVideoTest, TheGIFPaletteHoldsTheColoursOfEveryStep) {
  QByteArray text = "TAMLO FILE FORMAT 1.2\r\n";
  std::vector<QColor> colours;
  for (int k = 1; k <= 120; ++k) {
    // Each rectangle covers the one before, in a colour of its own.
    const QColor body((k * 37) % 256, (k * 91) % 256, (k * 53 + 40) % 256);
    colours.push_back(body);
    text += (TimedRect(k, "10 02 15 00", 100, body).join("\r\n") + "\r\n").toUtf8();
  }
  WriteFile("many.tlo", text);
  ASSERT_TRUE(Succeeds({"--export-video", "many.gif", "--pace", "100", "many.tlo"}));
  const DecodedVideo d = DecodeVideo(Path("many.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 120u);
  int wrong = 0;
  for (size_t k = 0; k < d.Pictures.size(); ++k) wrong += (d.Pictures[k].pixel(130, 80) & 0xFFFFFF) != (colours[k].rgb() & 0xFFFFFF);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
