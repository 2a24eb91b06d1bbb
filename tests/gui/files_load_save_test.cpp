// Loading and saving drawings through the file menu: round trips, backups,
// every refusal and question, and saves that fail without losing a file.
#include <signal.h>
#include <sys/resource.h>

#include "io/file_replace.h"
#include "support/file_fixture.h"

namespace {

class FileMenuTest : public FileTest {
 protected:
  void SaveAs(const QString& name) {
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  }
  void Load(const QString& name) {
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadDataMenu")));
  }
};

// RLIMIT_FSIZE makes every write beyond `bytes` fail, even for root, who
// writes into read-only folders.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    m_oldHandler = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit small = m_old;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    signal(SIGXFSZ, m_oldHandler);
  }

 private:
  rlimit m_old{};
  sighandler_t m_oldHandler;
};

TEST_F(FileMenuTest, SaveAsThenLoadGivesBackTheDrawing) {
  DrawRects(2);
  SaveAs("e.tlo");
  EXPECT_TRUE(Dialogs.Shown.empty());  // no message on success
  EXPECT_EQ(S().DataFileName(), Path("e.tlo").toStdString());
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));
  EXPECT_TRUE(ReadFile("e.tlo").startsWith("TAMLO FILE FORMAT 1.2\r\n"));
  EXPECT_FALSE(Exists("e.bak"));
  EXPECT_EQ(Entries(), QStringList{"e.tlo"});  // no temporary file left

  // Loading over a drawing asks first; the edit mode and selection go.
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  Answer(ModalResult::Yes);
  Load("e.tlo");
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].text, "本当にデータをよみこみますか？");
  EXPECT_EQ(Dialogs.Shown[0].caption, "かくにん");
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(S().History().NextFigID, 3);
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));
  EXPECT_EQ(CanvasPixel(*Window, 10, 20), 0x000000u);  // the first rectangle's edge
}

TEST_F(FileMenuTest, OverwriteKeepsTheFirstBackup) {
  DrawRects(1);
  SaveAs("e.tlo");
  const QByteArray first = ReadFile("e.tlo");
  DrawRects(2);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  EXPECT_EQ(Dialogs.LastText(), "うわがきほぞんしました");
  EXPECT_EQ(ReadFile("e.bak"), first);
  const QByteArray second = ReadFile("e.tlo");
  EXPECT_NE(second, first);

  DrawRects(1);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  EXPECT_EQ(ReadFile("e.bak"), first);  // the rename onto e.bak failed quietly
  EXPECT_NE(ReadFile("e.tlo"), second);
  EXPECT_EQ(Entries(), (QStringList{"e.bak", "e.tlo"}));
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));
}

TEST_F(FileMenuTest, OverwriteWithoutAFileNameIsSaveAs) {
  DrawRects(1);
  Choose("new.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun[0].Kind, DialogKind::SaveData);
  EXPECT_EQ(Dialogs.DialogsRun[0].Filter, "Tamloファイル（*.tlo）|*.tlo");
  EXPECT_EQ(Dialogs.DialogsRun[0].DefaultExt, "tlo");
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(Exists("new.tlo"));
  EXPECT_EQ(Caption(), CaptionFor("new.tlo"));
}

TEST_F(FileMenuTest, SaveAsOntoAnExistingFileAsksAndNoKeepsEverything) {
  WriteFile("old.tlo", "precious");
  DrawRects(1);
  Answer(ModalResult::No);
  SaveAs("old.tlo");
  ASSERT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(Dialogs.Shown[0].text, "すでにあるファイルにうわがきしますか");
  EXPECT_EQ(Dialogs.Shown[0].caption, "確認");
  EXPECT_EQ(Dialogs.Shown[1].text, "ファイルほぞんをキャンセルしました");
  EXPECT_EQ(ReadFile("old.tlo"), "precious");
  EXPECT_FALSE(Exists("old.bak"));
  EXPECT_TRUE(S().DataFileName().empty());
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23");

  Answer(ModalResult::Yes);
  SaveAs("old.tlo");
  EXPECT_EQ(ReadFile("old.bak"), "precious");
  EXPECT_TRUE(ReadFile("old.tlo").startsWith("TAMLO FILE FORMAT 1.2"));
  EXPECT_EQ(Caption(), CaptionFor("old.tlo"));
}

TEST_F(FileMenuTest, CancelledSaveDialogChangesNothing) {
  DrawRects(1);
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  CancelDialog();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_NE(S().SelectedFig, nullptr);  // the selection stays
  EXPECT_TRUE(Entries().isEmpty());
}

TEST_F(FileMenuTest, SaveAsThroughAMissingFolderFailsAndKeepsTheName) {
  DrawRects(1);
  SaveAs("e.tlo");
  SaveAs("missing/f.tlo");
  EXPECT_EQ(Dialogs.LastText(), "データ保存に失敗しました");
  EXPECT_EQ(S().DataFileName(), Path("e.tlo").toStdString());
  EXPECT_EQ(Caption(), CaptionFor("e.tlo"));
}

TEST_F(FileMenuTest, FailedWriteKeepsTheOldFileAndItsBackup) {
  DrawRects(1);
  SaveAs("e.tlo");
  DrawRects(3);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));  // e.bak made
  const QByteArray backup = ReadFile("e.bak");
  const QByteArray saved = ReadFile("e.tlo");
  DrawRects(3);
  Dialogs.Shown.clear();
  {
    // The new file is longer than the limit, so its writing fails.
    FileSizeLimit limit(static_cast<rlim_t>(saved.size() + 10));
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"データ書き出しに失敗しました"});
  EXPECT_EQ(ReadFile("e.tlo"), saved);
  EXPECT_EQ(ReadFile("e.bak"), backup);
  EXPECT_EQ(Entries(), (QStringList{"e.bak", "e.tlo"}));  // no temporary file left
}

TEST_F(FileMenuTest, FailedFirstOverwriteMakesNoBackup) {
  DrawRects(1);
  SaveAs("e.tlo");
  const QByteArray saved = ReadFile("e.tlo");
  DrawRects(3);
  {
    FileSizeLimit limit(static_cast<rlim_t>(saved.size() + 10));
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  }
  EXPECT_EQ(Dialogs.LastText(), "データ書き出しに失敗しました");
  EXPECT_EQ(ReadFile("e.tlo"), saved);
  EXPECT_FALSE(Exists("e.bak"));
}

TEST_F(FileMenuTest, LoadRefusesOtherExtensionsByExactCase) {
  WriteFile("a.Tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  WriteFile("a.TLO", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  Load("a.Tlo");
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"ファイルけいしきがちがいます"});
  EXPECT_EQ(S().History().Count(), 0);

  Dialogs.Shown.clear();
  Load("a.TLO");  // an empty history asks nothing
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(Caption(), CaptionFor("a.TLO"));
}

TEST_F(FileMenuTest, AnsweringNoOrAMissingFileChangesNothing) {
  WriteFile("a.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  DrawRects(2);
  Answer(ModalResult::No);
  Load("a.tlo");
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Dialogs.LastText(), "本当にデータをよみこみますか？");

  Answer(ModalResult::Yes);
  Load("gone.tlo");
  EXPECT_EQ(Dialogs.LastText(), "データ読み込みに失敗しました");
  EXPECT_EQ(S().History().Count(), 2);  // nothing was reset
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
}

TEST_F(FileMenuTest, FailedLoadForgetsTheFileSoItCannotBeOverwritten) {
  WriteFile("good.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40)}));
  const QByteArray good = ReadFile("good.tlo");
  WriteFile("bad.tlo", "TAMLO FILE FORMAT 9.9\r\n");
  Load("good.tlo");
  ASSERT_EQ(Caption(), CaptionFor("good.tlo"));

  Answer(ModalResult::Yes);
  Load("bad.tlo");
  EXPECT_EQ(Dialogs.LastText(), "データフォーマットが違います");
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_TRUE(S().DataFileName().empty());
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23");
  EXPECT_TRUE(S().Figures().IsEmpty());

  // Overwriting now asks for a name instead of emptying good.tlo.
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  EXPECT_EQ(Dialogs.DialogsRun.back().Kind, DialogKind::SaveData);
  EXPECT_EQ(ReadFile("good.tlo"), good);
}

TEST_F(FileMenuTest, MalformedRecordLeavesAnEmptyDrawing) {
  QByteArray text = DrawingFileText({RectRecord(1, 10, 10, 50, 40)});
  text += "begin ActionData\r\n10 00 00 00\r\nNoSuchKind\r\n";
  WriteFile("broken.tlo", text);
  Load("broken.tlo");
  // The message, then where reading stopped and what belonged there.
  const int lastLine = static_cast<int>(text.count("\r\n"));
  EXPECT_EQ(Dialogs.LastText(), "ActionItem：読み込みエラー\n" + std::to_string(lastLine) +
                                    "ぎょうめ：「TargetType」が くるはずの ところに「NoSuchKind」が ありました");
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().CurrentStep(), 0);
  EXPECT_EQ(Caption(), "Tamlo Ver.1.23");
}

TEST_F(FileMenuTest, LoadSetsTheNextIDAboveTheFilesIDs) {
  WriteFile("ids.tlo", DrawingFileText({RectRecord(5, 10, 10, 50, 40), RectRecord(12, 60, 10, 90, 40)}));
  Load("ids.tlo");
  EXPECT_EQ(S().History().NextFigID, 13);
  DrawRects(1);
  EXPECT_EQ(S().History().Last().TargetID, 13);

  WriteFile("empty.tlo", "TAMLO FILE FORMAT 1.2\r\n");
  Answer(ModalResult::Yes);
  Load("empty.tlo");
  EXPECT_EQ(S().History().NextFigID, 1);
  EXPECT_EQ(Caption(), CaptionFor("empty.tlo"));
}

TEST_F(FileMenuTest, PendingResizeIsTheLastRecordSaved) {
  DrawRects(1);
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  Slider(*Window, "HTrackBar")->setValue(50);
  ASSERT_TRUE(S().ResizePending());
  SaveAs("r.tlo");
  EXPECT_FALSE(S().ResizePending());
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Change);
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::Size);
  EXPECT_TRUE(ReadFile("r.tlo").contains("Change\r\n1\r\nSize\r\n"));
}

TEST_F(FileMenuTest, BackupNamesDropOnlyTheLastExtension) {
  EXPECT_EQ(BackupName("/d/e.tlo"), "/d/e.bak");
  EXPECT_EQ(BackupName("/d.x/e"), "/d.x/e.bak");
  EXPECT_EQ(BackupName("/d/a.b.jpg"), "/d/a.b.bak");
  EXPECT_EQ(FileExtension("/d.x/e"), "");
  EXPECT_EQ(FileExtension("/d/a.b.TLO"), ".TLO");
}

}  // namespace
