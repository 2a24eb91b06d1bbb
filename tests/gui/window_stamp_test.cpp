// Setting a stamp with a dragged rectangle and placing it with the stamp tool.
#include "support/window_fixture.h"

namespace {

class WindowStamp : public WindowTest {
 protected:
  // The rectangle (10, 10)–(50, 40) and the ellipse (100, 100)–(150, 180).
  void DrawExample() {
    DrawRect(*Window, {10, 10}, {50, 40});
    DrawEllipse(*Window, {100, 100}, {150, 180});
  }
  void SetStamp(QPoint from, QPoint to) {
    ChooseTool(Button(*Window, "SetStampBtn"));
    CanvasDrag(*Window, from, to);
  }
  int StampCount() { return S().CurrentStamp ? int(S().CurrentStamp->size()) : -1; }
  bool PreviewBlank() {
    const QImage& img = StampImage(*Window)->Picture();
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
  }
};

TEST_F(WindowStamp, GatheredFiguresAreCopiedRelativeToTheStampBox) {
  DrawExample();
  SetStamp({0, 0}, {200, 200});
  ASSERT_EQ(StampCount(), 2);
  EXPECT_EQ(S().StampTopLeft, (Point{10, 10}));
  EXPECT_EQ(S().StampBottomRight, (Point{150, 180}));
  const std::vector<Figure>& copies = *S().CurrentStamp;
  EXPECT_EQ(copies[0].DrawingTool, ToolKind::Rectangle);
  EXPECT_EQ(copies[0].Start, (Point{0, 0}));
  EXPECT_EQ(copies[0].End, (Point{40, 30}));
  EXPECT_EQ(copies[1].DrawingTool, ToolKind::Ellipse);
  EXPECT_EQ(copies[1].Start, (Point{90, 90}));
  EXPECT_EQ(copies[1].End, (Point{140, 170}));
  // The drawing is untouched and nothing is recorded.
  EXPECT_EQ(Figures(S().Figures())[0]->Start, (Point{10, 10}));
  EXPECT_EQ(S().History().Count(), 2);
  // Back to the selection tool; the stamp tool can be chosen; the preview shows it.
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
  EXPECT_TRUE(Button(*Window, "StampBtn")->isEnabled());
  EXPECT_FALSE(PreviewBlank());
  // The rubber band is gone from the screen.
  Window->PaintBoxPaint();
  EXPECT_EQ(CanvasPixel(*Window, 200, 100), 0xFFFFFFu);
}

TEST_F(WindowStamp, PlacingTheStampMakesOneStampFigureAtTheRelease) {
  DrawExample();
  SetStamp({0, 0}, {200, 200});
  ChooseTool(Button(*Window, "StampBtn"));
  ASSERT_EQ(S().CurrentTool, ToolKind::Stamp);
  CanvasPress(*Window, 250, 250);  // a press does nothing
  CanvasMove(*Window, 300, 200);
  CanvasRelease(*Window, 300, 200);
  auto figs = Figures(S().Figures());
  ASSERT_EQ(figs.size(), 3u);
  const Figure& st = *figs[2];
  EXPECT_EQ(st.DrawingTool, ToolKind::Stamp);
  EXPECT_EQ(st.Start, (Point{300, 200}));
  EXPECT_EQ(st.End, (Point{440, 370}));
  EXPECT_NE(st.StampData.data(), S().CurrentStamp->data());  // a copy of its own
  EXPECT_EQ(st.StampData.size(), 2u);
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Create}));
  EXPECT_EQ(S().History().Last().FigData.StampData.size(), 2u);
  // The placed stamp shows its contents at once: the rectangle's top edge.
  EXPECT_EQ(CanvasPixel(*Window, 320, 200), 0x000000u);
  // The draw-mode pen is unchanged for the next figure.
  DrawLine(*Window, {10, 300}, {90, 300});
  EXPECT_EQ(Figures(S().Figures()).back()->PenWidth, 4);

  // A new stamp replaces the current one; placed stamps keep their copies.
  SetStamp({0, 0}, {60, 60});
  EXPECT_EQ(StampCount(), 1);
  EXPECT_EQ(Figures(S().Figures())[2]->StampData.size(), 2u);
}

TEST_F(WindowStamp, ReverseDragGathersTheSameAndMarginIsThreePixels) {
  DrawExample();
  SetStamp({200, 200}, {0, 0});
  EXPECT_EQ(StampCount(), 2);
  // The rectangle reaches 3 pixels beyond (53, 43): still gathered.
  SetStamp({13, 13}, {47, 37});
  EXPECT_EQ(StampCount(), 1);
  // 4 pixels beyond: left out, and with nothing gathered the stamp is gone.
  SetStamp({14, 10}, {50, 40});
  EXPECT_EQ(StampCount(), -1);
  EXPECT_FALSE(Button(*Window, "StampBtn")->isEnabled());
  EXPECT_TRUE(PreviewBlank());
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(WindowStamp, FiguresOnlyPartlyInsideAreLeftOut) {
  DrawExample();
  SetStamp({0, 0}, {120, 120});
  ASSERT_EQ(StampCount(), 1);
  EXPECT_EQ(S().CurrentStamp->at(0).DrawingTool, ToolKind::Rectangle);
}

TEST_F(WindowStamp, AnEmptyDrawingKeepsTheStampAndSaysSo) {
  SetStamp({0, 0}, {100, 100});
  EXPECT_EQ(Dialogs.LastText(), "選択できる図形がありません");
  EXPECT_EQ(StampCount(), -1);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
}

TEST_F(WindowStamp, ARectangleWithoutWidthOrHeightGathersNothing) {
  DrawExample();
  SetStamp({0, 0}, {200, 200});
  ASSERT_EQ(StampCount(), 2);
  SetStamp({0, 0}, {0, 200});
  EXPECT_EQ(StampCount(), 2);  // MakeStamp never ran
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(WindowStamp, PlaybackBlanksThePreviewAndDisablesTheStampTool) {
  DrawExample();
  SetStamp({0, 0}, {200, 200});
  ASSERT_TRUE(EnterPlayMode(*Window));
  EXPECT_FALSE(Button(*Window, "StampBtn")->isEnabled());
  EXPECT_TRUE(PreviewBlank());
  EXPECT_EQ(StampCount(), 2);
}

TEST_F(WindowStamp, StampsInsideStampsAreCopiedWhole) {
  DrawRect(*Window, {10, 10}, {30, 30});
  SetStamp({0, 0}, {40, 40});
  ChooseTool(Button(*Window, "StampBtn"));
  CanvasClick(*Window, 100, 100);
  SetStamp({90, 90}, {130, 130});
  ASSERT_EQ(StampCount(), 1);
  const Figure* inner = &S().CurrentStamp->at(0);
  EXPECT_EQ(inner->DrawingTool, ToolKind::Stamp);
  EXPECT_EQ(inner->Start, (Point{0, 0}));
  ASSERT_FALSE(inner->StampData.empty());
  EXPECT_EQ(inner->StampData[0].End, (Point{20, 20}));
}

}  // namespace
