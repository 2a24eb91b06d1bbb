// A step change in the view mode (rebuild and repaint) and the whole-process
// export, on histories made with the recorders: figures of every kind drawn,
// moved, changed, reordered, deleted and restored at random.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>
#include <random>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "io/exports.h"
#include "io/replay_walker.h"
#include "io/picture.h"
#include "support/random_figure.h"
#include "io/picture_store.h"
#include "render/paint.h"

namespace {

const ToolKind kKinds[] = {ToolKind::Text, ToolKind::Line, ToolKind::FreeLine, ToolKind::Ellipse, ToolKind::Rectangle, ToolKind::Polyline, ToolKind::Polygon, ToolKind::Stamp};

struct BenchHistory {
  AppState S;
  PictureStore Pictures{S};
  BenchHistory() { S.Pictures = &Pictures; }
};

// `records` records; a new figure (every kind in turn, sizes and attributes
// as a child draws them) with chance 6 in 10 while fewer than `maxFigures`
// are on the canvas, else an edit of a random figure.
std::unique_ptr<BenchHistory> MakeHistory(int32_t records, int32_t maxFigures) {
  auto h = std::make_unique<BenchHistory>();
  AppState& S = h->S;
  std::mt19937 rng(2024);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const ColorRef colours[] = {clBlack, clWhite, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0x808080, clBtnFace};
  std::vector<Figure*> figs;
  int kind = 0;
  auto make = [&](ToolKind tool, Vertex& pts) { return RandomFigure(rng, tool, pts); };
  Vertex pts;
  auto create = [&] {
    const ToolKind tool = kKinds[kind++ % std::size(kKinds)];
    std::vector<Figure> contents;
    Figure f;
    if (tool == ToolKind::Stamp) {
      for (int k = 0; k < 5; ++k) {
        Figure inner = make(kKinds[k % 7], pts);
        inner.Offset(-inner.Start.X, -inner.Start.Y);
        contents.push_back(StoredCopy(inner));
      }
      f = make(ToolKind::Stamp, pts);
      f.StampData = std::move(contents);
    } else {
      f = make(tool, pts);
    }
    figs.push_back(CreateFigure(S, f));
  };
  while (S.History().Count() < records) {
    if (figs.empty() || (int32_t(figs.size()) < maxFigures && pick(10) < 6)) {
      create();
      continue;
    }
    const size_t i = pick(int(figs.size()));
    Figure* sel = S.SelectedFig = figs[i];
    const int op = pick(10);
    if (op < 4) {
      sel->Offset(pick(41) - 20, pick(41) - 20);
      RecordMoveOfSelected(S);
    } else if (op < 7) {
      Figure c = *sel;
      if (op == 4) c.PenWidth = 1 + 2 * pick(5);
      if (op == 5) c.PenColor = colours[pick(7)];
      if (op == 6) c.BrushColor = colours[pick(8)];
      ChangeSelected(S, op == 4 ? ParameterKind::LineWidth : op == 5 ? ParameterKind::LineColor : ParameterKind::BodyColor, c);
    } else if (op == 7) {
      MoveSelectedFront(S);
    } else if (op == 8) {
      MoveSelectedBack(S);
    } else {
      // Delete, then restore at once: the figure comes back on top.
      DeleteSelected(S);
      figs[i] = RestoreDeleted(S);
    }
  }
  S.SelectedFig = nullptr;
  return h;
}

// One step back or forward at the end of a history of 10,000 records with
// 1,000 figures, as the play buttons do it: WalkToStep applies the one
// record forward, or rebuilds the drawing back, and repaints the canvas.
// Arg 0: every repaint recomposes the whole canvas.
void BM_ViewStep(benchmark::State& state) {
  auto h = MakeHistory(10000, 1000);
  AppState& S = h->S;
  h->Pictures.Incremental = state.range(0) != 0;
  GoToStep(S, S.History().Count());
  bool back = true;
  for (auto _ : state) {
    const int32_t step = back ? S.History().Count() - 1 : S.History().Count();
    back = !back;
    WalkToStep(S, step);
    benchmark::DoNotOptimize(h->Pictures.WorkBitmap.constBits());
  }
  state.counters["figures"] = S.Figures().Count();
  state.counters["records"] = S.History().Count();
  state.SetLabel(state.range(0) ? "incremental" : "full");
}
BENCHMARK(BM_ViewStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every step in turn through the last 100 of the history, back and forth.
void BM_ViewStepWalk(benchmark::State& state) {
  auto h = MakeHistory(10000, 1000);
  AppState& S = h->S;
  h->Pictures.Incremental = state.range(0) != 0;
  const int32_t last = S.History().Count();
  int32_t step = last, dir = -1;
  for (auto _ : state) {
    if (step == last - 100 || (step == last && dir > 0)) dir = -dir;
    step += dir;
    WalkToStep(S, step);
    benchmark::DoNotOptimize(h->Pictures.WorkBitmap.constBits());
  }
  state.SetLabel(state.range(0) ? "incremental" : "full");
}
BENCHMARK(BM_ViewStepWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A jump with the slider between the middle and the end: everything differs.
void BM_ViewJump(benchmark::State& state) {
  auto h = MakeHistory(10000, 1000);
  AppState& S = h->S;
  bool middle = true;
  for (auto _ : state) {
    const int32_t step = middle ? S.History().Count() / 2 : S.History().Count();
    middle = !middle;
    WalkToStep(S, step);
    benchmark::DoNotOptimize(h->Pictures.WorkBitmap.constBits());
  }
}
BENCHMARK(BM_ViewJump)->Unit(benchmark::kMillisecond);

// The whole-process export of 1,000 steps (files into a temporary folder).
// Arg 0: every step recomposed in full. The pictures are encoded and written
// on threads of their own while the next steps are composed: measured in
// real (wall-clock) time, as is the encoding alone below.
void BM_ExportProcess1000(benchmark::State& state) {
  auto h = MakeHistory(1000, 1000);
  QTemporaryDir dir;
  int run = 0;
  for (auto _ : state) {
    const std::string base = dir.filePath(QString("run%1_").arg(run++)).toStdString();
    ReplayWalker walker(h->S.History(), *h->S.Dialogs);
    walker.Pictures().Incremental = state.range(0) != 0;
    if (!ExportProcess(walker, *h->S.Dialogs, base)) state.SkipWithError("export failed");
  }
  state.counters["figures"] = h->S.Figures().Count();
  state.SetLabel(state.range(0) ? "incremental" : "full");
}
BENCHMARK(BM_ExportProcess1000)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// JPEG-encoding 1,000 ready frames of the same history, one file each.
void BM_EncodeFrames1000(benchmark::State& state) {
  auto h = MakeHistory(1000, 1000);
  std::vector<QImage> frames;
  for (int32_t k = 125; k <= 1000; k += 125) {
    GoToStep(h->S, k);
    frames.push_back(h->Pictures.WorkBitmap.copy());
  }
  QTemporaryDir dir;
  int run = 0;
  for (auto _ : state) {
    const std::string base = dir.filePath(QString("run%1_").arg(run++)).toStdString();
    for (int n = 1; n <= 1000; ++n)
      if (!WriteJPEG(ProcessPictureName(base, n), frames[n % frames.size()]).Ok) state.SkipWithError("cannot write");
  }
}
BENCHMARK(BM_EncodeFrames1000)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
