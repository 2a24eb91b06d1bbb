// The main window: start-up, the choice of tool and the three working modes.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <cstdlib>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "ui/icons.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"
#include "ui/panels/mode_panel.h"
#include "ui/panels/play_panels.h"
#include "ui/qtdialogs.h"

namespace {

// The palette of the edit mode, ColorPanel01 … ColorPanel16 (0x00BBGGRR).
constexpr ColorRef kPalette[16] = {
    0xFFFFFF, 0xB469FF, 0x0000FF, 0x0000D0, 0x000080, 0xEBCE87, 0xFF0000, 0x800080,
    0x00FFFF, 0x00A5FF, 0x00FF00, 0x00A000, 0x666600, 0xC0C0C0, 0x808080, 0x000000,
};

}  // namespace

MainWindow::MainWindow(UserDialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
  setObjectName("TamloForm");
  if (dialogs == nullptr) {
    m_ownDialogs = std::make_unique<QtDialogs>(this);
    dialogs = m_ownDialogs.get();
  }
  S.Dialogs = dialogs;
  S.Memo = this;
  S.Pictures = &Pictures;
  ExitProcess = [](int code) { std::exit(code); };

  QFont font(kFigureFontFamily);
  font.setPixelSize(12);
  setFont(font);

  BuildMenu();
  BuildWindow();
  BuildWindowLayout();
  ShowModePanels(WindowMode::Draw);
  ConnectMenu();
  ConnectControls();
  ConnectShortcuts();
  BuildVectorCommands();
  ConnectKeyboard();
  NameControls();

  // Every change of the drawing ends in a repaint: the undo and redo
  // buttons follow it there, and nowhere else but where the mode or an
  // unfinished polyline changes what they may do.
  Pictures.OnShow = [this](const QImage& picture) {
    PaintBox->Show(picture);
    UpdateUndoRedoButtons();
  };
  SetPlayTimer(std::make_unique<QtPlaybackTimer>());

  setAcceptDrops(true);
  // Files dropped anywhere on the window open as files; the text box and the
  // memo would otherwise take them as typed text.
  InputEdit->setAcceptDrops(false);
  Memo->setAcceptDrops(false);
  S.WorkMode = WindowMode::Draw;
  S.CurrentTool = ToolKind::None;
  for (int i = 0; i < 16; ++i) EditPanel->Palette()->SetSwatchColor(i, kPalette[i]);
}

MainWindow::~MainWindow() {
  // Take the controls down while the state they report to is still alive.
  Pictures.OnShow = nullptr;
  SetPlayTimer(nullptr);
  if (InputEdit) InputEdit->removeEventFilter(this);
  delete Client;
  Client = nullptr;
}

void MainWindow::SetMenuEnabled(QMenu* menu, bool enabled) {
  menu->setEnabled(enabled);
  menu->menuAction()->setEnabled(enabled);
}

void MainWindow::createWidgets(const QString& commandLineFile) {
  setWindowTitle(QString::fromStdString(S.VersionText));
  Memo->clear();
  Memo->setVisible(S.ShowProcess);
  ClearMemoBtn->setVisible(S.ShowProcess);
  setMinimumSize(MinimumWindowSize());
  // At the top left, at the size the controls were built for; on a smaller
  // screen as large as it allows, in the room its taskbars leave.
  const QSize opening = OpeningSize(AvailableRoom());
  const bool fitted = opening.width() < (S.ShowProcess ? 990 : 800) || opening.height() < 580;
  const QScreen* where = screen();
  move(fitted && where ? where->availableGeometry().topLeft() : QPoint(0, 0));
  resize(opening);
  EditPanel->hide();
  PlayPanel->hide();
  ResetDrawingPen(PaintBox->Screen());
  if (Pictures.WorkBitmap.width() != kCanvasWidth || Pictures.WorkBitmap.height() != kCanvasHeight) {
    Pictures.WorkBitmap = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    Pictures.WorkBitmap.fill(Qt::white);
  }
  LayOutControls();  // the canvas's size follows the window's
  BlankStampImage();
  PaintBoxPaint();
  StartJournal();
  if (!commandLineFile.isEmpty()) OpenFileByPath(commandLineFile);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Client && event->type() == QEvent::Resize) {
    LayOutControls();
    if (InputEdit->isVisible()) PlaceTextBox();
  }
  // Whatever hides the text box (Enter, Escape, a command, a mode change)
  // ends the text change it was opened for.
  if (watched == InputEdit && event->type() == QEvent::Hide && InputEdit->isHidden()) TextEditFig = nullptr;
  if (watched == InputEdit && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      return InputEditKeyPress(13);
    }
    if (key == Qt::Key_Escape) return InputEditKeyPress(27);
    // Every other key types into the box as usual; the canvas is refreshed
    // after each key all the same.
    PaintBoxPaint();
    return false;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::PaintBoxPaint() { Pictures.PaintBoxPaint(); }

void MainWindow::DrawingBtnClick(ToolKind tool) {
  if (m_tools->PolyDrawing()) {
    // An unfinished polyline or polygon keeps its tool.
    DrawPanel->CheckTool(S.CurrentTool == ToolKind::Polygon ? ToolKind::Polygon : ToolKind::Polyline);
    return;
  }
  m_tools->Interrupt();
  S.CurrentTool = tool;
  if (InputEdit->isVisible() && tool != ToolKind::Text) HideInputEdit();
}

void MainWindow::HideInputEdit() {
  if (!InputEdit->isVisible()) return;
  InputEdit->clear();
  InputEdit->hide();
}

void MainWindow::BlankStampImage() {
  DrawPanel->BlankStamp();
}

void MainWindow::ShowModePanels(WindowMode mode) {
  DrawPanel->setVisible(mode == WindowMode::Draw);
  EditPanel->setVisible(mode == WindowMode::Edit);
  PlayPanel->setVisible(mode == WindowMode::Play);
  ReplayPanel->setVisible(mode == WindowMode::Play);
  m_shownMode = mode;
  PlaceUndoRedoButtons(mode);
  const QSize iconSize = mode == WindowMode::Draw ? QSize(44, 32) : QSize(22, 22);
  for (QToolButton* b : {UndoStepBtn, RedoStepBtn}) {
    b->setIconSize(iconSize);
    b->setIcon(ButtonIcon(b->objectName(), iconSize));
    b->setVisible(mode != WindowMode::Play);
    b->raise();
  }
  UpdateUndoRedoButtons();
}

void MainWindow::ResetDrawing() {
  TextEditFig = nullptr;
  S.Reset();  // a new drawing of no file until the caller names one
  m_tools->Reset();
  S.SelectedFig = S.MarkedFig = nullptr;
  S.Preview = FigurePreview{};  // what it showed went with the old figures
  S.StampReference = nullptr;
  S.WorkMode = WindowMode::Draw;
  S.CurrentTool = ToolKind::None;
  Memo->clear();
  ShowModePanels(WindowMode::Draw);
  DrawPanel->CheckTool(ToolKind::None);
  SelectBtnPanel->Check(WindowMode::Draw);
  for (QMenu* menu : {FileMenu, DrawMenu, ToolMenu}) SetMenuEnabled(menu, true);
  ResetDrawingPen(PaintBox->Screen());
  ShowBlankBackground(S);
  BlankStampImage();
  PaintBoxPaint();
}

bool MainWindow::LeaveViewMode() {
  S.SelectedFig = S.MarkedFig = nullptr;
  bool branched = false;
  if (!S.AtLastStep()) {
    ModalResult answer = S.Dialogs->Ask("ここからえがきなおしますか？", "かくにん", QuestionButtons::YesNoCancel);
    if (answer == ModalResult::Cancel) {
      // Stay in the view mode, and look like it.
      ShowModePanels(WindowMode::Play);
      SelectBtnPanel->Check(WindowMode::Play);
      return false;
    }
    if (answer == ModalResult::Yes) {
      BranchTo(S, PlayPanel->Step());  // rebuilds the figures
      branched = true;
    }
  }
  SetMenuEnabled(FileMenu, true);
  SetMenuEnabled(DrawMenu, true);
  // The figures hold the branch's step, or the step shown, from which the
  // walk to the last applies only the records after it.
  if (branched)
    ShowReplayedPicture(S);
  else
    WalkToStep(S, S.History().Count());
  Journal.ShowStep(false, 0);  // the drawing and edit modes show the last step
  return true;
}

// What every mode button does first: the replay stops, the text box lets
// go of its figure, a drag under way ends and a pending resize is recorded.
// False when an unfinished polyline or polygon keeps the draw mode.
bool MainWindow::BeginModeChange() {
  StopPlaying();
  TextEditFig = nullptr;  // figures may be rebuilt: never carry a figure across modes
  if (m_tools->PolyDrawing()) {
    SelectBtnPanel->Check(WindowMode::Draw);
    return false;
  }
  m_tools->Interrupt();  // a drag under way ends here
  CommitPreview(S);
  return true;
}

void MainWindow::SelectDrawBtnClick() {
  if (!BeginModeChange()) return;
  ResetDrawingPen(PaintBox->Screen());
  ShowModePanels(WindowMode::Draw);
  if (S.WorkMode == WindowMode::Edit) {
    S.SelectedFig = S.MarkedFig = nullptr;
    HideInputEdit();
  } else if (S.WorkMode == WindowMode::Play) {
    if (!LeaveViewMode()) return;
  }
  S.WorkMode = WindowMode::Draw;
  DrawPanel->CheckTool(ToolKind::None);
  S.CurrentTool = ToolKind::None;
  PaintBoxPaint();
}

void MainWindow::SelectEditBtnClick() {
  if (!BeginModeChange()) return;
  ShowModePanels(WindowMode::Edit);
  S.SelectedFig = S.MarkedFig = nullptr;
  if (S.WorkMode == WindowMode::Play && !LeaveViewMode()) return;
  DrawPanel->CheckTool(ToolKind::None);
  S.CurrentTool = ToolKind::None;
  S.WorkMode = WindowMode::Edit;
  PaintBoxPaint();
}

void MainWindow::SelectPlayBtnClick() {
  if (!BeginModeChange()) return;
  S.SelectedFig = S.MarkedFig = nullptr;
  if (S.WorkMode == WindowMode::Play) return;
  if (S.History().Count() == 0) {
    S.Dialogs->ShowMessage("さいせいする絵がありません");
    S.CurrentTool = ToolKind::None;
    if (S.WorkMode == WindowMode::Edit) {
      SelectBtnPanel->Check(WindowMode::Edit);
    } else {
      SelectBtnPanel->Check(WindowMode::Draw);
      DrawPanel->CheckTool(ToolKind::None);
    }
    return;
  }
  S.WorkMode = WindowMode::Play;
  SetMenuEnabled(FileMenu, false);
  SetMenuEnabled(DrawMenu, false);
  ClearToStepZero(S);
  ShowBlankBackground(S);
  S.SelectedFig = S.MarkedFig = nullptr;
  BlankStampImage();
  HideInputEdit();
  ShowModePanels(WindowMode::Play);
  PlayPanel->EnableSteps(false, true, true);
  // Position first, then the range: a shorter range never drags the
  // position (and a replay) along with it.
  PlayPanel->SetStep(0);
  PlayPanel->SetLastStep(S.History().Count());
  PaintBoxPaint();
  NoteShownStep();
}

void MainWindow::DrawMenuClick() {
  S.CurrentTool = ToolKind::None;
  DrawPanel->CheckTool(ToolKind::None);
}
