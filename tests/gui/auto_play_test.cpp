// The view mode's replay that plays by itself, driven by a timer the test
// fires by hand: the pace at each speed, the slider and the step counter
// following it, the end of the film, and everything that stops it.
#include <QFontMetrics>
#include <QLabel>
#include <QToolButton>

#include "support/window_fixture.h"
#include "ui/auto_play.h"
#include "support/drawing_door.h"

namespace {

class ManualTimer : public PlaybackTimer {
 public:
  bool Active = false;
  int Interval = -1;
  std::vector<int> Starts;  // every interval asked for
  void Start(int milliseconds) override {
    Active = true;
    Interval = milliseconds;
    Starts.push_back(milliseconds);
  }
  void Stop() override { Active = false; }
  bool IsActive() const override { return Active; }
  // Runs the timer out, as the event loop would.
  void Fire() {
    ASSERT_TRUE(Active);
    Active = false;
    OnTimeout();
  }
};

class AutoPlay : public WindowTest {
 protected:
  ManualTimer* Timer = nullptr;

  void SetUp() override {
    WindowTest::SetUp();
    auto timer = std::make_unique<ManualTimer>();
    Timer = timer.get();
    Window->SetPlayTimer(std::move(timer));
  }
  // Four records: three rectangles and a move.
  void DrawFourSteps() {
    DrawRect(*Window, {10, 10}, {50, 40});
    DrawRect(*Window, {60, 10}, {90, 40});
    DrawRect(*Window, {110, 10}, {150, 40});
    EnterEditMode(*Window);
    CanvasPress(*Window, 10, 20);
    CanvasMove(*Window, 10, 220);
    CanvasRelease(*Window, 10, 220);
    ASSERT_EQ(S().History().Count(), 4);
  }
  int Step() { return S().CurrentStep(); }
  QString Counter() { return Label(*Window, "StepCountLabel")->text(); }
  // Starts playing from step 0 of the view mode.
  void PlayFromStart() {
    DrawFourSteps();
    ASSERT_TRUE(EnterPlayMode(*Window));
    ASSERT_TRUE(ClickButton(Button(*Window, "PlayBtn")));
    ASSERT_TRUE(Window->IsPlaying());
    ASSERT_TRUE(Timer->Active);
  }
};

TEST_F(AutoPlay, PlaysEveryStepOnTheTimerAndStopsAtTheLast) {
  DrawFourSteps();
  EnterPlayMode(*Window);
  EXPECT_EQ(Counter(), "0 / 4");
  EXPECT_FALSE(Timer->Active);
  ClickButton(Button(*Window, "PlayBtn"));
  EXPECT_TRUE(Window->IsPlaying());
  EXPECT_EQ(Button(*Window, "PlayBtn")->toolTip(), QString::fromUtf8("とめる"));
  EXPECT_EQ(Step(), 0);  // nothing moves before the timer runs out
  for (int step = 1; step <= 4; ++step) {
    Timer->Fire();
    EXPECT_EQ(Step(), step);
    EXPECT_EQ(Slider(*Window, "TimeTrackBar")->value(), step);
    EXPECT_EQ(Counter(), QStringLiteral("%1 / 4").arg(step));
  }
  EXPECT_EQ(S().Figures().Count(), 3);
  EXPECT_EQ(S().Figures().First().Start, (Point{10, 210}));
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_FALSE(Timer->Active);
  EXPECT_EQ(Button(*Window, "PlayBtn")->toolTip(), QString::fromUtf8("さいせい"));
  EXPECT_EQ(Timer->Starts, (std::vector<int>{1000, 1000, 1000, 1000}));
  EXPECT_FALSE(Button(*Window, "ForwardBtn")->isEnabled());
  EXPECT_TRUE(Button(*Window, "ReverseBtn")->isEnabled());
  EXPECT_EQ(S().History().Count(), 4);  // playing records nothing

  // At the last step ▶ plays the film again from the empty canvas.
  ClickButton(Button(*Window, "PlayBtn"));
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(Counter(), "0 / 4");
  EXPECT_TRUE(Window->IsPlaying());
  Timer->Fire();
  EXPECT_EQ(Step(), 1);
  // ⏸ holds the step on the screen; ▶ goes on from it.
  ClickButton(Button(*Window, "PlayBtn"));
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_FALSE(Timer->Active);
  ClickButton(Button(*Window, "PlayBtn"));
  Timer->Fire();
  EXPECT_EQ(Step(), 2);
}

TEST_F(AutoPlay, SpeedsAndTheRecordedPace) {
  DrawFourSteps();
  // Recorded times: 1 s, then 0.3 s, then a 40-minute pause.
  const int seconds[] = {10, 11, 11, 0};
  const int hund[] = {0, 0, 30, 0};
  const int minutes[] = {0, 0, 0, 40};
  int i = 0;
  for (Action& a : Writable(MutableState(*Window)).History) {
    a.ActionTime.Hour = 9;
    a.ActionTime.Min = static_cast<uint8_t>(minutes[i]);
    a.ActionTime.Sec = static_cast<uint8_t>(seconds[i]);
    a.ActionTime.Hund = static_cast<uint8_t>(hund[i]);
    ++i;
  }
  EnterPlayMode(*Window);
  ClickButton(Button(*Window, "SpeedTwoBtn"));
  EXPECT_EQ(Window->PlaySpeed(), PlaybackSpeed::Two);
  ClickButton(Button(*Window, "PlayBtn"));
  EXPECT_EQ(Timer->Interval, 500);
  ClickButton(Button(*Window, "SpeedFourBtn"));  // a new speed counts at once
  EXPECT_TRUE(Window->IsPlaying());
  EXPECT_EQ(Timer->Interval, 250);
  ClickButton(Button(*Window, "AsDrawnBtn"));
  EXPECT_EQ(Timer->Interval, 500);  // the empty canvas before the first record
  Timer->Fire();
  EXPECT_EQ(Timer->Interval, 1000);
  Timer->Fire();
  EXPECT_EQ(Timer->Interval, 300);
  Timer->Fire();
  EXPECT_EQ(Timer->Interval, 2000);  // the long pause, shortened
  Timer->Fire();
  EXPECT_FALSE(Window->IsPlaying());
  ClickButton(Button(*Window, "SpeedOneBtn"));  // not playing: nothing starts
  EXPECT_FALSE(Timer->Active);
}

TEST_F(AutoPlay, AStepOrSliderMoveByHandStopsIt) {
  PlayFromStart();
  Timer->Fire();
  ClickButton(Button(*Window, "ForwardBtn"));
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_FALSE(Timer->Active);
  EXPECT_EQ(Step(), 2);

  ClickButton(Button(*Window, "PlayBtn"));
  ClickButton(Button(*Window, "ReverseBtn"));
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_EQ(Step(), 1);

  ClickButton(Button(*Window, "PlayBtn"));
  ClickButton(Button(*Window, "StopBtn"));
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_EQ(Step(), 0);

  ClickButton(Button(*Window, "PlayBtn"));
  Slider(*Window, "TimeTrackBar")->setFocus();
  QTest::keyClick(Slider(*Window, "TimeTrackBar"), Qt::Key_Right);
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(Label(*Window, "StepCountLabel")->text(), "1 / 4");

  ClickButton(Button(*Window, "PlayBtn"));
  emit Slider(*Window, "TimeTrackBar")->sliderPressed();  // a press on the thumb
  EXPECT_FALSE(Window->IsPlaying());
  EXPECT_EQ(Step(), 1);
}

TEST_F(AutoPlay, AMenuStopsItBeforeItsCommand) {
  PlayFromStart();
  Timer->Fire();
  emit Menu(*Window, "ToolMenu")->aboutToShow();
  EXPECT_FALSE(Window->IsPlaying());

  ClickButton(Button(*Window, "PlayBtn"));
  // The command (here its file dialog) finds the replay stopped already.
  class SpyDialogs : public QuietDialogs {
   public:
    MainWindow* Window = nullptr;
    int Runs = 0;
    bool PlayingInDialog = true;
    bool Execute(FileDialog&) override {
      ++Runs;
      PlayingInDialog = Window->IsPlaying();
      return false;
    }
  } spy;
  spy.Window = Window.get();
  MutableState(*Window).Dialogs = &spy;
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveScreenBmpMenu")));
  MutableState(*Window).Dialogs = &Dialogs;
  EXPECT_EQ(spy.Runs, 1);
  EXPECT_FALSE(spy.PlayingInDialog);
  EXPECT_FALSE(Timer->Active);
  EXPECT_EQ(Step(), 1);
}

TEST_F(AutoPlay, LeavingWhilePlayingStopsAndAsksAsBefore) {
  PlayFromStart();
  Timer->Fire();
  Dialogs.Answers.push_back(ModalResult::Cancel);
  EnterDrawMode(*Window);
  EXPECT_FALSE(Window->IsPlaying());
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].text, "ここからえがきなおしますか？");
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
  EXPECT_EQ(Step(), 1);

  ClickButton(Button(*Window, "PlayBtn"));
  Dialogs.Answers.push_back(ModalResult::No);
  EnterEditMode(*Window);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
  EXPECT_FALSE(Timer->Active);
  EXPECT_FALSE(Panel(*Window, "ReplayPanel")->isVisible());
  EXPECT_TRUE(Button(*Window, "UndoStepBtn")->isVisible());
  // A timer that ran out anyway changes nothing outside the view mode.
  Timer->OnTimeout();
  EXPECT_EQ(S().History().Count(), 4);
  EXPECT_EQ(S().WorkMode, WindowMode::Edit);
}

TEST_F(AutoPlay, TheReplayPanelUsesTheToolPanelsRoomWithBigControls) {
  DrawFourSteps();
  EnterPlayMode(*Window);
  ASSERT_TRUE(Panel(*Window, "ReplayPanel")->isVisible());
  EXPECT_EQ(Panel(*Window, "ReplayPanel")->geometry(), Panel(*Window, "DrawPanel")->geometry());
  for (QWidget* w : {static_cast<QWidget*>(Button(*Window, "PlayBtn")), static_cast<QWidget*>(Button(*Window, "SpeedOneBtn")),
                     static_cast<QWidget*>(Button(*Window, "SpeedTwoBtn")), static_cast<QWidget*>(Button(*Window, "SpeedFourBtn")),
                     static_cast<QWidget*>(Button(*Window, "AsDrawnBtn"))}) {
    EXPECT_GE(w->width(), 48) << w->objectName().toStdString();
    EXPECT_GE(w->height(), 48) << w->objectName().toStdString();
    EXPECT_TRUE(Panel(*Window, "ReplayPanel")->rect().contains(w->geometry()));
  }
  EXPECT_EQ(Button(*Window, "SpeedOneBtn")->text(), QString::fromUtf8("1×"));
  EXPECT_EQ(Button(*Window, "AsDrawnBtn")->text(), QString::fromUtf8("かいた\nとおり"));
  // A child reads every caption whole: no Latin words, nothing cut off.
  for (const char* name : {"SpeedOneBtn", "SpeedTwoBtn", "SpeedFourBtn", "AsDrawnBtn"}) {
    const QAbstractButton* b = Button(*Window, name);
    for (QChar c : b->text()) EXPECT_FALSE(c.isLetter() && c.unicode() < 0x80) << name;
    const QRect room = b->contentsRect().adjusted(2, 2, -2, -2);
    EXPECT_TRUE(room.contains(QFontMetrics(b->font()).boundingRect(room, Qt::AlignCenter, b->text()))) << name;
  }
  // The counter sits in the play area's free room, clear of its buttons.
  ASSERT_TRUE(Label(*Window, "StepCountLabel")->isVisible());
  for (QWidget* w : {static_cast<QWidget*>(Button(*Window, "ReverseBtn")), static_cast<QWidget*>(Slider(*Window, "TimeTrackBar"))})
    EXPECT_FALSE(Label(*Window, "StepCountLabel")->geometry().intersects(w->geometry()));
  // Nothing of the view mode lies under the replay panel.
  const QRect panel = Panel(*Window, "ReplayPanel")->geometry();
  for (QWidget* w : {Panel(*Window, "PlayPanel"), Panel(*Window, "SelectBtnPanel"), Panel(*Window, "DrawField")})
    EXPECT_FALSE(panel.intersects(w->geometry())) << w->objectName().toStdString();
  EnterDrawMode(*Window);
  EXPECT_FALSE(Panel(*Window, "ReplayPanel")->isVisible());
}

}  // namespace

namespace {

// The counter shows the whole of both numbers inside its label, however
// long the drawing: from 10,000 steps on it used to lose its last digits.
TEST_F(AutoPlay, TheCounterShowsLongDrawingsWhole) {
  DrawFourSteps();
  for (int32_t count : {10000, 99999, 100000}) {
    while (S().History().Count() < count) Writable(MutableState(*Window)).History.Add().TargetType = ActionKind::SetStamp;
    ASSERT_TRUE(EnterPlayMode(*Window));
    for (int32_t step : {0, 7, count - 1, count}) {
      Slider(*Window, "TimeTrackBar")->setValue(step);
      const QLabel* label = Label(*Window, "StepCountLabel");
      const QString shown = label->text();
      EXPECT_EQ(shown.simplified(), QStringLiteral("%1 / %2").arg(step).arg(count));
      const QRect room = label->contentsRect();
      EXPECT_TRUE(room.contains(QFontMetrics(label->font()).boundingRect(room, label->alignment(), shown)))
          << shown.toStdString() << " in " << room.width() << "x" << room.height();
      EXPECT_GE(label->font().pixelSize(), 10) << shown.toStdString();
    }
    ASSERT_TRUE(EnterDrawMode(*Window));  // at the last step: nothing asked
  }
}

}  // namespace
