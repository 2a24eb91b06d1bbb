// The mouse tools as a whole: what a drag leaves behind when the mode or the
// tool changes before its release, what the tools share (the template of new
// figures), polylines with other buttons, and the selection tool's switch to
// the edit mode.
#include <QShortcut>

#include "support/gui_helpers.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF;

class MouseTools : public WindowTest {
 protected:
  void Undo() { ClickButton(Button(*Window, "UndoStepBtn")); }
};

// ---- A drag ended by a mode or tool change ----

TEST_F(MouseTools, ARubberBandDragEndedByAModeChangeMakesNothingAndLeavesNothingStuck) {
  DrawRect(*Window, {10, 10}, {50, 40});
  for (const char* name : {"RectBtn", "OvalBtn", "LineBtn", "FreeBtn", "PolygonBtn"}) {
    SCOPED_TRACE(name);
    QAbstractButton* tool = Button(*Window, name);
    EnterDrawMode(*Window);
    ChooseTool(tool);
    CanvasPress(*Window, 100, 100);
    CanvasMove(*Window, 200, 180);
    EnterEditMode(*Window);
    CanvasMove(*Window, 210, 190);
    CanvasRelease(*Window, 210, 190);
    EXPECT_EQ(S().Figures().Count(), 1);
    EXPECT_EQ(S().History().Count(), 1);
    EXPECT_FALSE(Window->Tools().Busy());
    EXPECT_TRUE(ShowsARepaint(*Window));
    // Back with the same tool, the mouse moving with no button held draws
    // no band from the old press.
    EnterDrawMode(*Window);
    ChooseTool(tool);
    CanvasMove(*Window, 300, 300, false);
    EXPECT_TRUE(ShowsARepaint(*Window));
  }
  // Undo is not held up by the drags that were ended.
  Undo();
  EXPECT_TRUE(S().Figures().IsEmpty());
}

TEST_F(MouseTools, ADragEndedByAnotherToolMakesNeitherFigure) {
  ChooseTool(Button(*Window, "RectBtn"));
  CanvasPress(*Window, 100, 100);
  CanvasMove(*Window, 200, 180);
  ChooseTool(Button(*Window, "LineBtn"));
  EXPECT_TRUE(ShowsARepaint(*Window));  // the band is gone at once
  CanvasRelease(*Window, 200, 180);
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_TRUE(ShowsARepaint(*Window));
  // The next drag with the new tool is an ordinary one.
  CanvasDrag(*Window, {10, 10}, {60, 30});
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(Figures(S().Figures())[0]->DrawingTool, ToolKind::Line);
  EXPECT_EQ(Figures(S().Figures())[0]->Start, (Point{10, 10}));
}

TEST_F(MouseTools, AFigureDraggedWhenTheModeChangesStaysThereAndItsMoveIsRecorded) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasPress(*Window, 20, 20);
  CanvasMove(*Window, 50, 40);
  CanvasMove(*Window, 60, 50);
  EnterDrawMode(*Window);
  CanvasRelease(*Window, 60, 50);
  EXPECT_FALSE(Window->Tools().Busy());
  // The drawing and its history agree: the move is a step of its own.
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move}));
  const Figure& f = *Figures(S().Figures())[0];
  EXPECT_EQ(f.Start, (Point{50, 40}));
  EXPECT_EQ(S().History().Last().FigData.Start, f.Start);
  EXPECT_EQ(S().History().Last().FigData.End, f.End);
  // And undo takes it back.
  Undo();
  EXPECT_EQ(Figures(S().Figures())[0]->Start, (Point{10, 10}));
}

TEST_F(MouseTools, AFigurePressedButNotMovedRecordsNothingWhenTheModeChanges) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasPress(*Window, 20, 20);
  EnterDrawMode(*Window);
  CanvasRelease(*Window, 20, 20);
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
}

TEST_F(MouseTools, UndoKeysWaitForTheDragUnderWay) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ChooseTool(Button(*Window, "RectBtn"));
  CanvasPress(*Window, 100, 100);
  CanvasMove(*Window, 150, 150);
  Window->UndoStepBtnClick();
  EXPECT_EQ(S().History().Count(), 1);
  CanvasRelease(*Window, 150, 150);
  EXPECT_EQ(S().History().Count(), 2);
  EnterEditMode(*Window);
  CanvasPress(*Window, 20, 20);
  CanvasMove(*Window, 30, 30);
  Window->UndoStepBtnClick();
  EXPECT_EQ(S().History().Count(), 2);
  CanvasRelease(*Window, 30, 30);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Move}));
}

// ---- What the tools share ----

TEST_F(MouseTools, ATextCarriesThePenOfTheFigureMadeBeforeIt) {
  // New figures are made from one template: a text keeps the pen and brush
  // the last shape left in it, and stored drawings hold them so.
  PlaceText(*Window, {30, 40}, "a");
  DrawRect(*Window, {100, 100}, {150, 140});
  PlaceText(*Window, {200, 200}, "b");
  auto figs = Figures(S().Figures());
  ASSERT_EQ(figs.size(), 3u);
  EXPECT_EQ(figs[0]->PenWidth, 0);  // nothing drawn before the first text
  EXPECT_EQ(figs[1]->Text, "a");    // the rectangle keeps the first text
  EXPECT_EQ(figs[1]->TextSize, 12);
  EXPECT_EQ(figs[2]->DrawingTool, ToolKind::Text);
  EXPECT_EQ(figs[2]->PenWidth, 4);
  EXPECT_EQ(figs[2]->BrushStyle, 0);
  EXPECT_EQ(figs[2]->PointData.Count(), 0);
}

// ---- Polylines ----

TEST_F(MouseTools, PolylinesAreDrawnAndFinishedAlikeWithEveryButton) {
  auto draw = [this](Qt::MouseButton button, int dy) {
    ChooseTool(Button(*Window, "PolygonBtn"));
    CanvasDrag(*Window, {100, 100 + dy}, {200, 100 + dy}, 2, button);
    CanvasMove(*Window, 150, 160 + dy, false);
    CanvasClick(*Window, 150, 160 + dy, button);
    CanvasClick(*Window, 150, 160 + dy, button);
  };
  draw(Qt::LeftButton, 0);
  draw(Qt::RightButton, 200);
  auto figs = Figures(S().Figures());
  ASSERT_EQ(figs.size(), 2u);
  ASSERT_EQ(figs[0]->PointData.Count(), figs[1]->PointData.Count());
  for (int i = 0; i < figs[0]->PointData.Count(); ++i) {
    const Point a = figs[0]->PointData.Points[i], b = figs[1]->PointData.Points[i];
    EXPECT_EQ(a.X, b.X) << i;
    EXPECT_EQ(a.Y + 200, b.Y) << i;
  }
  EXPECT_FALSE(Window->Tools().PolyDrawing());
}

TEST_F(MouseTools, ThePolylineBandFollowsTheMouseOnlyOnceAFigureIsUnderWay) {
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasMove(*Window, 200, 200, false);
  CanvasMove(*Window, 300, 250, false);
  EXPECT_TRUE(ShowsARepaint(*Window));
  CanvasDrag(*Window, {10, 10}, {100, 10});
  CanvasMove(*Window, 100, 200, false);
  bool band = false;
  for (int y = 20; y < 200; ++y) band |= CanvasPixel(*Window, 100, y) != kWhite;
  EXPECT_TRUE(band);
}

// ---- The selection tool ----

TEST_F(MouseTools, TheSelectionToolPutsUndoAndRedoWhereTheEditModeHasThem) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ChooseTool(Button(*Window, "SelectionBtn"));
  CanvasClick(*Window, 20, 20);
  ASSERT_EQ(S().WorkMode, WindowMode::Edit);
  const QRect undo = Button(*Window, "UndoStepBtn")->geometry(), redo = Button(*Window, "RedoStepBtn")->geometry();
  // No edit button lies under them (the thick-line and line-colour buttons
  // sit where the draw mode has them).
  for (QToolButton* b : Panel(*Window, "OpPanel")->findChildren<QToolButton*>()) {
    const QRect box(b->mapTo(Panel(*Window, "Client"), QPoint(0, 0)), b->size());
    EXPECT_FALSE(box.intersects(undo)) << b->objectName().toStdString();
    EXPECT_FALSE(box.intersects(redo)) << b->objectName().toStdString();
  }
  EXPECT_TRUE(Button(*Window, "UndoStepBtn")->isEnabled());
  // Exactly where the mode button puts them.
  EnterDrawMode(*Window);
  EnterEditMode(*Window);
  EXPECT_EQ(Button(*Window, "UndoStepBtn")->geometry(), undo);
  EXPECT_EQ(Button(*Window, "RedoStepBtn")->geometry(), redo);
}

}  // namespace
