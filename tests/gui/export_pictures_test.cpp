// Background commands and the picture exports: clear commands, clipboard,
// BMP and JPEG files, the numbered whole-process series.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QProgressDialog>
#include <cstdint>

#include "support/file_fixture.h"
#include "support/plain_picture.h"

namespace {

class ExportTest : public FileTest {
 protected:
  void WritePicture(const QString& name, QColor color) { ASSERT_TRUE(SavePlainPicture(Path(name), color)); }
  // Runs the menu command, choosing `name` in its file dialog.
  void RunWith(const char* menu, const QString& name) {
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, menu)));
  }
  void LoadBackground(const QString& name) { RunWith("ReadBGMenu", name); }
  static uint32_t U32(const QByteArray& b, int at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
  }
  static uint16_t U16(const QByteArray& b, int at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
  // The JPEG's frame marker: 0xC0 baseline, 0xC2 progressive.
  static int FrameMarker(const QByteArray& jpeg) {
    for (int i = 2; i + 3 < jpeg.size();) {
      if (uint8_t(jpeg[i]) != 0xFF) return -1;
      const int marker = uint8_t(jpeg[i + 1]);
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return marker;
      i += 2 + ((uint8_t(jpeg[i + 2]) << 8) | uint8_t(jpeg[i + 3]));
    }
    return -1;
  }
  // A selected rectangle in the edit mode: its frame is on the canvas.
  void SelectedRect() {
    DrawRect(*Window, {100, 100}, {200, 150});
    EnterEditMode(*Window);
    CanvasClick(*Window, 150, 100);
    ASSERT_NE(S().SelectedFig, nullptr);
    ASSERT_NE(CanvasPixel(*Window, 97, 97), 0xFFFFFFu);  // the frame's corner
  }
};

TEST_F(ExportTest, BackgroundFromTheMenuIsRecordedAndReplayed) {
  WritePicture("sky.bmp", QColor(0, 0, 255));
  LoadBackground("sky.bmp");
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun[0].Filter, "ビットマップ（*.bmp）|*.bmp|JPEGファイル（*.jpg）|*.jpg;*.bmp");
  ASSERT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::ReadBG});
  EXPECT_EQ(S().History().Last().FileName, Path("sky.bmp").toStdString());
  EXPECT_EQ(CanvasPixel(*Window, 10, 10), 0x0000FFu);

  DrawRects(1);
  ASSERT_TRUE(EnterPlayMode(*Window));
  EXPECT_EQ(CanvasPixel(*Window, 10, 10), 0xFFFFFFu);  // step 0: plain
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_EQ(CanvasPixel(*Window, 10, 10), 0x0000FFu);  // the ReadBG step reloads it
}

TEST_F(ExportTest, MissingOrDamagedBackgroundRecordsNothing) {
  LoadBackground("none.bmp");
  EXPECT_TRUE(Dialogs.Shown.empty());
  WriteFile("bad.bmp", "BM this is no bitmap");
  LoadBackground("bad.bmp");
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"ビットマップイメージが不正です"});
  EXPECT_EQ(S().History().Count(), 0);
}

TEST_F(ExportTest, TheThreeClearCommands) {
  WritePicture("bg.bmp", Qt::green);
  LoadBackground("bg.bmp");
  DrawRects(2);
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  ClickButton(Button(*Window, "DeleteBtn"));  // one figure in the undo store
  ASSERT_FALSE(S().DeletedFigures().IsEmpty());

  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ClearBGMenu")));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::ClearBG);
  EXPECT_EQ(CanvasPixel(*Window, 5, 5), 0xFFFFFFu);
  EXPECT_EQ(Figures(S().Figures()).size(), 1u);
  EXPECT_FALSE(S().DeletedFigures().IsEmpty());

  LoadBackground("bg.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ClearImageMenu")));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::ClearDrawing);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_TRUE(S().DeletedFigures().IsEmpty());  // nothing can be brought back
  EXPECT_EQ(CanvasPixel(*Window, 5, 5), 0x00FF00u);  // background kept

  DrawRects(1);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ClearAllMenu")));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::ClearAll);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(CanvasPixel(*Window, 5, 5), 0xFFFFFFu);
  EXPECT_FALSE(Button(*Window, "StampBtn")->isEnabled());
}

TEST_F(ExportTest, ClipboardCopyIncludesTheSelectionFrame) {
  SelectedRect();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "CaptureMenu")));
  const QImage copy = QGuiApplication::clipboard()->image();
  ASSERT_EQ(copy.size(), QSize(640, 480));
  EXPECT_EQ(copy.pixel(97, 97) & 0xFFFFFF, CanvasPixel(*Window, 97, 97));
  EXPECT_NE(copy.pixel(97, 97) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(S().History().Count(), 1);  // nothing recorded
}

TEST_F(ExportTest, BMPExportIs32BitWithoutFrameAndBacksUpTheOldFile) {
  SelectedRect();
  WriteFile("pic.bmp", "older picture");
  RunWith("SaveScreenBmpMenu", "pic.bmp");
  EXPECT_EQ(Dialogs.DialogsRun.back().Kind, DialogKind::SaveBG);
  EXPECT_EQ(Dialogs.DialogsRun.back().DefaultExt, "bmp");
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ReadFile("pic.bak"), "older picture");
  const QByteArray bmp = ReadFile("pic.bmp");
  ASSERT_GE(bmp.size(), 54);
  EXPECT_TRUE(bmp.startsWith("BM"));
  EXPECT_EQ(U32(bmp, 18), 640u);
  EXPECT_EQ(U32(bmp, 22), 480u);
  EXPECT_EQ(U16(bmp, 28), 32u);
  const QImage read = QImage::fromData(bmp, "BMP");
  ASSERT_EQ(read.size(), QSize(640, 480));
  EXPECT_EQ(read.pixel(97, 97) & 0xFFFFFF, 0xFFFFFFu);  // no selection frame
  EXPECT_EQ(read.pixel(150, 100) & 0xFFFFFF, 0x000000u);  // the rectangle's edge
  EXPECT_EQ(S().SelectedFig, nullptr);
}

TEST_F(ExportTest, AnOlderBackupWinsAndThePictureIsStillWritten) {
  DrawRects(1);
  WriteFile("pic.bmp", "old picture");
  WriteFile("pic.bak", "backup of pic.tlo");
  RunWith("SaveScreenBmpMenu", "pic.bmp");
  EXPECT_EQ(ReadFile("pic.bak"), "backup of pic.tlo");
  EXPECT_TRUE(ReadFile("pic.bmp").startsWith("BM"));
  EXPECT_EQ(Entries(), (QStringList{"pic.bak", "pic.bmp"}));
}

TEST_F(ExportTest, JPEGExportIsBaseline) {
  DrawRects(1);
  RunWith("SaveScreenJpegMenu", "pic.jpg");
  EXPECT_EQ(Dialogs.DialogsRun.back().Filter, "JPEGファイル（*.jpg）|*.jpg");
  EXPECT_EQ(Dialogs.DialogsRun.back().DefaultExt, "jpg");
  const QByteArray jpeg = ReadFile("pic.jpg");
  ASSERT_TRUE(jpeg.startsWith("\xFF\xD8"));
  EXPECT_EQ(FrameMarker(jpeg), 0xC0);
  EXPECT_EQ(QImage::fromData(jpeg, "JPG").size(), QSize(640, 480));
}

TEST_F(ExportTest, ExportIntoAMissingFolderShowsTheErrorWithThePath) {
  DrawRects(1);
  RunWith("SaveScreenJpegMenu", "no/pic.jpg");
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_EQ(Dialogs.LastText(), "ファイル " + Path("no/pic.jpg").toStdString() + " を作成できません");
}

TEST_F(ExportTest, WholeProcessWritesOneNumberedPicturePerStep) {
  DrawRects(3);
  // What the window looks like while the series is written.
  std::vector<bool> enabled;
  std::vector<QString> labels;
  bool waitCursor = true;
  Window->OnExportProgress = [&](QProgressDialog& progress, int) {
    if (progress.isVisible()) {
      enabled.push_back(Window->isEnabled());
      const QCursor* cursor = QGuiApplication::overrideCursor();
      waitCursor = waitCursor && cursor && cursor->shape() == Qt::WaitCursor;
      labels.push_back(progress.labelText());
    }
  };
  RunWith("SaveAllProcessMenu", "proc.jpg");
  Window->OnExportProgress = nullptr;

  EXPECT_EQ(Entries(), (QStringList{"proc001.jpg", "proc002.jpg", "proc003.jpg"}));
  const QImage first = QImage(Path("proc001.jpg"));
  const QImage last = QImage(Path("proc003.jpg"));
  EXPECT_LT(qGray(first.pixel(10, 25)), 128);  // after step 1 the first rectangle is there …
  EXPECT_GT(qGray(first.pixel(50, 25)), 128);  // … but not yet the third
  EXPECT_LT(qGray(last.pixel(10, 25)), 128);
  EXPECT_LT(qGray(last.pixel(50, 25)), 128);

  EXPECT_EQ(enabled, std::vector<bool>(3, false));  // one picture per step, window disabled
  EXPECT_TRUE(waitCursor);
  EXPECT_EQ(labels, (std::vector<QString>{"えを かきだしています（1 / 3）", "えを かきだしています（2 / 3）",
                                           "えを かきだしています（3 / 3）"}));
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 3u);
}

TEST_F(ExportTest, WholeProcessOfAnEmptyHistoryWritesNothing) {
  RunWith("SaveAllProcessMenu", "proc.jpg");
  EXPECT_TRUE(Entries().isEmpty());
  EXPECT_TRUE(Window->isEnabled());
}

TEST_F(ExportTest, AnErrorEndsTheSeriesAndGivesTheWindowBack) {
  DrawRects(3);
  ASSERT_TRUE(QDir(Dir.path()).mkdir("proc002.jpg"));  // step 2 cannot be written
  RunWith("SaveAllProcessMenu", "proc.jpg");
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_TRUE(Exists("proc001.jpg"));
  EXPECT_FALSE(Exists("proc003.jpg"));
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 3u);  // the drawing goes on whole
}

TEST_F(ExportTest, WholeProcessInTheViewModeLeavesItWhereItWas) {
  DrawRects(2);
  ASSERT_TRUE(EnterPlayMode(*Window));
  ClickButton(Button(*Window, "ForwardBtn"));
  ASSERT_EQ(S().CurrentStep(), 1);
  const QImage canvas = Canvas(*Window)->Picture().copy();
  RunWith("SaveAllProcessMenu", "v.jpg");
  EXPECT_EQ(Entries(), (QStringList{"v001.jpg", "v002.jpg"}));
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_EQ(S().CurrentStep(), 1);
  EXPECT_TRUE(Canvas(*Window)->Picture() == canvas);  // the second rectangle is not shown yet
}

}  // namespace
