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
  EXPECT_EQ(Form->Client->geometry().top(), Form->menuBar()->geometry().bottom() + 1);
  // The edit area lies behind the canvas.
  QObjectList order = Form->Client->children();
  EXPECT_LT(order.indexOf(Form->EditPanel), order.indexOf(Form->DrawField));
}

TEST_F(WindowStartup, WindowIsAtTheTopLeftWithCaptionSizeAndFont) {
  EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("Tamlo Ver.1.23"));
  EXPECT_EQ(Form->objectName(), "TamloForm");
  EXPECT_EQ(Form->size(), QSize(800, 580));
  EXPECT_EQ(Form->pos(), QPoint(0, 0));
  EXPECT_EQ(Form->font().family(), "IPAPGothic");
  EXPECT_EQ(Form->font().pixelSize(), 12);
  EXPECT_EQ(Form->InputEdit->font().pixelSize(), 16);
  EXPECT_TRUE(Form->acceptDrops());
  EXPECT_EQ(QApplication::applicationName(), "Tamlo");
}

TEST_F(WindowStartup, StartsInDrawModeWithTheSelectionToolAndHiddenExtras) {
  EXPECT_EQ(S().WorkMode, WindowMode::Draw);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Form->SelectionBtn->isChecked());
  EXPECT_TRUE(Form->SelectDrawBtn->isChecked());
  EXPECT_FALSE(Form->StampBtn->isEnabled());
  EXPECT_TRUE(Form->DrawPanel->isVisible());
  EXPECT_FALSE(Form->EditPanel->isVisible());
  EXPECT_FALSE(Form->PlayPanel->isVisible());
  EXPECT_FALSE(Form->InputEdit->isVisible());
  EXPECT_FALSE(Form->Memo->isVisible());
  EXPECT_FALSE(Form->ClearMemoBtn->isVisible());
  EXPECT_TRUE(Form->NormalPlayBtn->isChecked());
  EXPECT_FALSE(Form->NormalPlayBtn->isVisibleTo(Form->PlayPanel));
  EXPECT_FALSE(Form->StepPlayBtn->isVisibleTo(Form->PlayPanel));
  EXPECT_EQ(S().Memo, static_cast<ProcessDisplay*>(Form.get()));
  EXPECT_EQ(S().Pictures, &Form->Pictures);
  EXPECT_EQ(S().Dialogs, &Dialogs);
  // A white canvas, and the paint box canvas set for drawing.
  EXPECT_EQ(CanvasPixel(*Form, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(CanvasPixel(*Form, 639, 479), 0xFFFFFFu);
  EXPECT_EQ(Form->PaintBox->Canvas.PenWidth, 4);
  EXPECT_EQ(Form->PaintBox->Canvas.PenColor, clBlack);
  EXPECT_EQ(Form->PaintBox->Canvas.BrushColor, clWhite);
  EXPECT_EQ(Form->Pictures.WorkBitmap.size(), QSize(640, 480));
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(WindowStartup, ButtonsCarryPicturesAndHints) {
  const std::pair<QAbstractButton*, const char*> hints[] = {
      {Form->SelectionBtn, "かえたい図形をえらぶ"}, {Form->TextBtn, "もじをかく"},
      {Form->LineBtn, "直線をかく"},                 {Form->FreeBtn, "じゆうにかく"},
      {Form->OvalBtn, "円をかく"},                   {Form->RectBtn, "四角形をかく"},
      {Form->PolylineBtn, "おれ線をかく"},           {Form->PolygonBtn, "多角形をかく"},
      {Form->StampBtn, "スタンプ"},                  {Form->DupBtn, "ふやす"},
      {Form->DeleteBtn, "けす"},                     {Form->UndoBtn, "ふっかつ"},
      {Form->FrontBtn, "てまえに"},                  {Form->BackBtn, "うしろへ"},
      {Form->ThinBtn, "細い線"},                     {Form->ThickBtn, "太い線"},
      {Form->LineColorBtn, "線の色をかえる"},        {Form->BodyColorBtn, "中の色をかえる"},
      {Form->ChangeTextBtn, "もじをかえる"},         {Form->TextColorBtn, "もじの色をかえる"},
  };
  for (auto [button, hint] : hints) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    EXPECT_FALSE(button->icon().isNull());
  }
  EXPECT_EQ(Form->SetStampBtn->text(), QString::fromUtf8("スタンプのせってい"));
  EXPECT_EQ(Form->ClearPanel->toolTip(), QString::fromUtf8("ぬりつぶしなし"));
  EXPECT_EQ(Form->ConfirmPanel->toolTip(), QString::fromUtf8("色がえらばれています"));
  EXPECT_EQ(Form->ReverseBtn->text(), "<");
  EXPECT_EQ(Form->StopBtn->text(), QString::fromUtf8("□"));
  EXPECT_EQ(Form->ForwardBtn->text(), ">");
  EXPECT_EQ(Form->SelectDrawBtn->text(), QString::fromUtf8("かく"));
  EXPECT_EQ(Form->SelectEditBtn->text(), QString::fromUtf8("なおす"));
  EXPECT_EQ(Form->SelectPlayBtn->text(), QString::fromUtf8("みる"));
  EXPECT_EQ(Form->ClearMemoBtn->text(), QString::fromUtf8("内部表示のリセット"));
  EXPECT_EQ(Form->NormalPlayBtn->text(), QString::fromUtf8("ふつうのさいせい"));
  EXPECT_EQ(Form->StepPlayBtn->text(), QString::fromUtf8("１こずつさいせい"));
}

TEST_F(WindowStartup, PaletteHoldsTheSixteenColours) {
  const ColorRef expected[16] = {0xFFFFFF, 0xB469FF, 0x0000FF, 0x0000D0, 0x000080, 0xEBCE87, 0xFF0000, 0x800080,
                               0x00FFFF, 0x00A5FF, 0x00FF00, 0x00A000, 0x666600, 0xC0C0C0, 0x808080, 0x000000};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(Form->ColorPanels[i]->Color(), expected[i]) << i;
    EXPECT_EQ(Form->ColorPanels[i]->objectName(), QString::asprintf("ColorPanel%02d", i + 1));
  }
  EXPECT_EQ(Form->ClearPanel->Color(), clBtnFace);
  EXPECT_EQ(Form->ConfirmPanel->Color(), clBlack);
  EXPECT_EQ(ToQColor(Form->ColorPanels[1]->Color()), QColor(255, 105, 180));
}

TEST_F(WindowStartup, SlidersHaveTheirRanges) {
  for (QSlider* bar : {Form->HTrackBar, Form->VTrackBar}) {
    EXPECT_EQ(bar->minimum(), -99);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
  }
  EXPECT_EQ(Form->HTrackBar->orientation(), Qt::Horizontal);
  EXPECT_EQ(Form->HTrackBar->pageStep(), 10);
  EXPECT_EQ(Form->VTrackBar->orientation(), Qt::Vertical);
  EXPECT_TRUE(Form->VTrackBar->invertedAppearance());  // grows downwards
  EXPECT_EQ(Form->TimeTrackBar->value(), 0);
  EXPECT_EQ(Form->TimeTrackBar->minimum(), 0);
}

TEST_F(WindowStartup, MenusCarryTheirCaptionsAndNames) {
  const std::pair<QMenu*, const char*> menus[] = {
      {Form->FileMenu, "ファイル"}, {Form->DrawMenu, "ひょうじ"}, {Form->HelpMenu, "ヘルプ"}, {Form->ToolMenu, "ツール"}};
  for (auto [menu, caption] : menus) EXPECT_EQ(menu->title(), QString::fromUtf8(caption));
  EXPECT_EQ(Form->menuBar()->actions().size(), 4);
  const std::pair<QAction*, const char*> items[] = {
      {Form->ReadDataMenu, "えをよみこむ"},
      {Form->OverWriteDataMenu, "えをうわがきほぞん"},
      {Form->WriteDataMenu, "えになまえをつけてほぞん"},
      {Form->ExitMenu, "タムロをおわる"},
      {Form->ReadBGMenu, "はいけいをよみこむ"},
      {Form->ClearBGMenu, "はいけいをけす"},
      {Form->ClearImageMenu, "はいけい いがい けす"},
      {Form->ClearAllMenu, "ぜんぶけす"},
      {Form->HowToUseMenu, "タムロのつかいかた"},
      {Form->ShowDataMenu, "Tamloの内部処理の表示"},
      {Form->CaptureMenu, "画面をクリップボードにコピー"},
      {Form->SaveScreenBmpMenu, "画面をBMPに書き出す"},
      {Form->Save2JPEGMenu, "画面をJPEGに書き出す"},
      {Form->SaveAllProcessMenu, "全過程をJPEGに書き出す"},
      {Form->ExitByForce, "無理やり終わる"},
  };
  for (auto [item, caption] : items) EXPECT_EQ(item->text(), QString::fromUtf8(caption));
  EXPECT_EQ(Form->ClearAllMenu->objectName(), "ClearAllMenu");
  EXPECT_FALSE(Form->HowToUseMenu->isEnabled());
  EXPECT_TRUE(Form->FileMenu->menuAction()->isEnabled());
}

TEST_F(WindowStartup, OpeningTheDisplayMenuReturnsToTheSelectionTool) {
  ChooseTool(Form->RectBtn);
  ASSERT_EQ(S().CurrentTool, ToolKind::Rectangle);
  emit Form->DrawMenu->aboutToShow();
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Form->SelectionBtn->isChecked());
}

TEST_F(WindowStartup, EachToolButtonChoosesItsTool) {
  const std::pair<QAbstractButton*, ToolKind> tools[] = {
      {Form->TextBtn, ToolKind::Text},         {Form->LineBtn, ToolKind::Line},         {Form->FreeBtn, ToolKind::FreeLine},
      {Form->OvalBtn, ToolKind::Ellipse},      {Form->RectBtn, ToolKind::Rectangle},    {Form->PolylineBtn, ToolKind::Polyline},
      {Form->PolygonBtn, ToolKind::Polygon},   {Form->SetStampBtn, ToolKind::SetStamp}, {Form->SelectionBtn, ToolKind::None},
  };
  for (auto [button, tool] : tools) {
    ChooseTool(button);
    EXPECT_EQ(S().CurrentTool, tool) << button->objectName().toStdString();
    EXPECT_TRUE(button->isChecked());
  }
  // The stamp tool cannot be chosen without a stamp.
  ChooseTool(Form->StampBtn);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
}

TEST_F(WindowStartup, AnotherToolDropsUnfinishedTextButTheTextToolKeepsIt) {
  ChooseTool(Form->TextBtn);
  CanvasClick(*Form, 100, 120);
  ASSERT_TRUE(Form->InputEdit->isVisible());
  EXPECT_EQ(Form->InputEdit->pos(), QPoint(100, 120));
  TypeText(*Form, "abc");
  ChooseTool(Form->TextBtn);
  EXPECT_TRUE(Form->InputEdit->isVisible());
  EXPECT_EQ(Form->InputEdit->text(), "abc");
  ChooseTool(Form->LineBtn);
  EXPECT_FALSE(Form->InputEdit->isVisible());
  EXPECT_TRUE(Form->InputEdit->text().isEmpty());
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
