// Rebuilding a drawing from its history, as every step change in the view
// mode does (no painting here: the picture side is the silent stand-in).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "support/builders.h"

namespace {

// A history of `records` records made the way the window makes them: figures
// of every kind are drawn until `maxFigures` are on the canvas (or half the
// records are used), then they are moved, changed, reordered, deleted and
// restored at random. With `branchEvery`, every so many records the user goes
// back to a random step in the later half and draws on from there.
std::unique_ptr<AppState> MakeHistory(int32_t records, int32_t maxFigures, int32_t branchEvery = 0) {
  auto S = std::make_unique<AppState>();
  std::mt19937 rng(12345);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int32_t creates = std::min(maxFigures, records / 2);
  std::vector<Figure*> figs;

  auto draw = [&](int kind) {
    Figure f;
    f.PenWidth = 4;
    f.Start = {pick(600), pick(440)};
    f.End = {f.Start.X + 20 + pick(60), f.Start.Y + 20 + pick(60)};
    Vertex pts;
    std::vector<Figure> contents;
    switch (kind % 6) {
      case 0: f.DrawingTool = ToolKind::Rectangle; break;
      case 1: f.DrawingTool = ToolKind::Ellipse; break;
      case 2:
        f.DrawingTool = ToolKind::Text;
        f.Text = "テキスト";
        f.TextSize = 12;
        break;
      case 3:
      case 4:
        f.DrawingTool = kind % 6 == 3 ? ToolKind::FreeLine : ToolKind::Polygon;
        for (int k = 0; k < 32; ++k) pts.AddPoint(f.Start.X + pick(80), f.Start.Y + pick(80));
        f.PointData = pts;
        f.SetBoundsFromPoints();
        break;
      default: {
        f.DrawingTool = ToolKind::Stamp;
        Figure in;
        in.DrawingTool = ToolKind::Ellipse;
        in.End = {10, 10};
        for (int k = 0; k < 3; ++k) contents.push_back(StoredCopy(in));
        f.StampData = contents;
      }
    }
    figs.push_back(CreateFigure(*S, f));
  };

  for (int32_t k = 0; k < creates; ++k) draw(k);
  while (S->History().Count() < records) {
    const int32_t n = S->History().Count();
    if (branchEvery > 0 && n % branchEvery == 0) {
      const int32_t step = n / 2 + pick(n / 2);
      BranchTo(*S, step);
      GoToStep(*S);
      figs = linkedFigures(*S);
    }
    if (figs.empty()) {
      draw(pick(6));
      continue;
    }
    const size_t i = pick(static_cast<int>(figs.size()));
    Figure* sel = S->SelectedFig = figs[i];
    const int op = pick(10);
    if (op < 4) {
      sel->Offset(1 + pick(5), 1 + pick(5));
      RecordMoveOfSelected(*S);
    } else if (op < 7) {
      Figure c = *sel;
      c.PenWidth += 2;
      ChangeSelected(*S, op == 4 ? ParameterKind::LineWidth : op == 5 ? ParameterKind::LineColor : ParameterKind::BodyColor, c);
    } else if (op == 7) {
      MoveSelectedFront(*S);
    } else if (op == 8) {
      MoveSelectedBack(*S);
    } else {
      // Delete, then restore at once: the figure comes back with a new ID.
      DeleteSelected(*S);
      figs[i] = RestoreDeleted(*S);
    }
  }
  S->SelectedFig = nullptr;
  return S;
}

void BM_GoToStep(benchmark::State& state) {
  auto S = MakeHistory(static_cast<int32_t>(state.range(0)), 1000);
  GoToStep(*S, S->History().Count());
  for (auto _ : state) {
    GoToStep(*S);
    benchmark::DoNotOptimize(S->Figures());
  }
  state.counters["figures"] = S->Figures().Count();
  state.counters["records"] = S->History().Count();
}
BENCHMARK(BM_GoToStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// 10,000 records with a branch after every 100 of them, nested in each other.
void BM_GoToStepBranched(benchmark::State& state) {
  auto S = MakeHistory(10000, 1000, 100);
  GoToStep(*S, S->History().Count());
  for (auto _ : state) {
    GoToStep(*S);
    benchmark::DoNotOptimize(S->Figures());
  }
  state.counters["figures"] = S->Figures().Count();
}
BENCHMARK(BM_GoToStepBranched)->Unit(benchmark::kMillisecond);

// The same rebuild done record by record with ApplyAction, each looking its
// figure up by walking the history: what GoToStep would cost without its
// index.
void BM_ApplyEachRecord(benchmark::State& state) {
  auto S = MakeHistory(static_cast<int32_t>(state.range(0)), 1000);
  for (auto _ : state) {
    ClearToStepZero(*S);
    for (int32_t step = 1; step <= S->History().Count(); ++step) ApplyAction(*S, step);
    benchmark::DoNotOptimize(S->Figures());
  }
}
BENCHMARK(BM_ApplyEachRecord)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
