#include "ui/tools/select_tool.h"

#include <algorithm>

#include "history/actions.h"
#include "render/paint.h"
#include "document/hit_test.h"

void SelectTool::Press(Point p) {
  AppState& S = State();
  RasterCanvas& c = Screen();
  Figure* hit = FrontFigureAt(S, p);
  if (hit) {
    S.SelectedFig = hit;
    m_anchor = m_press = p;
    m_moving = true;
    if (S.MarkedFig) DrawSelectionFrame(c, *S.MarkedFig);  // removes the old frame
    DrawSelectionFrame(c, *S.SelectedFig);
    S.MarkedFig = S.SelectedFig;
    m_host.ScreenChanged();
  } else if (S.SelectedFig) {
    DrawSelectionFrame(c, *S.SelectedFig);  // removes its frame
    S.MarkedFig = nullptr;
    S.SelectedFig = nullptr;
    m_host.ScreenChanged();
  }
}

void SelectTool::Move(Point p) {
  AppState& S = State();
  RecordPendingResize(S);
  if (m_moving && S.SelectedFig) {
    S.SelectedFig->Offset(WrapSub(p.X, m_anchor.X), WrapSub(p.Y, m_anchor.Y));
    m_anchor = p;
    m_host.Repaint();
  }
}

void SelectTool::Release(Point p) {
  AppState& S = State();
  m_moving = false;
  if (const Figure* sel = S.SelectedFig) {
    const Figure& f = *sel;
    S.ResizeStart = f.Start;
    S.ResizeEnd = f.End;
    S.ResizeTextSize = f.TextSize;
    if (IsPointFigure(f.DrawingTool)) {
      const int32_t n = std::min<int32_t>(f.PointData.Count(), MaxPoints);
      std::copy(f.PointData.Points.begin(), f.PointData.Points.begin() + n, S.ResizePoints.begin());
    }
    if (p != m_press) RecordMoveOfSelected(S);
  }
  m_host.ResetSizeSliders();
}

void SelectTool::Interrupt() {
  if (m_moving) Release(m_anchor);
}

void PickTool::Press(Point p) {
  m_host.EnterEditMode();
  m_select.Press(p);
}
