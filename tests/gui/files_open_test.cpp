// Opening a file dropped on the window or named on the command line.
#include <QMimeData>
#include <QUrl>

#include "support/file_fixture.h"
#include "support/gui_helpers.h"
#include "support/plain_picture.h"

namespace {

class OpenFileTest : public FileTest {
 protected:
  void WritePicture(const QString& name, QColor color) { ASSERT_TRUE(SavePlainPicture(Path(name), color)); }
  void WriteDrawing(const QString& name) {
    WriteFile(name, DrawingFileText({RectRecord(1, 100, 100, 150, 140), RectRecord(2, 200, 100, 250, 140)}));
  }
  // Drops files of the folder on the window, which must take the drag.
  void Drop(const QStringList& names) {
    QStringList paths;
    for (const QString& n : names) paths << Path(n);
    EXPECT_TRUE(DropFiles(*Window, paths));
  }
};

TEST_F(OpenFileTest, ExtensionsAreComparedExactly) {
  for (const char* name : {"p.Bmp", "p.jpeg", "p.Jpg", "noextension"}) {
    Dialogs.Shown.clear();
    Window->OpenFileByPath(Path(name));
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"ファイルけいしきがちがいます"}) << name;
  }
  // ".tlo" in any other letter case is still a drawing (the desktop hands
  // such files over as drawings); these ones are missing.
  for (const char* name : {"a.Tlo", "a.tlO"}) {
    Dialogs.Shown.clear();
    Window->OpenFileByPath(Path(name));
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"データ読み込みに失敗しました"}) << name;
  }
  WriteDrawing("big.TLO");
  Dialogs.Shown.clear();
  Window->OpenFileByPath(Path("big.TLO"));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Caption(), CaptionFor("big.TLO"));
}

TEST_F(OpenFileTest, NothingOpensDuringPlayback) {
  DrawRects(1);
  ASSERT_TRUE(EnterPlayMode(*Window));
  WriteDrawing("d.tlo");
  Window->OpenFileByPath(Path("d.tlo"));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"さいせい中はファイルをよみこめません"});
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
}

TEST_F(OpenFileTest, APictureBecomesTheBackgroundAndIsRecorded) {
  WritePicture("sky.bmp", QColor(0, 0, 255));
  DrawRects(1);
  Answer(ModalResult::No);
  Window->OpenFileByPath(Path("sky.bmp"));
  EXPECT_EQ(Dialogs.LastText(), "本当にデータをよみこみますか？");
  EXPECT_EQ(S().History().Count(), 1);  // No: nothing

  Answer(ModalResult::Yes);
  Window->OpenFileByPath(Path("sky.bmp"));
  ASSERT_EQ(S().History().Count(), 2);
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::ReadBG);
  EXPECT_EQ(S().History().Last().FileName, Path("sky.bmp").toStdString());
  EXPECT_EQ(CanvasPixel(*Window, 300, 200), 0x0000FFu);  // inside the picture
  EXPECT_EQ(CanvasPixel(*Window, 330, 200), 0xFFFFFFu);  // right of its 320 pixels
}

TEST_F(OpenFileTest, AMissingPictureRecordsNothing) {
  Window->OpenFileByPath(Path("none.jpg"));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().History().Count(), 0);
}

TEST_F(OpenFileTest, ADropOfThreeFilesOpensOnlyTheFirst) {
  WriteDrawing("first.tlo");
  WriteFile("second.tlo", DrawingFileText({RectRecord(1, 1, 1, 5, 5)}));
  WritePicture("third.bmp", Qt::red);
  Drop({"first.tlo", "second.tlo", "third.bmp"});
  EXPECT_EQ(Caption(), CaptionFor("first.tlo"));
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(OpenFileTest, ADroppedPictureAsksFirstWhenThereIsADrawing) {
  WritePicture("p.bmp", Qt::green);
  DrawRects(1);
  Answer(ModalResult::Yes);
  Drop({"p.bmp"});
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"本当にデータをよみこみますか？"});
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::ReadBG);
}

TEST_F(OpenFileTest, ARelativeNameIsKeptWhole) {
  WriteDrawing("rel.tlo");
  const QString before = QDir::currentPath();
  QDir::setCurrent(Dir.path());
  Window->OpenFileByPath("rel.tlo");
  QDir::setCurrent(before);
  EXPECT_EQ(S().DataFileName(), Path("rel.tlo").toStdString());
}

// The first command-line argument opens like a dropped file.
class CommandLineTest : public OpenFileTest {
 protected:
  QTemporaryDir Early;
  QString CommandLineFile() const override {
    const QString path = Early.filePath("start.tlo");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(DrawingFileText({RectRecord(4, 10, 10, 60, 50)}));
    return path;
  }
};

TEST_F(CommandLineTest, TheFileIsOpenAtStart) {
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23 - " + Early.filePath("start.tlo"));
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(S().History().NextFigID, 5);
  EXPECT_EQ(Figures(S().Figures()).size(), 1u);
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(OpenFileTest, AnEmptyCommandLineArgumentOpensNothing) {
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23");
  EXPECT_TRUE(Dialogs.Shown.empty());
}

// Drops whose source no longer hands out its files at the drop itself, as
// some drag sources under X11 do: the files seen when the drag entered open.
class DropTest : public FileTest {};

TEST_F(DropTest, FilesSeenWhenTheDragEnteredOpenWhenTheDropCarriesNone) {
  WriteFile("first.tlo", DrawingFileText({RectRecord(1, 100, 100, 150, 140)}));
  WriteFile("second.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40), RectRecord(2, 60, 10, 90, 40)}));
  QMimeData entering;
  entering.setUrls({QUrl::fromLocalFile(Path("first.tlo")), QUrl::fromLocalFile(Path("second.tlo"))});
  ASSERT_TRUE(DragEnter(*Window, entering));
  QMimeData empty;
  DropOn(*Window, empty);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(Caption(), CaptionFor("first.tlo"));

  // A later drop that carries its files uses them, not those of an older drag.
  QMimeData carrying;
  carrying.setUrls({QUrl::fromLocalFile(Path("second.tlo"))});
  ASSERT_TRUE(DragEnter(*Window, entering));
  Dialogs.Answers.push_back(ModalResult::Yes);
  DropOn(*Window, carrying);
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Caption(), CaptionFor("second.tlo"));

  // Nothing is left over from a finished drag.
  DropOn(*Window, empty);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);  // only the question of the second drop
  EXPECT_EQ(Caption(), CaptionFor("second.tlo"));
}

}  // namespace
