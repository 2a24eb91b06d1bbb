#include "ui/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

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
