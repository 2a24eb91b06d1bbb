// Undo and redo in the draw and edit modes (see history/undo_plan.h): the two
// buttons and what they do; the keys are wired in main_window.cpp.
#include "history/undo_plan.h"

#include <QSlider>
#include <QToolButton>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "ui/main_window.h"

void MainWindow::UndoStepBtnClick() { BranchForUndo(true); }

void MainWindow::RedoStepBtnClick() { BranchForUndo(false); }

bool MainWindow::CanUndoNow() const {
  // Not in the middle of a drag or of an unfinished polyline or polygon.
  return S.WorkMode != WindowMode::Play && !m_tools->Busy();
}

void MainWindow::BranchForUndo(bool undo) {
  if (!CanUndoNow()) return;
  // A pending resize is a change of its own: recorded first, it is what an
  // undo takes back (and it ends what a redo could bring back).
  CommitPreview(S);
  const UndoRedoPlan plan = m_undoPlanner.Plan(S.History());
  const int32_t step = undo ? plan.UndoTo : plan.RedoTo;
  if (step < 0) {
    UpdateUndoRedoButtons();  // a resize given up changes them without a repaint
    return;
  }
  // The figures are rebuilt: nothing may keep pointing at the old ones.
  HideInputEdit();
  TextEditFig = nullptr;
  S.SelectedFig = S.MarkedFig = nullptr;
  EditPanel->ResetSizes();
  BranchTo(S, step);       // its replay rebuilds the figures, once
  ShowReplayedPicture(S);  // the background and the canvas; the buttons follow the repaint
}

void MainWindow::UpdateUndoRedoButtons() {
  if (UndoStepBtn == nullptr || RedoStepBtn == nullptr) return;
  if (S.WorkMode == WindowMode::Play) return;  // hidden there
  const UndoRedoPlan plan = m_undoPlanner.Plan(S.History());
  // An unfinished polyline or polygon keeps both (as it keeps its tool).
  const bool free = !m_tools->PolyDrawing();
  UndoStepBtn->setEnabled(free && (plan.UndoTo >= 0 || S.ResizePending()));
  RedoStepBtn->setEnabled(free && plan.RedoTo >= 0 && !S.ResizePending());
}
