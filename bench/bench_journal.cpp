// The journal's cost per recorded action, as the drawing thread sees it
// (the record written to the journal file, the flush handed to the
// journal's thread), and the time until the action is on the disk
// (fdatasync done). Each action is timed on its own; the counters give the
// median and the 90th percentile in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "format/journal.h"
#include "history/actions.h"

namespace {

namespace fs = std::filesystem;

struct BenchFolder {
  fs::path Root;
  BenchFolder() {
    // Next to the user's own journals, on the same disk.
    const std::string home = JournalFolder();
    const fs::path base = home.empty() ? fs::temp_directory_path() : fs::path(home).parent_path();
    Root = base / ("tamlo-bench-" + std::to_string(std::random_device{}()));
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(Root, ec);
  }
};

// One recorded action: a rectangle, or a free line of 60 points.
void RecordOne(AppState& S, std::mt19937& rng, Vertex& points) {
  Figure f;
  f.DrawingTool = rng() % 2 ? ToolKind::Rectangle : ToolKind::FreeLine;
  f.PenWidth = 3;
  f.Start = {static_cast<int32_t>(rng() % 600), static_cast<int32_t>(rng() % 440)};
  f.End = {f.Start.X + 40, f.Start.Y + 30};
  if (f.DrawingTool == ToolKind::FreeLine) {
    points.Reset();
    for (int i = 0; i < 60; ++i) points.AddPoint(f.Start.X + i, f.Start.Y + static_cast<int32_t>(rng() % 30));
    f.PointData = &points;
    f.SetBoundsFromPoints();
  }
  CreateFigure(S, f);
}

void Report(benchmark::State& state, std::vector<double>& ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  state.counters["max_ms"] = ms.back();
}

// `durable`: each action is timed until it is on the disk.
void RunJournal(benchmark::State& state, bool durable) {
  BenchFolder folder;
  AppState S;
  ActionJournal journal;
  if (!journal.Start(folder.Root.string(), S.History, "")) {
    state.SkipWithError("no journal");
    return;
  }
  S.Journal = &journal;
  std::mt19937 rng(7);
  Vertex points(MaxPoints);
  std::vector<double> ms;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    RecordOne(S, rng, points);
    if (durable) journal.WaitFlushed();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    if (!durable) {
      // The next action comes when a child has drawn it, never within the
      // flush of this one.
      state.PauseTiming();
      journal.WaitFlushed();
      state.ResumeTiming();
    }
  }
  if (!journal.Active()) state.SkipWithError("the journal failed");
  Report(state, ms);
}

void BM_JournalRecordAction(benchmark::State& state) { RunJournal(state, false); }
void BM_JournalActionOnDisk(benchmark::State& state) { RunJournal(state, true); }

BENCHMARK(BM_JournalRecordAction)->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_JournalActionOnDisk)->Iterations(500)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
