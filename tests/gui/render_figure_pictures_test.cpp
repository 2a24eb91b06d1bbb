// Figures drawn through their kept pictures against the same figures drawn
// directly, pixel for pixel: every kind, wide and even pens, no-fill brushes
// over a patterned background, texts, nested stamps, shifted to many places
// (negative ones and places partly off the canvas included).
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "io/picture_store.h"
#include "render/figure_pictures.h"
#include "render/paint.h"
#include "support/drawing_door.h"
#include "support/random_figure.h"

namespace {

const ColorRef kColours[] = {clBlack, clWhite, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0x808080, clBtnFace};

QImage Patterned() {
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x ^ y) % 256));
  return img;
}

// Empty when equal, else the first differing pixel.
std::string Difference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.pixel(x, y)) +
               " instead of " + std::to_string(b.pixel(x, y));
  return {};
}

// Random figures in rough shapes: no pen one time in five, boxes drawn
// backwards, single vertices, stamps of one to four figures nested twice.
const RandomFigureStyle kRough = [] {
  RandomFigureStyle style;
  style.NoPenOneIn = 5;
  style.PenWidths = 12, style.PenWidthStep = 1;
  style.TextSizeMin = 8, style.TextSizes = 30;
  style.Corner = {40, 40}, style.Across = 400, style.Down = 300;
  style.Least = {-20, -20}, style.Wider = 140, style.Taller = 110;
  style.Texts[0] = "おえかき たのしい", style.Texts[1] = "Ab 12 xyz";
  style.FreeLineMin = 1, style.FreeLineCounts = 50;
  style.PointsMin = 1, style.PointCounts = 8;
  style.Stride = 15;
  style.PartsMin = 1, style.Parts = 4, style.PartReach = 50;
  return style;
}();

// A random rough figure of `tool` appended to `list`.
Figure* AddRandomFigure(FigureList& list, std::mt19937& rng, ToolKind tool) {
  Vertex pts;
  return &*list.Add(RandomFigure(rng, tool, pts, kRough));
}

std::vector<int32_t> KeyOf(const Figure& fig) {
  std::vector<int32_t> key;
  AppendFigureKey(key, fig);
  return key;
}

// Draws `fig` directly and through `pictures` onto two copies of
// `background`: the pixels and the boxes reported must agree.
void ExpectSameAsDirect(FigurePictureCache& pictures, const Figure& fig, const QImage& background,
                        const std::string& where) {
  QImage direct = background, cached = background;
  RasterCanvas directCanvas(&direct), cachedCanvas(&cached);
  QRect directBox, cachedBox;
  directCanvas.TrackExtent = &directBox;
  cachedCanvas.TrackExtent = &cachedBox;
  DrawFigure(directCanvas, &fig, 0, 0, DrawMode::Copy);
  const std::vector<int32_t> key = KeyOf(fig);
  pictures.Draw(cachedCanvas, fig, key.data(), key.size());
  EXPECT_EQ(Difference(cached, direct), "") << where;
  EXPECT_EQ(cachedBox, directBox) << where;
  // Measuring alone reports the same box and draws nothing.
  QImage untouched = background;
  RasterCanvas measure(&untouched);
  QRect measured;
  measure.TrackExtent = &measured;
  measure.MeasureOnly = true;
  pictures.Draw(measure, fig, key.data(), key.size());
  EXPECT_EQ(measured, directBox) << where;
  EXPECT_TRUE(untouched == background) << where;
}

// Every kind moved about the canvas, over and beyond its edges: each draw
// through the pictures (first drawn, picture made, shifted copy, picture of
// a cut-off place) equals the direct drawing.
TEST(FigurePictures, ShiftedPicturesDrawExactlyAsDirectDrawing) {
  const QImage background = Patterned();
  const Point moves[] = {{0, 0},    {0, 0},      {37, -11},   {-29, 40},  {250, 130}, {-5, 3},
                          {-400, 0}, {900, -700}, {-1300, 600}, {380, 120}, {1, 1},     {-3000, -3000}};
  std::mt19937 rng(17);
  FigurePictureCache pictures;
  FigureList figs;
  for (int i = 0; i < 160; ++i) {
    Figure* item = AddRandomFigure(figs, rng, kEveryKind[i % 8]);
    int step = 0;
    for (const Point& move : moves) {
      item->Offset(move.X, move.Y);
      ExpectSameAsDirect(pictures, *item, background,
                         "figure " + std::to_string(i) + " kind " + std::to_string(static_cast<int>(item->DrawingTool)) +
                             " move " + std::to_string(step++));
      if (HasFailure()) return;
    }
  }
  // The pictures did serve: far more copies than pictures made.
  EXPECT_GT(pictures.Hits, pictures.Made * 2);
}

// A figure of the same content elsewhere shares the picture; any change to
// the content, down inside a nested stamp, gets a picture of its own.
TEST(FigurePictures, SameContentSharesAPictureAndEveryChangeMakesANewOne) {
  const QImage background = Patterned();
  FigureList figs;
  Figure text;
  text.DrawingTool = ToolKind::Text;
  text.Text = "あいう";
  text.TextSize = 20;
  text.TextColor = 0x0000FF;
  text.BrushColor = clBtnFace;
  Figure nestedStamp;
  nestedStamp.DrawingTool = ToolKind::Stamp;
  nestedStamp.Start = {10, 12};
  nestedStamp.StampData = {text};
  Figure box;
  box.DrawingTool = ToolKind::Ellipse;
  box.Start = {0, 0};
  box.End = {60, 40};
  box.PenWidth = 3;
  box.BrushColor = 0x00FF00;
  Figure* stamp = &figs.AddEmpty();
  stamp->DrawingTool = ToolKind::Stamp;
  stamp->Start = {100, 100};
  stamp->StampData = {nestedStamp, box};
  Figure& nested = stamp->StampData[0];
  Figure& textFig = nested.StampData[0];
  Figure& boxFig = stamp->StampData[1];

  FigurePictureCache pictures;
  for (int i = 0; i < 3; ++i) ExpectSameAsDirect(pictures, *stamp, background, "first place");
  EXPECT_EQ(pictures.Count(), 1u);
  EXPECT_EQ(pictures.Made, 1u);
  stamp->Offset(200, 150);
  ExpectSameAsDirect(pictures, *stamp, background, "moved");
  EXPECT_EQ(pictures.Count(), 1u);
  EXPECT_EQ(pictures.Made, 1u);

  const uint64_t made = pictures.Made;
  auto changed = [&](const char* what) {
    ExpectSameAsDirect(pictures, *stamp, background, std::string(what) + " first");
    ExpectSameAsDirect(pictures, *stamp, background, std::string(what) + " again");
  };
  textFig.Text = "あいえ";
  changed("inner text");
  textFig.TextColor = 0xFF0000;
  changed("inner text colour");
  textFig.TextSize = 22;
  changed("inner text size");
  nested.Start.X += 1;
  changed("nested stamp place");
  boxFig.BrushColor = clBtnFace;
  changed("no fill");
  boxFig.PenWidth = 4;
  changed("pen width");
  boxFig.End.X -= 1;
  changed("inner size");
  EXPECT_EQ(pictures.Made, made + 7);
}

// The kept pictures never take more than the budget; the least recently used
// go, and drawing stays exact.
TEST(FigurePictures, KeptPicturesStayWithinTheBudget) {
  const QImage background = Patterned();
  std::mt19937 rng(5);
  FigurePictureCache pictures(48 * 1024);
  FigureList figs;
  for (int i = 0; i < 120; ++i) AddRandomFigure(figs, rng, kEveryKind[i % 8]);
  size_t most = 0;
  for (int round = 0; round < 3; ++round)
    for (const Figure& f : figs) {
      ExpectSameAsDirect(pictures, f, background, "round " + std::to_string(round));
      EXPECT_LE(pictures.Bytes(), pictures.Budget);
      most = std::max(most, pictures.Count());
      if (HasFailure()) return;
    }
  EXPECT_GT(most, 1u);
  EXPECT_LT(pictures.Count(), 120u);
  pictures.Clear();
  EXPECT_EQ(pictures.Count(), 0u);
  EXPECT_EQ(pictures.Bytes(), 0u);
}

// The composed canvas with pictures equals the one drawn directly, while
// figures move about, change and are reordered, in full and partial
// repaints, under a background picture and with a selection frame.
TEST(FigurePictures, ComposedCanvasEqualsDirectDrawing) {
  for (bool incremental : {false, true}) {
    SCOPED_TRACE(incremental ? "partial repaints" : "full repaints");
    AppState S;
    PictureStore cached(S), direct(S);
    cached.Incremental = incremental;
    direct.Incremental = false;
    direct.FigurePictures.Enabled = false;
    cached.BGPicture = direct.BGPicture = Patterned();
    std::mt19937 rng(incremental ? 3 : 4);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::vector<Figure*> items;
    for (int i = 0; i < 80; ++i) items.push_back(AddRandomFigure(Writable(S).Figures, rng, kEveryKind[i % 8]));
    for (int round = 0; round < 60; ++round) {
      for (int k = 0; k < 4; ++k) {
        Figure* item = items[size_t(pick(int(items.size())))];
        switch (pick(5)) {
          case 0: item->Offset(pick(41) - 20, pick(41) - 20); break;
          case 1: item->Offset(pick(2) ? 700 : -700, 0); break;  // off the canvas and back
          case 2: item->PenColor = kColours[pick(7)]; break;
          case 3: Writable(S).Figures.MoveFront(item); break;
          default: Writable(S).Figures.MoveBack(item); break;
        }
      }
      S.SelectedFig = pick(3) == 0 ? items[size_t(pick(int(items.size())))] : nullptr;
      cached.PaintBoxPaint();
      direct.PaintBoxPaint();
      ASSERT_EQ(Difference(cached.WorkBitmap, direct.WorkBitmap), "") << "round " << round;
    }
    EXPECT_GT(cached.FigurePictures.Hits, 0u);
    EXPECT_EQ(direct.FigurePictures.Count(), 0u);
  }
}

}  // namespace
