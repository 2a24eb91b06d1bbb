#include "ui/paintbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "render/paint.h"

// ---- CanvasView ----

CanvasView::CanvasView(QWidget* parent) : QWidget(parent), Image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32) {
  Image.fill(Qt::white);
  // Moves matter with no button held too: an unfinished polyline's rubber
  // band follows the mouse.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::Show(const QImage& picture) {
  if (picture.size() == Image.size()) {
    Image = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  } else {
    QPainter p(&Image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, picture);
  }
  update();
}

void CanvasView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), Image, event->rect());
  if (!hasFocus()) return;
  // The keyboard pointer: a cross in a ring, white under black so that it
  // shows on any colour. It is drawn over the screen image, never into it.
  const QPoint c = m_keyPointer;
  for (const auto& [color, width] : {std::pair{QColor(Qt::white), 4}, std::pair{QColor(Qt::black), 2}}) {
    p.setPen(QPen(color, width));
    p.drawLine(c.x() - 12, c.y(), c.x() - 4, c.y());
    p.drawLine(c.x() + 4, c.y(), c.x() + 12, c.y());
    p.drawLine(c.x(), c.y() - 12, c.x(), c.y() - 4);
    p.drawLine(c.x(), c.y() + 4, c.x(), c.y() + 12);
    p.setBrush(m_keyHeld ? QBrush(color) : QBrush());
    p.drawEllipse(c, 3, 3);
  }
}

void CanvasView::keyPressEvent(QKeyEvent* event) {
  const int step = event->modifiers() & Qt::ShiftModifier ? 1 : 8;
  QPoint moved = m_keyPointer;
  switch (event->key()) {
    case Qt::Key_Left: moved.rx() -= step; break;
    case Qt::Key_Right: moved.rx() += step; break;
    case Qt::Key_Up: moved.ry() -= step; break;
    case Qt::Key_Down: moved.ry() += step; break;
    case Qt::Key_Space:
      if (event->isAutoRepeat()) break;
      m_keyHeld = !m_keyHeld;
      update();
      if (m_keyHeld)
        emit MouseDown(m_keyPointer.x(), m_keyPointer.y());
      else
        emit MouseUp(m_keyPointer.x(), m_keyPointer.y());
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (event->isAutoRepeat()) break;
      if (!m_keyHeld) emit MouseDown(m_keyPointer.x(), m_keyPointer.y());
      m_keyHeld = false;
      update();
      emit MouseUp(m_keyPointer.x(), m_keyPointer.y());
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  moved.setX(std::clamp(moved.x(), 0, width() - 1));
  moved.setY(std::clamp(moved.y(), 0, height() - 1));
  if (moved == m_keyPointer) {
    event->ignore();
    return;
  }
  m_keyPointer = moved;
  update();
  emit MouseMove(moved.x(), moved.y());
}

void CanvasView::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void CanvasView::focusOutEvent(QFocusEvent* event) {
  update();
  if (m_keyHeld) {
    m_keyHeld = false;
    emit MouseUp(m_keyPointer.x(), m_keyPointer.y());
  }
  QWidget::focusOutEvent(event);
}

static QPoint EventPoint(const QMouseEvent* event) { return event->position().toPoint(); }

void CanvasView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseDown(pt.x(), pt.y());
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  // The keyboard carries on from where the mouse was.
  if (rect().contains(pt) && !m_keyHeld) m_keyPointer = pt;
  emit MouseMove(pt.x(), pt.y());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseUp(pt.x(), pt.y());
}

// Qt hands a widget the second press of a double click only as a double
// click event (press, release, double click, release); it is that press.
void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseDown(pt.x(), pt.y());
}

// ---- ColorSwatch ----

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

void ColorSwatch::SetColor(ColorRef color) {
  m_color = color;
  update();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    QRect r = contentsRect();
    if (static_cast<uint32_t>(m_color) & 0x80000000u) {
      // No fill: the window colour with a red stroke across it.
      p.fillRect(r, palette().color(QPalette::Button));
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(220, 0, 0), 2));
      p.drawLine(r.bottomLeft(), r.topRight());
    } else {
      p.fillRect(r, ToQColor(m_color));
    }
  }
  QFrame::paintEvent(event);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
  m_pressed = true;
  event->accept();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  bool inside = rect().contains(event->position().toPoint());
  if (m_pressed && inside) emit Clicked(this);
  m_pressed = false;
}

void ColorSwatch::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat()) emit Clicked(this);
      return;
    case Qt::Key_Left:
    case Qt::Key_Up:
      focusNextPrevChild(false);
      return;
    case Qt::Key_Right:
    case Qt::Key_Down:
      focusNextPrevChild(true);
      return;
    default:
      QFrame::keyPressEvent(event);
  }
}

// ---- StampPreview ----

StampPreview::StampPreview(QWidget* parent) : QWidget(parent), Image(108, 85, QImage::Format_RGB32) {
  Image.fill(Qt::white);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StampPreview::Blank() {
  Image.fill(Qt::white);
  update();
}

void StampPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(rect(), Image);
}
