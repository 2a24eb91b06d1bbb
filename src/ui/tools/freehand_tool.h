// Free lines: every move with the button down adds a point and draws its
// segment at once; a stroke ending where it began makes nothing.
#pragma once

#include "ui/tools/tool.h"

class FreehandTool : public Tool {
 public:
  explicit FreehandTool(ToolHost& host) : Tool(host) {}

  void Press(Point p) override;
  void Move(Point p) override;
  void Release(Point p) override;
  bool Busy() const override { return m_dragging; }
  void Interrupt() override;
  void Reset() override { m_dragging = false; }

 private:
  bool m_dragging = false;
  Point m_anchor;  // where the stroke began
  Point m_last;    // where its last segment ends
  Vertex m_points;  // the stroke's points, the first MaxPoints kept
};
