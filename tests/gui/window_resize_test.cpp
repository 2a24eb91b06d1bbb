// The window at any size: the canvas keeps 4:3 and fills the room the
// controls leave, the controls stay whole and apart (the right-hand panels
// folded in two columns below the opening size), the opening size looks as
// it was built and fits small screens, and full screen goes back to the
// window it came from.
#include <QKeyEvent>
#include <QScreen>

#include "support/window_fixture.h"

namespace {

class WindowResize : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(Window.get());  // for the window's keys
  }
  void ResizeClient(int width, int height) {
    Window->resize(width, height);
    QApplication::processEvents();
  }
  QRect InClient(const QWidget* w) const {
    const QWidget* client = Panel(*Window, "Client");
    return QRect(w->mapTo(client, QPoint(0, 0)), w->size());
  }
  // The canvas is 4:3 and fills its field; every visible control lies
  // inside the client area; the visible panels and controls overlap only
  // where they are meant to (undo and redo sit in the tool panel's room).
  void ExpectWholeAndApart(const char* where) {
    SCOPED_TRACE(where);
    const QWidget* client = Panel(*Window, "Client");
    const QWidget* canvas = Canvas(*Window);
    EXPECT_EQ(canvas->width() * 3, canvas->height() * 4);
    EXPECT_GE(canvas->width(), 480);
    EXPECT_EQ(canvas->size(), Panel(*Window, "DrawField")->size());
    const char* const names[] = {"DrawField",   "DrawPanel",  "ReplayPanel",    "SelectBtnPanel", "PlayPanel",
                                 "ColorBasePanel", "HTrackBar", "VTrackBar",  "OpPanel",     "UndoStepBtn",
                                 "RedoStepBtn", "Memo",       "ClearMemoBtn"};
    std::vector<std::pair<const char*, QRect>> shown;
    for (const char* name : names) {
      const QWidget* w = Panel(*Window, name);
      if (!w->isVisible()) continue;
      const QRect r = InClient(w);
      EXPECT_TRUE(client->rect().contains(r)) << name << " is cut off";
      shown.emplace_back(name, r);
    }
    for (QWidget* w : client->findChildren<QWidget*>()) {
      if (w->isVisible() && !w->objectName().isEmpty() && w->objectName() != "FocusRing")
        EXPECT_TRUE(client->rect().contains(InClient(w))) << w->objectName().toStdString() << " is cut off";
    }
    // Inside each right-hand panel (undo and redo among the tools), the
    // controls are whole and apart too: folded in two columns they must not
    // land on one another or past the panel's edge.
    for (const char* name : {"DrawPanel", "ReplayPanel", "OpPanel"}) {
      const QWidget* panel = Panel(*Window, name);
      if (!panel->isVisible()) continue;
      QList<QWidget*> parts = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      if (panel->objectName() == "DrawPanel" && Panel(*Window, "UndoStepBtn")->isVisible()) {
        parts.push_back(Panel(*Window, "UndoStepBtn"));
        parts.push_back(Panel(*Window, "RedoStepBtn"));
      }
      const QRect inside = InClient(panel).adjusted(1, 1, -1, -1);
      for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString a = parts[i]->objectName();
        EXPECT_TRUE(inside.contains(InClient(parts[i]))) << a.toStdString() << " sticks out of " << name;
        // (The edit buttons have always shared their edge lines.)
        for (qsizetype j = i + 1; j < parts.size(); ++j)
          EXPECT_FALSE(InClient(parts[i]).adjusted(0, 0, -1, -1).intersects(InClient(parts[j]).adjusted(0, 0, -1, -1)))
              << a.toStdString() << " overlaps " << parts[j]->objectName().toStdString();
      }
    }
    for (size_t i = 0; i < shown.size(); ++i) {
      for (size_t j = i + 1; j < shown.size(); ++j) {
        const std::string a = shown[i].first, b = shown[j].first;
        // Undo and redo sit in the tool panel's free room; the vertical size
        // bar has always touched the edit buttons' panel by a pixel.
        const bool intended = (a == "DrawPanel" && (b == "UndoStepBtn" || b == "RedoStepBtn")) ||
                              (a == "VTrackBar" && b == "OpPanel");
        if (!intended) EXPECT_FALSE(shown[i].second.intersects(shown[j].second)) << a << " overlaps " << b;
      }
    }
  }
  void ExpectWholeInEveryMode(const char* where) {
    ExpectWholeAndApart(where);
    EnterEditMode(*Window);
    ExpectWholeAndApart(where);
    DrawRectThenView();
    ExpectWholeAndApart(where);
    EnterDrawMode(*Window);
  }
  void DrawRectThenView() {
    if (S().History().Count() == 0) {
      EnterDrawMode(*Window);
      DrawRect(*Window, {10, 10}, {50, 40});
    }
    EnterPlayMode(*Window);
  }
};

TEST_F(WindowResize, AtTheOpeningSizeEveryControlIsWhereItWasBuilt) {
  EXPECT_EQ(Window->size(), QSize(800, 580));
  EXPECT_EQ(Panel(*Window, "DrawField")->geometry(), QRect(4, 4, 640, 480));
  EXPECT_EQ(Canvas(*Window)->geometry(), QRect(0, 0, 640, 480));
  EXPECT_EQ(Panel(*Window, "DrawPanel")->geometry(), QRect(646, 4, 137, 481));
  EXPECT_EQ(Panel(*Window, "SelectBtnPanel")->geometry(), QRect(624, 488, 161, 41));
  EXPECT_EQ(Panel(*Window, "EditPanel")->geometry(), QRect(0, 0, 793, 535));
  EXPECT_EQ(Panel(*Window, "PlayPanel")->geometry(), QRect(4, 486, 617, 45));
  EXPECT_EQ(Panel(*Window, "UndoStepBtn")->geometry(), QRect(654, 289, 57, 40));
  ExpectWholeInEveryMode("opening size");
}

TEST_F(WindowResize, TheOpeningSizeLooksTheSameAfterAnyResize) {
  const QImage before = Window->grab().toImage();
  ResizeClient(1300, 1000);
  EXPECT_GT(Canvas(*Window)->width(), 640);
  ResizeClient(800, 580);
  const QImage after = Window->grab().toImage();
  EXPECT_EQ(after, before);
}

TEST_F(WindowResize, TheCanvasFillsTheRoomAndTheControlsFollowIt) {
  const QRect drawPanel = Panel(*Window, "DrawPanel")->geometry();
  const QRect modes = Panel(*Window, "SelectBtnPanel")->geometry();
  ResizeClient(1200, 900);
  const QSize canvas = Canvas(*Window)->size();
  // 400 pixels wider gives the canvas 400 more; 320 taller would allow more
  // height than the width's 4:3 (the width limits it).
  EXPECT_EQ(canvas, QSize(1040, 780));
  const int dx = canvas.width() - 640, dy = canvas.height() - 480;
  EXPECT_EQ(Panel(*Window, "DrawPanel")->geometry(), drawPanel.translated(dx, 0));
  EXPECT_EQ(Panel(*Window, "SelectBtnPanel")->geometry(), modes.translated(dx, dy));
  for (QSize size : {QSize(1200, 900), QSize(1000, 600), QSize(801, 1200), QSize(2000, 700), QSize(1920, 1080)}) {
    ResizeClient(size.width(), size.height());
    ExpectWholeInEveryMode(qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
  }
}

TEST_F(WindowResize, MaximisedTheCanvasGrowsAndAllStaysWhole) {
  Window->showMaximized();
  QApplication::processEvents();
  ExpectWholeInEveryMode("maximised");
  // As large as the screen allows (the test screen may be small).
  const QRect screen = Window->screen()->availableGeometry();
  EXPECT_TRUE(Canvas(*Window)->width() > 640 || screen.width() <= 800 || screen.height() <= 580);
}

TEST_F(WindowResize, SmallerThanTheOpeningSizeThePanelsFoldAndAllStaysWhole) {
  const QSize least = Window->MinimumWindowSize();
  EXPECT_EQ(Window->minimumSize(), least);
  // No smaller than the folded panels need: the canvas is then 480 × 360.
  ResizeClient(300, 200);
  EXPECT_EQ(Window->size(), least);
  EXPECT_EQ(Canvas(*Window)->size(), QSize(480, 360));
  EXPECT_LE(least.height(), 540 - 40);  // a 1080-line screen at 2×, with room for taskbars
  std::vector<QWidget*> tabOrder;
  for (QWidget* w = Window.get(); tabOrder.size() < 200; w = w->nextInFocusChain()) {
    tabOrder.push_back(w);
    if (w->nextInFocusChain() == Window.get()) break;
  }
  const QSize sizes[] = {least, {least.width() + 1, 579}, {700, 500}, {1000, 470}, {799, 900}, {790, 560}};
  for (bool memo : {false, true}) {
    if (memo) {
      ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ShowDataMenu")));
    }
    EXPECT_EQ(Window->minimumSize(), Window->MinimumWindowSize());
    for (QSize size : sizes) {
      ResizeClient(size.width(), size.height());
      const QString where = QStringLiteral("%1x%2%3").arg(size.width()).arg(size.height()).arg(memo ? " memo" : "");
      EXPECT_LT(Canvas(*Window)->height(), 480) << qPrintable(where);
      ExpectWholeInEveryMode(qPrintable(where));
    }
  }
  // The focus goes from control to control as it did.
  QWidget* w = Window.get();
  for (QWidget* expected : tabOrder) {
    EXPECT_EQ(w, expected);
    w = w->nextInFocusChain();
  }
}

TEST_F(WindowResize, OnTheSmallestCanvasTheMouseDrawsAtTheSameCanvasPositions) {
  ResizeClient(300, 200);
  ASSERT_EQ(Canvas(*Window)->size(), QSize(480, 360));
  // Every 3 pixels of the widget show 4 of the canvas.
  ClickButton(Button(*Window, "RectBtn"));
  CanvasDrag(*Window, {30, 15}, {453, 342});
  ASSERT_EQ(S().History().Count(), 1);
  const Figure& saved = S().History().At(1).FigData;
  EXPECT_EQ(saved.Start, (Point{40, 20}));
  EXPECT_EQ(saved.End, (Point{604, 456}));
}

TEST_F(WindowResize, OnASmallScreenTheWindowOpensAsLargeAsFits) {
  struct Case {
    QSize available;
    bool memo;
    QSize opening;     // empty: fits the screen, below the size it was built for
    int canvasHeight;  // then: the canvas as tall as the room allows
  };
  const Case cases[] = {
      {{1920, 1080}, false, {800, 580}, 480}, {{800, 600}, false, {800, 580}, 480},
      {{1024, 768}, true, {990, 580}, 480},   {{960, 540}, false, {}, 420},
      {{960, 520}, true, {}, 360},            {{1280, 560}, false, {}, 438},
  };
  for (const Case& c : cases) {
    if (c.memo != S().ShowProcess) {
      ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ShowDataMenu")));
    }
    const QString where =
        QStringLiteral("%1x%2%3").arg(c.available.width()).arg(c.available.height()).arg(c.memo ? " memo" : "");
    SCOPED_TRACE(qPrintable(where));
    const QSize opening = Window->OpeningSize(c.available);
    if (!c.opening.isEmpty()) {
      EXPECT_EQ(opening, c.opening);
      continue;
    }
    // With room for a title bar, and no smaller than the controls need.
    EXPECT_LE(opening.width(), c.available.width());
    EXPECT_LE(opening.height(), c.available.height() - 20);
    EXPECT_GE(opening.width(), Window->MinimumWindowSize().width());
    ResizeClient(opening.width(), opening.height());
    EXPECT_EQ(Window->size(), opening);
    EXPECT_EQ(Canvas(*Window)->height(), c.canvasHeight);
    ExpectWholeInEveryMode(qPrintable(where));
  }
  // Switched on there, the process display widens the window only as far
  // as the screen allows.
  Window->ScreenRoom = QSize(960, 520);
  ASSERT_FALSE(S().ShowProcess);
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ShowDataMenu")));
  QApplication::processEvents();
  EXPECT_EQ(Window->size(), QSize(960, 500));
  ExpectWholeAndApart("process display switched on, small screen");
}

TEST_F(WindowResize, F11AndTheMenuItemToggleFullScreenAndComeBack) {
  const QRect before = Window->geometry();
  QTest::keyClick(Window.get(), Qt::Key_F11);
  QApplication::processEvents();
  EXPECT_TRUE(Window->isFullScreen());
  EXPECT_TRUE(MenuAction(*Window, "FullScreenMenu")->isChecked());
  ExpectWholeAndApart("full screen");
  QTest::keyClick(Window.get(), Qt::Key_F11);
  QApplication::processEvents();
  EXPECT_FALSE(Window->isFullScreen());
  EXPECT_EQ(Window->geometry(), before);
  EXPECT_EQ(Canvas(*Window)->size(), QSize(640, 480));

  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "FullScreenMenu")));
  EXPECT_TRUE(Window->isFullScreen());
  // In the view mode the menu is off, the key still works.
  DrawRectThenView();
  QTest::keyClick(Window.get(), Qt::Key_F11);
  QApplication::processEvents();
  EXPECT_FALSE(Window->isFullScreen());
  EXPECT_EQ(Window->geometry(), before);
}

}  // namespace
