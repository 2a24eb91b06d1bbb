// The view mode: entering it, stepping with the play buttons and the slider,
// and leaving it at an earlier step.
#include "history/describe.h"
#include "support/fakes.h"
#include "support/window_fixture.h"

namespace {

class WindowPlay : public WindowTest {
 protected:
  // Three records: Create A, Create B, Move A.
  void DrawThreeSteps() {
    DrawRect(*Window, {10, 10}, {50, 40});
    DrawEllipse(*Window, {100, 100}, {150, 180});
    EnterEditMode(*Window);
    CanvasPress(*Window, 20, 20);
    CanvasMove(*Window, 220, 20);
    CanvasRelease(*Window, 220, 20);
    ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Move}));
  }
  int Shown() { return S().Figures().Count(); }
  int Step() { return S().CurrentStep(); }
  void ExpectButtons(bool reverse, bool forward) {
    EXPECT_EQ(Button(*Window, "ReverseBtn")->isEnabled(), reverse);
    EXPECT_EQ(Button(*Window, "ForwardBtn")->isEnabled(), forward);
  }
};

TEST_F(WindowPlay, AnEmptyHistoryHasNothingToPlay) {
  EXPECT_TRUE(EnterPlayMode(*Window));
  EXPECT_EQ(Dialogs.LastText(), "さいせいする絵がありません");
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_TRUE(Button(*Window, "SelectDrawBtn")->isChecked());
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
  EXPECT_FALSE(Panel(*Window, "PlayPanel")->isVisible());

  EnterEditMode(*Window);
  EnterPlayMode(*Window);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Button(*Window, "SelectEditBtn")->isChecked());
}

TEST_F(WindowPlay, EnteringEmptiesTheCanvasAndSetsTheSlider) {
  DrawThreeSteps();
  ASSERT_TRUE(EnterPlayMode(*Window));
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_TRUE(Panel(*Window, "PlayPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "EditPanel")->isVisible());
  EXPECT_FALSE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  EXPECT_FALSE(Menu(*Window, "DrawMenu")->menuAction()->isEnabled());
  EXPECT_TRUE(Menu(*Window, "ToolMenu")->menuAction()->isEnabled());
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(S().CurrentStep(), 0);
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->minimum(), 0);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->maximum(), 3);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 0);
  ExpectButtons(false, true);
  EXPECT_TRUE(Button(*Window, "StopBtn")->isEnabled());
  EXPECT_EQ(CanvasPixel(*Window, 30, 10), 0xFFFFFFu);
  // Nothing was recorded, and a second press of the mode button does nothing.
  EnterPlayMode(*Window);
  EXPECT_EQ(S().History().Count(), 3);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
}

TEST_F(WindowPlay, ForwardAndReverseStepThroughTheHistory) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 1);
  EXPECT_EQ(Shown(), 1);
  ExpectButtons(true, true);
  EXPECT_EQ(CanvasPixel(*Window, 30, 10), 0x000000u);
  ClickButton(Button(*Window, "ForwardBtn"));
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(S().Figures().First().Start, (Point{210, 10}));  // A moved
  ExpectButtons(true, false);
  ClickButton(Button(*Window, "ForwardBtn"));  // disabled at the end
  EXPECT_EQ(Step(), 3);

  ClickButton(Button(*Window, "ReverseBtn"));
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 2);
  EXPECT_EQ(S().Figures().First().Start, (Point{10, 10}));
  ExpectButtons(true, true);
  ClickButton(Button(*Window, "ReverseBtn"));
  ClickButton(Button(*Window, "ReverseBtn"));
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);

  ClickButton(Button(*Window, "ForwardBtn"));
  ClickButton(Button(*Window, "ForwardBtn"));
  ClickButton(Button(*Window, "StopBtn"));
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);
}

TEST_F(WindowPlay, SliderJumpsSetTheStepAndTheButtons) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(3);
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(Shown(), 2);
  ExpectButtons(true, false);
  Slider(*Window, "TimeTrackBar")->setValue(0);
  EXPECT_EQ(Step(), 0);
  ExpectButtons(false, true);
  Slider(*Window, "TimeTrackBar")->setValue(2);
  ExpectButtons(true, true);
  EXPECT_EQ(Shown(), 2);
  // The keyboard moves it too.
  Slider(*Window, "TimeTrackBar")->setFocus();
  QTest::keyClick(Slider(*Window, "TimeTrackBar"), Qt::Key_Right);
  EXPECT_EQ(Step(), 3);
}

TEST_F(WindowPlay, ForwardWritesTheLinesOfTheStepReachedOnce) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  MemoLog lines;
  MutableState(*Window).Memo = &lines;
  MutableState(*Window).ShowProcess = true;
  ClickButton(Button(*Window, "ForwardBtn"));
  const std::vector<std::string> expected = DescribeAction(S().History().At(1));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(lines.Lines, expected);
  lines.Lines.clear();
  ClickButton(Button(*Window, "StopBtn"));  // step 0 has no lines
  EXPECT_TRUE(lines.Lines.empty());
  MutableState(*Window).ShowProcess = false;
  MutableState(*Window).Memo = Window.get();
}

TEST_F(WindowPlay, LeavingAtTheLastStepAsksNothing) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(3);
  EnterDrawMode(*Window);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(Shown(), 2);
  EXPECT_TRUE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  EXPECT_TRUE(Menu(*Window, "DrawMenu")->menuAction()->isEnabled());
  EXPECT_EQ(S().History().Count(), 3);
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringYesRecordsABranch) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(1);
  Dialogs.Answers.push_back(ModalResult::Yes);
  EnterEditMode(*Window);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Question);
  EXPECT_EQ(Dialogs.Shown[0].text, "ここからえがきなおしますか？");
  EXPECT_EQ(Dialogs.Shown[0].caption, "かくにん");
  EXPECT_EQ(Dialogs.Shown[0].buttons, QuestionButtons::YesNoCancel);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Panel(*Window, "EditPanel")->isVisible());
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Move, ActionKind::Branch}));
  EXPECT_EQ(S().History().Last().TargetID, 1);
  EXPECT_EQ(Step(), 4);  // the branch record, whose picture is that of step 1
  EXPECT_EQ(Shown(), 1);
  for (int32_t k = 2; k <= S().History().Count(); ++k) EXPECT_FALSE(S().History().At(k).TargetItem) << k;

  // Drawing goes on from there, and the whole history replays to it.
  EnterDrawMode(*Window);
  DrawLine(*Window, {300, 300}, {400, 300});
  EXPECT_EQ(Shown(), 2);
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(5);
  EXPECT_EQ(Shown(), 2);
  Slider(*Window, "TimeTrackBar")->setValue(3);
  EXPECT_EQ(Shown(), 2);
  EnterDrawMode(*Window);  // at step 3 of 5: asks again, No
  EXPECT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringNoShowsTheWholeDrawing) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(1);
  Dialogs.Answers.push_back(ModalResult::No);
  EnterDrawMode(*Window);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentStep(), S().History().Count());
  EXPECT_EQ(S().History().Count(), 3);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(S().Figures().First().Start, (Point{210, 10}));
  EXPECT_TRUE(Panel(*Window, "DrawPanel")->isVisible());
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringCancelStaysInViewMode) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(2);
  Dialogs.Answers.push_back(ModalResult::Cancel);
  EnterDrawMode(*Window);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(S().History().Count(), 3);
  EXPECT_TRUE(Panel(*Window, "PlayPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "DrawPanel")->isVisible());
  EXPECT_TRUE(Button(*Window, "SelectPlayBtn")->isChecked());
  EXPECT_FALSE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  // The play controls still work.
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_EQ(Step(), 3);
}

TEST_F(WindowPlay, EnteringAgainStartsFromStepZero) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(3);
  EnterDrawMode(*Window);
  EnterPlayMode(*Window);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);
}

TEST_F(WindowPlay, ResetDrawingReturnsToAnEmptyDrawMode) {
  DrawThreeSteps();
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(2);
  Window->ResetDrawing();
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_EQ(S().CurrentStep(), 0);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_TRUE(Panel(*Window, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "PlayPanel")->isVisible());
  EXPECT_TRUE(Button(*Window, "SelectDrawBtn")->isChecked());
  EXPECT_TRUE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(S().History().NextFigID, 1);
  DrawRect(*Window, {10, 10}, {20, 20});
  EXPECT_EQ(S().History().Last().TargetID, 1);
}

}  // namespace
