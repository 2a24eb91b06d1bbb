// Encoding time-lapse videos: 1,000 ready frames of a growing drawing into
// an MP4 and into a GIF, without drawing anything in the timed loop, as the
// yardstick for writing the video of a whole history.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <cstring>
#include <random>
#include <vector>

#include "history/actions.h"
#include "history/savehistory.h"
#include "io/picture_store.h"
#include "io/video_export.h"
#include "io/video_writer.h"
#include "random_figure.h"

namespace {

// The part of the canvas one step changed, as it looks after the step.
struct PatchSource {
  QRect Rect;
  QImage Pixels;
};

// 1,000 steps of a drawing as a child makes it: rectangles, ellipses, lines
// and polylines in the palette's colours, 1 to 9 pixels wide, half filled,
// each kept as the patch it changed (a few megabytes in all instead of a
// gigabyte of whole frames).
const std::vector<PatchSource>& Steps() {
  static const std::vector<PatchSource> steps = [] {
    std::vector<PatchSource> out;
    std::mt19937 rng(1234);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const QColor colours[] = {Qt::black, Qt::white, Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::gray, Qt::magenta,
                              Qt::cyan,  QColor(255, 128, 0), QColor(128, 64, 0), QColor(255, 192, 203)};
    QImage canvas(640, 480, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    for (int k = 0; k < 1000; ++k) {
      QPainter p(&canvas);
      const int width = 1 + 2 * pick(5);
      p.setPen(QPen(colours[pick(12)], width));
      p.setBrush(pick(2) ? QBrush(colours[pick(12)]) : Qt::NoBrush);
      const QRect r(pick(560), pick(400), 10 + pick(120), 10 + pick(100));
      switch (k % 4) {
        case 0: p.drawRect(r); break;
        case 1: p.drawEllipse(r); break;
        case 2: p.drawLine(r.topLeft(), r.bottomRight()); break;
        default: {
          QPolygon poly;
          for (int i = 0; i < 6; ++i) poly << QPoint(r.left() + pick(r.width()), r.top() + pick(r.height()));
          p.drawPolyline(poly);
        }
      }
      p.end();
      const QRect changed = r.adjusted(-width, -width, width, width).intersected(canvas.rect());
      out.push_back({changed, canvas.copy(changed)});
    }
    return out;
  }();
  return steps;
}

void Apply(QImage& frame, const PatchSource& patch) {
  for (int y = 0; y < patch.Rect.height(); ++y)
    std::memcpy(frame.scanLine(patch.Rect.top() + y) + 4 * patch.Rect.left(), patch.Pixels.constScanLine(y),
                4 * size_t(patch.Rect.width()));
}

// Arg 0: MP4 (H.264), 1: GIF. Each frame a quarter of a second, the last
// held 2 s.
void BM_VideoEncodeFrames1000(benchmark::State& state) {
  const VideoFormat format = state.range(0) == 0 ? VideoFormat::MP4 : VideoFormat::GIF;
  const std::vector<PatchSource>& steps = Steps();
  QImage last(640, 480, QImage::Format_RGB32);
  last.fill(Qt::white);
  for (const PatchSource& patch : steps) Apply(last, patch);
  QTemporaryDir dir;
  const QString path = dir.filePath(format == VideoFormat::MP4 ? "film.mp4" : "film.gif");
  QImage frame(640, 480, QImage::Format_RGB32);
  for (auto _ : state) {
    frame.fill(Qt::white);
    VideoWriter writer;
    VideoResult r = writer.Open(path.toStdString(), format);
    if (format == VideoFormat::GIF) writer.AddPaletteSource(last);
    for (size_t k = 0; r.Ok && k < steps.size(); ++k) {
      Apply(frame, steps[k]);
      r = writer.AddFrame(frame, k + 1 == steps.size() ? 2.0 : 0.25);
    }
    if (r.Ok) r = writer.Finish();
    if (!r.Ok) state.SkipWithError(r.Error.c_str());
  }
  state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
  state.SetLabel(format == VideoFormat::MP4 ? "mp4" : "gif");
}
// x264 encodes on threads of its own: the CPU time counts the whole process.
BENCHMARK(BM_VideoEncodeFrames1000)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The same job from a drawing: a history of 1,000 created figures of the
// same kinds (rectangles, ellipses, lines, polylines), every step rebuilt
// and painted as the view mode shows it and encoded, as the batch mode's
// --export-video does. Compared with the encoding alone above in the same
// run (goal: at most 1.5 times it).
struct DrawnHistory {
  AppState S;
  PictureStore Pictures{S};
  QuietDialogs Dialogs;
  DrawnHistory() {
    S.Pictures = &Pictures;
    S.Dialogs = &Dialogs;
    std::mt19937 rng(1234);
    const ToolKind kinds[] = {ToolKind::Rectangle, ToolKind::Ellipse, ToolKind::Line, ToolKind::Polyline};
    Vertex pts;
    for (int k = 0; k < 1000; ++k) {
      Figure f = RandomFigure(rng, kinds[k % 4], pts);
      CreateFigure(S, f);
    }
  }
};

void BM_ExportVideo1000(benchmark::State& state) {
  const VideoFormat format = state.range(0) == 0 ? VideoFormat::MP4 : VideoFormat::GIF;
  static DrawnHistory* history = new DrawnHistory;  // built once, outside the timing
  QTemporaryDir dir;
  const QString path = dir.filePath(format == VideoFormat::MP4 ? "film.mp4" : "film.gif");
  for (auto _ : state) {
    if (ExportVideo(history->S, history->Pictures.WorkBitmap, path, format, ReplayPace(), false) != VideoExportResult::Done)
      state.SkipWithError("the video was not written");
  }
  state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
  state.SetLabel(format == VideoFormat::MP4 ? "mp4" : "gif");
}
BENCHMARK(BM_ExportVideo1000)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
