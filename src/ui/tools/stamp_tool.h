// Stamps. The stamp tool places the current stamp with its top left corner
// where the mouse is released. The stamp setting tool (StampAreaTool) drags
// a rectangle like the rectangle tool; at the release the figures inside it
// become the current stamp and the selection tool is chosen again.
#pragma once

#include "ui/tools/shape_tool.h"

class StampTool : public Tool {
 public:
  explicit StampTool(ToolHost& host) : Tool(host) {}

  void Press(Point) override {}
  void Release(Point p) override;
};

class StampAreaTool : public ShapeTool {
 public:
  explicit StampAreaTool(ToolHost& host) : ShapeTool(host, ToolKind::SetStamp) {}

  void Release(Point p) override;
};
