// Everything the window offers without a mouse: the menu bar opened by F10
// or Alt wherever the focus is, the usual shortcuts of the file commands,
// the colours and the canvas in the Tab order, and a ring drawn round the
// control that has the keyboard focus while the keyboard is in use. The
// canvas's own keys (a pointer moved by the arrows) are in paintbox.cpp.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QShortcut>

#include "ui/main_window.h"
#include "ui/paintbox.h"

namespace {

// A frame drawn round the focused control. It lies over the window's other
// widgets, lets every mouse event through, and shows only after a key press:
// a child using the mouse never sees it.
class FocusRing : public QWidget {
 public:
  explicit FocusRing(QWidget* window) : QWidget(window) {
    setObjectName("FocusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }

  // Follows `target` (null: hides).
  void Follow(QWidget* target) {
    m_target = target;
    if (target == nullptr || !target->isVisible() || target->window() != parentWidget()) {
      hide();
      return;
    }
    const QPoint topLeft = target->mapTo(parentWidget(), QPoint(0, 0));
    setGeometry(QRect(topLeft, target->size()).adjusted(-kWidth, -kWidth, kWidth, kWidth));
    show();
    raise();
  }
  QWidget* Target() const { return m_target; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    // Two colours, so that the ring shows on white and on dark controls.
    p.setPen(QPen(QColor(255, 140, 0), kWidth));
    p.drawRect(rect().adjusted(kWidth / 2, kWidth / 2, -kWidth / 2 - 1, -kWidth / 2 - 1));
    p.setPen(QPen(QColor(0, 0, 160), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  static constexpr int kWidth = 3;
  QPointer<QWidget> m_target;
};

// Watches the whole application's keys and clicks for the window: a lone
// Alt (pressed and released with nothing between) opens the menu bar, and
// the ring shows while the keyboard is in use. It also keeps a file command's
// shortcut from running while the command's menu is disabled, as the menu
// itself is.
class KeyboardWatch : public QObject {
 public:
  KeyboardWatch(QWidget* window, FocusRing* ring, std::function<void()> openMenuBar)
      : QObject(window), m_window(window), m_ring(ring), m_openMenuBar(std::move(openMenuBar)) {
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (m_keyboard) m_ring->Follow(now);
    });
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Shortcut:
        if (auto* item = qobject_cast<QAction*>(watched)) return !ItemReachable(item);
        break;
      case QEvent::KeyPress: {
        if (!InWindow(watched)) break;
        const auto* key = static_cast<QKeyEvent*>(event);
        m_altAlone = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
        if (!m_keyboard) {
          m_keyboard = true;
          m_ring->Follow(QApplication::focusWidget());
        }
        break;
      }
      case QEvent::KeyRelease: {
        if (!InWindow(watched)) break;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt && m_altAlone && QApplication::activePopupWidget() == nullptr) {
          m_altAlone = false;
          m_openMenuBar();
          return true;
        }
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        m_altAlone = false;
        if (m_keyboard) {
          m_keyboard = false;
          m_ring->hide();
        }
        break;
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        // The focused control moved (the undo buttons change place by mode)
        // or went away.
        if (m_keyboard && watched == m_ring->Target()) m_ring->Follow(m_ring->Target());
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool InWindow(QObject* watched) const {
    auto* w = qobject_cast<QWidget*>(watched);
    return w != nullptr && w->window() == m_window;
  }
  // An item of a disabled menu cannot be chosen, by its shortcut either.
  static bool ItemReachable(QAction* item) {
    for (QObject* o : item->associatedObjects()) {
      if (auto* menu = qobject_cast<QMenu*>(o)) {
        if (!menu->isEnabled() || !menu->menuAction()->isEnabled()) return false;
      }
    }
    return true;
  }

  QWidget* m_window;
  FocusRing* m_ring;
  std::function<void()> m_openMenuBar;
  bool m_keyboard = false;
  bool m_altAlone = false;
};

}  // namespace

void MainWindow::ConnectKeyboard() {
  // The usual shortcuts, shown beside the items.
  ReadDataMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  OverWriteDataMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  WriteDataMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  ExitMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  for (QAction* item : {ReadDataMenu, OverWriteDataMenu, WriteDataMenu, ExitMenu})
    item->setShortcutContext(Qt::WindowShortcut);

  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
  f10->setObjectName("MenuBarShortcut");
  f10->setContext(Qt::WindowShortcut);
  connect(f10, &QShortcut::activated, this, [this] { OpenMenuBar(); });

  // The canvas takes the focus from the Tab key only (as the colours do): a
  // click on it never takes it from the text box.
  PaintBox->setFocusPolicy(Qt::TabFocus);

  auto* ring = new FocusRing(this);
  new KeyboardWatch(this, ring, [this] { OpenMenuBar(); });
}

void MainWindow::OpenMenuBar() {
  if (!isEnabled()) return;  // a long export runs
  QMenuBar* bar = menuBar();
  for (QAction* entry : bar->actions()) {
    if (entry->isEnabled() && entry->isVisible() && entry->menu() != nullptr) {
      bar->setActiveAction(entry);
      return;
    }
  }
}
