// The window as the program starts: layout, names, hints, palette, menus,
// and the state of the draw mode.
#include <QLabel>
#include <QMenuBar>

#include "support/form_fixture.h"
#include "ui/qtdialogs.h"

namespace {

class WindowStartup : public FormTest {
 protected:
  QWidget* Find(const char* name) { return Form->findChild<QWidget*>(QString::fromLatin1(name)); }
};

struct Placement {
  const char* name;
  const char* parent;
  int left, top, width, height;
};

const Placement kLayout[] = {
    {"DrawField", "Client", 4, 4, 640, 480},
    {"BGImage", "DrawField", 0, 0, 640, 480},
    {"PaintBox", "DrawField", 0, 0, 640, 480},
    {"InputEdit", "DrawField", 464, 448, 169, 24},
    {"DrawPanel", "Client", 646, 4, 137, 481},
    {"SelectionBtn", "DrawPanel", 8, 8, 57, 49},
    {"TextBtn", "DrawPanel", 72, 8, 57, 49},
    {"LineBtn", "DrawPanel", 8, 64, 57, 49},
    {"FreeBtn", "DrawPanel", 72, 64, 57, 49},
    {"OvalBtn", "DrawPanel", 8, 120, 57, 49},
    {"RectBtn", "DrawPanel", 72, 120, 57, 49},
    {"PolylineBtn", "DrawPanel", 8, 176, 57, 49},
    {"PolygonBtn", "DrawPanel", 72, 176, 57, 49},
    {"StampBtn", "DrawPanel", 8, 232, 57, 49},
    {"SetStampBtn", "DrawPanel", 8, 328, 121, 41},
    {"StampField", "DrawPanel", 8, 376, 120, 100},
    {"StampImage", "StampField", 5, 4, 108, 85},
    {"EditPanel", "Client", 0, 0, 793, 535},
    {"HTrackBar", "EditPanel", 296, 488, 321, 25},
    {"VTrackBar", "EditPanel", 648, 136, 25, 321},
    {"OpPanel", "EditPanel", 672, 8, 105, 473},
    {"DupBtn", "OpPanel", 8, 8, 89, 41},
    {"DeleteBtn", "OpPanel", 8, 48, 89, 41},
    {"UndoBtn", "OpPanel", 8, 88, 89, 41},
    {"FrontBtn", "OpPanel", 8, 136, 89, 41},
    {"BackBtn", "OpPanel", 8, 176, 89, 41},
    {"ThinBtn", "OpPanel", 8, 224, 89, 41},
    {"ThickBtn", "OpPanel", 8, 264, 89, 41},
    {"LineColorBtn", "OpPanel", 8, 304, 89, 41},
    {"BodyColorBtn", "OpPanel", 8, 344, 89, 41},
    {"ChangeTextBtn", "OpPanel", 8, 384, 89, 41},
    {"TextColorBtn", "OpPanel", 8, 424, 89, 41},
    {"ColorBasePanel", "EditPanel", 4, 484, 285, 43},
    {"ClearPanel", "ColorBasePanel", 8, 4, 25, 33},
    {"ColorPanel01", "ColorBasePanel", 40, 4, 25, 17},
    {"ColorPanel08", "ColorBasePanel", 208, 4, 25, 17},
    {"ColorPanel09", "ColorBasePanel", 40, 20, 25, 17},
    {"ColorPanel16", "ColorBasePanel", 208, 20, 25, 17},
    {"ConfirmPanel", "ColorBasePanel", 240, 4, 33, 33},
    {"PlayPanel", "Client", 4, 486, 617, 45},
    {"ReverseBtn", "PlayPanel", 120, 10, 49, 25},
    {"StopBtn", "PlayPanel", 176, 10, 49, 25},
    {"ForwardBtn", "PlayPanel", 232, 10, 49, 25},
    {"TimeTrackBar", "PlayPanel", 288, 3, 313, 38},
    {"NormalPlayBtn", "PlayPanel", 8, 5, 113, 17},
    {"StepPlayBtn", "PlayPanel", 8, 21, 105, 17},
    {"SelectBtnPanel", "Client", 624, 488, 161, 41},
    {"SelectDrawBtn", "SelectBtnPanel", 8, 8, 49, 25},
    {"SelectEditBtn", "SelectBtnPanel", 56, 8, 49, 25},
    {"SelectPlayBtn", "SelectBtnPanel", 104, 8, 49, 25},
    {"Memo", "Client", 808, 8, 169, 489},
    {"ClearMemoBtn", "Client", 808, 504, 169, 25},
};

TEST_F(WindowStartup, EveryControlSitsAtItsPlaceUnderItsParent) {
  for (const Placement& p : kLayout) {
    SCOPED_TRACE(p.name);
    QWidget* w = Find(p.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height));
    ASSERT_NE(w->parentWidget(), nullptr);
    EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(p.parent));
  }
  // The client area lies directly under the menu bar.
  EXPECT_EQ(Panel(*Form, "Client")->geometry().top(), Form->menuBar()->geometry().bottom() + 1);
  // The edit area lies behind the canvas.
  QObjectList order = Panel(*Form, "Client")->children();
  EXPECT_LT(order.indexOf(Panel(*Form, "EditPanel")), order.indexOf(Panel(*Form, "DrawField")));
}

TEST_F(WindowStartup, WindowIsAtTheTopLeftWithCaptionSizeAndFont) {
  EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("Tamlo Ver.1.23"));
  EXPECT_EQ(Form->objectName(), "TamloForm");
  EXPECT_EQ(Form->size(), QSize(800, 580));
  EXPECT_EQ(Form->pos(), QPoint(0, 0));
  EXPECT_EQ(Form->font().family(), "IPAPGothic");
  EXPECT_EQ(Form->font().pixelSize(), 12);
  EXPECT_EQ(TextBox(*Form)->font().pixelSize(), 16);
  EXPECT_TRUE(Form->acceptDrops());
  EXPECT_EQ(QApplication::applicationName(), "Tamlo");
}

TEST_F(WindowStartup, StartsInDrawModeWithTheSelectionToolAndHiddenExtras) {
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Form, "SelectionBtn")->isChecked());
  EXPECT_TRUE(Button(*Form, "SelectDrawBtn")->isChecked());
  EXPECT_FALSE(Button(*Form, "StampBtn")->isEnabled());
  EXPECT_TRUE(Panel(*Form, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "EditPanel")->isVisible());
  EXPECT_FALSE(Panel(*Form, "PlayPanel")->isVisible());
  EXPECT_FALSE(TextBox(*Form)->isVisible());
  EXPECT_FALSE(MemoBox(*Form)->isVisible());
  EXPECT_FALSE(Button(*Form, "ClearMemoBtn")->isVisible());
  EXPECT_TRUE(Button(*Form, "NormalPlayBtn")->isChecked());
  EXPECT_FALSE(Button(*Form, "NormalPlayBtn")->isVisibleTo(Panel(*Form, "PlayPanel")));
  EXPECT_FALSE(Button(*Form, "StepPlayBtn")->isVisibleTo(Panel(*Form, "PlayPanel")));
  EXPECT_EQ(S().Memo, static_cast<ProcessDisplay*>(Form.get()));
  EXPECT_EQ(S().Pictures, &Form->pictures());
  EXPECT_EQ(S().Dialogs, &Dialogs);
  // A white canvas, and the paint box canvas set for drawing.
  EXPECT_EQ(CanvasPixel(*Form, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(CanvasPixel(*Form, 639, 479), 0xFFFFFFu);
  EXPECT_EQ(Canvas(*Form)->Canvas.PenWidth, 4);
  EXPECT_EQ(Canvas(*Form)->Canvas.PenColor, clBlack);
  EXPECT_EQ(Canvas(*Form)->Canvas.BrushColor, clWhite);
  EXPECT_EQ(Form->pictures().WorkBitmap.size(), QSize(640, 480));
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(WindowStartup, ButtonsCarryPicturesAndHints) {
  const std::pair<QAbstractButton*, const char*> hints[] = {
      {Button(*Form, "SelectionBtn"), "かえたい図形をえらぶ"}, {Button(*Form, "TextBtn"), "もじをかく"},
      {Button(*Form, "LineBtn"), "直線をかく"},                 {Button(*Form, "FreeBtn"), "じゆうにかく"},
      {Button(*Form, "OvalBtn"), "円をかく"},                   {Button(*Form, "RectBtn"), "四角形をかく"},
      {Button(*Form, "PolylineBtn"), "おれ線をかく"},           {Button(*Form, "PolygonBtn"), "多角形をかく"},
      {Button(*Form, "StampBtn"), "スタンプ"},                  {Button(*Form, "DupBtn"), "ふやす"},
      {Button(*Form, "DeleteBtn"), "けす"},                     {Button(*Form, "UndoBtn"), "ふっかつ"},
      {Button(*Form, "FrontBtn"), "てまえに"},                  {Button(*Form, "BackBtn"), "うしろへ"},
      {Button(*Form, "ThinBtn"), "細い線"},                     {Button(*Form, "ThickBtn"), "太い線"},
      {Button(*Form, "LineColorBtn"), "線の色をかえる"},        {Button(*Form, "BodyColorBtn"), "中の色をかえる"},
      {Button(*Form, "ChangeTextBtn"), "もじをかえる"},         {Button(*Form, "TextColorBtn"), "もじの色をかえる"},
  };
  for (auto [button, hint] : hints) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    EXPECT_FALSE(button->icon().isNull());
  }
  EXPECT_EQ(Button(*Form, "SetStampBtn")->text(), QString::fromUtf8("スタンプのせってい"));
  EXPECT_EQ(Swatch(*Form, "ClearPanel")->toolTip(), QString::fromUtf8("ぬりつぶしなし"));
  EXPECT_EQ(Swatch(*Form, "ConfirmPanel")->toolTip(), QString::fromUtf8("色がえらばれています"));
  EXPECT_EQ(Button(*Form, "ReverseBtn")->text(), "<");
  EXPECT_EQ(Button(*Form, "StopBtn")->text(), QString::fromUtf8("□"));
  EXPECT_EQ(Button(*Form, "ForwardBtn")->text(), ">");
  EXPECT_EQ(Button(*Form, "SelectDrawBtn")->text(), QString::fromUtf8("かく"));
  EXPECT_EQ(Button(*Form, "SelectEditBtn")->text(), QString::fromUtf8("なおす"));
  EXPECT_EQ(Button(*Form, "SelectPlayBtn")->text(), QString::fromUtf8("みる"));
  EXPECT_EQ(Button(*Form, "ClearMemoBtn")->text(), QString::fromUtf8("内部表示のリセット"));
  EXPECT_EQ(Button(*Form, "NormalPlayBtn")->text(), QString::fromUtf8("ふつうのさいせい"));
  EXPECT_EQ(Button(*Form, "StepPlayBtn")->text(), QString::fromUtf8("１こずつさいせい"));
}

TEST_F(WindowStartup, PaletteHoldsTheSixteenColours) {
  const ColorRef expected[16] = {0xFFFFFF, 0xB469FF, 0x0000FF, 0x0000D0, 0x000080, 0xEBCE87, 0xFF0000, 0x800080,
                               0x00FFFF, 0x00A5FF, 0x00FF00, 0x00A000, 0x666600, 0xC0C0C0, 0x808080, 0x000000};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ColorPanel(*Form, i)->Color(), expected[i]) << i;
    EXPECT_EQ(ColorPanel(*Form, i)->objectName(), QString::asprintf("ColorPanel%02d", i + 1));
  }
  EXPECT_EQ(Swatch(*Form, "ClearPanel")->Color(), clBtnFace);
  EXPECT_EQ(Swatch(*Form, "ConfirmPanel")->Color(), clBlack);
  EXPECT_EQ(ToQColor(ColorPanel(*Form, 1)->Color()), QColor(255, 105, 180));
}

TEST_F(WindowStartup, SlidersHaveTheirRanges) {
  for (QSlider* bar : {Slider(*Form, "HTrackBar"), Slider(*Form, "VTrackBar")}) {
    EXPECT_EQ(bar->minimum(), -99);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
  }
  EXPECT_EQ(Slider(*Form, "HTrackBar")->orientation(), Qt::Horizontal);
  EXPECT_EQ(Slider(*Form, "HTrackBar")->pageStep(), 10);
  EXPECT_EQ(Slider(*Form, "VTrackBar")->orientation(), Qt::Vertical);
  EXPECT_TRUE(Slider(*Form, "VTrackBar")->invertedAppearance());  // grows downwards
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Slider(*Form, "TimeTrackBar")->minimum(), 0);
}

TEST_F(WindowStartup, MenusCarryTheirCaptionsAndNames) {
  const std::pair<QMenu*, const char*> menus[] = {
      {Menu(*Form, "FileMenu"), "ファイル"}, {Menu(*Form, "DrawMenu"), "ひょうじ"}, {Menu(*Form, "HelpMenu"), "ヘルプ"}, {Menu(*Form, "ToolMenu"), "ツール"}};
  for (auto [menu, caption] : menus) EXPECT_EQ(menu->title(), QString::fromUtf8(caption));
  EXPECT_EQ(Form->menuBar()->actions().size(), 4);
  const std::pair<QAction*, const char*> items[] = {
      {MenuAction(*Form, "ReadDataMenu"), "えをよみこむ"},
      {MenuAction(*Form, "OverWriteDataMenu"), "えをうわがきほぞん"},
      {MenuAction(*Form, "WriteDataMenu"), "えになまえをつけてほぞん"},
      {MenuAction(*Form, "ExitMenu"), "タムロをおわる"},
      {MenuAction(*Form, "ReadBGMenu"), "はいけいをよみこむ"},
      {MenuAction(*Form, "ClearBGMenu"), "はいけいをけす"},
      {MenuAction(*Form, "ClearImageMenu"), "はいけい いがい けす"},
      {MenuAction(*Form, "ClearAllMenu"), "ぜんぶけす"},
      {MenuAction(*Form, "HowToUseMenu"), "タムロのつかいかた"},
      {MenuAction(*Form, "ShowDataMenu"), "Tamloの内部処理の表示"},
      {MenuAction(*Form, "CaptureMenu"), "画面をクリップボードにコピー"},
      {MenuAction(*Form, "SaveScreenBmpMenu"), "画面をBMPに書き出す"},
      {MenuAction(*Form, "SaveScreenJpegMenu"), "画面をJPEGに書き出す"},
      {MenuAction(*Form, "SaveAllProcessMenu"), "全過程をJPEGに書き出す"},
      {MenuAction(*Form, "ExitByForce"), "無理やり終わる"},
  };
  for (auto [item, caption] : items) EXPECT_EQ(item->text(), QString::fromUtf8(caption));
  EXPECT_EQ(MenuAction(*Form, "ClearAllMenu")->objectName(), "ClearAllMenu");
  EXPECT_FALSE(MenuAction(*Form, "HowToUseMenu")->isEnabled());
  EXPECT_TRUE(Menu(*Form, "FileMenu")->menuAction()->isEnabled());
}

TEST_F(WindowStartup, OpeningTheDisplayMenuReturnsToTheSelectionTool) {
  ChooseTool(Button(*Form, "RectBtn"));
  ASSERT_EQ(S().CurrentTool, ToolKind::Rectangle);
  emit Menu(*Form, "DrawMenu")->aboutToShow();
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Form, "SelectionBtn")->isChecked());
}

TEST_F(WindowStartup, EachToolButtonChoosesItsTool) {
  const std::pair<QAbstractButton*, ToolKind> tools[] = {
      {Button(*Form, "TextBtn"), ToolKind::Text},         {Button(*Form, "LineBtn"), ToolKind::Line},         {Button(*Form, "FreeBtn"), ToolKind::FreeLine},
      {Button(*Form, "OvalBtn"), ToolKind::Ellipse},      {Button(*Form, "RectBtn"), ToolKind::Rectangle},    {Button(*Form, "PolylineBtn"), ToolKind::Polyline},
      {Button(*Form, "PolygonBtn"), ToolKind::Polygon},   {Button(*Form, "SetStampBtn"), ToolKind::SetStamp}, {Button(*Form, "SelectionBtn"), ToolKind::None},
  };
  for (auto [button, tool] : tools) {
    ChooseTool(button);
    EXPECT_EQ(S().CurrentTool, tool) << button->objectName().toStdString();
    EXPECT_TRUE(button->isChecked());
  }
  // The stamp tool cannot be chosen without a stamp.
  ChooseTool(Button(*Form, "StampBtn"));
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
}

TEST_F(WindowStartup, AnotherToolDropsUnfinishedTextButTheTextToolKeepsIt) {
  ChooseTool(Button(*Form, "TextBtn"));
  CanvasClick(*Form, 100, 120);
  ASSERT_TRUE(TextBox(*Form)->isVisible());
  EXPECT_EQ(TextBox(*Form)->pos(), QPoint(100, 120));
  TypeText(*Form, "abc");
  ChooseTool(Button(*Form, "TextBtn"));
  EXPECT_TRUE(TextBox(*Form)->isVisible());
  EXPECT_EQ(TextBox(*Form)->text(), "abc");
  ChooseTool(Button(*Form, "LineBtn"));
  EXPECT_FALSE(TextBox(*Form)->isVisible());
  EXPECT_TRUE(TextBox(*Form)->text().isEmpty());
  EXPECT_EQ(S().History.Count(), 0);
}

TEST(QtDialogs, FiltersOfferBothLetterCasesAndDefaultExtensionsAreAppended) {
  EXPECT_EQ(QtDialogs::NameFilters("Tamloファイル（*.tlo）|*.tlo"),
            QStringList{QString::fromUtf8("Tamloファイル（*.tlo） (*.tlo *.TLO)")});
  EXPECT_EQ(QtDialogs::NameFilters("ビットマップ（*.bmp）|*.bmp|JPEGファイル（*.jpg）|*.jpg;*.bmp"),
            (QStringList{QString::fromUtf8("ビットマップ（*.bmp） (*.bmp *.BMP)"),
                         QString::fromUtf8("JPEGファイル（*.jpg） (*.jpg *.JPG *.bmp *.BMP)")}));
  EXPECT_EQ(QtDialogs::WithDefaultExt("/tmp/e", "tlo"), "/tmp/e.tlo");
  EXPECT_EQ(QtDialogs::WithDefaultExt("/tmp/e.TLO", "tlo"), "/tmp/e.TLO");
  EXPECT_EQ(QtDialogs::WithDefaultExt("/tmp/v1.2/e", "tlo"), "/tmp/v1.2/e.tlo");
  EXPECT_EQ(QtDialogs::WithDefaultExt("/tmp/e", ""), "/tmp/e");
}

}  // namespace
