// The paint box's tools and the routing of its mouse events: in the draw
// mode to the tool chosen in the tool panel, in the edit mode to the
// selection, in the view mode nowhere.
#pragma once

#include <array>
#include <memory>

#include "ui/tools/freehand_tool.h"
#include "ui/tools/polyline_tool.h"
#include "ui/tools/select_tool.h"
#include "ui/tools/shape_tool.h"
#include "ui/tools/stamp_tool.h"
#include "ui/tools/text_tool.h"

class ToolBox {
 public:
  explicit ToolBox(std::unique_ptr<ToolHost> host);
  ToolBox(const ToolBox&) = delete;
  ToolBox& operator=(const ToolBox&) = delete;

  void Press(Point p);
  void Move(Point p);
  void Release(Point p);

  // A drag, a figure being moved or an unfinished polyline or polygon.
  bool Busy() const;
  // An unfinished polyline or polygon: the window keeps its tool and mode.
  bool PolyDrawing() const { return m_polyline.UnderWay() || m_polygon.UnderWay(); }
  // Before the mode or the tool changes: whatever a held button was doing
  // ends (see Tool::Interrupt). An unfinished polyline stays.
  void Interrupt();
  // A new drawing: nothing is under way.
  void Reset();

  // What the next figure takes over from the last one.
  FigureStyle Style() const { return m_host->Style(); }
  TextTool& Text() { return m_text; }
  PolylineTool& Polyline() { return m_polyline; }
  PolylineTool& Polygon() { return m_polygon; }

 private:
  // The tool the mouse events go to now; null in the view mode.
  Tool* Current();

  std::unique_ptr<ToolHost> m_host;
  SelectTool m_select{*m_host};
  PickTool m_pick{*m_host, m_select};
  TextTool m_text{*m_host};
  ShapeTool m_line{*m_host, ToolKind::Line};
  FreehandTool m_freehand{*m_host};
  ShapeTool m_ellipse{*m_host, ToolKind::Ellipse};
  ShapeTool m_rectangle{*m_host, ToolKind::Rectangle};
  PolylineTool m_polyline{*m_host, ToolKind::Polyline};
  PolylineTool m_polygon{*m_host, ToolKind::Polygon};
  StampTool m_stamp{*m_host};
  StampAreaTool m_stampArea{*m_host};
  const std::array<Tool*, 11> m_all{&m_select, &m_pick,     &m_text,    &m_line,  &m_freehand, &m_ellipse,
                                    &m_rectangle, &m_polyline, &m_polygon, &m_stamp, &m_stampArea};
};
