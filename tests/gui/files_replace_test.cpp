// Saving over files: what the replaced file keeps (permissions, the link
// that pointed at it), the name never standing empty, leftovers of crashed
// saves, and folders that take no new file.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <utility>

#include "support/file_fixture.h"
#include "support/builders.h"

namespace {

class ReplaceTest : public FileTest {
 protected:
  void SaveAs(const QString& name) {
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  }
  void Overwrite() { ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu"))); }
  mode_t Mode(const QString& name) const {
    struct stat st{};
    EXPECT_EQ(::stat(QFile::encodeName(Path(name)).constData(), &st), 0) << name.toStdString();
    return st.st_mode & 07777;
  }
  void SetMode(const QString& name, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(Path(name)).constData(), mode), 0);
  }
  bool IsLink(const QString& name) const { return QFileInfo(Path(name)).isSymLink(); }
  void Link(const QString& name, const QString& target) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(Path(name)).constData()), 0);
  }
};

TEST_F(ReplaceTest, SavesAndExportsKeepTheFilesPermissions) {
  DrawRects(1);
  SaveAs("e.tlo");
  SetMode("e.tlo", 0640);
  DrawRects(1);
  Overwrite();
  EXPECT_EQ(Dialogs.LastText(), "うわがきほぞんしました");
  EXPECT_EQ(Mode("e.tlo"), 0640u);
  EXPECT_EQ(Mode("e.bak"), 0640u);  // the old file itself

  // Save-as onto an existing file, read-only for everybody.
  SetMode("e.tlo", 0444);
  DrawRects(1);
  Answer(ModalResult::Yes);
  SaveAs("e.tlo");
  EXPECT_EQ(Mode("e.tlo"), 0444u);
  EXPECT_EQ(S().History().Count(), 3);

  // A picture export over a private picture.
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(Path("p.bmp"), "BMP"));
  SetMode("p.bmp", 0600);
  Choose("p.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveScreenBmpMenu")));
  EXPECT_EQ(QImage(Path("p.bmp")).size(), QSize(640, 480));
  EXPECT_EQ(Mode("p.bmp"), 0600u);

}

TEST_F(ReplaceTest, SavingThroughALinkReplacesTheFileItPointsTo) {
  ASSERT_TRUE(QDir(Dir.path()).mkdir("real"));
  DrawRects(1);
  SaveAs("real/e.tlo");
  const QByteArray first = ReadFile("real/e.tlo");
  SetMode("real/e.tlo", 0604);
  Link("e.tlo", "real/e.tlo");      // relative, beside the drawing's folder
  Link("chain.tlo", Path("e.tlo"));  // absolute, to the link

  DrawRects(1);
  Answer(ModalResult::Yes);
  SaveAs("chain.tlo");
  EXPECT_TRUE(IsLink("chain.tlo"));
  EXPECT_TRUE(IsLink("e.tlo"));
  const QByteArray second = ReadFile("real/e.tlo");
  EXPECT_NE(second, first);
  EXPECT_EQ(second.count("begin ActionData"), 2);
  EXPECT_EQ(ReadFile("real/e.bak"), first);  // the backup beside the file
  EXPECT_FALSE(Exists("e.bak"));
  EXPECT_FALSE(Exists("chain.bak"));
  EXPECT_EQ(Mode("real/e.tlo"), 0604u);
  EXPECT_EQ(S().DataFileName(), Path("chain.tlo").toStdString());  // the name as chosen

  // Overwriting again keeps the first backup and the links.
  DrawRects(1);
  Overwrite();
  EXPECT_EQ(Dialogs.LastText(), "うわがきほぞんしました");
  EXPECT_TRUE(IsLink("chain.tlo"));
  EXPECT_EQ(ReadFile("real/e.tlo").count("begin ActionData"), 3);
  EXPECT_EQ(ReadFile("real/e.bak"), first);
  EXPECT_EQ(Entries(), (QStringList{"chain.tlo", "e.tlo", "real"}));
  EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden), (QStringList{"e.bak", "e.tlo"}));

  // A link to a file not made yet: the file is made where it points.
  Link("later.tlo", "real/later.tlo");
  SaveAs("later.tlo");
  EXPECT_TRUE(IsLink("later.tlo"));
  EXPECT_EQ(ReadFile("real/later.tlo").count("begin ActionData"), 3);

}

// Watches the folder while it is saved over: the old file gets its backup
// name as a second name, and the new one is renamed over the old; the name
// is never moved away or deleted, so a crash at any moment leaves a file.
TEST_F(ReplaceTest, TheFileNameNeverStandsEmptyWhileSaving) {
  DrawRects(1);
  SaveAs("e.tlo");
  const QByteArray first = ReadFile("e.tlo");
  DrawRects(1);
  const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_GE(::inotify_add_watch(fd, QFile::encodeName(Dir.path()).constData(),
                                IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO),
            0);
  Overwrite();
  std::vector<std::pair<uint32_t, std::string>> events;
  alignas(inotify_event) char buffer[16384];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
    for (char* p = buffer; p < buffer + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      events.emplace_back(e->mask, e->len > 0 ? std::string(e->name) : std::string());
      p += sizeof(inotify_event) + e->len;
    }
  }
  ::close(fd);
  bool movedIn = false;
  for (const auto& [mask, name] : events) {
    if (name != "e.tlo") continue;
    EXPECT_FALSE(mask & (IN_DELETE | IN_MOVED_FROM)) << "e.tlo went away: mask " << mask;
    movedIn = movedIn || (mask & IN_MOVED_TO);
  }
  EXPECT_TRUE(movedIn);
  EXPECT_EQ(ReadFile("e.bak"), first);
  EXPECT_EQ(ReadFile("e.tlo").count("begin ActionData"), 2);
}

TEST_F(ReplaceTest, LeftoversOfCrashedSavesGoOnlyWhenOldAndOurs) {
  const QStringList names = {".tamlo-0123456789abcdef.tmp", ".tamlo-fedcba9876543210.tmp",
                             ".tamlo-0123456789abcdeg.tmp", ".tamlo-0123.tmp", "x.tamlo-0123456789abcdef.tmp"};
  for (const QString& name : names) WriteFile(name, "half");
  // All but the second are an hour old; the second was touched just now, as
  // by a save in progress in another window.
  const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  for (const QString& name : names) {
    if (name == names[1]) continue;
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(Path(name)).constData(), hourAgo, 0), 0);
  }
  // A folder with our name is not ours to remove either.
  ASSERT_TRUE(QDir(Dir.path()).mkdir(".tamlo-aaaaaaaaaaaaaaaa.tmp"));

  DrawRects(1);
  SaveAs("e.tlo");
  EXPECT_EQ(Entries(), (QStringList{".tamlo-0123.tmp", ".tamlo-0123456789abcdeg.tmp", ".tamlo-aaaaaaaaaaaaaaaa.tmp",
                                    ".tamlo-fedcba9876543210.tmp", "e.tlo", "x.tamlo-0123456789abcdef.tmp"}));
}

// A folder that takes no new file, holding a file that may be written: the
// save fails with its message and leaves the file whole. Root writes into
// any folder, so for root this case does not arise and the test is skipped.
TEST_F(ReplaceTest, AFolderTakingNoNewFileFailsTheSaveCleanly) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may create files in a read-only folder";
  ASSERT_TRUE(QDir(Dir.path()).mkdir("shut"));
  DrawRects(1);
  SaveAs("shut/e.tlo");
  const QByteArray saved = ReadFile("shut/e.tlo");
  SetMode("shut", 0555);
  DrawRects(2);
  Dialogs.Shown.clear();
  Overwrite();
  SetMode("shut", 0755);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"データ書き出しに失敗しました"});
  EXPECT_EQ(ReadFile("shut/e.tlo"), saved);
  EXPECT_EQ(QDir(Path("shut")).entryList(QDir::Files | QDir::Hidden), QStringList{"e.tlo"});
}

// Texts and names the drawing file cannot hold.
TEST_F(ReplaceTest, ADrawingWithALineBreakInATextIsNotSavedOverTheOldFile) {
  DrawRects(1);
  SaveAs("e.tlo");
  const QByteArray saved = ReadFile("e.tlo");
  DrawRects(1);
  // The text entry takes one line: a text made by hand.
  CreateFigure(MutableState(*Window), text("two\nlines", {10, 60}));
  Overwrite();
  EXPECT_EQ(Dialogs.LastText(), "データ書き出しに失敗しました");
  SaveAs("f.tlo");
  EXPECT_EQ(Dialogs.LastText(), "データ保存に失敗しました");
  EXPECT_EQ(S().DataFileName(), Path("e.tlo").toStdString());
  EXPECT_EQ(ReadFile("e.tlo"), saved);
  EXPECT_EQ(Entries(), QStringList{"e.tlo"});  // no backup, no temporary file, no f.tlo
}

TEST_F(ReplaceTest, APictureWhoseNameHasALineBreakIsRefusedBeforeAnythingChanges) {
  const char* const refusal = "ファイルのなまえに改行があるので、はいけいにできません";
  for (const QString& name : {QStringLiteral("a\nb.bmp"), QStringLiteral("c\r.bmp")}) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(Path(name), "BMP"));
    Dialogs.Shown.clear();

    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadBGMenu")));
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{refusal});
    EXPECT_EQ(S().History().Count(), 0);
    EXPECT_EQ(CanvasPixel(*Window, 2, 2), 0xFFFFFFu);  // not loaded either

    Window->OpenFileByPath(Path(name));  // a drop, or the command line
    EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{refusal, refusal}));
    EXPECT_EQ(S().History().Count(), 0);
    EXPECT_EQ(CanvasPixel(*Window, 2, 2), 0xFFFFFFu);
  }
}

}  // namespace
