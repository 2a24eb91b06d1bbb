// Drawing figures and composing the canvas: exact pixels on small cases.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "io/picture_store.h"
#include "render/paint.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr ColorRef tRed = 0x0000FF;
constexpr ColorRef tBlue = 0xFF0000;

QImage Blank(QRgb fill = kWhite) {
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

Figure Shape(ToolKind tool, Point a, Point b, ColorRef brush, int penWidth = 1, ColorRef pen = clBlack) {
  Figure f;
  f.DrawingTool = tool;
  f.Start = a;
  f.End = b;
  f.BrushColor = brush;
  f.PenWidth = penWidth;
  f.PenColor = pen;
  return f;
}

Figure Text(Point at, const std::string& text, ColorRef color, ColorRef brush) {
  Figure f = Shape(ToolKind::Text, at, at, brush);
  f.Text = text;
  f.TextSize = 14;
  f.TextColor = color;
  return f;
}

// Pixels that differ between two pictures.
int Differences(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// A stamp item whose contents are `contents`, appended to `list`.
FigureItem* AddStamp(FigureList& list, Point start, std::unique_ptr<FigureList> contents) {
  FigureItem* item = list.AddEmptyFig();
  item->Data.DrawingTool = ToolKind::Stamp;
  item->Data.Start = start;
  item->Data.End = start;
  item->AdoptStampData(std::move(contents));
  return item;
}

class PaintTest : public ::testing::Test {
 protected:
  QImage img = Blank();
  RasterCanvas canvas{&img};
};

}  // namespace

TEST_F(PaintTest, NoFillRectangleShowsOnlyItsOutline) {
  const Figure behind = Shape(ToolKind::Rectangle, {20, 20}, {60, 60}, tRed);
  const Figure front = Shape(ToolKind::Rectangle, {10, 10}, {50, 50}, clBtnFace);
  DrawFigure(canvas, &behind, 0, 0, DrawMode::Copy);
  DrawFigure(canvas, &front, 0, 0, DrawMode::Copy);
  EXPECT_EQ(img.pixel(30, 30), kRed);    // seen through the front rectangle
  EXPECT_EQ(img.pixel(10, 30), kBlack);  // its outline
  EXPECT_EQ(img.pixel(49, 30), kBlack);
  EXPECT_EQ(img.pixel(50, 30), kRed);
}

TEST_F(PaintTest, WhiteFilledRectangleHidesWhatIsBehind) {
  const Figure behind = Shape(ToolKind::Rectangle, {20, 20}, {60, 60}, tRed);
  const Figure front = Shape(ToolKind::Rectangle, {10, 10}, {50, 50}, clWhite);
  DrawFigure(canvas, &behind, 0, 0, DrawMode::Copy);
  DrawFigure(canvas, &front, 0, 0, DrawMode::Copy);
  EXPECT_EQ(img.pixel(30, 30), kWhite);
  EXPECT_EQ(img.pixel(55, 55), kRed);
}

TEST_F(PaintTest, EveryFilledKindUsesItsBrushAndNoFillLeavesTheInside) {
  Vertex tri;
  tri.AddPoint(100, 100);
  tri.AddPoint(200, 100);
  tri.AddPoint(100, 200);
  for (ToolKind tool : {ToolKind::Rectangle, ToolKind::Ellipse, ToolKind::Polygon}) {
    QImage a = Blank(), b = Blank();
    RasterCanvas ca(&a), cb(&b);
    Figure filled = Shape(tool, {100, 100}, {200, 200}, tBlue, 3);
    Figure empty = Shape(tool, {100, 100}, {200, 200}, clBtnFace, 3);
    filled.PointData = empty.PointData = &tri;
    DrawFigure(ca, &filled, 0, 0, DrawMode::Copy);
    DrawFigure(cb, &empty, 0, 0, DrawMode::Copy);
    EXPECT_EQ(a.pixel(120, 120), kBlue) << int(tool);
    EXPECT_EQ(b.pixel(120, 120), kWhite) << int(tool);
    EXPECT_EQ(a.pixel(100, 150), kBlack) << int(tool);  // left edge on every kind
    EXPECT_EQ(b.pixel(100, 150), kBlack) << int(tool);
  }
}

TEST_F(PaintTest, OpenKindsNeverFill) {
  Vertex tri;
  tri.AddPoint(100, 100);
  tri.AddPoint(200, 100);
  tri.AddPoint(100, 200);
  for (ToolKind tool : {ToolKind::FreeLine, ToolKind::Polyline, ToolKind::Line}) {
    QImage a = Blank();
    RasterCanvas ca(&a);
    Figure f = Shape(tool, {100, 100}, {200, 200}, tBlue, 3);
    f.PointData = &tri;
    DrawFigure(ca, &f, 0, 0, DrawMode::Copy);
    EXPECT_EQ(a.pixel(120, 130), kWhite) << int(tool);
    EXPECT_EQ(a.pixel(150, 150), kBlack) << int(tool);  // the diagonal
  }
}

TEST_F(PaintTest, TextNeverHidesWhatIsBehindExceptUnderItsGlyphs) {
  const Figure black = Shape(ToolKind::Rectangle, {0, 0}, {200, 100}, clBlack);
  const Figure text = Text({10, 10}, "Tamlo たむろ", tRed, clWhite);
  DrawFigure(canvas, &black, 0, 0, DrawMode::Copy);
  DrawFigure(canvas, &text, 0, 0, DrawMode::Copy);
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
  const Figure text = Text({50, 40}, "WWW", clBlack, clWhite);
  DrawFigure(canvas, &text, 0, 0, DrawMode::Copy);
  int minX = 9999, minY = 9999;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (img.pixel(x, y) == kBlack) minX = std::min(minX, x), minY = std::min(minY, y);
  EXPECT_GE(minX, 50);
  EXPECT_LE(minX, 52);
  EXPECT_GE(minY, 40);
  EXPECT_LE(minY, 46);
}

TEST_F(PaintTest, PenWidthZeroDrawsOnePixelWideLines) {
  const Figure line = Shape(ToolKind::Line, {10, 10}, {60, 10}, clWhite, 0);
  DrawFigure(canvas, &line, 0, 0, DrawMode::Copy);
  for (int x = 10; x <= 60; ++x) {
    EXPECT_EQ(img.pixel(x, 10), kBlack) << x;
    EXPECT_EQ(img.pixel(x, 9), kWhite) << x;
    EXPECT_EQ(img.pixel(x, 11), kWhite) << x;
  }
}

TEST_F(PaintTest, FiguresAreShiftedByTheOffset) {
  const Figure rect = Shape(ToolKind::Rectangle, {10, 10}, {20, 20}, clBtnFace);
  DrawFigure(canvas, &rect, 100, 50, DrawMode::Copy);
  EXPECT_EQ(img.pixel(110, 60), kBlack);
  EXPECT_EQ(img.pixel(119, 69), kBlack);
  EXPECT_EQ(img.pixel(10, 10), kWhite);
}

TEST_F(PaintTest, StampDrawsItsContentsRelativeToItsStartNestedToo) {
  // A stamp at (100, 50) holding a line (0, 0)–(10, 0) and a stamp at (5, 5)
  // holding the same line.
  auto inner = std::make_unique<FigureList>();
  inner->AddFig(Shape(ToolKind::Line, {0, 0}, {10, 0}, clWhite, 1));
  auto outer = std::make_unique<FigureList>();
  outer->AddFig(Shape(ToolKind::Line, {0, 0}, {10, 0}, clWhite, 1));
  AddStamp(*outer, {5, 5}, std::move(inner));
  FigureList top;
  FigureItem* stamp = AddStamp(top, {100, 50}, std::move(outer));
  stamp->Data.PenWidth = 40;  // a stamp's own attributes never show
  stamp->Data.PenColor = tRed;
  stamp->Data.BrushColor = tRed;
  stamp->Data.End = {300, 300};

  DrawFigure(canvas, &stamp->Data, 0, 0, DrawMode::Copy);
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
  auto contents = std::make_unique<FigureList>();
  contents->AddFig(Shape(ToolKind::Line, {0, 0}, {10, 0}, clWhite, 1));
  FigureList top;
  FigureItem* stamp = AddStamp(top, {20, 20}, std::move(contents));
  DrawFigure(canvas, &stamp->Data, 0, 0, DrawMode::NotXor);
  DrawFigure(canvas, &stamp->Data, 0, 0, DrawMode::NotXor);  // not-xor would erase it again
  EXPECT_EQ(img.pixel(25, 20), kBlack);
}

TEST_F(PaintTest, DeeplyNestedStampsDrawWithoutExhaustingTheStack) {
  auto list = std::make_unique<FigureList>();
  list->AddFig(Shape(ToolKind::Line, {0, 0}, {10, 0}, clWhite, 1));
  for (int depth = 0; depth < 3000; ++depth) {
    auto outer = std::make_unique<FigureList>();
    AddStamp(*outer, depth == 1500 ? Point{7, 3} : Point{0, 0}, std::move(list));
    list = std::move(outer);
  }
  DrawFigList(canvas, list.get(), 100, 50);
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
  AddStamp(top, {10, 10}, std::make_unique<FigureList>());
  FigureItem* bare = top.AddEmptyFig();
  bare->Data.DrawingTool = ToolKind::Stamp;  // no contents at all
  FigureItem* none = top.AddEmptyFig();
  none->Data.DrawingTool = ToolKind::None;
  none->Data.End = {100, 100};
  FigureItem* points = top.AddEmptyFig();
  points->Data.DrawingTool = ToolKind::Polygon;  // a point figure without its vertices
  DrawFigList(canvas, &top, 0, 0);
  for (FigureItem* i = top.Head->Next; i; i = i->Next) DrawFigure(canvas, &i->Data, 0, 0, DrawMode::Copy);
  EXPECT_EQ(Differences(img, Blank()), 0);
}

TEST_F(PaintTest, SelectionFrameLiesThreePixelsOutsideAndTwiceRestores) {
  const QImage before = img;
  const Figure rect = Shape(ToolKind::Rectangle, {10, 20}, {110, 70}, clWhite);
  DrawSelectionFrame(canvas, rect);
  // Corners (7, 17) and (113, 73): the right and bottom edges are the last
  // pixels inside, columns 112 and rows 72.
  int minX = 9999, maxX = -1, minY = 9999, maxY = -1, dots = 0;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x)
      if (img.pixel(x, y) != kWhite) {
        ASSERT_EQ(img.pixel(x, y), kBlack);
        ASSERT_TRUE(x == 7 || x == 112 || y == 17 || y == 72) << x << "," << y;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        ++dots;
      }
  EXPECT_EQ(minX, 7);
  EXPECT_EQ(maxX, 112);
  EXPECT_EQ(minY, 17);
  EXPECT_EQ(maxY, 72);
  EXPECT_EQ(img.pixel(7, 17), kBlack);
  // Dotted: about every other pixel of the 2 × (106 + 56) − 4 on the outline.
  EXPECT_GT(dots, 140);
  EXPECT_LT(dots, 180);
  EXPECT_EQ(canvas.PenMode, DrawMode::NotXor);
  DrawSelectionFrame(canvas, rect);
  EXPECT_EQ(img, before);
}

TEST_F(PaintTest, SelectionFrameOfAReversedBoxRunsInsideOnThatAxis) {
  const Figure line = Shape(ToolKind::Line, {110, 70}, {10, 20}, clWhite);
  DrawSelectionFrame(canvas, line);  // corners (107, 67) and (13, 23)
  int minX = 9999, maxX = -1, minY = 9999, maxY = -1;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x)
      if (img.pixel(x, y) != kWhite) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_EQ(minX, 13);
  EXPECT_EQ(maxX, 106);
  EXPECT_EQ(minY, 23);
  EXPECT_EQ(maxY, 66);
}

TEST_F(PaintTest, SelectionFrameTwiceRestoresAnyPicture) {
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, (x * y) & 255));
  const QImage before = img;
  const Figure rect = Shape(ToolKind::Ellipse, {-1, 5}, {638, 481}, clWhite);  // partly off the canvas
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

// ---- The canvas refresh ----

class RefreshTest : public ::testing::Test {
 protected:
  AppState S;
  PictureStore P{S};
};

TEST_F(RefreshTest, LaterFiguresCoverEarlierOnesAndReorderingSwapsThem) {
  FigureItem* red = S.DrawingFigs.AddFig(Shape(ToolKind::Rectangle, {10, 10}, {60, 60}, tRed));
  S.DrawingFigs.AddFig(Shape(ToolKind::Rectangle, {40, 40}, {90, 90}, tBlue));
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(50, 50), kBlue);
  ASSERT_EQ(S.DrawingFigs.MoveFigFront(red), 0);
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(50, 50), kRed);
}

TEST_F(RefreshTest, SelectionFrameIsDrawnOnlyForASelectedFigureAndNeverAccumulates) {
  FigureItem* rect = S.DrawingFigs.AddFig(Shape(ToolKind::Rectangle, {10, 20}, {110, 70}, clBtnFace));
  P.PaintBoxPaint();
  const QImage plain = P.WorkBitmap;
  EXPECT_EQ(plain.pixel(7, 17), kWhite);
  S.SelectedFig = rect;
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(7, 17), kBlack);
  const QImage framed = P.WorkBitmap;
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap, framed);
  S.SelectedFig = nullptr;
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap, plain);
}

TEST_F(RefreshTest, TheComposedPictureIsShownWhenSomeoneShowsIt) {
  int shown = 0;
  P.OnShow = [&](const QImage& img) {
    ++shown;
    EXPECT_EQ(img.size(), QSize(kCanvasWidth, kCanvasHeight));
    EXPECT_EQ(img.pixel(20, 20), kRed);
  };
  S.DrawingFigs.AddFig(Shape(ToolKind::Rectangle, {10, 10}, {60, 60}, tRed));
  P.PaintBoxPaint();
  EXPECT_EQ(shown, 1);
}

TEST_F(RefreshTest, SmallBackgroundShowsAtTheTopLeftWithWhiteBeyond) {
  P.BGPicture = QImage(320, 240, QImage::Format_RGB32);
  P.BGPicture.fill(kRed);
  P.WorkBitmap.fill(kBlue);  // anything left from before is overwritten
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(0, 0), kRed);
  EXPECT_EQ(P.WorkBitmap.pixel(319, 239), kRed);
  EXPECT_EQ(P.WorkBitmap.pixel(320, 0), kWhite);
  EXPECT_EQ(P.WorkBitmap.pixel(0, 240), kWhite);
  EXPECT_EQ(P.WorkBitmap.pixel(639, 479), kWhite);
}

TEST_F(RefreshTest, LargeBackgroundShowsItsTopLeftPartPixelForPixel) {
  QImage big(1024, 768, QImage::Format_RGB32);
  for (int y = 0; y < big.height(); ++y)
    for (int x = 0; x < big.width(); ++x) big.setPixel(x, y, qRgb(x & 255, y & 255, (x >> 8) * 60 + (y >> 8)));
  P.BGPicture = big;
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap, big.copy(0, 0, kCanvasWidth, kCanvasHeight));
}

TEST_F(RefreshTest, BlankingTheBackgroundKeepsItsSize) {
  P.BGPicture = QImage(320, 240, QImage::Format_RGB32);
  P.BGPicture.fill(kRed);
  P.BlankBGImage();
  EXPECT_EQ(P.BGPicture.size(), QSize(320, 240));
  EXPECT_EQ(P.BGPicture.pixel(319, 239), kWhite);
  QImage big(800, 600, QImage::Format_RGB32);
  big.fill(kRed);
  P.BGPicture = big;
  P.BlankBGImage();
  EXPECT_EQ(P.BGPicture.pixel(639, 479), kWhite);
  EXPECT_EQ(P.BGPicture.pixel(640, 0), kRed);  // outside (0, 0, 640, 480)
}

TEST_F(RefreshTest, StartsWithAWhiteBackgroundAndCanvas) {
  EXPECT_EQ(P.WorkBitmap.size(), QSize(kCanvasWidth, kCanvasHeight));
  EXPECT_EQ(P.WorkBitmap.format(), QImage::Format_RGB32);
  EXPECT_EQ(P.BGPicture.size(), QSize(kCanvasWidth, kCanvasHeight));
  P.PaintBoxPaint();
  EXPECT_EQ(Differences(P.WorkBitmap, Blank()), 0);
}
