// The window's time-lapse video command (ツール): the file dialog with the
// two types, the video of the whole drawing, the backup of an existing
// file, and a cancel that leaves no partial file.
#include <QAction>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>

#include <QDoubleSpinBox>
#include <QTimer>
#include <sys/stat.h>

#include <functional>

#include "support/file_fixture.h"
#include "support/gui_helpers.h"
#include "io/replay_walker.h"
#include "ui/video_pace_dialog.h"
#include "video_decode.h"

namespace {

class WindowVideoTest : public FileTest {
 protected:
  void Rects(int n) {
    for (int i = 0; i < n; ++i) DrawRect(*Window, {100 + 40 * i, 200}, {130 + 40 * i, 260});
  }
  // Answers the pace question that follows the file dialog: `act` sets its
  // controls, then かきだす (or やめる when `accept` is false) is pressed.
  void AnswerPace(const std::function<void(VideoPaceDialog&)>& act = {}, bool accept = true) {
    QTimer::singleShot(0, [this, act, accept] {
      auto* dialog = dynamic_cast<VideoPaceDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      PaceAsked = true;
      if (act) act(*dialog);
      dialog->findChild<QPushButton*>(accept ? "PaceOkButton" : "PaceCancelButton")->click();
    });
  }
  // Runs the video command, choosing `name` in the file dialog and
  // answering the pace question as AnswerPace does.
  void ExportVideo(const QString& name, const std::function<void(VideoPaceDialog&)>& act = {}, bool accept = true) {
    Choose(name);
    AnswerPace(act, accept);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  }
  // Every label of the window, by name.
  QStringList Labels() const {
    QStringList labels;
    for (QLabel* label : Window->findChildren<QLabel*>()) labels << label->objectName() + "=" + label->text();
    return labels;
  }
  bool PaceAsked = false;
};

TEST_F(WindowVideoTest, TheToolMenuWritesTheVideoOfEveryStep) {
  const QList<QAction*> items = Menu(*Window, "ToolMenu")->actions();
  ASSERT_TRUE(items.contains(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(MenuAction(*Window, "SaveVideoMenu")->text(), QString::fromUtf8("全過程を動画に書き出す"));

  Rects(4);
  ExportVideo("film.gif");
  EXPECT_TRUE(PaceAsked);
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun[0].Kind, DialogKind::SaveVideo);
  EXPECT_EQ(Dialogs.DialogsRun[0].Filter, "MP4どうが（*.mp4）|*.mp4|GIFアニメ（*.gif）|*.gif|WebMどうが（*.webm）|*.webm");
  // It says it is done, as a save does.
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Message);
  EXPECT_EQ(Dialogs.Shown[0].text, "どうがを かきだしました");

  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 4u);
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{250, 250, 250, 2000}));
  // The last frame is the drawing's last step as the view mode shows it.
  ReplayWalker replayed(S().History(), Dialogs);
  replayed.ForwardTo(S().History().Count());
  EXPECT_EQ(MeanPictureDiff(d.Pictures.back(), replayed.Picture()), 0.0);
  EXPECT_GT(MeanPictureDiff(d.Pictures[0], replayed.Picture()), 0.0);
  EXPECT_TRUE(GIFLoopsForever(ReadFile("film.gif")));
  // The window is as before: enabled, its cursor back, at the last step.
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Entries(), QStringList{"film.gif"});

  // Again over it, as an MP4 this time: the old one is the backup.
  WriteFile("film.mp4", "older");
  ExportVideo("film.mp4");
  EXPECT_EQ(ReadFile("film.bak"), "older");
  EXPECT_EQ(DecodeVideo(Path("film.mp4")).Codec, AV_CODEC_ID_H264);
}

TEST_F(WindowVideoTest, CancellingLeavesNoPartialFile) {
  Rects(5);
  WriteFile("film.mp4", "the film before");
  CancelExportAtStep(*Window, 3);
  ExportVideo("film.mp4");
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});  // no temporary file, no backup
  EXPECT_EQ(ReadFile("film.mp4"), "the film before");
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Window->findChild<QProgressDialog*>(), nullptr);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 5u);

  // A cancelled file dialog writes nothing either.
  Window->OnExportProgress = nullptr;
  CancelDialog();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});
  // Nor does やめる in the pace question.
  ExportVideo("film.mp4", {}, false);
  EXPECT_TRUE(PaceAsked);
  EXPECT_EQ(Entries(), QStringList{"film.mp4"});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

// A name without a video extension gets the one of the type chosen in the
// dialog, WebM among them.
TEST_F(WindowVideoTest, ANameWithoutExtensionTakesTheChosenType) {
  Rects(1);
  const struct {
    int type;
    const char* file;
    AVCodecID codec;
  } rows[] = {{1, "film.mp4", AV_CODEC_ID_H264}, {2, "film.gif", AV_CODEC_ID_GIF}, {3, "film.webm", AV_CODEC_ID_VP9}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    Choose("film");
    Dialogs.FileTypes.push_back(row.type);
    AnswerPace();
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveVideoMenu")));
    EXPECT_EQ(DecodeVideo(Path(row.file)).Codec, row.codec);
  }
  EXPECT_FALSE(QFile::exists(Path("film")));
}

// A drawing without steps gives what the batch mode gives: one blank frame
// held for the last step's time, and the message that the video is done.
TEST_F(WindowVideoTest, AnEmptyDrawingGivesOneBlankFrame) {
  ExportVideo("film.gif");
  EXPECT_TRUE(PaceAsked);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Message);
  EXPECT_EQ(Dialogs.Shown[0].text, "どうがを かきだしました");
  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  ASSERT_EQ(d.Pictures.size(), 1u);
  EXPECT_EQ(d.LengthMs, std::vector<int64_t>{2000});
  QImage blank(640, 480, QImage::Format_RGB32);
  blank.fill(Qt::white);
  EXPECT_EQ(MeanPictureDiff(d.Pictures[0], blank), 0.0);
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_TRUE(Window->isEnabled());

  // An MP4 too.
  ExportVideo("film.mp4");
  EXPECT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(DecodeVideo(Path("film.mp4")).Pictures.size(), 1u);
  EXPECT_EQ(Entries(), (QStringList{"film.gif", "film.mp4"}));
}

// The pace question offers what --pace and --hold offer, says how long the
// video will be, and the video plays at the pace chosen; the progress box
// says in words what it is doing.
TEST_F(WindowVideoTest, ThePaceIsChosenAndTheProgressIsLabelled) {
  Rects(6);
  std::vector<QString> labels;
  Window->OnExportProgress = [&](QProgressDialog& progress, int) { labels.push_back(progress.labelText()); };
  QString lengthAtFour, lengthAtOne;
  ExportVideo("film.gif", [&](VideoPaceDialog& dialog) {
    auto* rate = dialog.findChild<QDoubleSpinBox*>("PaceRateSpin");
    auto* hold = dialog.findChild<QDoubleSpinBox*>("PaceHoldSpin");
    ASSERT_NE(rate, nullptr);
    ASSERT_NE(hold, nullptr);
    EXPECT_EQ(rate->value(), 4.0);  // the command line's defaults
    EXPECT_EQ(hold->value(), 2.0);
    EXPECT_EQ(rate->maximum(), 100.0);
    EXPECT_EQ(hold->maximum(), 600.0);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("PaceFixedRadio")->isChecked());
    EXPECT_NE(dialog.findChild<QRadioButton*>("PaceDrawnRadio"), nullptr);
    lengthAtFour = dialog.findChild<QLabel*>("PaceLengthLabel")->text();
    rate->setValue(1);
    hold->setValue(3);
    lengthAtOne = dialog.findChild<QLabel*>("PaceLengthLabel")->text();
  });
  // 5 × 0.25 s + 2 s, then 5 × 1 s + 3 s.
  EXPECT_EQ(lengthAtFour, QString::fromUtf8("どうがの ながさ：やく 3びょう"));
  EXPECT_EQ(lengthAtOne, QString::fromUtf8("どうがの ながさ：やく 8びょう"));
  const DecodedVideo d = DecodeVideo(Path("film.gif"));
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.LengthMs, (std::vector<int64_t>{1000, 1000, 1000, 1000, 1000, 3000}));
  // A GIF looks at the colours of every step first, then writes them.
  ASSERT_EQ(labels.size(), 12u);
  EXPECT_EQ(labels.front(), QString::fromUtf8("いろを しらべています（1 / 6）"));
  EXPECT_EQ(labels.back(), QString::fromUtf8("どうがを かきだしています（6 / 6）"));

  // The next video starts from the pace chosen last; as drawn this time.
  ExportVideo("again.mp4", [&](VideoPaceDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QDoubleSpinBox*>("PaceRateSpin")->value(), 1.0);
    dialog.findChild<QRadioButton*>("PaceDrawnRadio")->setChecked(true);
    EXPECT_FALSE(dialog.findChild<QDoubleSpinBox*>("PaceRateSpin")->isEnabled());
  });
  ASSERT_TRUE(DecodeVideo(Path("again.mp4")).Ok);
  EXPECT_EQ(DecodeVideo(Path("again.mp4")).Pictures.size(), 6u);
}

// Exporting from the view mode leaves the window exactly as it was: the
// step shown, the canvas, the counter, and the question on leaving the
// view mode.
TEST_F(WindowVideoTest, TheViewModeStaysWhereItWas) {
  Rects(5);
  ASSERT_TRUE(EnterPlayMode(*Window));
  ClickButton(Button(*Window, "ForwardBtn"));
  ClickButton(Button(*Window, "ForwardBtn"));
  ASSERT_EQ(S().CurrentStep(), 2);
  const QImage canvas = Canvas(*Window)->Picture().copy();
  const QImage composed = Window->pictures().WorkBitmap.copy();
  const QStringList labels = Labels();
  const int slider = Slider(*Window, "TimeTrackBar")->value();

  ExportVideo("film.mp4");
  ASSERT_EQ(DecodeVideo(Path("film.mp4")).Pictures.size(), 5u);

  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_EQ(S().CurrentStep(), 2);
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
  EXPECT_TRUE(Canvas(*Window)->Picture() == canvas);
  EXPECT_TRUE(Window->pictures().WorkBitmap == composed);
  EXPECT_EQ(Labels(), labels);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), slider);

  // Leaving the view mode at step 2 of 5 still asks whether to draw on
  // from there.
  Answer(ModalResult::No);
  const size_t shown = Dialogs.Shown.size();
  EnterDrawMode(*Window);
  ASSERT_EQ(Dialogs.Shown.size(), shown + 1);
  EXPECT_EQ(Dialogs.Shown.back().kind, ShownBox::Question);
}

// A device or a pipe at the chosen name is refused as the picture exports
// refuse it: nothing replaces it, nothing is renamed.
TEST_F(WindowVideoTest, APipeAtTheNameIsRefused) {
  Rects(2);
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("film.mp4")).constData(), 0600), 0);
  ExportVideo("film.mp4");
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_NE(Dialogs.Shown[0].text.find("film.mp4"), std::string::npos) << Dialogs.Shown[0].text;
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(Path("film.mp4")).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(Entries().isEmpty());  // no backup, no temporary file (a pipe is not listed)
}

// A temporary file that a window killed during an export left behind long
// ago is cleared from the folder the next export writes to.
TEST_F(WindowVideoTest, LeftoversOfKilledExportsAreCleared) {
  Rects(2);
  WriteFile(".tamlo-0123456789abcdef.tmp", "half a video");
  WriteFile(".tamlo-fedcba9876543210.tmp", "a save at work right now");
  ASSERT_TRUE(SetModified(Path(".tamlo-0123456789abcdef.tmp"), QDateTime::currentDateTime().addSecs(-3600)));
  ExportVideo("film.mp4");
  EXPECT_EQ(Entries(), (QStringList{".tamlo-fedcba9876543210.tmp", "film.mp4"}));
}

}  // namespace
