#include "render/paint.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "render/figure_pictures.h"

void DrawFigure(TCanvas& canvas, const TFigData* fig, int X, int Y, TPenMode penMode) {
  canvas.PenMode = penMode;
  if (fig == nullptr) return;
  const TPoint p1{WrapAdd(X, fig->Start.X), WrapAdd(Y, fig->Start.Y)};
  const TPoint p2{WrapAdd(X, fig->End.X), WrapAdd(Y, fig->End.Y)};
  canvas.PenWidth = fig->PenWidth;
  canvas.PenColor = fig->PenColor;
  canvas.BrushColor = fig->BrushColor;
  canvas.BrushStyle = fig->BrushColor == clBtnFace ? bsClear : bsSolid;
  canvas.PenStyle = psSolid;

  std::array<TPoint, MaxPoints> vertices;
  int count = 0;
  if (IsPointFigure(fig->DrawingTool) && fig->PointData != nullptr) {
    const TPointData& pd = *fig->PointData;
    count = std::clamp(pd.Count, 0, std::min(MaxPoints, pd.Capacity()));
    for (int i = 0; i < count; ++i)
      vertices[i] = TPoint{WrapAdd(X, pd.Points[i].X), WrapAdd(Y, pd.Points[i].Y)};
  }

  switch (fig->DrawingTool) {
    case dtText:
      // The text's background stays transparent whatever its fill colour.
      canvas.BrushStyle = bsClear;
      canvas.FontSize = fig->TextSize;
      canvas.FontColor = fig->TextColor;
      canvas.TextOut(p1.X, p1.Y, fig->Text);
      break;
    case dtLine:
      canvas.Line(p1, p2);
      break;
    case dtFreeLine:
    case dtPolyline:
      canvas.Polyline(vertices.data(), count);
      break;
    case dtPolygon:
      canvas.Polygon(vertices.data(), count);
      break;
    case dtEllipse:
      canvas.Ellipse(p1.X, p1.Y, p2.X, p2.Y);
      break;
    case dtRectangle:
      canvas.Rectangle(p1.X, p1.Y, p2.X, p2.Y);
      break;
    case dtStamp:
      DrawFigList(canvas, fig->StampData, p1.X, p1.Y);
      break;
    default:
      break;
  }
}

void DrawFigList(TCanvas& canvas, const TFigList* list, int X, int Y) {
  if (list == nullptr) return;
  // Stamps inside stamps are walked with an explicit stack: a drawing read
  // from a file may nest them deeper than the call stack would allow.
  struct TFrame {
    const TFigItem* Next;
    int32_t X, Y;
  };
  std::vector<TFrame> stack{{list->Head->Next, X, Y}};
  while (!stack.empty()) {
    TFrame& top = stack.back();
    const TFigItem* item = top.Next;
    if (item == nullptr) {
      stack.pop_back();
      continue;
    }
    top.Next = item->Next;
    const int32_t x = top.X, y = top.Y;
    const TFigData& fig = item->Data;
    if (fig.DrawingTool == dtStamp) {
      if (fig.StampData != nullptr)
        stack.push_back({fig.StampData->Head->Next, WrapAdd(x, fig.Start.X), WrapAdd(y, fig.Start.Y)});
    } else {
      DrawFigure(canvas, &fig, x, y, pmCopy);
    }
  }
}

void DrawSelectionFrame(TCanvas& canvas, const TFigData& fig) {
  SetFramePen(canvas);
  canvas.Rectangle(WrapSub(fig.Start.X, 3), WrapSub(fig.Start.Y, 3), WrapAdd(fig.End.X, 3), WrapAdd(fig.End.Y, 3));
}

void ResetDrawingPen(TCanvas& canvas) {
  canvas.PenWidth = 4;
  canvas.PenStyle = psSolid;
  canvas.PenColor = clBlack;
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = bsSolid;
  canvas.PenMode = pmCopy;
}

void SetFramePen(TCanvas& canvas) {
  canvas.PenWidth = 1;
  canvas.PenStyle = psDot;
  canvas.PenColor = clBlack;
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = bsSolid;
  canvas.PenMode = pmNotXor;
}

namespace {

QImage WhiteCanvas() {
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

}  // namespace

TCanvasComposer::TCanvasComposer(TTamloState& state)
    : WorkBitmap(WhiteCanvas()), BGPicture(WhiteCanvas()), S(state) {}

void TCanvasComposer::BlankBGImage() {
  if (BGPicture.isNull()) BGPicture = WhiteCanvas();
  TCanvas canvas(&BGPicture);
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = bsSolid;
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
void TCanvasComposer::BackgroundInto(QImage& into, const QRect& box) const {
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

void TCanvasComposer::DrawNew(TCanvas& canvas, size_t i) {
  const int32_t* key = FNewKeys.data() + FNewKeyStart[i];
  FigurePictures.Draw(canvas, *FFigs[i], key, FNewKeyStart[i + 1] - FNewKeyStart[i]);
}

void TCanvasComposer::ComposeAll() {
  // 1. The background, pixel for pixel from its top-left corner; white
  // where a smaller picture does not reach.
  const QImage bg = BGPicture.format() == QImage::Format_RGB32 ? BGPicture
                                                               : BGPicture.convertToFormat(QImage::Format_RGB32);
  const int w = std::min(bg.width(), kCanvasWidth), h = std::min(bg.height(), kCanvasHeight);
  if (w < kCanvasWidth || h < kCanvasHeight) WorkBitmap.fill(Qt::white);
  for (int y = 0; y < h; ++y) std::memcpy(WorkBitmap.scanLine(y), bg.constScanLine(y), size_t(w) * 4);
  // 2. Every figure, back to front, noting where each one draws.
  FNewExtents.assign(FFigs.size(), QRect());
  for (size_t i = 0; i < FFigs.size(); ++i) {
    WorkCanvas.TrackExtent = &FNewExtents[i];
    DrawNew(WorkCanvas, i);
  }
  WorkCanvas.TrackExtent = nullptr;
}

// WorkBitmap holds the figures of FKeys on the same background: brings it
// to the figures of FNewKeys. False when a full recomposition is cheaper.
bool TCanvasComposer::ComposeChanges() {
  const size_t oldCount = FExtents.size(), newCount = FFigs.size();
  const size_t common = std::min(oldCount, newCount);
  size_t prefix = 0;
  while (prefix < common && SameKey(FKeys, FKeyStart, prefix, FNewKeys, FNewKeyStart, prefix)) ++prefix;
  size_t suffix = 0;
  while (suffix < common - prefix &&
         SameKey(FKeys, FKeyStart, oldCount - 1 - suffix, FNewKeys, FNewKeyStart, newCount - 1 - suffix))
    ++suffix;
  // Figures outside the changed middle keep their place in the drawing
  // order and their boxes.
  FNewExtents.assign(newCount, QRect());
  std::copy(FExtents.begin(), FExtents.begin() + prefix, FNewExtents.begin());
  std::copy(FExtents.end() - suffix, FExtents.end(), FNewExtents.end() - suffix);

  if (prefix == oldCount) {
    // Only figures added on top: drawn onto the picture as it is.
    for (size_t i = prefix; i < newCount; ++i) {
      WorkCanvas.TrackExtent = &FNewExtents[i];
      DrawNew(WorkCanvas, i);
    }
    WorkCanvas.TrackExtent = nullptr;
    return true;
  }
  if ((oldCount - prefix - suffix) + (newCount - prefix - suffix) > kMaxChangedFigures) return false;
  // Of the canvas's size, so that boxes measured on it are those of WorkBitmap.
  if (FScratch.size() != WorkBitmap.size() || FScratch.format() != QImage::Format_RGB32)
    FScratch = QImage(WorkBitmap.size(), QImage::Format_RGB32);

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
  for (size_t i = prefix; i < oldCount - suffix; ++i) addDirty(FExtents[i]);
  FScratchCanvas.MeasureOnly = true;
  for (size_t i = prefix; i < newCount - suffix; ++i) {
    FScratchCanvas.TrackExtent = &FNewExtents[i];
    DrawNew(FScratchCanvas, i);
    addDirty(FNewExtents[i]);
  }
  FScratchCanvas.MeasureOnly = false;
  FScratchCanvas.TrackExtent = nullptr;
  if (area > kMaxDirtyArea) return false;
  if (dirty.empty()) return true;

  for (const QRect& r : dirty) BackgroundInto(FScratch, r);
  for (size_t i = 0; i < newCount; ++i) {
    const QRect& e = FNewExtents[i];
    if (e.isEmpty()) continue;
    if (std::any_of(dirty.begin(), dirty.end(), [&](const QRect& r) { return r.intersects(e); }))
      DrawNew(FScratchCanvas, i);
  }
  for (const QRect& r : dirty)
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::memcpy(reinterpret_cast<QRgb*>(WorkBitmap.scanLine(y)) + r.left(),
                  reinterpret_cast<const QRgb*>(FScratch.constScanLine(y)) + r.left(), size_t(r.width()) * 4);
  return true;
}

void TCanvasComposer::PaintBoxPaint() {
  if (WorkBitmap.size() != QSize(kCanvasWidth, kCanvasHeight) || WorkBitmap.format() != QImage::Format_RGB32)
    WorkBitmap = WhiteCanvas();
  // The last composition is a base only if nobody has changed either
  // picture since (any change to a QImage changes its cache key).
  const bool reuse =
      Incremental && FValid && WorkBitmap.cacheKey() == FWorkKey && BGPicture.cacheKey() == FBGKey;
  FValid = false;
  if (reuse && FFrameDrawn) {
    // Drawing the frame again removes it.
    TFigData frame;
    frame.Start = FFrameStart;
    frame.End = FFrameEnd;
    DrawSelectionFrame(WorkCanvas, frame);
  }
  FFrameDrawn = false;

  FFigs.clear();
  FNewKeys.clear();
  FNewKeyStart.assign(1, 0);
  for (const TFigItem* item = S.DrawingFigs.Head->Next; item != nullptr; item = item->Next) {
    FFigs.push_back(&item->Data);
    AppendFigureKey(FNewKeys, item->Data);
    FNewKeyStart.push_back(FNewKeys.size());
  }
  // Background and figures.
  if (!reuse || !ComposeChanges()) ComposeAll();
  std::swap(FKeys, FNewKeys);
  std::swap(FKeyStart, FNewKeyStart);
  std::swap(FExtents, FNewExtents);
  // The selection frame.
  if (S.SelectedFig != nullptr) {
    DrawSelectionFrame(WorkCanvas, S.SelectedFig->Data);
    FFrameDrawn = true;
    FFrameStart = S.SelectedFig->Data.Start;
    FFrameEnd = S.SelectedFig->Data.End;
  }
  if (Incremental) {
    FValid = true;
    FWorkKey = WorkBitmap.cacheKey();
    FBGKey = BGPicture.cacheKey();
  }
  // Onto the screen.
  if (OnShow) OnShow(WorkBitmap);
}
