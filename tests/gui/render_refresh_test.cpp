// Composing the canvas: figures in their order over the background, the
// selection frame, and the composed picture shown.
#include <gtest/gtest.h>

#include <QImage>

#include "io/picture_store.h"
#include "paint_pixels.h"
#include "render/paint.h"
#include "history/actions.h"
#include "support/builders.h"

namespace {

class RefreshTest : public ::testing::Test {
 protected:
  AppState S;
  PictureStore P{S};
};

TEST_F(RefreshTest, LaterFiguresCoverEarlierOnesAndReorderingSwapsThem) {
  Figure* red = CreateFigure(S, styled(rect({10, 10}, {60, 60}), 1, clBlack, tRed));
  CreateFigure(S, styled(rect({40, 40}, {90, 90}), 1, clBlack, tBlue));
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(50, 50), kBlue);
  S.SelectedFig = red;
  ASSERT_TRUE(MoveSelectedFront(S));
  S.SelectedFig = nullptr;
  P.PaintBoxPaint();
  EXPECT_EQ(P.WorkBitmap.pixel(50, 50), kRed);
}

TEST_F(RefreshTest, SelectionFrameIsDrawnOnlyForASelectedFigureAndNeverAccumulates) {
  Figure* rect = CreateFigure(S, styled(shape(ToolKind::Rectangle, {10, 20}, {110, 70}), 1, clBlack));
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
  CreateFigure(S, styled(rect({10, 10}, {60, 60}), 1, clBlack, tRed));
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

}  // namespace
