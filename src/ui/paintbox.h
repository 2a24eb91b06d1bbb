// The window's picture widgets: the drawing surface, the colour swatches and
// the stamp preview. Each keeps its own picture and shows it as it is.
#pragma once

#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "render/canvas.h"
#include "render/device_scene.h"
#include "render/paint.h"

class QTabletEvent;
class QTouchEvent;

// The drawing surface. It keeps a screen image of 640 × 480 canvas pixels;
// the mouse tools draw rubber bands and strokes straight onto it through
// Screen(), whose pen and brush persist between calls, and the refresh
// routine replaces it with the composed picture (Show). Every mouse button
// acts alike; a double click arrives as press, release, press, release
// (Qt's double-click event is the second press).
//
// At 640 × 480 and a device pixel ratio of 1 the widget shows the screen
// image pixel for pixel. At any other size or ratio it shows the drawing at
// the screen's own resolution: the composer's figures through the vector
// canvas, the background smoothly scaled, and whatever the tools draw on
// the screen image drawn again there as vectors (not-xor marks exactly, so
// that drawing them twice still removes them). Positions of the mouse,
// touches and pens are mapped back to canvas pixels, rounded.
//
// Touch: the first finger down acts as the mouse with its button held;
// other fingers are ignored until it is lifted. A touch the system cancels
// emits Cancelled (what it had begun is to be dropped). A pen (tablet)
// acts as the mouse.
//
// Without a mouse: while the canvas has the keyboard focus, a pointer (a
// cross) moves with the arrow keys (8 pixels a key, 1 with Shift), Space
// presses and, the next time, releases there, and Enter clicks (or releases
// what Space pressed). They reach the tools as the same three signals; the
// keys are handed on while the pointer stays still (at the canvas's edge).
// Losing the focus releases what is held.
class CanvasView : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasView(QWidget* parent = nullptr);
  ~CanvasView() override;

  // The screen image (640 × 480, RGB32): the picture shown last and
  // whatever was drawn on it since.
  const QImage& Picture() const { return m_image; }
  // The screen image's canvas.
  RasterCanvas& Screen() { return m_canvas; }

  // Copies `picture` onto the screen image at (0, 0), pixel for pixel, and
  // schedules a repaint. When the widget is not pixel for pixel, the
  // composer's last composition is drawn again at its resolution.
  void Show(const QImage& picture);
  // After drawing on Screen(): schedule a repaint of the widget.
  void Changed() { update(); }

  // The composer whose compositions Show is handed (null: the screen image
  // is shown smoothly scaled).
  void SetComposer(const CanvasComposer* composer) { m_composer = composer; }
  // Called when the widget's size or device pixel ratio changed and the
  // drawing must be composed again (the window's refresh routine).
  std::function<void()> NeedsPicture;

  // 640 × 480 at a device pixel ratio of 1.
  bool PixelForPixel() const;
  // The widget's size in device pixels.
  QSize DeviceSize() const;
  // What the widget shows when it is not pixel for pixel (device pixels).
  const QImage& DevicePicture() const { return m_device; }
  // A position on the widget as a canvas pixel, rounded.
  QPoint ToCanvas(QPointF position) const;
  // A canvas pixel's top-left corner on the widget.
  QPoint ToWidget(Point p) const;

  // The keyboard pointer in canvas pixels, and whether Space holds it down.
  QPoint KeyPointer() const { return m_keyPointer; }
  bool KeyHeld() const { return m_keyHeld; }

 signals:
  // Coordinates in canvas pixels.
  void MouseDown(int X, int Y);
  void MouseMove(int X, int Y);
  void MouseUp(int X, int Y);
  // A touch under way was cancelled.
  void Cancelled();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void tabletEvent(QTabletEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  class DeviceMirror;

  QImage m_image;
  RasterCanvas m_canvas{&m_image};
  const CanvasComposer* m_composer = nullptr;
  DeviceScene m_scene;
  QImage m_device;
  std::unique_ptr<DeviceMirror> m_mirror;
  QPoint m_keyPointer{kCanvasWidth / 2, kCanvasHeight / 2};
  bool m_keyHeld = false;
  int m_touchId = -1;  // the finger that acts as the mouse
  bool m_penDown = false;

  // The picture at the widget's resolution from the composer's last
  // composition; the mirror follows the screen image while not pixel for
  // pixel.
  void ComposeDevice();
  void Pointer(QEvent::Type type, QPointF position);
  bool TouchEvent(QTouchEvent* event);
};

// A colour swatch: a lowered panel showing a ColorRef. A system colour (the
// no-fill colour) shows as the window colour crossed by a red stroke.
// A click (press and release on it) emits Clicked, and so do Space and
// Enter while it has the keyboard focus; the arrows move the focus on.
class ColorSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit ColorSwatch(QWidget* parent = nullptr);

  ColorRef Color() const { return m_color; }
  void SetColor(ColorRef color);

 signals:
  void Clicked(ColorSwatch* panel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ColorRef m_color = clWhite;
  bool m_pressed = false;
};

// The stamp preview: a picture of its own size (108 × 85) with a canvas.
class StampPreview : public QWidget {
  Q_OBJECT

 public:
  explicit StampPreview(QWidget* parent = nullptr);

  // The picture shown (108 × 85).
  const QImage& Picture() const { return m_image; }
  // Fills the whole picture white.
  void Blank();
  // Shows `source`'s part `from` stretched over the whole picture.
  void ShowStretched(const QImage& source, const QRect& from);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_image;
  RasterCanvas m_canvas{&m_image};
};
