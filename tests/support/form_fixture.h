// A fresh main window per test, with scripted message boxes and file dialogs
// and a recorder in place of ending the process, plus helpers that find the
// real controls by their object names and drive them: mouse presses, drags
// and clicks on the canvas in paint-box pixels, button clicks, menu commands
// and typing into the text box. The drawing is read through state().
//
//   class EditTest : public FormTest {};
//   TEST_F(EditTest, Something) {
//     DrawRect(*Form, {10, 10}, {50, 40});
//     EnterEditMode(*Form);
//     CanvasClick(*Form, 20, 20);
//     ClickButton(Button(*Form, "DeleteBtn"));
//     EXPECT_TRUE(S().DrawingFigs.IsEmpty());
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
  static AppState& State(MainWindow& form) { return form.S; }
  static PictureStore& Pictures(MainWindow& form) { return form.Pictures; }
  static ActionJournal& Journal(MainWindow& form) { return form.Journal; }
};
inline AppState& MutableState(MainWindow& form) { return MainWindowTestAccess::State(form); }
inline PictureStore& MutablePictures(MainWindow& form) { return MainWindowTestAccess::Pictures(form); }
inline ActionJournal& WindowJournal(MainWindow& form) { return MainWindowTestAccess::Journal(form); }

// ---- Finding the controls by object name ----

// The window's child of type T named `name`. A missing control ends the
// test run with its name: a renamed control must not pass unnoticed.
template <class T>
T* Child(const MainWindow& form, const char* name) {
  T* child = form.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    std::fprintf(stderr, "no control named %s of the expected type\n", name);
    std::abort();
  }
  return child;
}
inline QAbstractButton* Button(const MainWindow& form, const char* name) { return Child<QAbstractButton>(form, name); }
inline QSlider* Slider(const MainWindow& form, const char* name) { return Child<QSlider>(form, name); }
inline QAction* MenuAction(const MainWindow& form, const char* name) { return Child<QAction>(form, name); }
inline QMenu* Menu(const MainWindow& form, const char* name) { return Child<QMenu>(form, name); }
inline QLabel* Label(const MainWindow& form, const char* name) { return Child<QLabel>(form, name); }
inline QWidget* Panel(const MainWindow& form, const char* name) { return Child<QWidget>(form, name); }
inline ColorSwatch* Swatch(const MainWindow& form, const char* name) { return Child<ColorSwatch>(form, name); }
// ColorPanel01 … ColorPanel16 by index 0 … 15.
inline ColorSwatch* ColorPanel(const MainWindow& form, int index) {
  const QByteArray name = QByteArray("ColorPanel") + (index < 9 ? "0" : "") + QByteArray::number(index + 1);
  return Swatch(form, name.constData());
}
inline QLineEdit* TextBox(const MainWindow& form) { return Child<QLineEdit>(form, "InputEdit"); }
inline CanvasView* Canvas(const MainWindow& form) { return Child<CanvasView>(form, "PaintBox"); }
inline StampPreview* StampImage(const MainWindow& form) { return Child<StampPreview>(form, "StampImage"); }
inline QPlainTextEdit* MemoBox(const MainWindow& form) { return Child<QPlainTextEdit>(form, "Memo"); }

// ---- Canvas mouse input (paint-box pixels) ----

inline void SendCanvasMouse(MainWindow& form, QEvent::Type type, QPoint p, Qt::MouseButton button,
                            Qt::MouseButtons held) {
  QWidget* w = Canvas(form);
  QMouseEvent ev(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &ev);
}

inline void CanvasPress(MainWindow& form, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  SendCanvasMouse(form, QEvent::MouseButtonPress, {x, y}, button, button);
}
inline void CanvasRelease(MainWindow& form, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  SendCanvasMouse(form, QEvent::MouseButtonRelease, {x, y}, button, Qt::NoButton);
}
// A move with the left button held (held = false: no button down).
inline void CanvasMove(MainWindow& form, int x, int y, bool held = true) {
  SendCanvasMouse(form, QEvent::MouseMove, {x, y}, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
}
// Press and release at one point, the mouse held still.
inline void CanvasClick(MainWindow& form, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  CanvasPress(form, x, y, button);
  CanvasRelease(form, x, y, button);
}
// A double click as Qt delivers it to a widget: press, release, double
// click (in place of the second press), release.
inline void CanvasDoubleClick(MainWindow& form, int x, int y) {
  CanvasClick(form, x, y);
  SendCanvasMouse(form, QEvent::MouseButtonDblClick, {x, y}, Qt::LeftButton, Qt::LeftButton);
  CanvasRelease(form, x, y);
}
// Press at `from`, `steps` moves with the button held ending at `to`,
// release at `to`.
inline void CanvasDrag(MainWindow& form, QPoint from, QPoint to, int steps = 4,
                       Qt::MouseButton button = Qt::LeftButton) {
  CanvasPress(form, from.x(), from.y(), button);
  for (int i = 1; i <= steps; ++i) {
    QPoint p = from + (to - from) * i / steps;
    SendCanvasMouse(form, QEvent::MouseMove, p, Qt::NoButton, button);
  }
  CanvasRelease(form, to.x(), to.y(), button);
}

// The pixel the canvas shows at (x, y).
inline QRgb CanvasPixel(MainWindow& form, int x, int y) { return Canvas(form)->Image.pixel(x, y) & 0xFFFFFF; }

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
inline void TypeText(MainWindow& form, const QString& text) { QTest::keyClicks(TextBox(form), text); }
inline void PressKey(MainWindow& form, Qt::Key key) { QTest::keyClick(TextBox(form), key); }

// ---- Modes and tools ----

inline bool ChooseTool(QAbstractButton* toolButton) { return ClickButton(toolButton); }
inline bool EnterDrawMode(MainWindow& form) { return ClickButton(Button(form, "SelectDrawBtn")); }
inline bool EnterEditMode(MainWindow& form) { return ClickButton(Button(form, "SelectEditBtn")); }
inline bool EnterPlayMode(MainWindow& form) { return ClickButton(Button(form, "SelectPlayBtn")); }

// Draws one figure by dragging with a drawing tool (line, free line,
// ellipse, rectangle) in draw mode.
inline void DrawWith(MainWindow& form, QAbstractButton* tool, QPoint from, QPoint to) {
  ChooseTool(tool);
  CanvasDrag(form, from, to);
}
inline void DrawRect(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, Button(form, "RectBtn"), from, to);
}
inline void DrawEllipse(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, Button(form, "OvalBtn"), from, to);
}
inline void DrawLine(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, Button(form, "LineBtn"), from, to);
}

// ---- Reading the state ----

inline std::vector<ActionKind> ActionKinds(const AppState& S) {
  std::vector<ActionKind> kinds;
  for (const Action& a : S.History) kinds.push_back(a.TargetType);
  return kinds;
}
inline std::vector<const Figure*> Figures(const FigureList& list) {
  std::vector<const Figure*> figs;
  for (const Figure& f : list) figs.push_back(&f);
  return figs;
}

// ---- The fixture ----

class FormTest : public ::testing::Test {
 protected:
  ScriptedDialogs Dialogs;
  std::unique_ptr<MainWindow> Form;
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
    Form = std::make_unique<MainWindow>(&Dialogs);
    Form->ExitProcess = [this](int code) { ExitCodes.push_back(code); };
    Form->createWidgets(CommandLineFile());
    Form->show();
  }
  void TearDown() override {
    Form.reset();
    QDir::setCurrent(StartFolder);
  }

  // The drawing, to read; MutableState(*Form) rigs what no control reaches.
  const AppState& S() const { return Form->state(); }
};
