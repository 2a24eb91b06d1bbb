// The paint box's mouse events: every drawing tool in the draw mode,
// selecting and dragging figures in the edit mode. The view mode ignores the
// mouse.
//
// While a figure is being made, feedback goes straight onto the paint box's
// screen image: a rubber band drawn dotted, 1 px, in not-xor mode so that
// drawing it again erases it, and at the release the finished figure. The
// picture is only recomposed by the next PaintBoxPaint.
#include "ui/mousectl.h"

#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cstdint>

#include "history/actions.h"
#include "render/paint.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"

bool HitTest(Point A, Point B, Point P) {
  // 64-bit: coordinates read from a file may lie near the 32-bit limits.
  const int64_t left = std::min<int64_t>(A.X, B.X), right = std::max<int64_t>(A.X, B.X);
  const int64_t top = std::min<int64_t>(A.Y, B.Y), bottom = std::max<int64_t>(A.Y, B.Y);
  return left - 3 <= P.X && P.X <= right + 3 && top - 3 <= P.Y && P.Y <= bottom + 3;
}

namespace {

void SetRubberPen(RasterCanvas& c) {
  c.PenStyle = LineStyle::Dot;
  c.PenWidth = 1;
  c.PenMode = DrawMode::NotXor;
}

void SetSolidPen(RasterCanvas& c) {
  c.PenStyle = LineStyle::Solid;
  c.PenWidth = 4;
}

// The primitive a drawing tool shows between two corners: the rubber band
// and the finished shape share it.
void DrawToolShape(RasterCanvas& c, ToolKind tool, Point a, Point b) {
  switch (tool) {
    case ToolKind::Ellipse:
      c.Ellipse(a.X, a.Y, b.X, b.Y);
      break;
    case ToolKind::Rectangle:
    case ToolKind::SetStamp:
      c.Rectangle(a.X, a.Y, b.X, b.Y);
      break;
    case ToolKind::Line:
    case ToolKind::Polyline:
    case ToolKind::Polygon:
      c.Line(a, b);
      break;
    default:
      break;
  }
}

}  // namespace

void MainWindow::PaintBoxMouseDown(int X, int Y) {
  const Point P{X, Y};
  RasterCanvas& c = PaintBox->Canvas;

  if (S.WorkMode == WindowMode::Draw) {
    if (!S.PolyDrawing) S.PointBuffer.Reset();
    switch (S.CurrentTool) {
      case ToolKind::None:
        // The selection tool: into the edit mode, then select at this point.
        DrawPanel->hide();
        EditPanel->show();
        SelectEditBtn->setChecked(true);
        S.WorkMode = WindowMode::Edit;
        break;
      case ToolKind::Text:
        InputEdit->move(X, Y);
        InputEdit->show();
        InputEdit->raise();
        InputEdit->setFocus();
        return;
      case ToolKind::Stamp:
        return;
      default:
        if (S.PolyDrawing) {
          // Another vertex of the polyline or polygon under way.
          SetSolidPen(c);
          c.BrushStyle = FillStyle::Solid;
          c.PenMode = DrawMode::Copy;
          c.Line(S.AnchorPoint, P);
          S.VertexAdded = true;
          S.PointBuffer.AddPoint(X, Y);
        } else {
          S.Dragging = true;
          S.AnchorPoint = S.LastPoint = P;
          c.BrushStyle = FillStyle::Clear;  // rubber shapes are hollow
          S.PointBuffer.AddPoint(X, Y);
        }
        PaintBox->Changed();
        return;
    }
  }

  if (S.WorkMode != WindowMode::Edit) return;

  // Edit mode: the front-most figure whose box holds the point.
  FigureItem* hit = nullptr;
  for (FigureItem* f = S.DrawingFigs.GetTail(); f && f != S.DrawingFigs.GetHead(); f = FigureList::GetPrev(f)) {
    if (HitTest(f->Data.Start, f->Data.End, P)) {
      hit = f;
      break;
    }
  }
  if (hit) {
    S.SelectedFig = hit;
    S.AnchorPoint = S.PressPoint = P;
    S.MovingFig = true;
    if (S.MarkedFig) DrawSelectionFrame(c, S.MarkedFig->Data);  // removes the old frame
    DrawSelectionFrame(c, S.SelectedFig->Data);
    S.MarkedFig = S.SelectedFig;
    PaintBox->Changed();
  } else if (S.SelectedFig) {
    DrawSelectionFrame(c, S.SelectedFig->Data);  // removes its frame
    S.MarkedFig = nullptr;
    S.SelectedFig = nullptr;
    PaintBox->Changed();
  }
}

void MainWindow::PaintBoxMouseMove(int X, int Y) {
  const Point P{X, Y};
  RasterCanvas& c = PaintBox->Canvas;

  if (S.WorkMode == WindowMode::Draw) {
    if (S.Dragging) {
      const ToolKind tool = S.CurrentTool;
      if (tool == ToolKind::FreeLine) {
        SetSolidPen(c);
        c.PenMode = DrawMode::Copy;
        c.Line(S.LastPoint, P);
        S.PointBuffer.AddPoint(X, Y);
      } else {
        SetRubberPen(c);
        if ((tool == ToolKind::Polyline || tool == ToolKind::Polygon) && S.VertexAdded) {
          S.AnchorPoint = S.LastPoint = P;
          S.VertexAdded = false;
        }
        DrawToolShape(c, tool, S.AnchorPoint, S.LastPoint);  // erases the old band
        DrawToolShape(c, tool, S.AnchorPoint, P);
      }
      PaintBox->Changed();
    }
    S.LastPoint = P;
    c.PenMode = DrawMode::Copy;
    return;
  }

  if (S.WorkMode != WindowMode::Edit) return;
  RecordPendingResize(S);
  if (S.MovingFig && S.SelectedFig) {
    S.SelectedFig->Data.Offset(WrapSub(X, S.AnchorPoint.X), WrapSub(Y, S.AnchorPoint.Y));
    S.AnchorPoint = P;
    PaintBoxPaint();
  }
}

void MainWindow::PaintBoxMouseUp(int X, int Y) {
  const Point P{X, Y};
  RasterCanvas& c = PaintBox->Canvas;

  if (S.WorkMode == WindowMode::Draw) {
    if (S.CurrentTool == ToolKind::SetStamp) {
      SetRubberPen(c);
      c.Rectangle(S.AnchorPoint.X, S.AnchorPoint.Y, X, Y);  // removes the rubber band
      c.PenMode = DrawMode::Copy;
      SelectionBtn->setChecked(true);
      S.CurrentTool = ToolKind::None;
      if (X != S.AnchorPoint.X && Y != S.AnchorPoint.Y) MakeStamp(S.AnchorPoint, P);
      PaintBox->Changed();
    }

    S.Dragging = false;
    SetSolidPen(c);
    c.BrushStyle = FillStyle::Solid;

    const bool unmoved = P == S.AnchorPoint;
    bool make = false;
    switch (S.CurrentTool) {
      case ToolKind::Line:
        if (unmoved) break;
        c.Line(S.AnchorPoint, P);
        make = true;
        break;
      case ToolKind::FreeLine:
        if (unmoved) break;
        c.Line(S.LastPoint, P);
        S.PointBuffer.AddPoint(X, Y);
        make = true;
        break;
      case ToolKind::Ellipse:
      case ToolKind::Rectangle:
        if (unmoved) break;
        DrawToolShape(c, S.CurrentTool, S.AnchorPoint, P);
        make = true;
        break;
      case ToolKind::Polyline:
      case ToolKind::Polygon:
        S.VertexAdded = false;
        if (unmoved) {
          // A release on the last vertex finishes the figure.
          if (S.CurrentTool == ToolKind::Polygon) c.Polygon(S.PointBuffer.Points.get(), S.PointBuffer.Count);
          S.Dragging = false;
          S.PolyDrawing = false;
          for (QMenu* menu : {FileMenu, DrawMenu, ToolMenu}) SetMenuEnabled(menu, true);
          make = S.PointBuffer.Count > 1;
        } else {
          S.Dragging = true;
          S.PolyDrawing = true;
          for (QMenu* menu : {FileMenu, DrawMenu, ToolMenu}) SetMenuEnabled(menu, false);
          c.Line(S.AnchorPoint, P);
          S.PointBuffer.AddPoint(X, Y);
          S.AnchorPoint = S.LastPoint = P;
        }
        break;
      case ToolKind::Stamp:
        if (S.CurrentStamp) {
          // The contents are drawn with their own attributes; the draw-mode
          // pen and brush stay as they were.
          RasterCanvas saved = c;
          DrawFigList(c, S.CurrentStamp.get(), X, Y);
          c = saved;
          make = true;
        }
        break;
      default:
        break;
    }
    PaintBox->Changed();
    if (!make) {
      // A click that made nothing may have left a rubber band or a lone
      // vertex on the screen: show the drawing as it is. A polyline under
      // way keeps its segments on the screen.
      if (!S.PolyDrawing) PaintBoxPaint();
      return;
    }

    // Make the figure from the template with the draw-mode attributes.
    Figure& t = S.FigTemplate;
    t.DrawingTool = S.CurrentTool;
    t.PenWidth = c.PenWidth;
    t.PenColor = c.PenColor;
    t.BrushColor = c.BrushColor;
    t.BrushStyle = c.BrushStyle == FillStyle::Clear ? 1 : 0;
    t.Start = S.AnchorPoint;
    t.End = P;
    t.PointData = nullptr;
    t.StampData = nullptr;
    if (IsPointFigure(S.CurrentTool)) t.PointData = &S.PointBuffer;
    if (S.CurrentTool == ToolKind::Stamp) {
      t.Start = P;
      t.End = Point{WrapAdd(X, WrapSub(S.StampBottomRight.X, S.StampTopLeft.X)),
                     WrapAdd(Y, WrapSub(S.StampBottomRight.Y, S.StampTopLeft.Y))};
      t.StampData = S.CurrentStamp.get();
    }
    CreateFigure(S, t);
    // The template must not keep pointing at buffers it does not own.
    t.PointData = nullptr;
    t.StampData = nullptr;
    return;
  }

  if (S.WorkMode != WindowMode::Edit) return;
  S.MovingFig = false;
  if (FigureItem* sel = S.SelectedFig) {
    const Figure& f = sel->Data;
    S.ResizeStart = f.Start;
    S.ResizeEnd = f.End;
    S.ResizeTextSize = f.TextSize;
    if (IsPointFigure(f.DrawingTool) && f.PointData) {
      const int32_t n = std::min<int32_t>(f.PointData->Count, MaxPoints);
      std::copy(f.PointData->Points.get(), f.PointData->Points.get() + n, S.ResizePoints.begin());
    }
    if (X != S.PressPoint.X || Y != S.PressPoint.Y) RecordMoveOfSelected(S);
  }
  HTrackBar->setValue(0);
  VTrackBar->setValue(0);
}
