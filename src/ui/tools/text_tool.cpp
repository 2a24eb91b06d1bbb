#include "ui/tools/text_tool.h"

#include "history/actions.h"

namespace {

// A new text is black at size 12.
constexpr int32_t kNewTextSize = 12;

}  // namespace

void TextTool::Place(const std::string& text, Point at) {
  FigureStyle style = m_host.Style();
  style.TextSize = kNewTextSize;
  style.TextColor = clBlack;
  style.Text = text;
  const Point end{WrapAdd(at.X, m_host.TextWidth(text, kNewTextSize)), WrapAdd(at.Y, kNewTextSize)};
  const Figure figure = style.NewFigure(ToolKind::Text, at, end);
  m_host.KeepStyle(std::move(style));
  CreateFigure(State(), figure);
}
