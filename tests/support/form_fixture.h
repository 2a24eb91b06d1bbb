// A fresh main window per test, with scripted message boxes and file dialogs
// and a recorder in place of ending the process, plus helpers that drive the
// real widgets: mouse presses, drags and clicks on the canvas in paint-box
// pixels, button clicks, menu commands and typing into the text box.
//
//   class EditTest : public FormTest {};
//   TEST_F(EditTest, Something) {
//     DrawRect(*Form, {10, 10}, {50, 40});
//     EnterEditMode(*Form);
//     CanvasClick(*Form, 20, 20);
//     ...
//   }
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
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
#include <memory>
#include <vector>

#include "support/scripted_dialogs.h"
#include "ui/main_window.h"
#include "ui/paintbox.h"

// ---- Canvas mouse input (paint-box pixels) ----

inline void SendCanvasMouse(MainWindow& form, QEvent::Type type, QPoint p, Qt::MouseButton button,
                            Qt::MouseButtons held) {
  QWidget* w = form.PaintBox;
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
inline QRgb CanvasPixel(MainWindow& form, int x, int y) { return form.PaintBox->Image.pixel(x, y) & 0xFFFFFF; }

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
inline void TypeText(MainWindow& form, const QString& text) { QTest::keyClicks(form.InputEdit, text); }
inline void PressKey(MainWindow& form, Qt::Key key) { QTest::keyClick(form.InputEdit, key); }

// ---- Modes and tools ----

inline bool ChooseTool(QAbstractButton* toolButton) { return ClickButton(toolButton); }
inline bool EnterDrawMode(MainWindow& form) { return ClickButton(form.SelectDrawBtn); }
inline bool EnterEditMode(MainWindow& form) { return ClickButton(form.SelectEditBtn); }
inline bool EnterPlayMode(MainWindow& form) { return ClickButton(form.SelectPlayBtn); }

// Draws one figure by dragging with a drawing tool (line, free line,
// ellipse, rectangle) in draw mode.
inline void DrawWith(MainWindow& form, QAbstractButton* tool, QPoint from, QPoint to) {
  ChooseTool(tool);
  CanvasDrag(form, from, to);
}
inline void DrawRect(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, form.RectBtn, from, to);
}
inline void DrawEllipse(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, form.OvalBtn, from, to);
}
inline void DrawLine(MainWindow& form, QPoint from, QPoint to) {
  DrawWith(form, form.LineBtn, from, to);
}

// ---- Reading the state ----

inline std::vector<ActionKind> ActionKinds(const AppState& S) {
  std::vector<ActionKind> kinds;
  for (HistoryItem* a = S.History.Head->Next; a; a = a->Next) kinds.push_back(a->Data.TargetType);
  return kinds;
}
inline std::vector<const Figure*> Figures(const FigureList& list) {
  std::vector<const Figure*> figs;
  for (FigureItem* f = list.Head->Next; f; f = f->Next) figs.push_back(&f->Data);
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

  AppState& S() { return Form->S; }
};
