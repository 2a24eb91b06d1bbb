#include "ui/tools/tool.h"

#include "history/actions.h"

void UseRubberPen(RasterCanvas& c) {
  c.PenStyle = LineStyle::Dot;
  c.PenWidth = 1;
  c.PenMode = DrawMode::NotXor;
}

void UseSolidPen(RasterCanvas& c) {
  c.PenStyle = LineStyle::Solid;
  c.PenWidth = 4;
}

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

void Tool::UseDrawingPen() {
  UseSolidPen(Screen());
  Screen().BrushStyle = FillStyle::Solid;
}

void Tool::Release(Point) {
  UseDrawingPen();
  m_host.ScreenChanged();
  m_host.Repaint();
}

void Tool::MakeFigure(ToolKind kind, Point start, Point end, const Vertex* points, const std::vector<Figure>* stamp) {
  const RasterCanvas& c = Screen();
  Figure& t = m_newFigure;
  t.DrawingTool = kind;
  t.PenWidth = c.PenWidth;
  t.PenColor = c.PenColor;
  t.BrushColor = c.BrushColor;
  t.BrushStyle = c.BrushStyle == FillStyle::Clear ? 1 : 0;
  t.Start = start;
  t.End = end;
  if (points != nullptr) t.PointData = *points;
  if (stamp != nullptr) t.StampData = *stamp;
  CreateFigure(State(), t);
  m_host.Recorded();
  // The template keeps no vertices or contents for the next figure.
  t.PointData.Reset();
  t.StampData.clear();
}
