// The window's controls: the menu, the canvas, the panels (ui/panels/, each
// builds, names and places its own controls where the child finds them),
// undo and redo and the process display. What the panels ask for is
// connected in main_window_wiring.cpp.
#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionComplex>
#include <QToolButton>

#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"
#include "ui/panels/edit_panel.h"
#include "ui/panels/mode_panel.h"
#include "ui/panels/panel_parts.h"
#include "ui/panels/play_panels.h"

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("TamloMenu");
  auto addMenu = [&](QMenu*& menu, const char* name, const char* caption) {
    menu = bar->addMenu(tr(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
  };
  auto addItem = [&](QMenu* menu, QAction*& item, const char* name, const char* caption) {
    item = menu->addAction(tr(caption));
    item->setObjectName(name);
  };

  addMenu(FileMenu, "FileMenu", QT_TR_NOOP("ファイル"));
  addItem(FileMenu, ReadDataMenu, "ReadDataMenu", QT_TR_NOOP("えをよみこむ"));
  addItem(FileMenu, OverWriteDataMenu, "OverWriteDataMenu", QT_TR_NOOP("えをうわがきほぞん"));
  addItem(FileMenu, WriteDataMenu, "WriteDataMenu", QT_TR_NOOP("えになまえをつけてほぞん"));
  addItem(FileMenu, ExitMenu, "ExitMenu", QT_TR_NOOP("タムロをおわる"));

  addMenu(DrawMenu, "DrawMenu", QT_TR_NOOP("ひょうじ"));
  addItem(DrawMenu, ReadBGMenu, "ReadBGMenu", QT_TR_NOOP("はいけいをよみこむ"));
  addItem(DrawMenu, ClearBGMenu, "ClearBGMenu", QT_TR_NOOP("はいけいをけす"));
  addItem(DrawMenu, ClearImageMenu, "ClearImageMenu", QT_TR_NOOP("はいけい いがい けす"));
  addItem(DrawMenu, ClearAllMenu, "ClearAllMenu", QT_TR_NOOP("ぜんぶけす"));

  addMenu(HelpMenu, "HelpMenu", QT_TR_NOOP("ヘルプ"));
  addItem(HelpMenu, HowToUseMenu, "HowToUseMenu", QT_TR_NOOP("タムロのつかいかた"));

  addMenu(ToolMenu, "ToolMenu", QT_TR_NOOP("ツール"));
  addItem(ToolMenu, ShowDataMenu, "ShowDataMenu", QT_TR_NOOP("Tamloの内部処理の表示"));
  addItem(ToolMenu, CaptureMenu, "CaptureMenu", QT_TR_NOOP("画面をクリップボードにコピー"));
  addItem(ToolMenu, SaveScreenBmpMenu, "SaveScreenBmpMenu", QT_TR_NOOP("画面をBMPに書き出す"));
  addItem(ToolMenu, SaveScreenJpegMenu, "SaveScreenJpegMenu", QT_TR_NOOP("画面をJPEGに書き出す"));
  addItem(ToolMenu, SaveAllProcessMenu, "SaveAllProcessMenu", QT_TR_NOOP("全過程をJPEGに書き出す"));
  addItem(ToolMenu, SaveVideoMenu, "SaveVideoMenu", QT_TR_NOOP("全過程を動画に書き出す"));
  addItem(ToolMenu, ExitByForce, "ExitByForce", QT_TR_NOOP("無理やり終わる"));
}

void MainWindow::BuildWindow() {
  Client = new QWidget(this);
  Client->setObjectName("Client");
  setCentralWidget(Client);

  // Edit area first: it lies behind the canvas, only its parts outside it show.
  // The panels are made in the order of the Tab key.
  EditPanel = new EditArea(Client);

  // The canvas area.
  DrawField = MakePanel(Client, "DrawField", 4, 4, 640, 480, true, true);
  BGImage = Place(new QLabel(DrawField), "BGImage", 0, 0, 640, 480);
  PaintBox = Place(new CanvasView(DrawField), "PaintBox", 0, 0, 640, 480);
  InputEdit = Place(new QLineEdit(DrawField), "InputEdit", 464, 448, 169, 24);
  QFont editFont(kFigureFontFamily);
  editFont.setPixelSize(16);
  InputEdit->setFont(editFont);
  InputEdit->hide();

  DrawPanel = new DrawToolPanel(Client);
  BuildUndoRedoButtons();
  PlayPanel = new PlayControls(Client);
  ReplayPanel = new ReplayControls(Client);
  SelectBtnPanel = new ModeButtons(Client);

  // The process display.
  Memo = Place(new QPlainTextEdit(Client), "Memo", 808, 8, 169, 489);
  Memo->setReadOnly(true);
  // The process display keeps the newest 10,000 lines; older ones go.
  Memo->setMaximumBlockCount(10000);
  // Long lines wrap at the panel's edge: nothing is cut off out of sight.
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ClearMemoBtn = Place(new QPushButton(tr("内部表示のリセット"), Client), "ClearMemoBtn", 808, 504, 169, 25);
  Memo->hide();
  ClearMemoBtn->hide();

  EditPanel->hide();
  PlayPanel->hide();
  ReplayPanel->hide();
}

void MainWindow::BuildUndoRedoButtons() {
  // Children of the client area, placed by mode (ShowModePanels) in room no
  // other control uses.
  UndoStepBtn = new QToolButton(Client);
  UndoStepBtn->setObjectName("UndoStepBtn");
  UndoStepBtn->setToolTip(tr("もどす"));
  RedoStepBtn = new QToolButton(Client);
  RedoStepBtn->setObjectName("RedoStepBtn");
  RedoStepBtn->setToolTip(tr("やりなおす"));
  UndoStepBtn->setEnabled(false);
  RedoStepBtn->setEnabled(false);
}

