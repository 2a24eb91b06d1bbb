// Texts: a press opens the text box where it was; Enter in the box places
// the text (Place), black at size 12.
#pragma once

#include <string>

#include "ui/tools/tool.h"

class TextTool : public Tool {
 public:
  explicit TextTool(ToolHost& host) : Tool(host) {}

  void Press(Point p) override { m_host.OpenTextBox(p); }

  // A new text figure with its top left corner at `at`, in the pen and
  // brush of the last figure made.
  void Place(const std::string& text, Point at);
};
