// The window at any size: the canvas keeps its 4:3 shape and takes the room
// the controls leave; the controls keep their layout around it. Those right
// of the canvas move with its right edge, those under it with its bottom
// edge, the sliders along its sides grow with it, and the edit area behind
// it grows with both. At the size the window opens with, every control is
// where it was built.
//
// Smaller than that, down to a canvas of 480 × 360, the right-hand panels
// (as tall as the canvas at 640 × 480) no longer fit beside it: each folds
// into two columns, the controls below a split point moving into a column
// right of the others, and undo and redo with the tool buttons they sit
// among. The split is chosen per panel so that the taller column is as short
// as it can be. The window can be made no smaller than that arrangement
// needs, and on a screen too small for the opening size it opens at the
// largest size that fits.
//
// Full screen (F11 and ひょうじ → ぜんがめん) goes back to the window it
// came from.
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "ui/main_window.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"

namespace {

// How a control follows the canvas.
enum Follow : unsigned {
  kRight = 1,   // moves right with the canvas's right edge
  kDown = 2,    // moves down with its bottom edge
  kWider = 4,   // grows as the canvas grows wider
  kTaller = 8,  // grows as it grows taller
  kFolds = 16,  // folds in two columns when the canvas is shorter than 480
  kBeyond = 32, // lies past the folding panels: moves right (with kRight) or
                // grows by their second column
};

// The room beside and under the canvas at the window's opening size: the
// canvas's left margin and the controls right of it (800 = 4 + 640 + 156,
// 990 with the process display), and the client height at 580 minus the
// menu bar, of which the canvas takes 480.
constexpr int kRoomRight = 800 - kCanvasWidth;
constexpr int kRoomRightWithMemo = 990 - kCanvasWidth;
constexpr int kRoomBelow = 580 - kCanvasHeight;

// The smallest canvas, in the whole multiples of 4 × 3 the canvas keeps.
constexpr int kMinCanvasUnit = 120;  // 480 × 360

// Undo and redo in the tool panel's free row under the stamp tool, in the
// panel's own coordinates.
constexpr QRect kUndoAmongTools(8, 285, 57, 40);
constexpr QRect kRedoAmongTools(72, 285, 57, 40);

// What the window frame adds above the client's size on the screen. A
// taller title bar reaches only into the empty strip under the bottom row.
constexpr QSize kFrameAllowance(0, 20);

// Where the controls of a panel `width` wide go in two columns: those whose
// top lies at or below the split move right by the panel's width less its
// margin and up to where the first control starts. Of the possible splits
// (at each control's top) the one whose taller column is shortest wins.
MainWindow::PanelFold FoldInTwo(const std::vector<QRect>& parts, int width) {
  MainWindow::PanelFold fold;
  if (parts.empty()) return fold;
  int first = parts.front().top(), margin = parts.front().left(), bottom = 0;
  for (const QRect& r : parts) {
    first = std::min(first, r.top());
    margin = std::min(margin, r.left());
    bottom = std::max(bottom, r.bottom() + 1);
  }
  fold.height = bottom + margin;  // one column: nothing moves
  fold.split = bottom + 1;
  for (const QRect& at : parts) {
    const int split = at.top();
    if (split == first) continue;
    int left = 0, right = 0;
    for (const QRect& r : parts) {
      if (r.top() < split)
        left = std::max(left, r.bottom() + 1);
      else
        right = std::max(right, r.bottom() + 1 - (split - first));
    }
    const int height = std::max(left, right) + margin;
    if (height < fold.height) {
      fold.height = height;
      fold.split = split;
      fold.shift = QPoint(width - margin, first - split);
    }
  }
  return fold;
}

QRect Folded(const MainWindow::PanelFold& fold, const QRect& r) {
  return r.top() >= fold.split ? r.translated(fold.shift) : r;
}

QSize FitCanvas(int width, int height) {
  const int unit = std::max(std::min(width / 4, height / 3), kMinCanvasUnit);
  return QSize(4 * unit, 3 * unit);
}

}  // namespace

void MainWindow::BuildWindowLayout() {
  const std::pair<const char*, unsigned> follows[] = {
      {"EditPanel", kWider | kTaller | kBeyond},
      {"HTrackBar", kDown | kWider},
      {"VTrackBar", kRight | kTaller},
      {"OpPanel", kRight | kFolds},
      {"ColorBasePanel", kDown},
      {"DrawField", kWider | kTaller},
      {"BGImage", kWider | kTaller},
      {"PaintBox", kWider | kTaller},
      {"DrawPanel", kRight | kFolds},
      {"PlayPanel", kDown | kWider},
      {"TimeTrackBar", kWider},
      {"ReplayPanel", kRight | kFolds},
      {"SelectBtnPanel", kRight | kDown},
      {"Memo", kRight | kTaller | kBeyond},
      {"ClearMemoBtn", kRight | kDown | kBeyond},
  };
  int rightEdge = 0, foldedRightEdge = 0;
  for (const auto& [name, follow] : follows) {
    auto* w = Client->findChild<QWidget*>(QLatin1String(name));
    if (w == nullptr) continue;
    LayoutItem item{w, w->geometry(), follow, {}};
    if (follow & kFolds) {
      std::vector<std::pair<QWidget*, QRect>> parts;
      std::vector<QRect> rects;
      for (QWidget* part : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        parts.emplace_back(part, part->geometry());
        rects.push_back(part->geometry());
      }
      // Undo and redo are the window's, but sit among the tools.
      if (w == DrawPanel) rects.insert(rects.end(), {kUndoAmongTools, kRedoAmongTools});
      item.fold = FoldInTwo(rects, item.base.width());
      item.fold.parts = std::move(parts);
      if (w == DrawPanel) m_toolFold = item.fold;
      rightEdge = std::max(rightEdge, item.base.right());
      foldedRightEdge = std::max(foldedRightEdge, item.base.right() + item.fold.shift.x());
    }
    m_layoutItems.push_back(std::move(item));
  }
  m_secondColumn = foldedRightEdge - rightEdge;
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

QSize MainWindow::CanvasSizeFor(QSize client, bool* compact) const {
  const int roomRight = S.ShowProcess ? kRoomRightWithMemo : kRoomRight;
  // The menu bar lies above the client area, which starts under it.
  const int height = client.height() - (kRoomBelow - Client->y());
  QSize canvas = FitCanvas(client.width() - roomRight, height);
  // Shorter than the panels beside it: they fold, and take more width.
  const bool fold = canvas.height() < kCanvasHeight;
  if (fold) canvas = FitCanvas(client.width() - roomRight - m_secondColumn, height);
  if (compact) *compact = fold;
  return canvas;
}

QSize MainWindow::MinimumWindowSize() const {
  const int roomRight = S.ShowProcess ? kRoomRightWithMemo : kRoomRight;
  return QSize(4 * kMinCanvasUnit + roomRight + m_secondColumn, 3 * kMinCanvasUnit + kRoomBelow);
}

QSize MainWindow::AvailableRoom() const {
  if (!ScreenRoom.isEmpty()) return ScreenRoom;
  const QScreen* where = screen();
  return where ? where->availableGeometry().size() : QSize(1 << 16, 1 << 16);
}

QSize MainWindow::OpeningSize(QSize available) const {
  return FittedSize(QSize(S.ShowProcess ? 990 : 800, 580), available);
}

QSize MainWindow::FittedSize(QSize wanted, QSize available) const {
  const QSize room = available - kFrameAllowance;
  if (room.width() >= wanted.width() && room.height() >= wanted.height()) return wanted;
  // As tall as fits, and as wide as the canvas that height allows needs
  // with the panels folded beside it (wider than wanted, if the room is).
  const int roomRight = S.ShowProcess ? kRoomRightWithMemo : kRoomRight;
  const int height = std::min(wanted.height(), room.height());
  const int folded = 4 * ((height - kRoomBelow) / 3) + roomRight + m_secondColumn;
  const int width = std::min(room.width(), std::max(wanted.width(), folded));
  return QSize(width, height).expandedTo(MinimumWindowSize());
}

void MainWindow::LayOutControls() {
  const QSize canvas = CanvasSizeFor(Client->size(), &m_compact);
  const int dx = canvas.width() - kCanvasWidth;
  const int dy = canvas.height() - kCanvasHeight;
  const int beyond = m_compact ? m_secondColumn : 0;
  m_canvasGrowth = QPoint(dx, dy);
  for (const LayoutItem& item : m_layoutItems) {
    QRect r = item.base;
    if (item.follow & kRight) r.translate(dx, 0);
    if (item.follow & kDown) r.translate(0, dy);
    if (item.follow & kWider) r.setWidth(r.width() + dx);
    if (item.follow & kTaller) r.setHeight(r.height() + dy);
    if (item.follow & kBeyond) {
      if (item.follow & kRight)
        r.translate(beyond, 0);
      else
        r.setWidth(r.width() + beyond);
    }
    if (item.follow & kFolds) {
      // Folded, the panel ends with the canvas, as at the opening size.
      if (m_compact)
        r.setSize(QSize(r.width() + item.fold.shift.x(), std::max(r.height() + dy, item.fold.height)));
      for (const auto& [part, base] : item.fold.parts) {
        const QRect at = m_compact ? Folded(item.fold, base) : base;
        if (part->geometry() != at) part->setGeometry(at);
      }
    }
    if (item.widget->geometry() != r) item.widget->setGeometry(r);
  }
  PlaceUndoRedoButtons(m_shownMode);
}

void MainWindow::PlaceUndoRedoButtons(WindowMode mode) {
  // In the tool panel's free row under the stamp tool (and with the tools
  // when they fold), or in the room between the canvas and the edit buttons
  // above the size bar; both right of the canvas, so they follow its right
  // edge.
  const int dx = m_canvasGrowth.x();
  if (mode == WindowMode::Draw) {
    const QPoint panel = DrawPanel->geometry().topLeft();
    for (auto [button, r] : {std::pair{UndoStepBtn, kUndoAmongTools}, std::pair{RedoStepBtn, kRedoAmongTools}})
      button->setGeometry((m_compact ? Folded(m_toolFold, r) : r).translated(panel));
  } else {
    UndoStepBtn->setGeometry(645 + dx, 8, 26, 60);
    RedoStepBtn->setGeometry(645 + dx, 74, 26, 60);
  }
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
