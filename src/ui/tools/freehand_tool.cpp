#include "ui/tools/freehand_tool.h"

void FreehandTool::Press(Point p) {
  m_points.Reset();
  m_dragging = true;
  m_anchor = m_last = p;
  Screen().BrushStyle = FillStyle::Clear;
  m_points.AddPoint(p.X, p.Y);
  m_host.ScreenChanged();
}

void FreehandTool::Move(Point p) {
  if (m_dragging) {
    RasterCanvas& c = Screen();
    UseSolidPen(c);
    c.PenMode = DrawMode::Copy;
    c.Line(m_last, p);
    m_points.AddPoint(p.X, p.Y);
    m_host.ScreenChanged();
  }
  m_last = p;
}

void FreehandTool::Release(Point p) {
  if (!m_dragging || p == m_anchor) {
    // A stroke back to its start, or the release of a stroke ended before.
    m_dragging = false;
    Tool::Release(p);
    return;
  }
  m_dragging = false;
  UseDrawingPen();
  Screen().Line(m_last, p);
  m_points.AddPoint(p.X, p.Y);
  m_host.ScreenChanged();
  MakeFigure(ToolKind::FreeLine, m_anchor, p, &m_points);
}

void FreehandTool::Interrupt() {
  if (!m_dragging) return;
  m_dragging = false;
  m_host.Repaint();  // the unfinished stroke goes
}
