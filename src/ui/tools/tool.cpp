#include "ui/tools/tool.h"

#include "history/actions.h"

Figure FigureStyle::NewFigure(ToolKind kind, Point start, Point end) const {
  Figure f;
  f.DrawingTool = kind;
  f.PenWidth = PenWidth;
  f.PenColor = PenColor;
  f.BrushColor = BrushColor;
  f.BrushStyle = BrushStyle;
  f.TextSize = TextSize;
  f.TextColor = TextColor;
  f.Text = Text;
  f.Start = start;
  f.End = end;
  return f;
}

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
  FigureStyle style = m_host.Style();
  style.PenWidth = c.PenWidth;
  style.PenColor = c.PenColor;
  style.BrushColor = c.BrushColor;
  style.BrushStyle = c.BrushStyle == FillStyle::Clear ? 1 : 0;
  Figure figure = style.NewFigure(kind, start, end);
  if (points != nullptr) figure.PointData = *points;
  if (stamp != nullptr) figure.StampData = *stamp;
  m_host.KeepStyle(std::move(style));
  CreateFigure(State(), figure);
  m_host.Recorded();
}
