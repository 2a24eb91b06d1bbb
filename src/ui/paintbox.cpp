#include "ui/paintbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabletEvent>
#include <QTouchEvent>
#include <algorithm>
#include <utility>

#include "render/paint.h"
#include "render/vector_canvas.h"

// ---- CanvasView ----

namespace {

const QRect kCanvasRect(0, 0, kCanvasWidth, kCanvasHeight);

// A painter on a picture of the widget's resolution, drawing in canvas
// pixels.
void CanvasToDevice(QPainter& p, const QImage& image) {
  const QSizeF size = image.deviceIndependentSize();
  p.scale(size.width() / kCanvasWidth, size.height() / kCanvasHeight);
  p.setClipRect(QRectF(kCanvasRect));
}

}  // namespace

// Draws what the tools draw on the screen image again on the picture of the
// widget's resolution.
class CanvasView::DeviceMirror : public CanvasMirror {
 public:
  explicit DeviceMirror(CanvasView& view) : m_view(view) {}

  void Draw(const RasterCanvas& from, const std::function<void(VectorCanvas&)>& primitive) override {
    QImage& device = m_view.m_device;
    if (device.isNull()) return;
    QPainter p(&device);
    CanvasToDevice(p, device);
    VectorCanvas v(&p);
    v.PenWidth = from.PenWidth;
    v.PenColor = from.PenColor;
    v.PenStyle = from.PenStyle;
    v.PenMode = from.PenMode;
    v.BrushColor = from.BrushColor;
    v.BrushStyle = from.BrushStyle;
    v.FontSize = from.FontSize;
    v.FontColor = from.FontColor;
    v.PenPos = from.PenPos;
    primitive(v);
  }

 private:
  CanvasView& m_view;
};

CanvasView::CanvasView(QWidget* parent)
    : QWidget(parent), m_image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32),
      m_mirror(std::make_unique<DeviceMirror>(*this)) {
  m_image.fill(Qt::white);
  // Moves matter with no button held too: an unfinished polyline's rubber
  // band follows the mouse.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_AcceptTouchEvents);
}

CanvasView::~CanvasView() = default;

bool CanvasView::PixelForPixel() const {
  return width() == kCanvasWidth && height() == kCanvasHeight && devicePixelRatioF() == 1.0;
}

QSize CanvasView::DeviceSize() const {
  const qreal r = devicePixelRatioF();
  return QSize(qRound(width() * r), qRound(height() * r));
}

QPoint CanvasView::ToWidget(Point p) const {
  return QPoint(qRound(double(p.X) * width() / kCanvasWidth), qRound(double(p.Y) * height() / kCanvasHeight));
}

QPoint CanvasView::ToCanvas(QPointF position) const {
  if (width() <= 0 || height() <= 0) return position.toPoint();
  return QPoint(qRound(position.x() * kCanvasWidth / width()), qRound(position.y() * kCanvasHeight / height()));
}

void CanvasView::ComposeDevice() {
  m_device = QImage();  // the scene's layers are not to be copied for it
  if (PixelForPixel()) {
    m_scene.Clear();
    m_canvas.Mirror = nullptr;
    return;
  }
  const qreal ratio = devicePixelRatioF();
  if (m_composer != nullptr) {
    m_device = m_scene.Compose(DeviceSize(), ratio, m_composer->BGPicture, m_composer->ComposedFigures(),
                               m_composer->ComposedFrame());
  } else {
    m_device = m_image.scaled(DeviceSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_device.setDevicePixelRatio(ratio);
  }
  m_canvas.Mirror = m_mirror.get();
}

void CanvasView::Show(const QImage& picture) {
  if (picture.size() == m_image.size()) {
    m_image = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  } else {
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, picture);
  }
  if (!PixelForPixel() || !m_device.isNull()) ComposeDevice();
  update();
}

void CanvasView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (PixelForPixel() && m_device.isNull()) return;
  // The drawing is composed again at the new size.
  if (NeedsPicture)
    NeedsPicture();
  else
    ComposeDevice();
}

void CanvasView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (PixelForPixel()) {
    if (!m_device.isNull()) ComposeDevice();  // back to pixel for pixel
    p.drawImage(event->rect(), m_image, event->rect());
  } else {
    // Moved to a screen of another device pixel ratio: composed again.
    if (m_device.size() != DeviceSize() || m_device.devicePixelRatio() != devicePixelRatioF()) {
      if (NeedsPicture) NeedsPicture();
      if (m_device.size() != DeviceSize() || m_device.devicePixelRatio() != devicePixelRatioF()) ComposeDevice();
    }
    p.drawImage(QPointF(0, 0), m_device);
    p.scale(double(width()) / kCanvasWidth, double(height()) / kCanvasHeight);
    p.setRenderHint(QPainter::Antialiasing);
  }
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
  moved.setX(std::clamp(moved.x(), 0, kCanvasWidth - 1));
  moved.setY(std::clamp(moved.y(), 0, kCanvasHeight - 1));
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

// The mouse, a finger and a pen all end here, in widget positions.
void CanvasView::Pointer(QEvent::Type type, QPointF position) {
  const QPoint pt = ToCanvas(position);
  switch (type) {
    case QEvent::MouseButtonPress:
      emit MouseDown(pt.x(), pt.y());
      break;
    case QEvent::MouseMove:
      // The keyboard carries on from where the mouse was.
      if (kCanvasRect.contains(pt) && !m_keyHeld) m_keyPointer = pt;
      emit MouseMove(pt.x(), pt.y());
      break;
    case QEvent::MouseButtonRelease:
      emit MouseUp(pt.x(), pt.y());
      break;
    default:
      break;
  }
}

// While a finger or a pen draws, mouse events (some systems make them of
// the touch as well) are no second pointer.
void CanvasView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (m_touchId < 0 && !m_penDown) Pointer(QEvent::MouseButtonPress, event->position());
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (m_touchId < 0 && !m_penDown) Pointer(QEvent::MouseMove, event->position());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (m_touchId < 0 && !m_penDown) Pointer(QEvent::MouseButtonRelease, event->position());
}

// Qt hands a widget the second press of a double click only as a double
// click event (press, release, double click, release); it is that press.
void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (m_touchId < 0 && !m_penDown) Pointer(QEvent::MouseButtonPress, event->position());
}

void CanvasView::tabletEvent(QTabletEvent* event) {
  // Taken here, so that Qt makes no mouse events of it as well.
  event->accept();
  switch (event->type()) {
    case QEvent::TabletPress:
      if (m_penDown) return;  // a second button of the same pen
      m_penDown = true;
      Pointer(QEvent::MouseButtonPress, event->position());
      break;
    case QEvent::TabletMove:
      Pointer(QEvent::MouseMove, event->position());
      break;
    case QEvent::TabletRelease:
      if (!m_penDown) return;
      m_penDown = false;
      Pointer(QEvent::MouseButtonRelease, event->position());
      break;
    default:
      break;
  }
}

bool CanvasView::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
      return TouchEvent(static_cast<QTouchEvent*>(event));
    default:
      return QWidget::event(event);
  }
}

bool CanvasView::TouchEvent(QTouchEvent* event) {
  // Taken whole, so that Qt makes no mouse events of it as well.
  event->accept();
  if (event->type() == QEvent::TouchCancel) {
    if (m_touchId >= 0) {
      m_touchId = -1;
      emit Cancelled();
    }
    return true;
  }
  for (const QEventPoint& point : event->points()) {
    if (m_touchId < 0) {
      // Only a finger coming down takes the pointer; one already resting
      // on the canvas does not.
      if (point.state() != QEventPoint::Pressed) continue;
      m_touchId = point.id();
      Pointer(QEvent::MouseButtonPress, point.position());
      continue;
    }
    if (point.id() != m_touchId) continue;
    if (point.state() == QEventPoint::Released) {
      m_touchId = -1;
      Pointer(QEvent::MouseButtonRelease, point.position());
    } else if (point.state() == QEventPoint::Updated) {
      Pointer(QEvent::MouseMove, point.position());
    }
  }
  return true;
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

StampPreview::StampPreview(QWidget* parent) : QWidget(parent), m_image(108, 85, QImage::Format_RGB32) {
  m_image.fill(Qt::white);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StampPreview::Blank() {
  m_image.fill(Qt::white);
  update();
}

void StampPreview::ShowStretched(const QImage& source, const QRect& from) {
  m_image.fill(Qt::white);
  m_canvas.StretchDraw(m_image.rect(), source, from);
  update();
}

void StampPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(rect(), m_image);
}
