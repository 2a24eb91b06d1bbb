// The ways the program ends: the exit sequence with its save questions, the
// close box, and the forced end.
#include <QCloseEvent>

#include "support/file_fixture.h"

namespace {

class ExitTest : public FileTest {
 protected:
  void Quit() { ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ExitMenu"))); }
};

TEST_F(ExitTest, EmptyHistoryEndsAtOnce) {
  Quit();
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

TEST_F(ExitTest, UnnamedDrawingAsksToSaveAndCancelKeepsEverything) {
  DrawRects(2);
  Answer(ModalResult::Cancel);
  Quit();
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].text, "Tamloをおわる前にえをほぞんしますか？");
  EXPECT_EQ(Dialogs.Shown[0].caption, "確認");
  EXPECT_EQ(Dialogs.Shown[0].buttons, QuestionButtons::YesNoCancel);
  EXPECT_TRUE(ExitCodes.empty());
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
}

TEST_F(ExitTest, NoEndsWithoutSaving) {
  DrawRects(1);
  Answer(ModalResult::No);
  Quit();
  EXPECT_TRUE(Dialogs.DialogsRun.empty());
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

TEST_F(ExitTest, YesSavesUnderANameThenEnds) {
  DrawRects(1);
  Answer(ModalResult::Yes);
  Choose("bye.tlo");
  Quit();
  EXPECT_TRUE(ReadFile("bye.tlo").startsWith("TAMLO FILE FORMAT 1.2"));
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

TEST_F(ExitTest, NamedDrawingAsksToOverwriteAndYesOverwrites) {
  DrawRects(1);
  Choose("e.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  DrawRects(1);
  Answer(ModalResult::Yes);
  Quit();
  ASSERT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(Dialogs.Shown[0].text, "Tamloをおわる前にえをうわがきほぞんしますか？");
  EXPECT_EQ(Dialogs.Shown[0].caption, "確認");
  EXPECT_EQ(Dialogs.Shown[1].text, "うわがきほぞんしました");
  EXPECT_TRUE(Exists("e.bak"));
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

// A Yes whose save did not happen keeps the program and the drawing.
TEST_F(ExitTest, YesWithACancelledSaveDialogKeepsRunning) {
  DrawRects(2);
  Answer(ModalResult::Yes);
  CancelDialog();
  Quit();
  EXPECT_TRUE(ExitCodes.empty());
  EXPECT_EQ(S().History().Count(), 2);
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
}

TEST_F(ExitTest, YesWithARefusedOverwriteKeepsRunning) {
  WriteFile("there.tlo", "keep");
  DrawRects(1);
  Answer(ModalResult::Yes);  // save before quitting
  Choose("there.tlo");
  Answer(ModalResult::No);  // but do not overwrite
  Quit();
  EXPECT_EQ(Dialogs.LastText(), "ファイルほぞんをキャンセルしました");
  EXPECT_EQ(ReadFile("there.tlo"), "keep");
  EXPECT_TRUE(ExitCodes.empty());
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(ExitTest, YesWithAFailedWriteKeepsRunning) {
  DrawRects(1);
  MutableState(*Window).NameFile(Path("gone/e.tlo").toStdString());
  Answer(ModalResult::Yes);
  Quit();
  EXPECT_EQ(Dialogs.LastText(), "データ書き出しに失敗しました");
  EXPECT_TRUE(ExitCodes.empty());
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(ExitTest, CloseBoxRunsTheExitSequence) {
  DrawRects(1);
  Answer(ModalResult::Cancel);
  EXPECT_FALSE(Window->close());  // refused: the program goes on
  EXPECT_TRUE(Window->isVisible());
  EXPECT_EQ(Dialogs.LastText(), "Tamloをおわる前にえをほぞんしますか？");
  EXPECT_TRUE(ExitCodes.empty());

  Answer(ModalResult::No);
  Window->close();
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

TEST_F(ExitTest, ForcedEndAsksNothingAndReturnsOne) {
  DrawRects(3);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ExitByForce")));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ExitCodes, std::vector<int>{1});
}

TEST_F(ExitTest, PendingResizeIsRecordedBeforeTheQuestion) {
  DrawRects(1);
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  Slider(*Window, "HTrackBar")->setValue(40);
  ASSERT_TRUE(S().ResizePending());
  Answer(ModalResult::Cancel);
  Quit();
  EXPECT_FALSE(S().ResizePending());
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Change);
}

}  // namespace
