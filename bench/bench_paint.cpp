// Composing the canvas (background, 1,000 figures, selection frame) and the
// picture codecs on a 640 × 480 frame.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <vector>

#include "io/picture.h"
#include "support/random_figure.h"
#include "io/picture_store.h"
#include "render/paint.h"
#include "../tests/support/drawing_door.h"

namespace {

const ToolKind kKinds[] = {ToolKind::Text, ToolKind::Line, ToolKind::FreeLine, ToolKind::Ellipse, ToolKind::Rectangle, ToolKind::Polyline, ToolKind::Polygon, ToolKind::Stamp};
constexpr int kKindCount = int(std::size(kKinds));

// `count` figures, each of `only` or, with ToolKind::None, of every kind in turn:
// sizes and attributes as a child draws them (lines 1 to 9 pixels, half
// filled, free lines of 60 points, stamps of five figures).
void AddFigures(FigureList& figs, int count, ToolKind only) {
  std::mt19937 rng(4711);
  auto make = [&](ToolKind tool, Vertex& pts) { return RandomFigure(rng, tool, pts); };
  Vertex pts;
  for (int i = 0; i < count; ++i) {
    const ToolKind tool = only == ToolKind::None ? kKinds[i % kKindCount] : only;
    if (tool == ToolKind::Stamp) {
      std::vector<Figure> contents;
      for (int k = 0; k < 5; ++k) {
        Figure inner = make(kKinds[k % 7], pts);
        inner.Offset(-inner.Start.X, -inner.Start.Y);
        contents.push_back(StoredCopy(inner));
      }
      Figure stamp = make(ToolKind::Stamp, pts);
      stamp.StampData = std::move(contents);
      figs.Add(stamp);
    } else {
      figs.Add(make(tool, pts));
    }
  }
}

const char* KindName(ToolKind tool) {
  switch (tool) {
    case ToolKind::Text: return "text";
    case ToolKind::Line: return "line";
    case ToolKind::FreeLine: return "freeline";
    case ToolKind::Ellipse: return "ellipse";
    case ToolKind::Rectangle: return "rectangle";
    case ToolKind::Polyline: return "polyline";
    case ToolKind::Polygon: return "polygon";
    case ToolKind::Stamp: return "stamp";
    default: return "mixed";
  }
}

// Arg: index into kKinds, or kKindCount for every kind mixed.
void BM_PaintBoxPaint1000(benchmark::State& state) {
  const ToolKind only = state.range(0) < kKindCount ? kKinds[state.range(0)] : ToolKind::None;
  AppState S;
  PictureStore P(S);
  P.Incremental = false;  // the whole canvas every time, as after a jump
  AddFigures(Writable(S).Figures, 1000, only);
  S.SelectedFig = &Writable(S).Figures.Last();
  for (auto _ : state) {
    P.PaintBoxPaint();
    benchmark::DoNotOptimize(P.WorkBitmap.constBits());
  }
  state.counters["picture_MB"] = double(P.FigurePictures.Bytes()) / (1 << 20);
  state.counters["pictures"] = double(P.FigurePictures.Count());
  state.SetLabel(KindName(only));
}
BENCHMARK(BM_PaintBoxPaint1000)->DenseRange(0, kKindCount)->Unit(benchmark::kMillisecond);

// The same, with no picture kept from the repaint before: the first full
// repaint of figures never drawn (Arg as above), and (Arg + 100) every
// figure drawn directly, without pictures at all.
void BM_PaintBoxPaint1000Cold(benchmark::State& state) {
  const bool direct = state.range(0) >= 100;
  const int kind = int(state.range(0) % 100);
  const ToolKind only = kind < kKindCount ? kKinds[kind] : ToolKind::None;
  AppState S;
  PictureStore P(S);
  P.Incremental = false;
  P.FigurePictures.Enabled = !direct;
  AddFigures(Writable(S).Figures, 1000, only);
  S.SelectedFig = &Writable(S).Figures.Last();
  for (auto _ : state) {
    P.FigurePictures.Clear();
    P.PaintBoxPaint();
    benchmark::DoNotOptimize(P.WorkBitmap.constBits());
  }
  state.SetLabel(std::string(KindName(only)) + (direct ? ", direct" : ", first"));
}
BENCHMARK(BM_PaintBoxPaint1000Cold)
    ->DenseRange(0, kKindCount)
    ->Arg(100 + kKindCount)
    ->Unit(benchmark::kMillisecond);

QImage Frame() {
  AppState S;
  PictureStore P(S);
  AddFigures(Writable(S).Figures, 200, ToolKind::None);
  P.PaintBoxPaint();
  return P.WorkBitmap;
}

// A new file for every picture, as the whole-process export writes them
// (rewriting one file in place would measure the file system's flushes).
void BM_WriteJPEG640x480(benchmark::State& state) {
  const QImage frame = Frame();
  QTemporaryDir dir;
  const std::string base = dir.filePath("frame").toStdString();
  int n = 0;
  for (auto _ : state) {
    if (!WriteJPEG(ProcessPictureName(base, ++n), frame).Ok) state.SkipWithError("cannot write");
  }
}
BENCHMARK(BM_WriteJPEG640x480)->Unit(benchmark::kMillisecond);

void BM_ReadJPEG640x480(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("frame.jpg").toStdString();
  WriteJPEG(path, Frame());
  QImage out;
  for (auto _ : state) {
    if (!ReadJPEG(path, out).Ok) state.SkipWithError("cannot read");
  }
}
BENCHMARK(BM_ReadJPEG640x480)->Unit(benchmark::kMillisecond);

void BM_WriteBMP32_640x480(benchmark::State& state) {
  const QImage frame = Frame();
  QTemporaryDir dir;
  int n = 0;
  for (auto _ : state) {
    const std::string path = dir.filePath(QString("frame%1.bmp").arg(++n)).toStdString();
    if (!WriteBMP32(path, frame).Ok) state.SkipWithError("cannot write");
  }
}
BENCHMARK(BM_WriteBMP32_640x480)->Unit(benchmark::kMillisecond);

// Hostile drawings: fifty polylines of 2,000 vertices with the widest pen
// (each drawing as a figure onto the canvas), and a text of twenty million
// characters at the largest size.
void BM_WidePolylines50x2000(benchmark::State& state) {
  std::mt19937 rng(5);
  std::vector<Figure> figs(50);
  for (size_t k = 0; k < figs.size(); ++k) {
    for (int i = 0; i < MaxPoints; ++i) figs[k].PointData.AddPoint(int(rng() % 900) - 130, int(rng() % 700) - 110);
    figs[k].DrawingTool = ToolKind::Polyline;
    figs[k].PenWidth = 4096;
    figs[k].PenColor = ColorRef(rng() & 0xFFFFFF);
  }
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  RasterCanvas canvas(&img);
  for (auto _ : state) {
    for (const Figure& f : figs) DrawFigure(canvas, &f, 0, 0, DrawMode::Copy);
    benchmark::DoNotOptimize(img.constBits());
  }
}
BENCHMARK(BM_WidePolylines50x2000)->Unit(benchmark::kMillisecond);

void BM_TextOut20MillionCharacters(benchmark::State& state) {
  std::string text;
  for (int i = 0; text.size() < 20'000'000; ++i) text += i % 2 ? "えをかく " : "drawing ";
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  RasterCanvas canvas(&img);
  canvas.FontSize = 3072;
  canvas.BrushStyle = FillStyle::Clear;
  for (auto _ : state) {
    canvas.TextOut(-100, -50, text);
    benchmark::DoNotOptimize(img.constBits());
  }
}
BENCHMARK(BM_TextOut20MillionCharacters)->Unit(benchmark::kMillisecond);

// A small progressive JPEG whose header declares 8192 × 8192, loaded as the
// background (only the part the canvas shows is kept).
void BM_LoadHugeProgressiveJPEG(benchmark::State& state) {
  QImage small(16, 16, QImage::Format_RGB32);
  small.fill(qRgb(10, 120, 200));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(true);
  writer.write(small);
  QByteArray bytes = buffer.data();
  for (qsizetype i = 2; i + 9 < bytes.size(); ++i)
    if (uchar(bytes[i]) == 0xFF && uchar(bytes[i + 1]) == 0xC2) {
      bytes[i + 5] = char(0x20), bytes[i + 6] = 0, bytes[i + 7] = char(0x20), bytes[i + 8] = 0;
      break;
    }
  QTemporaryDir dir;
  const QString path = dir.filePath("huge.jpg");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  f.close();
  AppState S;
  PictureStore P(S);
  for (auto _ : state) {
    if (P.LoadBGPicture(path.toStdString()) != 0) state.SkipWithError("cannot read");
  }
  state.SetLabel(std::to_string(bytes.size()) + " bytes");
}
BENCHMARK(BM_LoadHugeProgressiveJPEG)->Unit(benchmark::kMillisecond);

}  // namespace
