// The internal process display: switching it, clearing it, and the lines it
// shows for recorded and replayed steps.
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "support/file_fixture.h"

namespace {

class MemoTest : public FileTest {
 protected:
  QStringList Lines() const { return MemoBox(*Window)->toPlainText().split('\n'); }
  void SwitchDisplay() { ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ShowDataMenu"))); }
  void ClearMemo() { MemoBox(*Window)->clear(); }
};

TEST_F(MemoTest, SwitchingShowsAndHidesThePanelAndSizesTheWindow) {
  EXPECT_EQ(MenuAction(*Window, "ShowDataMenu")->text(), "Tamloの内部処理の表示");
  EXPECT_FALSE(MemoBox(*Window)->isVisible());
  SwitchDisplay();
  EXPECT_TRUE(S().ShowProcess);
  EXPECT_EQ(MenuAction(*Window, "ShowDataMenu")->text(), "内部処理の非表示");
  EXPECT_EQ(Window->size(), QSize(990, 620));
  EXPECT_TRUE(MemoBox(*Window)->isVisible());
  EXPECT_TRUE(Button(*Window, "ClearMemoBtn")->isVisible());

  SwitchDisplay();
  EXPECT_FALSE(S().ShowProcess);
  EXPECT_EQ(MenuAction(*Window, "ShowDataMenu")->text(), "内部処理の表示");
  EXPECT_EQ(Window->size(), QSize(810, 620));
  EXPECT_FALSE(MemoBox(*Window)->isVisible());
  EXPECT_FALSE(Button(*Window, "ClearMemoBtn")->isVisible());

  SwitchDisplay();
  EXPECT_EQ(MenuAction(*Window, "ShowDataMenu")->text(), "内部処理の非表示");
  EXPECT_EQ(Window->size(), QSize(990, 620));
}

TEST_F(MemoTest, NothingIsWrittenWhileOffAndOldLinesGoWhenSwitchedOn) {
  DrawRects(1);
  EXPECT_TRUE(MemoBox(*Window)->toPlainText().isEmpty());
  SwitchDisplay();
  DrawRects(1);
  SwitchDisplay();  // off: the lines stay, hidden
  EXPECT_FALSE(MemoBox(*Window)->toPlainText().isEmpty());
  DrawRects(1);
  SwitchDisplay();  // on again: emptied
  EXPECT_TRUE(MemoBox(*Window)->toPlainText().isEmpty());
}

TEST_F(MemoTest, ClearButtonEmptiesThePanelAndKeepsTheDisplayOn) {
  SwitchDisplay();
  DrawRects(1);
  ASSERT_TRUE(ClickButton(Button(*Window, "ClearMemoBtn")));
  EXPECT_TRUE(MemoBox(*Window)->toPlainText().isEmpty());
  EXPECT_TRUE(S().ShowProcess);
  DrawRects(1);
  EXPECT_EQ(Lines().first(), "Create Rectangle (ID = 2)");
}

TEST_F(MemoTest, RecordedCreateChangeAndUndo) {
  SwitchDisplay();
  DrawRects(1);
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 1)", "at 14:05:09.07.", ""}));

  ClearMemo();
  EnterEditMode(*Window);
  CanvasClick(*Window, 15, 20);
  QTest::mouseClick(ColorPanel(*Window, 2), Qt::LeftButton);
  ClickButton(Button(*Window, "BodyColorBtn"));
  EXPECT_EQ(Lines(), (QStringList{"Change figure (ID = 1)", "Parameter: Body color ", "at 14:05:09.07.", ""}));

  ClickButton(Button(*Window, "DeleteBtn"));
  ClearMemo();
  ClickButton(Button(*Window, "UndoBtn"));
  EXPECT_EQ(Lines(), (QStringList{"Undo", "at 14:05:09.07.", ""}));
}

TEST_F(MemoTest, BranchAndReplayedStep) {
  DrawRects(3);
  SwitchDisplay();
  ASSERT_TRUE(EnterPlayMode(*Window));
  EXPECT_TRUE(MemoBox(*Window)->toPlainText().isEmpty());
  ClickButton(Button(*Window, "ForwardBtn"));  // the replay of step 1
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 1)", "at 14:05:09.07.", ""}));

  ClearMemo();
  Slider(*Window, "TimeTrackBar")->setValue(2);
  EXPECT_EQ(Lines(), (QStringList{"Create Rectangle (ID = 2)", "at 14:05:09.07.", ""}));

  ClearMemo();
  Answer(ModalResult::Yes);  // draw on from step 2
  ASSERT_TRUE(EnterDrawMode(*Window));
  EXPECT_EQ(Lines(), (QStringList{"Branch (STEP = 2)", "at 14:05:09.07.", ""}));
}

TEST_F(MemoTest, LoadingEchoesTheFileAndEndsWithAnEmptyLine) {
  WriteFile("m.tlo", DrawingFileText({ReadBGRecord(Path("none.bmp"))}));
  SwitchDisplay();
  Choose("m.tlo");
  Answer(ModalResult::No);  // the locating question for the missing picture
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadDataMenu")));
  const QStringList lines = Lines();
  // The reset before reading emptied the panel; then the reader's echo.
  EXPECT_EQ(lines.first(), "TAMLO FILE FORMAT 1.2");
  EXPECT_TRUE(lines.contains("begin ActionData"));
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[lines.size() - 2], "end ActionData");
}

}  // namespace

namespace {

// A line longer than the panel is wide wraps inside it: a teacher reads it
// whole without scrolling sideways, and nothing is cut off at the edge.
TEST_F(MemoTest, LongLinesWrapInsideThePanel) {
  SwitchDisplay();
  DrawRects(1);
  const std::string longLine = "ReadBG /home/hanako/Pictures/summer holiday at the sea/the big wave.jpg";
  S().Memo->AddLine(longLine);
  QCoreApplication::processEvents();
  QPlainTextEdit* memo = MemoBox(*Window);
  EXPECT_TRUE(memo->toPlainText().contains(QString::fromStdString(longLine)));
  EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);
  const QTextBlock last = memo->document()->lastBlock().previous().isValid() &&
                                  memo->document()->lastBlock().text().isEmpty()
                              ? memo->document()->lastBlock().previous()
                              : memo->document()->lastBlock();
  ASSERT_EQ(last.text().toStdString(), longLine);
  memo->document()->documentLayout()->blockBoundingRect(last);  // lays the line out
  ASSERT_NE(last.layout(), nullptr);
  EXPECT_GE(last.layout()->lineCount(), 2);
  for (int i = 0; i < last.layout()->lineCount(); ++i)
    EXPECT_LE(last.layout()->lineAt(i).naturalTextWidth(), memo->viewport()->width());
}

}  // namespace
