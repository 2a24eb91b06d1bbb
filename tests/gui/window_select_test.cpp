// Selecting and dragging figures in the edit mode.
#include "support/window_fixture.h"

namespace {

class WindowSelect : public WindowTest {
 protected:
  // The figure `index` places from the back; null past the front.
  const Figure* Fig(int index) {
    for (const Figure& f : S().Figures())
      if (index-- == 0) return &f;
    return nullptr;
  }
};

TEST_F(WindowSelect, PressInTheOverlapSelectsTheFrontMostFigure) {
  DrawRect(*Window, {10, 10}, {100, 100});
  DrawEllipse(*Window, {50, 50}, {150, 150});
  EnterEditMode(*Window);
  CanvasClick(*Window, 70, 70);
  EXPECT_EQ(S().SelectedFig, Fig(1));
  EXPECT_EQ(S().MarkedFig, Fig(1));
  CanvasClick(*Window, 20, 20);
  EXPECT_EQ(S().SelectedFig, Fig(0));
  EXPECT_EQ(S().MarkedFig, Fig(0));
  EXPECT_EQ(S().History().Count(), 2);  // selecting records nothing
}

TEST_F(WindowSelect, ThreePixelsOutsideStillSelectsFourDoNot) {
  DrawRect(*Window, {100, 100}, {200, 150});
  EnterEditMode(*Window);
  CanvasClick(*Window, 96, 120);
  EXPECT_EQ(S().SelectedFig, nullptr);
  CanvasClick(*Window, 97, 120);
  EXPECT_EQ(S().SelectedFig, Fig(0));
  // A press on empty canvas clears the selection and removes its frame.
  CanvasClick(*Window, 400, 400);
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(S().MarkedFig, nullptr);
  for (int x = 90; x < 210; ++x) ASSERT_EQ(CanvasPixel(*Window, x, 97), 0xFFFFFFu) << x;
}

TEST_F(WindowSelect, TheSelectionFrameIsToggledOnTheScreen) {
  DrawRect(*Window, {100, 100}, {200, 150});
  DrawRect(*Window, {300, 100}, {400, 150});
  EnterEditMode(*Window);
  auto frameRow = [&](int x0, int x1) {
    int marked = 0;
    for (int x = x0; x < x1; ++x) marked += CanvasPixel(*Window, x, 97) != 0xFFFFFF;
    return marked;
  };
  CanvasClick(*Window, 150, 120);
  EXPECT_GT(frameRow(97, 204), 10);
  // Pressing the selected figure again keeps its frame.
  CanvasClick(*Window, 150, 120);
  EXPECT_GT(frameRow(97, 204), 10);
  // Selecting another one moves the frame.
  CanvasClick(*Window, 350, 120);
  EXPECT_EQ(frameRow(97, 204), 0);
  EXPECT_GT(frameRow(297, 404), 10);
}

TEST_F(WindowSelect, DraggingMovesTheFigureRepaintsAndRecordsOneMove) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasPress(*Window, 20, 20);
  CanvasMove(*Window, 60, 70);
  // The picture is recomposed on every move: the figure shows at its new place.
  EXPECT_EQ(S().Shown(*S().SelectedFig).Start, (Point{50, 60}));
  EXPECT_EQ(CanvasPixel(*Window, 70, 60), 0x000000u);
  EXPECT_EQ(CanvasPixel(*Window, 30, 10), 0xFFFFFFu);
  EXPECT_EQ(S().History().Count(), 1);
  CanvasMove(*Window, 120, 100);
  CanvasRelease(*Window, 120, 100);
  const Figure& f = *Fig(0);
  EXPECT_EQ(f.Start, (Point{110, 90}));
  EXPECT_EQ(f.End, (Point{150, 120}));
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move}));
  EXPECT_EQ(S().History().Last().TargetID, 1);
  EXPECT_EQ(S().History().Last().FigData.Start, (Point{110, 90}));
  EXPECT_FALSE(Window->Tools().Busy());
  EXPECT_EQ(S().SelectedFig, Fig(0));  // the selection survives the release
}

TEST_F(WindowSelect, ReleasingWhereThePressWasRecordsNothingOnePixelRecordsAMove) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasPress(*Window, 20, 20);
  CanvasMove(*Window, 40, 40);
  CanvasMove(*Window, 20, 20);
  CanvasRelease(*Window, 20, 20);
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(Fig(0)->Start, (Point{10, 10}));
  CanvasPress(*Window, 20, 20);
  CanvasMove(*Window, 21, 20);
  CanvasRelease(*Window, 21, 20);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move}));
  EXPECT_EQ(Fig(0)->Start, (Point{11, 10}));
}

TEST_F(WindowSelect, EveryReleaseCapturesTheResizeReferenceAndCentresTheSizeBars) {
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasDrag(*Window, {10, 10}, {60, 10});
  CanvasDoubleClick(*Window, 60, 10);
  ChooseTool(Button(*Window, "SelectionBtn"));
  EnterEditMode(*Window);
  Slider(*Window, "HTrackBar")->setValue(0);
  CanvasPress(*Window, 30, 10);
  CanvasMove(*Window, 40, 20);
  CanvasRelease(*Window, 40, 20);
  const Figure& f = *Fig(0);
  EXPECT_EQ(S().ResizeStart, f.Start);
  EXPECT_EQ(S().ResizeEnd, f.End);
  EXPECT_EQ(S().ResizeStart, (Point{20, 20}));
  EXPECT_EQ(S().ResizePoints[0], (Point{20, 20}));
  EXPECT_EQ(S().ResizePoints[1], (Point{70, 20}));
  EXPECT_EQ(S().ResizePoints[2], (Point{70, 20}));

  // Also with nothing selected, a release puts both bars back to 0.
  CanvasClick(*Window, 400, 400);
  ASSERT_EQ(S().SelectedFig, nullptr);
  Slider(*Window, "HTrackBar")->setValue(40);
  Slider(*Window, "VTrackBar")->setValue(-30);
  CanvasClick(*Window, 400, 400);
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 0);
  EXPECT_EQ(Slider(*Window, "VTrackBar")->value(), 0);
}

TEST_F(WindowSelect, AMoveInEditModeRecordsAPendingResizeFirst) {
  DrawRect(*Window, {100, 100}, {200, 150});
  EnterEditMode(*Window);
  CanvasClick(*Window, 150, 120);
  Slider(*Window, "HTrackBar")->setValue(10);
  if (!S().ResizePending()) GTEST_SKIP() << "trackbar resizing not available";
  CanvasMove(*Window, 300, 300, false);
  EXPECT_FALSE(S().ResizePending());
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Change);
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::Size);
}

TEST_F(WindowSelect, LeavingEditModeClearsTheSelection) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasClick(*Window, 20, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  EnterDrawMode(*Window);
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(S().MarkedFig, nullptr);
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
  // The picture no longer shows the frame.
  EXPECT_EQ(CanvasPixel(*Window, 7, 20), 0xFFFFFFu);
  EnterEditMode(*Window);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
}

}  // namespace
