// Edit commands on the selected figure and the colour palette.
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cstdint>

#include "history/resize.h"
#include "history/actions.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"

void MainWindow::DupBtnClick() {
  HideInputEdit();
  if (DuplicateSelected(S) == nullptr) return;
  // The copy is a new selection: the size sliders work from its geometry,
  // not from the original's, as after a click on it.
  TakeResizeReference(S);
  EditPanel->ResetSizes(/*quietly=*/true);
  PaintBoxPaint();
}

void MainWindow::DeleteBtnClick() {
  HideInputEdit();
  const Figure* victim = S.SelectedFig;
  if (DeleteSelected(S) && TextEditFig == victim) TextEditFig = nullptr;
  S.SelectedFig = S.MarkedFig = nullptr;
  PaintBoxPaint();
}

void MainWindow::UndoBtnClick() {
  HideInputEdit();
  RestoreDeleted(S);
  PaintBoxPaint();
}

void MainWindow::FrontBackBtnClick(bool toFront) {
  HideInputEdit();
  if (S.SelectedFig == nullptr) return;
  if (toFront) {
    if (!MoveSelectedFront(S)) S.Dialogs->ShowMessage("これより前にいくことができません。");
  } else {
    if (!MoveSelectedBack(S)) S.Dialogs->ShowMessage("これより後ろにいくことができません。");
  }
  PaintBoxPaint();
}

void MainWindow::AttrChangeBtnClick(AttrChange change) {
  HideInputEdit();
  if (S.SelectedFig == nullptr) return;
  const Figure& F = S.Shown(*S.SelectedFig);  // with a resize under way
  if (F.DrawingTool == ToolKind::Stamp) {
    S.Dialogs->ShowMessage("スタンプは変更できません");
    return;
  }
  const ColorRef c = ChosenColor();
  // First decide (a refusal changes and records nothing), then record a
  // pending resize while the figure still has its old attributes, then
  // change and record the change.
  ParameterKind parameter = ParameterKind::None;
  if (change == AttrChange::LineColor) {
    if (c == clBtnFace) {
      S.Dialogs->ShowMessage("線はぬりつぶしなしにできません");
      return;
    }
    if (F.PenColor != c) parameter = ParameterKind::LineColor;
  } else if (change == AttrChange::BodyColor) {
    if (F.BrushColor != c) parameter = ParameterKind::BodyColor;
  } else if (change == AttrChange::Thicker) {
    if (F.PenWidth >= 30) {
      S.Dialogs->ShowMessage("これより線を太くできません");
      return;
    }
    parameter = ParameterKind::LineWidth;
  } else if (change == AttrChange::Thinner) {
    if (F.PenWidth <= 1) {
      S.Dialogs->ShowMessage("これより線を細くできません");
      return;
    }
    parameter = ParameterKind::LineWidth;
  } else if (change == AttrChange::TextColor) {
    if (c == clBtnFace) {
      S.Dialogs->ShowMessage("文字はぬりつぶしなしにできません");
      return;
    }
    if (F.DrawingTool == ToolKind::Text && F.TextColor != c) parameter = ParameterKind::TextColor;
  }
  if (parameter == ParameterKind::None) return;

  Figure changed = F;
  switch (parameter) {
    case ParameterKind::LineColor: changed.PenColor = c; break;
    case ParameterKind::BodyColor: changed.BrushColor = c; break;
    case ParameterKind::TextColor: changed.TextColor = c; break;
    case ParameterKind::LineWidth: changed.PenWidth += change == AttrChange::Thicker ? 2 : -2; break;
    default: break;
  }
  ChangeSelected(S, parameter, changed);
  PaintBoxPaint();
}

void MainWindow::ChangeTextBtnClick() {
  if (S.SelectedFig == nullptr || S.SelectedFig->DrawingTool != ToolKind::Text) return;
  const Figure& F = S.Shown(*S.SelectedFig);
  // Room for the text and a few more letters; a damaged file may hold any box.
  const int64_t width = std::clamp<int64_t>(int64_t(F.End.X) - F.Start.X + 30, 0, 4096);
  TextBoxWidth = static_cast<int>(width);
  InputEdit->setText(QString::fromStdString(F.Text));
  OpenTextBox(F.Start);
  TextEditFig = S.SelectedFig;
}

ColorRef MainWindow::ChosenColor() const { return EditPanel ? EditPanel->Palette()->Chosen() : clBlack; }
