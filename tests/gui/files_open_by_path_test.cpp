// Opening a drawing by its path (command line, desktop, drop): the pictures
// lying next to it are found and stay found, every file the desktop's file
// type hands over opens as a drawing, and files that are no drawing files
// at all (pipes, devices, huge files) are refused with the drawing on screen
// kept.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "support/file_fixture.h"
#include "support/gui_helpers.h"
#include "support/plain_picture.h"

namespace {

const char* const kLoadFailed = "データ読み込みに失敗しました";
const char* const kWrongType = "ファイルけいしきがちがいます";

class OpenByPathTest : public FileTest {
 protected:
  QTemporaryDir Elsewhere;  // the working folder before the drawing is opened

  void SetUp() override {
    FileTest::SetUp();
    ASSERT_TRUE(Elsewhere.isValid());
    ASSERT_TRUE(QDir().mkpath(Path("art")));
    QDir::setCurrent(Elsewhere.path());
  }

  // A blue 320 × 240 picture and, next to it, a drawing that names it by a
  // folder of another machine, then draws a rectangle.
  void WriteDrawingWithPicture() {
    ASSERT_TRUE(SavePlainPicture(Path("art/sora.bmp"), QColor(0, 0, 255)));
    WriteFile("art/d.tlo", DrawingFileText({ReadBGRecord("C:\\Users\\kodomo\\e\\sora.bmp"),
                                            RectRecord(1, 400, 300, 450, 340)}));
  }
  std::string PicturePath() const { return QFileInfo(Path("art/sora.bmp")).absoluteFilePath().toStdString(); }
  bool PictureShown() { return CanvasPixel(*Window, 300, 200) == 0x0000FFu; }

  void Drop(const QString& file) { DropFiles(*Window, {file}); }

  void ExpectPictureFoundWithoutQuestion() {
    EXPECT_TRUE(Dialogs.Shown.empty()) << (Dialogs.Shown.empty() ? "" : Dialogs.LastText());
    ASSERT_EQ(S().History().Count(), 2);
    EXPECT_EQ(S().History().At(1).FileName, PicturePath());
    EXPECT_TRUE(PictureShown());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(Path("art")).canonicalPath());
  }
};

TEST_F(OpenByPathTest, AnOpenedOrDroppedDrawingFindsThePictureNextToIt) {
  WriteDrawingWithPicture();
  Window->OpenFileByPath(Path("art/d.tlo"));
  ExpectPictureFoundWithoutQuestion();

  QDir::setCurrent(Elsewhere.path());
  Answer(ModalResult::Yes);  // "really load?"
  Drop(Path("art/d.tlo"));
  ASSERT_EQ(Dialogs.Texts(), std::vector<std::string>{"本当にデータをよみこみますか？"});
  Dialogs.Shown.clear();
  ExpectPictureFoundWithoutQuestion();
}

TEST_F(OpenByPathTest, TheFoundPictureStaysFoundAfterSavingAndElsewhere) {
  WriteDrawingWithPicture();
  Window->OpenFileByPath(Path("art/d.tlo"));
  ASSERT_TRUE(PictureShown());

  // A picture export to another folder makes that the working folder; the
  // view mode still shows the picture.
  QDir::setCurrent(Elsewhere.path());
  ASSERT_TRUE(EnterPlayMode(*Window));
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_TRUE(PictureShown());
  ASSERT_TRUE(EnterDrawMode(*Window));

  // Saved and opened again, from anywhere, twice: never a question.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(Window->OverWriteDrawing());
    Dialogs.Shown.clear();
    QDir::setCurrent(Elsewhere.path());
    Answer(ModalResult::Yes);
    Window->OpenFileByPath(Path("art/d.tlo"));
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"本当にデータをよみこみますか？"}) << round;
    EXPECT_EQ(S().History().At(1).FileName, PicturePath()) << round;
    EXPECT_TRUE(PictureShown()) << round;
  }
  EXPECT_TRUE(ReadFile("art/d.tlo").contains(QFile::encodeName(QString::fromStdString(PicturePath()))));
}

// The first command-line argument opens like a drop: in the drawing's folder.
class CommandLinePictureTest : public OpenByPathTest {
 protected:
  QTemporaryDir Early;
  QString CommandLineFile() const override {
    SavePlainPicture(Early.filePath("sora.bmp"), QColor(0, 0, 255));
    WriteBytes(Early.filePath("start.tlo"), DrawingFileText({ReadBGRecord("/gone/sora.bmp")}));
    return Early.filePath("start.tlo");
  }
};

TEST_F(CommandLinePictureTest, TheDrawingFindsItsPicture) {
  EXPECT_TRUE(Dialogs.Shown.empty());
  ASSERT_EQ(S().History().Count(), 1);
  EXPECT_EQ(S().History().Last().FileName, QFileInfo(Early.filePath("sora.bmp")).absoluteFilePath().toStdString());
  EXPECT_TRUE(PictureShown());
}

// ---- The desktop's file type and the files opened by path agree ----

// What desktop/tamlo-mime.xml claims: its name patterns and the strings its
// content test looks for at the start of a file.
struct FileType {
  struct Glob {
    QRegularExpression Pattern;
  };
  std::vector<Glob> Globs;
  std::vector<QByteArray> Magic;

  bool NameMatches(const QString& name) const {
    for (const Glob& g : Globs)
      if (g.Pattern.match(name).hasMatch()) return true;
    return false;
  }
  bool ContentMatches(const QByteArray& bytes) const {
    for (const QByteArray& m : Magic)
      if (bytes.startsWith(m)) return true;
    return false;
  }
};

// The file in the source tree, wherever the build folder is.
QString MimeDefinitionPath() {
  const QString path = QStringLiteral(TAMLO_SOURCE_DIR "/desktop/tamlo-mime.xml");
  return QFileInfo::exists(path) ? path : QString();
}

FileType ReadFileType(const QString& path) {
  FileType type;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return type;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto a = xml.attributes();
    if (xml.name() == u"glob") {
      // Patterns ignore letter case unless they say otherwise.
      const bool exact = a.value("case-sensitive") == u"true";
      QRegularExpression re(QRegularExpression::wildcardToRegularExpression(a.value("pattern").toString()),
                            exact ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption);
      type.Globs.push_back({re});
    } else if (xml.name() == u"match") {
      EXPECT_EQ(a.value("type"), u"string");
      EXPECT_EQ(a.value("offset"), u"0");
      type.Magic.push_back(a.value("value").toUtf8());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return type;
}

TEST_F(OpenByPathTest, EveryFileTheDesktopCallsADrawingOpensAsOne) {
  const QString definition = MimeDefinitionPath();
  ASSERT_FALSE(definition.isEmpty());
  const FileType type = ReadFileType(definition);
  ASSERT_FALSE(type.Globs.empty());
  ASSERT_FALSE(type.Magic.empty());

  const QByteArray drawing = DrawingFileText({RectRecord(1, 10, 10, 50, 40)});
  const QByteArray contents[] = {drawing, "TAMLO FILE FORMAT 1.0\r\n", "TAMLO FILE FORMAT 1.1\r\n", "some text\r\n",
                                 "TAMLO FILE FORMAT 2.0\r\n"};
  const char* names[] = {"a.tlo", "a.TLO", "Mixed.Tlo", "a.tlO", "drawing", "a.txt", "a.tlo.txt", "a.Bmp",
                         "a.jpeg", "a.png", "a.tl", ".tlo"};
  int claimed = 0;
  for (const QByteArray& content : contents) {
    for (const char* name : names) {
      const bool byName = type.NameMatches(name);
      // A picture's own name pattern wins over content (the desktop's rule):
      // only ".bmp" and ".jpg" files are pictures here, in their exact case.
      if (!byName && !type.ContentMatches(content)) continue;
      ++claimed;
      WriteFile(name, content);
      Window->ResetDrawing();
      Dialogs.Shown.clear();
      Window->OpenFileByPath(Path(name));
      const std::vector<std::string> texts = Dialogs.Texts();
      EXPECT_TRUE(std::find(texts.begin(), texts.end(), kWrongType) == texts.end())
          << name << " with " << content.left(24).toStdString();
      if (content == drawing) {
        EXPECT_EQ(S().History().Count(), 1) << name;
        EXPECT_EQ(Caption(), CaptionFor(name)) << name;
      }
      QFile::remove(Path(name));
    }
  }
  EXPECT_GE(claimed, 20);

  // What the type leaves alone keeps the old answer, and the menus keep
  // their rule of names.
  for (const char* name : {"plain.txt", "noextension"}) {
    WriteFile(name, "some text\r\n");
    Dialogs.Shown.clear();
    Window->OpenFileByPath(Path(name));
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{kWrongType}) << name;
  }
  WriteFile("menu.Tlo", drawing);
  Choose("menu.Tlo");
  Dialogs.Shown.clear();
  TriggerMenu(MenuAction(*Window, "ReadDataMenu"));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{kWrongType});
}

// ---- Files that are no drawing files at all ----

TEST_F(OpenByPathTest, PipesDevicesFoldersAndHugeFilesAreRefusedAndTheDrawingStays) {
  DrawRects(2);
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.tlo")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.tlo")));
  ASSERT_TRUE(QDir().mkpath(Path("folder.tlo")));
  WriteFile("huge.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  ASSERT_TRUE(QFile::resize(Path("huge.tlo"), (qint64{256} << 20) + 1));  // sparse
  // Also a name without the extension whose content cannot be looked at.
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);

  const QString caption = Caption();
  for (const char* name : {"pipe.tlo", "zero.tlo", "folder.tlo", "huge.tlo"}) {
    for (int how = 0; how < 2; ++how) {
      Dialogs.Shown.clear();
      Answer(ModalResult::Yes);  // "really load?"
      if (how == 0) {
        Window->OpenFileByPath(Path(name));
      } else {
        Choose(name);
        TriggerMenu(MenuAction(*Window, "ReadDataMenu"));
      }
      EXPECT_EQ(Dialogs.LastText(), kLoadFailed) << name << " " << how;
      EXPECT_EQ(S().History().Count(), 2) << name;
      EXPECT_EQ(S().Figures().Count(), 2) << name;
      EXPECT_EQ(Caption(), caption) << name;
    }
  }
  Dialogs.Shown.clear();
  Window->OpenFileByPath(Path("pipe"));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{kWrongType});
  EXPECT_EQ(S().History().Count(), 2);
}

// ---- The process display ----

TEST_F(OpenByPathTest, TheProcessDisplayKeepsOnlyTheNewestLines) {
  TriggerMenu(MenuAction(*Window, "ShowDataMenu"));
  ASSERT_TRUE(S().ShowProcess);
  // 1,500 records of 16 lines each, echoed while read: 24,000 lines and more.
  QStringList lines{"TAMLO FILE FORMAT 1.2"};
  for (int id = 1; id <= 1500; ++id) lines += RectRecord(id, 10, 10, 20 + id % 100, 30);
  WriteFile("long.tlo", (lines.join("\r\n") + "\r\n").toUtf8());
  Window->OpenFileByPath(Path("long.tlo"));
  ASSERT_EQ(S().History().Count(), 1500);
  EXPECT_LE(MemoBox(*Window)->blockCount(), 10000);
  EXPECT_GE(MemoBox(*Window)->blockCount(), 9000);
  // The newest lines are the ones kept: the end of the last record, then
  // the empty line after a load.
  const QStringList shown = MemoBox(*Window)->toPlainText().split('\n');
  ASSERT_GE(shown.size(), 3);
  EXPECT_EQ(shown.at(shown.size() - 2), "end ActionData");
  EXPECT_EQ(shown.last(), "");
}

}  // namespace
