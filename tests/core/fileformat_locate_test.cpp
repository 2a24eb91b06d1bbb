// Finding the picture a ReadBG / ReadData record names, with real files in a
// temporary folder and scripted dialogs: the reader finds what is there and
// reports the rest; asking about the rest is the window's and the batch
// mode's (AskForMissingPictures).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/missing_pictures.h"
#include "support/scripted_dialogs.h"

namespace fs = std::filesystem;

namespace {

struct LocateFile : ::testing::Test {
  AppState S;
  ScriptedDialogs Dialogs;
  fs::path SavedCwd;
  fs::path Root;  // temporary: Root/work (the working folder), Root/pics

  LocateFile() {
    S.Dialogs = &Dialogs;
    SavedCwd = fs::current_path();
    std::random_device rd;
    Root = fs::temp_directory_path() / ("tamlo-locate-" + std::to_string(rd()));
    fs::create_directories(Root / "work");
    fs::create_directories(Root / "pics");
    fs::current_path(Root / "work");
  }
  ~LocateFile() override {
    fs::current_path(SavedCwd);
    std::error_code ec;
    fs::remove_all(Root, ec);
  }

  static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

  // Reads `text` and asks about what it did not find, as a load does.
  int ReadAndAsk(const std::string& text) {
    ReadReport report;
    const int result = ReadHistory(S, text, &report);
    AskForMissingPictures(S, report.MissingPictures, Dialogs, S.OpenBGDialog);
    return result;
  }

  // Reads a file with one record of `kind` naming `name`; the located name.
  std::string ReadName(const std::string& name, const char* kind = "ReadBG") {
    S.Reset();
    const std::string text = std::string("TAMLO FILE FORMAT 1.2\r\nbegin ActionData\r\n01 02 03 04\r\n") + kind +
                             "\r\n" + name + "\r\nend ActionData\r\n";
    EXPECT_EQ(ReadAndAsk(text), 0);
    return S.History().Count() == 1 ? S.History().Last().FileName : "(not read)";
  }

  std::string Question(const std::string& bare) { return bare + "が見つかりません。場所を指定しますか？"; }
};

TEST_F(LocateFile, ExistingFullPathIsKeptWithoutQuestion) {
  const std::string pic = (Root / "pics" / "sora.jpg").string();
  Touch(pic);
  EXPECT_EQ(ReadName(pic), pic);
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(LocateFile, BareNameInTheWorkingFolderGivesThePathOfThatFile) {
  Touch(Root / "work" / "sora.jpg");
  const std::string found = (Root / "work" / "sora.jpg").string();
  // The recorded path is gone (another machine), the picture is here: the
  // record names the file found, whatever folder the background dialog
  // last held.
  EXPECT_EQ(ReadName("C:\\e\\sora.jpg"), found);
  S.OpenBGDialog.FileName = "/old/place/umi.bmp";
  EXPECT_EQ(ReadName("/gone/sora.jpg"), found);
  EXPECT_EQ(ReadName("/gone/sora.jpg", "ReadData"), found);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Dialogs.DialogsRun.empty());
}

TEST_F(LocateFile, NamesWithoutFolderOrRelativeAreFoundFromTheWorkingFolder) {
  Touch(Root / "work" / "sora.jpg");
  fs::create_directories(Root / "work" / "sub");
  Touch(Root / "work" / "sub" / "umi.bmp");
  EXPECT_EQ(ReadName("sora.jpg"), (Root / "work" / "sora.jpg").string());
  EXPECT_EQ(ReadName("sub/umi.bmp"), (Root / "work" / "sub" / "umi.bmp").string());
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(LocateFile, AMissingNameWithoutFolderAsks) {
  EXPECT_EQ(ReadName("sora.jpg"), "sora.jpg");
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Question);
  EXPECT_EQ(Dialogs.Shown[0].text, Question("sora.jpg"));
  EXPECT_EQ(Dialogs.Shown[0].caption, "確認");
  EXPECT_EQ(Dialogs.Shown[0].buttons, QuestionButtons::YesNo);
}

TEST_F(LocateFile, AnsweringNoKeepsTheRecordedName) {
  EXPECT_EQ(ReadName("C:\\e\\umi.bmp"), "C:\\e\\umi.bmp");
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{Question("umi.bmp")});
  EXPECT_TRUE(Dialogs.DialogsRun.empty());
}

TEST_F(LocateFile, CancellingTheDialogKeepsTheRecordedNameAndFolder) {
  Dialogs.Answers = {ModalResult::Yes};
  Dialogs.Files = {""};
  EXPECT_EQ(ReadName("/gone/umi.bmp", "ReadData"), "/gone/umi.bmp");
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun[0].Kind, DialogKind::OpenBG);
  EXPECT_EQ(Dialogs.DialogsRun[0].FileName, "umi.bmp");
  EXPECT_EQ(Dialogs.DialogsRun[0].FilterIndex, 1);
  EXPECT_EQ(fs::current_path(), Root / "work");
}

TEST_F(LocateFile, FilterIndexFollowsTheExtensionExactly) {
  const struct {
    const char* name;
    int index;
  } cases[] = {{"/g/a.jpg", 2}, {"/g/a.JPG", 2}, {"/g/a.Jpg", 1}, {"/g/a.jpeg", 1}, {"/g/a.bmp", 1},
               {"/g.jpg/a", 1}, {"C:\\g\\a.jpg", 2}};
  for (const auto& c : cases) {
    Dialogs.Answers = {ModalResult::Yes};
    Dialogs.Files = {""};
    Dialogs.DialogsRun.clear();
    ReadName(c.name);
    ASSERT_EQ(Dialogs.DialogsRun.size(), 1u) << c.name;
    EXPECT_EQ(Dialogs.DialogsRun[0].FilterIndex, c.index) << c.name;
  }
}

TEST_F(LocateFile, ChosenFileIsTakenAndItsFolderBecomesTheWorkingFolder) {
  const std::string chosen = (Root / "pics" / "sora2.jpg").string();
  Touch(chosen);
  Dialogs.Answers = {ModalResult::Yes};
  Dialogs.Files = {chosen};
  EXPECT_EQ(ReadName("C:\\e\\sora.jpg"), chosen);
  EXPECT_EQ(fs::current_path(), Root / "pics");
  EXPECT_EQ(S.OpenBGDialog.FileName, chosen);
  EXPECT_EQ(S.OpenBGDialog.FilterIndex, 2);
  EXPECT_EQ(Dialogs.DialogsRun.at(0).FileName, "sora.jpg");
}

TEST_F(LocateFile, AFolderIsNoFile) {
  fs::create_directories(Root / "pics" / "sora.jpg");
  const std::string dir = (Root / "pics" / "sora.jpg").string();
  EXPECT_EQ(ReadName(dir), dir);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{Question("sora.jpg")});
}

// A file whose records all name one of a few pictures.
std::string ManyReadBG(const std::vector<std::string>& names, int each) {
  std::string text = "TAMLO FILE FORMAT 1.2\r\n";
  for (int i = 0; i < each; ++i)
    for (const std::string& n : names) text += "begin ActionData\r\n01 02 03 04\r\nReadBG\r\n" + n + "\r\nend ActionData\r\n";
  return text;
}

TEST_F(LocateFile, EachMissingNameIsAskedAboutOncePerRead) {
  const std::string text = ManyReadBG({"C:\\e\\umi.bmp", "C:\\e\\sora.jpg"}, 2500);
  ASSERT_EQ(ReadAndAsk(text), 0);
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{Question("umi.bmp"), Question("sora.jpg")}));
  ASSERT_EQ(S.History().Count(), 5000);
  EXPECT_EQ(S.History().Last().FileName, "C:\\e\\sora.jpg");

  // The answer holds for one read only: the next read asks again.
  S.Reset();
  Dialogs.Shown.clear();
  ASSERT_EQ(ReadAndAsk(text), 0);
  EXPECT_EQ(Dialogs.Shown.size(), 2u);
}

TEST_F(LocateFile, TheChosenFileServesEveryRecordOfThatName) {
  const std::string chosen = (Root / "pics" / "umi.bmp").string();
  Touch(chosen);
  Dialogs.Answers = {ModalResult::Yes};
  Dialogs.Files = {chosen};
  ASSERT_EQ(ReadAndAsk(ManyReadBG({"C:\\e\\umi.bmp"}, 300)), 0);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun.size(), 1u);
  for (const Action& a : S.History()) ASSERT_EQ(a.FileName, chosen);
}

TEST_F(LocateFile, TheReaderAsksNothingAndKeepsTheWorkingFolder) {
  Touch(Root / "work" / "sora.jpg");
  const std::string text = ManyReadBG({"C:\\e\\umi.bmp", "/gone/sora.jpg", "kumo.bmp"}, 3);
  ReadReport report;
  ASSERT_EQ(ReadHistory(S, text, &report), 0);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Dialogs.DialogsRun.empty());
  EXPECT_EQ(fs::current_path(), Root / "work");
  EXPECT_FALSE(report.Fault.has_value());
  // Each missing name once, in the order of its first record; the records
  // keep the names as read.
  EXPECT_EQ(report.MissingPictures, (std::vector<std::string>{"C:\\e\\umi.bmp", "kumo.bmp"}));
  ASSERT_EQ(S.History().Count(), 9);
  EXPECT_EQ(S.History().At(7).FileName, "C:\\e\\umi.bmp");
  EXPECT_EQ(S.History().At(8).FileName, (Root / "work" / "sora.jpg").string());

  // A damaged file reports its fault and no pictures: nobody is asked
  // about a drawing that does not open.
  S.Reset();
  ASSERT_EQ(ReadHistory(S, text + "begin ActionData\r\n", &report), 1);
  EXPECT_TRUE(report.Fault.has_value());
  EXPECT_TRUE(report.MissingPictures.empty());
}

TEST_F(LocateFile, APictureChosenInAFolderLetsTheNextBeFoundThere) {
  const std::string umi = (Root / "pics" / "umi.bmp").string();
  Touch(umi);
  Touch(Root / "pics" / "sora.jpg");
  Dialogs.Answers = {ModalResult::Yes};
  Dialogs.Files = {umi};
  ASSERT_EQ(ReadAndAsk(ManyReadBG({"C:\\e\\umi.bmp", "C:\\e\\sora.jpg"}, 2)), 0);
  // One question: the folder chosen for the first holds the second.
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{Question("umi.bmp")});
  EXPECT_EQ(S.History().At(3).FileName, umi);
  EXPECT_EQ(S.History().At(4).FileName, (Root / "pics" / "sora.jpg").string());
}

TEST_F(LocateFile, SavingAndReadingAgainKeepsTheFoundPicture) {
  Touch(Root / "work" / "sora.bmp");
  const std::string found = (Root / "work" / "sora.bmp").string();
  std::string text = ManyReadBG({"C:\\old\\sora.bmp"}, 1);
  // Saved and read again three times, from another working folder after
  // the first: the record keeps naming the picture, and nobody is asked.
  for (int round = 0; round < 3; ++round) {
    S.Reset();
    ASSERT_EQ(ReadAndAsk(text), 0) << round;
    ASSERT_EQ(S.History().Count(), 1);
    EXPECT_EQ(S.History().Last().FileName, found) << round;
    text = HistoryFileText(S.History());
    fs::current_path(Root / "pics");
  }
  EXPECT_TRUE(Dialogs.Shown.empty());
}

}  // namespace
