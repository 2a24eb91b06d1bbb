// The two size trackbars of the edit mode.
#include "history/resize.h"
#include "ui/main_window.h"

void MainWindow::TrackBarChange(bool horizontal, int value) {
  if (S.SelectedFig == nullptr) return;
  const ResizeResult result = ResizeSelectedFig(
      S, horizontal, value,
      [this](const std::string& text, int32_t size) { return FigureTextWidth(text, size); });
  if (result == ResizeResult::StampUnresolved) {
    // The stamp stays as it was and the drawing stays open.
    S.Dialogs->ShowMessage("スタンプのサイズ変更：解決できないエラーが発生しました");
    return;
  }
  PaintBoxPaint();
}
