// Journals damaged anywhere, not only torn at their end: what reads before
// the damage is offered, nothing is removed that is not known to be empty,
// and the side file's stamp of the drawing's file.
#include "format/journal_files.h"
#include "journal_fixture.h"

namespace {

// A journal of `records` random actions, left behind (closed, not removed).
std::string LeftBehind(Journal& test, AppState& S, int records, uint32_t seed) {
  ActionJournal journal;
  test.Begin(S, journal);
  RandomSession session(S, seed, true);
  while (S.History().Count() < records) session.Step();
  return journal.Path();
}

// The byte offsets where each record's block begins.
std::vector<size_t> BlockStarts(const std::string& bytes) {
  std::vector<size_t> starts;
  for (size_t at = bytes.find("begin ActionData\r\n"); at != std::string::npos;
       at = bytes.find("begin ActionData\r\n", at + 1))
    if (at == 0 || bytes[at - 1] == '\n') starts.push_back(at);
  return starts;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST_F(Journal, DamagedRecordGivesBackEveryRecordBeforeItAndRemovesNothing) {
  AppState S;
  const std::string path = LeftBehind(*this, S, 10, 41);
  const std::string whole = FileBytes(path);
  const std::vector<size_t> starts = BlockStarts(whole);
  ASSERT_EQ(starts.size(), static_cast<size_t>(S.History().Count()));
  ASSERT_GE(starts.size(), 5u);
  // The kind line of the fifth record garbled.
  std::string damaged = whole;
  const size_t kind = damaged.find("\r\n", damaged.find("\r\n", starts[4]) + 2) + 2;
  damaged[kind + 1] = 'x';
  WriteBytes(path, damaged);
  const JournalScan scan = ScanJournal(damaged);
  EXPECT_EQ(scan.Count, 4);
  EXPECT_EQ(scan.Length, starts[4]);
  EXPECT_TRUE(scan.Damaged);
  {
    std::vector<LeftJournal> left = FindLeftJournals(Folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].Count, 4);
    EXPECT_TRUE(left[0].Damaged);
    EXPECT_TRUE(left[0].HasUnsaved());
    // Kept, it is the whole file as it was, damage and all.
    const std::string kept = left[0].Keep();
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(FileBytes(kept), damaged);
    EXPECT_FALSE(fs::exists(path));
  }

  // The first record's kind garbled ("Cxeate"): nothing reads, and the
  // journal is still not thrown away.
  AppState T;
  const std::string second = LeftBehind(*this, T, 10, 42);
  std::string first = FileBytes(second);
  const std::vector<size_t> firstStarts = BlockStarts(first);
  ASSERT_FALSE(firstStarts.empty());
  first[first.find("\r\n", first.find("\r\n", firstStarts[0]) + 2) + 3] = 'x';
  WriteBytes(second, first);
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Count, 0);
  EXPECT_TRUE(left[0].Damaged);
  EXPECT_FALSE(left[0].HasUnsaved());
  EXPECT_TRUE(fs::exists(second));
  // So is one whose header is garbled.
  first[0] = 'X';
  EXPECT_TRUE(ScanJournal(first).Damaged);
  EXPECT_EQ(ScanJournal(first).Length, 0u);
}

TEST_F(Journal, GarbageBlocksAfterTheRecordsBeyondAnyBoundStillLeaveTheRecords) {
  AppState S;
  const std::string path = LeftBehind(*this, S, 10, 43);
  const std::string good = FileBytes(path);
  std::string bytes = good;
  for (int i = 0; i < 200; ++i) bytes += "begin ActionData\r\n\x01garbage " + std::to_string(i) + "\r\nend ActionData\r\n";
  WriteBytes(path, bytes);
  const JournalScan scan = ScanJournal(bytes);
  EXPECT_EQ(scan.Count, S.History().Count());
  EXPECT_EQ(scan.Length, good.size());
  EXPECT_TRUE(scan.Damaged);
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Count, S.History().Count());
  EXPECT_EQ(Reread(left[0].Text), HistoryFileText(S.History()));
  // Garbage that is no UTF-8 at all after the records: the records still
  // read as UTF-8 (a CP932 reading would garble every text).
  bytes = good + "begin ActionData\r\n\xff\xfe\x82\r\nend ActionData\r\n";
  EXPECT_EQ(ScanJournal(bytes).Count, S.History().Count());
}

TEST_F(Journal, TextsThatLookLikeRecordEndsInTheMiddleAreReadThrough) {
  AppState S;
  ActionJournal journal;
  Begin(S, journal);
  for (int i = 0; i < 6; ++i) {
    Figure f = text(i % 2 ? "end ActionData" : "あ", {10 * i, 10});
    f.End = {10 * i + 30, 30};
    CreateFigure(S, f);
  }
  const std::string bytes = FileBytes(journal.Path());
  const JournalScan scan = ScanJournal(bytes);
  EXPECT_EQ(scan.Count, 6);
  EXPECT_EQ(scan.Length, bytes.size());
  EXPECT_FALSE(scan.Damaged);
  // A torn last block is no damage: the journal is known to hold nothing
  // more than its whole records.
  const JournalScan torn = ScanJournal(bytes + "begin ActionData\r\n10 11 12 13\r\nCrea");
  EXPECT_EQ(torn.Count, 6);
  EXPECT_FALSE(torn.Damaged);
}

TEST_F(Journal, SideFileKeepsTheStampOfTheDrawingsFile) {
  const std::string file = (fs::path(Folder).parent_path() / "e.tlo").string();
  fs::create_directories(fs::path(Folder).parent_path());
  std::ofstream(file) << "TAMLO FILE FORMAT 1.2\r\n";
  const FileStamp stamp = StampOfFile(file);
  ASSERT_TRUE(stamp.Known());
  EXPECT_FALSE(StampOfFile(file + ".none").Known());
  {
    AppState S;
    ActionJournal journal;
    S.Dialogs = &Dialogs;
    ASSERT_TRUE(journal.Start(Folder, S.History(), file, stamp));
    S.Journal = &journal;
    RandomSession session(S, 44, true);
    session.Step();
    journal.ShowStep(true, 1);
  }
  std::vector<LeftJournal> left = FindLeftJournals(Folder);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Info.DataFileStamp, stamp);
  EXPECT_EQ(left[0].Info.DataFileName, file);
  EXPECT_TRUE(left[0].Info.ViewMode);

  // Read back as written, whatever the name holds; a stamp line that does
  // not read is a stamp not known, and the rest holds.
  using journal_files::InfoText;
  using journal_files::ParseInfo;
  JournalInfo info{"/x/\nfile 1 2 3 4\nfrom 1\n", 3, stamp, 5, true, 2};
  const JournalInfo back = ParseInfo(InfoText(info));
  EXPECT_EQ(back.DataFileName, info.DataFileName);
  EXPECT_EQ(back.DataFileStamp, stamp);
  EXPECT_EQ(back.BaseCount, 3);
  EXPECT_EQ(back.FromBase, 5);
  EXPECT_EQ(back.ShownStep, 2);
  for (const char* line : {"file -", "file 1 2 3", "file -1 2 3 4", "file 1 2 3 4 5", "fil"}) {
    SCOPED_TRACE(line);
    const JournalInfo odd = ParseInfo(std::string("TAMLO JOURNAL 3\ndraw 0000000000\n3\n") + line + "\nfrom 0\n/x/e.tlo");
    EXPECT_FALSE(odd.DataFileStamp.Known());
    EXPECT_EQ(odd.FromBase, 0);
    EXPECT_EQ(odd.BaseCount, 3);
    EXPECT_EQ(odd.DataFileName, "/x/e.tlo");
  }
  // Without the number of the base's records nothing of the journal can
  // be read.
  EXPECT_EQ(ParseInfo("TAMLO JOURNAL 3\ndraw 0000000000\n3\nfile -\nfrom x\n/x/e.tlo").FromBase, -1);
  EXPECT_EQ(ParseInfo("TAMLO JOURNAL 3\ndraw 0000000000\n3\nfile -\n").FromBase, -1);
  // The side files of earlier journals carry no stamp and no base.
  EXPECT_FALSE(ParseInfo("TAMLO JOURNAL 2\ndraw 0000000000\n3\n/x/e.tlo").DataFileStamp.Known());
  EXPECT_EQ(ParseInfo("TAMLO JOURNAL 2\ndraw 0000000000\n3\n/x/e.tlo").DataFileName, "/x/e.tlo");
}

}  // namespace
