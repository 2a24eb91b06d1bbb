// The window's time-lapse video command (ツール): the file dialog with the
// two types, the video of the whole drawing, the backup of an existing
// file, and a cancel that leaves no partial file.
#include <QAction>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>

#include "support/file_fixture.h"
#include "video_decode.h"

namespace {

class WindowVideoTest : public FileTest {
 protected:
  void Rects(int n) {
    for (int i = 0; i < n; ++i) DrawRect(*Window, {100 + 40 * i, 200}, {130 + 40 * i, 260});
  }
  // Presses the progress box's Cancel button while step `step` is drawn.
  void CancelAtStep(int step) {
    MutablePictures(*Window).OnShow = [this, step, show = Window->pictures().OnShow](const QImage& picture) {
      auto* progress = Window->findChild<QProgressDialog*>();
      if (progress && progress->isVisible() && progress->labelText().startsWith(QString::number(step) + " / ")) {
        auto* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_TRUE(cancel->isEnabled());
        cancel->click();
      }
      if (show) show(picture);
    };
  }
};

TEST_F(WindowVideoTest, TheToolMenuWritesTheVideoOfEveryStep) {
  const QList<QAction*> items = Menu(*Window, "ToolMenu")->actions();
  ASSERT_TRUE(items.contains(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(MenuAction(*Window, "SaveVideoMenu")->text(), QString::fromUtf8("全過程を動画に書き出す"));

  Rects(4);
  Choose("film.gif");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun[0].Kind, DialogKind::SaveVideo);
  EXPECT_EQ(Dialogs.DialogsRun[0].Filter, "MP4どうが（*.mp4）|*.mp4|GIFアニメ（*.gif）|*.gif");
  EXPECT_TRUE(Dialogs.Shown.empty());

  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 4u);
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{250, 250, 250, 2000}));
  // The last frame is the canvas as it shows the drawing afterwards.
  EXPECT_EQ(MeanPictureDiff(d.Pictures.back(), Window->pictures().WorkBitmap), 0.0);
  EXPECT_GT(MeanPictureDiff(d.Pictures[0], Window->pictures().WorkBitmap), 0.0);
  EXPECT_TRUE(GIFLoopsForever(ReadFile("film.gif")));
  // The window is as before: enabled, its cursor back, at the last step.
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(S().CurrentStep, S().History.Count());
  EXPECT_EQ(Entries(), QStringList{"film.gif"});

  // Again over it, as an MP4 this time: the old one is the backup.
  WriteFile("film.mp4", "older");
  Choose("film.mp4");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(ReadFile("film.bak"), "older");
  EXPECT_EQ(DecodeVideo(Path("film.mp4")).Codec, AV_CODEC_ID_H264);
}

TEST_F(WindowVideoTest, CancellingLeavesNoPartialFile) {
  Rects(5);
  WriteFile("film.mp4", "the film before");
  CancelAtStep(3);
  Choose("film.mp4");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});  // no temporary file, no backup
  EXPECT_EQ(ReadFile("film.mp4"), "the film before");
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Window->findChild<QProgressDialog*>(), nullptr);
  EXPECT_EQ(S().CurrentStep, S().History.Count());
  EXPECT_EQ(Figures(S().DrawingFigs).size(), 5u);

  // A cancelled file dialog writes nothing either.
  MutablePictures(*Window).OnShow = nullptr;
  CancelDialog();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});
}

}  // namespace
