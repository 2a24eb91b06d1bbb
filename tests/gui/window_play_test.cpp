// The view mode: entering it, stepping with the play buttons and the slider,
// and leaving it at an earlier step.
#include "history/describe.h"
#include "support/form_fixture.h"

namespace {

class LinesMemo : public ProcessDisplay {
 public:
  std::vector<std::string> Lines;
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  void Clear() override { Lines.clear(); }
};

class WindowPlay : public FormTest {
 protected:
  // Three records: Create A, Create B, Move A.
  void DrawThreeSteps() {
    DrawRect(*Form, {10, 10}, {50, 40});
    DrawEllipse(*Form, {100, 100}, {150, 180});
    EnterEditMode(*Form);
    CanvasPress(*Form, 20, 20);
    CanvasMove(*Form, 220, 20);
    CanvasRelease(*Form, 220, 20);
    ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Move}));
  }
  int Shown() { return S().DrawingFigs.Count(); }
  int Step() { return S().CurrentStep; }
  void ExpectButtons(bool reverse, bool forward) {
    EXPECT_EQ(Button(*Form, "ReverseBtn")->isEnabled(), reverse);
    EXPECT_EQ(Button(*Form, "ForwardBtn")->isEnabled(), forward);
  }
};

TEST_F(WindowPlay, AnEmptyHistoryHasNothingToPlay) {
  EXPECT_TRUE(EnterPlayMode(*Form));
  EXPECT_EQ(Dialogs.LastText(), "さいせいする絵がありません");
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_TRUE(Button(*Form, "SelectDrawBtn")->isChecked());
  EXPECT_TRUE(Button(*Form, "SelectionBtn")->isChecked());
  EXPECT_FALSE(Panel(*Form, "PlayPanel")->isVisible());

  EnterEditMode(*Form);
  EnterPlayMode(*Form);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Button(*Form, "SelectEditBtn")->isChecked());
}

TEST_F(WindowPlay, EnteringEmptiesTheCanvasAndSetsTheSlider) {
  DrawThreeSteps();
  ASSERT_TRUE(EnterPlayMode(*Form));
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_TRUE(Panel(*Form, "PlayPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "EditPanel")->isVisible());
  EXPECT_FALSE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
  EXPECT_FALSE(Menu(*Form, "DrawMenu")->menuAction()->isEnabled());
  EXPECT_TRUE(Menu(*Form, "ToolMenu")->menuAction()->isEnabled());
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(S().CurrentStep, 0);
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->minimum(), 0);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->maximum(), 3);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 0);
  ExpectButtons(false, true);
  EXPECT_TRUE(Button(*Form, "StopBtn")->isEnabled());
  EXPECT_EQ(CanvasPixel(*Form, 30, 10), 0xFFFFFFu);
  // Nothing was recorded, and a second press of the mode button does nothing.
  EnterPlayMode(*Form);
  EXPECT_EQ(S().History.Count(), 3);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
}

TEST_F(WindowPlay, ForwardAndReverseStepThroughTheHistory) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  ClickButton(Button(*Form, "ForwardBtn"));
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 1);
  EXPECT_EQ(Shown(), 1);
  ExpectButtons(true, true);
  EXPECT_EQ(CanvasPixel(*Form, 30, 10), 0x000000u);
  ClickButton(Button(*Form, "ForwardBtn"));
  ClickButton(Button(*Form, "ForwardBtn"));
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(S().DrawingFigs.First().Start, (Point{210, 10}));  // A moved
  ExpectButtons(true, false);
  ClickButton(Button(*Form, "ForwardBtn"));  // disabled at the end
  EXPECT_EQ(Step(), 3);

  ClickButton(Button(*Form, "ReverseBtn"));
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 2);
  EXPECT_EQ(S().DrawingFigs.First().Start, (Point{10, 10}));
  ExpectButtons(true, true);
  ClickButton(Button(*Form, "ReverseBtn"));
  ClickButton(Button(*Form, "ReverseBtn"));
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);

  ClickButton(Button(*Form, "ForwardBtn"));
  ClickButton(Button(*Form, "ForwardBtn"));
  ClickButton(Button(*Form, "StopBtn"));
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);
}

TEST_F(WindowPlay, SliderJumpsSetTheStepAndTheButtons) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(3);
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(Shown(), 2);
  ExpectButtons(true, false);
  Slider(*Form, "TimeTrackBar")->setValue(0);
  EXPECT_EQ(Step(), 0);
  ExpectButtons(false, true);
  Slider(*Form, "TimeTrackBar")->setValue(2);
  ExpectButtons(true, true);
  EXPECT_EQ(Shown(), 2);
  // The keyboard moves it too.
  Slider(*Form, "TimeTrackBar")->setFocus();
  QTest::keyClick(Slider(*Form, "TimeTrackBar"), Qt::Key_Right);
  EXPECT_EQ(Step(), 3);
}

TEST_F(WindowPlay, ForwardWritesTheLinesOfTheStepReachedOnce) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  LinesMemo lines;
  MutableState(*Form).Memo = &lines;
  MutableState(*Form).ShowProcess = true;
  ClickButton(Button(*Form, "ForwardBtn"));
  const std::vector<std::string> expected = DescribeAction(S().History.At(1));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(lines.Lines, expected);
  lines.Lines.clear();
  ClickButton(Button(*Form, "StopBtn"));  // step 0 has no lines
  EXPECT_TRUE(lines.Lines.empty());
  MutableState(*Form).ShowProcess = false;
  MutableState(*Form).Memo = Form.get();
}

TEST_F(WindowPlay, LeavingAtTheLastStepAsksNothing) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(3);
  EnterDrawMode(*Form);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(Shown(), 2);
  EXPECT_TRUE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
  EXPECT_TRUE(Menu(*Form, "DrawMenu")->menuAction()->isEnabled());
  EXPECT_EQ(S().History.Count(), 3);
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringYesRecordsABranch) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(1);
  Dialogs.Answers.push_back(ModalResult::Yes);
  EnterEditMode(*Form);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Question);
  EXPECT_EQ(Dialogs.Shown[0].text, "ここからえがきなおしますか？");
  EXPECT_EQ(Dialogs.Shown[0].caption, "かくにん");
  EXPECT_EQ(Dialogs.Shown[0].buttons, QuestionButtons::YesNoCancel);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Panel(*Form, "EditPanel")->isVisible());
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Move, ActionKind::Branch}));
  EXPECT_EQ(S().History.Last().TargetID, 1);
  EXPECT_EQ(Step(), 4);  // the branch record, whose picture is that of step 1
  EXPECT_EQ(Shown(), 1);
  for (int32_t k = 2; k <= S().History.Count(); ++k) EXPECT_FALSE(S().History.At(k).TargetItem) << k;

  // Drawing goes on from there, and the whole history replays to it.
  EnterDrawMode(*Form);
  DrawLine(*Form, {300, 300}, {400, 300});
  EXPECT_EQ(Shown(), 2);
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(5);
  EXPECT_EQ(Shown(), 2);
  Slider(*Form, "TimeTrackBar")->setValue(3);
  EXPECT_EQ(Shown(), 2);
  EnterDrawMode(*Form);  // at step 3 of 5: asks again, No
  EXPECT_EQ(Dialogs.Shown.size(), 2u);
  EXPECT_EQ(S().CurrentStep, S().History.Count());
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringNoShowsTheWholeDrawing) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(1);
  Dialogs.Answers.push_back(ModalResult::No);
  EnterDrawMode(*Form);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentStep, S().History.Count());
  EXPECT_EQ(S().History.Count(), 3);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(S().DrawingFigs.First().Start, (Point{210, 10}));
  EXPECT_TRUE(Panel(*Form, "DrawPanel")->isVisible());
  EXPECT_TRUE(Button(*Form, "SelectionBtn")->isChecked());
}

TEST_F(WindowPlay, LeavingEarlierAndAnsweringCancelStaysInViewMode) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(2);
  Dialogs.Answers.push_back(ModalResult::Cancel);
  EnterDrawMode(*Form);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(S().History.Count(), 3);
  EXPECT_TRUE(Panel(*Form, "PlayPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "DrawPanel")->isVisible());
  EXPECT_TRUE(Button(*Form, "SelectPlayBtn")->isChecked());
  EXPECT_FALSE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
  // The play controls still work.
  ClickButton(Button(*Form, "ForwardBtn"));
  EXPECT_EQ(Step(), 3);
}

TEST_F(WindowPlay, EnteringAgainStartsFromStepZero) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(3);
  EnterDrawMode(*Form);
  EnterPlayMode(*Form);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(false, true);
}

TEST_F(WindowPlay, ResetDrawingReturnsToAnEmptyDrawMode) {
  DrawThreeSteps();
  EnterPlayMode(*Form);
  Slider(*Form, "TimeTrackBar")->setValue(2);
  Form->ResetDrawing();
  EXPECT_EQ(S().History.Count(), 0);
  EXPECT_EQ(S().CurrentStep, 0);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_TRUE(Panel(*Form, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "PlayPanel")->isVisible());
  EXPECT_TRUE(Button(*Form, "SelectDrawBtn")->isChecked());
  EXPECT_TRUE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(S().History.NextFigID, 1);
  DrawRect(*Form, {10, 10}, {20, 20});
  EXPECT_EQ(S().History.Last().TargetID, 1);
}

}  // namespace
