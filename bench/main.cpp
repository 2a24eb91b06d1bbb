// Benchmarks: with the program built, a Qt GUI application exists
// (offscreen) for the picture benchmarks; the core ones do not need it.
#include <benchmark/benchmark.h>

#include <cstdlib>

#ifdef TAMLO_BENCH_QT
#include <QGuiApplication>
#endif

int main(int argc, char** argv) {
#ifdef TAMLO_BENCH_QT
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
