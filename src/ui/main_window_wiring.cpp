// What the window's controls do: every panel's request, menu item and key
// connected to its handler. Each request carries what its control stands
// for (tool, attribute, speed, mode), so no handler needs to ask which
// control called it. Several handlers on one signal run in the order
// they are connected here.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "ui/main_window.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"
#include "ui/panels/edit_panel.h"
#include "ui/panels/mode_panel.h"
#include "ui/panels/play_panels.h"

void MainWindow::ConnectMenu() {
  for (QMenu* menu : {FileMenu, DrawMenu, HelpMenu, ToolMenu}) {
    // Opening a menu stops the replay before anything else.
    connect(menu, &QMenu::aboutToShow, this, [this] { StopPlaying(); });
  }
  connect(DrawMenu, &QMenu::aboutToShow, this, [this] { DrawMenuClick(); });

  auto command = [this](QAction* item, std::function<void()> handler) {
    // Every command stops the replay first (also when run by its shortcut).
    connect(item, &QAction::triggered, this, [this] { StopPlaying(); });
    if (handler) connect(item, &QAction::triggered, this, std::move(handler));
  };
  command(ReadDataMenu, [this] { ReadDataMenuClick(); });
  command(OverWriteDataMenu, [this] { OverWriteDataMenuClick(); });
  command(WriteDataMenu, [this] { WriteDataMenuClick(); });
  command(ExitMenu, [this] { ExitMenuClick(); });
  command(ReadBGMenu, [this] { ReadBGMenuClick(); });
  command(ClearBGMenu, [this] { ClearMenuClick(ActionKind::ClearBG); });
  command(ClearImageMenu, [this] { ClearMenuClick(ActionKind::ClearDrawing); });
  command(ClearAllMenu, [this] { ClearMenuClick(ActionKind::ClearAll); });
  command(HowToUseMenu, [this] { HowToUseMenuClick(); });
  command(ShowDataMenu, [this] { ShowDataMenuClick(); });
  command(CaptureMenu, [this] { CaptureMenuClick(); });
  command(SaveScreenBmpMenu, [this] { SaveScreenBmpMenuClick(); });
  command(SaveScreenJpegMenu, [this] { SaveScreenJpegMenuClick(); });
  command(SaveAllProcessMenu, [this] { SaveAllProcessMenuClick(); });
  command(SaveVideoMenu, [this] { SaveVideoMenuClick(); });
  command(ExitByForce, [this] { ExitByForceClick(); });
}

void MainWindow::ConnectControls() {
  // The edit area: size bars, edit buttons, palette (the palette keeps the
  // chosen colour itself).
  connect(EditPanel, &EditArea::SizeChanged, this, &MainWindow::TrackBarChange);
  EditOpPanel* ops = EditPanel->Ops();
  connect(ops, &EditOpPanel::DuplicateAsked, this, [this] { DupBtnClick(); });
  connect(ops, &EditOpPanel::DeleteAsked, this, [this] { DeleteBtnClick(); });
  connect(ops, &EditOpPanel::RestoreAsked, this, [this] { UndoBtnClick(); });
  connect(ops, &EditOpPanel::FrontBackAsked, this, [this](bool toFront) { FrontBackBtnClick(toFront); });
  connect(ops, &EditOpPanel::AttrChangeAsked, this, [this](AttrChange change) { AttrChangeBtnClick(change); });
  connect(ops, &EditOpPanel::ChangeTextAsked, this, [this] { ChangeTextBtnClick(); });

  // The canvas and the text box.
  connect(PaintBox, &CanvasView::MouseDown, this, &MainWindow::PaintBoxMouseDown);
  connect(PaintBox, &CanvasView::MouseMove, this, &MainWindow::PaintBoxMouseMove);
  connect(PaintBox, &CanvasView::MouseUp, this, &MainWindow::PaintBoxMouseUp);
  // A touch the system takes back ends like a drag cut off by a mode change.
  connect(PaintBox, &CanvasView::Cancelled, this, [this] { m_tools->Interrupt(); });
  // At any other size than 640 × 480 the canvas draws the composed figures
  // again at its own resolution.
  PaintBox->SetComposer(&Pictures);
  PaintBox->NeedsPicture = [this] { PaintBoxPaint(); };
  InputEdit->installEventFilter(this);

  // The tools of the draw mode.
  connect(DrawPanel, &DrawToolPanel::ToolChosen, this, [this](ToolKind tool) { DrawingBtnClick(tool); });

  connect(UndoStepBtn, &QToolButton::clicked, this, [this] { UndoStepBtnClick(); });
  connect(RedoStepBtn, &QToolButton::clicked, this, [this] { RedoStepBtnClick(); });

  // The play area.
  connect(PlayPanel, &PlayControls::ReverseAsked, this, [this] { ReverseBtnClick(); });
  connect(PlayPanel, &PlayControls::StopAsked, this, [this] { StopBtnClick(); });
  connect(PlayPanel, &PlayControls::ForwardAsked, this, [this] { ForwardBtnClick(); });
  connect(PlayPanel, &PlayControls::StepChanged, this, [this] { TimeTrackBarChange(); });
  // A press on the slider's thumb stops the replay even before it moves.
  connect(PlayPanel, &PlayControls::StepGrabbed, this, [this] { StopPlaying(); });

  // The replay panel (the panel keeps the checked speed).
  connect(ReplayPanel, &ReplayControls::PlayPauseAsked, this, [this] { PlayBtnClick(); });
  connect(ReplayPanel, &ReplayControls::SpeedChosen, this, [this] { SpeedBtnClick(); });

  // The modes.
  connect(SelectBtnPanel, &ModeButtons::ModeChosen, this, [this](WindowMode mode) {
    switch (mode) {
      case WindowMode::Draw:
        SelectDrawBtnClick();
        break;
      case WindowMode::Edit:
        SelectEditBtnClick();
        break;
      case WindowMode::Play:
        SelectPlayBtnClick();
        break;
    }
  });

  connect(ClearMemoBtn, &QPushButton::clicked, this, [this] { ClearMemoBtnClick(); });
}

void MainWindow::ConnectShortcuts() {
  // Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo. The text box keeps the keys
  // for its own text while it has the focus.
  auto addShortcut = [this](const QKeySequence& keys, void (MainWindow::*handler)()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, handler] {
      if (S.WorkMode == WindowMode::Play) return;
      (this->*handler)();
    });
  };
  addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &MainWindow::UndoStepBtnClick);
  addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &MainWindow::RedoStepBtnClick);
  addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &MainWindow::RedoStepBtnClick);
}
