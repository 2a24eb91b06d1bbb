// The journal of the recorded actions: its bytes against the drawing file's,
// torn last blocks of every length, and journals left behind (found, kept,
// adopted, removed).
#include "journal_fixture.h"

namespace {

TEST_F(Journal, HoldsTheDrawingFileTextInUtf8RecordByRecord) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    const bool ascii = seed % 2 == 0;
    RandomSession session(S, seed, ascii);
    for (int i = 0; i < 80; ++i) session.Step();
    EXPECT_EQ(journal.Count(), S.History().Count());
    const std::string bytes = FileBytes(journal.Path());
    // The same text as the drawing file's, byte for byte, but for the code
    // page: the journal stays UTF-8 whatever it meets.
    EXPECT_EQ(Utf8ToFileBytes(bytes), HistoryFileText(S.History()));
    if (ascii) {
      EXPECT_EQ(bytes, HistoryFileText(S.History()));
    }
    EXPECT_TRUE(IsValidUtf8(bytes));
    // It reads as a drawing holding the very same history.
    EXPECT_EQ(Reread(bytes), HistoryFileText(S.History()));
    EXPECT_EQ(WholeJournalLength(bytes), bytes.size());
  }
}

TEST_F(Journal, KeepsTextsExactlyWhereTheDrawingFileUsesLookAlikes) {
  AppState S;
  ActionJournal journal;
  Begin(S, journal);
  CreateFigure(S, text("なみ〜せん", {}));  // WAVE DASH: CP932 files hold FULLWIDTH TILDE for it
  AppState R;
  ASSERT_EQ(ReadHistory(R, FileBytes(journal.Path())), 0);
  EXPECT_EQ(R.History().Last().FigData.Text, "なみ〜せん");
}

TEST_F(Journal, TornLastBlockOfEveryLengthIsDroppedAndNothingBefore) {
  AppState S;
  ActionJournal journal;
  Begin(S, journal);
  RandomSession session(S, 77, true);
  // The file's size after each record: the ends of the whole records.
  std::vector<size_t> ends{FileBytes(journal.Path()).size()};
  for (int i = 0; i < 14; ++i) {
    session.Step();
    ends.push_back(FileBytes(journal.Path()).size());
  }
  // A text that reads like the end of a record, inside the last block.
  CreateFigure(S, text("end ActionData", {}));
  ends.push_back(FileBytes(journal.Path()).size());
  const std::string bytes = FileBytes(journal.Path());
  ASSERT_EQ(ends.back(), bytes.size());

  for (size_t length = 0; length <= bytes.size(); ++length) {
    std::string torn = bytes.substr(0, length);
    size_t whole = 0;
    int32_t records = 0;
    for (size_t k = 0; k < ends.size(); ++k)
      if (ends[k] <= length) whole = ends[k], records = static_cast<int32_t>(k);
    int32_t count = -1;
    ASSERT_EQ(WholeJournalLength(torn, &count), whole) << "length " << length;
    EXPECT_EQ(count, whole == 0 ? 0 : records) << "length " << length;
    // What a power cut can leave instead: the torn part as zeros.
    if (length % 97 == 0 && length < bytes.size()) {
      torn.append(bytes.size() - length, '\0');
      EXPECT_EQ(WholeJournalLength(torn), whole) << "zeros after " << length;
    }
  }
}

TEST_F(Journal, LeftBehindJournalsAreFoundNewestFirstAndEmptyOnesGoSilently) {
  // Three windows that crashed with unsaved actions, one whose drawing was
  // all saved, one that crashed before its first action.
  std::vector<std::string> paths;
  for (int w = 0; w < 3; ++w) {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 10 + w);
    for (int i = 0; i <= w; ++i) session.Step();
    paths.push_back(journal.Path());
  }  // closed, not removed: what a kill leaves
  SetModified(paths[0], 1000);
  SetModified(paths[1], 3000);
  SetModified(paths[2], 2000);
  std::string saved;
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 5);
    for (int i = 0; i < 4; ++i) session.Step();
    ASSERT_TRUE(journal.Restart(S.History(), "/home/child/e.tlo"));
    saved = journal.Path();
  }
  std::string empty;
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    empty = journal.Path();
  }
  // A window that is still running.
  AppState live;
  ActionJournal liveJournal;
  Begin(live, liveJournal);
  RandomSession liveSession(live, 3);
  liveSession.Step();

  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[0].Path, paths[1]);
  EXPECT_EQ(left[1].Path, paths[2]);
  EXPECT_EQ(left[2].Path, paths[0]);
  EXPECT_EQ(left[0].Count, 2);
  EXPECT_EQ(left[0].Info.BaseCount, 0);
  EXPECT_FALSE(fs::exists(saved));
  EXPECT_FALSE(fs::exists(saved + ".info"));
  EXPECT_FALSE(fs::exists(empty));
  EXPECT_TRUE(fs::exists(liveJournal.Path()));
  // While held here, another window's search passes them by.
  EXPECT_TRUE(FindLeftJournals(Folder).empty());
}

TEST_F(Journal, SavedDrawingWithNewActionsComesBackWithItsNameAndBase) {
  std::string expected;
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 21);
    for (int i = 0; i < 5; ++i) session.Step();
    ASSERT_TRUE(journal.Restart(S.History(), "/home/child/え.tlo"));
    for (int i = 0; i < 3; ++i) session.Step();
    expected = HistoryFileText(S.History());
  }
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Info.DataFileName, "/home/child/え.tlo");
  EXPECT_EQ(left[0].Info.BaseCount, 5);
  EXPECT_EQ(left[0].Count, 8);
  EXPECT_EQ(Reread(left[0].Text), expected);
}

TEST_F(Journal, KeptJournalIsADatedDrawingFileWithoutTheTornBlock) {
  std::string expected;
  std::vector<std::string> paths;
  for (int w = 0; w < 2; ++w) {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 30);
    for (int i = 0; i < 6; ++i) session.Step();
    expected = HistoryFileText(S.History());
    paths.push_back(journal.Path());
  }
  // The first one died in the middle of a record; both at the same second.
  {
    std::ofstream out(paths[0], std::ios::binary | std::ios::app);
    out << "begin ActionData\r\n10 11 12 13\r\nCrea";
  }
  const time_t when = 1700000000;
  SetModified(paths[0], when);
  SetModified(paths[1], when);
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 2u);
  const std::string first = left[0].Keep();
  const std::string second = left[1].Keep();
  struct tm local;
  localtime_r(&when, &local);
  char stamp[40];
  std::strftime(stamp, sizeof stamp, "tamlo-%Y-%m-%d-%H%M%S", &local);
  EXPECT_EQ(fs::path(first).filename().string(), std::string(stamp) + ".tlo");
  EXPECT_EQ(fs::path(second).filename().string(), std::string(stamp) + "-2.tlo");
  for (const std::string& kept : {first, second}) {
    std::string bytes;
    ASSERT_TRUE(ReadDrawingFileBytes(kept, bytes));
    EXPECT_EQ(Reread(bytes), expected);
    EXPECT_TRUE(StartsWithDrawingHeader(kept));
  }
  // Only the two drawings stay.
  EXPECT_EQ(Names(Folder).size(), 2u);
  EXPECT_TRUE(FindLeftJournals(Folder).empty());
}

TEST_F(Journal, AdoptedJournalGoesOnAfterItsLastWholeRecord) {
  std::string path;
  {
    AppState S;
    ActionJournal journal;
    Begin(S, journal);
    RandomSession session(S, 40);
    for (int i = 0; i < 4; ++i) session.Step();
    path = journal.Path();
  }
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "begin ActionData\r\n10 1";
  }
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  AppState S;
  S.Dialogs = &Dialogs;
  ASSERT_EQ(ReadHistory(S, left[0].Text), 0);
  ActionJournal journal;
  ASSERT_TRUE(journal.Adopt(std::move(left[0]), S.History()));
  S.Journal = &journal;
  EXPECT_EQ(journal.Path(), path);
  CreateFigure(S, line({}, {30, 40}));
  ClearDrawing(S, ActionKind::ClearAll);
  const std::string bytes = FileBytes(path);
  EXPECT_EQ(WholeJournalLength(bytes), bytes.size());
  EXPECT_EQ(Reread(bytes), HistoryFileText(S.History()));
  EXPECT_EQ(S.History().Count(), 6);
}

TEST_F(Journal, RestartAndRemoveLeaveOneFileOrNone) {
  AppState S;
  ActionJournal journal;
  Begin(S, journal);
  RandomSession session(S, 50);
  for (int i = 0; i < 3; ++i) session.Step();
  const std::string before = journal.Path();
  ASSERT_TRUE(journal.Restart(S.History(), "/x/e.tlo"));
  EXPECT_NE(journal.Path(), before);
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{fs::path(journal.Path()).filename().string(),
                                                     fs::path(journal.Path()).filename().string() + ".info"}));
  EXPECT_EQ(Reread(FileBytes(journal.Path())), HistoryFileText(S.History()));
  journal.Remove();
  EXPECT_FALSE(journal.Active());
  EXPECT_TRUE(Names(Folder).empty());
  session.Step();  // recording goes on without it
  EXPECT_EQ(S.History().Count(), 4);
}

TEST_F(Journal, HistoryChangedBehindItsBackIsWrittenAnewAsUnsaved) {
  AppState S;
  auto journal = std::make_unique<ActionJournal>();
  Begin(S, *journal);
  RandomSession session(S, 60);
  for (int i = 0; i < 3; ++i) session.Step();
  ASSERT_TRUE(journal->Restart(S.History(), "/x/e.tlo"));
  S.Reset();
  RandomSession other(S, 61);
  other.Step();
  other.Step();
  EXPECT_EQ(Reread(FileBytes(journal->Path())), HistoryFileText(S.History()));
  S.Journal = nullptr;
  journal.reset();  // as a kill leaves it
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Info.BaseCount, 0);
  EXPECT_EQ(left[0].Count, 2);
}

}  // namespace
