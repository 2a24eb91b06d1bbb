#include "ui/tools/text_tool.h"

#include "history/actions.h"

namespace {

// A new text is black at size 12.
constexpr int32_t kNewTextSize = 12;

}  // namespace

void TextTool::Place(const std::string& text, Point at) {
  Figure& t = m_newFigure;
  t.DrawingTool = ToolKind::Text;
  t.TextSize = kNewTextSize;
  t.TextColor = clBlack;
  t.Text = text;
  t.Start = at;
  t.End = Point{WrapAdd(at.X, m_host.TextWidth(text, kNewTextSize)), WrapAdd(at.Y, kNewTextSize)};
  CreateFigure(State(), t);
}
