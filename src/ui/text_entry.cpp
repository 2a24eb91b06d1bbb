// Text entry in the one-line box over the canvas.
#include <QAbstractButton>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "history/actions.h"
#include "render/canvas.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"

int32_t MainWindow::FigureTextWidth(const std::string& text, int32_t size) const {
  // Any canvas measures alike: the font is the figure font at `size`.
  QImage scratch;
  RasterCanvas canvas(&scratch);
  canvas.FontSize = size;
  return canvas.TextWidth(text);
}

void MainWindow::OpenTextBox(Point at) {
  TextBoxAt = at;
  PlaceTextBox();
  InputEdit->show();
  InputEdit->raise();
  InputEdit->setFocus();
}

void MainWindow::PlaceTextBox() {
  // 16-pixel letters in a box 24 pixels high on the 640 × 480 canvas.
  const double scale = static_cast<double>(PaintBox->width()) / kCanvasWidth;
  QFont font = InputEdit->font();
  font.setPixelSize(std::max(1, qRound(16 * scale)));
  InputEdit->setFont(font);
  InputEdit->setGeometry(QRect(PaintBox->mapTo(InputEdit->parentWidget(), PaintBox->ToWidget(TextBoxAt)),
                               QSize(qRound(TextBoxWidth * scale), qRound(24 * scale))));
}

bool MainWindow::InputEditKeyPress(int key) {
  if (key == 13) {
    const std::string text = InputEdit->text().toStdString();
    const Point at = TextBoxAt;
    Figure* target = TextEditFig;
    TextEditFig = nullptr;
    InputEdit->hide();
    InputEdit->clear();
    if (!text.empty()) {
      if (S.WorkMode == WindowMode::Draw) {
        m_tools->Text().Place(text, at);
      } else if (S.WorkMode == WindowMode::Edit && target != nullptr && target == S.SelectedFig &&
                 S.Figures().Contains(target) && target->DrawingTool == ToolKind::Text) {
        // Only the figure the box was opened on, and only while it is still
        // the selection: the box does not close when the selection changes.
        Figure changed = S.Shown(*target);  // a text figure: nothing shared
        changed.Text = text;
        changed.End = Point{WrapAdd(changed.Start.X, FigureTextWidth(text, changed.TextSize)),
                             WrapAdd(changed.Start.Y, changed.TextSize)};
        ChangeSelected(S, ParameterKind::Text, changed);
      }
    }
    PaintBoxPaint();
    return true;
  }
  if (key == 27) {
    TextEditFig = nullptr;
    InputEdit->hide();
    InputEdit->clear();
    if (S.WorkMode == WindowMode::Draw) {
      // The text tool is left for the selection tool.
      S.CurrentTool = ToolKind::None;
      DrawPanel->CheckTool(ToolKind::None);
    }
    PaintBoxPaint();
    return true;
  }
  PaintBoxPaint();
  return false;
}
