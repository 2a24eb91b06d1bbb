// Texts: a press opens the text box where it was; Enter in the box places
// the text (Place), black at size 12.
#pragma once

#include <string>

#include "ui/tools/tool.h"

class TextTool : public Tool {
 public:
  TextTool(ToolHost& host, Figure& newFigure) : Tool(host, newFigure) {}

  void Press(Point p) override { m_host.OpenTextBox(p); }

  // A new text figure with its top left corner at `at`. The rest of the
  // template (pen, brush) stays as the last figure left it.
  void Place(const std::string& text, Point at);
};
