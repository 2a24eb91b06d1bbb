// The canvas recomposed in part (only what changed since the last
// composition) against a full recomposition, and the whole-process export
// with it against the export that recomposes every step in full: random
// histories made with the recorders, every picture and the drawing state
// compared byte for byte.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <iterator>
#include <memory>
#include <random>

#include "history/actions.h"
#include "history/play.h"
#include "history/savehistory.h"
#include "io/exports.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "io/replay_walker.h"
#include "render/paint.h"
#include "support/builders.h"
#include "support/drawing_door.h"
#include "support/random_figure.h"

namespace {

// Figures as the histories draw them: no pen one time in four, many partly
// off the canvas, stamps of up to three figures nested twice.
const RandomFigureStyle kPainting = [] {
  RandomFigureStyle style;
  style.NoPenOneIn = 4;
  style.PenWidths = 9, style.PenWidthStep = 1;
  style.TextSizeMin = 8, style.TextSizes = 30;
  style.Corner = {-30, -30}, style.Across = 700, style.Down = 540;
  style.Least = {0, 0}, style.Wider = 150, style.Taller = 120;
  style.Texts[0] = "おえかき", style.Texts[1] = "Ab 12";
  style.FreeLineMin = 1, style.FreeLineCounts = 40;
  style.PointsMin = 1, style.PointCounts = 8;
  style.Stride = 15;
  style.PartsMin = 0, style.Parts = 4, style.PartReach = 40;
  return style;
}();

struct BenchDrawing {
  AppState S;
  PictureStore Pictures{S};
  BenchDrawing() { S.Pictures = &Pictures; }
};

// Two background pictures in `dir`: a full-size JPEG and a smaller BMP.
std::vector<std::string> MakeBackgrounds(const QTemporaryDir& dir) {
  std::vector<std::string> names;
  QImage big(640, 480, QImage::Format_RGB32), small(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) big.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  small.fill(qRgb(200, 220, 90));
  names.push_back(dir.filePath("big.jpg").toStdString());
  names.push_back(dir.filePath("small.bmp").toStdString());
  EXPECT_TRUE(WriteJPEG(names[0], big).Ok);
  EXPECT_TRUE(WriteBMP32(names[1], small).Ok);
  return names;
}

// A history of `records` records made as the window makes them: figures of
// every kind (stamps nested, texts, figures partly off the canvas), moves,
// changes of every parameter, front and back, deletes with undo, cleared
// drawings and backgrounds, background pictures, and branches back to
// earlier steps.
void MakeHistory(AppState& S, uint32_t seed, int32_t records, const std::vector<std::string>& backgrounds) {
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const ColorRef colours[] = {clBlack, clWhite, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0x808080, clBtnFace};
  std::vector<Figure*> figs;
  auto refresh = [&] {
    figs.clear();
    for (Figure& f : Writable(S).Figures) figs.push_back(&f);
  };
  while (S.History().Count() < records) {
    // A selection lasts for one edit: clearing and branching free figures.
    S.SelectedFig = nullptr;
    const int what = pick(100);
    if (figs.empty() || what < 40) {
      Vertex pts;
      const Figure f = RandomFigure(rng, kEveryKind[pick(8)], pts, kPainting);
      if (pick(5) == 0 && !figs.empty()) {
        S.SelectedFig = figs[pick(int(figs.size()))];
        figs.push_back(DuplicateSelected(S));
      } else {
        figs.push_back(CreateFigure(S, f));
      }
      continue;
    }
    if (what < 43) {
      SetBackground(S, backgrounds[pick(int(backgrounds.size()))]);
      continue;
    }
    if (what == 43) {
      ClearDrawing(S, pick(2) ? ActionKind::ClearBG : ActionKind::ClearAll);
      if (S.History().Last().TargetType == ActionKind::ClearAll) figs.clear();
      continue;
    }
    if (what == 44) {
      ClearDrawing(S, ActionKind::ClearDrawing);
      figs.clear();
      continue;
    }
    if (what == 45 && S.History().Count() > 4) {
      BranchTo(S, 1 + pick(S.History().Count() - 1));
      GoToStep(S);
      refresh();
      continue;
    }
    const size_t i = pick(int(figs.size()));
    Figure& f = *(S.SelectedFig = figs[i]);
    const int op = pick(12);
    Figure c = f;
    if (op < 3) {
      f.Offset(pick(61) - 30, pick(61) - 30);
      RecordMoveOfSelected(S);
    } else if (op == 3) {
      c.PenWidth = pick(10);
      ChangeSelected(S, ParameterKind::LineWidth, c);
    } else if (op == 4) {
      c.PenColor = colours[pick(7)];
      ChangeSelected(S, ParameterKind::LineColor, c);
    } else if (op == 5) {
      c.BrushColor = colours[pick(8)];
      ChangeSelected(S, ParameterKind::BodyColor, c);
    } else if (op == 6) {
      c.TextColor = colours[pick(7)];
      ChangeSelected(S, ParameterKind::TextColor, c);
    } else if (op == 7 && f.DrawingTool == ToolKind::Text) {
      c.Text += "あ";
      ChangeSelected(S, ParameterKind::Text, c);
    } else if (op == 7 && f.DrawingTool != ToolKind::Stamp) {
      c.End = {f.End.X + pick(21) - 10, f.End.Y + pick(21) - 10};
      if (IsPointFigure(f.DrawingTool))
        for (int k = 0; k < c.PointData.Count(); k += 2) c.PointData.Points[k].X += 3;
      c.TextSize += 2;
      ChangeSelected(S, ParameterKind::Size, c);
    } else if (op == 8) {
      MoveSelectedFront(S);
    } else if (op == 9) {
      MoveSelectedBack(S);
    } else {
      DeleteSelected(S);
      if (pick(2)) RestoreDeleted(S);
    }
    refresh();
  }
  S.SelectedFig = nullptr;
}

// The canvas as a full recomposition makes it for the current drawing.
QImage FullComposition(AppState& S, const QImage& background) {
  PictureStore full(S);
  full.Incremental = false;
  full.BGPicture = background;
  full.PaintBoxPaint();
  return full.WorkBitmap;
}

// Empty when both pictures are the same, else where they first differ.
std::string Difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.format() != b.format()) return "size or format";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QString("pixel %1,%2: %3 instead of %4")
            .arg(x).arg(y).arg(a.pixel(x, y), 0, 16).arg(b.pixel(x, y), 0, 16).toStdString();
  return std::string();
}

std::string Bytes(const QImage& image) {
  return std::string(reinterpret_cast<const char*>(image.constBits()), size_t(image.sizeInBytes()));
}

// Figures and live links in a comparable form: every figure's drawing
// content, then per record the position of the figure it links to.
std::vector<std::string> DrawingState(const AppState& S) {
  std::vector<std::string> out;
  std::vector<FigureList::const_iterator> items;
  for (auto f = S.Figures().begin(); f != S.Figures().end(); ++f) {
    items.push_back(f);
    const Figure& d = *f;
    std::string line = std::to_string(static_cast<int>(d.DrawingTool)) + " " + std::to_string(d.Start.X) + "," +
                       std::to_string(d.Start.Y) + " " + std::to_string(d.End.X) + "," + std::to_string(d.End.Y) +
                       " " + std::to_string(d.PenWidth) + " " + std::to_string(d.PenColor) + " " +
                       std::to_string(d.BrushColor) + " " + std::to_string(d.TextSize) + " " + d.Text;
    for (int k = 0; k < d.PointData.Count(); ++k)
        line += " " + std::to_string(d.PointData.Points[k].X) + "," + std::to_string(d.PointData.Points[k].Y);
    if (d.DrawingTool == ToolKind::Stamp) line += " stamp of " + std::to_string(d.StampData.size());
    out.push_back(line);
  }
  out.push_back("deleted " + std::to_string(S.DeletedFigures().Count()));
  int32_t step = 0;
  for (const Action& a : S.History()) {
    ++step;
    const auto at = a.TargetItem ? std::find(items.begin(), items.end(), *a.TargetItem) : items.end();
    const long item = !a.TargetItem ? -1 : at == items.end() ? -2 : long(at - items.begin());
    const bool figOk = !a.TargetItem ? a.TargetFig == nullptr : a.TargetFig == &**a.TargetItem;
    out.push_back(std::to_string(step) + " -> " + std::to_string(item) + (figOk ? "" : " (fig link elsewhere)"));
  }
  out.push_back("current " + std::to_string(S.CurrentStep()));
  out.push_back("bg '" + S.BGFileName() + "' shown '" + S.ShownBGFileName() + "'");
  return out;
}

// Stepping, walking and jumping through random histories, with selection
// frames, drawing on the canvas in between (rubber bands) and a blanked
// background: after every repaint the canvas equals a full recomposition.
TEST(PerfPaint, PartialRecompositionEqualsFullOnRandomHistories) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<std::string> backgrounds = MakeBackgrounds(dir);
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    BenchDrawing d;
    AppState& S = d.S;
    MakeHistory(S, seed, 400, backgrounds);
    std::mt19937 rng(seed * 7919);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int32_t step = 0;
    for (int round = 0; round < 300; ++round) {
      const int how = pick(20);
      if (how < 12)
        step = std::clamp(step + 1, 0, S.History().Count());
      else if (how < 16)
        step = std::max(step - 1, 0);
      else
        step = pick(S.History().Count() + 1);
      if (pick(10) == 0) {
        // Something else draws on the canvas (a rubber band) before the step.
        RasterCanvas rubber(&d.Pictures.WorkBitmap);
        rubber.PenMode = DrawMode::NotXor;
        rubber.Rectangle(pick(640), pick(480), pick(640), pick(480));
      }
      GoToStep(S, step);
      if (pick(6) == 0 && S.Figures().Count() > 0) {
        // A selection frame, then the canvas repainted with it and without it.
        S.SelectedFig = &Writable(S).Figures.At(pick(Writable(S).Figures.Count()));
        d.Pictures.PaintBoxPaint();
        QImage expected = FullComposition(S, d.Pictures.BGPicture);
        ASSERT_EQ(Difference(d.Pictures.WorkBitmap, expected), "") << "with frame, step " << step;
        if (pick(2)) S.SelectedFig->Offset(pick(9) - 4, 0);
        S.SelectedFig = nullptr;
        d.Pictures.PaintBoxPaint();
      }
      if (pick(15) == 0) {
        ShowBlankBackground(S);
        d.Pictures.PaintBoxPaint();
      }
      ASSERT_EQ(Difference(d.Pictures.WorkBitmap, FullComposition(S, d.Pictures.BGPicture)), "")
          << "round " << round << ", step " << step << ", " << how;
    }
  }
}

// Direct repaints while a figure is dragged, reordered, recoloured and added:
// the cases the window repaints without a history step.
TEST(PerfPaint, RepaintsWhileEditingEqualFull) {
  AppState S;
  PictureStore P(S);
  std::mt19937 rng(99);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  QImage bg(500, 400, QImage::Format_ARGB32);  // not the canvas format: converted when composed
  bg.fill(qRgba(10, 120, 200, 255));
  P.BGPicture = bg;
  for (int i = 0; i < 200; ++i) {
    Figure f;
    f.DrawingTool = kEveryKind[pick(7)];
    f.PenWidth = pick(8);
    f.PenColor = 0x123456 * (i % 5);
    f.BrushColor = pick(3) ? clBtnFace : 0x00FF00;
    f.Start = {pick(640), pick(480)};
    f.End = {f.Start.X + 40, f.Start.Y + 30};
    f.Text = "x";
    f.TextSize = 12;
    if (IsPointFigure(f.DrawingTool))
      Writable(S).Figures.Add(withPoints(f, {f.Start, {f.End.X, f.Start.Y}, f.End}));
    else
      Writable(S).Figures.Add(f);
  }
  for (int round = 0; round < 150; ++round) {
    const auto item = std::next(Writable(S).Figures.begin(), pick(S.Figures().Count()));
    switch (pick(6)) {
      case 0: item->Offset(pick(21) - 10, pick(21) - 10); break;
      case 1: Writable(S).Figures.MoveFront(item); break;
      case 2: Writable(S).Figures.MoveBack(item); break;
      case 3: item->PenColor ^= 0xFFFFFF; break;
      case 4: Writable(S).Figures.Add(*item); break;
      default: Writable(S).Figures.Remove(item); break;
    }
    S.SelectedFig = pick(3) == 0 ? &Writable(S).Figures.Last() : nullptr;
    P.PaintBoxPaint();
    ASSERT_EQ(Difference(P.WorkBitmap, FullComposition(S, P.BGPicture)), "") << "round " << round;
  }
}

// The whole-process export with partial recomposition writes the same files
// as the one that recomposes every step in full, and leaves the same drawing
// state: figures, every record's live links, the step, the background names.
TEST(PerfPaint, ProcessExportEqualsFullRecomposition) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<std::string> backgrounds = MakeBackgrounds(dir);
  for (uint32_t seed = 11; seed <= 13; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::vector<std::string> states[2];
    std::string files[2];
    for (int fast = 0; fast < 2; ++fast) {
      BenchDrawing d;
      MakeHistory(d.S, seed, 250, backgrounds);
      // Start from somewhere in the middle, as after the view mode.
      GoToStep(d.S, d.S.History().Count() / 3);
      const std::string base = dir.filePath(QString("s%1_%2_").arg(seed).arg(fast)).toStdString();
      ReplayWalker walker(d.S.History(), *d.S.Dialogs);
      walker.Pictures().Incremental = fast != 0;
      ASSERT_TRUE(ExportProcess(walker, *d.S.Dialogs, base));
      states[fast] = DrawingState(walker.State());
      states[fast].push_back(Bytes(walker.Picture()));
      for (int n = 1; n <= d.S.History().Count(); ++n) {
        QFile f(QString::fromStdString(ProcessPictureName(base, n)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
        files[fast] += f.readAll().toStdString();
        files[fast] += '\n';
      }
      ASSERT_FALSE(QFile::exists(QString::fromStdString(ProcessPictureName(base, d.S.History().Count() + 1))));
    }
    EXPECT_EQ(states[0], states[1]);
    EXPECT_TRUE(files[0] == files[1]) << "the pictures differ";
  }
}

// The walk of the exports (the video's frames) draws a created, duplicated
// or restored figure alone onto the last picture: at every step of random
// histories with moves, changes, deletes and restores, clears, branches and
// background pictures, its picture equals a full recomposition. Between
// steps something else sometimes draws on the picture (a not-xor rubber
// band) or a selection frame is shown and taken away: the next step must
// not build on such a picture.
TEST(PerfPaint, ExportWalkEqualsFullRecompositionAtEveryStep) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<std::string> backgrounds = MakeBackgrounds(dir);
  for (uint32_t seed = 21; seed <= 24; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    BenchDrawing d;
    MakeHistory(d.S, seed, 300, backgrounds);
    ReplayWalker walker(d.S.History(), *d.S.Dialogs);
    AppState& W = walker.State();
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int added = 0;
    while (walker.Next()) {
      if (IsCreatingAction(W.History().At(walker.Step()).TargetType)) ++added;
      ASSERT_EQ(Difference(walker.Picture(), FullComposition(W, walker.Pictures().BGPicture)), "")
          << "step " << walker.Step();
      if (pick(12) == 0) {
        RasterCanvas rubber(&walker.Pictures().WorkBitmap);
        rubber.PenMode = DrawMode::NotXor;
        rubber.Rectangle(pick(640), pick(480), pick(640), pick(480));
      } else if (pick(12) == 0 && W.Figures().Count() > 0) {
        W.SelectedFig = &Writable(W).Figures.At(pick(W.Figures().Count()));
        walker.Pictures().PaintBoxPaint();
        W.SelectedFig = nullptr;
        if (pick(2)) walker.Pictures().PaintBoxPaint();
      }
    }
    EXPECT_EQ(walker.Step(), d.S.History().Count());
    // Most steps that added a figure drew it alone.
    EXPECT_GT(walker.Pictures().FiguresAddedOnTop, uint64_t(added / 2));
    EXPECT_LE(walker.Pictures().FiguresAddedOnTop, uint64_t(added));
  }
}

}  // namespace
