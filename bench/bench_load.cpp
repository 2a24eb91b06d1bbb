// Loading a drawing of 100,000 records as the window does: the file read
// from the disk, its history read, the last step rebuilt and painted.
// Goal: at most 1 s and 200 MB resident. Run it on its own
// (--benchmark_filter=BM_Load100000) for the peak to be the load's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "file_history.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/journal.h"
#include "history/play.h"
#include "io/picture_store.h"

namespace {

// The process's resident memory now, in MB.
double ResidentMB() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

// The process's peak resident memory so far, in MB.
double PeakMB() {
  rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1e3;
}

}  // namespace

// The drawing file, made once by a child process, so that making it never
// counts in this process's peak.
const std::string& Drawing100000File() {
  static QTemporaryDir dir;
  static const std::string path = [] {
    const std::string name = dir.filePath("load100000.tlo").toStdString();
    const pid_t child = fork();
    if (child == 0) {
      const std::string text = HistoryFileText(*MakeHistory(100000, true));
      std::FILE* f = std::fopen(name.c_str(), "wb");
      const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
      _exit(f && std::fclose(f) == 0 && ok ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      return std::string();
    return name;
  }();
  return path;
}

namespace {

void BM_Load100000(benchmark::State& state) {
  const std::string& path = Drawing100000File();
  if (path.empty()) {
    state.SkipWithError("the drawing file could not be made");
    return;
  }
  double resident = 0;
  int64_t figures = 0;
  for (auto _ : state) {
    auto S = std::make_unique<AppState>();
    auto pictures = std::make_unique<PictureStore>(*S);
    S->Pictures = pictures.get();
    std::string bytes;
    if (!ReadDrawingFileBytes(path, bytes) || ReadHistory(*S, bytes) != 0) {
      state.SkipWithError("the drawing was not read");
      break;
    }
    bytes = std::string();
    GoToStep(*S, S->History().Count());
    benchmark::DoNotOptimize(pictures->WorkBitmap.constBits());
    state.PauseTiming();
    resident = ResidentMB();
    figures = S->Figures().Count();
    pictures.reset();
    S.reset();
    state.ResumeTiming();
  }
  state.counters["records"] = 100000;
  state.counters["figures"] = double(figures);
  state.counters["resident_MB"] = resident;
  state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_Load100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same drawing opened as the window opens it: read, replayed, and the
// window's journal begun anew from it. Arg 0: the journal holds every
// record itself (written whole on the drawing thread); 1: it begins from
// the file under a second name; 2: from a copy of the bytes read, made on
// a thread of its own (where no second name can be made). Opening costs
// BM_Load100000 plus the journal's share.
void BM_OpenInWindow100000(benchmark::State& state) {
  const std::string& path = Drawing100000File();
  if (path.empty()) {
    state.SkipWithError("the drawing file could not be made");
    return;
  }
  const std::string folder = std::filesystem::path(path).parent_path().string() + "/journal";
  ActionJournal journal;
  {
    AppState empty;
    if (!journal.Start(folder, empty.History(), "")) {
      state.SkipWithError("no journal");
      return;
    }
  }
  const int how = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto S = std::make_unique<AppState>();
    auto pictures = std::make_unique<PictureStore>(*S);
    S->Pictures = pictures.get();
    std::string bytes;
    FileStamp stamp = StampOfFile(path);
    if (!ReadDrawingFileBytes(path, bytes) || ReadHistory(*S, bytes) != 0) {
      state.SkipWithError("the drawing was not read");
      break;
    }
    GoToStep(*S, S->History().Count());
    if (how == 2) stamp.Inode ^= 1;  // no second name: a copy
    if (!journal.Restart(S->History(), path, stamp, how == 0 ? nullptr : &bytes)) {
      state.SkipWithError("the journal failed");
      break;
    }
    benchmark::DoNotOptimize(pictures->WorkBitmap.constBits());
    state.PauseTiming();
    journal.WaitForBase();
    pictures.reset();
    // The journal keeps pointing into the history it was given: a new one
    // each time, written again from this one.
    AppState empty;
    journal.Restart(empty.History(), "");
    S.reset();
    state.ResumeTiming();
  }
  journal.Remove();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  state.SetLabel(how == 0 ? "journal holds every record" : how == 1 ? "journal from the file" : "journal from a copy");
}
BENCHMARK(BM_OpenInWindow100000)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
