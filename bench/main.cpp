// Benchmarks: with the program built, a Qt application exists (offscreen)
// for the picture and window benchmarks; the core ones do not need it.
#include <benchmark/benchmark.h>

#include <cstdlib>

#ifdef TAMLO_BENCH_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
#ifdef TAMLO_BENCH_QT
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
