#include "ui/panels/panel_parts.h"

#include <QPalette>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace {

// The whole bar is the channel: a click beside the groove line pages too.
class ChannelSliderStyle : public QProxyStyle {
 public:
  explicit ChannelSliderStyle(int thumbLength) : m_thumbLength(thumbLength) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SliderLength && m_thumbLength > 0) return m_thumbLength;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
  SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   const QPoint& pos, const QWidget* widget) const override {
    SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    if (control == CC_Slider && hit != SC_SliderHandle && option->rect.contains(pos)) return SC_SliderGroove;
    return hit;
  }

 private:
  int m_thumbLength;
};

}  // namespace

void StylePanel(QFrame* panel, const char* name, int left, int top, int width, int height, bool single, bool white) {
  panel->setFrameStyle(single ? QFrame::Box | QFrame::Plain : QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  if (white) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
  }
  Place(panel, name, left, top, width, height);
}

QFrame* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height, bool single,
                  bool white) {
  auto* panel = new QFrame(parent);
  StylePanel(panel, name, left, top, width, height, single, white);
  return panel;
}

void UseChannelClicks(QSlider* slider, int thumbLength) {
  auto* style = new ChannelSliderStyle(thumbLength);
  style->setParent(slider);  // a widget does not own its style
  slider->setStyle(style);
}
