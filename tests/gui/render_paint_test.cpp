// Drawing figures and the selection frame: exact pixels on small cases.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "io/picture_store.h"
#include "paint_pixels.h"
#include "render/paint.h"
#include "support/builders.h"
#include "support/ink_box.h"

namespace {

// `figures` drawn one after the other in the copy mode on a blank canvas.
QImage Drawn(std::initializer_list<Figure> figures) {
  QImage img = Blank();
  RasterCanvas canvas(&img);
  for (const Figure& f : figures) DrawFigure(canvas, &f, 0, 0, DrawMode::Copy);
  return img;
}

// A figure of `tool` from (100, 100) to (200, 200) with the vertices of the
// triangle (100, 100), (200, 100), (100, 200) and a pen 3 pixels wide.
Figure Triangle(ToolKind tool, ColorRef brush) {
  return withPoints(styled(shape(tool, {100, 100}, {200, 200}), 3, clBlack, brush), {{100, 100}, {200, 100}, {100, 200}});
}

class PaintTest : public ::testing::Test {
 protected:
  QImage img = Blank();
  RasterCanvas canvas{&img};
};

}  // namespace

TEST_F(PaintTest, ARectangleInFrontHidesWhatIsBehindUnlessItHasNoFill) {
  const Figure behind = styled(rect({20, 20}, {60, 60}), 1, clBlack, tRed);
  const QImage hollow = Drawn({behind, styled(rect({10, 10}, {50, 50}), 1, clBlack)});
  EXPECT_EQ(hollow.pixel(30, 30), kRed);    // seen through the front rectangle
  EXPECT_EQ(hollow.pixel(10, 30), kBlack);  // its outline
  EXPECT_EQ(hollow.pixel(49, 30), kBlack);
  EXPECT_EQ(hollow.pixel(50, 30), kRed);
  const QImage white = Drawn({behind, styled(rect({10, 10}, {50, 50}), 1, clBlack, clWhite)});
  EXPECT_EQ(white.pixel(30, 30), kWhite);
  EXPECT_EQ(white.pixel(55, 55), kRed);
}

TEST_F(PaintTest, EveryFilledKindUsesItsBrushAndNoFillLeavesTheInside) {
  for (ToolKind tool : {ToolKind::Rectangle, ToolKind::Ellipse, ToolKind::Polygon}) {
    SCOPED_TRACE(int(tool));
    const QImage filled = Drawn({Triangle(tool, tBlue)}), empty = Drawn({Triangle(tool, clBtnFace)});
    EXPECT_EQ(filled.pixel(120, 120), kBlue);
    EXPECT_EQ(empty.pixel(120, 120), kWhite);
    EXPECT_EQ(filled.pixel(100, 150), kBlack);  // left edge on every kind
    EXPECT_EQ(empty.pixel(100, 150), kBlack);
  }
}

TEST_F(PaintTest, OpenKindsNeverFill) {
  for (ToolKind tool : {ToolKind::FreeLine, ToolKind::Polyline, ToolKind::Line}) {
    SCOPED_TRACE(int(tool));
    const QImage drawn = Drawn({Triangle(tool, tBlue)});
    EXPECT_EQ(drawn.pixel(120, 130), kWhite);
    EXPECT_EQ(drawn.pixel(150, 150), kBlack);  // the diagonal
  }
}

TEST_F(PaintTest, TextNeverHidesWhatIsBehindExceptUnderItsGlyphs) {
  img = Drawn({styled(rect({0, 0}, {200, 100}), 1, clBlack, clBlack), text("Tamlo たむろ", {10, 10}, 14, tRed)});
  int red = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      const QRgb p = img.pixel(x, y);
      ASSERT_TRUE(p == kBlack || p == kRed) << x << "," << y;
      red += p == kRed;
    }
  EXPECT_GT(red, 50);
}

TEST_F(PaintTest, TextStartsAtItsTopLeftCorner) {
  const QRect ink = InkBox(Drawn({text("WWW", {50, 40}, 14, clBlack)}), kWhite);
  EXPECT_GE(ink.left(), 50);
  EXPECT_LE(ink.left(), 52);
  EXPECT_GE(ink.top(), 40);
  EXPECT_LE(ink.top(), 46);
}

TEST_F(PaintTest, PenWidthZeroDrawsOnePixelWideLines) {
  img = Drawn({styled(line({10, 10}, {60, 10}), 0, clBlack, clWhite)});
  for (int x = 10; x <= 60; ++x) {
    EXPECT_EQ(img.pixel(x, 10), kBlack) << x;
    EXPECT_EQ(img.pixel(x, 9), kWhite) << x;
    EXPECT_EQ(img.pixel(x, 11), kWhite) << x;
  }
}

TEST_F(PaintTest, FiguresAreShiftedByTheOffset) {
  const Figure rect = styled(shape(ToolKind::Rectangle, {10, 10}, {20, 20}), 1, clBlack);
  DrawFigure(canvas, &rect, 100, 50, DrawMode::Copy);
  EXPECT_EQ(img.pixel(110, 60), kBlack);
  EXPECT_EQ(img.pixel(119, 69), kBlack);
  EXPECT_EQ(img.pixel(10, 10), kWhite);
}

TEST_F(PaintTest, StampDrawsItsContentsRelativeToItsStartNestedToo) {
  // A stamp at (100, 50) holding a line (0, 0)–(10, 0) and a stamp at (5, 5)
  // holding the same line.
  std::vector<Figure> inner{styled(line({0, 0}, {10, 0}), 1, clBlack, clWhite)};
  std::vector<Figure> outer{styled(line({0, 0}, {10, 0}), 1, clBlack, clWhite)};
  outer.push_back(stampHolding({5, 5}, std::move(inner)));
  FigureList top;
  Figure* stamp = addStamp(top, {100, 50}, std::move(outer));
  stamp->PenWidth = 40;  // a stamp's own attributes never show
  stamp->PenColor = tRed;
  stamp->BrushColor = tRed;
  stamp->End = {300, 300};

  DrawFigure(canvas, stamp, 0, 0, DrawMode::Copy);
  QImage want = Blank();
  for (int x = 0; x <= 10; ++x) {
    want.setPixel(100 + x, 50, kBlack);
    want.setPixel(105 + x, 55, kBlack);
  }
  EXPECT_EQ(Differences(img, want), 0);

  // The same through DrawFigList of the list holding the stamp.
  QImage viaList = Blank();
  RasterCanvas c(&viaList);
  DrawFigList(c, &top, 0, 0);
  EXPECT_EQ(Differences(viaList, want), 0);
}

TEST_F(PaintTest, StampContentsAreAlwaysDrawnInCopyMode) {
  std::vector<Figure> contents{styled(line({0, 0}, {10, 0}), 1, clBlack, clWhite)};
  FigureList top;
  Figure* stamp = addStamp(top, {20, 20}, std::move(contents));
  DrawFigure(canvas, stamp, 0, 0, DrawMode::NotXor);
  DrawFigure(canvas, stamp, 0, 0, DrawMode::NotXor);  // not-xor would erase it again
  EXPECT_EQ(img.pixel(25, 20), kBlack);
}

TEST_F(PaintTest, DeeplyNestedStampsDrawWithoutExhaustingTheStack) {
  std::vector<Figure> list{styled(line({0, 0}, {10, 0}), 1, clBlack, clWhite)};
  for (int depth = 0; depth < 3000; ++depth) {
    std::vector<Figure> outer;
    outer.push_back(stampHolding(depth == 1500 ? Point{7, 3} : Point{0, 0}, std::move(list)));
    list = std::move(outer);
  }
  DrawFigList(canvas, list, 100, 50);
  FigureList top;
  top.AddEmpty() = stampHolding({0, 0}, std::move(list));
  QImage viaList = Blank();
  RasterCanvas c(&viaList);
  DrawFigList(c, &top, 100, 50);
  EXPECT_EQ(Differences(viaList, img), 0);
  EXPECT_EQ(img.pixel(107, 53), kBlack);
  EXPECT_EQ(img.pixel(117, 53), kBlack);
  EXPECT_EQ(img.pixel(100, 50), kWhite);
}

TEST_F(PaintTest, NothingIsDrawnForNullFiguresEmptyListsAndEmptyStamps) {
  canvas.PenMode = DrawMode::Copy;
  DrawFigure(canvas, nullptr, 0, 0, DrawMode::NotXor);
  EXPECT_EQ(canvas.PenMode, DrawMode::NotXor);  // the mode is set before the null test
  DrawFigList(canvas, nullptr, 0, 0);
  FigureList empty;
  DrawFigList(canvas, &empty, 0, 0);
  FigureList top;
  addStamp(top, {10, 10}, {});
  Figure* bare = &top.AddEmpty();
  bare->DrawingTool = ToolKind::Stamp;  // no contents at all
  Figure* none = &top.AddEmpty();
  none->DrawingTool = ToolKind::None;
  none->End = {100, 100};
  Figure* points = &top.AddEmpty();
  points->DrawingTool = ToolKind::Polygon;  // a point figure without its vertices
  DrawFigList(canvas, &top, 0, 0);
  for (const Figure& f : top) DrawFigure(canvas, &f, 0, 0, DrawMode::Copy);
  EXPECT_EQ(Differences(img, Blank()), 0);
}

TEST_F(PaintTest, SelectionFrameLiesThreePixelsOutsideAndTwiceRestores) {
  const QImage before = img;
  const Figure rect = styled(shape(ToolKind::Rectangle, {10, 20}, {110, 70}), 1, clBlack, clWhite);
  DrawSelectionFrame(canvas, rect);
  // Corners (7, 17) and (113, 73): the right and bottom edges are the last
  // pixels inside, columns 112 and rows 72.
  int dots = 0;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x)
      if (img.pixel(x, y) != kWhite) {
        ASSERT_EQ(img.pixel(x, y), kBlack);
        ASSERT_TRUE(x == 7 || x == 112 || y == 17 || y == 72) << x << "," << y;
        ++dots;
      }
  EXPECT_EQ(InkBox(img, kWhite), QRect(QPoint(7, 17), QPoint(112, 72)));
  EXPECT_EQ(img.pixel(7, 17), kBlack);
  // Dotted: about every other pixel of the 2 × (106 + 56) − 4 on the outline.
  EXPECT_GT(dots, 140);
  EXPECT_LT(dots, 180);
  EXPECT_EQ(canvas.PenMode, DrawMode::NotXor);
  DrawSelectionFrame(canvas, rect);
  EXPECT_EQ(img, before);
}

TEST_F(PaintTest, SelectionFrameOfAReversedBoxRunsInsideOnThatAxis) {
  const Figure line = styled(shape(ToolKind::Line, {110, 70}, {10, 20}), 1, clBlack, clWhite);
  DrawSelectionFrame(canvas, line);  // corners (107, 67) and (13, 23)
  EXPECT_EQ(InkBox(img, kWhite), QRect(QPoint(13, 23), QPoint(106, 66)));
}

TEST_F(PaintTest, SelectionFrameTwiceRestoresAnyPicture) {
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, (x * y) & 255));
  const QImage before = img;
  const Figure rect = styled(ellipse({-1, 5}, {638, 481}), 1, clBlack, clWhite);  // partly off the canvas
  DrawSelectionFrame(canvas, rect);
  EXPECT_EQ(Differences(img, before), 320);  // only its top edge is on the canvas, every other pixel
  DrawSelectionFrame(canvas, rect);
  EXPECT_EQ(img, before);
}

TEST_F(PaintTest, PenPresetsForDrawingAndForTheFrame) {
  canvas.PenWidth = 9;
  canvas.PenStyle = LineStyle::Dot;
  canvas.BrushStyle = FillStyle::Clear;
  canvas.PenMode = DrawMode::NotXor;
  ResetDrawingPen(canvas);
  EXPECT_EQ(canvas.PenWidth, 4);
  EXPECT_EQ(canvas.PenStyle, LineStyle::Solid);
  EXPECT_EQ(canvas.PenColor, clBlack);
  EXPECT_EQ(canvas.BrushColor, clWhite);
  EXPECT_EQ(canvas.BrushStyle, FillStyle::Solid);
  EXPECT_EQ(canvas.PenMode, DrawMode::Copy);
  SetFramePen(canvas);
  EXPECT_EQ(canvas.PenWidth, 1);
  EXPECT_EQ(canvas.PenStyle, LineStyle::Dot);
  EXPECT_EQ(canvas.PenMode, DrawMode::NotXor);
}
