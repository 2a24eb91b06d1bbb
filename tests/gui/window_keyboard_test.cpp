// The window without a mouse: the menu bar by F10 and Alt from anywhere,
// the file shortcuts, Tab and the arrows through the controls and colours,
// the focus ring, and every figure kind drawn with the canvas's keyboard
// pointer.
#include <QMenuBar>

#include "support/window_fixture.h"

namespace {

std::string Names(const std::vector<QWidget*>& widgets) {
  std::string names;
  for (QWidget* w : widgets) names += (w ? w->objectName().toStdString() : std::string("-")) + " ";
  return names;
}

class WindowKeyboard : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(Window.get());
  }
  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    WindowTest::TearDown();
  }
  // A key as the user types it: to the widget with the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : Window.get(), key, modifiers);
  }
  void Keys(Qt::Key key, int times, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int i = 0; i < times; ++i) Key(key, modifiers);
  }
  // Chooses a tool as a keyboard user does: the focus on its button, Space.
  void ChooseByKey(const char* button) {
    Button(*Window, button)->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Space);
    Canvas(*Window)->setFocus(Qt::TabFocusReason);
  }
  QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
  void ClosePopup() {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  const Figure& Last() {
    EXPECT_FALSE(S().Figures().IsEmpty());
    return *Figures(S().Figures()).back();
  }
};

TEST_F(WindowKeyboard, F10AndAloneAltOpenTheMenuBarWhereverTheFocusIs) {
  for (QWidget* focus : {static_cast<QWidget*>(Canvas(*Window)), static_cast<QWidget*>(Button(*Window, "RectBtn")),
                         static_cast<QWidget*>(Button(*Window, "SelectDrawBtn"))}) {
    focus->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_F10);
    EXPECT_EQ(OpenPopup(), Menu(*Window, "FileMenu")) << focus->objectName().toStdString();
    ClosePopup();
    focus->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Alt);
    EXPECT_EQ(OpenPopup(), Menu(*Window, "FileMenu")) << focus->objectName().toStdString();
    ClosePopup();
  }
  // From the text box too; Alt held for another key opens nothing.
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasClick(*Window, 100, 100);
  ASSERT_TRUE(TextBox(*Window)->hasFocus());
  Key(Qt::Key_F10);
  EXPECT_EQ(OpenPopup(), Menu(*Window, "FileMenu"));
  ClosePopup();
  TextBox(*Window)->setFocus();
  QTest::keyPress(TextBox(*Window), Qt::Key_Alt);
  QTest::keyClick(TextBox(*Window), Qt::Key_X, Qt::AltModifier);
  QTest::keyRelease(TextBox(*Window), Qt::Key_Alt);
  EXPECT_EQ(OpenPopup(), nullptr);
}

TEST_F(WindowKeyboard, TheMenuBarOpensAtItsFirstMenuThatCanOpen) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ASSERT_TRUE(EnterPlayMode(*Window));  // the file and display menus are off
  Key(Qt::Key_F10);
  EXPECT_EQ(OpenPopup(), Menu(*Window, "HelpMenu"));
}

TEST_F(WindowKeyboard, TheFileCommandsHaveTheUsualShortcutsAndKeepTheirCaptions) {
  EXPECT_EQ(MenuAction(*Window, "ReadDataMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(MenuAction(*Window, "OverWriteDataMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(MenuAction(*Window, "WriteDataMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  EXPECT_EQ(MenuAction(*Window, "ExitMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_EQ(MenuAction(*Window, "ReadDataMenu")->text(), QString::fromUtf8("えをよみこむ"));
  EXPECT_EQ(Menu(*Window, "FileMenu")->title(), QString::fromUtf8("ファイル"));

  Canvas(*Window)->setFocus(Qt::TabFocusReason);
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(Dialogs.DialogsRun.back().Kind, DialogKind::OpenData);
  DrawRect(*Window, {10, 10}, {50, 40});
  Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(Dialogs.DialogsRun.size(), 2u);
  EXPECT_EQ(Dialogs.DialogsRun.back().Kind, DialogKind::SaveData);
  Dialogs.Answers.push_back(ModalResult::Cancel);
  Key(Qt::Key_Q, Qt::ControlModifier);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);  // the exit sequence asks about saving
  EXPECT_TRUE(ExitCodes.empty());       // Cancel: the program goes on
}

TEST_F(WindowKeyboard, AShortcutOfADisabledMenuDoesNothing) {
  ChooseTool(Button(*Window, "PolygonBtn"));
  CanvasDrag(*Window, {10, 10}, {100, 10});
  ASSERT_FALSE(Menu(*Window, "FileMenu")->menuAction()->isEnabled());
  Canvas(*Window)->setFocus(Qt::TabFocusReason);
  Key(Qt::Key_O, Qt::ControlModifier);
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(Dialogs.DialogsRun.empty());
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(ExitCodes.empty());
}

TEST_F(WindowKeyboard, TabReachesTheCanvasAndEveryColourAndTheArrowsWalkTheColours) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ASSERT_TRUE(EnterEditMode(*Window));
  Button(*Window, "DupBtn")->setFocus(Qt::TabFocusReason);
  std::vector<QWidget*> visited;
  for (int i = 0; i < 80; ++i) {
    Key(Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  auto reached = [&](QWidget* w) { return std::find(visited.begin(), visited.end(), w) != visited.end(); };
  EXPECT_TRUE(reached(Canvas(*Window)));
  EXPECT_TRUE(reached(Swatch(*Window, "ClearPanel")));
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(reached(ColorPanel(*Window, i))) << i;
  for (const char* name : {"HTrackBar", "VTrackBar", "DeleteBtn", "TextColorBtn", "UndoStepBtn"})
    EXPECT_TRUE(reached(Panel(*Window, name))) << name << " " << Names(visited);
  // Tab stops once in the mode buttons, as in any group of choices; the
  // arrows go on from there and choose as they go.
  auto modes = std::find_if(visited.begin(), visited.end(), [&](QWidget* w) {
    return w == Button(*Window, "SelectDrawBtn") || w == Button(*Window, "SelectEditBtn");
  });
  ASSERT_NE(modes, visited.end()) << Names(visited);
  (*modes)->setFocus(Qt::TabFocusReason);
  Keys(Qt::Key_Right, *modes == Button(*Window, "SelectDrawBtn") ? 2 : 1);
  EXPECT_EQ(QApplication::focusWidget(), Button(*Window, "SelectPlayBtn"));
  EXPECT_TRUE(Button(*Window, "SelectPlayBtn")->isChecked());
  ASSERT_TRUE(EnterEditMode(*Window));

  // The arrows go from colour to colour; Space chooses one.
  ColorPanel(*Window, 0)->setFocus(Qt::TabFocusReason);
  Keys(Qt::Key_Right, 2);
  EXPECT_EQ(QApplication::focusWidget(), ColorPanel(*Window, 2));
  Key(Qt::Key_Space);
  EXPECT_EQ(Window->ChosenColor(), ColorPanel(*Window, 2)->Color());
  Key(Qt::Key_Left);
  Key(Qt::Key_Return);
  EXPECT_EQ(Window->ChosenColor(), ColorPanel(*Window, 1)->Color());
}

TEST_F(WindowKeyboard, TheArrowsMoveThroughTheToolsAndTheFocusRingFollowsTheKeyboardOnly) {
  Button(*Window, "SelectionBtn")->setFocus(Qt::TabFocusReason);
  Key(Qt::Key_Right);
  EXPECT_EQ(QApplication::focusWidget(), Button(*Window, "TextBtn"));
  auto* ring = Window->findChild<QWidget*>("FocusRing");
  ASSERT_NE(ring, nullptr);
  EXPECT_TRUE(ring->isVisible());
  const QRect target(Button(*Window, "TextBtn")->mapTo(Window.get(), QPoint(0, 0)), Button(*Window, "TextBtn")->size());
  EXPECT_TRUE(ring->geometry().contains(target));
  EXPECT_GT(ring->geometry().width(), target.width());
  // A click with the mouse takes the ring away.
  CanvasClick(*Window, 300, 300);
  EXPECT_FALSE(ring->isVisible());
}

TEST_F(WindowKeyboard, LinesCirclesAndBoxesAreDrawnWithThePointer) {
  const std::pair<const char*, ToolKind> tools[] = {
      {"LineBtn", ToolKind::Line}, {"OvalBtn", ToolKind::Ellipse}, {"RectBtn", ToolKind::Rectangle}};
  int drawn = 0;
  for (const auto& [button, kind] : tools) {
    ChooseByKey(button);
    const QPoint start = Canvas(*Window)->KeyPointer();
    Key(Qt::Key_Space);
    EXPECT_TRUE(Canvas(*Window)->KeyHeld());
    Keys(Qt::Key_Right, 5);                         // 8 pixels a key
    Keys(Qt::Key_Down, 3, Qt::ShiftModifier);      // 1 pixel a key
    Key(Qt::Key_Space);
    EXPECT_FALSE(Canvas(*Window)->KeyHeld());
    ASSERT_EQ(S().Figures().Count(), ++drawn) << button;
    EXPECT_EQ(Last().DrawingTool, kind);
    EXPECT_EQ(Last().Start, (Point{start.x(), start.y()}));
    EXPECT_EQ(Last().End, (Point{start.x() + 40, start.y() + 3}));
    Keys(Qt::Key_Up, 3, Qt::ShiftModifier);
    Key(Qt::Key_Down);
  }
}

TEST_F(WindowKeyboard, AFreeLineFollowsThePointer) {
  ChooseByKey("FreeBtn");
  Key(Qt::Key_Space);
  Keys(Qt::Key_Right, 3);
  Keys(Qt::Key_Down, 3);
  Key(Qt::Key_Space);
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(Last().DrawingTool, ToolKind::FreeLine);
  EXPECT_EQ(Last().PointData.Count(), 8);  // the press, six moves, the release
}

TEST_F(WindowKeyboard, PolylinesAndPolygonsTakeACornerPerEnterAndEndWithASecondEnter) {
  const std::pair<const char*, ToolKind> tools[] = {{"PolylineBtn", ToolKind::Polyline}, {"PolygonBtn", ToolKind::Polygon}};
  int drawn = 0;
  for (const auto& [button, kind] : tools) {
    ChooseByKey(button);
    const QPoint a = Canvas(*Window)->KeyPointer();
    Key(Qt::Key_Space);
    Keys(Qt::Key_Right, 4);
    Key(Qt::Key_Space);  // the first side
    EXPECT_TRUE(Window->Tools().PolyDrawing());
    Keys(Qt::Key_Down, 4);
    Key(Qt::Key_Return);  // a corner
    Key(Qt::Key_Return);  // on the last corner again: done
    EXPECT_FALSE(Window->Tools().PolyDrawing());
    ASSERT_EQ(S().Figures().Count(), ++drawn) << button;
    const Figure& f = Last();
    EXPECT_EQ(f.DrawingTool, kind);
    EXPECT_EQ(f.PointData.Points[0], (Point{a.x(), a.y()}));
    EXPECT_EQ(f.PointData.Points[1], (Point{a.x() + 32, a.y()}));
    EXPECT_EQ(f.PointData.Points[f.PointData.Count() - 1], (Point{a.x() + 32, a.y() + 32}));
    Keys(Qt::Key_Left, 4);
    Keys(Qt::Key_Up, 4);
  }
}

TEST_F(WindowKeyboard, WordsAreWrittenWhereThePointerIs) {
  ChooseByKey("TextBtn");
  Keys(Qt::Key_Left, 10);
  const QPoint at = Canvas(*Window)->KeyPointer();
  Key(Qt::Key_Space);
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(TextBox(*Window)->hasFocus());
  EXPECT_EQ(TextBox(*Window)->pos(), at);
  EXPECT_FALSE(Canvas(*Window)->KeyHeld());  // the press ended as the box took the focus
  QTest::keyClicks(QApplication::focusWidget(), "abc");
  Key(Qt::Key_Return);
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(Last().DrawingTool, ToolKind::Text);
  EXPECT_EQ(Last().Text, "abc");
  EXPECT_EQ(Last().Start, (Point{at.x(), at.y()}));
}

TEST_F(WindowKeyboard, AStampIsMadeAndPutWithTheKeyboard) {
  ChooseByKey("RectBtn");
  Key(Qt::Key_Space);
  Keys(Qt::Key_Right, 4);
  Keys(Qt::Key_Down, 4);
  Key(Qt::Key_Space);
  ASSERT_EQ(S().Figures().Count(), 1);
  // Box the rectangle in for the stamp.
  ChooseByKey("SetStampBtn");
  Keys(Qt::Key_Up, 5);  // from the rectangle's far corner to before its near one
  Keys(Qt::Key_Left, 5);
  Key(Qt::Key_Space);
  Keys(Qt::Key_Right, 6);
  Keys(Qt::Key_Down, 6);
  Key(Qt::Key_Space);
  ASSERT_TRUE(Button(*Window, "StampBtn")->isEnabled());
  ChooseByKey("StampBtn");
  Keys(Qt::Key_Right, 10);
  Key(Qt::Key_Return);
  ASSERT_EQ(S().Figures().Count(), 2);
  EXPECT_EQ(Last().DrawingTool, ToolKind::Stamp);
}

TEST_F(WindowKeyboard, ThePointerStaysOnTheCanvasAndLosingTheFocusLetsGo) {
  Canvas(*Window)->setFocus(Qt::TabFocusReason);
  Keys(Qt::Key_Left, 100);
  Keys(Qt::Key_Up, 100);
  EXPECT_EQ(Canvas(*Window)->KeyPointer(), QPoint(0, 0));
  ChooseByKey("RectBtn");
  Key(Qt::Key_Space);
  Keys(Qt::Key_Right, 3);
  Keys(Qt::Key_Down, 3);
  Button(*Window, "SelectDrawBtn")->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(Canvas(*Window)->KeyHeld());
  EXPECT_FALSE(Window->Tools().Busy());
  EXPECT_EQ(S().Figures().Count(), 1);
}

}  // namespace
