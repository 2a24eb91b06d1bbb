// The sliders as the mouse finds them: a click anywhere on the bar off the
// thumb pages toward the click, not only a click on the thin groove line.
#include "support/window_fixture.h"
#include <QStyle>

namespace {

class WindowSliders : public WindowTest {
 protected:
  void DrawTwoSteps() {
    DrawRect(*Window, {10, 10}, {50, 40});
    DrawEllipse(*Window, {100, 100}, {150, 180});
  }
  int Step() { return S().CurrentStep(); }
  // A click at the bar's vertical middle, `fraction` of the way along it.
  static void ClickBar(QSlider* bar, double fraction) {
    const QRect r = bar->rect();
    QPoint p = bar->orientation() == Qt::Horizontal
                   ? QPoint(r.left() + static_cast<int>(r.width() * fraction), r.center().y())
                   : QPoint(r.center().x(), r.top() + static_cast<int>(r.height() * fraction));
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, p);
  }
};

TEST_F(WindowSliders, ClickingTheTimeBarOffTheThumbStepsTowardTheClick) {
  DrawTwoSteps();
  ASSERT_TRUE(EnterPlayMode(*Window));
  ClickBar(Slider(*Window, "TimeTrackBar"), 0.95);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), 1);
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(S().Figures().Count(), 1);
  ClickBar(Slider(*Window, "TimeTrackBar"), 0.95);
  EXPECT_EQ(Step(), 2);
  EXPECT_FALSE(Button(*Window, "ForwardBtn")->isEnabled());
  ClickBar(Slider(*Window, "TimeTrackBar"), 0.02);
  EXPECT_EQ(Step(), 1);
  EXPECT_TRUE(Button(*Window, "ForwardBtn")->isEnabled());
  EXPECT_TRUE(Button(*Window, "ReverseBtn")->isEnabled());
}

TEST_F(WindowSliders, ClickingASizeBarOffTheThumbPagesIt) {
  EnterEditMode(*Window);
  ClickBar(Slider(*Window, "HTrackBar"), 0.98);
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 10);
  ClickBar(Slider(*Window, "HTrackBar"), 0.02);
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 0);
}

}  // namespace

namespace {

TEST_F(WindowSliders, SizeBarsHaveAFifteenPixelThumb) {
  for (QSlider* bar : {Slider(*Window, "HTrackBar"), Slider(*Window, "VTrackBar")})
    EXPECT_EQ(bar->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, bar), 15) << bar->objectName().toStdString();
}

}  // namespace
