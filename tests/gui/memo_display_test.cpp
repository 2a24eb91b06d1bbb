// The internal process display: switching it, clearing it, and the lines it
// shows for recorded and replayed steps.
#include "support/file_fixture.h"

namespace {

class MemoTest : public FileTest {
 protected:
  QStringList Lines() const { return MemoBox(*Form)->toPlainText().split('\n'); }
  void SwitchDisplay() { ASSERT_TRUE(TriggerMenu(MenuAction(*Form, "ShowDataMenu"))); }
  void ClearMemo() { MemoBox(*Form)->clear(); }
};

TEST_F(MemoTest, SwitchingShowsAndHidesThePanelAndSizesTheWindow) {
  EXPECT_EQ(MenuAction(*Form, "ShowDataMenu")->text(), "Tamloの内部処理の表示");
  EXPECT_FALSE(MemoBox(*Form)->isVisible());
  SwitchDisplay();
  EXPECT_TRUE(S().ShowProcess);
  EXPECT_EQ(MenuAction(*Form, "ShowDataMenu")->text(), "内部処理の非表示");
  EXPECT_EQ(Form->size(), QSize(990, 620));
  EXPECT_TRUE(MemoBox(*Form)->isVisible());
  EXPECT_TRUE(Button(*Form, "ClearMemoBtn")->isVisible());

  SwitchDisplay();
  EXPECT_FALSE(S().ShowProcess);
  EXPECT_EQ(MenuAction(*Form, "ShowDataMenu")->text(), "内部処理の表示");
  EXPECT_EQ(Form->size(), QSize(810, 620));
  EXPECT_FALSE(MemoBox(*Form)->isVisible());
  EXPECT_FALSE(Button(*Form, "ClearMemoBtn")->isVisible());

  SwitchDisplay();
  EXPECT_EQ(MenuAction(*Form, "ShowDataMenu")->text(), "内部処理の非表示");
  EXPECT_EQ(Form->size(), QSize(990, 620));
}

TEST_F(MemoTest, NothingIsWrittenWhileOffAndOldLinesGoWhenSwitchedOn) {
  DrawRects(1);
  EXPECT_TRUE(MemoBox(*Form)->toPlainText().isEmpty());
  SwitchDisplay();
  DrawRects(1);
  SwitchDisplay();  // off: the lines stay, hidden
  EXPECT_FALSE(MemoBox(*Form)->toPlainText().isEmpty());
  DrawRects(1);
  SwitchDisplay();  // on again: emptied
  EXPECT_TRUE(MemoBox(*Form)->toPlainText().isEmpty());
}

TEST_F(MemoTest, ClearButtonEmptiesThePanelAndKeepsTheDisplayOn) {
  SwitchDisplay();
  DrawRects(1);
  ASSERT_TRUE(ClickButton(Button(*Form, "ClearMemoBtn")));
  EXPECT_TRUE(MemoBox(*Form)->toPlainText().isEmpty());
  EXPECT_TRUE(S().ShowProcess);
  DrawRects(1);
  EXPECT_EQ(Lines().first(), "Create Rectangle (ID = 2)");
}

TEST_F(MemoTest, RecordedCreateChangeAndUndo) {
  SwitchDisplay();
  DrawRects(1);
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 1)", "at 14:05:09.07.", ""}));

  ClearMemo();
  EnterEditMode(*Form);
  CanvasClick(*Form, 15, 20);
  QTest::mouseClick(ColorPanel(*Form, 2), Qt::LeftButton);
  ClickButton(Button(*Form, "BodyColorBtn"));
  EXPECT_EQ(Lines(), (QStringList{"Change figure (ID = 1)", "Parameter: Body color ", "at 14:05:09.07.", ""}));

  ClickButton(Button(*Form, "DeleteBtn"));
  ClearMemo();
  ClickButton(Button(*Form, "UndoBtn"));
  EXPECT_EQ(Lines(), (QStringList{"Undo", "at 14:05:09.07.", ""}));
}

TEST_F(MemoTest, BranchAndReplayedStep) {
  DrawRects(3);
  SwitchDisplay();
  ASSERT_TRUE(EnterPlayMode(*Form));
  EXPECT_TRUE(MemoBox(*Form)->toPlainText().isEmpty());
  ClickButton(Button(*Form, "ForwardBtn"));  // the replay of step 1
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 1)", "at 14:05:09.07.", ""}));

  ClearMemo();
  Slider(*Form, "TimeTrackBar")->setValue(2);
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 2)", "at 14:05:09.07.", ""}));

  ClearMemo();
  Answer(ModalResult::Yes);  // draw on from step 2
  ASSERT_TRUE(EnterDrawMode(*Form));
  EXPECT_EQ(Lines(), (QStringList{"Branch (STEP = 2)", "at 14:05:09.07.", ""}));
}

TEST_F(MemoTest, LoadingEchoesTheFileAndEndsWithAnEmptyLine) {
  WriteFile("m.tlo", DrawingFileText({ReadBGRecord(Path("none.bmp"))}));
  SwitchDisplay();
  Choose("m.tlo");
  Answer(ModalResult::No);  // the locating question for the missing picture
  ASSERT_TRUE(TriggerMenu(MenuAction(*Form, "ReadDataMenu")));
  const QStringList lines = Lines();
  // The reset before reading emptied the panel; then the reader's echo.
  EXPECT_EQ(lines.first(), "TAMLO FILE FORMAT 1.2");
  EXPECT_TRUE(lines.contains("begin ActionData"));
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[lines.size() - 2], "end ActionData");
}

}  // namespace
