// Drawing with the mouse in the draw mode: every tool's figure and record,
// the rubber band on the screen, clicks that make nothing, and polylines.
#include <QLineEdit>

#include "support/form_fixture.h"

namespace {

class WindowDraw : public FormTest {
 protected:
  const Figure& Only() {
    auto figs = Figures(S().DrawingFigs);
    EXPECT_EQ(figs.size(), 1u);
    return *figs.back();
  }
  std::vector<Point> Vertices(const Figure& f) {
    std::vector<Point> v;
    for (int i = 0; i < f.PointData.Count(); ++i) v.push_back(f.PointData.Points[i]);
    return v;
  }
};

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;

TEST_F(WindowDraw, RectangleDragMakesOneFigureWithDefaultsAndOneCreateRecord) {
  DrawRect(*Form, {10, 10}, {50, 40});
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(f.Start, (Point{10, 10}));
  EXPECT_EQ(f.End, (Point{50, 40}));
  EXPECT_EQ(f.PenWidth, 4);
  EXPECT_EQ(f.PenColor, 0x000000);
  EXPECT_EQ(f.BrushColor, 0xFFFFFF);
  EXPECT_EQ(f.BrushStyle, 0);
  ASSERT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
  const Action& r = S().History.Last();
  EXPECT_EQ(r.TargetID, 1);
  EXPECT_EQ(r.FigData.DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(r.FigData.End, (Point{50, 40}));
  // The finished rectangle is on the screen: black outline, white inside.
  EXPECT_EQ(CanvasPixel(*Form, 30, 10), kBlack);
  EXPECT_EQ(CanvasPixel(*Form, 30, 25), kWhite);
}

TEST_F(WindowDraw, ShapesKeepTheirDrawingDirection) {
  DrawRect(*Form, {50, 40}, {10, 10});
  DrawEllipse(*Form, {200, 100}, {120, 20});
  DrawLine(*Form, {300, 300}, {250, 200});
  auto figs = Figures(S().DrawingFigs);
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
  EXPECT_EQ(S().History.Last().TargetID, 3);
}

TEST_F(WindowDraw, EveryMouseButtonDrawsAlike) {
  ChooseTool(Button(*Form, "RectBtn"));
  CanvasDrag(*Form, {10, 10}, {60, 50}, 3, Qt::RightButton);
  CanvasDrag(*Form, {100, 10}, {160, 50}, 3, Qt::MiddleButton);
  EXPECT_EQ(Figures(S().DrawingFigs).size(), 2u);
}

TEST_F(WindowDraw, ClicksWithoutDraggingMakeNothing) {
  for (QAbstractButton* tool : {static_cast<QAbstractButton*>(Button(*Form, "LineBtn")), static_cast<QAbstractButton*>(Button(*Form, "OvalBtn")),
                                static_cast<QAbstractButton*>(Button(*Form, "RectBtn")), static_cast<QAbstractButton*>(Button(*Form, "FreeBtn"))}) {
    ChooseTool(tool);
    CanvasClick(*Form, 100, 100);
    // Moving away and coming back before the release is still a click.
    CanvasPress(*Form, 200, 200);
    CanvasMove(*Form, 230, 240);
    CanvasMove(*Form, 200, 200);
    CanvasRelease(*Form, 200, 200);
  }
  EXPECT_TRUE(S().DrawingFigs.IsEmpty());
  EXPECT_EQ(S().History.Count(), 0);
  EXPECT_FALSE(Form->Tools().Busy());
  // The screen returns to the composed picture at the next refresh.
  Form->PaintBoxPaint();
  EXPECT_EQ(CanvasPixel(*Form, 230, 220), kWhite);
}

TEST_F(WindowDraw, RubberBandIsDrawnAndErasedOnTheScreenOnly) {
  ChooseTool(Button(*Form, "RectBtn"));
  CanvasPress(*Form, 100, 100);
  CanvasMove(*Form, 200, 180);
  // The dotted band shows somewhere on its right edge.
  bool seen = false;
  for (int y = 100; y < 180; ++y) seen |= CanvasPixel(*Form, 199, y) != kWhite || CanvasPixel(*Form, 200, y) != kWhite;
  EXPECT_TRUE(seen);
  // Moving on erases the old band exactly.
  CanvasMove(*Form, 150, 140);
  for (int y = 100; y < 180; ++y) {
    ASSERT_EQ(CanvasPixel(*Form, 199, y), kWhite) << y;
    ASSERT_EQ(CanvasPixel(*Form, 200, y), kWhite) << y;
  }
  // Nothing of it entered the composed picture.
  EXPECT_EQ(Form->pictures().WorkBitmap.pixel(150, 120) & 0xFFFFFF, kWhite);
  EXPECT_EQ(S().History.Count(), 0);
  CanvasRelease(*Form, 150, 140);
  EXPECT_EQ(S().History.Count(), 1);
}

TEST_F(WindowDraw, FreeLineCollectsOnePointPerMoveAndTheRelease) {
  ChooseTool(Button(*Form, "FreeBtn"));
  CanvasPress(*Form, 10, 10);
  CanvasMove(*Form, 20, 15);
  CanvasMove(*Form, 30, 30);
  CanvasMove(*Form, 25, 60);
  CanvasRelease(*Form, 40, 70);
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::FreeLine);
  EXPECT_EQ(Vertices(f), (std::vector<Point>{{10, 10}, {20, 15}, {30, 30}, {25, 60}, {40, 70}}));
  // Start and End are the vertices' box.
  EXPECT_EQ(f.Start, (Point{10, 10}));
  EXPECT_EQ(f.End, (Point{40, 70}));
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
}

TEST_F(WindowDraw, FreeLineEndingWhereItBeganIsDiscarded) {
  ChooseTool(Button(*Form, "FreeBtn"));
  CanvasPress(*Form, 50, 50);
  for (int i = 0; i < 40; ++i) CanvasMove(*Form, 50 + i * 3, 50 + (i % 7) * 5);
  CanvasRelease(*Form, 50, 50);
  EXPECT_TRUE(S().DrawingFigs.IsEmpty());
  EXPECT_EQ(S().History.Count(), 0);
}

TEST_F(WindowDraw, FreeLineKeepsTheFirst2000Points) {
  ChooseTool(Button(*Form, "FreeBtn"));
  CanvasPress(*Form, 0, 0);
  for (int i = 1; i < 2500; ++i) CanvasMove(*Form, i % 600, i / 600);
  CanvasRelease(*Form, 300, 300);
  const Figure& f = Only();
  EXPECT_EQ(f.PointData.Count(), 2000);
}

TEST_F(WindowDraw, PolylineStoresClickedVerticesTwiceAndTheLastThreeTimes) {
  ChooseTool(Button(*Form, "PolylineBtn"));
  CanvasDrag(*Form, {0, 0}, {100, 0});
  EXPECT_TRUE(Form->Tools().PolyDrawing());
  CanvasMove(*Form, 100, 50, false);
  CanvasMove(*Form, 100, 100, false);
  CanvasClick(*Form, 100, 100);
  CanvasMove(*Form, 50, 100, false);
  CanvasMove(*Form, 0, 100, false);
  CanvasDoubleClick(*Form, 0, 100);
  EXPECT_FALSE(Form->Tools().PolyDrawing());
  EXPECT_FALSE(Form->Tools().Busy());
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Polyline);
  EXPECT_EQ(Vertices(f), (std::vector<Point>{{0, 0}, {100, 0}, {100, 100}, {100, 100}, {0, 100}, {0, 100}, {0, 100}}));
  EXPECT_EQ(f.Start, (Point{0, 0}));
  EXPECT_EQ(f.End, (Point{100, 100}));
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
  EXPECT_EQ(S().History.Last().FigData.PointData.Count(), 7);
}

TEST_F(WindowDraw, PolygonIsFinishedAndFilledByASecondClickOnTheLastVertex) {
  ChooseTool(Button(*Form, "PolygonBtn"));
  CanvasDrag(*Form, {100, 100}, {200, 100});
  CanvasMove(*Form, 150, 200, false);
  CanvasClick(*Form, 150, 200);
  CanvasClick(*Form, 150, 200);
  const Figure& f = Only();
  EXPECT_EQ(f.DrawingTool, ToolKind::Polygon);
  EXPECT_EQ(Vertices(f), (std::vector<Point>{{100, 100}, {200, 100}, {150, 200}, {150, 200}, {150, 200}}));
  Form->PaintBoxPaint();
  EXPECT_EQ(CanvasPixel(*Form, 150, 100), kBlack);  // the first edge
}

TEST_F(WindowDraw, SingleClickWithThePolylineToolMakesNothingAndStaysReady) {
  ChooseTool(Button(*Form, "PolylineBtn"));
  CanvasClick(*Form, 40, 40);
  EXPECT_TRUE(S().DrawingFigs.IsEmpty());
  EXPECT_FALSE(Form->Tools().PolyDrawing());
  EXPECT_EQ(S().CurrentTool, ToolKind::Polyline);
  EXPECT_TRUE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
  // And the next drag starts a new figure from scratch.
  CanvasDrag(*Form, {10, 10}, {30, 10});
  // A double click on the last vertex: its first click finishes the figure,
  // its second is a click that makes nothing.
  CanvasDoubleClick(*Form, 30, 10);
  const Figure& f = Only();
  EXPECT_EQ(Vertices(f), (std::vector<Point>{{10, 10}, {30, 10}, {30, 10}}));
}

TEST_F(WindowDraw, AClickThatMakesNothingLeavesTheScreenAsItWas) {
  DrawRect(*Form, {20, 20}, {80, 60});
  for (QAbstractButton* tool : {Button(*Form, "PolylineBtn"), Button(*Form, "PolygonBtn")}) {
    ChooseTool(tool);
    const QImage before = Canvas(*Form)->Image.copy();
    CanvasClick(*Form, 40, 40);   // on a figure
    EXPECT_EQ(Canvas(*Form)->Image, before) << tool->objectName().toStdString() << " click";
    CanvasDoubleClick(*Form, 200, 200); // on the white canvas
    EXPECT_EQ(Canvas(*Form)->Image, before) << tool->objectName().toStdString() << " double";
    // A child's click: the hand shakes while the button is down.
    CanvasPress(*Form, 300, 300);
    CanvasMove(*Form, 302, 301);
    CanvasRelease(*Form, 300, 300);
    EXPECT_EQ(Canvas(*Form)->Image, before) << tool->objectName().toStdString() << " shaky";
    EXPECT_EQ(S().DrawingFigs.Count(), 1);
  }
  // The spare second click of a finishing double click makes nothing too:
  // what is shown is exactly a full repaint of the drawing.
  ChooseTool(Button(*Form, "PolylineBtn"));
  CanvasDrag(*Form, {100, 100}, {150, 120});
  CanvasDoubleClick(*Form, 150, 120);
  const QImage shown = Canvas(*Form)->Image.copy();
  Form->PaintBoxPaint();
  EXPECT_EQ(Canvas(*Form)->Image, shown);
}

TEST_F(WindowDraw, APolygonUnderWayRefusesOtherToolsModesAndMenus) {
  ChooseTool(Button(*Form, "PolygonBtn"));
  CanvasDrag(*Form, {10, 10}, {100, 10});
  ASSERT_TRUE(Form->Tools().PolyDrawing());
  for (QMenu* menu : {Menu(*Form, "FileMenu"), Menu(*Form, "DrawMenu"), Menu(*Form, "ToolMenu")}) EXPECT_FALSE(menu->menuAction()->isEnabled());
  EXPECT_FALSE(TriggerMenu(MenuAction(*Form, "ReadDataMenu")));

  ChooseTool(Button(*Form, "RectBtn"));
  EXPECT_TRUE(Button(*Form, "PolygonBtn")->isChecked());
  EXPECT_EQ(S().CurrentTool, ToolKind::Polygon);
  for (QAbstractButton* mode : {static_cast<QAbstractButton*>(Button(*Form, "SelectEditBtn")), static_cast<QAbstractButton*>(Button(*Form, "SelectPlayBtn"))}) {
    ClickButton(mode);
    EXPECT_TRUE(Button(*Form, "SelectDrawBtn")->isChecked());
    EXPECT_EQ(S().WorkMode, WindowMode::Draw);
    EXPECT_TRUE(Panel(*Form, "DrawPanel")->isVisible());
  }
  EXPECT_TRUE(Dialogs.Shown.empty());

  // The rubber band follows the mouse with no button held.
  CanvasMove(*Form, 100, 60, false);
  EXPECT_EQ(Form->Tools().Polygon().LastPoint(), (Point{100, 60}));
  CanvasClick(*Form, 100, 60);
  CanvasClick(*Form, 100, 60);
  EXPECT_FALSE(Form->Tools().PolyDrawing());
  for (QMenu* menu : {Menu(*Form, "FileMenu"), Menu(*Form, "DrawMenu"), Menu(*Form, "ToolMenu")}) EXPECT_TRUE(menu->menuAction()->isEnabled());
  ChooseTool(Button(*Form, "RectBtn"));
  EXPECT_EQ(S().CurrentTool, ToolKind::Rectangle);
}

TEST_F(WindowDraw, TheTextToolOpensTheTextBoxWhereThePressWas) {
  ChooseTool(Button(*Form, "TextBtn"));
  CanvasPress(*Form, 30, 40);
  EXPECT_TRUE(TextBox(*Form)->isVisible());
  EXPECT_EQ(TextBox(*Form)->pos(), QPoint(30, 40));
  CanvasRelease(*Form, 30, 40);
  EXPECT_EQ(S().History.Count(), 0);
}

TEST_F(WindowDraw, TheSelectionToolSwitchesToEditModeAndSelectsAtOnce) {
  DrawRect(*Form, {10, 10}, {50, 40});
  ChooseTool(Button(*Form, "SelectionBtn"));
  CanvasClick(*Form, 20, 20);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_TRUE(Button(*Form, "SelectEditBtn")->isChecked());
  EXPECT_TRUE(Panel(*Form, "EditPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "DrawPanel")->isVisible());
  ASSERT_NE(S().SelectedFig, nullptr);
  EXPECT_EQ(S().SelectedFig, &S().DrawingFigs.Last());
  EXPECT_EQ(S().History.Count(), 1);
}

TEST_F(WindowDraw, TheSelectionToolOnEmptyCanvasSwitchesWithNothingSelected) {
  CanvasClick(*Form, 300, 300);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_EQ(S().SelectedFig, nullptr);
}

TEST_F(WindowDraw, NewFiguresKeepTextAttributesOfTheLastTextEntry) {
  Form->Tools().NewFigure().TextSize = 20;
  Form->Tools().NewFigure().Text = "x";
  DrawRect(*Form, {10, 10}, {50, 40});
  EXPECT_EQ(Only().TextSize, 20);
  EXPECT_EQ(Only().Text, "x");
  EXPECT_EQ(Form->Tools().NewFigure().PointData.Count(), 0);
}

TEST_F(WindowDraw, EditModeReturnsToDrawingWithTheDefaultPen) {
  DrawRect(*Form, {10, 10}, {50, 40});
  EnterEditMode(*Form);
  CanvasClick(*Form, 20, 20);  // draws the selection frame with the frame pen
  EnterDrawMode(*Form);
  EXPECT_EQ(S().SelectedFig, nullptr);
  DrawLine(*Form, {100, 100}, {200, 120});
  EXPECT_EQ(Figures(S().DrawingFigs).back()->PenWidth, 4);
  EXPECT_EQ(Figures(S().DrawingFigs).back()->BrushColor, clWhite);
}

TEST_F(WindowDraw, ViewModeIgnoresTheMouse) {
  DrawRect(*Form, {10, 10}, {50, 40});
  ASSERT_TRUE(EnterPlayMode(*Form));
  CanvasDrag(*Form, {100, 100}, {200, 200});
  EXPECT_EQ(S().History.Count(), 1);
  EXPECT_TRUE(S().DrawingFigs.IsEmpty());
}

}  // namespace
