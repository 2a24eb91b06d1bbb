#include "render/paint.h"

#include <QPainter>
#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "io/picture.h"

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

TPictureStore::TPictureStore(TTamloState& state)
    : WorkBitmap(WhiteCanvas()), BGPicture(WhiteCanvas()), S(state) {}

int TPictureStore::LoadBGPicture(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path path(name);
  if (name.empty() || !std::filesystem::exists(path, ec) || std::filesystem::is_directory(path, ec)) return 1;
  // The extension runs from the last dot of the file name; letter case counts.
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const std::string ext =
      dot != std::string::npos && (slash == std::string::npos || dot > slash) ? name.substr(dot) : std::string();
  QImage picture;
  TPictureResult result;
  if (ext == ".bmp" || ext == ".BMP")
    result = ReadBMP(name, picture);
  else if (ext == ".jpg" || ext == ".JPG")
    result = ReadJPEG(name, picture);
  else
    return 0;
  if (!result.Ok) {
    S.Dialogs->ShowError(result.Error);
    return 2;
  }
  BGPicture = std::move(picture);
  return 0;
}

void TPictureStore::BlankBGImage() {
  if (BGPicture.isNull()) BGPicture = WhiteCanvas();
  TCanvas canvas(&BGPicture);
  canvas.BrushColor = clWhite;
  canvas.BrushStyle = bsSolid;
  canvas.FillRect(QRect(0, 0, kCanvasWidth, kCanvasHeight));
}

void TPictureStore::PaintBoxPaint() {
  if (WorkBitmap.size() != QSize(kCanvasWidth, kCanvasHeight) || WorkBitmap.format() != QImage::Format_RGB32)
    WorkBitmap = WhiteCanvas();
  // 1. The background, pixel for pixel from its top-left corner; white
  // where a smaller picture does not reach.
  const QImage bg = BGPicture.format() == QImage::Format_RGB32 ? BGPicture
                                                               : BGPicture.convertToFormat(QImage::Format_RGB32);
  const int w = std::min(bg.width(), kCanvasWidth), h = std::min(bg.height(), kCanvasHeight);
  if (w < kCanvasWidth || h < kCanvasHeight) WorkBitmap.fill(Qt::white);
  for (int y = 0; y < h; ++y) std::memcpy(WorkBitmap.scanLine(y), bg.constScanLine(y), size_t(w) * 4);
  // 2. Every figure, back to front.
  for (const TFigItem* item = S.DrawingFigs.Head->Next; item != nullptr; item = item->Next)
    DrawFigure(WorkCanvas, &item->Data, 0, 0, pmCopy);
  // 3. The selection frame.
  if (S.SelectedFig != nullptr) DrawSelectionFrame(WorkCanvas, S.SelectedFig->Data);
  // 4. Onto the screen.
  if (OnShow) OnShow(WorkBitmap);
}
