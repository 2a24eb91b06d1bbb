// The canvas's lines: the pixels they cover, their widths, ends and joins,
// the pen position and the dotted pen.
#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <set>

#include "canvas_pixels.h"
#include "render/canvas.h"

TEST(CanvasLine, OnePixelLineCoversBothEndPointsAndNothingElse) {
  QImage img = Blank();
  RasterCanvas c(&img);
  c.Line({2, 5}, {12, 5});
  std::set<std::pair<int, int>> want;
  for (int x = 2; x <= 12; ++x) want.insert({x, 5});
  EXPECT_EQ(PixelsOf(img, kBlack), want);
}

TEST(CanvasLine, PenWidthZeroOrLessDrawsLikeOnePixel) {
  QImage one = Blank(), zero = Blank(), negative = Blank();
  RasterCanvas c1(&one), c0(&zero), cn(&negative);
  c1.PenWidth = 1;
  c0.PenWidth = 0;
  cn.PenWidth = -7;
  const Point pts[] = {{1, 1}, {20, 9}, {4, 14}};
  c1.Polyline(pts, 3);
  c0.Polyline(pts, 3);
  cn.Polyline(pts, 3);
  EXPECT_EQ(one, zero);
  EXPECT_EQ(one, negative);
  EXPECT_FALSE(PixelsOf(one, kBlack).empty());
}

TEST(CanvasLine, OddWidthsSpreadEvenlyAroundTheLine) {
  QImage img = Blank();
  RasterCanvas c(&img);
  c.PenWidth = 3;
  c.Line({6, 7}, {16, 7});
  // Rows 6, 7 and 8 along the middle; nothing on rows 5 and 9.
  for (int x = 6; x <= 16; ++x) {
    EXPECT_EQ(img.pixel(x, 6), kBlack) << x;
    EXPECT_EQ(img.pixel(x, 7), kBlack) << x;
    EXPECT_EQ(img.pixel(x, 8), kBlack) << x;
  }
  for (int x = 0; x < img.width(); ++x) {
    EXPECT_EQ(img.pixel(x, 5), kWhite) << x;
    EXPECT_EQ(img.pixel(x, 9), kWhite) << x;
  }
  // Round ends reach one pixel beyond each end point, symmetrically.
  EXPECT_EQ(img.pixel(5, 7), kBlack);
  EXPECT_EQ(img.pixel(17, 7), kBlack);
  EXPECT_EQ(img.pixel(4, 7), kWhite);
  EXPECT_EQ(img.pixel(18, 7), kWhite);
}

TEST(CanvasLine, EvenWidthsCoverExactlyThatManyRowsAndColumns) {
  QImage img = Blank(30, 30);
  RasterCanvas c(&img);
  c.PenWidth = 4;
  c.Line({5, 7}, {25, 7});
  c.Line({15, 12}, {15, 28});
  for (int y = 0; y < 12; ++y) EXPECT_EQ(img.pixel(10, y), y >= 5 && y <= 8 ? kBlack : kWhite) << y;
  for (int x = 0; x < 30; ++x) EXPECT_EQ(img.pixel(x, 20), x >= 13 && x <= 16 ? kBlack : kWhite) << x;
}

TEST(CanvasLine, WidePolylinesJoinRoundAndCoverEveryVertex) {
  QImage img = Blank(40, 40);
  RasterCanvas c(&img);
  c.PenWidth = 5;
  const Point corner[] = {{5, 30}, {20, 10}, {35, 30}};
  c.Polyline(corner, 3);
  // Around the joint every pixel within 2.5 of the vertex is covered.
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx)
      EXPECT_EQ(img.pixel(20 + dx, 10 + dy), dx * dx + dy * dy <= 6 ? kBlack : img.pixel(20 + dx, 10 + dy));
  EXPECT_EQ(img.pixel(20, 7), kWhite);  // no mitre above the joint
  EXPECT_EQ(img.pixel(20, 20), kWhite);
}

TEST(CanvasLine, ZeroLengthLineLeavesADotOfThePenWidth) {
  QImage thin = Blank(), wide = Blank();
  RasterCanvas ct(&thin), cw(&wide);
  ct.Line({5, 5}, {5, 5});
  EXPECT_EQ(PixelsOf(thin, kBlack), (std::set<std::pair<int, int>>{{5, 5}}));
  cw.PenWidth = 5;
  cw.Line({10, 8}, {10, 8});
  EXPECT_EQ(wide.pixel(10, 8), kBlack);
  EXPECT_EQ(wide.pixel(8, 8), kBlack);
  EXPECT_EQ(wide.pixel(12, 8), kBlack);
  EXPECT_EQ(wide.pixel(10, 6), kBlack);
  EXPECT_EQ(wide.pixel(10, 10), kBlack);
  EXPECT_EQ(wide.pixel(10, 11), kWhite);
  EXPECT_EQ(wide.pixel(8, 6), kWhite);  // round, not square
}

TEST(CanvasLine, LineToMovesThePenPosition) {
  QImage img = Blank();
  RasterCanvas c(&img);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);
  c.LineTo(5, 6);
  EXPECT_EQ(c.PenPos, (Point{5, 6}));
  EXPECT_EQ(img.pixel(1, 1), kBlack);
  EXPECT_EQ(img.pixel(5, 1), kBlack);
  EXPECT_EQ(img.pixel(5, 6), kBlack);
  EXPECT_EQ(img.pixel(1, 2), kWhite);
}

TEST(CanvasLine, DottedOnePixelPenSkipsEveryOtherPixelAndWidePensStaySolid) {
  QImage dotted = Blank(), wide = Blank();
  RasterCanvas cd(&dotted), cw(&wide);
  cd.PenStyle = LineStyle::Dot;
  cd.Line({0, 3}, {19, 3});
  for (int x = 0; x < 20; ++x) EXPECT_EQ(dotted.pixel(x, 3), x % 2 == 0 ? kBlack : kWhite) << x;
  cw.PenStyle = LineStyle::Dot;
  cw.PenWidth = 3;
  cw.Line({2, 8}, {18, 8});
  for (int x = 2; x <= 18; ++x) EXPECT_EQ(wide.pixel(x, 8), kBlack) << x;
}
