// What the panels of the main window are made of: a framed panel, a control
// named and placed at a fixed spot, and sliders whose whole bar takes clicks.
// The texts of every panel belong to the window's translation context.
#pragma once

#include <QCoreApplication>
#include <QFrame>
#include <QSlider>
#include <QString>

// The window's own words, translated in the window's context.
inline QString WindowText(const char* text) { return QCoreApplication::translate("MainWindow", text); }

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

// Sets up `panel` as a raised panel named `name`; `single`: a plain
// single-line border instead; `white`: a white background.
void StylePanel(QFrame* panel, const char* name, int left, int top, int width, int height, bool single = false,
                bool white = false);
// A new framed panel styled as StylePanel makes it.
QFrame* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height, bool single = false,
                  bool white = false);

// Sliders page toward a click anywhere off the thumb, not only on the thin
// groove line that the style draws. A thumb length above 0 replaces the
// style's own.
void UseChannelClicks(QSlider* slider, int thumbLength = 0);
