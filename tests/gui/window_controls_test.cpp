// The controls as tests and screenshots find them, and what each one stands
// for: names that single out one control, every swatch its own colour,
// every speed button its speed, every clearing command its record, every
// attribute button its attribute.
#include <QMenuBar>
#include <QSet>
#include <QStringList>

#include "support/window_fixture.h"

namespace {

class WindowControls : public WindowTest {
 protected:
  // Every name given to more than one object of the same kind.
  template <class T>
  QStringList SharedNames() const {
    QSet<QString> seen;
    QStringList shared;
    for (T* o : Window->findChildren<T*>()) {
      const QString name = o->objectName();
      if (name.isEmpty() || name.startsWith(u"qt_")) continue;
      if (seen.contains(name)) shared << name;
      seen.insert(name);
    }
    return shared;
  }

  Figure* DrawAndSelect(QPoint from, QPoint to) {
    DrawRect(*Window, from, to);
    EnterEditMode(*Window);
    CanvasClick(*Window, from.x() + 2, from.y() + 2);
    return S().SelectedFig;
  }
};

TEST_F(WindowControls, EachNameSinglesOutOneControlOfItsKind) {
  EXPECT_EQ(SharedNames<QWidget>(), QStringList());
  EXPECT_EQ(SharedNames<QAction>(), QStringList());
  // A menu and its entry in the menu bar share the menu's name, by kind.
  EXPECT_EQ(MenuAction(*Window, "FileMenu"), Menu(*Window, "FileMenu")->menuAction());
  EXPECT_EQ(Canvas(*Window)->parentWidget(), Panel(*Window, "DrawField"));
}

TEST_F(WindowControls, EverySwatchChoosesItsOwnColour) {
  for (int i = 0; i < 16; ++i) {
    QTest::mouseClick(ColorPanel(*Window, i), Qt::LeftButton);
    EXPECT_EQ(Window->ChosenColor(), ColorPanel(*Window, i)->Color()) << "ColorPanel" << i + 1;
    EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->Color(), ColorPanel(*Window, i)->Color());
  }
  QTest::mouseClick(Swatch(*Window, "ClearPanel"), Qt::LeftButton);
  EXPECT_EQ(Window->ChosenColor(), clBtnFace);
  // The chosen colour is only shown, never a swatch of the palette.
  QTest::mouseClick(Swatch(*Window, "ConfirmPanel"), Qt::LeftButton);
  EXPECT_EQ(Window->ChosenColor(), clBtnFace);
}

TEST_F(WindowControls, EverySpeedButtonSetsItsSpeedHoweverItIsChecked) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ASSERT_TRUE(EnterPlayMode(*Window));
  EXPECT_EQ(Window->PlaySpeed(), PlaybackSpeed::One);
  const std::pair<const char*, PlaybackSpeed> speeds[] = {
      {"SpeedTwoBtn", PlaybackSpeed::Two}, {"SpeedFourBtn", PlaybackSpeed::Four}, {"AsDrawnBtn", PlaybackSpeed::AsDrawn}, {"SpeedOneBtn", PlaybackSpeed::One}};
  for (auto [name, speed] : speeds) {
    ClickButton(Button(*Window, name));
    EXPECT_EQ(Window->PlaySpeed(), speed) << name;
    EXPECT_TRUE(Button(*Window, name)->isChecked());
  }
  // Checked by other means (the keyboard, an accessibility tool), the
  // button still sets the speed the replay runs at.
  Button(*Window, "SpeedFourBtn")->setChecked(true);
  EXPECT_EQ(Window->PlaySpeed(), PlaybackSpeed::Four);
  EXPECT_FALSE(Button(*Window, "SpeedOneBtn")->isChecked());
}

TEST_F(WindowControls, EachClearingCommandRecordsWhatItClears) {
  const std::pair<const char*, ActionKind> items[] = {
      {"ClearBGMenu", ActionKind::ClearBG}, {"ClearImageMenu", ActionKind::ClearDrawing}, {"ClearAllMenu", ActionKind::ClearAll}};
  for (auto [name, kind] : items) {
    DrawRect(*Window, {10, 10}, {50, 40});
    const int before = S().History().Count();
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, name))) << name;
    ASSERT_EQ(S().History().Count(), before + 1) << name;
    EXPECT_EQ(S().History().Last().TargetType, kind) << name;
    // Only clearing the figures takes the rectangle away.
    EXPECT_EQ(S().Figures().IsEmpty(), kind != ActionKind::ClearBG) << name;
  }
}

TEST_F(WindowControls, EachAttributeButtonChangesItsAttributeOnly) {
  Figure* f = DrawAndSelect({10, 10}, {60, 50});
  ASSERT_NE(f, nullptr);
  const Figure before = *f;
  QTest::mouseClick(ColorPanel(*Window, 2), Qt::LeftButton);  // red, 0x0000FF

  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::LineWidth);
  EXPECT_EQ(f->PenWidth, before.PenWidth + 2);
  ClickButton(Button(*Window, "ThinBtn"));
  EXPECT_EQ(f->PenWidth, before.PenWidth);
  EXPECT_EQ(f->PenColor, before.PenColor);
  EXPECT_EQ(f->BrushColor, before.BrushColor);

  ClickButton(Button(*Window, "LineColorBtn"));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::LineColor);
  EXPECT_EQ(f->PenColor, 0x0000FF);
  EXPECT_EQ(f->BrushColor, before.BrushColor);

  QTest::mouseClick(ColorPanel(*Window, 10), Qt::LeftButton);  // green, 0x00FF00
  ClickButton(Button(*Window, "BodyColorBtn"));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::BodyColor);
  EXPECT_EQ(f->BrushColor, 0x00FF00);
  EXPECT_EQ(f->PenColor, 0x0000FF);
  EXPECT_EQ(f->PenWidth, before.PenWidth);
}

TEST_F(WindowControls, FrontAndBackMoveTheSelectionTheirOwnWay) {
  DrawRect(*Window, {10, 10}, {60, 50});
  Figure* top = DrawAndSelect({100, 10}, {150, 50});
  ASSERT_EQ(&S().Figures().Last(), top);
  ClickButton(Button(*Window, "FrontBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより前にいくことができません。");
  EXPECT_EQ(S().History().Count(), 2);
  ClickButton(Button(*Window, "BackBtn"));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Back);
  EXPECT_EQ(&S().Figures().First(), S().SelectedFig);
  ClickButton(Button(*Window, "FrontBtn"));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Front);
  EXPECT_EQ(&S().Figures().Last(), S().SelectedFig);
}

}  // namespace
