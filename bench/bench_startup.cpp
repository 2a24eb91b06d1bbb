// Start-up of the real program: from starting the process to the end of
// the canvas's first paint, on Qt's offscreen platform. The program ends
// itself right after that paint when TAMLO_EXIT_AFTER_FIRST_PAINT is set
// (read only for this measurement), writes the time of the paint on the
// monotonic clock and its peak resident memory to its standard error
// ("tamlo first paint NANOSECONDS peak KB") and leaves its journal, as a
// kill would (here in a temporary folder).
// Arg 0: an empty drawing; 1: the drawing of 100,000 records named on the
// command line (loaded, its last step rebuilt and shown). Real time; the
// whole run and the program's peak resident memory are counters.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "file_history.h"

extern char** environ;

namespace {

int64_t Now() {
  timespec t {};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void BM_StartToFirstPaint(benchmark::State& state) {
  std::string drawing;
  if (state.range(0) != 0) {
    drawing = Drawing100000File();
    if (drawing.empty()) {
      state.SkipWithError("the drawing file could not be made");
      return;
    }
  }
  QTemporaryDir stateHome;  // the program's journal goes there
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0 && std::strncmp(*e, "XDG_STATE_HOME=", 15) != 0) env.push_back(*e);
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("TAMLO_EXIT_AFTER_FIRST_PAINT=1");
  env.push_back("XDG_STATE_HOME=" + stateHome.path().toStdString());
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = TAMLO_PROGRAM;
  std::vector<char*> argv{program.data()};
  if (!drawing.empty()) argv.push_back(drawing.data());
  argv.push_back(nullptr);

  double wholeMs = 0, peakMB = 0;
  for (auto _ : state) {
    int err[2];
    if (pipe(err) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    const int64_t start = Now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(err[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) output.append(buffer, size_t(n));
    close(err[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not end normally");
      break;
    }
    const int64_t end = Now();
    const size_t at = output.find("tamlo first paint ");
    if (at == std::string::npos) {
      state.SkipWithError("the program told no first paint");
      break;
    }
    long long painted = 0, peakKB = 0;
    if (std::sscanf(output.c_str() + at, "tamlo first paint %lld peak %lld", &painted, &peakKB) != 2) {
      state.SkipWithError("the program told no first paint");
      break;
    }
    state.SetIterationTime(double(painted - start) / 1e9);
    wholeMs = double(end - start) / 1e6;
    peakMB = double(peakKB) / 1e3;
  }
  state.counters["whole_ms"] = wholeMs;
  state.counters["peak_MB"] = peakMB;
  state.SetLabel(drawing.empty() ? "empty" : "100000 records");
}
BENCHMARK(BM_StartToFirstPaint)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
