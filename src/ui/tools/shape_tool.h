// Straight lines, ellipses and rectangles: press at one corner, drag a
// rubber band to the other, release to make the figure. A release where the
// press was makes nothing.
#pragma once

#include "ui/tools/tool.h"

class ShapeTool : public Tool {
 public:
  // `kind`: ToolKind::Line, ToolKind::Ellipse or ToolKind::Rectangle.
  ShapeTool(ToolHost& host, ToolKind kind) : Tool(host), m_kind(kind) {}

  void Press(Point p) override;
  void Move(Point p) override;
  void Release(Point p) override;
  bool Busy() const override { return m_dragging; }
  void Interrupt() override;
  void Reset() override { m_dragging = false; }

 protected:
  const ToolKind m_kind;
  bool m_dragging = false;
  Point m_anchor;  // where the press was
  Point m_last;    // the band's other corner on the screen
};
