// The window at any size: the canvas keeps its 4:3 shape and takes the room
// the controls leave; the controls keep their layout around it. Those right
// of the canvas move with its right edge, those under it with its bottom
// edge, the sliders along its sides grow with it, and the edit area behind
// it grows with both. At the size the window opens with, every control is
// where it was built. Full screen (F11 and ひょうじ → ぜんがめん) goes back to
// the window it came from.
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "ui/main_window.h"
#include "ui/paintbox.h"

namespace {

// How a control follows the canvas.
enum Follow : unsigned {
  kRight = 1,   // moves right with the canvas's right edge
  kDown = 2,    // moves down with its bottom edge
  kWider = 4,   // grows as the canvas grows wider
  kTaller = 8,  // grows as it grows taller
};

// The room beside and under the canvas at the window's opening size: the
// canvas's left margin and the controls right of it (800 = 4 + 640 + 156,
// 990 with the process display), and the client height at 580 minus the
// menu bar, of which the canvas takes 480.
constexpr int kRoomRight = 800 - kCanvasWidth;
constexpr int kRoomRightWithMemo = 990 - kCanvasWidth;
constexpr int kRoomBelow = 580 - kCanvasHeight;

}  // namespace

void MainWindow::BuildWindowLayout() {
  const std::pair<const char*, unsigned> follows[] = {
      {"EditPanel", kWider | kTaller},
      {"HTrackBar", kDown | kWider},
      {"VTrackBar", kRight | kTaller},
      {"OpPanel", kRight},
      {"ColorBasePanel", kDown},
      {"DrawField", kWider | kTaller},
      {"BGImage", kWider | kTaller},
      {"PaintBox", kWider | kTaller},
      {"DrawPanel", kRight},
      {"PlayPanel", kDown | kWider},
      {"TimeTrackBar", kWider},
      {"ReplayPanel", kRight},
      {"SelectBtnPanel", kRight | kDown},
      {"Memo", kRight | kTaller},
      {"ClearMemoBtn", kRight | kDown},
  };
  for (const auto& [name, follow] : follows) {
    if (auto* w = Client->findChild<QWidget*>(QLatin1String(name)))
      m_layoutItems.push_back(LayoutItem{w, w->geometry(), follow});
  }
  Client->installEventFilter(this);

  FullScreenMenu =
      DrawMenu->addAction(QCoreApplication::translate("MainWindow", "ぜんがめん") + QStringLiteral("\tF11"));
  FullScreenMenu->setObjectName("FullScreenMenu");
  FullScreenMenu->setCheckable(true);
  connect(FullScreenMenu, &QAction::triggered, this, [this] { ToggleFullScreen(); });
  // The key works in every mode, also while the menu is off (view mode).
  auto* f11 = new QShortcut(QKeySequence(Qt::Key_F11), this);
  f11->setObjectName("FullScreenShortcut");
  f11->setContext(Qt::WindowShortcut);
  connect(f11, &QShortcut::activated, this, [this] { ToggleFullScreen(); });
}

QSize MainWindow::CanvasSizeFor(QSize client) const {
  const int roomRight = S.ShowProcess ? kRoomRightWithMemo : kRoomRight;
  // The menu bar lies above the client area, which starts under it.
  const int width = client.width() - roomRight;
  const int height = client.height() - (kRoomBelow - Client->y());
  // Whole multiples of 4 × 3 keep the shape exact.
  const int unit = std::max(std::min(width / 4, height / 3), kCanvasHeight / 3);
  return QSize(4 * unit, 3 * unit);
}

void MainWindow::LayOutControls() {
  const QSize canvas = CanvasSizeFor(Client->size());
  const int dx = canvas.width() - kCanvasWidth;
  const int dy = canvas.height() - kCanvasHeight;
  m_canvasGrowth = QPoint(dx, dy);
  for (const LayoutItem& item : m_layoutItems) {
    QRect r = item.base;
    if (item.follow & kRight) r.translate(dx, 0);
    if (item.follow & kDown) r.translate(0, dy);
    if (item.follow & kWider) r.setWidth(r.width() + dx);
    if (item.follow & kTaller) r.setHeight(r.height() + dy);
    if (item.widget->geometry() != r) item.widget->setGeometry(r);
  }
  PlaceUndoRedoButtons(m_shownMode);
}

void MainWindow::ToggleFullScreen() {
  if (isFullScreen()) {
    if (m_maximizedBeforeFullScreen)
      showMaximized();
    else
      showNormal();
  } else {
    m_maximizedBeforeFullScreen = isMaximized();
    showFullScreen();
  }
  FullScreenMenu->setChecked(isFullScreen());
}
