// The window's controls: each one built, named and placed where the child
// finds it. What the controls do is connected in main_window_wiring.cpp.
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

namespace {

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
  BuildEditArea();

  // The canvas area.
  DrawField = MakePanel(Client, "DrawField", 4, 4, 640, 480, true, true);
  BGImage = Place(new QLabel(DrawField), "BGImage", 0, 0, 640, 480);
  PaintBox = Place(new CanvasView(DrawField), "PaintBox", 0, 0, 640, 480);
  InputEdit = Place(new QLineEdit(DrawField), "InputEdit", 464, 448, 169, 24);
  QFont editFont(kFigureFontFamily);
  editFont.setPixelSize(16);
  InputEdit->setFont(editFont);
  InputEdit->hide();

  BuildToolPanel();
  BuildUndoRedoButtons();
  BuildPlayArea();
  BuildReplayPanel();
  BuildModeButtons();

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

void MainWindow::BuildEditArea() {
  EditPanel = MakePanel(Client, "EditPanel", 0, 0, 793, 535, true);
  HTrackBar = Place(new QSlider(Qt::Horizontal, EditPanel), "HTrackBar", 296, 488, 321, 25);
  VTrackBar = Place(new QSlider(Qt::Vertical, EditPanel), "VTrackBar", 648, 136, 25, 321);
  for (QSlider* bar : {HTrackBar, VTrackBar}) {
    bar->setRange(-99, 100);
    bar->setValue(0);
    bar->setTickPosition(QSlider::NoTicks);
    UseChannelClicks(bar, 15);  // the size bars have a 15-pixel thumb
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
      {&DupBtn, "DupBtn", 8, QT_TR_NOOP("ふやす")},
      {&DeleteBtn, "DeleteBtn", 48, QT_TR_NOOP("けす")},
      {&UndoBtn, "UndoBtn", 88, QT_TR_NOOP("ふっかつ")},
      {&FrontBtn, "FrontBtn", 136, QT_TR_NOOP("てまえに")},
      {&BackBtn, "BackBtn", 176, QT_TR_NOOP("うしろへ")},
      {&ThinBtn, "ThinBtn", 224, QT_TR_NOOP("細い線")},
      {&ThickBtn, "ThickBtn", 264, QT_TR_NOOP("太い線")},
      {&LineColorBtn, "LineColorBtn", 304, QT_TR_NOOP("線の色をかえる")},
      {&BodyColorBtn, "BodyColorBtn", 344, QT_TR_NOOP("中の色をかえる")},
      {&ChangeTextBtn, "ChangeTextBtn", 384, QT_TR_NOOP("もじをかえる")},
      {&TextColorBtn, "TextColorBtn", 424, QT_TR_NOOP("もじの色をかえる")},
  };
  for (const OpButton& b : opButtons) {
    auto* button = Place(new QToolButton(OpPanel), b.name, 8, b.top, 89, 41);
    button->setToolTip(tr(b.hint));
    button->setIconSize(QSize(80, 34));
    button->setIcon(ButtonIcon(b.name, QSize(80, 34)));
    *b.member = button;
  }

  ColorBasePanel = MakePanel(EditPanel, "ColorBasePanel", 4, 484, 285, 43);
  ClearPanel = Place(new ColorSwatch(ColorBasePanel), "ClearPanel", 8, 4, 25, 33);
  ClearPanel->SetColor(clBtnFace);
  ClearPanel->setToolTip(tr("ぬりつぶしなし"));
  for (int i = 0; i < 16; ++i) {
    QByteArray name = QByteArray("ColorPanel") + (i < 9 ? "0" : "") + QByteArray::number(i + 1);
    auto* panel = new ColorSwatch(ColorBasePanel);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(40 + 24 * (i % 8), i < 8 ? 4 : 20, 25, 17);
    ColorPanels[i] = panel;
  }
  ConfirmPanel = Place(new ColorSwatch(ColorBasePanel), "ConfirmPanel", 240, 4, 33, 33);
  ConfirmPanel->SetColor(clBlack);
  ConfirmPanel->setToolTip(tr("色がえらばれています"));
}

void MainWindow::BuildToolPanel() {
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
      {&SelectionBtn, "SelectionBtn", 8, 8, 57, 49, QT_TR_NOOP("かえたい図形をえらぶ")},
      {&TextBtn, "TextBtn", 72, 8, 57, 49, QT_TR_NOOP("もじをかく")},
      {&LineBtn, "LineBtn", 8, 64, 57, 49, QT_TR_NOOP("直線をかく")},
      {&FreeBtn, "FreeBtn", 72, 64, 57, 49, QT_TR_NOOP("じゆうにかく")},
      {&OvalBtn, "OvalBtn", 8, 120, 57, 49, QT_TR_NOOP("円をかく")},
      {&RectBtn, "RectBtn", 72, 120, 57, 49, QT_TR_NOOP("四角形をかく")},
      {&PolylineBtn, "PolylineBtn", 8, 176, 57, 49, QT_TR_NOOP("おれ線をかく")},
      {&PolygonBtn, "PolygonBtn", 72, 176, 57, 49, QT_TR_NOOP("多角形をかく")},
      {&StampBtn, "StampBtn", 8, 232, 57, 49, QT_TR_NOOP("スタンプ")},
      {&SetStampBtn, "SetStampBtn", 8, 328, 121, 41, nullptr},
  };
  for (const ToolButton& b : toolButtons) {
    auto* button = Place(new QToolButton(DrawPanel), b.name, b.left, b.top, b.width, b.height);
    button->setCheckable(true);
    if (b.hint) button->setToolTip(tr(b.hint));
    QSize iconSize = b.hint ? QSize(44, 38) : QSize(40, 17);
    button->setIconSize(iconSize);
    button->setIcon(ButtonIcon(b.name, iconSize));
    ToolGroup->addButton(button);
    *b.member = button;
  }
  SetStampBtn->setText(tr("スタンプのせってい"));
  SetStampBtn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  SelectionBtn->setChecked(true);
  StampBtn->setEnabled(false);
  StampField = MakePanel(DrawPanel, "StampField", 8, 376, 120, 100, true, true);
  StampImage = Place(new StampPreview(StampField), "StampImage", 5, 4, 108, 85);
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

void MainWindow::BuildPlayArea() {
  // The play area of the view mode.
  PlayPanel = MakePanel(Client, "PlayPanel", 4, 486, 617, 45);
  ReverseBtn = Place(new QPushButton("<", PlayPanel), "ReverseBtn", 120, 10, 49, 25);
  StopBtn = Place(new QPushButton(QString::fromUtf8("□"), PlayPanel), "StopBtn", 176, 10, 49, 25);
  ForwardBtn = Place(new QPushButton(">", PlayPanel), "ForwardBtn", 232, 10, 49, 25);
  TimeTrackBar = Place(new QSlider(Qt::Horizontal, PlayPanel), "TimeTrackBar", 288, 3, 313, 38);
  TimeTrackBar->setRange(0, 0);
  TimeTrackBar->setValue(0);
  TimeTrackBar->setTickPosition(QSlider::TicksBelow);
  TimeTrackBar->setTickInterval(1);
  TimeTrackBar->setPageStep(1);
  UseChannelClicks(TimeTrackBar);
  NormalPlayBtn = Place(new QRadioButton(tr("ふつうのさいせい"), PlayPanel), "NormalPlayBtn", 8, 5, 113, 17);
  StepPlayBtn = Place(new QRadioButton(tr("１こずつさいせい"), PlayPanel), "StepPlayBtn", 8, 21, 105, 17);
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
  UpdateStepCount();
}

void MainWindow::BuildReplayPanel() {
  ReplayPanel = MakePanel(Client, "ReplayPanel", 646, 4, 137, 481);
  PlayBtn = Place(new QToolButton(ReplayPanel), "PlayBtn", 8, 8, 121, 96);
  PlayBtn->setIconSize(QSize(72, 72));
  ShowPlayState();

  QFont big(kFigureFontFamily);
  big.setPixelSize(18);
  big.setBold(true);
  SpeedLabel = Place(new QLabel(tr("はやさ"), ReplayPanel), "SpeedLabel", 8, 112, 121, 22);
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
  };
  const SpeedButton speedButtons[] = {
      {&SpeedOneBtn, "SpeedOneBtn", "1×", QT_TR_NOOP("1びょうに 1こ")},
      {&SpeedTwoBtn, "SpeedTwoBtn", "2×", QT_TR_NOOP("1びょうに 2こ")},
      {&SpeedFourBtn, "SpeedFourBtn", "4×", QT_TR_NOOP("1びょうに 4こ")},
      {&AsDrawnBtn, "AsDrawnBtn", QT_TR_NOOP("かいた\nとおり"), QT_TR_NOOP("かいたときの はやさ")},
  };
  int top = 138;
  for (const SpeedButton& b : speedButtons) {
    auto* button = Place(new QToolButton(ReplayPanel), b.name, 8, top, 121, 52);
    button->setText(tr(b.caption));
    button->setToolTip(tr(b.hint));
    button->setFont(big);
    button->setCheckable(true);
    SpeedGroup->addButton(button);
    *b.member = button;
    top += 58;
  }
  SpeedOneBtn->setChecked(true);
}

void MainWindow::BuildModeButtons() {
  // The mode buttons: a second radio group.
  SelectBtnPanel = MakePanel(Client, "SelectBtnPanel", 624, 488, 161, 41);
  ModeGroup = new QButtonGroup(this);
  ModeGroup->setObjectName("ModeGroup");
  ModeGroup->setExclusive(true);
  SelectDrawBtn = Place(new QToolButton(SelectBtnPanel), "SelectDrawBtn", 8, 8, 49, 25);
  SelectEditBtn = Place(new QToolButton(SelectBtnPanel), "SelectEditBtn", 56, 8, 49, 25);
  SelectPlayBtn = Place(new QToolButton(SelectBtnPanel), "SelectPlayBtn", 104, 8, 49, 25);
  SelectDrawBtn->setText(tr("かく"));
  SelectEditBtn->setText(tr("なおす"));
  SelectPlayBtn->setText(tr("みる"));
  for (QToolButton* b : {SelectDrawBtn, SelectEditBtn, SelectPlayBtn}) {
    b->setCheckable(true);
    ModeGroup->addButton(b);
  }
  SelectDrawBtn->setChecked(true);
}
