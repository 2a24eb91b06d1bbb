// Drawing with the mouse in the draw mode: every tool's figure and record,
// the rubber band on the screen, clicks that make nothing, and polylines.
#include <QLineEdit>

#include "support/gui_helpers.h"

namespace {

class WindowDraw : public WindowTest {
 protected:
  const Figure& Only() {
    auto figs = Figures(S().Figures());
    EXPECT_EQ(figs.size(), 1u);
    return *figs.back();
  }
};

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;

TEST_F(WindowDraw, RectangleDragMakesOneFigureWithDefaultsAndOneCreateRecord) {
  DrawRect(*Window, {10, 10}, {50, 40});
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(f.Start, (Point{10, 10}));
  EXPECT_EQ(f.End, (Point{50, 40}));
  EXPECT_EQ(f.PenWidth, 4);
  EXPECT_EQ(f.PenColor, 0x000000);
  EXPECT_EQ(f.BrushColor, 0xFFFFFF);
  EXPECT_EQ(f.BrushStyle, 0);
  ASSERT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
  const Action& r = S().History().Last();
  EXPECT_EQ(r.TargetID, 1);
  EXPECT_EQ(r.FigData.DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(r.FigData.End, (Point{50, 40}));
  // The finished rectangle is on the screen: black outline, white inside.
  EXPECT_EQ(CanvasPixel(*Window, 30, 10), kBlack);
  EXPECT_EQ(CanvasPixel(*Window, 30, 25), kWhite);
}

TEST_F(WindowDraw, ShapesKeepTheirDrawingDirection) {
  DrawRect(*Window, {50, 40}, {10, 10});
  DrawEllipse(*Window, {200, 100}, {120, 20});
  DrawLine(*Window, {300, 300}, {250, 200});
  auto figs = Figures(S().Figures());
  ASSERT_EQ(figs.size(), 3u);
  EXPECT_EQ(figs[0]->Start, (Point{50, 40}));
  EXPECT_EQ(figs[0]->End, (Point{10, 10}));
  EXPECT_EQ(figs[1]->DrawingTool, ToolKind::Ellipse);
  EXPECT_EQ(figs[1]->Start, (Point{200, 100}));
  EXPECT_EQ(figs[1]->End, (Point{120, 20}));
  EXPECT_EQ(figs[2]->DrawingTool, ToolKind::Line);
  EXPECT_EQ(figs[2]->Start, (Point{300, 300}));
  EXPECT_EQ(figs[2]->End, (Point{250, 200}));
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Create}));
  EXPECT_EQ(S().History().Last().TargetID, 3);
}

TEST_F(WindowDraw, EveryMouseButtonDrawsAlike) {
  ChooseTool(Button(*Window, "RectBtn"));
  CanvasDrag(*Window, {10, 10}, {60, 50}, 3, Qt::RightButton);
  CanvasDrag(*Window, {100, 10}, {160, 50}, 3, Qt::MiddleButton);
  EXPECT_EQ(Figures(S().Figures()).size(), 2u);
}

TEST_F(WindowDraw, ClicksWithoutDraggingMakeNothing) {
  for (const char* tool : {"LineBtn", "OvalBtn", "RectBtn", "FreeBtn"}) {
    ChooseTool(Button(*Window, tool));
    CanvasClick(*Window, 100, 100);
    // Moving away and coming back before the release is still a click.
    CanvasPress(*Window, 200, 200);
    CanvasMove(*Window, 230, 240);
    CanvasMove(*Window, 200, 200);
    CanvasRelease(*Window, 200, 200);
  }
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_FALSE(Window->Tools().Busy());
  // The screen returns to the composed picture at the next refresh.
  Window->PaintBoxPaint();
  EXPECT_EQ(CanvasPixel(*Window, 230, 220), kWhite);
}

TEST_F(WindowDraw, RubberBandIsDrawnAndErasedOnTheScreenOnly) {
  ChooseTool(Button(*Window, "RectBtn"));
  CanvasPress(*Window, 100, 100);
  CanvasMove(*Window, 200, 180);
  // The dotted band shows somewhere on its right edge.
  bool seen = false;
  for (int y = 100; y < 180; ++y) seen |= CanvasPixel(*Window, 199, y) != kWhite || CanvasPixel(*Window, 200, y) != kWhite;
  EXPECT_TRUE(seen);
  // Moving on erases the old band exactly.
  CanvasMove(*Window, 150, 140);
  for (int y = 100; y < 180; ++y) {
    ASSERT_EQ(CanvasPixel(*Window, 199, y), kWhite) << y;
    ASSERT_EQ(CanvasPixel(*Window, 200, y), kWhite) << y;
  }
  // Nothing of it entered the composed picture.
  EXPECT_EQ(Window->pictures().WorkBitmap.pixel(150, 120) & 0xFFFFFF, kWhite);
  EXPECT_EQ(S().History().Count(), 0);
  CanvasRelease(*Window, 150, 140);
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(WindowDraw, FreeLineCollectsOnePointPerMoveAndTheRelease) {
  ChooseTool(Button(*Window, "FreeBtn"));
  CanvasPress(*Window, 10, 10);
  CanvasMove(*Window, 20, 15);
  CanvasMove(*Window, 30, 30);
  CanvasMove(*Window, 25, 60);
  CanvasRelease(*Window, 40, 70);
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::FreeLine);
  EXPECT_EQ(f.PointData.Points, (std::vector<Point>{{10, 10}, {20, 15}, {30, 30}, {25, 60}, {40, 70}}));
  // Start and End are the vertices' box.
  EXPECT_EQ(f.Start, (Point{10, 10}));
  EXPECT_EQ(f.End, (Point{40, 70}));
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
}

TEST_F(WindowDraw, FreeLineEndingWhereItBeganIsDiscarded) {
  ChooseTool(Button(*Window, "FreeBtn"));
  CanvasPress(*Window, 50, 50);
  for (int i = 0; i < 40; ++i) CanvasMove(*Window, 50 + i * 3, 50 + (i % 7) * 5);
  CanvasRelease(*Window, 50, 50);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().History().Count(), 0);
}

TEST_F(WindowDraw, FreeLineKeepsTheFirst2000Points) {
  ChooseTool(Button(*Window, "FreeBtn"));
  CanvasPress(*Window, 0, 0);
  for (int i = 1; i < 2500; ++i) CanvasMove(*Window, i % 600, i / 600);
  CanvasRelease(*Window, 300, 300);
  const Figure& f = Only();
  EXPECT_EQ(f.PointData.Count(), 2000);
}

TEST_F(WindowDraw, PolylineStoresClickedVerticesTwiceAndTheLastThreeTimes) {
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasDrag(*Window, {0, 0}, {100, 0});
  EXPECT_TRUE(Window->Tools().PolyDrawing());
  CanvasMove(*Window, 100, 50, false);
  CanvasMove(*Window, 100, 100, false);
  CanvasClick(*Window, 100, 100);
  CanvasMove(*Window, 50, 100, false);
  CanvasMove(*Window, 0, 100, false);
  CanvasDoubleClick(*Window, 0, 100);
  EXPECT_FALSE(Window->Tools().PolyDrawing());
  EXPECT_FALSE(Window->Tools().Busy());
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Polyline);
  EXPECT_EQ(f.PointData.Points, (std::vector<Point>{{0, 0}, {100, 0}, {100, 100}, {100, 100}, {0, 100}, {0, 100}, {0, 100}}));
  EXPECT_EQ(f.Start, (Point{0, 0}));
  EXPECT_EQ(f.End, (Point{100, 100}));
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
  EXPECT_EQ(S().History().Last().FigData.PointData.Count(), 7);
}

TEST_F(WindowDraw, PolygonIsFinishedAndFilledByASecondClickOnTheLastVertex) {
  ChooseTool(Button(*Window, "PolygonBtn"));
  CanvasDrag(*Window, {100, 100}, {200, 100});
  CanvasMove(*Window, 150, 200, false);
  CanvasClick(*Window, 150, 200);
  CanvasClick(*Window, 150, 200);
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Polygon);
  EXPECT_EQ(f.PointData.Points, (std::vector<Point>{{100, 100}, {200, 100}, {150, 200}, {150, 200}, {150, 200}}));
  Window->PaintBoxPaint();
  EXPECT_EQ(CanvasPixel(*Window, 150, 100), kBlack);  // the first edge
}

TEST_F(WindowDraw, SingleClickWithThePolylineToolMakesNothingAndStaysReady) {
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasClick(*Window, 40, 40);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_FALSE(Window->Tools().PolyDrawing());
  EXPECT_EQ(S().CurrentTool, ToolKind::Polyline);
  EXPECT_TRUE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  // And the next drag starts a new figure from scratch.
  CanvasDrag(*Window, {10, 10}, {30, 10});
  // A double click on the last vertex: its first click finishes the figure,
  // its second is a click that makes nothing.
  CanvasDoubleClick(*Window, 30, 10);
  const Figure& f = Only();
  EXPECT_EQ(f.PointData.Points, (std::vector<Point>{{10, 10}, {30, 10}, {30, 10}}));
}

TEST_F(WindowDraw, AClickThatMakesNothingLeavesTheScreenAsItWas) {
  DrawRect(*Window, {20, 20}, {80, 60});
  for (QAbstractButton* tool : {Button(*Window, "PolylineBtn"), Button(*Window, "PolygonBtn")}) {
    ChooseTool(tool);
    const QImage before = Canvas(*Window)->Picture().copy();
    CanvasClick(*Window, 40, 40);   // on a figure
    EXPECT_EQ(Canvas(*Window)->Picture(), before) << tool->objectName().toStdString() << " click";
    CanvasDoubleClick(*Window, 200, 200); // on the white canvas
    EXPECT_EQ(Canvas(*Window)->Picture(), before) << tool->objectName().toStdString() << " double";
    // A child's click: the hand shakes while the button is down.
    CanvasPress(*Window, 300, 300);
    CanvasMove(*Window, 302, 301);
    CanvasRelease(*Window, 300, 300);
    EXPECT_EQ(Canvas(*Window)->Picture(), before) << tool->objectName().toStdString() << " shaky";
    EXPECT_EQ(S().Figures().Count(), 1);
  }
  // The spare second click of a finishing double click makes nothing too:
  // what is shown is exactly a full repaint of the drawing.
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasDrag(*Window, {100, 100}, {150, 120});
  CanvasDoubleClick(*Window, 150, 120);
  EXPECT_TRUE(ShowsARepaint(*Window));
}

TEST_F(WindowDraw, APolygonUnderWayRefusesOtherToolsModesAndMenus) {
  ChooseTool(Button(*Window, "PolygonBtn"));
  CanvasDrag(*Window, {10, 10}, {100, 10});
  ASSERT_TRUE(Window->Tools().PolyDrawing());
  const auto menusEnabled = [&](bool on) {
    for (const char* menu : {"FileMenu", "DrawMenu", "ToolMenu"}) EXPECT_EQ(Menu(*Window, menu)->menuAction()->isEnabled(), on) << menu;
  };
  menusEnabled(false);
  EXPECT_FALSE(TriggerMenu(MenuAction(*Window, "ReadDataMenu")));

  ChooseTool(Button(*Window, "RectBtn"));
  EXPECT_TRUE(Button(*Window, "PolygonBtn")->isChecked());
  EXPECT_EQ(S().CurrentTool, ToolKind::Polygon);
  for (const char* mode : {"SelectEditBtn", "SelectPlayBtn"}) {
    ClickButton(Button(*Window, mode));
    EXPECT_TRUE(Button(*Window, "SelectDrawBtn")->isChecked());
    EXPECT_EQ(S().WorkMode, WindowMode::Draw);
    EXPECT_TRUE(Panel(*Window, "DrawPanel")->isVisible());
  }
  EXPECT_TRUE(Dialogs.Shown.empty());

  // The rubber band follows the mouse with no button held.
  CanvasMove(*Window, 100, 60, false);
  EXPECT_EQ(Window->Tools().Polygon().LastPoint(), (Point{100, 60}));
  CanvasClick(*Window, 100, 60);
  CanvasClick(*Window, 100, 60);
  EXPECT_FALSE(Window->Tools().PolyDrawing());
  menusEnabled(true);
  ChooseTool(Button(*Window, "RectBtn"));
  EXPECT_EQ(S().CurrentTool, ToolKind::Rectangle);
}

TEST_F(WindowDraw, TheTextToolOpensTheTextBoxWhereThePressWas) {
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasPress(*Window, 30, 40);
  EXPECT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_EQ(TextBox(*Window)->pos(), QPoint(30, 40));
  CanvasRelease(*Window, 30, 40);
  EXPECT_EQ(S().History().Count(), 0);
}

TEST_F(WindowDraw, TheSelectionToolSwitchesToEditModeAndSelectsAtOnce) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ChooseTool(Button(*Window, "SelectionBtn"));
  CanvasClick(*Window, 20, 20);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Button(*Window, "SelectEditBtn")->isChecked());
  EXPECT_TRUE(Panel(*Window, "EditPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "DrawPanel")->isVisible());
  ASSERT_NE(S().SelectedFig, nullptr);
  EXPECT_EQ(S().SelectedFig, &S().Figures().Last());
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(WindowDraw, TheSelectionToolOnEmptyCanvasSwitchesWithNothingSelected) {
  CanvasClick(*Window, 300, 300);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_EQ(S().SelectedFig, nullptr);
}

// A new figure takes the font of the last text placed, and a text the pen
// and brush of the last figure drawn; vertices and stamp contents never
// pass from one figure to the next.
TEST_F(WindowDraw, NewFiguresKeepTheLastTextsFontAndTheLastFiguresPen) {
  DrawWith(*Window, Button(*Window, "FreeBtn"), {10, 10}, {60, 50});
  PlaceText(*Window, {100, 100}, "x");
  DrawRect(*Window, {200, 200}, {250, 240});
  const auto figs = Figures(S().Figures());
  ASSERT_EQ(figs.size(), 3u);
  const Figure& text = *figs[1];
  EXPECT_EQ(text.DrawingTool, ToolKind::Text);
  EXPECT_EQ(text.PenWidth, figs[0]->PenWidth);
  EXPECT_EQ(text.PointData.Count(), 0);
  const Figure& rect = *figs[2];
  EXPECT_EQ(rect.TextSize, 12);
  EXPECT_EQ(rect.TextColor, clBlack);
  EXPECT_EQ(rect.Text, "x");
  EXPECT_EQ(rect.PointData.Count(), 0);
  EXPECT_EQ(Window->Tools().Style().Text, "x");
}

TEST_F(WindowDraw, EditModeReturnsToDrawingWithTheDefaultPen) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasClick(*Window, 20, 20);  // draws the selection frame with the frame pen
  EnterDrawMode(*Window);
  EXPECT_EQ(S().SelectedFig, nullptr);
  DrawLine(*Window, {100, 100}, {200, 120});
  EXPECT_EQ(Figures(S().Figures()).back()->PenWidth, 4);
  EXPECT_EQ(Figures(S().Figures()).back()->BrushColor, clWhite);
}

TEST_F(WindowDraw, ViewModeIgnoresTheMouse) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ASSERT_TRUE(EnterPlayMode(*Window));
  CanvasDrag(*Window, {100, 100}, {200, 200});
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_TRUE(S().Figures().IsEmpty());
}

}  // namespace
