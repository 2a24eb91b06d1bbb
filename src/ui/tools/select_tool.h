// Selecting and moving figures. In the edit mode a press selects the
// front-most figure whose box holds the point (3 pixels of slack) and drags
// it: the figure's preview follows the mouse while the drawing keeps it in
// place; the release records the move (one action for the whole drag) and
// takes the figure's geometry as the size sliders' reference. A command
// during the drag records the move there, and the drag ends. A press on
// empty canvas clears the selection.
//
// The selection tool of the draw mode (PickTool) switches to the edit mode
// at its press and selects there at once.
#pragma once

#include "ui/tools/tool.h"

class SelectTool : public Tool {
 public:
  explicit SelectTool(ToolHost& host) : Tool(host) {}

  void Press(Point p) override;
  void Move(Point p) override;
  void Release(Point p) override;
  bool Busy() const override { return m_moving; }
  // A figure being dragged stays where it was dragged to, and the move is
  // recorded, as a release there would.
  void Interrupt() override;
  void Reset() override { m_moving = m_dragged = false; }

 private:
  bool m_moving = false;   // the selected figure follows the mouse
  bool m_dragged = false;  // and its preview has moved with it
  Point m_anchor;  // where the figure was last moved to follow the mouse
  Point m_press;   // where the press was
};

class PickTool : public Tool {
 public:
  PickTool(ToolHost& host, SelectTool& select) : Tool(host), m_select(select) {}

  void Press(Point p) override;

 private:
  SelectTool& m_select;
};
