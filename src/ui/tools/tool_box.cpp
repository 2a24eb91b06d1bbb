#include "ui/tools/tool_box.h"

#include <algorithm>

ToolBox::ToolBox(std::unique_ptr<ToolHost> host) : m_host(std::move(host)) {}

Tool* ToolBox::Current() {
  const AppState& S = m_host->State();
  if (S.WorkMode == WindowMode::Edit) return &m_select;
  if (S.WorkMode != WindowMode::Draw) return nullptr;
  switch (S.CurrentTool) {
    case ToolKind::None:
      return &m_pick;
    case ToolKind::Text:
      return &m_text;
    case ToolKind::Line:
      return &m_line;
    case ToolKind::FreeLine:
      return &m_freehand;
    case ToolKind::Ellipse:
      return &m_ellipse;
    case ToolKind::Rectangle:
      return &m_rectangle;
    case ToolKind::Polyline:
      return &m_polyline;
    case ToolKind::Polygon:
      return &m_polygon;
    case ToolKind::Stamp:
      return &m_stamp;
    case ToolKind::SetStamp:
      return &m_stampArea;
    default:
      return nullptr;
  }
}

void ToolBox::Press(Point p) {
  if (Tool* tool = Current()) tool->Press(p);
}

void ToolBox::Move(Point p) {
  Tool* tool = Current();
  if (tool == nullptr) return;
  tool->Move(p);
  // Whatever a drawing tool drew on the screen, its pen copies again.
  if (m_host->State().WorkMode == WindowMode::Draw) m_host->Screen().PenMode = DrawMode::Copy;
}

void ToolBox::Release(Point p) {
  if (Tool* tool = Current()) tool->Release(p);
}

bool ToolBox::Busy() const {
  return std::any_of(m_all.begin(), m_all.end(), [](const Tool* t) { return t->Busy(); });
}

void ToolBox::Interrupt() {
  for (Tool* t : m_all) t->Interrupt();
}

void ToolBox::Reset() {
  for (Tool* t : m_all) t->Reset();
}
