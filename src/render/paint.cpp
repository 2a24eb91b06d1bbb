#include "render/paint.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "render/figure_pictures.h"
#include "render/vector_canvas.h"

// The figures are drawn by the same code on either canvas: the raster one
// (pixel-exact, the reference) and the vector one (any device, any scale).
namespace {

template <class Canvas>
void DrawOne(Canvas& canvas, const Figure* fig, int X, int Y, DrawMode penMode) {
  canvas.PenMode = penMode;
  if (fig == nullptr) return;
  const Point p1{WrapAdd(X, fig->Start.X), WrapAdd(Y, fig->Start.Y)};
  const Point p2{WrapAdd(X, fig->End.X), WrapAdd(Y, fig->End.Y)};
  canvas.PenWidth = fig->PenWidth;
  canvas.PenColor = fig->PenColor;
  canvas.BrushColor = fig->BrushColor;
  canvas.BrushStyle = fig->BrushColor == clBtnFace ? FillStyle::Clear : FillStyle::Solid;
  canvas.PenStyle = LineStyle::Solid;

  std::array<Point, MaxPoints> vertices;
  int count = 0;
  if (IsPointFigure(fig->DrawingTool)) {
    const Vertex& pd = fig->PointData;
    count = std::min(pd.Count(), MaxPoints);
    for (int i = 0; i < count; ++i)
      vertices[i] = Point{WrapAdd(X, pd.Points[i].X), WrapAdd(Y, pd.Points[i].Y)};
  }

  switch (fig->DrawingTool) {
    case ToolKind::Text:
      // The text's background stays transparent whatever its fill colour.
      canvas.BrushStyle = FillStyle::Clear;
      canvas.FontSize = fig->TextSize;
      canvas.FontColor = fig->TextColor;
      canvas.TextOut(p1.X, p1.Y, fig->Text);
      break;
    case ToolKind::Line:
      canvas.Line(p1, p2);
      break;
    case ToolKind::FreeLine:
    case ToolKind::Polyline:
      canvas.Polyline(vertices.data(), count);
      break;
    case ToolKind::Polygon:
      canvas.Polygon(vertices.data(), count);
      break;
    case ToolKind::Ellipse:
      canvas.Ellipse(p1.X, p1.Y, p2.X, p2.Y);
      break;
    case ToolKind::Rectangle:
      canvas.Rectangle(p1.X, p1.Y, p2.X, p2.Y);
      break;
    case ToolKind::Stamp:
      DrawFigList(canvas, fig->StampData, p1.X, p1.Y);
      break;
    default:
      break;
  }
}

template <class Canvas>
void DrawContents(Canvas& canvas, const std::vector<Figure>& figures, int X, int Y) {
  // Stamps inside stamps are walked with an explicit stack: a drawing read
  // from a file may nest them deeper than the call stack would allow.
  struct FrameState {
    const Figure* Next;
    const Figure* End;
    int32_t X, Y;
  };
  std::vector<FrameState> stack{{figures.data(), figures.data() + figures.size(), X, Y}};
  while (!stack.empty()) {
    FrameState& top = stack.back();
    if (top.Next == top.End) {
      stack.pop_back();
      continue;
    }
    const Figure& fig = *top.Next++;
    const int32_t x = top.X, y = top.Y;
    if (fig.DrawingTool == ToolKind::Stamp) {
      const std::vector<Figure>& inner = fig.StampData;
      stack.push_back({inner.data(), inner.data() + inner.size(), WrapAdd(x, fig.Start.X), WrapAdd(y, fig.Start.Y)});
    } else {
      DrawOne(canvas, &fig, x, y, DrawMode::Copy);
    }
  }
}

template <class Canvas>
void DrawList(Canvas& canvas, const FigureList* list, int X, int Y) {
  if (list == nullptr) return;
  for (const Figure& fig : *list) {
    if (fig.DrawingTool == ToolKind::Stamp)
      DrawContents(canvas, fig.StampData, WrapAdd(X, fig.Start.X), WrapAdd(Y, fig.Start.Y));
    else
      DrawOne(canvas, &fig, X, Y, DrawMode::Copy);
  }
}

}  // namespace

void DrawFigure(RasterCanvas& canvas, const Figure* fig, int X, int Y, DrawMode penMode) {
  DrawOne(canvas, fig, X, Y, penMode);
}
void DrawFigList(RasterCanvas& canvas, const FigureList* list, int X, int Y) { DrawList(canvas, list, X, Y); }
void DrawFigList(RasterCanvas& canvas, const std::vector<Figure>& figures, int X, int Y) {
  DrawContents(canvas, figures, X, Y);
}
void DrawFigure(VectorCanvas& canvas, const Figure* fig, int X, int Y, DrawMode penMode) {
  DrawOne(canvas, fig, X, Y, penMode);
}
void DrawFigList(VectorCanvas& canvas, const FigureList* list, int X, int Y) { DrawList(canvas, list, X, Y); }
void DrawFigList(VectorCanvas& canvas, const std::vector<Figure>& figures, int X, int Y) {
  DrawContents(canvas, figures, X, Y);
}

void DrawSelectionFrame(RasterCanvas& canvas, const Figure& fig) {
  SetFramePen(canvas);
  canvas.Rectangle(WrapSub(fig.Start.X, 3), WrapSub(fig.Start.Y, 3), WrapAdd(fig.End.X, 3), WrapAdd(fig.End.Y, 3));
}

void DrawSelectionFrame(VectorCanvas& canvas, const Figure& fig) {
  canvas.PenWidth = 1;
  canvas.PenStyle = LineStyle::Dot;
  canvas.PenColor = clBlack;
  canvas.BrushStyle = FillStyle::Clear;
  canvas.PenMode = DrawMode::NotXor;
  canvas.Rectangle(WrapSub(fig.Start.X, 3), WrapSub(fig.Start.Y, 3), WrapAdd(fig.End.X, 3), WrapAdd(fig.End.Y, 3));
}

void ResetDrawingPen(RasterCanvas& canvas) {
  canvas.PenWidth = 4;
  canvas.PenStyle = LineStyle::Solid;
  canvas.PenColor = clBlack;
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = FillStyle::Solid;
  canvas.PenMode = DrawMode::Copy;
}

void SetFramePen(RasterCanvas& canvas) {
  canvas.PenWidth = 1;
  canvas.PenStyle = LineStyle::Dot;
  canvas.PenColor = clBlack;
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = FillStyle::Solid;
  canvas.PenMode = DrawMode::NotXor;
}

namespace {

QImage WhiteCanvas() {
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

}  // namespace

CanvasComposer::CanvasComposer(AppState& state)
    : WorkBitmap(WhiteCanvas()), BGPicture(WhiteCanvas()), S(state) {}

void CanvasComposer::BlankBGImage() {
  if (BGPicture.isNull()) BGPicture = WhiteCanvas();
  RasterCanvas canvas(&BGPicture);
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = FillStyle::Solid;
  canvas.FillRect(QRect(0, 0, kCanvasWidth, kCanvasHeight));
}

namespace {

bool SameKey(const std::vector<int32_t>& a, const std::vector<size_t>& as, size_t i, const std::vector<int32_t>& b,
             const std::vector<size_t>& bs, size_t j) {
  const size_t n = as[i + 1] - as[i];
  return n == bs[j + 1] - bs[j] && std::equal(a.begin() + as[i], a.begin() + as[i + 1], b.begin() + bs[j]);
}

// Recomposing boxes pays off only for a few changed figures on a part of
// the canvas; beyond these the whole canvas is recomposed.
constexpr size_t kMaxChangedFigures = 64;
constexpr int64_t kMaxDirtyArea = int64_t(kCanvasWidth) * kCanvasHeight / 2;

}  // namespace

// The background alone in `box` of `into`: the picture from its top-left
// corner, white where it does not reach.
void CanvasComposer::BackgroundInto(QImage& into, const QRect& box) const {
  const QImage bg = BGPicture.format() == QImage::Format_RGB32 ? BGPicture
                                                               : BGPicture.convertToFormat(QImage::Format_RGB32);
  const QRect r = box.intersected(into.rect());
  if (r.isEmpty()) return;
  const int w = std::min(bg.width(), kCanvasWidth), h = std::min(bg.height(), kCanvasHeight);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(into.scanLine(y));
    int x = r.left();
    if (y < h && x < w) {
      const int end = std::min(r.right() + 1, w);
      std::memcpy(row + x, reinterpret_cast<const QRgb*>(bg.constScanLine(y)) + x, size_t(end - x) * 4);
      x = end;
    }
    if (x <= r.right()) std::fill(row + x, row + r.right() + 1, QRgb(0xFFFFFFFF));
  }
}

void CanvasComposer::DrawNew(RasterCanvas& canvas, size_t i) {
  const int32_t* key = m_newKeys.data() + m_newKeyStart[i];
  FigurePictures.Draw(canvas, *m_figs[i], key, m_newKeyStart[i + 1] - m_newKeyStart[i]);
}

void CanvasComposer::ComposeAll() {
  // 1. The background, pixel for pixel from its top-left corner; white
  // where a smaller picture does not reach.
  const QImage bg = BGPicture.format() == QImage::Format_RGB32 ? BGPicture
                                                               : BGPicture.convertToFormat(QImage::Format_RGB32);
  const int w = std::min(bg.width(), kCanvasWidth), h = std::min(bg.height(), kCanvasHeight);
  if (w < kCanvasWidth || h < kCanvasHeight) WorkBitmap.fill(Qt::white);
  for (int y = 0; y < h; ++y) std::memcpy(WorkBitmap.scanLine(y), bg.constScanLine(y), size_t(w) * 4);
  // 2. Every figure, back to front, noting where each one draws.
  m_newExtents.assign(m_figs.size(), QRect());
  for (size_t i = 0; i < m_figs.size(); ++i) {
    WorkCanvas.TrackExtent = &m_newExtents[i];
    DrawNew(WorkCanvas, i);
  }
  WorkCanvas.TrackExtent = nullptr;
}

// WorkBitmap holds the figures of m_keys on the same background: brings it
// to the figures of m_newKeys. False when a full recomposition is cheaper.
bool CanvasComposer::ComposeChanges() {
  const size_t oldCount = m_extents.size(), newCount = m_figs.size();
  const size_t common = std::min(oldCount, newCount);
  size_t prefix = 0;
  while (prefix < common && SameKey(m_keys, m_keyStart, prefix, m_newKeys, m_newKeyStart, prefix)) ++prefix;
  size_t suffix = 0;
  while (suffix < common - prefix &&
         SameKey(m_keys, m_keyStart, oldCount - 1 - suffix, m_newKeys, m_newKeyStart, newCount - 1 - suffix))
    ++suffix;
  // Figures outside the changed middle keep their place in the drawing
  // order and their boxes.
  m_newExtents.assign(newCount, QRect());
  std::copy(m_extents.begin(), m_extents.begin() + prefix, m_newExtents.begin());
  std::copy(m_extents.end() - suffix, m_extents.end(), m_newExtents.end() - suffix);

  if (prefix == oldCount) {
    // Only figures added on top: drawn onto the picture as it is.
    for (size_t i = prefix; i < newCount; ++i) {
      WorkCanvas.TrackExtent = &m_newExtents[i];
      DrawNew(WorkCanvas, i);
    }
    WorkCanvas.TrackExtent = nullptr;
    return true;
  }
  if ((oldCount - prefix - suffix) + (newCount - prefix - suffix) > kMaxChangedFigures) return false;
  // Of the canvas's size, so that boxes measured on it are those of WorkBitmap.
  if (m_scratch.size() != WorkBitmap.size() || m_scratch.format() != QImage::Format_RGB32)
    m_scratch = QImage(WorkBitmap.size(), QImage::Format_RGB32);

  // A pixel outside the boxes of the changed figures is covered by the same
  // figures in the same order as before. Inside them, it is made again on
  // the scratch picture from the background and every figure whose box
  // reaches it (each drawn whole: a figure's pixels never depend on where
  // else it draws).
  std::vector<QRect> dirty;
  int64_t area = 0;
  auto addDirty = [&](const QRect& r) {
    if (r.isEmpty()) return;
    dirty.push_back(r);
    area += int64_t(r.width()) * r.height();
  };
  for (size_t i = prefix; i < oldCount - suffix; ++i) addDirty(m_extents[i]);
  m_scratchCanvas.MeasureOnly = true;
  for (size_t i = prefix; i < newCount - suffix; ++i) {
    m_scratchCanvas.TrackExtent = &m_newExtents[i];
    DrawNew(m_scratchCanvas, i);
    addDirty(m_newExtents[i]);
  }
  m_scratchCanvas.MeasureOnly = false;
  m_scratchCanvas.TrackExtent = nullptr;
  if (area > kMaxDirtyArea) return false;
  if (dirty.empty()) return true;

  for (const QRect& r : dirty) BackgroundInto(m_scratch, r);
  for (size_t i = 0; i < newCount; ++i) {
    const QRect& e = m_newExtents[i];
    if (e.isEmpty()) continue;
    if (std::any_of(dirty.begin(), dirty.end(), [&](const QRect& r) { return r.intersects(e); }))
      DrawNew(m_scratchCanvas, i);
  }
  for (const QRect& r : dirty)
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::memcpy(reinterpret_cast<QRgb*>(WorkBitmap.scanLine(y)) + r.left(),
                  reinterpret_cast<const QRgb*>(m_scratch.constScanLine(y)) + r.left(), size_t(r.width()) * 4);
  return true;
}

void CanvasComposer::PaintBoxPaint() {
  if (WorkBitmap.size() != QSize(kCanvasWidth, kCanvasHeight) || WorkBitmap.format() != QImage::Format_RGB32)
    WorkBitmap = WhiteCanvas();
  // The last composition is a base only if nobody has changed either
  // picture since (any change to a QImage changes its cache key).
  const bool reuse = CanReuse();
  m_valid = false;
  if (reuse && m_frameDrawn) {
    // Drawing the frame again removes it.
    Figure frame;
    frame.Start = m_frameStart;
    frame.End = m_frameEnd;
    DrawSelectionFrame(WorkCanvas, frame);
  }
  m_frameDrawn = false;

  m_figs.clear();
  m_newKeys.clear();
  m_newKeyStart.assign(1, 0);
  for (const Figure& drawn : S.Figures()) {
    const Figure& fig = S.Shown(drawn);  // a resize or a drag under way shows its preview
    m_figs.push_back(&fig);
    AppendFigureKey(m_newKeys, fig);
    m_newKeyStart.push_back(m_newKeys.size());
  }
  // Background and figures.
  if (!reuse || !ComposeChanges()) ComposeAll();
  std::swap(m_keys, m_newKeys);
  std::swap(m_keyStart, m_newKeyStart);
  std::swap(m_extents, m_newExtents);
  // The selection frame.
  if (S.SelectedFig != nullptr) {
    const Figure& selected = S.Shown(*S.SelectedFig);
    DrawSelectionFrame(WorkCanvas, selected);
    m_frameDrawn = true;
    m_frameStart = m_frameFigure.Start = selected.Start;
    m_frameEnd = m_frameFigure.End = selected.End;
  }
  Remember();
  // Onto the screen.
  if (OnShow) OnShow(WorkBitmap);
}

bool CanvasComposer::CanReuse() const {
  return Incremental && m_valid && WorkBitmap.cacheKey() == m_workKey && BGPicture.cacheKey() == m_bgKey;
}

void CanvasComposer::Remember() {
  if (!Incremental) return;
  m_valid = true;
  m_workKey = WorkBitmap.cacheKey();
  m_bgKey = BGPicture.cacheKey();
}

void CanvasComposer::PaintFigureAddedOnTop() {
  if (!CanReuse() || m_frameDrawn || S.SelectedFig != nullptr || S.Figures().Count() < 1 ||
      size_t(S.Figures().Count()) != m_extents.size() + 1) {
    PaintBoxPaint();
    return;
  }
  // The figures below are those drawn last time, in the same order: the
  // picture holds them, and a figure drawn on top of it gives the pixels a
  // full composition gives (each figure covers what it draws on, whatever
  // was there).
  const Figure& fig = S.Figures().Last();
  const size_t start = m_keys.size();
  AppendFigureKey(m_keys, fig);
  m_keyStart.push_back(m_keys.size());
  m_extents.emplace_back();
  WorkCanvas.TrackExtent = &m_extents.back();
  FigurePictures.Draw(WorkCanvas, fig, m_keys.data() + start, m_keys.size() - start);
  WorkCanvas.TrackExtent = nullptr;
  ++FiguresAddedOnTop;
  Remember();
  if (OnShow) OnShow(WorkBitmap);
}
