// The window as the program starts: layout, names, hints, palette, menus,
// and the state of the draw mode.
#include <QLabel>
#include <QMenuBar>

#include "support/window_fixture.h"
#include "ui/qtdialogs.h"

namespace {

class WindowStartup : public WindowTest {
 protected:
  QWidget* Find(const char* name) { return Window->findChild<QWidget*>(QString::fromLatin1(name)); }
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
  EXPECT_EQ(Panel(*Window, "Client")->geometry().top(), Window->menuBar()->geometry().bottom() + 1);
  // The edit area lies behind the canvas.
  QObjectList order = Panel(*Window, "Client")->children();
  EXPECT_LT(order.indexOf(Panel(*Window, "EditPanel")), order.indexOf(Panel(*Window, "DrawField")));
}

TEST_F(WindowStartup, WindowIsAtTheTopLeftWithCaptionSizeAndFont) {
  EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("Tamlo Ver.1.23"));
  EXPECT_EQ(Window->objectName(), "TamloForm");
  EXPECT_EQ(Window->size(), QSize(800, 580));
  EXPECT_EQ(Window->pos(), QPoint(0, 0));
  EXPECT_EQ(Window->font().family(), "IPAPGothic");
  EXPECT_EQ(Window->font().pixelSize(), 12);
  EXPECT_EQ(TextBox(*Window)->font().pixelSize(), 16);
  EXPECT_TRUE(Window->acceptDrops());
  EXPECT_EQ(QApplication::applicationName(), "Tamlo");
}

TEST_F(WindowStartup, StartsInDrawModeWithTheSelectionToolAndHiddenExtras) {
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
  EXPECT_TRUE(Button(*Window, "SelectDrawBtn")->isChecked());
  EXPECT_FALSE(Button(*Window, "StampBtn")->isEnabled());
  EXPECT_TRUE(Panel(*Window, "DrawPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "EditPanel")->isVisible());
  EXPECT_FALSE(Panel(*Window, "PlayPanel")->isVisible());
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_FALSE(MemoBox(*Window)->isVisible());
  EXPECT_FALSE(Button(*Window, "ClearMemoBtn")->isVisible());
  EXPECT_TRUE(Button(*Window, "NormalPlayBtn")->isChecked());
  EXPECT_FALSE(Button(*Window, "NormalPlayBtn")->isVisibleTo(Panel(*Window, "PlayPanel")));
  EXPECT_FALSE(Button(*Window, "StepPlayBtn")->isVisibleTo(Panel(*Window, "PlayPanel")));
  EXPECT_EQ(S().Memo, static_cast<ProcessDisplay*>(Window.get()));
  EXPECT_EQ(S().Pictures, &Window->pictures());
  EXPECT_EQ(S().Dialogs, &Dialogs);
  // A white canvas, and the paint box canvas set for drawing.
  EXPECT_EQ(CanvasPixel(*Window, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(CanvasPixel(*Window, 639, 479), 0xFFFFFFu);
  EXPECT_EQ(Canvas(*Window)->Canvas.PenWidth, 4);
  EXPECT_EQ(Canvas(*Window)->Canvas.PenColor, clBlack);
  EXPECT_EQ(Canvas(*Window)->Canvas.BrushColor, clWhite);
  EXPECT_EQ(Window->pictures().WorkBitmap.size(), QSize(640, 480));
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(WindowStartup, ButtonsCarryPicturesAndHints) {
  const std::pair<QAbstractButton*, const char*> hints[] = {
      {Button(*Window, "SelectionBtn"), "かえたい図形をえらぶ"}, {Button(*Window, "TextBtn"), "もじをかく"},
      {Button(*Window, "LineBtn"), "直線をかく"},                 {Button(*Window, "FreeBtn"), "じゆうにかく"},
      {Button(*Window, "OvalBtn"), "円をかく"},                   {Button(*Window, "RectBtn"), "四角形をかく"},
      {Button(*Window, "PolylineBtn"), "おれ線をかく"},           {Button(*Window, "PolygonBtn"), "多角形をかく"},
      {Button(*Window, "StampBtn"), "スタンプ"},                  {Button(*Window, "DupBtn"), "ふやす"},
      {Button(*Window, "DeleteBtn"), "けす"},                     {Button(*Window, "UndoBtn"), "ふっかつ"},
      {Button(*Window, "FrontBtn"), "てまえに"},                  {Button(*Window, "BackBtn"), "うしろへ"},
      {Button(*Window, "ThinBtn"), "細い線"},                     {Button(*Window, "ThickBtn"), "太い線"},
      {Button(*Window, "LineColorBtn"), "線の色をかえる"},        {Button(*Window, "BodyColorBtn"), "中の色をかえる"},
      {Button(*Window, "ChangeTextBtn"), "もじをかえる"},         {Button(*Window, "TextColorBtn"), "もじの色をかえる"},
  };
  for (auto [button, hint] : hints) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    EXPECT_FALSE(button->icon().isNull());
  }
  EXPECT_EQ(Button(*Window, "SetStampBtn")->text(), QString::fromUtf8("スタンプのせってい"));
  EXPECT_EQ(Swatch(*Window, "ClearPanel")->toolTip(), QString::fromUtf8("ぬりつぶしなし"));
  EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->toolTip(), QString::fromUtf8("色がえらばれています"));
  EXPECT_EQ(Button(*Window, "ReverseBtn")->text(), "<");
  EXPECT_EQ(Button(*Window, "StopBtn")->text(), QString::fromUtf8("□"));
  EXPECT_EQ(Button(*Window, "ForwardBtn")->text(), ">");
  EXPECT_EQ(Button(*Window, "SelectDrawBtn")->text(), QString::fromUtf8("かく"));
  EXPECT_EQ(Button(*Window, "SelectEditBtn")->text(), QString::fromUtf8("なおす"));
  EXPECT_EQ(Button(*Window, "SelectPlayBtn")->text(), QString::fromUtf8("みる"));
  EXPECT_EQ(Button(*Window, "ClearMemoBtn")->text(), QString::fromUtf8("内部表示のリセット"));
  EXPECT_EQ(Button(*Window, "NormalPlayBtn")->text(), QString::fromUtf8("ふつうのさいせい"));
  EXPECT_EQ(Button(*Window, "StepPlayBtn")->text(), QString::fromUtf8("１こずつさいせい"));
}

TEST_F(WindowStartup, PaletteHoldsTheSixteenColours) {
  const ColorRef expected[16] = {0xFFFFFF, 0xB469FF, 0x0000FF, 0x0000D0, 0x000080, 0xEBCE87, 0xFF0000, 0x800080,
                               0x00FFFF, 0x00A5FF, 0x00FF00, 0x00A000, 0x666600, 0xC0C0C0, 0x808080, 0x000000};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ColorPanel(*Window, i)->Color(), expected[i]) << i;
    EXPECT_EQ(ColorPanel(*Window, i)->objectName(), QString::asprintf("ColorPanel%02d", i + 1));
  }
  EXPECT_EQ(Swatch(*Window, "ClearPanel")->Color(), clBtnFace);
  EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->Color(), clBlack);
  EXPECT_EQ(ToQColor(ColorPanel(*Window, 1)->Color()), QColor(255, 105, 180));
}

TEST_F(WindowStartup, SlidersHaveTheirRanges) {
  for (QSlider* bar : {Slider(*Window, "HTrackBar"), Slider(*Window, "VTrackBar")}) {
    EXPECT_EQ(bar->minimum(), -99);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
  }
  EXPECT_EQ(Slider(*Window, "HTrackBar")->orientation(), Qt::Horizontal);
  EXPECT_EQ(Slider(*Window, "HTrackBar")->pageStep(), 10);
  EXPECT_EQ(Slider(*Window, "VTrackBar")->orientation(), Qt::Vertical);
  EXPECT_TRUE(Slider(*Window, "VTrackBar")->invertedAppearance());  // grows downwards
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 0);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->minimum(), 0);
}

TEST_F(WindowStartup, MenusCarryTheirCaptionsAndNames) {
  const std::pair<QMenu*, const char*> menus[] = {
      {Menu(*Window, "FileMenu"), "ファイル"}, {Menu(*Window, "DrawMenu"), "ひょうじ"}, {Menu(*Window, "HelpMenu"), "ヘルプ"}, {Menu(*Window, "ToolMenu"), "ツール"}};
  for (auto [menu, caption] : menus) EXPECT_EQ(menu->title(), QString::fromUtf8(caption));
  EXPECT_EQ(Window->menuBar()->actions().size(), 4);
  const std::pair<QAction*, const char*> items[] = {
      {MenuAction(*Window, "ReadDataMenu"), "えをよみこむ"},
      {MenuAction(*Window, "OverWriteDataMenu"), "えをうわがきほぞん"},
      {MenuAction(*Window, "WriteDataMenu"), "えになまえをつけてほぞん"},
      {MenuAction(*Window, "ExitMenu"), "タムロをおわる"},
      {MenuAction(*Window, "ReadBGMenu"), "はいけいをよみこむ"},
      {MenuAction(*Window, "ClearBGMenu"), "はいけいをけす"},
      {MenuAction(*Window, "ClearImageMenu"), "はいけい いがい けす"},
      {MenuAction(*Window, "ClearAllMenu"), "ぜんぶけす"},
      {MenuAction(*Window, "HowToUseMenu"), "タムロのつかいかた"},
      {MenuAction(*Window, "ShowDataMenu"), "Tamloの内部処理の表示"},
      {MenuAction(*Window, "CaptureMenu"), "画面をクリップボードにコピー"},
      {MenuAction(*Window, "SaveScreenBmpMenu"), "画面をBMPに書き出す"},
      {MenuAction(*Window, "SaveScreenJpegMenu"), "画面をJPEGに書き出す"},
      {MenuAction(*Window, "SaveAllProcessMenu"), "全過程をJPEGに書き出す"},
      {MenuAction(*Window, "ExitByForce"), "無理やり終わる"},
  };
  for (auto [item, caption] : items) EXPECT_EQ(item->text(), QString::fromUtf8(caption));
  EXPECT_EQ(MenuAction(*Window, "ClearAllMenu")->objectName(), "ClearAllMenu");
  EXPECT_TRUE(MenuAction(*Window, "HowToUseMenu")->isEnabled());
  EXPECT_TRUE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
}

TEST_F(WindowStartup, OpeningTheDisplayMenuReturnsToTheSelectionTool) {
  ChooseTool(Button(*Window, "RectBtn"));
  ASSERT_EQ(S().CurrentTool, ToolKind::Rectangle);
  emit Menu(*Window, "DrawMenu")->aboutToShow();
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
}

TEST_F(WindowStartup, EachToolButtonChoosesItsTool) {
  const std::pair<QAbstractButton*, ToolKind> tools[] = {
      {Button(*Window, "TextBtn"), ToolKind::Text},         {Button(*Window, "LineBtn"), ToolKind::Line},         {Button(*Window, "FreeBtn"), ToolKind::FreeLine},
      {Button(*Window, "OvalBtn"), ToolKind::Ellipse},      {Button(*Window, "RectBtn"), ToolKind::Rectangle},    {Button(*Window, "PolylineBtn"), ToolKind::Polyline},
      {Button(*Window, "PolygonBtn"), ToolKind::Polygon},   {Button(*Window, "SetStampBtn"), ToolKind::SetStamp}, {Button(*Window, "SelectionBtn"), ToolKind::None},
  };
  for (auto [button, tool] : tools) {
    ChooseTool(button);
    EXPECT_EQ(S().CurrentTool, tool) << button->objectName().toStdString();
    EXPECT_TRUE(button->isChecked());
  }
  // The stamp tool cannot be chosen without a stamp.
  ChooseTool(Button(*Window, "StampBtn"));
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
}

TEST_F(WindowStartup, AnotherToolDropsUnfinishedTextButTheTextToolKeepsIt) {
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasClick(*Window, 100, 120);
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_EQ(TextBox(*Window)->pos(), QPoint(100, 120));
  TypeText(*Window, "abc");
  ChooseTool(Button(*Window, "TextBtn"));
  EXPECT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_EQ(TextBox(*Window)->text(), "abc");
  ChooseTool(Button(*Window, "LineBtn"));
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(TextBox(*Window)->text().isEmpty());
  EXPECT_EQ(S().History().Count(), 0);
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
