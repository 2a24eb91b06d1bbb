// The numbered whole-process series: every picture is what the view mode
// shows at its step, the series can be stopped, a very long one asks first,
// and links of the numbered names are replaced, never followed.
#include <QImage>
#include <QProgressDialog>
#include <QPushButton>

#include "batch_run.h"
#include "io/exports.h"
#include "io/picture.h"
#include "io/replay_walker.h"
#include "support/file_fixture.h"
#include "support/gui_helpers.h"
#include "support/plain_picture.h"

namespace {

class SeriesTest : public FileTest {
 protected:
  QTemporaryDir ViewDir;  // the view mode's pictures, apart from the series

  void WritePicture(const QString& name, QColor color) { ASSERT_TRUE(SavePlainPicture(Path(name), color)); }

  // The canvas encoded as the series encodes its pictures, read back.
  QImage AsSeriesPicture(const QImage& canvas) {
    const std::string file = ViewDir.filePath("view.jpg").toStdString();
    const PictureResult r = WriteJPEG(file, canvas);
    EXPECT_TRUE(r.Ok) << r.Error;
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
  }

  // Steps through the whole history in the view mode and compares every
  // step's canvas with the series picture of that step, pixel for pixel.
  void ExpectSeriesEqualsViewMode(const QString& base) {
    const int count = S().History().Count();
    ASSERT_TRUE(EnterPlayMode(*Window));
    for (int n = 1; n <= count; ++n) {
      ClickButton(Button(*Window, "ForwardBtn"));
      ASSERT_EQ(S().CurrentStep(), n);
      const QImage series = QImage(Path(QStringLiteral("%1%2.jpg").arg(base).arg(n, 3, 10, QChar(u'0'))))
                                .convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(series.size(), QSize(640, 480)) << "step " << n;
      EXPECT_TRUE(series == AsSeriesPicture(Window->pictures().WorkBitmap)) << "step " << n << " differs";
    }
  }

  // Draws n rectangles in a row at height y.
  void Rects(int n, int y) {
    for (int i = 0; i < n; ++i) DrawRect(*Window, {300 + 30 * i, y}, {320 + 30 * i, y + 20});
  }

  // A drawing of `count` rectangles loaded from a file.
  void LoadRects(int count) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= count; ++i) lines += RectRecord(i, 10 + i % 500, 10, 40 + i % 500, 40);
    WriteFile("many.tlo", (lines.join("\r\n") + "\r\n").toUtf8());
    ASSERT_TRUE(Window->LoadDrawingFile(Path("many.tlo")));
    ASSERT_EQ(S().History().Count(), count);
  }

  QStringList SeriesFiles(const QString& base) const {
    return QDir(Dir.path()).entryList({base + "*.jpg"}, QDir::Files, QDir::Name);
  }
};

TEST_F(SeriesTest, TheWindowsSeriesShowsTheBackgroundFromItsStepOn) {
  WritePicture("sky.bmp", QColor(0, 0, 255));
  WritePicture("grass.bmp", QColor(0, 160, 0));
  Rects(2, 300);                                 // steps 1, 2
  Choose("sky.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadBGMenu")));    // step 3
  Rects(1, 350);                                 // step 4
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ClearBGMenu")));   // step 5
  Answer(ModalResult::Yes);                                 // "load it?"
  Window->OpenFileByPath(Path("grass.bmp"));       // step 6, as a dropped picture
  Rects(1, 400);                                 // step 7
  ASSERT_EQ(S().History().Count(), 7);
  ASSERT_EQ(CanvasPixel(*Window, 5, 5), 0x00A000u);

  Choose("proc.jpg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  ASSERT_EQ(SeriesFiles("proc").size(), 7u);
  const auto corner = [&](int n) {
    return QImage(Path(QStringLiteral("proc%1.jpg").arg(n, 3, 10, QChar(u'0')))).pixel(5, 5);
  };
  EXPECT_GT(qRed(corner(2)), 200);    // white: no background yet
  EXPECT_GT(qGreen(corner(2)), 200);
  EXPECT_LT(qRed(corner(3)), 60);     // the sky from step 3 on
  EXPECT_GT(qBlue(corner(4)), 200);
  EXPECT_GT(qRed(corner(5)), 200);    // cleared at step 5
  EXPECT_LT(qBlue(corner(6)), 60);    // the grass from step 6 on
  EXPECT_EQ(CanvasPixel(*Window, 5, 5), 0x00A000u);  // the drawing goes on as it was
  ExpectSeriesEqualsViewMode("proc");
}

TEST_F(SeriesTest, TheBatchSeriesEqualsTheViewMode) {
  WritePicture("sky.bmp", QColor(0, 128, 0));
  WriteFile("d.tlo", DrawingFileText({RectRecord(1, 10, 10, 60, 50), RectRecord(2, 100, 10, 150, 50),
                                      ReadBGRecord(Path("sky.bmp")), RectRecord(3, 200, 10, 250, 50)}));
  const BatchRun r = RunTamlo(Dir.path(), {"--export-process", "b.jpg", "d.tlo"});
  ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
  ASSERT_EQ(SeriesFiles("b").size(), 4u);
  ASSERT_TRUE(Window->LoadDrawingFile(Path("d.tlo")));
  ExpectSeriesEqualsViewMode("b");
}

TEST_F(SeriesTest, ProgressReturningFalseStopsAndKeepsWhatWasWritten) {
  WritePicture("sky.bmp", QColor(0, 0, 255));
  Rects(2, 300);
  Choose("sky.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadBGMenu")));
  Rects(2, 350);
  std::vector<int> asked;
  ReplayWalker walker(S().History(), Dialogs);
  const bool done = ExportProcess(walker, Dialogs, Path("p").toStdString(), [&](int n, int count) {
    asked.push_back(n);
    EXPECT_EQ(count, 5);
    return n < 3;
  });
  EXPECT_FALSE(done);
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(SeriesFiles("p"), (QStringList{"p001.jpg", "p002.jpg"}));
  EXPECT_EQ(Entries(), (QStringList{"p001.jpg", "p002.jpg", "sky.bmp"}));  // no temporary file left
  EXPECT_TRUE(Dialogs.Shown.empty());
  // The drawing is whole, background included: the series walked a copy.
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 4u);
  EXPECT_EQ(Window->pictures().WorkBitmap.pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(SeriesTest, TheProgressBoxCancelsAtOnce) {
  Rects(5, 300);
  CancelExportAtStep(*Window, 2);
  Choose("proc.jpg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  EXPECT_EQ(Entries(), (QStringList{"proc001.jpg", "proc002.jpg"}));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Window->findChild<QProgressDialog*>(), nullptr);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 5u);
}

TEST_F(SeriesTest, AVeryLongSeriesAsksFirst) {
  LoadRects(1001);
  Choose("long.jpg");
  Answer(ModalResult::No);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Question);
  EXPECT_EQ(Dialogs.Shown[0].text, "ぜんぶで 1001 まいの えを かきだします。よろしいですか？");
  EXPECT_EQ(Dialogs.Shown[0].buttons, QuestionButtons::YesNo);
  EXPECT_TRUE(SeriesFiles("long").isEmpty());
  EXPECT_TRUE(Window->isEnabled());

  Choose("long.jpg");
  Answer(ModalResult::Yes);
  CancelExportAtStep(*Window, 3);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  EXPECT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(SeriesFiles("long"), (QStringList{"long001.jpg", "long002.jpg", "long003.jpg"}));
}

TEST_F(SeriesTest, AThousandPicturesAreWrittenWithoutAQuestion) {
  LoadRects(kLongProcessSeries);
  CancelExportAtStep(*Window, 1);
  Choose("k.jpg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(SeriesFiles("k"), QStringList{"k001.jpg"});
}

TEST_F(SeriesTest, LinksOfTheNumberedNamesAreReplacedNotFollowed) {
  Rects(2, 300);
  WriteFile("victim.tlo", "a drawing that must stay");
  ASSERT_TRUE(QFile::link(Path("victim.tlo"), Path("proc001.jpg")));
  ASSERT_TRUE(QFile::link(Path("nowhere/else.jpg"), Path("proc002.jpg")));  // dangling
  Choose("proc.jpg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveAllProcessMenu")));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ReadFile("victim.tlo"), "a drawing that must stay");
  for (const QString name : {"proc001.jpg", "proc002.jpg"}) {
    EXPECT_FALSE(QFileInfo(Path(name)).isSymLink()) << name.toStdString();
    EXPECT_TRUE(ReadFile(name).startsWith("\xFF\xD8")) << name.toStdString();
  }
  EXPECT_FALSE(Exists("nowhere"));
  EXPECT_EQ(Entries(), (QStringList{"proc001.jpg", "proc002.jpg", "victim.tlo"}));  // no backups

  // A single picture over a link: the link becomes the backup, its target
  // stays as it was.
  ASSERT_TRUE(QFile::link(Path("victim.tlo"), Path("pic.bmp")));
  Choose("pic.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveScreenBmpMenu")));
  EXPECT_EQ(ReadFile("victim.tlo"), "a drawing that must stay");
  EXPECT_TRUE(ReadFile("pic.bmp").startsWith("BM"));
  EXPECT_FALSE(QFileInfo(Path("pic.bmp")).isSymLink());
  EXPECT_TRUE(QFileInfo(Path("pic.bak")).isSymLink());
}

}  // namespace
