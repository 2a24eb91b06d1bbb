// Encoding time-lapse videos: 1,000 ready frames of a growing drawing into
// an MP4 and into a GIF, without drawing anything in the timed loop, as the
// yardstick for writing the video of a whole history.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "history/actions.h"
#include "history/savehistory.h"
#include "io/picture_store.h"
#include "io/replay_walker.h"
#include "io/video_export.h"
#include "io/video_writer.h"
#include "support/random_figure.h"

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

// The same job from a drawing: a history of created figures of the same
// kinds (rectangles, ellipses, lines, polylines), every step rebuilt and
// painted as the view mode shows it and encoded, as the batch mode's
// --export-video does. Compared with the encoding alone in the same run.
// With `manyColours` every figure has colours of its own (more than a
// GIF's 256 after 128 steps).
struct DrawnHistory {
  AppState S;
  PictureStore Pictures{S};
  QuietDialogs Dialogs;
  std::vector<PatchSource> Patches;  // what each step changed on the canvas
  explicit DrawnHistory(int steps, bool manyColours = false) {
    S.Pictures = &Pictures;
    S.Dialogs = &Dialogs;
    std::mt19937 rng(1234);
    const ToolKind kinds[] = {ToolKind::Rectangle, ToolKind::Ellipse, ToolKind::Line, ToolKind::Polyline};
    Vertex pts;
    QImage before = Pictures.WorkBitmap.copy();
    for (int k = 0; k < steps; ++k) {
      Figure f = RandomFigure(rng, kinds[k % 4], pts);
      if (manyColours) {
        f.PenColor = ColorRef((uint32_t(k) * 2654435761u) & 0xFFFFFF);
        f.BrushColor = ColorRef((uint32_t(k) * 40503u + 0x5A5A5A) & 0xFFFFFF);
      }
      CreateFigure(S, f);
      // The window repaints after each figure: what the view mode shows at
      // that step. Recording alone paints nothing.
      Pictures.PaintBoxPaint();
      Patches.push_back(ChangedPart(before, Pictures.WorkBitmap));
      before = Pictures.WorkBitmap.copy();
    }
  }
  static PatchSource ChangedPart(const QImage& before, const QImage& after) {
    int top = 0, bottom = after.height() - 1;
    const size_t row = size_t(after.width()) * 4;
    while (top <= bottom && std::memcmp(before.constScanLine(top), after.constScanLine(top), row) == 0) ++top;
    while (bottom >= top && std::memcmp(before.constScanLine(bottom), after.constScanLine(bottom), row) == 0) --bottom;
    if (top > bottom) return {QRect(0, 0, 1, 1), after.copy(0, 0, 1, 1)};
    int left = after.width() - 1, right = 0;
    for (int y = top; y <= bottom; ++y) {
      const auto* a = reinterpret_cast<const uint32_t*>(before.constScanLine(y));
      const auto* b = reinterpret_cast<const uint32_t*>(after.constScanLine(y));
      for (int x = 0; x < after.width(); ++x)
        if (a[x] != b[x]) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    }
    const QRect r(QPoint(left, top), QPoint(right, bottom));
    return {r, after.copy(r)};
  }
};

DrawnHistory& History(int steps, bool manyColours = false) {
  static std::map<std::pair<int, bool>, std::unique_ptr<DrawnHistory>> made;  // built once, outside the timing
  auto& h = made[{steps, manyColours}];
  if (!h) h = std::make_unique<DrawnHistory>(steps, manyColours);
  return *h;
}

// Args: steps, 0 MP4 / 1 GIF.
void BM_ExportVideo(benchmark::State& state) {
  const VideoFormat format = state.range(1) == 0 ? VideoFormat::MP4 : VideoFormat::GIF;
  DrawnHistory& history = History(int(state.range(0)));
  QTemporaryDir dir;
  const QString path = dir.filePath(format == VideoFormat::MP4 ? "film.mp4" : "film.gif");
  for (auto _ : state) {
    ReplayWalker walker(history.S.History(), history.Dialogs);
    if (ExportVideo(walker, history.Dialogs, path, format, ReplayPace(), false) != VideoExportResult::Done)
      state.SkipWithError("the video was not written");
  }
  state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
  state.SetLabel(format == VideoFormat::MP4 ? "mp4" : "gif");
}
BENCHMARK(BM_ExportVideo)
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// The goal: the video of 10,000 steps within 1.2 times the encoding of its
// frames alone (BM_VideoEncodeDrawnFrames/10000 below, same run).
BENCHMARK(BM_ExportVideo)->Args({10000, 0})->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The encoder alone on exactly the frames of BM_ExportVideo's drawing
// (taken while it was drawn), each a quarter of a second, the last 2 s:
// both write the same file (compare the counters kB).
void BM_VideoEncodeDrawnFrames(benchmark::State& state) {
  DrawnHistory& history = History(int(state.range(0)));
  QTemporaryDir dir;
  const QString path = dir.filePath("film.mp4");
  QImage frame(640, 480, QImage::Format_RGB32);
  for (auto _ : state) {
    frame.fill(Qt::white);
    VideoWriter writer;
    VideoResult r = writer.Open(path.toStdString(), VideoFormat::MP4);
    for (size_t k = 0; r.Ok && k < history.Patches.size(); ++k) {
      Apply(frame, history.Patches[k]);
      r = writer.AddFrame(frame, k + 1 == history.Patches.size() ? 2.0 : 0.25);
    }
    if (r.Ok) r = writer.Finish();
    if (!r.Ok) state.SkipWithError(r.Error.c_str());
  }
  state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
}
BENCHMARK(BM_VideoEncodeDrawnFrames)->Arg(10000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Resident memory in kB: the peak since the last ResetPeakMemory, or now.
long long MemoryKB(const char* field) {
  long long kB = 0;
  if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
      if (std::strncmp(line, field, n) == 0) kB = std::atoll(line + n);
    std::fclose(f);
  }
  return kB;
}
void ResetPeakMemory() {
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

// The GIF of a drawing of more than 256 colours: the memory the export
// takes at its peak above what was in use before must not grow with the
// number of steps (compare the counter peak_MB of the two lengths).
void BM_ExportGIFMemory(benchmark::State& state) {
  DrawnHistory& history = History(int(state.range(0)), true);
  QTemporaryDir dir;
  const QString path = dir.filePath("film.gif");
  double peakMB = 0;
  for (auto _ : state) {
    const long long before = MemoryKB("VmRSS:");
    ResetPeakMemory();
    ReplayWalker walker(history.S.History(), history.Dialogs);
    if (ExportVideo(walker, history.Dialogs, path, VideoFormat::GIF, ReplayPace(), false) != VideoExportResult::Done)
      state.SkipWithError("the video was not written");
    peakMB = std::max(peakMB, double(MemoryKB("VmHWM:") - before) / 1024);
  }
  state.counters["peak_MB"] = peakMB;
  state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
}
BENCHMARK(BM_ExportGIFMemory)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
