// The journal's cost per recorded action on the drawing thread, where the
// record is written and flushed to the disk (fdatasync) before the action
// returns, and its cost per step of the view mode (the step noted in the
// side file). Each action or step is timed on its own, in real time; the
// counters give the median, the 90th percentile and the longest in
// milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "format/journal.h"
#include "history/actions.h"
#include "history/play.h"
#include "io/picture_store.h"

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
    f.PointData = points;
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

// BM_JournalRecordAction: one whole recorded action on the drawing thread
// (the recorder, the record appended to the journal and flushed to the
// disk). BM_JournalActionOnDisk: the journal's share alone, append and
// fdatasync. Both are over when the action is on the disk.
void RunJournal(benchmark::State& state, bool wholeAction) {
  BenchFolder folder;
  AppState S;
  ActionJournal journal;
  if (!journal.Start(folder.Root.string(), S.History(), "")) {
    state.SkipWithError("no journal");
    return;
  }
  if (wholeAction) S.Journal = &journal;
  std::mt19937 rng(7);
  Vertex points;
  std::vector<double> ms;
  for (auto _ : state) {
    if (wholeAction) {
      const auto t0 = std::chrono::steady_clock::now();
      RecordOne(S, rng, points);
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    } else {
      state.PauseTiming();
      RecordOne(S, rng, points);
      state.ResumeTiming();
      const auto t0 = std::chrono::steady_clock::now();
      journal.Append(S.History());
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
  }
  if (!journal.Active() || journal.Count() != S.History().Count()) state.SkipWithError("the journal failed");
  Report(state, ms);
}

void BM_JournalRecordAction(benchmark::State& state) { RunJournal(state, true); }
void BM_JournalActionOnDisk(benchmark::State& state) { RunJournal(state, false); }

BENCHMARK(BM_JournalRecordAction)->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_JournalActionOnDisk)->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One step of the view mode as the window takes it, on a history of 1,000
// actions: the drawing rebuilt at the new step, then (Arg 1) the step
// noted in the journal's side file. Arg 0 is the same step without it.
void BM_JournalViewStep(benchmark::State& state) {
  BenchFolder folder;
  AppState S;
  ActionJournal journal;
  if (!journal.Start(folder.Root.string(), S.History(), "")) {
    state.SkipWithError("no journal");
    return;
  }
  std::mt19937 rng(11);
  Vertex points;
  for (int i = 0; i < 1000; ++i) RecordOne(S, rng, points);
  journal.Append(S.History());  // written anew once: the history grew behind its back
  PictureStore pictures{S};
  S.Pictures = &pictures;
  const bool noted = state.range(0) != 0;
  const int32_t last = S.History().Count();
  int32_t step = last;
  std::vector<double> ms;
  for (auto _ : state) {
    step = step == last ? last - 1 : last;
    const auto t0 = std::chrono::steady_clock::now();
    GoToStep(S, step);
    if (noted) journal.ShowStep(true, step);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  if (!journal.Active() || (noted && journal.ShownStep() != step)) state.SkipWithError("the journal failed");
  state.SetLabel(noted ? "noted" : "not noted");
  Report(state, ms);
}

// The note alone: the step written over its place in the side file.
void BM_JournalNoteStep(benchmark::State& state) {
  BenchFolder folder;
  AppState S;
  ActionJournal journal;
  if (!journal.Start(folder.Root.string(), S.History(), "")) {
    state.SkipWithError("no journal");
    return;
  }
  int32_t step = 0;
  std::vector<double> ms;
  for (auto _ : state) {
    step = step == 1 ? 2 : 1;
    const auto t0 = std::chrono::steady_clock::now();
    journal.ShowStep(true, step);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  Report(state, ms);
}

BENCHMARK(BM_JournalViewStep)->Arg(0)->Arg(1)->Iterations(400)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_JournalNoteStep)->Iterations(10000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
