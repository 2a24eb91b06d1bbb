// Writing and reading a drawing file of 100,000 records. Throughput is the
// size of the file text per second.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "file_history.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "history/play.h"

namespace {

void BM_WriteHistory(benchmark::State& state) {
  const auto h = MakeHistory(100000, state.range(0) != 0);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = HistoryFileText(*h);
    bytes += text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_WriteHistory)->Arg(0)->Arg(1)->ArgName("japanese")->Unit(benchmark::kMillisecond);

void BM_ReadHistory(benchmark::State& state) {
  const auto h = MakeHistory(100000, state.range(0) != 0);
  const std::string text = HistoryFileText(*h);
  auto S = std::make_unique<AppState>();
  for (auto _ : state) {
    if (ReadHistory(*S, text) != 0 || S->History().Count() != 100000) state.SkipWithError("file not read");
    state.PauseTiming();
    S->Reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(text.size() * state.iterations()));
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadHistory)->Arg(0)->Arg(1)->ArgName("japanese")->Unit(benchmark::kMillisecond);

// IDs chosen to collide in a plain hash table: multiples of the bucket count
// a table of that many IDs ends with (Arg 1), against 1, 2, 3, … (Arg 0).
// Reading the file and rebuilding its last step look every ID up.
void BM_ReadCollidingIDs(benchmark::State& state) {
  constexpr int32_t n = 20000;
  std::unordered_map<int32_t, int> probe;
  for (int32_t i = 1; i <= n; ++i) probe.emplace(i, i);
  const int32_t stride = state.range(0) != 0 ? static_cast<int32_t>(probe.bucket_count()) : 1;
  auto h = std::make_unique<HistoryList>();
  Figure f;
  f.DrawingTool = ToolKind::Rectangle;
  f.End = {10, 10};
  for (ActionKind type : {ActionKind::Create, ActionKind::Move})
    for (int32_t i = 1; i <= n; ++i) {
      Action& a = h->Add(f);
      a.TargetType = type;
      a.TargetID = i * stride;
    }
  const std::string text = HistoryFileText(*h);
  for (auto _ : state) {
    auto S = std::make_unique<AppState>();
    if (ReadHistory(*S, text) != 0) state.SkipWithError("file not read");
    GoToStep(*S, S->History().Count());
  }
  state.counters["stride"] = stride;
}
BENCHMARK(BM_ReadCollidingIDs)->Arg(0)->Arg(1)->ArgName("colliding")->Unit(benchmark::kMillisecond);

}  // namespace
