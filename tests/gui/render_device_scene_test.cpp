// The drawing composed at a screen's resolution with kept layers: after any
// series of changes the picture is the one a whole composition gives (up to
// the rounding of laying a transparent layer over), and dragging one figure
// draws only that figure once the layers are placed around it.
#include <gtest/gtest.h>

#include <QPainter>
#include <random>
#include <vector>

#include "render/device_scene.h"
#include "render/paint.h"
#include "render/vector_canvas.h"
#include "render/vector_paint.h"

namespace {

const QSize kSize(1280, 960);

Figure MakeFigure(std::mt19937& rng, int i) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  static const ToolKind kinds[] = {ToolKind::Rectangle, ToolKind::Ellipse, ToolKind::Line, ToolKind::Polygon,
                                   ToolKind::Text};
  static const ColorRef colours[] = {clBlack, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, clWhite, clBtnFace};
  Figure f;
  f.DrawingTool = kinds[i % 5];
  f.PenWidth = 1 + pick(9);
  f.PenColor = colours[pick(5)];
  f.BrushColor = colours[pick(7)];
  f.TextSize = 12;
  f.TextColor = colours[pick(5)];
  f.Text = "えのぐ 12";
  f.Start = {pick(560), pick(400)};
  f.End = {f.Start.X + 10 + pick(120), f.Start.Y + 10 + pick(100)};
  if (f.DrawingTool == ToolKind::Polygon) {
    for (int k = 0; k < 5; ++k) f.PointData.AddPoint(f.Start.X + pick(100), f.Start.Y + pick(80));
    f.SetBoundsFromPoints();
  }
  return f;
}

std::vector<const Figure*> Pointers(const std::vector<Figure>& figs) {
  std::vector<const Figure*> out;
  for (const Figure& f : figs) out.push_back(&f);
  return out;
}

// The largest difference of any colour channel of any pixel.
int MaxDifference(const QImage& a, const QImage& b) {
  EXPECT_EQ(a.size(), b.size());
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

QImage Whole(const QImage& background, const std::vector<Figure>& figs, const Figure* frame) {
  DeviceScene fresh;
  return fresh.Compose(kSize, 1.0, background, Pointers(figs), frame);
}

TEST(DeviceScene, AWholeCompositionIsTheDrawingRenderedAtThatSize) {
  std::mt19937 rng(7);
  std::vector<Figure> figs;
  for (int i = 0; i < 30; ++i) figs.push_back(MakeFigure(rng, i));
  FigureList list;
  for (const Figure& f : figs) list.Add(f);
  QImage bg(200, 100, QImage::Format_RGB32);
  bg.fill(QColor(200, 220, 255));
  DeviceScene scene;
  const QImage shown = scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr);
  EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), RenderScaled(bg, list, 2));
}

TEST(DeviceScene, AfterAnySeriesOfChangesThePictureIsTheWholeComposition) {
  std::mt19937 rng(4711);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::vector<Figure> figs;
  for (int i = 0; i < 40; ++i) figs.push_back(MakeFigure(rng, i));
  QImage bg(640, 480, QImage::Format_RGB32);
  bg.fill(QColor(255, 250, 230));
  DeviceScene scene;
  Figure frame;
  int next = 100;
  for (int round = 0; round < 40; ++round) {
    const int op = pick(7);
    const size_t k = size_t(pick(int(figs.size())));
    std::string what;
    switch (op) {
      case 0:
      case 1:  // moved, a few times in a row as a drag does
        for (int i = 0; i < 3; ++i) {
          figs[k].Offset(pick(21) - 10, pick(21) - 10);
          const QImage shown = scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr);
          ASSERT_LE(MaxDifference(shown, Whole(bg, figs, nullptr)), 3) << "round " << round << " move " << i;
        }
        continue;
      case 2:
        figs[k].PenColor = figs[k].PenColor == clBlack ? 0x0000FF : clBlack;
        what = "recoloured";
        break;
      case 3:
        figs.erase(figs.begin() + long(k));
        what = "deleted";
        break;
      case 4:
        figs.push_back(MakeFigure(rng, next++));
        what = "added";
        break;
      case 5: {
        Figure f = figs[k];
        figs.erase(figs.begin() + long(k));
        figs.push_back(f);
        what = "to the front";
        break;
      }
      default:
        frame = figs[k];
        what = "framed";
        break;
    }
    const Figure* framed = op == 6 ? &frame : nullptr;
    const QImage shown = scene.Compose(kSize, 1.0, bg, Pointers(figs), framed);
    ASSERT_LE(MaxDifference(shown, Whole(bg, figs, framed)), 3) << "round " << round << ": " << what;
  }
  // A new background, and a new size, compose everything again.
  bg.fill(QColor(10, 20, 30));
  EXPECT_EQ(MaxDifference(scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr), Whole(bg, figs, nullptr)), 0);
  const QImage larger = scene.Compose(QSize(1920, 1440), 1.0, bg, Pointers(figs), nullptr);
  EXPECT_EQ(larger.size(), QSize(1920, 1440));
}

TEST(DeviceScene, DraggingOneFigureComposesTheWholePictureOnlyOnce) {
  std::mt19937 rng(99);
  std::vector<Figure> figs;
  for (int i = 0; i < 50; ++i) figs.push_back(MakeFigure(rng, i));
  const QImage bg;
  DeviceScene scene;
  scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr);
  EXPECT_EQ(scene.WholeCompositions, 1u);
  for (size_t k : {size_t(49), size_t(20), size_t(0)}) {
    const uint64_t before = scene.WholeCompositions;
    for (int i = 0; i < 10; ++i) {
      figs[k].Offset(3, 2);
      scene.Compose(kSize, 1.0, bg, Pointers(figs), &figs[k]);
    }
    EXPECT_LE(scene.WholeCompositions - before, 1u) << "figure " << k;
  }
  // Figures added on top one after another are drawn onto the kept layer.
  const uint64_t before = scene.WholeCompositions;
  figs.reserve(figs.size() + 40);
  for (int i = 0; i < 40; ++i) {
    figs.push_back(MakeFigure(rng, 200 + i));
    scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr);
  }
  EXPECT_LE(scene.WholeCompositions - before, 1u);
  EXPECT_LE(MaxDifference(scene.Compose(kSize, 1.0, bg, Pointers(figs), nullptr), Whole(bg, figs, nullptr)), 3);
}

TEST(DeviceScene, AFrameDrawnAgainOverTheSamePlaceRemovesIt) {
  std::mt19937 rng(3);
  std::vector<Figure> figs;
  for (int i = 0; i < 10; ++i) figs.push_back(MakeFigure(rng, i));
  DeviceScene scene;
  const QImage plain = scene.Compose(kSize, 1.0, QImage(), Pointers(figs), nullptr).copy();
  QImage framed = scene.Compose(kSize, 1.0, QImage(), Pointers(figs), &figs[3]).copy();
  EXPECT_NE(framed, plain);
  // The not-xor frame drawn once more by the vector canvas, as the screen's
  // mirror draws it, gives back the plain picture exactly.
  QPainter p(&framed);
  p.scale(2, 2);
  VectorCanvas canvas(&p);
  DrawSelectionFrame(canvas, figs[3]);
  p.end();
  EXPECT_EQ(framed, plain);
}

}  // namespace
