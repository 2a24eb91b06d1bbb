// A fresh main window per test, with scripted message boxes and file dialogs
// and a recorder in place of ending the process, plus helpers that find the
// real controls by their object names and drive them: mouse presses, drags
// and clicks on the canvas in paint-box pixels, button clicks, menu commands
// and typing into the text box. The drawing is read through state().
//
//   class EditTest : public WindowTest {};
//   TEST_F(EditTest, Something) {
//     DrawRect(*Window, {10, 10}, {50, 40});
//     EnterEditMode(*Window);
//     CanvasClick(*Window, 20, 20);
//     ClickButton(Button(*Window, "DeleteBtn"));
//     EXPECT_TRUE(S().Figures().IsEmpty());
//   }
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "support/scripted_dialogs.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"

// What no control reaches: the state to rig a situation (a clock, a dialog
// spy), the picture side's hook and the journal.
struct MainWindowTestAccess {
  static AppState& State(MainWindow& window) { return window.S; }
  static PictureStore& Pictures(MainWindow& window) { return window.Pictures; }
  static ActionJournal& Journal(MainWindow& window) { return window.Journal; }
};
inline AppState& MutableState(MainWindow& window) { return MainWindowTestAccess::State(window); }
inline PictureStore& MutablePictures(MainWindow& window) { return MainWindowTestAccess::Pictures(window); }
inline ActionJournal& WindowJournal(MainWindow& window) { return MainWindowTestAccess::Journal(window); }

// ---- Finding the controls by object name ----

// The window's child of type T named `name`. A missing control ends the
// test run with its name: a renamed control must not pass unnoticed.
template <class T>
T* Child(const MainWindow& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    std::fprintf(stderr, "no control named %s of the expected type\n", name);
    std::abort();
  }
  return child;
}
inline QAbstractButton* Button(const MainWindow& window, const char* name) { return Child<QAbstractButton>(window, name); }
inline QSlider* Slider(const MainWindow& window, const char* name) { return Child<QSlider>(window, name); }
inline QAction* MenuAction(const MainWindow& window, const char* name) { return Child<QAction>(window, name); }
inline QMenu* Menu(const MainWindow& window, const char* name) { return Child<QMenu>(window, name); }
inline QLabel* Label(const MainWindow& window, const char* name) { return Child<QLabel>(window, name); }
inline QWidget* Panel(const MainWindow& window, const char* name) { return Child<QWidget>(window, name); }
inline ColorSwatch* Swatch(const MainWindow& window, const char* name) { return Child<ColorSwatch>(window, name); }
// ColorPanel01 … ColorPanel16 by index 0 … 15.
inline ColorSwatch* ColorPanel(const MainWindow& window, int index) {
  const QByteArray name = QByteArray("ColorPanel") + (index < 9 ? "0" : "") + QByteArray::number(index + 1);
  return Swatch(window, name.constData());
}
inline QLineEdit* TextBox(const MainWindow& window) { return Child<QLineEdit>(window, "InputEdit"); }
inline CanvasView* Canvas(const MainWindow& window) { return Child<CanvasView>(window, "PaintBox"); }
inline StampPreview* StampImage(const MainWindow& window) { return Child<StampPreview>(window, "StampImage"); }
inline QPlainTextEdit* MemoBox(const MainWindow& window) { return Child<QPlainTextEdit>(window, "Memo"); }

// ---- Canvas mouse input (paint-box pixels) ----

inline void SendCanvasMouse(MainWindow& window, QEvent::Type type, QPoint p, Qt::MouseButton button,
                            Qt::MouseButtons held) {
  QWidget* w = Canvas(window);
  QMouseEvent ev(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &ev);
}

inline void CanvasPress(MainWindow& window, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  SendCanvasMouse(window, QEvent::MouseButtonPress, {x, y}, button, button);
}
inline void CanvasRelease(MainWindow& window, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  SendCanvasMouse(window, QEvent::MouseButtonRelease, {x, y}, button, Qt::NoButton);
}
// A move with the left button held (held = false: no button down).
inline void CanvasMove(MainWindow& window, int x, int y, bool held = true) {
  SendCanvasMouse(window, QEvent::MouseMove, {x, y}, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
}
// Press and release at one point, the mouse held still.
inline void CanvasClick(MainWindow& window, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  CanvasPress(window, x, y, button);
  CanvasRelease(window, x, y, button);
}
// A double click as Qt delivers it to a widget: press, release, double
// click (in place of the second press), release.
inline void CanvasDoubleClick(MainWindow& window, int x, int y) {
  CanvasClick(window, x, y);
  SendCanvasMouse(window, QEvent::MouseButtonDblClick, {x, y}, Qt::LeftButton, Qt::LeftButton);
  CanvasRelease(window, x, y);
}
// Press at `from`, `steps` moves with the button held ending at `to`,
// release at `to`.
inline void CanvasDrag(MainWindow& window, QPoint from, QPoint to, int steps = 4,
                       Qt::MouseButton button = Qt::LeftButton) {
  CanvasPress(window, from.x(), from.y(), button);
  for (int i = 1; i <= steps; ++i) {
    QPoint p = from + (to - from) * i / steps;
    SendCanvasMouse(window, QEvent::MouseMove, p, Qt::NoButton, button);
  }
  CanvasRelease(window, to.x(), to.y(), button);
}

// The pixel the canvas shows at (x, y).
inline QRgb CanvasPixel(MainWindow& window, int x, int y) { return Canvas(window)->Picture().pixel(x, y) & 0xFFFFFF; }

// ---- Buttons, menus, keys ----

// Clicks a button as a user would. A hidden button cannot be clicked (false,
// nothing happens); a disabled one takes the click and ignores it.
inline bool ClickButton(QAbstractButton* button) {
  if (!button->isVisible()) return false;
  QTest::mouseClick(button, Qt::LeftButton);
  return button->isEnabled();
}

// Runs a menu command as a user would: only when the item and its menu are
// enabled (false otherwise, nothing happens).
inline bool TriggerMenu(QAction* item) {
  if (!item->isEnabled()) return false;
  for (QObject* o : item->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(o)) {
      if (!menu->isEnabled() || !menu->menuAction()->isEnabled()) return false;
    }
  }
  item->trigger();
  return true;
}

// Types text into the text box, then optionally presses Enter.
inline void TypeText(MainWindow& window, const QString& text) { QTest::keyClicks(TextBox(window), text); }
inline void PressKey(MainWindow& window, Qt::Key key) { QTest::keyClick(TextBox(window), key); }

// ---- Modes and tools ----

inline bool ChooseTool(QAbstractButton* toolButton) { return ClickButton(toolButton); }
inline bool EnterDrawMode(MainWindow& window) { return ClickButton(Button(window, "SelectDrawBtn")); }
inline bool EnterEditMode(MainWindow& window) { return ClickButton(Button(window, "SelectEditBtn")); }
inline bool EnterPlayMode(MainWindow& window) { return ClickButton(Button(window, "SelectPlayBtn")); }

// Draws one figure by dragging with a drawing tool (line, free line,
// ellipse, rectangle) in draw mode.
inline void DrawWith(MainWindow& window, QAbstractButton* tool, QPoint from, QPoint to) {
  ChooseTool(tool);
  CanvasDrag(window, from, to);
}
inline void DrawRect(MainWindow& window, QPoint from, QPoint to) {
  DrawWith(window, Button(window, "RectBtn"), from, to);
}
inline void DrawEllipse(MainWindow& window, QPoint from, QPoint to) {
  DrawWith(window, Button(window, "OvalBtn"), from, to);
}
inline void DrawLine(MainWindow& window, QPoint from, QPoint to) {
  DrawWith(window, Button(window, "LineBtn"), from, to);
}

// ---- Reading the state ----

inline std::vector<ActionKind> ActionKinds(const AppState& S) {
  std::vector<ActionKind> kinds;
  for (const Action& a : S.History()) kinds.push_back(a.TargetType);
  return kinds;
}
inline std::vector<const Figure*> Figures(const FigureList& list) {
  std::vector<const Figure*> figs;
  for (const Figure& f : list) figs.push_back(&f);
  return figs;
}

// ---- The fixture ----

class WindowTest : public ::testing::Test {
 protected:
  ScriptedDialogs Dialogs;
  std::unique_ptr<MainWindow> Window;
  std::vector<int> ExitCodes;  // every ExitProcess call
  // Opening a drawing enters its folder: every test starts in the same one.
  QString StartFolder = QDir::currentPath();
  // Each test's own state folder, so that no window finds the journals of
  // another test (or of the user).
  QTemporaryDir StateHome;

  // The file handed to createWidgets as the command-line argument.
  virtual QString CommandLineFile() const { return QString(); }

  void SetUp() override {
    qputenv("XDG_STATE_HOME", QFile::encodeName(StateHome.path()));
    Window = std::make_unique<MainWindow>(&Dialogs);
    Window->ExitProcess = [this](int code) { ExitCodes.push_back(code); };
    // A screen the window opens whole on (the test screen is 800 × 600
    // device pixels, smaller still in logical ones at a scale factor of 2).
    Window->ScreenRoom = QSize(1920, 1080);
    Window->createWidgets(CommandLineFile());
    Window->show();
  }
  void TearDown() override {
    Window.reset();
    QDir::setCurrent(StartFolder);
  }

  // The drawing, to read; MutableState(*Window) rigs what no control reaches.
  const AppState& S() const { return Window->state(); }
};
