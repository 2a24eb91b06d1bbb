// Undo and redo at the end of a long drawing, as the window does them: the
// plan read from the records, a branch record, the rebuild and the repaint.
// 1,000 undos in a row, then 1,000 redos, on a history of 10,000 records
// with about 1,000 figures; each must stay within a frame (16 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>
#include <time.h>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "io/picture_store.h"
#include "support/random_figure.h"
#include "history/undo_plan.h"

namespace {

struct BenchDrawing {
  AppState S;
  PictureStore Pictures{S};
  BenchDrawing() { S.Pictures = &Pictures; }
};

// Figures of every kind drawn, then moved and recoloured at random.
std::unique_ptr<BenchDrawing> MakeDrawing(int32_t records, int32_t maxFigures) {
  const ToolKind kinds[] = {ToolKind::Text, ToolKind::Line, ToolKind::FreeLine, ToolKind::Ellipse, ToolKind::Rectangle, ToolKind::Polyline, ToolKind::Polygon};
  auto d = std::make_unique<BenchDrawing>();
  AppState& S = d->S;
  std::mt19937 rng(77);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  Vertex pts;
  std::vector<Figure*> figs;
  int kind = 0;
  while (S.History().Count() < records) {
    if (int32_t(figs.size()) < maxFigures && (figs.empty() || pick(10) < 6)) {
      figs.push_back(CreateFigure(S, RandomFigure(rng, kinds[kind++ % std::size(kinds)], pts)));
      continue;
    }
    Figure* sel = S.SelectedFig = figs[pick(int(figs.size()))];
    if (pick(2) == 0) {
      sel->Offset(pick(41) - 20, pick(41) - 20);
      RecordMoveOfSelected(S);
    } else {
      Figure c = *sel;
      c.PenColor = static_cast<ColorRef>(pick(0xFFFFFF));
      ChangeSelected(S, ParameterKind::LineColor, c);
    }
  }
  S.SelectedFig = nullptr;
  GoToStep(S, S.History().Count());
  return d;
}

// What the undo and redo buttons do, without the widgets: the plan kept up
// to date, the branch record (which rebuilds the figures) and the picture.
bool UndoOrRedo(AppState& S, bool undo) {
  static UndoPlanner planner;
  const UndoRedoPlan plan = planner.Plan(S.History());
  const int32_t step = undo ? plan.UndoTo : plan.RedoTo;
  if (step < 0) return false;
  BranchTo(S, step);
  ShowReplayedPicture(S);
  return true;
}

// CPU time of this thread in milliseconds: on a shared machine the wall
// clock also counts the time other work took the processor away.
double ThreadMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Each iteration is 1,000 undos and 1,000 redos on a fresh copy of the
// drawing; the slowest single undo or redo (CPU time), the median, the 99th
// percentile and how many took longer than 16 ms are reported.
void BM_UndoRedo1000(benchmark::State& state) {
  double slowest = 0, total = 0;
  int64_t late = 0;
  std::vector<double> times;
  int64_t count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = MakeDrawing(10000, 1000);
    state.ResumeTiming();
    for (bool undo : {true, false}) {
      for (int i = 0; i < 1000; ++i) {
        const double t0 = ThreadMilliseconds();
        if (!UndoOrRedo(d->S, undo)) state.SkipWithError("nothing to undo or redo");
        const double ms = ThreadMilliseconds() - t0;
        slowest = std::max(slowest, ms);
        if (ms > 16) ++late;
        times.push_back(ms);
        total += ms;
        ++count;
      }
    }
    benchmark::DoNotOptimize(d->Pictures.WorkBitmap.constBits());
    state.counters["figures"] = d->S.Figures().Count();
    state.counters["records"] = d->S.History().Count();
  }
  state.counters["slowest_ms"] = slowest;
  state.counters["over_16ms"] = static_cast<double>(late);
  std::sort(times.begin(), times.end());
  if (!times.empty()) {
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
  }
  state.counters["mean_ms"] = count ? total / count : 0;
}
BENCHMARK(BM_UndoRedo1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The plan alone on a 12,000-record history: what every refresh of the two
// buttons costs.
void BM_PlanUndoRedo(benchmark::State& state) {
  auto d = MakeDrawing(10000, 1000);
  for (int i = 0; i < 1000; ++i) UndoOrRedo(d->S, true);
  for (int i = 0; i < 1000; ++i) UndoOrRedo(d->S, false);
  for (auto _ : state) benchmark::DoNotOptimize(PlanUndoRedo(d->S.History()));
  state.counters["records"] = d->S.History().Count();
}
BENCHMARK(BM_PlanUndoRedo)->Unit(benchmark::kMicrosecond);

}  // namespace
