// The two size sliders of the edit mode on a real window.
#include <QSlider>
#include <QToolButton>

#include "history/actions.h"
#include "history/savehistory.h"
#include "support/window_fixture.h"
#include "support/builders.h"
#include "support/drawing_door.h"

namespace {

class ResizeSliders : public WindowTest {
 protected:
  // Puts a figure into the drawing as a command would (a copy plus its
  // Create record).
  Figure* Put(const Figure& f) {
    return CreateFigure(MutableState(*Window), f);
  }
  // Selects with a click in the edit mode.
  Figure* Pick(int x, int y) {
    if (S().WorkMode != WindowMode::Edit) EnterEditMode(*Window);
    CanvasClick(*Window, x, y);
    return S().SelectedFig;
  }
  void H(int p) { Slider(*Window, "HTrackBar")->setValue(p); }
  void V(int q) { Slider(*Window, "VTrackBar")->setValue(q); }
};

TEST_F(ResizeSliders, RectangleFollowsTheSlidersAndComesBack) {
  DrawRect(*Window, {100, 100}, {200, 150});
  Figure* f = Pick(150, 125);
  ASSERT_NE(f, nullptr);
  H(10);
  EXPECT_EQ(S().Shown(*f).Start, (Point{90, 100}));
  EXPECT_EQ(S().Shown(*f).End, (Point{210, 150}));
  EXPECT_EQ(CanvasPixel(*Window, 91, 125), 0x000000u);  // repainted
  V(-20);
  EXPECT_EQ(S().Shown(*f).Start, (Point{90, 120}));
  EXPECT_EQ(S().Shown(*f).End, (Point{210, 130}));
  H(0);
  V(0);
  EXPECT_EQ(S().Shown(*f).Start, (Point{100, 100}));
  EXPECT_EQ(S().Shown(*f).End, (Point{200, 150}));
  EXPECT_EQ(S().History().Count(), 1);  // moving a slider records nothing
}

TEST_F(ResizeSliders, NothingSelectedNothingHappens) {
  DrawRect(*Window, {100, 100}, {200, 150});
  EnterEditMode(*Window);
  H(30);
  EXPECT_EQ(S().Figures().Last().End.X, 200);
  EXPECT_FALSE(S().ResizePending());
}

TEST_F(ResizeSliders, PolylineVerticesStretch) {
  Put(polyline({{100, 100}, {125, 200}, {200, 110}}));
  Figure* f = Pick(125, 150);
  ASSERT_NE(f, nullptr);
  H(10);
  EXPECT_EQ(S().Shown(*f).Start.X, 90);
  EXPECT_EQ(S().Shown(*f).PointData.Points[1].X, 120);  // 90 + trunc(25/100 × 20 + 25)
  EXPECT_EQ(S().Shown(*f).PointData.Points[2].X, 210);
}

TEST_F(ResizeSliders, TextSizeFollowsAndStopsAtSix) {
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasClick(*Window, 100, 80);
  TypeText(*Window, "abc");
  PressKey(*Window, Qt::Key_Return);
  Figure* f = Pick(102, 85);
  ASSERT_NE(f, nullptr);
  H(-6);
  EXPECT_EQ(S().Shown(*f).TextSize, 6);
  EXPECT_EQ(S().Shown(*f).End.X, 100 + Window->FigureTextWidth("abc", 6));
  EXPECT_EQ(S().Shown(*f).End.Y, 87);  // trunc(80 + 7.2)
  H(-7);
  EXPECT_EQ(S().Shown(*f).TextSize, 6);
  V(-8);  // thumb raised: 12 + 8
  EXPECT_EQ(S().Shown(*f).TextSize, 20);
  EXPECT_EQ(S().Shown(*f).End.X, 100 + Window->FigureTextWidth("abc", 20));
  EXPECT_EQ(S().Shown(*f).End.Y, 104);
}

TEST_F(ResizeSliders, StampContentsStretchWithTheStamp) {
  BuiltFigure t = text("a", {10, 20}, 12);
  t.End = {30, 32};
  Put(stamp({100, 100}, {140, 140}, {rect({10, 0}, {30, 20}), t}));
  Figure* f = Pick(120, 120);
  ASSERT_NE(f, nullptr);
  H(20);  // 40 → 80 wide
  EXPECT_EQ(S().Shown(*f).Start.X, 80);
  EXPECT_EQ(S().Shown(*f).End.X, 160);
  const Figure& r = S().Shown(*f).StampData.front();
  const Figure& text = S().Shown(*f).StampData.back();
  EXPECT_EQ(r.Start.X, 20);
  EXPECT_EQ(r.End.X, 60);
  EXPECT_EQ(text.Start.X, 30);
  EXPECT_EQ(text.End.X, 70);
  EXPECT_EQ(text.TextSize, 12);
  // The stretched rectangle shows at its new place: stamp 80 + 20.
  EXPECT_EQ(CanvasPixel(*Window, 100, 110), 0x000000u);
  EnterDrawMode(*Window);  // leaving the edit mode records the size
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change}));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::Size);
  EXPECT_EQ(S().History().Last().FigData.StampData.front().End.X, 60);
}

TEST_F(ResizeSliders, StampWithoutRecordShowsTheErrorAndKeepsRunning) {
  // No record points at it.
  Figure* item = &*Writable(MutableState(*Window)).Figures.Add(stamp({100, 100}, {120, 120}, {rect({0, 0}, {20, 20})}));
  Figure* f = Pick(110, 110);
  ASSERT_EQ(f, item);
  H(10);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"スタンプのサイズ変更：解決できないエラーが発生しました"});
  EXPECT_EQ(S().Shown(*f).Start, (Point{100, 100}));
  EXPECT_EQ(S().Shown(*f).StampData.back().End, (Point{20, 20}));
  EXPECT_TRUE(ExitCodes.empty());
  EXPECT_FALSE(S().ResizePending());
  // The drawing is still there to work on.
  EnterDrawMode(*Window);
  DrawRect(*Window, {300, 300}, {350, 350});
  EXPECT_EQ(S().Figures().Count(), 2);
}

TEST_F(ResizeSliders, RecordedOnceBeforeTheNextAction) {
  DrawRect(*Window, {100, 100}, {200, 150});
  Figure* f = Pick(150, 125);
  for (int p = 1; p <= 25; ++p) H(p);
  V(5);
  EXPECT_EQ(S().History().Count(), 1);
  ClickButton(Button(*Window, "ThickBtn"));
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Change}));
  const Action& size = S().History().At(S().History().Count() - 1);
  EXPECT_EQ(size.Parameter, ParameterKind::Size);
  EXPECT_EQ(size.TargetID, 1);
  EXPECT_EQ(size.FigData.Start, (Point{75, 95}));
  EXPECT_EQ(size.FigData.End, (Point{225, 155}));
  EXPECT_EQ(size.FigData.PenWidth, 4);
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::LineWidth);
  EXPECT_EQ(S().Shown(*f).PenWidth, 6);
  EXPECT_FALSE(S().ResizePending());
}

TEST_F(ResizeSliders, BroughtBackIsNotRecorded) {
  DrawRect(*Window, {100, 100}, {200, 150});
  Pick(150, 125);
  H(40);
  V(-10);
  H(0);
  V(0);
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change}));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::LineWidth);
}

TEST_F(ResizeSliders, AnotherFigureRecordsTheFirstBeforeItsOwn) {
  DrawRect(*Window, {100, 100}, {200, 150});  // A
  DrawRect(*Window, {300, 300}, {350, 350});  // B
  Pick(150, 125);
  H(10);
  Figure* b = Pick(325, 325);
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 0);  // the click puts the bars back
  V(5);
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Change}));
  EXPECT_EQ(S().History().Last().TargetID, 1);
  EXPECT_EQ(S().History().Last().FigData.End.X, 210);
  EXPECT_EQ(S().Preview.Of, b);
  ClickButton(Button(*Window, "DeleteBtn"));
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Change, ActionKind::Change, ActionKind::Delete}));
  EXPECT_EQ(S().History().At(S().History().Count() - 1).TargetID, 2);
}

TEST_F(ResizeSliders, ResizedTextThenChangedTextRecordsSizeFirst) {
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasClick(*Window, 100, 80);
  TypeText(*Window, "abc");
  PressKey(*Window, Qt::Key_Return);
  Figure* f = Pick(102, 85);
  H(8);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  TextBox(*Window)->end(false);
  TypeText(*Window, "d");
  PressKey(*Window, Qt::Key_Return);
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Change}));
  EXPECT_EQ(S().History().At(S().History().Count() - 1).Parameter, ParameterKind::Size);
  EXPECT_EQ(S().History().At(S().History().Count() - 1).FigData.TextSize, 20);
  EXPECT_EQ(S().History().At(S().History().Count() - 1).FigData.Text, "abc");
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::Text);
  EXPECT_EQ(S().Shown(*f).Text, "abcd");
  EXPECT_EQ(S().Shown(*f).End.X, 100 + Window->FigureTextWidth("abcd", 20));
}

}  // namespace
