// The panels on their own, without a window: each button asks for what it
// stands for, and what the window sets from outside (a checked tool, mode
// or speed) asks for nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"
#include "ui/panels/edit_panel.h"
#include "ui/panels/mode_panel.h"
#include "ui/panels/play_panels.h"

namespace {

template <class T = QAbstractButton>
T* Find(const QWidget& panel, const char* name) {
  T* child = panel.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

TEST(WindowPanels, EachToolButtonAsksForItsToolAndCheckingAsksForNothing) {
  QWidget parent;
  DrawToolPanel panel(&parent);
  parent.show();
  std::vector<ToolKind> asked;
  QObject::connect(&panel, &DrawToolPanel::ToolChosen, [&](ToolKind t) { asked.push_back(t); });
  const std::pair<const char*, ToolKind> buttons[] = {
      {"SelectionBtn", ToolKind::None},    {"TextBtn", ToolKind::Text},         {"LineBtn", ToolKind::Line},
      {"FreeBtn", ToolKind::FreeLine},     {"OvalBtn", ToolKind::Ellipse},      {"RectBtn", ToolKind::Rectangle},
      {"PolylineBtn", ToolKind::Polyline}, {"PolygonBtn", ToolKind::Polygon},   {"SetStampBtn", ToolKind::SetStamp},
  };
  for (const auto& [name, tool] : buttons) {
    QTest::mouseClick(Find(panel, name), Qt::LeftButton);
    ASSERT_FALSE(asked.empty()) << name;
    EXPECT_EQ(asked.back(), tool) << name;
  }
  // The stamp tool takes clicks only with a stamp.
  const size_t before = asked.size();
  QTest::mouseClick(Find(panel, "StampBtn"), Qt::LeftButton);
  EXPECT_EQ(asked.size(), before);
  panel.SetStampUsable(true);
  QTest::mouseClick(Find(panel, "StampBtn"), Qt::LeftButton);
  EXPECT_EQ(asked.back(), ToolKind::Stamp);
  panel.BlankStamp();
  EXPECT_FALSE(Find(panel, "StampBtn")->isEnabled());

  asked.clear();
  panel.CheckTool(ToolKind::Polygon);
  EXPECT_TRUE(Find(panel, "PolygonBtn")->isChecked());
  EXPECT_FALSE(Find(panel, "SetStampBtn")->isChecked());
  EXPECT_TRUE(asked.empty());
}

TEST(WindowPanels, ModeButtonsAskForTheirModeAndAreCheckedFromOutside) {
  QWidget parent;
  ModeButtons panel(&parent);
  parent.show();
  QSignalSpy spy(&panel, &ModeButtons::ModeChosen);
  QTest::mouseClick(Find(panel, "SelectPlayBtn"), Qt::LeftButton);
  QTest::mouseClick(Find(panel, "SelectEditBtn"), Qt::LeftButton);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(spy[0][0].value<WindowMode>(), WindowMode::Play);
  EXPECT_EQ(spy[1][0].value<WindowMode>(), WindowMode::Edit);
  panel.Check(WindowMode::Draw);
  EXPECT_TRUE(Find(panel, "SelectDrawBtn")->isChecked());
  EXPECT_EQ(spy.count(), 2);
}

TEST(WindowPanels, EditButtonsAskForTheirCommandAndThePaletteKeepsTheChosenColour) {
  QWidget parent;
  EditArea area(&parent);
  parent.show();
  std::vector<AttrChange> changes;
  std::vector<bool> order;
  int duplicates = 0, deletes = 0, restores = 0, textChanges = 0;
  EditOpPanel* ops = area.Ops();
  QObject::connect(ops, &EditOpPanel::AttrChangeAsked, [&](AttrChange c) { changes.push_back(c); });
  QObject::connect(ops, &EditOpPanel::FrontBackAsked, [&](bool front) { order.push_back(front); });
  QObject::connect(ops, &EditOpPanel::DuplicateAsked, [&] { ++duplicates; });
  QObject::connect(ops, &EditOpPanel::DeleteAsked, [&] { ++deletes; });
  QObject::connect(ops, &EditOpPanel::RestoreAsked, [&] { ++restores; });
  QObject::connect(ops, &EditOpPanel::ChangeTextAsked, [&] { ++textChanges; });
  for (const char* name : {"ThinBtn", "ThickBtn", "LineColorBtn", "BodyColorBtn", "TextColorBtn", "FrontBtn",
                           "BackBtn", "DupBtn", "DeleteBtn", "UndoBtn", "ChangeTextBtn"})
    QTest::mouseClick(Find(area, name), Qt::LeftButton);
  EXPECT_EQ(changes, (std::vector<AttrChange>{AttrChange::Thinner, AttrChange::Thicker, AttrChange::LineColor,
                                              AttrChange::BodyColor, AttrChange::TextColor}));
  EXPECT_EQ(order, (std::vector<bool>{true, false}));
  EXPECT_EQ(duplicates + deletes + restores + textChanges, 4);
  EXPECT_EQ(duplicates * deletes * restores * textChanges, 1);

  ColorPalette* palette = area.Palette();
  palette->SetSwatchColor(2, 0x0000FF);
  QSignalSpy chosen(palette, &ColorPalette::ColorChosen);
  EXPECT_EQ(palette->Chosen(), clBlack);
  QTest::mouseClick(Find<ColorSwatch>(area, "ColorPanel03"), Qt::LeftButton);
  EXPECT_EQ(palette->Chosen(), 0x0000FFu);
  EXPECT_EQ(Find<ColorSwatch>(area, "ConfirmPanel")->Color(), 0x0000FFu);
  QTest::mouseClick(Find<ColorSwatch>(area, "ClearPanel"), Qt::LeftButton);
  EXPECT_EQ(palette->Chosen(), clBtnFace);
  EXPECT_EQ(chosen.count(), 2);
  palette->SetSwatchColor(16, 0x123456);  // no such swatch: nothing changes
  palette->SetSwatchColor(-1, 0x123456);
}

TEST(WindowPanels, SizeSlidersReportEveryMoveUnlessResetQuietly) {
  QWidget parent;
  EditArea area(&parent);
  parent.show();
  QSignalSpy spy(&area, &EditArea::SizeChanged);
  Find<QSlider>(area, "HTrackBar")->setValue(30);
  Find<QSlider>(area, "VTrackBar")->setValue(-20);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_TRUE(spy[0][0].toBool());
  EXPECT_EQ(spy[0][1].toInt(), 30);
  EXPECT_FALSE(spy[1][0].toBool());
  area.ResetSizes(/*quietly=*/true);
  EXPECT_EQ(spy.count(), 2);
  EXPECT_EQ(Find<QSlider>(area, "HTrackBar")->value(), 0);
  Find<QSlider>(area, "VTrackBar")->setValue(5);
  area.ResetSizes();
  EXPECT_EQ(spy.count(), 4);
  EXPECT_EQ(spy.last()[1].toInt(), 0);
}

TEST(WindowPanels, PlayControlsReportStepsAndCountThem) {
  QWidget parent;
  PlayControls play(&parent);
  parent.show();
  QSignalSpy steps(&play, &PlayControls::StepChanged);
  play.SetLastStep(12);
  play.SetStep(5);
  EXPECT_EQ(play.Step(), 5);
  ASSERT_EQ(steps.count(), 1);
  EXPECT_EQ(steps[0][0].toInt(), 5);
  EXPECT_EQ(Find<QLabel>(play, "StepCountLabel")->text(), QStringLiteral("5 / 12"));
  play.SetStep(40);  // past the end: the last step
  EXPECT_EQ(play.Step(), 12);
  play.EnableSteps(false, true, true);
  QSignalSpy reverse(&play, &PlayControls::ReverseAsked);
  QSignalSpy forward(&play, &PlayControls::ForwardAsked);
  QTest::mouseClick(Find(play, "ReverseBtn"), Qt::LeftButton);
  QTest::mouseClick(Find(play, "ForwardBtn"), Qt::LeftButton);
  EXPECT_EQ(reverse.count(), 0);
  EXPECT_EQ(forward.count(), 1);
}

TEST(WindowPanels, ReplaySpeedFollowsTheCheckedButtonAndClicksAsk) {
  QWidget parent;
  ReplayControls replay(&parent);
  parent.show();
  QSignalSpy chosen(&replay, &ReplayControls::SpeedChosen);
  EXPECT_EQ(replay.Speed(), PlaybackSpeed::One);
  replay.SetSpeed(PlaybackSpeed::Four);
  EXPECT_EQ(replay.Speed(), PlaybackSpeed::Four);
  EXPECT_EQ(chosen.count(), 0);
  QTest::mouseClick(Find(replay, "AsDrawnBtn"), Qt::LeftButton);
  EXPECT_EQ(replay.Speed(), PlaybackSpeed::AsDrawn);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].value<PlaybackSpeed>(), PlaybackSpeed::AsDrawn);
  replay.ShowPlaying(true);
  EXPECT_EQ(Find(replay, "PlayBtn")->toolTip(), Find(replay, "PlayBtn")->accessibleName());
}

}  // namespace
