// What the window's controls do: every button, slider, swatch, menu item and
// key connected to its handler. Each connection carries what its control
// stands for (tool, colour, attribute, speed), so no handler needs to ask
// which control called it. Several handlers on one signal run in the order
// they are connected here.
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>

#include "ui/main_window.h"
#include "ui/paintbox.h"

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
  // The edit area: size bars, edit buttons, palette.
  connect(HTrackBar, &QSlider::valueChanged, this, [this](int value) { TrackBarChange(true, value); });
  connect(VTrackBar, &QSlider::valueChanged, this, [this](int value) { TrackBarChange(false, value); });
  connect(DupBtn, &QToolButton::clicked, this, [this] { DupBtnClick(); });
  connect(DeleteBtn, &QToolButton::clicked, this, [this] { DeleteBtnClick(); });
  connect(UndoBtn, &QToolButton::clicked, this, [this] { UndoBtnClick(); });
  connect(FrontBtn, &QToolButton::clicked, this, [this] { FrontBackBtnClick(true); });
  connect(BackBtn, &QToolButton::clicked, this, [this] { FrontBackBtnClick(false); });
  const std::pair<QToolButton*, AttrChange> attrButtons[] = {
      {ThinBtn, AttrChange::Thinner},         {ThickBtn, AttrChange::Thicker},
      {LineColorBtn, AttrChange::LineColor},  {BodyColorBtn, AttrChange::BodyColor},
      {TextColorBtn, AttrChange::TextColor},
  };
  for (const auto& [button, change] : attrButtons)
    connect(button, &QToolButton::clicked, this, [this, change] { AttrChangeBtnClick(change); });
  connect(ChangeTextBtn, &QToolButton::clicked, this, [this] { ChangeTextBtnClick(); });
  connect(ClearPanel, &ColorSwatch::Clicked, this, [this] { ClearPanelClick(); });
  for (int i = 0; i < 16; ++i)
    connect(ColorPanels[i], &ColorSwatch::Clicked, this, [this, i] { ColorPanelClick(i); });

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
  const std::pair<QToolButton*, ToolKind> toolButtons[] = {
      {SelectionBtn, ToolKind::None},     {TextBtn, ToolKind::Text},         {LineBtn, ToolKind::Line},
      {FreeBtn, ToolKind::FreeLine},      {OvalBtn, ToolKind::Ellipse},      {RectBtn, ToolKind::Rectangle},
      {PolylineBtn, ToolKind::Polyline},  {PolygonBtn, ToolKind::Polygon},   {StampBtn, ToolKind::Stamp},
      {SetStampBtn, ToolKind::SetStamp},
  };
  for (const auto& [button, tool] : toolButtons)
    connect(button, &QToolButton::clicked, this, [this, tool] { DrawingBtnClick(tool); });

  connect(UndoStepBtn, &QToolButton::clicked, this, [this] { UndoStepBtnClick(); });
  connect(RedoStepBtn, &QToolButton::clicked, this, [this] { RedoStepBtnClick(); });

  // The play area.
  connect(ReverseBtn, &QPushButton::clicked, this, [this] { ReverseBtnClick(); });
  connect(StopBtn, &QPushButton::clicked, this, [this] { StopBtnClick(); });
  connect(ForwardBtn, &QPushButton::clicked, this, [this] { ForwardBtnClick(); });
  // valueChanged fires for a new position only, whoever sets it.
  connect(TimeTrackBar, &QSlider::valueChanged, this, [this] { TimeTrackBarChange(); });
  connect(TimeTrackBar, &QSlider::valueChanged, this, [this] { UpdateStepCount(); });
  connect(TimeTrackBar, &QSlider::rangeChanged, this, [this] { UpdateStepCount(); });
  // A press on the slider's thumb stops the replay even before it moves.
  connect(TimeTrackBar, &QSlider::sliderPressed, this, [this] { StopPlaying(); });

  // The replay panel.
  connect(PlayBtn, &QToolButton::clicked, this, [this] { PlayBtnClick(); });
  const std::pair<QToolButton*, PlaybackSpeed> speedButtons[] = {
      {SpeedOneBtn, PlaybackSpeed::One}, {SpeedTwoBtn, PlaybackSpeed::Two}, {SpeedFourBtn, PlaybackSpeed::Four}, {AsDrawnBtn, PlaybackSpeed::AsDrawn}};
  for (const auto& [button, speed] : speedButtons) {
    connect(button, &QToolButton::toggled, this, [this, speed](bool on) {
      if (on) m_playSpeed = speed;
    });
  }
  connect(SpeedGroup, &QButtonGroup::buttonClicked, this, [this] { SpeedBtnClick(); });

  // The modes.
  connect(SelectDrawBtn, &QToolButton::clicked, this, [this] { SelectDrawBtnClick(); });
  connect(SelectEditBtn, &QToolButton::clicked, this, [this] { SelectEditBtnClick(); });
  connect(SelectPlayBtn, &QToolButton::clicked, this, [this] { SelectPlayBtnClick(); });

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
