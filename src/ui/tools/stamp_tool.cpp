#include "ui/tools/stamp_tool.h"

#include "render/paint.h"

void StampTool::Release(Point p) {
  AppState& S = State();
  if (!S.CurrentStamp) {
    Tool::Release(p);
    return;
  }
  UseDrawingPen();
  RasterCanvas& c = Screen();
  // The contents are drawn with their own attributes; the draw-mode pen and
  // brush stay as they were.
  const RasterCanvas saved = c;
  DrawFigList(c, *S.CurrentStamp, p.X, p.Y);
  c = saved;
  m_host.ScreenChanged();
  const Point end{WrapAdd(p.X, WrapSub(S.StampBottomRight.X, S.StampTopLeft.X)),
                  WrapAdd(p.Y, WrapSub(S.StampBottomRight.Y, S.StampTopLeft.Y))};
  MakeFigure(ToolKind::Stamp, p, end, nullptr, &*S.CurrentStamp);
}

void StampAreaTool::Release(Point p) {
  if (!m_dragging) {
    Tool::Release(p);
    return;
  }
  RasterCanvas& c = Screen();
  UseRubberPen(c);
  c.Rectangle(m_anchor.X, m_anchor.Y, p.X, p.Y);  // removes the rubber band
  c.PenMode = DrawMode::Copy;
  m_host.ChooseSelectionTool();
  if (p.X != m_anchor.X && p.Y != m_anchor.Y) m_host.MakeStamp(m_anchor, p);
  m_host.ScreenChanged();
  m_dragging = false;
  Tool::Release(p);
}
