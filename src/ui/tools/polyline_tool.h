// Polylines and polygons, one vertex per click. The first segment is
// dragged like a line; from then on the figure is under way: the rubber band
// follows the mouse with no button held, every press draws the segment to
// it, and a release on the last vertex (a second click there, or a double
// click) finishes the figure; a polygon is then filled. While a figure is
// under way the file, draw and tool menus are off and the window keeps the
// tool and the mode.
//
// Vertices are stored as clicked: a click stores its point at the press and
// again at the release, so inner vertices appear twice and the last one
// three times. Stored files hold them so.
#pragma once

#include "ui/tools/tool.h"

class PolylineTool : public Tool {
 public:
  // `kind`: ToolKind::Polyline or ToolKind::Polygon.
  PolylineTool(ToolHost& host, ToolKind kind) : Tool(host), m_kind(kind) {}

  void Press(Point p) override;
  void Move(Point p) override;
  void Release(Point p) override;
  bool Busy() const override { return m_dragging || m_underWay; }
  void Interrupt() override;
  void Reset() override { m_underWay = m_vertexAdded = m_dragging = false; }

  // A figure is under way (its first segment is down).
  bool UnderWay() const { return m_underWay; }
  // Where the rubber band ends: the last point the mouse was at.
  Point LastPoint() const { return m_last; }

 private:
  const ToolKind m_kind;
  bool m_underWay = false;
  bool m_dragging = false;     // the band follows the mouse
  bool m_vertexAdded = false;  // a press drew a segment; the band starts anew
  Point m_anchor;  // the last vertex
  Point m_last;    // the band's other end on the screen
  Vertex m_points;
};
