#include "ui/tools/shape_tool.h"

void ShapeTool::Press(Point p) {
  m_dragging = true;
  m_anchor = m_last = p;
  Screen().BrushStyle = FillStyle::Clear;  // rubber shapes are hollow
  m_host.ScreenChanged();
}

void ShapeTool::Move(Point p) {
  if (m_dragging) {
    RasterCanvas& c = Screen();
    UseRubberPen(c);
    DrawToolShape(c, m_kind, m_anchor, m_last);  // erases the old band
    DrawToolShape(c, m_kind, m_anchor, p);
    m_host.ScreenChanged();
  }
  m_last = p;
}

void ShapeTool::Release(Point p) {
  if (!m_dragging || p == m_anchor) {
    // A click, or the release of a drag that was ended before.
    m_dragging = false;
    Tool::Release(p);
    return;
  }
  m_dragging = false;
  UseDrawingPen();
  DrawToolShape(Screen(), m_kind, m_anchor, p);
  m_host.ScreenChanged();
  MakeFigure(m_kind, m_anchor, p);
}

void ShapeTool::Interrupt() {
  if (!m_dragging) return;
  m_dragging = false;
  m_host.Repaint();  // the band goes
}
