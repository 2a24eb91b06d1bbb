// The two size trackbars of the edit mode.
#include <QSlider>

#include "history/resize.h"
#include "ui/main_window.h"

void MainWindow::TrackBarChange(QSlider* sender) {
  if (sender == nullptr || S.SelectedFig == nullptr) return;
  const bool horizontal = sender->objectName() == QLatin1String("HTrackBar");
  const ResizeResult result = ResizeSelectedFig(
      S, horizontal, sender->value(),
      [this](const std::string& text, int32_t size) { return FigureTextWidth(text, size); });
  if (result == ResizeResult::StampUnresolved) {
    // The stamp stays as it was and the drawing stays open.
    S.Dialogs->ShowMessage("スタンプのサイズ変更：解決できないエラーが発生しました");
    return;
  }
  PaintBoxPaint();
}
