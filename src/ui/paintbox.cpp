#include "ui/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

#include "render/paint.h"

// ---- TPaintBox ----

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent), Image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32) {
  Image.fill(Qt::white);
  // Moves matter with no button held too: an unfinished polyline's rubber
  // band follows the mouse.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::Show(const QImage& picture) {
  if (picture.size() == Image.size()) {
    Image = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  } else {
    QPainter p(&Image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, picture);
  }
  update();
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), Image, event->rect());
}

static QPoint EventPoint(const QMouseEvent* event) { return event->position().toPoint(); }

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseDown(pt.x(), pt.y());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseMove(pt.x(), pt.y());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseUp(pt.x(), pt.y());
}

// Qt hands a widget the second press of a double click only as a double
// click event (press, release, double click, release); it is that press.
void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  QPoint pt = EventPoint(event);
  emit MouseDown(pt.x(), pt.y());
}

// ---- TColorPanel ----

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

void TColorPanel::SetColor(TColor color) {
  FColor = color;
  update();
}

void TColorPanel::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    QRect r = contentsRect();
    if (static_cast<uint32_t>(FColor) & 0x80000000u) {
      // No fill: the window colour with a red stroke across it.
      p.fillRect(r, palette().color(QPalette::Button));
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(220, 0, 0), 2));
      p.drawLine(r.bottomLeft(), r.topRight());
    } else {
      p.fillRect(r, ToQColor(FColor));
    }
  }
  QFrame::paintEvent(event);
}

void TColorPanel::mousePressEvent(QMouseEvent* event) {
  FPressed = true;
  event->accept();
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  bool inside = rect().contains(event->position().toPoint());
  if (FPressed && inside) emit Clicked(this);
  FPressed = false;
}

// ---- TStampImage ----

TStampImage::TStampImage(QWidget* parent) : QWidget(parent), Image(108, 85, QImage::Format_RGB32) {
  Image.fill(Qt::white);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStampImage::Blank() {
  Image.fill(Qt::white);
  update();
}

void TStampImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(rect(), Image);
}
