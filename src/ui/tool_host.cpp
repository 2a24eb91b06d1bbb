// The paint box's mouse events go to the mouse tools (ui/tools/); this file
// gives the tools their window (WindowToolHost).
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QToolButton>

#include "ui/main_window.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"
#include "ui/panels/mode_panel.h"

class WindowToolHost : public ToolHost {
 public:
  explicit WindowToolHost(MainWindow& w) : m_w(w) {}

  AppState& State() override { return m_w.S; }
  RasterCanvas& Screen() override { return m_w.PaintBox->Screen(); }
  void ScreenChanged() override { m_w.PaintBox->Changed(); }
  void Repaint() override { m_w.PaintBoxPaint(); }
  void Recorded() override { m_w.UpdateUndoRedoButtons(); }

  void OpenTextBox(Point at) override { m_w.OpenTextBox(at); }
  void EnterEditMode() override {
    // As the mode button shows it: undo and redo leave the tool panel's
    // place, which the edit buttons take.
    m_w.ShowModePanels(WindowMode::Edit);
    m_w.SelectBtnPanel->Check(WindowMode::Edit);
    m_w.S.WorkMode = WindowMode::Edit;
  }
  void SetMenusEnabled(bool enabled) override {
    for (QMenu* menu : {m_w.FileMenu, m_w.DrawMenu, m_w.ToolMenu}) MainWindow::SetMenuEnabled(menu, enabled);
    // An unfinished polyline or polygon holds undo and redo too.
    m_w.UpdateUndoRedoButtons();
  }
  void ChooseSelectionTool() override {
    m_w.DrawPanel->CheckTool(ToolKind::None);
    m_w.S.CurrentTool = ToolKind::None;
  }
  void MakeStamp(Point a, Point b) override { m_w.MakeStamp(a, b); }
  void ResetSizeSliders() override {
    m_w.EditPanel->ResetSizes();
  }
  int32_t TextWidth(const std::string& text, int32_t size) override { return m_w.FigureTextWidth(text, size); }
  FigureStyle Style() const override { return m_style; }
  void KeepStyle(FigureStyle style) override { m_style = std::move(style); }

 private:
  MainWindow& m_w;
  FigureStyle m_style;
};

std::unique_ptr<ToolBox> MainWindow::NewToolBox(MainWindow& window) {
  return std::make_unique<ToolBox>(std::make_unique<WindowToolHost>(window));
}

void MainWindow::PaintBoxMouseDown(int X, int Y) { m_tools->Press(Point{X, Y}); }
void MainWindow::PaintBoxMouseMove(int X, int Y) { m_tools->Move(Point{X, Y}); }
void MainWindow::PaintBoxMouseUp(int X, int Y) { m_tools->Release(Point{X, Y}); }
