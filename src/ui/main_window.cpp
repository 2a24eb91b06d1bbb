// The main window: building the controls, start-up, the choice of tool and
// the three working modes.
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleOptionComplex>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>
#include <cstdlib>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "ui/icons.h"
#include "ui/paintbox.h"
#include "ui/qtdialogs.h"

namespace {

// The palette of the edit mode, ColorPanel01 … ColorPanel16 (0x00BBGGRR).
constexpr ColorRef kPalette[16] = {
    0xFFFFFF, 0xB469FF, 0x0000FF, 0x0000D0, 0x000080, 0xEBCE87, 0xFF0000, 0x800080,
    0x00FFFF, 0x00A5FF, 0x00FF00, 0x00A000, 0x666600, 0xC0C0C0, 0x808080, 0x000000,
};

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

// A raised panel; `single`: a plain single-line border instead; `white`:
// a white background.
QWidget* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height,
                   bool single = false, bool white = false) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(single ? QFrame::Box | QFrame::Plain : QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  if (white) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
  }
  return Place(static_cast<QWidget*>(panel), name, left, top, width, height);
}

// Sliders page toward a click anywhere off the thumb, not only on the thin
// groove line that the style draws: the whole bar is the channel.
// A thumb length above 0 replaces the style's own.
class ChannelSliderStyle : public QProxyStyle {
 public:
  explicit ChannelSliderStyle(int thumbLength) : m_thumbLength(thumbLength) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SliderLength && m_thumbLength > 0) return m_thumbLength;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
  SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   const QPoint& pos, const QWidget* widget) const override {
    SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    if (control == CC_Slider && hit != SC_SliderHandle && option->rect.contains(pos)) return SC_SliderGroove;
    return hit;
  }

 private:
  int m_thumbLength;
};

void UseChannelClicks(QSlider* slider, int thumbLength = 0) {
  auto* style = new ChannelSliderStyle(thumbLength);
  style->setParent(slider);  // a widget does not own its style
  slider->setStyle(style);
}

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
  for (int i = 0; i < 16; ++i) ColorPanels[i]->SetColor(kPalette[i]);
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

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("TamloMenu");
  auto addMenu = [&](QMenu*& menu, const char* name, const char* caption) {
    menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    // Opening a menu stops the replay before anything else.
    connect(menu, &QMenu::aboutToShow, this, [this] { StopPlaying(); });
  };
  auto addItem = [&](QMenu* menu, QAction*& item, const char* name, const char* caption,
                     void (MainWindow::*handler)()) {
    item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(name);
    // Every command stops the replay first (also when run by its shortcut).
    connect(item, &QAction::triggered, this, [this] { StopPlaying(); });
    if (handler) connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  };

  addMenu(FileMenu, "FileMenu", "ファイル");
  addItem(FileMenu, ReadDataMenu, "ReadDataMenu", "えをよみこむ", &MainWindow::ReadDataMenuClick);
  addItem(FileMenu, OverWriteDataMenu, "OverWriteDataMenu", "えをうわがきほぞん", &MainWindow::OverWriteDataMenuClick);
  addItem(FileMenu, WriteDataMenu, "WriteDataMenu", "えになまえをつけてほぞん", &MainWindow::WriteDataMenuClick);
  addItem(FileMenu, ExitMenu, "ExitMenu", "タムロをおわる", &MainWindow::ExitMenuClick);

  addMenu(DrawMenu, "DrawMenu", "ひょうじ");
  connect(DrawMenu, &QMenu::aboutToShow, this, [this] { DrawMenuClick(); });
  addItem(DrawMenu, ReadBGMenu, "ReadBGMenu", "はいけいをよみこむ", &MainWindow::ReadBGMenuClick);
  addItem(DrawMenu, ClearBGMenu, "ClearBGMenu", "はいけいをけす", nullptr);
  addItem(DrawMenu, ClearImageMenu, "ClearImageMenu", "はいけい いがい けす", nullptr);
  addItem(DrawMenu, ClearAllMenu, "ClearAllMenu", "ぜんぶけす", nullptr);
  for (QAction* item : {ClearBGMenu, ClearImageMenu, ClearAllMenu})
    connect(item, &QAction::triggered, this, [this, item] { ClearMenuClick(item); });

  addMenu(HelpMenu, "HelpMenu", "ヘルプ");
  addItem(HelpMenu, HowToUseMenu, "HowToUseMenu", "タムロのつかいかた", nullptr);
  HowToUseMenu->setEnabled(false);

  addMenu(ToolMenu, "ToolMenu", "ツール");
  addItem(ToolMenu, ShowDataMenu, "ShowDataMenu", "Tamloの内部処理の表示", &MainWindow::ShowDataMenuClick);
  addItem(ToolMenu, CaptureMenu, "CaptureMenu", "画面をクリップボードにコピー", &MainWindow::CaptureMenuClick);
  addItem(ToolMenu, SaveScreenBmpMenu, "SaveScreenBmpMenu", "画面をBMPに書き出す", &MainWindow::SaveScreenBmpMenuClick);
  addItem(ToolMenu, Save2JPEGMenu, "Save2JPEGMenu", "画面をJPEGに書き出す", &MainWindow::Save2JPEGMenuClick);
  addItem(ToolMenu, SaveAllProcessMenu, "SaveAllProcessMenu", "全過程をJPEGに書き出す", &MainWindow::SaveAllProcessMenuClick);
  addItem(ToolMenu, SaveVideoMenu, "SaveVideoMenu", "全過程を動画に書き出す", &MainWindow::SaveVideoMenuClick);
  addItem(ToolMenu, ExitByForce, "ExitByForce", "無理やり終わる", &MainWindow::ExitByForceClick);
}

void MainWindow::BuildWindow() {
  Client = new QWidget(this);
  Client->setObjectName("Client");
  setCentralWidget(Client);

  // Edit area first: it lies behind the canvas, only its parts outside it show.
  EditPanel = MakePanel(Client, "EditPanel", 0, 0, 793, 535, true);
  HTrackBar = Place(new QSlider(Qt::Horizontal, EditPanel), "HTrackBar", 296, 488, 321, 25);
  VTrackBar = Place(new QSlider(Qt::Vertical, EditPanel), "VTrackBar", 648, 136, 25, 321);
  for (QSlider* bar : {HTrackBar, VTrackBar}) {
    bar->setRange(-99, 100);
    bar->setValue(0);
    bar->setTickPosition(QSlider::NoTicks);
    UseChannelClicks(bar, 15);  // the size bars have a 15-pixel thumb
    connect(bar, &QSlider::valueChanged, this, [this, bar] { TrackBarChange(bar); });
  }
  HTrackBar->setPageStep(10);
  // The vertical bar's value grows downwards.
  VTrackBar->setInvertedAppearance(true);
  VTrackBar->setInvertedControls(true);

  OpPanel = MakePanel(EditPanel, "OpPanel", 672, 8, 105, 473);
  struct OpButton {
    QToolButton** member;
    const char* name;
    int top;
    const char* hint;
  };
  const OpButton opButtons[] = {
      {&DupBtn, "DupBtn", 8, "ふやす"},
      {&DeleteBtn, "DeleteBtn", 48, "けす"},
      {&UndoBtn, "UndoBtn", 88, "ふっかつ"},
      {&FrontBtn, "FrontBtn", 136, "てまえに"},
      {&BackBtn, "BackBtn", 176, "うしろへ"},
      {&ThinBtn, "ThinBtn", 224, "細い線"},
      {&ThickBtn, "ThickBtn", 264, "太い線"},
      {&LineColorBtn, "LineColorBtn", 304, "線の色をかえる"},
      {&BodyColorBtn, "BodyColorBtn", 344, "中の色をかえる"},
      {&ChangeTextBtn, "ChangeTextBtn", 384, "もじをかえる"},
      {&TextColorBtn, "TextColorBtn", 424, "もじの色をかえる"},
  };
  for (const OpButton& b : opButtons) {
    auto* button = Place(new QToolButton(OpPanel), b.name, 8, b.top, 89, 41);
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setIconSize(QSize(80, 34));
    button->setIcon(ButtonIcon(b.name, QSize(80, 34)));
    *b.member = button;
  }
  connect(DupBtn, &QToolButton::clicked, this, [this] { DupBtnClick(); });
  connect(DeleteBtn, &QToolButton::clicked, this, [this] { DeleteBtnClick(); });
  connect(UndoBtn, &QToolButton::clicked, this, [this] { UndoBtnClick(); });
  for (QToolButton* b : {FrontBtn, BackBtn})
    connect(b, &QToolButton::clicked, this, [this, b] { FrontBackBtnClick(b); });
  for (QToolButton* b : {ThinBtn, ThickBtn, LineColorBtn, BodyColorBtn, TextColorBtn})
    connect(b, &QToolButton::clicked, this, [this, b] { AttrChangeBtnClick(b); });
  connect(ChangeTextBtn, &QToolButton::clicked, this, [this] { ChangeTextBtnClick(); });

  ColorBasePanel = MakePanel(EditPanel, "ColorBasePanel", 4, 484, 285, 43);
  ClearPanel = Place(new ColorSwatch(ColorBasePanel), "ClearPanel", 8, 4, 25, 33);
  ClearPanel->SetColor(clBtnFace);
  ClearPanel->setToolTip(QString::fromUtf8("ぬりつぶしなし"));
  connect(ClearPanel, &ColorSwatch::Clicked, this, [this] { ClearPanelClick(); });
  for (int i = 0; i < 16; ++i) {
    QByteArray name = QByteArray("ColorPanel") + (i < 9 ? "0" : "") + QByteArray::number(i + 1);
    auto* panel = new ColorSwatch(ColorBasePanel);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(40 + 24 * (i % 8), i < 8 ? 4 : 20, 25, 17);
    connect(panel, &ColorSwatch::Clicked, this, [this](ColorSwatch* p) { ColorPanelClick(p); });
    ColorPanels[i] = panel;
  }
  ConfirmPanel = Place(new ColorSwatch(ColorBasePanel), "ConfirmPanel", 240, 4, 33, 33);
  ConfirmPanel->SetColor(clBlack);
  ConfirmPanel->setToolTip(QString::fromUtf8("色がえらばれています"));

  // The canvas area.
  DrawField = MakePanel(Client, "DrawField", 4, 4, 640, 480, true, true);
  BGImage = Place(new QLabel(DrawField), "BGImage", 0, 0, 640, 480);
  PaintBox = Place(new CanvasView(DrawField), "PaintBox", 0, 0, 640, 480);
  connect(PaintBox, &CanvasView::MouseDown, this, &MainWindow::PaintBoxMouseDown);
  connect(PaintBox, &CanvasView::MouseMove, this, &MainWindow::PaintBoxMouseMove);
  connect(PaintBox, &CanvasView::MouseUp, this, &MainWindow::PaintBoxMouseUp);
  InputEdit = Place(new QLineEdit(DrawField), "InputEdit", 464, 448, 169, 24);
  QFont editFont(kFigureFontFamily);
  editFont.setPixelSize(16);
  InputEdit->setFont(editFont);
  InputEdit->hide();
  InputEdit->installEventFilter(this);

  // The tool panel of the draw mode: one radio group.
  DrawPanel = MakePanel(Client, "DrawPanel", 646, 4, 137, 481);
  ToolGroup = new QButtonGroup(this);
  ToolGroup->setObjectName("ToolGroup");
  ToolGroup->setExclusive(true);
  struct ToolButton {
    QToolButton** member;
    const char* name;
    int left, top, width, height;
    const char* hint;
  };
  const ToolButton toolButtons[] = {
      {&SelectionBtn, "SelectionBtn", 8, 8, 57, 49, "かえたい図形をえらぶ"},
      {&TextBtn, "TextBtn", 72, 8, 57, 49, "もじをかく"},
      {&LineBtn, "LineBtn", 8, 64, 57, 49, "直線をかく"},
      {&FreeBtn, "FreeBtn", 72, 64, 57, 49, "じゆうにかく"},
      {&OvalBtn, "OvalBtn", 8, 120, 57, 49, "円をかく"},
      {&RectBtn, "RectBtn", 72, 120, 57, 49, "四角形をかく"},
      {&PolylineBtn, "PolylineBtn", 8, 176, 57, 49, "おれ線をかく"},
      {&PolygonBtn, "PolygonBtn", 72, 176, 57, 49, "多角形をかく"},
      {&StampBtn, "StampBtn", 8, 232, 57, 49, "スタンプ"},
      {&SetStampBtn, "SetStampBtn", 8, 328, 121, 41, nullptr},
  };
  for (const ToolButton& b : toolButtons) {
    auto* button = Place(new QToolButton(DrawPanel), b.name, b.left, b.top, b.width, b.height);
    button->setCheckable(true);
    if (b.hint) button->setToolTip(QString::fromUtf8(b.hint));
    QSize iconSize = b.hint ? QSize(44, 38) : QSize(40, 17);
    button->setIconSize(iconSize);
    button->setIcon(ButtonIcon(b.name, iconSize));
    ToolGroup->addButton(button);
    connect(button, &QToolButton::clicked, this, [this, button] { DrawingBtnClick(button); });
    *b.member = button;
  }
  SetStampBtn->setText(QString::fromUtf8("スタンプのせってい"));
  SetStampBtn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  SelectionBtn->setChecked(true);
  StampBtn->setEnabled(false);
  StampField = MakePanel(DrawPanel, "StampField", 8, 376, 120, 100, true, true);
  StampImage = Place(new StampPreview(StampField), "StampImage", 5, 4, 108, 85);

  BuildUndoRedoButtons();

  // The play area of the view mode.
  PlayPanel = MakePanel(Client, "PlayPanel", 4, 486, 617, 45);
  ReverseBtn = Place(new QPushButton("<", PlayPanel), "ReverseBtn", 120, 10, 49, 25);
  StopBtn = Place(new QPushButton(QString::fromUtf8("□"), PlayPanel), "StopBtn", 176, 10, 49, 25);
  ForwardBtn = Place(new QPushButton(">", PlayPanel), "ForwardBtn", 232, 10, 49, 25);
  connect(ReverseBtn, &QPushButton::clicked, this, [this] { ReverseBtnClick(); });
  connect(StopBtn, &QPushButton::clicked, this, [this] { StopBtnClick(); });
  connect(ForwardBtn, &QPushButton::clicked, this, [this] { ForwardBtnClick(); });
  TimeTrackBar = Place(new QSlider(Qt::Horizontal, PlayPanel), "TimeTrackBar", 288, 3, 313, 38);
  TimeTrackBar->setRange(0, 0);
  TimeTrackBar->setValue(0);
  TimeTrackBar->setTickPosition(QSlider::TicksBelow);
  TimeTrackBar->setTickInterval(1);
  TimeTrackBar->setPageStep(1);
  UseChannelClicks(TimeTrackBar);
  // valueChanged fires for a new position only, whoever sets it.
  connect(TimeTrackBar, &QSlider::valueChanged, this, [this] { TimeTrackBarChange(); });
  NormalPlayBtn = Place(new QRadioButton(QString::fromUtf8("ふつうのさいせい"), PlayPanel), "NormalPlayBtn", 8, 5, 113, 17);
  StepPlayBtn = Place(new QRadioButton(QString::fromUtf8("１こずつさいせい"), PlayPanel), "StepPlayBtn", 8, 21, 105, 17);
  NormalPlayBtn->setChecked(true);
  NormalPlayBtn->hide();
  StepPlayBtn->hide();
  // The step counter, where the two hidden choices are.
  StepCountLabel = Place(new QLabel(PlayPanel), "StepCountLabel", 8, 3, 105, 38);
  QFont countFont(kFigureFontFamily);
  countFont.setPixelSize(20);
  countFont.setBold(true);
  StepCountLabel->setFont(countFont);
  StepCountLabel->setAlignment(Qt::AlignCenter);
  connect(TimeTrackBar, &QSlider::valueChanged, this, [this] { UpdateStepCount(); });
  connect(TimeTrackBar, &QSlider::rangeChanged, this, [this] { UpdateStepCount(); });
  // A press on the slider's thumb stops the replay even before it moves.
  connect(TimeTrackBar, &QSlider::sliderPressed, this, [this] { StopPlaying(); });
  UpdateStepCount();

  BuildReplayPanel();

  // The mode buttons: a second radio group.
  SelectBtnPanel = MakePanel(Client, "SelectBtnPanel", 624, 488, 161, 41);
  ModeGroup = new QButtonGroup(this);
  ModeGroup->setObjectName("ModeGroup");
  ModeGroup->setExclusive(true);
  SelectDrawBtn = Place(new QToolButton(SelectBtnPanel), "SelectDrawBtn", 8, 8, 49, 25);
  SelectEditBtn = Place(new QToolButton(SelectBtnPanel), "SelectEditBtn", 56, 8, 49, 25);
  SelectPlayBtn = Place(new QToolButton(SelectBtnPanel), "SelectPlayBtn", 104, 8, 49, 25);
  SelectDrawBtn->setText(QString::fromUtf8("かく"));
  SelectEditBtn->setText(QString::fromUtf8("なおす"));
  SelectPlayBtn->setText(QString::fromUtf8("みる"));
  for (QToolButton* b : {SelectDrawBtn, SelectEditBtn, SelectPlayBtn}) {
    b->setCheckable(true);
    ModeGroup->addButton(b);
  }
  SelectDrawBtn->setChecked(true);
  connect(SelectDrawBtn, &QToolButton::clicked, this, [this] { SelectDrawBtnClick(); });
  connect(SelectEditBtn, &QToolButton::clicked, this, [this] { SelectEditBtnClick(); });
  connect(SelectPlayBtn, &QToolButton::clicked, this, [this] { SelectPlayBtnClick(); });

  // The process display.
  Memo = Place(new QPlainTextEdit(Client), "Memo", 808, 8, 169, 489);
  Memo->setReadOnly(true);
  // The process display keeps the newest 10,000 lines; older ones go.
  Memo->setMaximumBlockCount(10000);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ClearMemoBtn = Place(new QPushButton(QString::fromUtf8("内部表示のリセット"), Client), "ClearMemoBtn", 808, 504, 169, 25);
  connect(ClearMemoBtn, &QPushButton::clicked, this, [this] { ClearMemoBtnClick(); });
  Memo->hide();
  ClearMemoBtn->hide();

  EditPanel->hide();
  PlayPanel->hide();
  ReplayPanel->hide();
  ShowModePanels(WindowMode::Draw);

  // The undo and redo buttons follow every change of the history: after
  // each click, canvas gesture and command (connected last, these run after
  // the handlers).
  for (QAbstractButton* b : Client->findChildren<QAbstractButton*>())
    connect(b, &QAbstractButton::clicked, this, [this] { UpdateUndoRedoButtons(); });
  for (ColorSwatch* p : Client->findChildren<ColorSwatch*>())
    connect(p, &ColorSwatch::Clicked, this, [this] { UpdateUndoRedoButtons(); });
  connect(PaintBox, &CanvasView::MouseDown, this, [this] { UpdateUndoRedoButtons(); });
  connect(PaintBox, &CanvasView::MouseUp, this, [this] { UpdateUndoRedoButtons(); });
  for (QAction* item : menuBar()->findChildren<QAction*>())
    connect(item, &QAction::triggered, this, [this] { UpdateUndoRedoButtons(); });

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

void MainWindow::BuildUndoRedoButtons() {
  // Children of the client area, placed by mode (ShowModePanels) in room no
  // other control uses.
  UndoStepBtn = new QToolButton(Client);
  UndoStepBtn->setObjectName("UndoStepBtn");
  UndoStepBtn->setToolTip(QString::fromUtf8("もどす"));
  RedoStepBtn = new QToolButton(Client);
  RedoStepBtn->setObjectName("RedoStepBtn");
  RedoStepBtn->setToolTip(QString::fromUtf8("やりなおす"));
  connect(UndoStepBtn, &QToolButton::clicked, this, [this] { UndoStepBtnClick(); });
  connect(RedoStepBtn, &QToolButton::clicked, this, [this] { RedoStepBtnClick(); });
  UndoStepBtn->setEnabled(false);
  RedoStepBtn->setEnabled(false);
}

void MainWindow::BuildReplayPanel() {
  ReplayPanel = MakePanel(Client, "ReplayPanel", 646, 4, 137, 481);
  PlayBtn = Place(new QToolButton(ReplayPanel), "PlayBtn", 8, 8, 121, 96);
  PlayBtn->setIconSize(QSize(72, 72));
  connect(PlayBtn, &QToolButton::clicked, this, [this] { PlayBtnClick(); });
  ShowPlayState();

  QFont big(kFigureFontFamily);
  big.setPixelSize(18);
  big.setBold(true);
  SpeedLabel = Place(new QLabel(QString::fromUtf8("はやさ"), ReplayPanel), "SpeedLabel", 8, 112, 121, 22);
  SpeedLabel->setFont(big);
  SpeedLabel->setAlignment(Qt::AlignCenter);
  SpeedGroup = new QButtonGroup(this);
  SpeedGroup->setObjectName("SpeedGroup");
  SpeedGroup->setExclusive(true);
  struct SpeedButton {
    QToolButton** member;
    const char* name;
    const char* caption;
    const char* hint;
    PlaybackSpeed speed;
  };
  const SpeedButton speedButtons[] = {
      {&SpeedOneBtn, "SpeedOneBtn", "1×", "1びょうに 1こ", PlaybackSpeed::One},
      {&SpeedTwoBtn, "SpeedTwoBtn", "2×", "1びょうに 2こ", PlaybackSpeed::Two},
      {&SpeedFourBtn, "SpeedFourBtn", "4×", "1びょうに 4こ", PlaybackSpeed::Four},
      {&AsDrawnBtn, "AsDrawnBtn", "as drawn", "かいたときの はやさ", PlaybackSpeed::AsDrawn},
  };
  int top = 138;
  for (const SpeedButton& b : speedButtons) {
    auto* button = Place(new QToolButton(ReplayPanel), b.name, 8, top, 121, 52);
    button->setText(QString::fromUtf8(b.caption));
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setFont(big);
    button->setCheckable(true);
    SpeedGroup->addButton(button, static_cast<int>(b.speed));
    *b.member = button;
    top += 58;
  }
  SpeedOneBtn->setChecked(true);
  connect(SpeedGroup, &QButtonGroup::idClicked, this, [this] { SpeedBtnClick(); });
}

void MainWindow::createWidgets(const QString& commandLineFile) {
  setWindowTitle(QString::fromStdString(S.VersionText));
  Memo->clear();
  move(0, 0);
  Memo->setVisible(S.ShowProcess);
  ClearMemoBtn->setVisible(S.ShowProcess);
  resize(S.ShowProcess ? 990 : 800, 580);
  EditPanel->hide();
  PlayPanel->hide();
  ResetDrawingPen(PaintBox->Canvas);
  if (Pictures.WorkBitmap.width() != kCanvasWidth || Pictures.WorkBitmap.height() != kCanvasHeight) {
    Pictures.WorkBitmap = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    Pictures.WorkBitmap.fill(Qt::white);
  }
  BGImage->setGeometry(0, 0, kCanvasWidth, kCanvasHeight);
  PaintBox->setGeometry(0, 0, kCanvasWidth, kCanvasHeight);
  BlankStampImage();
  PaintBoxPaint();
  StartJournal();
  if (!commandLineFile.isEmpty()) OpenFileByPath(commandLineFile);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Whatever hides the text box (Enter, Escape, a command, a mode change)
  // ends the text change it was opened for.
  if (watched == InputEdit && event->type() == QEvent::Hide && InputEdit->isHidden()) TextEditFig = nullptr;
  if (watched == InputEdit && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      const bool handled = InputEditKeyPress(13);
      UpdateUndoRedoButtons();
      return handled;
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

void MainWindow::DrawingBtnClick(QAbstractButton* button) {
  if (S.PolyDrawing) {
    // An unfinished polyline or polygon keeps its tool.
    (S.CurrentTool == ToolKind::Polygon ? PolygonBtn : PolylineBtn)->setChecked(true);
    return;
  }
  static const char* const kToolNames[] = {"SelectionBtn", "TextBtn",     "LineBtn",    "FreeBtn",
                                           "OvalBtn",       "RectBtn",     "PolylineBtn", "PolygonBtn",
                                           "StampBtn",      "SetStampBtn"};
  const QString name = button->objectName();
  for (int tool = 0; tool < 10; ++tool) {
    if (name == QLatin1String(kToolNames[tool])) {
      S.CurrentTool = static_cast<ToolKind>(tool);
      break;
    }
  }
  if (InputEdit->isVisible() && name != QLatin1String("TextBtn")) HideInputEdit();
}

void MainWindow::HideInputEdit() {
  if (!InputEdit->isVisible()) return;
  InputEdit->clear();
  InputEdit->hide();
}

void MainWindow::BlankStampImage() {
  StampImage->Blank();
  StampBtn->setEnabled(false);
}

void MainWindow::ShowModePanels(WindowMode mode) {
  DrawPanel->setVisible(mode == WindowMode::Draw);
  EditPanel->setVisible(mode == WindowMode::Edit);
  PlayPanel->setVisible(mode == WindowMode::Play);
  ReplayPanel->setVisible(mode == WindowMode::Play);
  // Undo and redo: in the tool panel's free row under the stamp tool, or in
  // the room between the canvas and the edit buttons above the size bar.
  if (mode == WindowMode::Draw) {
    UndoStepBtn->setGeometry(654, 289, 57, 40);
    RedoStepBtn->setGeometry(718, 289, 57, 40);
  } else {
    UndoStepBtn->setGeometry(645, 8, 26, 60);
    RedoStepBtn->setGeometry(645, 74, 26, 60);
  }
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
  S.History.Clear();
  S.CurrentStep = S.History.Head;  // the old records are gone
  S.DrawingFigs.ClearFigs();
  S.DeletedFigs.ClearFigs();
  S.PolyDrawing = S.VertexAdded = S.Dragging = S.MovingFig = false;
  S.SelectedFig = S.MarkedFig = nullptr;
  S.PendingResize = false;
  S.ResizeFig = nullptr;
  S.StampReference = nullptr;
  S.WorkMode = WindowMode::Draw;
  S.CurrentTool = ToolKind::None;
  Memo->clear();
  ShowModePanels(WindowMode::Draw);
  SelectionBtn->setChecked(true);
  SelectDrawBtn->setChecked(true);
  for (QMenu* menu : {FileMenu, DrawMenu, ToolMenu}) SetMenuEnabled(menu, true);
  ResetDrawingPen(PaintBox->Canvas);
  Pictures.BlankBGImage();
  S.ShownBGFileName.clear();
  BlankStampImage();
  PaintBoxPaint();
}

bool MainWindow::LeaveViewMode() {
  S.SelectedFig = S.MarkedFig = nullptr;
  if (S.CurrentStep != S.History.Tail) {
    ModalResult answer = S.Dialogs->Ask("ここからえがきなおしますか？", "かくにん", QuestionButtons::YesNoCancel);
    if (answer == ModalResult::Cancel) {
      // Stay in the view mode, and look like it.
      ShowModePanels(WindowMode::Play);
      SelectPlayBtn->setChecked(true);
      return false;
    }
    if (answer == ModalResult::Yes) {
      BranchTo(S, TimeTrackBar->value());
    } else {
      S.CurrentStep = S.History.Tail;
    }
  }
  SetMenuEnabled(FileMenu, true);
  SetMenuEnabled(DrawMenu, true);
  GoToStep(S);
  Journal.ShowStep(false, 0);  // the drawing and edit modes show the last step
  return true;
}

void MainWindow::SelectDrawBtnClick() {
  StopPlaying();
  TextEditFig = nullptr;  // figures may be rebuilt: never carry a figure across modes
  if (S.PolyDrawing) {
    SelectDrawBtn->setChecked(true);
    return;
  }
  RecordPendingResize(S);
  ResetDrawingPen(PaintBox->Canvas);
  ShowModePanels(WindowMode::Draw);
  if (S.WorkMode == WindowMode::Edit) {
    S.SelectedFig = S.MarkedFig = nullptr;
    HideInputEdit();
  } else if (S.WorkMode == WindowMode::Play) {
    if (!LeaveViewMode()) return;
  }
  S.WorkMode = WindowMode::Draw;
  SelectionBtn->setChecked(true);
  S.CurrentTool = ToolKind::None;
  PaintBoxPaint();
}

void MainWindow::SelectEditBtnClick() {
  StopPlaying();
  TextEditFig = nullptr;  // figures may be rebuilt: never carry a figure across modes
  if (S.PolyDrawing) {
    SelectDrawBtn->setChecked(true);
    return;
  }
  RecordPendingResize(S);
  ShowModePanels(WindowMode::Edit);
  S.SelectedFig = S.MarkedFig = nullptr;
  if (S.WorkMode == WindowMode::Play && !LeaveViewMode()) return;
  SelectionBtn->setChecked(true);
  S.CurrentTool = ToolKind::None;
  S.WorkMode = WindowMode::Edit;
  PaintBoxPaint();
}

void MainWindow::SelectPlayBtnClick() {
  StopPlaying();
  TextEditFig = nullptr;  // figures may be rebuilt: never carry a figure across modes
  if (S.PolyDrawing) {
    SelectDrawBtn->setChecked(true);
    return;
  }
  RecordPendingResize(S);
  S.SelectedFig = S.MarkedFig = nullptr;
  if (S.WorkMode == WindowMode::Play) return;
  if (S.History.Count() == 0) {
    S.Dialogs->ShowMessage("さいせいする絵がありません");
    S.CurrentTool = ToolKind::None;
    if (S.WorkMode == WindowMode::Edit) {
      SelectEditBtn->setChecked(true);
    } else {
      SelectDrawBtn->setChecked(true);
      SelectionBtn->setChecked(true);
    }
    return;
  }
  S.WorkMode = WindowMode::Play;
  SetMenuEnabled(FileMenu, false);
  SetMenuEnabled(DrawMenu, false);
  S.CurrentStep = S.History.Head;
  Pictures.BlankBGImage();
  S.ShownBGFileName.clear();
  S.DrawingFigs.ClearFigs();
  S.DeletedFigs.ClearFigs();
  S.SelectedFig = S.MarkedFig = nullptr;
  BlankStampImage();
  HideInputEdit();
  ShowModePanels(WindowMode::Play);
  ForwardBtn->setEnabled(true);
  StopBtn->setEnabled(true);
  ReverseBtn->setEnabled(false);
  // Position first, then the range: a shorter range never drags the
  // position (and a replay) along with it.
  TimeTrackBar->setValue(0);
  TimeTrackBar->setMaximum(S.History.Count());
  PaintBoxPaint();
  NoteShownStep();
}

void MainWindow::DrawMenuClick() {
  S.CurrentTool = ToolKind::None;
  SelectionBtn->setChecked(true);
}
