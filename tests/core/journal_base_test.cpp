// A journal begun from an opened or saved drawing file: the file is its
// base, under a second name (or a copy), and the journal holds only the
// actions since; never offered while its base cannot be read.
#include <sys/stat.h>

#include "journal_fixture.h"

namespace {

struct JournalBase : Journal {
  std::string File;      // the drawing's file
  std::string FileText;  // its bytes
  AppState S;
  std::unique_ptr<ActionJournal> Live = std::make_unique<ActionJournal>();

  // A drawing of `records` random actions written to File and read back
  // into S, whose journal begins from it. `copied`: as where no second
  // name of the file can be made (the stamp's inode is not the file's).
  void Open(int records, uint32_t seed, bool copied = false) {
    {
      AppState made;
      RandomSession session(made, seed);
      while (made.History().Count() < records) session.Step();
      FileText = HistoryFileText(made.History());
    }
    File = (fs::path(Folder).parent_path() / "e.tlo").string();
    fs::create_directories(fs::path(Folder).parent_path());
    std::ofstream(File, std::ios::binary | std::ios::trunc) << FileText;
    Begin(S, *Live);
    ASSERT_EQ(ReadHistory(S, FileText), 0);
    FileStamp stamp = StampOfFile(File);
    if (copied) stamp.Inode ^= 1;
    std::string bytes = FileText;
    ASSERT_TRUE(Live->Restart(S.History(), File, stamp, &bytes));
    Live->WaitForBase();
  }
  // What a kill leaves: the journal closed, not removed.
  void Kill() {
    S.Journal = nullptr;
    Live.reset();
  }
  // Another window saves over the file: a new file under its name.
  void ReplaceFile(const std::string& bytes) {
    const std::string temp = File + ".new";
    std::ofstream(temp, std::ios::binary | std::ios::trunc) << bytes;
    fs::rename(temp, File);
  }
  static ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  }
};

TEST_F(JournalBase, OpenedDrawingIsTheBaseUnderASecondNameAndTheJournalHoldsOnlyWhatFollows) {
  Open(40, 80);
  const int32_t opened = S.History().Count();
  EXPECT_EQ(Live->FromBase(), opened);
  EXPECT_EQ(FileBytes(Live->Path()), HistoryHeaderText());
  EXPECT_EQ(Inode(Live->Path() + ".base"), Inode(File));
  RandomSession session(S, 81);
  for (int i = 0; i < 3; ++i) session.Step();
  const std::string drawn = HistoryFileText(S.History());
  const std::string path = Live->Path();
  Kill();
  // Another window saves over the file meanwhile: the base is what this
  // window opened, all the same.
  ReplaceFile("TAMLO FILE FORMAT 1.2\r\n");

  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Count, S.History().Count());
  EXPECT_EQ(left[0].Info.BaseCount, opened);
  EXPECT_EQ(left[0].Info.FromBase, opened);
  EXPECT_EQ(Reread(left[0].Text), drawn);

  // Adopted, it goes on after its own records, base and all.
  AppState R;
  R.Dialogs = &Dialogs;
  ASSERT_EQ(ReadHistory(R, left[0].Text), 0);
  {
    ActionJournal adopted;
    ASSERT_TRUE(adopted.Adopt(std::move(left[0]), R.History()));
    R.Journal = &adopted;
    RandomSession more(R, 82);
    more.Step();
  }
  left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Path, path);
  EXPECT_EQ(Reread(left[0].Text), HistoryFileText(R.History()));

  // Kept, it is one drawing file: the base's records and the journal's.
  const std::string kept = left[0].Keep();
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(Reread(FileBytes(kept)), HistoryFileText(R.History()));
  EXPECT_EQ(Names(Folder), std::vector<std::string>{fs::path(kept).filename().string()});
}

TEST_F(JournalBase, WhereNoSecondNameFitsTheBaseIsACopyAndAnIncompleteOneIsNeverOffered) {
  // A stamp that is not the file's: the second name is refused, a copy of
  // the bytes read is made instead.
  Open(30, 83, true);
  EXPECT_EQ(Live->FromBase(), S.History().Count());
  EXPECT_EQ(FileBytes(Live->Path() + ".base"), FileText);
  EXPECT_NE(Inode(Live->Path() + ".base"), Inode(File));

  // The copy lost (a crash before it got its name), the file still as
  // opened: the file itself is the base.
  RandomSession session(S, 84);
  session.Step();
  const std::string drawn = HistoryFileText(S.History());
  const std::string path = Live->Path();
  Kill();
  fs::remove(path + ".base");
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_FALSE(left[0].BaseMissing);
  EXPECT_EQ(Reread(left[0].Text), drawn);
  left.clear();

  // The file replaced as well: nothing of it is offered, nothing removed.
  ReplaceFile(FileText + "\r\n");
  left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(left[0].BaseMissing);
  EXPECT_FALSE(left[0].HasUnsaved());
  EXPECT_EQ(left[0].Count, 0);
  const std::string kept = left[0].Keep();
  ASSERT_FALSE(kept.empty());
  EXPECT_TRUE(fs::exists(kept));
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(JournalBase, BaseWithNothingDrawnSinceGoesSilently) {
  Open(20, 85);
  const std::string path = Live->Path();
  Kill();
  EXPECT_TRUE(FindLeftJournals(Folder).empty());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(fs::exists(path + ".base"));
  EXPECT_FALSE(fs::exists(path + ".info"));
  EXPECT_TRUE(fs::exists(File));
}

}  // namespace
