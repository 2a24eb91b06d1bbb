// The journal's side file (the step shown, old and damaged side files), two
// journals at once, the journals' folder, and a disk that refuses writes.
#include "journal_fixture.h"

namespace {

TEST_F(Journal, StepShownOutlivesTheWindowAndEveryRewriteOfTheSideFile) {
  // A file name with a line end in it: the name is the rest of the side file.
  const std::string name = "/home/child/え\nview 0000000001\n.tlo";
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 70);
    for (int i = 0; i < 6; ++i) session.Step();
    ASSERT_TRUE(journal.Restart(S.History(), name));
    session.Step();
    journal.ShowStep(true, 5);
    journal.ShowStep(true, 12345);  // the widest step takes the same place
    journal.ShowStep(true, 3);
    const auto size = fs::file_size(journal.Path() + ".info");
    // Written anew after a save: the step stays.
    ASSERT_TRUE(journal.Restart(S.History(), name));
    session.Step();
    EXPECT_EQ(fs::file_size(journal.Path() + ".info"), size);
    EXPECT_TRUE(journal.ViewMode());
    EXPECT_EQ(journal.ShownStep(), 3);
  }
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(left[0].Info.ViewMode);
  EXPECT_EQ(left[0].Info.ShownStep, 3);
  EXPECT_EQ(left[0].Info.BaseCount, 7);
  EXPECT_EQ(left[0].Info.DataFileName, name);

  // Adopted, it goes on noting; out of the view mode, the last step.
  AppState S;
  S.Dialogs = &Dialogs;
  ASSERT_EQ(ReadHistory(S, left[0].Text), 0);
  auto journal = std::make_unique<ActionJournal>();
  ASSERT_TRUE(journal->Adopt(std::move(left[0]), S.History()));
  journal->ShowStep(false, 4);
  journal.reset();
  left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_FALSE(left[0].Info.ViewMode);
  EXPECT_EQ(left[0].Info.ShownStep, 0);
  EXPECT_EQ(left[0].Info.DataFileName, name);
}

TEST_F(Journal, SideFilesWithoutTheStepOrWithADamagedOneKeepNameAndBase) {
  std::string path;
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 71);
    for (int i = 0; i < 4; ++i) session.Step();
    path = journal.Path();
  }
  const auto info = [&](const std::string& bytes) {
    std::ofstream(path + ".info", std::ios::binary | std::ios::trunc) << bytes;
    std::vector<LeftJournal> left = FindLeftJournals(Folder);
    EXPECT_EQ(left.size(), 1u);
    return left.empty() ? JournalInfo() : left[0].Info;
  };
  // As the first journals wrote them.
  JournalInfo old = info("TAMLO JOURNAL 1\n2\n/x/e.tlo");
  EXPECT_FALSE(old.ViewMode);
  EXPECT_EQ(old.BaseCount, 2);
  EXPECT_EQ(old.DataFileName, "/x/e.tlo");
  // A step line a power cut tore, or nonsense: the last step, the rest kept.
  for (const char* line : {"view 00000\0\0\0\0\0", "view 000000-001", "view           ", "vie\0 0000000003", "view 99999999999"}) {
    SCOPED_TRACE(line);
    const JournalInfo torn = info(std::string("TAMLO JOURNAL 2\n") + std::string(line, 15) + "\n2\n/x/e.tlo");
    EXPECT_FALSE(torn.ViewMode);
    EXPECT_EQ(torn.BaseCount, 2);
    EXPECT_EQ(torn.DataFileName, "/x/e.tlo");
  }

  // Adopting a side file of the first kind writes it in the present form:
  // a step noted afterwards never lands on the base or the name.
  info("TAMLO JOURNAL 1\n2\n/x/e.tlo");
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  AppState S;
  S.Dialogs = &Dialogs;
  ASSERT_EQ(ReadHistory(S, left[0].Text), 0);
  {
    ActionJournal journal;
    ASSERT_TRUE(journal.Adopt(std::move(left[0]), S.History()));
    journal.ShowStep(true, 1);
  }
  left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(left[0].Info.ViewMode);
  EXPECT_EQ(left[0].Info.ShownStep, 1);
  EXPECT_EQ(left[0].Info.BaseCount, 2);
  EXPECT_EQ(left[0].Info.DataFileName, "/x/e.tlo");
}

TEST_F(Journal, TwoWindowsNeverShareOne) {
  AppState A, B;
  ActionJournal ja, jb;
  Begin(A, ja);
  Begin(B, jb);
  EXPECT_NE(ja.Path(), jb.Path());
  RandomSession sa(A, 1);
  sa.Step();
  RandomSession sb(B, 2);
  sb.Step();
  sb.Step();
  EXPECT_EQ(ja.Count(), 1);
  EXPECT_EQ(jb.Count(), 2);
  EXPECT_TRUE(FindLeftJournals(Folder).empty());
}

TEST_F(Journal, FolderThatCannotBeMadeLeavesTheJournalOff) {
  fs::create_directories(fs::path(Folder).parent_path());
  std::ofstream(fs::path(Folder).parent_path() / "file") << "x";
  AppState S;
  S.Dialogs = &Dialogs;
  ActionJournal journal;
  EXPECT_FALSE(journal.Start((fs::path(Folder).parent_path() / "file" / "tamlo").string(), S.History(), ""));
  EXPECT_FALSE(journal.Active());
  S.Journal = &journal;
  RandomSession session(S, 1);
  session.Step();
  EXPECT_EQ(S.History().Count(), 1);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(JournalFolder().empty(), std::getenv("HOME") == nullptr && std::getenv("XDG_STATE_HOME") == nullptr);
}

TEST_F(Journal, FolderFollowsTheStateHome) {
  const char* old = std::getenv("XDG_STATE_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_STATE_HOME", "/var/tmp/somewhere", 1);
  EXPECT_EQ(JournalFolder(), "/var/tmp/somewhere/tamlo");
  ::setenv("XDG_STATE_HOME", "relative/ignored", 1);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    EXPECT_EQ(JournalFolder(), std::string(home) + "/.local/state/tamlo");
  }
  if (old)
    ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_STATE_HOME");
}

TEST_F(Journal, FullDiskTellsOnceAndDrawingGoesOnWithWholeRecordsKept) {
  AppState S;
  ActionJournal journal;
  Begin(S, journal);
  RandomSession session(S, 90, true);
  for (int i = 0; i < 5; ++i) session.Step();
  const std::string before = FileBytes(journal.Path());

  // The file may grow no further than a few bytes: as a full disk does,
  // the next record's write fails part of the way.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = before.size() + 20;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  for (int i = 0; i < 6; ++i) session.Step();
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(S.History().Count(), 11);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.LastText(), JournalFailedMessage);
  // No half record stays behind the whole ones.
  EXPECT_EQ(FileBytes(journal.Path()), before);
  // Off for good: later records neither write nor ask again.
  session.Step();
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(FileBytes(journal.Path()), before);
  // Still locked: no other window takes it while this one runs.
  EXPECT_TRUE(FindLeftJournals(Folder).empty());
}

}  // namespace
