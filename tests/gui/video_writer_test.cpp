// Time-lapse videos: written with VideoWriter, read back with FFmpeg's own
// demuxers and decoders: frames, sizes, pictures, frame times, the GIF's
// palette and loop, and what is left on the disk after a cancel or failure.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include "history/replay_pace.h"
#include "io/video_writer.h"
#include "support/memory_use.h"
#include "video_decode.h"

namespace {

const QRgb kColours[] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 128, 0), qRgb(255, 255, 0), qRgb(0, 0, 0),
                         qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(128, 128, 128)};

// The drawing after `step` steps: a rectangle more at each step.
QRect StepRect(int step) { return QRect(20 + 70 * (step % 8), 30 + 100 * (step / 8 % 4), 60, 80); }
QImage Drawing(int steps, const QImage& background = QImage()) {
  QImage img(640, 480, QImage::Format_RGB32);
  if (background.isNull())
    img.fill(Qt::white);
  else
    img = background.copy();
  QPainter p(&img);
  for (int k = 1; k <= steps; ++k) p.fillRect(StepRect(k), QColor(kColours[k % 8]));
  return img;
}

// A photo-like background: thousands of colours.
QImage Photo() {
  QImage img(640, 480, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) img.setPixel(x, y, qRgb(x * 255 / 639, y * 255 / 479, 96 + (x + y) % 64));
  return img;
}

int ChannelDiff(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}
// Same picture, ignoring the unused fourth byte.
bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
  return true;
}

TimeOfDay At(int min, int sec, int hund) {
  TimeOfDay t;
  t.Hour = 10;
  t.Min = uint8_t(min);
  t.Sec = uint8_t(sec);
  t.Hund = uint8_t(hund);
  return t;
}

class VideoWriterTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  QString Path(const QString& name) const { return Dir.filePath(name); }
  QStringList Entries() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }
  QByteArray Bytes(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // An older video at `name`, to be replaced.
  void PutOldVideo(const QString& name) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old video");
  }

  // A drawing of five steps recorded at these times, played as drawn and
  // held 2 s: 0.30, 2 (a long pause cut short), 0.05 (same moment), 0.70
  // and the hold.
  std::vector<double> AsDrawnSteps() {
    HistoryList h;
    for (const TimeOfDay& t : {At(0, 0, 0), At(0, 0, 30), At(0, 40, 0), At(0, 40, 0), At(0, 40, 70)})
      h.Add().ActionTime = t;
    ReplayPace pace;
    pace.Kind = PaceKind::AsDrawn;
    std::vector<double> steps;
    for (int32_t step = 1; step <= h.Count(); ++step) steps.push_back(StepSeconds(pace, h, step));
    return steps;
  }

  void Write(const QString& name, VideoFormat format, const std::vector<double>& steps,
             const QImage& background = QImage()) {
    VideoWriter w;
    VideoResult r = w.Open(Path(name).toStdString(), format);
    ASSERT_TRUE(r.Ok) << r.Error;
    if (format == VideoFormat::GIF) w.AddPaletteSource(Drawing(int(steps.size()), background));
    for (size_t k = 0; k < steps.size(); ++k) {
      r = w.AddFrame(Drawing(int(k) + 1, background), steps[k]);
      ASSERT_TRUE(r.Ok) << r.Error;
    }
    EXPECT_EQ(w.FrameCount(), int(steps.size()));
    r = w.Finish();
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_FALSE(w.IsOpen());
  }
};

TEST_F(VideoWriterTest, MP4IsH264WithTheFramesAndTimesAsked) {
  const std::vector<double> steps = AsDrawnSteps();
  ASSERT_EQ(steps.size(), 5u);
  Write("film.mp4", VideoFormat::MP4, steps);
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});  // no temporary file left

  const DecodedVideo d = DecodeVideo(Path("film.mp4"));
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.Codec, AV_CODEC_ID_H264);
  EXPECT_EQ(d.Profile, FF_PROFILE_H264_HIGH);
  EXPECT_EQ(d.PixelFormat, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(d.Width, 640);
  EXPECT_EQ(d.Height, 480);
  ASSERT_EQ(d.Pictures.size(), 5u);
  EXPECT_EQ(d.StartMs, (std::vector<int64_t>{0, 300, 2300, 2350, 3050}));
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{300, 2000, 50, 700, 2000}));

  // Pictures as lossy as a JPEG: close overall, flat areas close everywhere.
  for (int k : {0, 4}) {
    const QImage source = Drawing(k + 1);
    EXPECT_LT(MeanPictureDiff(d.Pictures[k], source), 2.0) << k;
    for (int s = 1; s <= k + 1; ++s) {
      const QPoint centre = StepRect(s).center();
      EXPECT_LE(ChannelDiff(d.Pictures[k].pixel(centre), source.pixel(centre)), 8) << k << " " << s;
    }
    EXPECT_LE(ChannelDiff(d.Pictures[k].pixel(600, 460), qRgb(255, 255, 255)), 8);
  }
  // The last rectangle appears with the last frame only.
  const QPoint last = StepRect(5).center();
  EXPECT_GT(ChannelDiff(d.Pictures[3].pixel(last), kColours[5 % 8]), 100);

  // Plays while it loads: the index comes before the pictures.
  const QByteArray bytes = Bytes("film.mp4");
  ASSERT_GT(bytes.indexOf("moov"), 0);
  EXPECT_LT(bytes.indexOf("moov"), bytes.indexOf("mdat"));
}

TEST_F(VideoWriterTest, GIFKeepsAFewColoursExactlyAndLoopsForever) {
  const std::vector<double> steps = AsDrawnSteps();
  Write("film.gif", VideoFormat::GIF, steps);
  EXPECT_EQ(Entries(), QStringList{"film.gif"});

  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.Codec, AV_CODEC_ID_GIF);
  EXPECT_EQ(d.Width, 640);
  EXPECT_EQ(d.Height, 480);
  ASSERT_EQ(d.Pictures.size(), 5u);
  for (size_t k = 0; k < d.Pictures.size(); ++k) EXPECT_TRUE(SamePixels(d.Pictures[k], Drawing(int(k) + 1))) << k;
  EXPECT_EQ(d.StartMs, (std::vector<int64_t>{0, 300, 2300, 2350, 3050}));
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{300, 2000, 50, 700, 2000}));

  // The application extension that makes players loop: count 0 = forever.
  const QByteArray bytes = Bytes("film.gif");
  const qsizetype app = bytes.indexOf("NETSCAPE2.0");
  ASSERT_GT(app, 0);
  EXPECT_EQ(bytes.mid(app + 11, 5), QByteArray("\x03\x01\x00\x00\x00", 5));
}

// Over a photo the 256 colours cannot all be kept: FFmpeg's palette keeps
// the drawing's large flat colours (nearly every pixel of each rectangle
// exact; error diffusion may touch a few along their edges) and dithers the
// photo close to its colours.
TEST_F(VideoWriterTest, GIFOverAPhotoKeepsTheDrawingsColoursAndApproximatesThePhoto) {
  const QImage photo = Photo();
  Write("photo.gif", VideoFormat::GIF, std::vector<double>(9, 0.25), photo);
  const DecodedVideo d = DecodeVideo(Path("photo.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 9u);
  for (int k : {0, 4, 8}) {
    const QImage source = Drawing(k + 1, photo);
    for (int s = 1; s <= k + 1; ++s) {
      const QRect r = StepRect(s);
      int wrong = 0;
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) wrong += (d.Pictures[k].pixel(x, y) & 0xFFFFFF) != (kColours[s % 8] & 0xFFFFFF);
      EXPECT_LE(wrong, r.width() * r.height() / 100) << k << " " << s;
    }
    // The photo approximated: on average about as close as a fixed
    // 6 × 7 × 6 colour cube would come (about 10) on this photo, whose
    // colours spread evenly over a large part of the cube.
    EXPECT_LT(MeanPictureDiff(d.Pictures[k], source), 10.0) << k;
  }
}

// A long GIF of many colours holds no more memory than a short one: the
// frames pass through the palette mapping and are given back (before, the
// heap kept growing by about a frame's size per frame: 500 frames, 520 MB).
TEST_F(VideoWriterTest, GIFMemoryDoesNotGrowWithItsLength) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps freed memory on purpose";
#else
  // Every frame a rectangle more, each of a colour of its own: far more
  // colours than a GIF's 256.
  QImage frame(640, 480, QImage::Format_RGB32);
  const auto write = [&](int frames) {
    frame.fill(Qt::white);
    VideoWriter w;
    ASSERT_TRUE(w.Open(Path("long.gif").toStdString(), VideoFormat::GIF).Ok);
    const auto paint = [&](int k) {
      QPainter p(&frame);
      p.fillRect(QRect(10 + k % 400, 10 + k % 300, 200, 150), QColor::fromRgb(QRgb(0x9E3779B9u * unsigned(k + 1))));
    };
    for (int k = 0; k < frames; ++k) {
      paint(k);
      ASSERT_TRUE(w.AddPaletteSource(frame).Ok);
    }
    frame.fill(Qt::white);
    for (int k = 0; k < frames; ++k) {
      paint(k);
      ASSERT_TRUE(w.AddFrame(frame, 0.25).Ok);
    }
    ASSERT_TRUE(w.Finish().Ok);
  };
  write(100);
  const double afterShort = PeakResidentMB();
  write(500);
  const double afterLong = PeakResidentMB();
  if (afterShort == 0) GTEST_SKIP() << "no /proc/self/status";
  // 400 more frames of 1.2 MB each would be 480 MB.
  EXPECT_LT(afterLong - afterShort, 80.0) << afterShort << " MB after 100 frames, " << afterLong << " MB after 500";
#endif
}

TEST_F(VideoWriterTest, FrameTimesRoundWithoutAddingUp) {
  // Three thirds of a second, a time too short for a GIF player, a nonsense
  // time: the thirds end exactly at 1 s; the short ones take the shortest
  // time the format shows, and the next frame still ends where asked.
  const std::vector<double> steps = {1.0 / 3, 1.0 / 3, 1.0 / 3, 0.001, -1, 0.5};
  Write("times.gif", VideoFormat::GIF, steps);
  Write("times.mp4", VideoFormat::MP4, steps);
  const DecodedVideo gif = DecodeVideo(Path("times.gif"));
  const DecodedVideo mp4 = DecodeVideo(Path("times.mp4"));
  EXPECT_EQ(gif.LengthMs, (std::vector<int64_t>{330, 340, 330, 20, 20, 500}));
  EXPECT_EQ(gif.StartMs, (std::vector<int64_t>{0, 330, 670, 1000, 1020, 1040}));
  EXPECT_EQ(mp4.LengthMs, (std::vector<int64_t>{333, 334, 333, 1, 1, 500}));
  EXPECT_EQ(mp4.StartMs, (std::vector<int64_t>{0, 333, 667, 1000, 1001, 1002}));
}

TEST_F(VideoWriterTest, CancelAndFailuresLeaveNoFileBehind) {
  // A video cancelled halfway: the old file at the target stays as it was.
  PutOldVideo("film.mp4");
  {
    VideoWriter w;
    ASSERT_TRUE(w.Open(Path("film.mp4").toStdString(), VideoFormat::MP4).Ok);
    EXPECT_TRUE(QFile::exists(w.TempPath()));
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(w.AddFrame(Drawing(k), 0.25).Ok);
    w.Cancel();
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(Entries(), QStringList{"film.mp4"});
    EXPECT_EQ(Bytes("film.mp4"), "old video");
    EXPECT_FALSE(w.AddFrame(Drawing(1), 0.25).Ok);
    EXPECT_FALSE(w.Finish().Ok);
    EXPECT_EQ(Bytes("film.mp4"), "old video");
  }
  // A writer destroyed before Finish (an exception, a closed window).
  {
    VideoWriter w;
    ASSERT_TRUE(w.Open(Path("gone.gif").toStdString(), VideoFormat::GIF).Ok);
    ASSERT_TRUE(w.AddFrame(Drawing(1), 0.25).Ok);
  }
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});

  // A frame of the wrong size ends the video with a message; nothing stays.
  {
    VideoWriter w;
    ASSERT_TRUE(w.Open(Path("bad.mp4").toStdString(), VideoFormat::MP4).Ok);
    ASSERT_TRUE(w.AddFrame(Drawing(1), 0.25).Ok);
    const VideoResult r = w.AddFrame(QImage(320, 240, QImage::Format_RGB32), 0.25);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.rfind(kVideoFailedText, 0), 0u) << r.Error;
    EXPECT_EQ(w.Finish().Error, r.Error);  // the failure sticks
    EXPECT_EQ(Entries(), QStringList{"film.mp4"});
  }
  // No frame at all: no video.
  {
    VideoWriter w;
    ASSERT_TRUE(w.Open(Path("empty.gif").toStdString(), VideoFormat::GIF).Ok);
    EXPECT_FALSE(w.Finish().Ok);
    EXPECT_EQ(Entries(), QStringList{"film.mp4"});
  }
  // A folder that does not exist, a size MP4 cannot take.
  {
    VideoWriter w;
    VideoResult r = w.Open(Path("no/such/folder/film.mp4").toStdString(), VideoFormat::MP4);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("no/such/folder/film.mp4"), std::string::npos) << r.Error;
    r = w.Open(Path("odd.mp4").toStdString(), VideoFormat::MP4, 641, 480);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.rfind(kVideoFailedText, 0), 0u);
    EXPECT_EQ(Entries(), QStringList{"film.mp4"});
  }
}

TEST_F(VideoWriterTest, FinishReplacesTheTargetKeepingABackupWhenAsked) {
  PutOldVideo("film.gif");
  VideoWriter w;
  ASSERT_TRUE(w.Open(Path("film.gif").toStdString(), VideoFormat::GIF).Ok);
  ASSERT_TRUE(w.AddFrame(Drawing(1), 1).Ok);
  ASSERT_TRUE(w.Finish(true).Ok);
  EXPECT_EQ(Entries(), (QStringList{"film.bak", "film.gif"}));
  EXPECT_EQ(Bytes("film.bak"), "old video");
  EXPECT_TRUE(Bytes("film.gif").startsWith("GIF89a"));

  // The writer takes the next video; without the backup the file is replaced.
  ASSERT_TRUE(w.Open(Path("film.gif").toStdString(), VideoFormat::GIF).Ok);
  ASSERT_TRUE(w.AddFrame(Drawing(2), 1).Ok);
  ASSERT_TRUE(w.Finish().Ok);
  EXPECT_EQ(Bytes("film.bak"), "old video");
  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_EQ(d.Pictures.size(), 1u);
  EXPECT_TRUE(SamePixels(d.Pictures[0], Drawing(2)));
  EXPECT_EQ(d.LengthMs, std::vector<int64_t>{1000});
}

TEST(VideoFormat, ChosenByTheExtension) {
  VideoFormat f = VideoFormat::GIF;
  EXPECT_TRUE(VideoFormatOf("/a/b.mp4", f));
  EXPECT_EQ(f, VideoFormat::MP4);
  EXPECT_TRUE(VideoFormatOf("b.GIF", f));
  EXPECT_EQ(f, VideoFormat::GIF);
  EXPECT_TRUE(VideoFormatOf("B.MP4", f));
  EXPECT_EQ(f, VideoFormat::MP4);
  for (const char* bad : {"b.Mp4", "b.gif.txt", "b", "/a.gif/b", "b.avi"}) EXPECT_FALSE(VideoFormatOf(bad, f)) << bad;
}

}  // namespace
