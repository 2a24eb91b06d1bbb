#include "ui/tools/polyline_tool.h"

void PolylineTool::Press(Point p) {
  RasterCanvas& c = Screen();
  if (m_underWay) {
    // Another vertex.
    UseSolidPen(c);
    c.BrushStyle = FillStyle::Solid;
    c.PenMode = DrawMode::Copy;
    c.Line(m_anchor, p);
    m_vertexAdded = true;
  } else {
    m_points.Reset();
    m_dragging = true;
    m_anchor = m_last = p;
    c.BrushStyle = FillStyle::Clear;
  }
  m_points.AddPoint(p.X, p.Y);
  m_host.ScreenChanged();
}

void PolylineTool::Move(Point p) {
  if (m_dragging) {
    RasterCanvas& c = Screen();
    UseRubberPen(c);
    if (m_vertexAdded) {
      m_anchor = m_last = p;
      m_vertexAdded = false;
    }
    DrawToolShape(c, m_kind, m_anchor, m_last);  // erases the old band
    DrawToolShape(c, m_kind, m_anchor, p);
    m_host.ScreenChanged();
  }
  m_last = p;
}

void PolylineTool::Release(Point p) {
  if (!m_dragging) {
    // The release of a first segment ended before.
    Tool::Release(p);
    return;
  }
  m_dragging = false;
  m_vertexAdded = false;
  UseDrawingPen();
  RasterCanvas& c = Screen();
  bool make = false;
  if (p == m_anchor) {
    // A release on the last vertex finishes the figure.
    if (m_kind == ToolKind::Polygon) c.Polygon(m_points.Points.data(), m_points.Count());
    m_underWay = false;
    m_host.SetMenusEnabled(true);
    make = m_points.Count() > 1;
  } else {
    m_dragging = true;
    m_underWay = true;
    m_host.SetMenusEnabled(false);
    c.Line(m_anchor, p);
    m_points.AddPoint(p.X, p.Y);
    m_anchor = m_last = p;
  }
  m_host.ScreenChanged();
  if (!make) {
    // A click that made nothing may have left a lone vertex on the screen:
    // show the drawing as it is. A figure under way keeps its segments on
    // the screen.
    if (!m_underWay) m_host.Repaint();
    return;
  }
  MakeFigure(m_kind, m_anchor, p, &m_points);
}

void PolylineTool::Interrupt() {
  // A figure under way keeps the tool and the mode: nothing interrupts it.
  if (!m_dragging || m_underWay) return;
  m_dragging = false;
  m_host.Repaint();
}
