#include "ui/tools/select_tool.h"

#include <algorithm>

#include "history/actions.h"
#include "history/resize.h"
#include "render/paint.h"
#include "document/hit_test.h"

void SelectTool::Press(Point p) {
  AppState& S = State();
  RasterCanvas& c = Screen();
  m_dragged = false;
  Figure* hit = FrontFigureAt(S, p);
  if (hit) {
    if (S.MarkedFig) DrawSelectionFrame(c, S.Shown(*S.MarkedFig));  // removes the old frame
    S.SelectedFig = hit;
    m_anchor = m_press = p;
    m_moving = true;
    DrawSelectionFrame(c, S.Shown(*S.SelectedFig));
    S.MarkedFig = S.SelectedFig;
    m_host.ScreenChanged();
  } else if (S.SelectedFig) {
    DrawSelectionFrame(c, S.Shown(*S.SelectedFig));  // removes its frame
    S.MarkedFig = nullptr;
    S.SelectedFig = nullptr;
    m_host.ScreenChanged();
  }
}

void SelectTool::Move(Point p) {
  AppState& S = State();
  if (S.ResizePending()) CommitPreview(S);
  if (!m_moving || S.SelectedFig == nullptr) return;
  if (m_dragged && S.Preview.Kind != PreviewKind::Move) {
    // A command recorded the drag where it was: the drag ended there.
    m_moving = false;
    return;
  }
  DragSelected(S, WrapSub(p.X, m_anchor.X), WrapSub(p.Y, m_anchor.Y));
  m_dragged = true;
  m_anchor = p;
  m_host.Repaint();
}

void SelectTool::Release(Point p) {
  AppState& S = State();
  // A drag that a command recorded already ended there.
  const bool dragging = m_moving && !(m_dragged && S.Preview.Kind != PreviewKind::Move);
  m_moving = false;
  m_dragged = false;
  if (S.SelectedFig != nullptr) {
    if (dragging && p != m_press)
      RecordMoveOfSelected(S);
    else if (DropDrag(S))
      m_host.Repaint();  // back where it started: the figure shows in its place
    TakeResizeReference(S);
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
