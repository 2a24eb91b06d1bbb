// The canvas at the screen's resolution: the real window (offscreen) with
// its canvas 2560 × 1920 device pixels large, 1,000 figures, driven through
// mouse events and the play buttons; every iteration includes the canvas's
// paint. A whole composition at that size is measured for comparison.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSlider>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "file_history.h"
#include "format/history_writer.h"
#include "history/actions.h"
#include "support/random_figure.h"
#include "render/device_scene.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"

// As in bench_window.cpp.
struct MainWindowTestAccess {
  static AppState& State(MainWindow& window) { return window.S; }
};

namespace {

constexpr int kDeviceWidth = 2560, kDeviceHeight = 1920;

struct LargeCanvasWindow {
  QTemporaryDir Folder;
  QuietDialogs Dialogs;  // the core's own quiet stand-in: every question answered No
  std::unique_ptr<MainWindow> Window;
  CanvasView* Canvas = nullptr;

  // A drawing of `records` records loaded from a file, or (0) 1,000 figures
  // of every kind drawn one after another.
  explicit LargeCanvasWindow(int32_t records) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(Folder.filePath("state")));
    Window = std::make_unique<MainWindow>(&Dialogs);
    Window->createWidgets(QString());
    // The canvas as large as a window filling a 4K screen at scale 2 shows
    // it (the offscreen screen has a device pixel ratio of 1).
    const qreal ratio = Window->devicePixelRatioF();
    const QSize logical(qRound(kDeviceWidth / ratio), qRound(kDeviceHeight / ratio));
    Canvas = Window->findChild<CanvasView*>(QStringLiteral("PaintBox"));
    Window->show();
    QCoreApplication::processEvents();  // shown and exposed: repaint() paints
    // The window lays its canvas out itself: grow the window by what the
    // canvas lacks (4:3 both ways, so the canvas grows exactly by it).
    Window->resize(Window->size() + logical - Canvas->size());
    QCoreApplication::processEvents();
    if (records > 0) {
      const QString path = Folder.filePath("d.tlo");
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) ||
          file.write(QByteArray::fromStdString(HistoryFileText(*MakeHistory(records, false)))) < 0)
        return;
      file.close();
      if (!Window->LoadDrawingFile(path)) return;
    } else {
      static const ToolKind kinds[] = {ToolKind::Text,    ToolKind::Line,     ToolKind::FreeLine,
                                       ToolKind::Ellipse, ToolKind::Rectangle, ToolKind::Polyline,
                                       ToolKind::Polygon};
      std::mt19937 rng(4711);
      Vertex pts;
      for (int i = 0; i < 1000; ++i) CreateFigure(S(), RandomFigure(rng, kinds[i % 7], pts));
    }
    S().Journal = nullptr;
    Window->PaintBoxPaint();
    Canvas->repaint();
  }
  AppState& S() { return MainWindowTestAccess::State(*Window); }
  bool Ready() const { return Canvas != nullptr && Canvas->DeviceSize() == QSize(kDeviceWidth, kDeviceHeight); }
  void Mouse(QEvent::Type type, Point p, Qt::MouseButtons held) {
    const QPointF at(p.X * Canvas->width() / 640.0, p.Y * Canvas->height() / 480.0);
    QMouseEvent ev(type, at, Canvas->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                   held, Qt::NoModifier);
    QApplication::sendEvent(Canvas, &ev);
  }
};

// The front-most of 1,000 figures dragged back and forth by a pixel, each
// move shown.
void BM_ScaledCanvasDrag(benchmark::State& state) {
  LargeCanvasWindow w(0);
  if (!w.Ready()) return state.SkipWithError("the canvas is not of 2560 × 1920 device pixels");
  w.Window->findChild<QAbstractButton*>(QStringLiteral("SelectEditBtn"))->click();
  const Figure& top = w.S().Figures().Last();
  const Point grip = top.Start;
  w.Mouse(QEvent::MouseButtonPress, grip, Qt::LeftButton);
  // The first moves place the kept layers around the figure.
  w.Mouse(QEvent::MouseMove, Point{grip.X + 1, grip.Y + 1}, Qt::LeftButton);
  w.Mouse(QEvent::MouseMove, grip, Qt::LeftButton);
  int dx = 0;
  for (auto _ : state) {
    dx = dx == 0 ? 1 : 0;
    w.Mouse(QEvent::MouseMove, Point{grip.X + dx, grip.Y + dx}, Qt::LeftButton);
    w.Canvas->repaint();
  }
  w.Mouse(QEvent::MouseButtonRelease, grip, Qt::NoButton);
  state.counters["figures"] = w.S().Figures().Count();
}
BENCHMARK(BM_ScaledCanvasDrag)->Unit(benchmark::kMillisecond);

// One step back and one forward with the play buttons at the end of the
// drawing of 1,000 figures, each step shown.
void BM_ScaledCanvasViewStep(benchmark::State& state) {
  LargeCanvasWindow w(0);
  if (!w.Ready()) return state.SkipWithError("the canvas is not of 2560 × 1920 device pixels");
  w.Window->findChild<QAbstractButton*>(QStringLiteral("SelectPlayBtn"))->click();
  QSlider* slider = w.Window->findChild<QSlider*>(QStringLiteral("TimeTrackBar"));
  slider->setValue(slider->maximum());
  QAbstractButton* back = w.Window->findChild<QAbstractButton*>(QStringLiteral("ReverseBtn"));
  QAbstractButton* forward = w.Window->findChild<QAbstractButton*>(QStringLiteral("ForwardBtn"));
  // The first steps place the kept layers.
  back->click();
  forward->click();
  bool goBack = true;
  for (auto _ : state) {
    (goBack ? back : forward)->click();
    goBack = !goBack;
    w.Canvas->repaint();
  }
  state.counters["figures"] = w.S().Figures().Count();
}
BENCHMARK(BM_ScaledCanvasViewStep)->Unit(benchmark::kMillisecond);

// The whole canvas painted again with nothing changed (the window uncovered
// or restored).
void BM_ScaledCanvasFullRepaint(benchmark::State& state) {
  LargeCanvasWindow w(0);
  if (!w.Ready()) return state.SkipWithError("the canvas is not of 2560 × 1920 device pixels");
  for (auto _ : state) w.Canvas->repaint();
  state.counters["visible_px"] = double(w.Canvas->visibleRegion().boundingRect().width()) *
                                 w.Canvas->visibleRegion().boundingRect().height();
}
BENCHMARK(BM_ScaledCanvasFullRepaint)->Unit(benchmark::kMillisecond);

// 1,000 figures composed whole at 2560 × 1920 (after a far jump, or the
// first time).
void BM_ScaledCanvasWholeComposition(benchmark::State& state) {
  LargeCanvasWindow w(0);
  if (!w.Ready()) return state.SkipWithError("the canvas is not of 2560 × 1920 device pixels");
  std::vector<const Figure*> figures;
  for (const Figure& f : w.S().Figures()) figures.push_back(&f);
  for (auto _ : state) {
    DeviceScene scene;
    const QImage shown = scene.Compose(QSize(kDeviceWidth, kDeviceHeight), 1.0, QImage(), figures, nullptr);
    benchmark::DoNotOptimize(shown.constBits());
  }
}
BENCHMARK(BM_ScaledCanvasWholeComposition)->Unit(benchmark::kMillisecond);

}  // namespace
