// The window's journal: every action on the disk as it is drawn, gone after
// the exit sequence, emptied by a save, and after a crash (a window closed
// without its exit sequence) the question at the next start: Yes brings the
// drawing back, No keeps it as a dated drawing file.
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>

#include "format/history_writer.h"
#include "format/journal.h"
#include "support/file_fixture.h"
#include "support/gui_helpers.h"

namespace {

// Makes a file or folder unwritable (`on`) or writable again: by its mode,
// or for root, whom modes do not stop, by the file system's immutable flag.
// False when neither can be done here.
bool SetUnwritable(const QString& path, bool on) {
  const QByteArray name = QFile::encodeName(path);
  if (::geteuid() != 0) {
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return false;
    const mode_t mode = S_ISDIR(st.st_mode) ? (on ? 0500 : 0700) : (on ? 0400 : 0600);
    return ::chmod(name.constData(), mode) == 0;
  }
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}

const char* const kGoOn = "まえに かいていた えが のこっています。つづきから かきますか？";
const std::string kKeptAt = "まえに かいていた えは ここに のこしました：\n";

// The scripted dialogs with the list question of the window's own dialogs.
class ListingDialogs : public UserDialogs {
 public:
  struct Shown {
    std::string text, caption;
    std::vector<std::string> lines;
    std::vector<SmallPicture> pictures;
  };
  explicit ListingDialogs(ScriptedDialogs& scripted) : m_scripted(scripted) {}
  std::vector<Shown> Lists;  // every list shown
  std::deque<int> Chosen;    // the next lines chosen; none (-1) when empty

  void ShowMessage(const std::string& text) override { m_scripted.ShowMessage(text); }
  void ShowError(const std::string& text) override { m_scripted.ShowError(text); }
  ModalResult Ask(const std::string& text, const std::string& caption, QuestionButtons buttons) override {
    return m_scripted.Ask(text, caption, buttons);
  }
  ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                             const SmallPicture& picture) override {
    return m_scripted.AskWithPicture(text, caption, buttons, picture);
  }
  bool Execute(FileDialog& dialog) override { return m_scripted.Execute(dialog); }
  int Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines,
             const std::vector<SmallPicture>& pictures) override {
    Lists.push_back({text, caption, lines, pictures});
    if (Chosen.empty()) return -1;
    const int chosen = Chosen.front();
    Chosen.pop_front();
    return chosen;
  }

 private:
  ScriptedDialogs& m_scripted;
};

class JournalWindowTest : public FileTest {
 protected:
  QString StateFolder() const { return StateHome.filePath("tamlo"); }
  QStringList Journals() const {
    return QDir(StateFolder()).entryList({"journal-*.tlo"}, QDir::Files, QDir::Name);
  }
  QStringList KeptDrawings() const {
    return QDir(StateFolder()).entryList({"tamlo-*.tlo"}, QDir::Files, QDir::Name);
  }
  QString JournalPath() const { return QString::fromStdString(WindowJournal(*Window).Path()); }
  QByteArray JournalBytes() const { return FileBytes(JournalPath()); }
  // The first line of every question (the restore question names the
  // drawing on the lines after it).
  std::vector<std::string> Questions() const {
    std::vector<std::string> q;
    for (const ShownBox& b : Dialogs.Shown)
      if (b.kind == ShownBox::Question) q.push_back(b.text.substr(0, b.text.find('\n')));
    return q;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const ShownBox& b : Dialogs.Shown)
      if (b.kind == ShownBox::Message) m.push_back(b.text);
    return m;
  }
  QString KeptPath(int i = 0) const { return QDir(StateFolder()).filePath(KeptDrawings().value(i)); }

  // What a crash or a kill does to the files: the window is gone without
  // its exit sequence.
  void Crash() { Window.reset(); }
  // A crash, then the program started again, answering the question with
  // `answer`.
  void CrashAndRestart(ModalResult answer) {
    Crash();
    Answer(answer);
    Restart();
  }
  // Makes the window's journal look a minute older than anything drawn now.
  void AgeJournal() { ASSERT_TRUE(SetModified(JournalPath(), QDateTime::currentDateTime().addSecs(-60))); }
  // Garbles the kind of the journal's `nth` Create record (from 1) and
  // crashes; returns the journal's bytes as left on the disk.
  QByteArray CrashWithGarbledRecord(int nth) {
    const QString path = JournalPath();
    Crash();
    QByteArray bytes = FileBytes(path);
    int at = -1;
    for (int i = 0; i < nth; ++i) at = bytes.indexOf("Create\r\n", at + 1);
    EXPECT_GT(at, 0);
    if (at > 0) bytes[at + 1] = 'x';  // "Cxeate"
    EXPECT_TRUE(WriteBytes(path, bytes));
    return bytes;
  }
  // The side file of the window's journal.
  void WriteInfo(const QByteArray& bytes) { ASSERT_TRUE(WriteBytes(JournalPath() + ".info", bytes)); }
  // The view mode shows step `k`, and the window around it agrees.
  void ExpectViewModeAtStep(int k) {
    EXPECT_EQ(S().WorkMode, WindowMode::Play);
    EXPECT_TRUE(Button(*Window, "SelectPlayBtn")->isChecked());
    EXPECT_TRUE(Panel(*Window, "PlayPanel")->isVisible());
    EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), k);
    EXPECT_EQ(Slider(*Window, "TimeTrackBar")->maximum(), S().History().Count());
    EXPECT_EQ(S().CurrentStep(), k);
    EXPECT_EQ(Figures(S().Figures()).size(), static_cast<size_t>(k));  // one rectangle a step
    EXPECT_EQ(Button(*Window, "ReverseBtn")->isEnabled(), k > 0);
    EXPECT_EQ(Button(*Window, "ForwardBtn")->isEnabled(), k < S().History().Count());
  }

  ListingDialogs Listing{Dialogs};

  // The program started again.
  void Restart(const QString& commandLineFile = QString()) {
    Window = std::make_unique<MainWindow>(&Listing);
    Window->ExitProcess = [this](int code) { ExitCodes.push_back(code); };
    Window->createWidgets(commandLineFile);
    Window->show();
    MutableState(*Window).Clock = &Clock;
  }
};

TEST_F(JournalWindowTest, EveryActionIsInTheJournalAsItIsDrawn) {
  ASSERT_EQ(Journals().size(), 1);
  DrawRects(2);
  EXPECT_EQ(JournalBytes().toStdString(), HistoryFileText(S().History()));
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  ClickButton(Button(*Window, "DeleteBtn"));
  ASSERT_EQ(S().History().Count(), 3);
  EXPECT_EQ(JournalBytes().toStdString(), HistoryFileText(S().History()));
}

TEST_F(JournalWindowTest, ExitSequenceDeletesTheJournalWhateverTheAnswer) {
  // Nothing drawn.
  Window->ExitMenuClick();
  EXPECT_TRUE(Journals().isEmpty());

  Restart();
  DrawRects(1);
  Answer(ModalResult::Cancel);  // the program goes on: so does the journal
  Window->ExitMenuClick();
  EXPECT_EQ(Journals().size(), 1);
  Answer(ModalResult::No);
  Window->ExitMenuClick();
  EXPECT_TRUE(Journals().isEmpty());
  EXPECT_EQ(ExitCodes, (std::vector<int>{0, 0}));

  Restart();
  DrawRects(1);
  Answer(ModalResult::Yes);
  Choose("e.tlo");
  Window->ExitMenuClick();
  EXPECT_TRUE(Exists("e.tlo"));
  EXPECT_TRUE(Journals().isEmpty());
  EXPECT_TRUE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(JournalWindowTest, SavedDrawingLeavesNothingToAskAbout) {
  DrawRects(2);
  Choose("e.tlo");
  ASSERT_TRUE(Window->SaveDrawingAs());
  Crash();
  Restart();
  EXPECT_TRUE(Questions().empty());
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_EQ(Journals().size(), 1);  // the new window's own

  // After an overwrite too.
  ASSERT_TRUE(Window->LoadDrawingFile(Path("e.tlo")));
  DrawRects(1);
  ASSERT_TRUE(Window->OverWriteDrawing());
  Crash();
  Restart();
  EXPECT_TRUE(Questions().empty());
  EXPECT_TRUE(KeptDrawings().isEmpty());
}

TEST_F(JournalWindowTest, YesBringsTheDrawingBackAndTheJournalGoesOn) {
  DrawRects(3);
  const std::string drawn = HistoryFileText(S().History());
  CrashAndRestart(ModalResult::Yes);
  ASSERT_EQ(Questions(), std::vector<std::string>{kGoOn});
  EXPECT_EQ(Dialogs.Shown.back().caption, "かくにん");
  EXPECT_EQ(Dialogs.Shown.back().buttons, QuestionButtons::YesNo);
  EXPECT_EQ(HistoryFileText(S().History()), drawn);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 3u);
  EXPECT_EQ(CanvasPixel(*Window, 10 + 40, 25), 0x000000u);  // the third rectangle's left side
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23");
  EXPECT_TRUE(S().DataFileName().empty());

  // The same journal goes on: a second crash brings back all four.
  DrawRects(1);
  EXPECT_EQ(Journals().size(), 1);
  const std::string four = HistoryFileText(S().History());
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(HistoryFileText(S().History()), four);
  // New figures get new IDs after the restored ones.
  DrawRects(1);
  EXPECT_EQ(S().History().Last().TargetID, 5);
}

TEST_F(JournalWindowTest, LoadedDrawingComesBackWithItsFileAndCaption) {
  WriteFile("e.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40), RectRecord(2, 60, 10, 90, 40)}));
  ASSERT_TRUE(Window->LoadDrawingFile(Path("e.tlo")));
  // The journal begins from the file as opened, without copying it: the
  // file under a second name, and nothing else yet.
  EXPECT_EQ(JournalBytes().toStdString(), HistoryHeaderText());
  EXPECT_EQ(WindowJournal(*Window).FromBase(), 2);
  EXPECT_TRUE(std::filesystem::equivalent(WindowJournal(*Window).Path() + ".base", Path("e.tlo").toStdString()));
  DrawRect(*Window, {200, 200}, {260, 260});
  const std::string drawn = HistoryFileText(S().History());
  Crash();
  QDir::setCurrent(StartFolder);
  Answer(ModalResult::Yes);
  Restart();
  EXPECT_EQ(HistoryFileText(S().History()), drawn);
  EXPECT_EQ(S().DataFileName(), Path("e.tlo").toStdString());
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));
  EXPECT_EQ(QDir::currentPath(), Dir.path());
  // The overwrite goes to that file, with the action drawn before the crash.
  ASSERT_TRUE(Window->OverWriteDrawing());
  EXPECT_EQ(ReadFile("e.tlo").toStdString(), drawn);
}

TEST_F(JournalWindowTest, NoKeepsTheDrawingAsADatedFileThatOpens) {
  DrawRects(2);
  const std::string drawn = HistoryFileText(S().History());
  CrashAndRestart(ModalResult::No);
  EXPECT_EQ(Questions(), std::vector<std::string>{kGoOn});
  EXPECT_EQ(S().History().Count(), 0);
  const QStringList kept = KeptDrawings();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(Dialogs.LastText(), kKeptAt + KeptPath().toStdString());
  EXPECT_TRUE(kept[0].contains(QRegularExpression("^tamlo-\\d{4}-\\d\\d-\\d\\d-\\d{6}\\.tlo$"))) << kept[0].toStdString();
  EXPECT_EQ(Journals().size(), 1);  // the new window's own
  ASSERT_TRUE(Window->LoadDrawingFile(QDir(StateFolder()).filePath(kept[0])));
  EXPECT_EQ(HistoryFileText(S().History()), drawn);
  // Asked once: the kept drawing is no journal.
  Crash();
  Restart();
  EXPECT_EQ(Questions().size(), 1u);
}

TEST_F(JournalWindowTest, TwoWindowsAtOnceThenOneQuestionEachNewestFirst) {
  DrawRects(1);
  const std::string older = HistoryFileText(S().History());
  // A second window while the first runs: the first one's journal is in
  // use, so nothing is asked; each has its own.
  auto second = OpenWindow(&Dialogs);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(Journals().size(), 2);
  DrawRect(*second, {100, 100}, {150, 150});
  DrawRect(*second, {200, 100}, {250, 150});
  const std::string newer = HistoryFileText(second->state().History());
  ASSERT_EQ(second->state().History().Count(), 2);
  // The first window's last action is certainly the older one.
  AgeJournal();
  second.reset();
  Crash();

  // One list, newest first; the older one chosen.
  Listing.Chosen.push_back(1);
  Restart();
  EXPECT_TRUE(Questions().empty());
  ASSERT_EQ(Listing.Lists.size(), 1u);
  EXPECT_EQ(Listing.Lists[0].text, std::string(kGoOn) + "\nどの えの つづきを かきますか？");
  EXPECT_EQ(Listing.Lists[0].caption, "かくにん");
  EXPECT_EQ(Listing.Lists[0].lines.size(), 2u);
  EXPECT_EQ(HistoryFileText(S().History()), older);
  ASSERT_EQ(KeptDrawings().size(), 1);
  EXPECT_EQ(FileBytes(KeptPath()).toStdString(), newer);
  EXPECT_EQ(Journals().size(), 1);
  // And where the other one went is said.
  EXPECT_EQ(Messages(), std::vector<std::string>{kKeptAt + KeptPath().toStdString()});
}

// Where a small picture has ink: columns [from, to) hold some, the others
// none (a pixel counts as ink when it is clearly not white).
testing::AssertionResult InkOnlyIn(const SmallPicture& p, int from, int to) {
  if (p.Width != 160 || p.Height != 120 || p.Pixels.size() != 160u * 120u)
    return testing::AssertionFailure() << p.Width << " x " << p.Height;
  int inside = 0, outside = 0;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      const uint32_t c = p.Pixels[size_t(y) * p.Width + x];
      const bool ink = ((c >> 16) & 0xFF) < 0xC0 || ((c >> 8) & 0xFF) < 0xC0 || (c & 0xFF) < 0xC0;
      (x >= from && x < to ? inside : outside) += ink;
    }
  if (inside > 0 && outside == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << inside << " inked pixels inside, " << outside << " outside";
}

// The question shows a small picture of the drawing it would bring back;
// with several, each line of the list shows its own.
TEST_F(JournalWindowTest, TheQuestionShowsASmallPictureOfEachDrawing) {
  DrawRect(*Window, {20, 20}, {300, 460});  // the left half
  CrashAndRestart(ModalResult::No);
  EXPECT_EQ(Questions(), std::vector<std::string>{kGoOn});
  ASSERT_EQ(Dialogs.Pictures.size(), 1u);
  EXPECT_TRUE(InkOnlyIn(Dialogs.Pictures[0], 0, 80));

  // This window draws on the right half, a second one on the left.
  DrawRect(*Window, {340, 20}, {620, 460});
  AgeJournal();
  auto second = OpenWindow(&Dialogs);
  DrawRect(*second, {20, 20}, {300, 460});
  second.reset();
  Crash();
  Restart();
  ASSERT_EQ(Listing.Lists.size(), 1u);
  ASSERT_EQ(Listing.Lists[0].lines.size(), 2u);
  ASSERT_EQ(Listing.Lists[0].pictures.size(), 2u);
  // Newest first, as the lines.
  EXPECT_TRUE(InkOnlyIn(Listing.Lists[0].pictures[0], 0, 80));
  EXPECT_TRUE(InkOnlyIn(Listing.Lists[0].pictures[1], 80, 160));
  EXPECT_EQ(Dialogs.Pictures.size(), 1u);  // no question besides the list
}

TEST_F(JournalWindowTest, WindowKilledBeforeDrawingLeavesNoQuestion) {
  Crash();
  Restart();
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(Journals().size(), 1);
}

TEST_F(JournalWindowTest, RestoredDrawingThenCommandLineFileAsksBeforeReplacingIt) {
  WriteFile("e.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  DrawRects(2);
  Crash();
  Answer(ModalResult::Yes);
  Answer(ModalResult::No);  // do not load the file over the drawing that came back
  Restart(Path("e.tlo"));
  EXPECT_EQ(Questions(), (std::vector<std::string>{kGoOn, "本当にデータをよみこみますか？"}));
  EXPECT_EQ(S().History().Count(), 2);
}

TEST_F(JournalWindowTest, UnwritableStateFolderTellsOnceAndDrawingGoesOn) {
  Crash();
  QTemporaryDir elsewhere;
  ASSERT_TRUE(WriteBytes(elsewhere.filePath("file"), QByteArray()));
  // A state home under a plain file: no folder can be made there.
  qputenv("XDG_STATE_HOME", QFile::encodeName(elsewhere.filePath("file/state")));
  Restart();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{JournalFailedMessage});
  DrawRects(2);
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  Answer(ModalResult::No);
  Window->ExitMenuClick();
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

TEST_F(JournalWindowTest, StepOfTheViewModeComesBackInTheViewMode) {
  DrawRects(5);
  ASSERT_TRUE(EnterPlayMode(*Window));
  // Every way of moving counts: the slider, the buttons.
  Slider(*Window, "TimeTrackBar")->setValue(4);
  ClickButton(Button(*Window, "ReverseBtn"));
  ClickButton(Button(*Window, "ReverseBtn"));
  ASSERT_EQ(Slider(*Window, "TimeTrackBar")->value(), 2);
  CrashAndRestart(ModalResult::Yes);
  ASSERT_EQ(Questions(), std::vector<std::string>{kGoOn});
  ExpectViewModeAtStep(2);
  // The third and fourth rectangles' left sides are not drawn yet.
  EXPECT_EQ(CanvasPixel(*Window, 10 + 20, 25), 0x000000u);
  EXPECT_EQ(CanvasPixel(*Window, 10 + 40, 25), 0xFFFFFFu);
  // The whole drawing is there all the same, and the journal goes on.
  EXPECT_EQ(S().History().Count(), 5);
  ClickButton(Button(*Window, "ForwardBtn"));
  ExpectViewModeAtStep(3);

  // Step 0 (the empty canvas) is a step like any other.
  ClickButton(Button(*Window, "StopBtn"));
  CrashAndRestart(ModalResult::Yes);
  ExpectViewModeAtStep(0);
}

TEST_F(JournalWindowTest, ViewModeLeftOrNeverEnteredComesBackAtTheLastStep) {
  DrawRects(4);
  ASSERT_TRUE(EnterPlayMode(*Window));
  Slider(*Window, "TimeTrackBar")->setValue(1);
  Answer(ModalResult::No);  // not from here: back to the whole drawing
  ASSERT_TRUE(EnterDrawMode(*Window));
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 4u);

  // Drawing again from an earlier step records a branch: the drawing mode
  // shows that drawing, the last step.
  ASSERT_TRUE(EnterPlayMode(*Window));
  Slider(*Window, "TimeTrackBar")->setValue(2);
  Answer(ModalResult::Yes);
  ASSERT_TRUE(EnterEditMode(*Window));
  const std::string branched = HistoryFileText(S().History());
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(HistoryFileText(S().History()), branched);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
}

TEST_F(JournalWindowTest, SideFileWithoutTheStepOrWithOnePastTheHistory) {
  // A side file as the first journals wrote it: the last step.
  DrawRects(3);
  ASSERT_TRUE(EnterPlayMode(*Window));
  Slider(*Window, "TimeTrackBar")->setValue(1);
  WriteInfo("TAMLO JOURNAL 1\n0\n");
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 3u);

  // Its file name still counts.
  WriteFile("e.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  WriteInfo("TAMLO JOURNAL 1\n0\n" + QFile::encodeName(Path("e.tlo")));
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(S().DataFileName(), Path("e.tlo").toStdString());
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));

  // A step past the history, by hand: the last one, in the view mode.
  DrawRects(1);
  WriteInfo("TAMLO JOURNAL 2\nview 0000000099\n0\n");
  CrashAndRestart(ModalResult::Yes);
  ExpectViewModeAtStep(4);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  // And steps taken now are noted in the side file written anew.
  ClickButton(Button(*Window, "ReverseBtn"));
  CrashAndRestart(ModalResult::Yes);
  ExpectViewModeAtStep(3);
}

TEST_F(JournalWindowTest, QuestionNamesTheDrawingWhenItWasDrawnAndItsSteps) {
  const QDateTime when(QDate(2026, 3, 4), QTime(9, 7, 30));
  DrawRects(2);
  ASSERT_TRUE(SetModified(JournalPath(), when));
  CrashAndRestart(ModalResult::No);
  ASSERT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(Dialogs.Shown[0].text, std::string(kGoOn) + "\n「なまえのない え」 3がつ 4にち 9じ 07ふん ・ 2 かい かいた");

  Dialogs.Shown.clear();
  WriteFile("e.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  ASSERT_TRUE(Window->LoadDrawingFile(Path("e.tlo")));
  DrawRects(2);
  ASSERT_TRUE(SetModified(JournalPath(), when));
  CrashAndRestart(ModalResult::Yes);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].text, std::string(kGoOn) + "\n「e.tlo」 3がつ 4にち 9じ 07ふん ・ 3 かい かいた");
}

TEST_F(JournalWindowTest, DamagedJournalComesBackUpToTheDamageAndIsKeptWhole) {
  DrawRects(4);
  const QByteArray bytes = CrashWithGarbledRecord(3);
  Answer(ModalResult::Yes);
  Restart();
  EXPECT_EQ(Questions(), std::vector<std::string>{kGoOn});
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
  ASSERT_EQ(KeptDrawings().size(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"まえに かいていた えは とちゅうから こわれていたので、よめた ところまで "
                                                 "もどしました。もとの ファイルは ここに のこしました：\n" +
                                                 KeptPath().toStdString()});
  EXPECT_EQ(FileBytes(KeptPath()), bytes);
  // The drawing goes on in a journal of its own, and comes back whole.
  DrawRects(1);
  EXPECT_EQ(Journals().size(), 1);
  const std::string drawn = HistoryFileText(S().History());
  CrashAndRestart(ModalResult::Yes);
  EXPECT_EQ(HistoryFileText(S().History()), drawn);
}

TEST_F(JournalWindowTest, JournalWithNothingReadableIsKeptAndSaid) {
  DrawRects(2);
  const QByteArray bytes = CrashWithGarbledRecord(1);
  Restart();
  EXPECT_TRUE(Questions().empty());
  ASSERT_EQ(KeptDrawings().size(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"まえに かいていた えが こわれていて よめませんでした。ここに のこしました：\n" +
                                                 KeptPath().toStdString()});
  EXPECT_EQ(FileBytes(KeptPath()), bytes);
  EXPECT_EQ(Journals().size(), 1);  // the new window's own
}

TEST_F(JournalWindowTest, OverwriteOfAFileSavedSinceByAnotherWindowAsksFirst) {
  WriteFile("e.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  ASSERT_TRUE(Window->LoadDrawingFile(Path("e.tlo")));
  DrawRect(*Window, {200, 200}, {260, 260});
  const std::string older = HistoryFileText(S().History());
  // Meanwhile another window opens the same file, draws and saves it.
  auto second = OpenWindow(&Dialogs);
  ASSERT_TRUE(second->LoadDrawingFile(Path("e.tlo")));
  for (int i = 0; i < 3; ++i) DrawRect(*second, {100 + 30 * i, 300}, {120 + 30 * i, 330});
  ASSERT_TRUE(second->OverWriteDrawing());
  const QByteArray newer = ReadFile("e.tlo");
  second.reset();
  // The first one is killed, and comes back.
  Crash();
  Dialogs.Shown.clear();
  Answer(ModalResult::Yes);
  Restart();
  ASSERT_EQ(HistoryFileText(S().History()), older);
  // Overwriting asks first; No leaves the other window's save as it is.
  Answer(ModalResult::No);
  EXPECT_FALSE(Window->OverWriteDrawing());
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[1], "この えの ファイルは、ほかで かきかえられています。うわがきしますか？");
  EXPECT_EQ(Dialogs.Shown[Dialogs.Shown.size() - 2].caption, "確認");
  EXPECT_EQ(Dialogs.LastText(), "ファイルほぞんをキャンセルしました");
  EXPECT_EQ(ReadFile("e.tlo"), newer);
  // Yes overwrites; after that the file is this window's again.
  Answer(ModalResult::Yes);
  EXPECT_TRUE(Window->OverWriteDrawing());
  EXPECT_EQ(ReadFile("e.tlo").toStdString(), older);
  Dialogs.Shown.clear();
  DrawRects(1);
  EXPECT_TRUE(Window->OverWriteDrawing());
  EXPECT_TRUE(Questions().empty());
}

TEST_F(JournalWindowTest, JournalFolderThatCannotBeWrittenStillOffersItsDrawings) {
  DrawRects(2);
  const std::string drawn = HistoryFileText(S().History());
  const QString journal = JournalPath();
  Crash();
  // The journal and its folder cannot be written (a full quota, a read-only
  // disk, files of another user).
  const QStringList locked{journal, StateFolder()};
  for (const QString& path : locked)
    if (!SetUnwritable(path, true)) GTEST_SKIP() << "no way to make " << path.toStdString() << " unwritable here";
  Answer(ModalResult::Yes);
  Restart();
  for (const QString& path : locked) SetUnwritable(path, false);
  EXPECT_EQ(Questions(), std::vector<std::string>{kGoOn});
  EXPECT_EQ(HistoryFileText(S().History()), drawn);
  // It could not go on in that folder, and that is said.
  EXPECT_EQ(Dialogs.LastText(), JournalFailedMessage);
  EXPECT_TRUE(QFile::exists(journal));

  // Answered No, the drawing stays where it was, and that is said.
  Crash();
  for (const QString& path : locked)
    if (!SetUnwritable(path, true)) GTEST_SKIP();
  Dialogs.Shown.clear();
  Answer(ModalResult::No);
  Restart();
  for (const QString& path : locked) SetUnwritable(path, false);
  EXPECT_EQ(Questions(), std::vector<std::string>{kGoOn});
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_EQ(Messages().front(), kKeptAt + journal.toStdString());
  EXPECT_TRUE(QFile::exists(journal));
}

}  // namespace
