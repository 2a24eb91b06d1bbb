// The canvas layer: pixel conventions, pen and brush state, the not-xor mode.
#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <set>

#include "canvas_pixels.h"
#include "render/canvas.h"

TEST(CanvasColor, PlainColoursAreBlueGreenRedFromHighToLow) {
  EXPECT_EQ(ToQColor(0x0000FF).rgb(), qRgb(255, 0, 0));
  EXPECT_EQ(ToQColor(0x00FF00).rgb(), qRgb(0, 255, 0));
  EXPECT_EQ(ToQColor(0xFF0000).rgb(), qRgb(0, 0, 255));
  EXPECT_EQ(ToQColor(0x123456).rgb(), qRgb(0x56, 0x34, 0x12));
}

TEST(CanvasColor, SystemColoursHaveFixedValues) {
  EXPECT_EQ(ToQColor(clBtnFace).rgb(), qRgb(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(ToQColor(static_cast<ColorRef>(0x80000005u)).rgb(), qRgb(255, 255, 255));  // window
  EXPECT_EQ(ToQColor(static_cast<ColorRef>(0x80000008u)).rgb(), qRgb(0, 0, 0));        // window text
  EXPECT_EQ(ToQColor(static_cast<ColorRef>(0x800000FFu)).rgb(), qRgb(0, 0, 0));        // no such index
}

TEST(CanvasFont, PointsBecomePixelsAtNinetySixDotsPerInch) {
  EXPECT_EQ(PointsToPixels(9), 12);
  EXPECT_EQ(PointsToPixels(12), 16);
  EXPECT_EQ(PointsToPixels(10), 13);  // 13.33 rounds down
  EXPECT_EQ(PointsToPixels(11), 15);  // 14.67 rounds up
  EXPECT_EQ(PointsToPixels(INT_MAX), INT_MAX);  // clamps instead of overflowing
}

TEST(CanvasShapes, WideRectanglesHaveRoundCornersAndSpreadBothWays) {
  QImage img = Blank(30, 30);
  RasterCanvas c(&img);
  c.PenWidth = 5;
  c.BrushStyle = FillStyle::Clear;
  c.Rectangle(5, 5, 25, 20);  // outline through columns 5 and 24, rows 5 and 19
  for (int x = 3; x <= 7; ++x) EXPECT_EQ(img.pixel(x, 12), kBlack) << x;
  for (int x = 22; x <= 26; ++x) EXPECT_EQ(img.pixel(x, 12), kBlack) << x;
  EXPECT_EQ(img.pixel(2, 12), kWhite);
  EXPECT_EQ(img.pixel(27, 12), kWhite);
  EXPECT_EQ(img.pixel(8, 12), kWhite);
  EXPECT_EQ(img.pixel(3, 5), kBlack);
  EXPECT_EQ(img.pixel(3, 3), kWhite);  // rounded off
  EXPECT_EQ(img.pixel(26, 19), kBlack);
  EXPECT_EQ(img.pixel(25, 21), kBlack);
  EXPECT_EQ(img.pixel(26, 21), kWhite);  // rounded off
  EXPECT_EQ(img.pixel(24, 22), kWhite);
}

TEST(CanvasShapes, RectangleExcludesItsRightAndBottomEdge) {
  QImage img = Blank();
  RasterCanvas c(&img);
  c.BrushColor = 0x0000FF;
  c.Rectangle(2, 3, 12, 9);
  EXPECT_EQ(PixelsOf(img, kBlack), RectOutline(2, 3, 11, 8));
  EXPECT_EQ(PixelsOf(img, qRgb(255, 0, 0)).size(), size_t(8 * 4));  // the inside
  EXPECT_EQ(img.pixel(3, 4), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10, 7), qRgb(255, 0, 0));
}

TEST(CanvasShapes, CornersInAnyOrderGiveTheSameShape) {
  QImage a = Blank(), b = Blank(), e1 = Blank(), e2 = Blank();
  RasterCanvas ca(&a), cb(&b), c1(&e1), c2(&e2);
  ca.Rectangle(2, 3, 12, 9);
  cb.Rectangle(12, 9, 2, 3);
  EXPECT_EQ(a, b);
  c1.Ellipse(1, 2, 20, 14);
  c2.Ellipse(20, 2, 1, 14);
  EXPECT_EQ(e1, e2);
}

TEST(CanvasShapes, ClearBrushLeavesTheInsideAsItWas) {
  QImage img = Blank(24, 16, qRgb(0, 128, 0));
  RasterCanvas c(&img);
  c.BrushStyle = FillStyle::Clear;
  c.Rectangle(2, 3, 12, 9);
  EXPECT_EQ(PixelsOf(img, kBlack), RectOutline(2, 3, 11, 8));
  EXPECT_EQ(img.pixel(5, 5), qRgb(0, 128, 0));
}

TEST(CanvasShapes, EllipseTouchesEverySideOfItsBoxAndStaysInside) {
  QImage img = Blank(24, 16);
  RasterCanvas c(&img);
  c.BrushColor = 0x0000FF;
  c.Ellipse(2, 1, 21, 14);  // pixels 2 … 20, 1 … 13
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (auto [x, y] : PixelsOf(img, kBlack)) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  EXPECT_EQ(minX, 2);
  EXPECT_EQ(maxX, 20);
  EXPECT_EQ(minY, 1);
  EXPECT_EQ(maxY, 13);
  EXPECT_EQ(img.pixel(11, 7), qRgb(255, 0, 0));  // filled
  EXPECT_EQ(img.pixel(2, 1), kWhite);            // the box's corners stay
  EXPECT_EQ(img.pixel(20, 13), kWhite);
}

TEST(CanvasShapes, PolygonIsClosedAndFilledPolylineIsOpen) {
  const Point tri[] = {{2, 2}, {20, 2}, {2, 13}};
  QImage poly = Blank(), line = Blank();
  RasterCanvas cp(&poly), cl(&line);
  cp.BrushColor = 0x0000FF;
  cp.Polygon(tri, 3);
  cl.Polyline(tri, 3);
  EXPECT_EQ(poly.pixel(5, 5), qRgb(255, 0, 0));
  EXPECT_EQ(line.pixel(5, 5), kWhite);
  // The closing edge runs from (2, 13) to (2, 2): drawn for the polygon
  // only (the polyline's last segment goes from (20, 2) to (2, 13)).
  EXPECT_EQ(poly.pixel(2, 8), kBlack);
  EXPECT_EQ(line.pixel(2, 8), kWhite);
  EXPECT_EQ(line.pixel(2, 13), kBlack);
}

TEST(CanvasText, TextOutIsTransparentUnderAClearBrushAndMovesThePen) {
  QImage img = Blank(120, 40, qRgb(0, 0, 255));
  RasterCanvas c(&img);
  c.FontSize = 12;
  c.FontColor = 0x0000FF;  // red
  c.BrushStyle = FillStyle::Clear;
  c.TextOut(4, 3, "Aa あ");
  EXPECT_EQ(c.PenPos, (Point{4 + c.TextWidth("Aa あ"), 3}));
  EXPECT_GT(c.TextWidth("Aa あ"), 20);
  // Only two colours: the background and the glyphs, no smoothing.
  const auto blue = PixelsOf(img, qRgb(0, 0, 255)).size(), red = PixelsOf(img, qRgb(255, 0, 0)).size();
  EXPECT_GT(red, 20u);
  EXPECT_EQ(blue + red, size_t(120 * 40));
  // Nothing above the text's top-left corner.
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 3; ++y) ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 255));
}

TEST(CanvasText, TextOutOnASolidBrushFillsTheTextCell) {
  QImage img = Blank(120, 40, qRgb(0, 0, 255));
  RasterCanvas c(&img);
  c.FontSize = 12;
  c.BrushColor = clWhite;
  c.TextOut(4, 3, "Ab");
  const int w = c.TextWidth("Ab"), h = c.TextHeight("Ab");
  EXPECT_EQ(img.pixel(4, 3), kWhite);
  EXPECT_EQ(img.pixel(4 + w - 1, 3 + h - 1), kWhite);
  EXPECT_EQ(img.pixel(4 + w, 3), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(3, 3), qRgb(0, 0, 255));
}

TEST(CanvasText, LargerFontsAreWider) {
  QImage img = Blank();
  RasterCanvas c(&img);
  c.FontSize = 9;
  const int small = c.TextWidth("abc");
  c.FontSize = 36;
  EXPECT_GT(c.TextWidth("abc"), 3 * small);
  EXPECT_EQ(c.TextWidth(""), 0);
}

TEST(CanvasNotXor, OneDrawInvertsAgainstThePenColour) {
  QImage img = Blank(24, 16, qRgb(0x12, 0x34, 0x56));
  RasterCanvas c(&img);
  c.PenMode = DrawMode::NotXor;
  c.PenColor = 0x0000FF;  // red
  c.Line({2, 5}, {12, 5});
  // NOT(dest XOR red) = NOT(0xED3456) = 0x12CBA9.
  EXPECT_EQ(img.pixel(5, 5), qRgb(0x12, 0xCB, 0xA9));
  EXPECT_EQ(img.pixel(5, 6), qRgb(0x12, 0x34, 0x56));
}

TEST(CanvasNotXor, WhiteFillLeavesTheDestinationUnchanged) {
  const QImage before = Noise();
  QImage img = before;
  RasterCanvas c(&img);
  c.PenMode = DrawMode::NotXor;
  c.PenColor = clWhite;
  c.BrushColor = clWhite;
  c.PenWidth = 5;
  c.Rectangle(3, 3, 30, 25);
  c.Ellipse(0, 0, 40, 30);
  EXPECT_EQ(img, before);
}

TEST(CanvasNotXor, DrawingEveryPrimitiveTwiceRestoresEveryPixel) {
  const QImage before = Noise();
  const Point zigzag[] = {{1, 1}, {38, 28}, {38, 1}, {1, 28}, {20, 0}, {20, 29}};  // crosses itself
  struct Case {
    const char* name;
    LineStyle style;
    int width;
    FillStyle brush;
    ColorRef brushColor;
  };
  const Case cases[] = {
      {"dotted frame", LineStyle::Dot, 1, FillStyle::Solid, clWhite},  {"thin solid", LineStyle::Solid, 1, FillStyle::Solid, 0x00FF00},
      {"wide solid", LineStyle::Solid, 4, FillStyle::Solid, clWhite},  {"wide odd, coloured brush", LineStyle::Solid, 7, FillStyle::Solid, 0x0080FF},
      {"clear brush", LineStyle::Solid, 3, FillStyle::Clear, clWhite}, {"width zero dotted", LineStyle::Dot, 0, FillStyle::Solid, clWhite},
  };
  for (const Case& k : cases) {
    QImage img = before;
    RasterCanvas c(&img);
    c.PenMode = DrawMode::NotXor;
    c.PenStyle = k.style;
    c.PenWidth = k.width;
    c.BrushStyle = k.brush;
    c.BrushColor = k.brushColor;
    c.PenColor = 0x3050F0;
    c.FontSize = 14;
    c.FontColor = 0x00C000;
    auto drawAll = [&] {
      c.Rectangle(3, 4, 30, 22);
      c.Rectangle(25, 20, 10, 2);
      c.Ellipse(5, 5, 36, 27);
      c.Line({0, 0}, {39, 29});
      c.Polyline(zigzag, 6);
      c.Polygon(zigzag, 6);
      c.TextOut(2, 8, "Xyあ");
      c.Rectangle(-5, -5, 60, 50);  // partly off the image
    };
    drawAll();
    EXPECT_NE(img, before) << k.name;
    drawAll();
    EXPECT_EQ(img, before) << k.name;
  }
}

TEST(CanvasFill, FillRectUsesTheBrushWhateverThePenMode) {
  QImage img = Blank(24, 16, qRgb(9, 9, 9));
  RasterCanvas c(&img);
  c.PenMode = DrawMode::NotXor;
  c.BrushColor = 0x0000FF;
  c.FillRect(QRect(2, 2, 5, 4));
  EXPECT_EQ(PixelsOf(img, qRgb(255, 0, 0)).size(), 20u);
  EXPECT_EQ(img.pixel(6, 5), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(7, 5), qRgb(9, 9, 9));
  c.BrushStyle = FillStyle::Clear;
  c.BrushColor = clWhite;
  c.FillRect(QRect(0, 0, 24, 16));
  EXPECT_EQ(PixelsOf(img, kWhite).size(), 0u);
}

TEST(CanvasStretch, StretchDrawScalesWithoutSmoothing) {
  QImage src(2, 2, QImage::Format_RGB32);
  src.setPixel(0, 0, qRgb(255, 0, 0));
  src.setPixel(1, 0, qRgb(0, 255, 0));
  src.setPixel(0, 1, qRgb(0, 0, 255));
  src.setPixel(1, 1, qRgb(0, 0, 0));
  QImage img = Blank(8, 8);
  RasterCanvas c(&img);
  c.StretchDraw(QRect(2, 2, 4, 4), src, QRect(0, 0, 2, 2));
  EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(3, 3), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(4, 2), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(2, 5), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(1, 1), kWhite);
  EXPECT_EQ(img.pixel(6, 6), kWhite);
}

TEST(CanvasHostile, HugeCoordinatesWidthsAndSizesDrawWithoutHarm) {
  QImage img = Blank(64, 48);
  RasterCanvas c(&img);
  c.PenWidth = INT_MAX;
  c.Line({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX});
  c.PenWidth = 1;
  c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  c.Rectangle(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  Point far[MaxPoints];
  for (int i = 0; i < MaxPoints; ++i) far[i] = Point{i % 2 ? INT_MAX : INT_MIN, (i * 7919) % 3 ? INT_MIN : INT_MAX};
  c.Polygon(far, MaxPoints);
  c.Polyline(far, MaxPoints);
  c.FontSize = INT_MAX;
  c.TextOut(INT_MAX, INT_MAX, "big");
  c.FontSize = INT_MIN;
  c.TextOut(2, 2, "small");
  c.PenMode = DrawMode::NotXor;
  c.PenWidth = INT_MAX;
  c.Line({INT_MIN, 0}, {INT_MAX, 0});
  c.Polyline(nullptr, 5);
  c.Polygon(far, 0);
  SUCCEED();
}

TEST(CanvasHostile, ACanvasWithoutAnImageDrawsNothing) {
  RasterCanvas c(nullptr);
  c.Rectangle(0, 0, 10, 10);
  c.TextOut(0, 0, "x");
  c.FillRect(QRect(0, 0, 5, 5));
  EXPECT_EQ(c.Image(), nullptr);
}
