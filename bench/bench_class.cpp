// A whole class in one command: the real program exports the videos of 8
// drawings of 200 steps into a folder, one drawing at a time (--jobs 1) and
// one per core (the default). Wall-clock time: the gain is the parallelism
// (goal on 2 cores: at least 1.7 times faster). And the portfolio of 30
// drawings of 300 steps against their videos alone (goal: at most 1.5 times
// their time).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The program beside the benchmark's folder (build/tamlo for
// build/bench/tamlo_bench), or TAMLO_BINARY.
std::string ProgramPath() {
  if (const char* given = std::getenv("TAMLO_BINARY")) return given;
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? size_t(n) : 0);
  path.erase(path.find_last_of('/') + 1);
  return path + "../tamlo";
}

// Runs the program in `folder`; its exit status, -1 when it did not end.
int Run(const QString& folder, const QStringList& args) {
  const std::string program = ProgramPath();
  std::vector<std::string> strings{program};
  for (const QString& a : args) strings.push_back(a.toStdString());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(QFile::encodeName(folder).constData()) != 0) ::_exit(127);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 2);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// `drawings` drawings of `steps` rectangles each, in a class folder.
QStringList WriteClass(const QString& folder, int drawings = 8, int steps = 200) {
  QStringList names;
  for (int d = 0; d < drawings; ++d) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= steps; ++i) {
      const int x = (i * 37 + d * 11) % 560, y = (i * 53 + d * 7) % 400;
      lines += {"begin ActionData", "10 02 15 07", "Create", QString::number(i), "begin FigData", "dtRectangle",
                QString::number(1 + i % 9), "clBlack", i % 2 ? "clRed" : "clAqua", "12", "clBlack", "",
                QStringLiteral("%1 %2").arg(x).arg(y), QStringLiteral("%1 %2").arg(x + 20 + i % 60).arg(y + 20 + i % 50),
                "end FigData", "end ActionData"};
    }
    const QString name = QStringLiteral("child%1.tlo").arg(d);
    QFile f(folder + "/" + name);
    if (f.open(QIODevice::WriteOnly)) f.write((lines.join("\r\n") + "\r\n").toUtf8());
    names += name;
  }
  return names;
}

// Arg: drawings at a time (0: one per core, the default).
void BM_ClassVideos8x200(benchmark::State& state) {
  QTemporaryDir dir;
  const QStringList drawings = WriteClass(dir.path());
  QStringList args{"--export-video", "films/"};
  if (state.range(0) > 0) args += {"--jobs", QString::number(state.range(0))};
  args += drawings;
  for (auto _ : state)
    if (Run(dir.path(), args) != 0) state.SkipWithError("the program failed");
  state.SetLabel(state.range(0) > 0 ? "one at a time" : "one per core");
}
BENCHMARK(BM_ClassVideos8x200)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The portfolio of 30 drawings of 300 steps (pages, pictures, strips and
// videos) against exporting their videos alone, both one per core. The
// counters give both times and their ratio, in wall-clock time and in the
// processor time of all the processes (steadier on a busy machine).
double ChildrenSeconds() {
  rusage use {};
  ::getrusage(RUSAGE_CHILDREN, &use);
  return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

void BM_ClassPortfolio30x300(benchmark::State& state) {
  QTemporaryDir dir;
  const QStringList drawings = WriteClass(dir.path(), 30, 300);
  using Clock = std::chrono::steady_clock;
  double videos = 0, portfolio = 0, videosCpu = 0, portfolioCpu = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const double c0 = ChildrenSeconds();
    if (Run(dir.path(), QStringList{"--export-video", "films/"} + drawings) != 0) state.SkipWithError("the videos failed");
    const auto t1 = Clock::now();
    const double c1 = ChildrenSeconds();
    if (Run(dir.path(), QStringList{"--portfolio", "site/"} + drawings) != 0) state.SkipWithError("the portfolio failed");
    const auto t2 = Clock::now();
    const double c2 = ChildrenSeconds();
    videos += std::chrono::duration<double>(t1 - t0).count();
    portfolio += std::chrono::duration<double>(t2 - t1).count();
    videosCpu += c1 - c0;
    portfolioCpu += c2 - c1;
  }
  const double n = double(state.iterations());
  state.counters["videos_s"] = videos / n;
  state.counters["portfolio_s"] = portfolio / n;
  state.counters["ratio"] = videos > 0 ? portfolio / videos : 0;
  state.counters["videos_cpu_s"] = videosCpu / n;
  state.counters["portfolio_cpu_s"] = portfolioCpu / n;
  state.counters["cpu_ratio"] = videosCpu > 0 ? portfolioCpu / videosCpu : 0;
}
BENCHMARK(BM_ClassPortfolio30x300)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
