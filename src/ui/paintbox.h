// The window's picture widgets: the drawing surface, the colour swatches and
// the stamp preview. Each keeps its own picture and shows it as it is.
#pragma once

#include <QFrame>
#include <QImage>
#include <QWidget>

#include "render/canvas.h"
#include "render/paint.h"

// The drawing surface. It shows its own screen image; the mouse handlers
// draw rubber bands and strokes straight onto it through `Canvas`, whose
// pen and brush persist between calls, and the refresh routine replaces it
// with the composed picture (Show). Every mouse button acts alike; a double
// click arrives as press, release, press, release (Qt's double-click event
// is the second press).
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

  QImage Image;            // the screen image, 640 × 480
  RasterCanvas Canvas{&Image};  // the paint box canvas

  // Copies `picture` onto the screen image at (0, 0), pixel for pixel, and
  // schedules a repaint.
  void Show(const QImage& picture);
  // After drawing on Canvas: schedule a repaint of the widget.
  void Changed() { update(); }

 signals:
  // Coordinates in paint-box pixels.
  void MouseDown(int X, int Y);
  void MouseMove(int X, int Y);
  void MouseUp(int X, int Y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 public:
  // The keyboard pointer in paint-box pixels, and whether Space holds it down.
  QPoint KeyPointer() const { return m_keyPointer; }
  bool KeyHeld() const { return m_keyHeld; }

 private:
  QPoint m_keyPointer{kCanvasWidth / 2, kCanvasHeight / 2};
  bool m_keyHeld = false;
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

  QImage Image;
  RasterCanvas Canvas{&Image};

  // Fills the whole picture white.
  void Blank();
  void Changed() { update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};
