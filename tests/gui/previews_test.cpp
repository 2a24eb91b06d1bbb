// A drag and a slider resize are shown before they are recorded: while they
// last the drawing holds exactly what its history makes, the screen shows the
// figure as it would become, and one action records each of them, at the
// release or at whatever command comes next.
#include <QSlider>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "history/play.h"
#include "support/window_fixture.h"

namespace {

class Previews : public WindowTest {
 protected:
  void H(int p) { Slider(*Window, "HTrackBar")->setValue(p); }
  void V(int q) { Slider(*Window, "VTrackBar")->setValue(q); }

  // The drawing's figures, in order.
  std::vector<Figure> Drawn() const {
    std::vector<Figure> figs;
    for (const Figure& f : S().Figures()) figs.push_back(f);
    return figs;
  }
  // The figures a replay of the window's records makes at the step shown.
  std::vector<Figure> Replayed() const {
    HistoryList records;
    for (const Action& a : S().History()) {
      Action& b = records.Add(a.FigData);
      b.TargetType = a.TargetType;
      b.TargetID = a.TargetID;
      b.Parameter = a.Parameter;
      b.FileName = a.FileName;
    }
    AppState r;
    LoadHistory(r, std::move(records));
    GoToStep(r, S().CurrentStep());
    std::vector<Figure> figs;
    for (const Figure& f : r.Figures()) figs.push_back(f);
    return figs;
  }
  int SizeRecords() const {
    int n = 0;
    for (const Action& a : S().History())
      n += a.TargetType == ActionKind::Change && a.Parameter == ParameterKind::Size;
    return n;
  }
  // A rectangle 100 × 50 at (100, 100), selected in the edit mode.
  void DrawAndSelect() {
    DrawRect(*Window, {100, 100}, {200, 150});
    EnterEditMode(*Window);
    CanvasClick(*Window, 150, 125);
    ASSERT_NE(S().SelectedFig, nullptr);
  }
};

TEST_F(Previews, ADragShowsTheFigureMovingWhileTheDrawingKeepsItsHistory) {
  DrawAndSelect();
  CanvasPress(*Window, 150, 125);
  CanvasMove(*Window, 200, 150);
  CanvasMove(*Window, 250, 185);
  EXPECT_EQ(Drawn(), Replayed());
  EXPECT_EQ(S().Figures().First().Start, (Point{100, 100}));
  EXPECT_EQ(S().Shown(S().Figures().First()).Start, (Point{200, 160}));
  // On the screen: the left edge at its new place, nothing at the old one.
  EXPECT_EQ(CanvasPixel(*Window, 201, 185), 0x000000u);
  EXPECT_EQ(CanvasPixel(*Window, 101, 125), 0xFFFFFFu);
  EXPECT_EQ(S().History().Count(), 1);

  CanvasRelease(*Window, 250, 185);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move}));
  EXPECT_EQ(S().Figures().First().Start, (Point{200, 160}));
  EXPECT_EQ(S().Preview.Kind, PreviewKind::None);
  EXPECT_EQ(Drawn(), Replayed());
  EXPECT_EQ(CanvasPixel(*Window, 201, 185), 0x000000u);
}

TEST_F(Previews, ASliderResizeShowsTheNewSizeWhileTheDrawingKeepsItsHistory) {
  DrawAndSelect();
  H(10);
  V(-20);  // 90 … 210 wide, 120 … 130 high
  EXPECT_EQ(Drawn(), Replayed());
  EXPECT_EQ(S().Figures().First().End, (Point{200, 150}));
  EXPECT_EQ(S().Shown(*S().SelectedFig).End, (Point{210, 130}));
  EXPECT_EQ(CanvasPixel(*Window, 91, 125), 0x000000u);
  EXPECT_EQ(CanvasPixel(*Window, 101, 110), 0xFFFFFFu);  // the recorded size is not drawn
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(Previews, EachKindOfNextCommandRecordsTheResizeOnce) {
  const std::vector<std::pair<std::string, std::function<void()>>> commands = {
      {"an edit command", [&] { ClickButton(Button(*Window, "ThickBtn")); }},
      {"a copy", [&] { ClickButton(Button(*Window, "DupBtn")); }},
      {"the draw mode", [&] { EnterDrawMode(*Window); }},
      {"the view mode", [&] { EnterPlayMode(*Window); }},
      {"the mouse moving on", [&] { CanvasMove(*Window, 400, 400, false); }},
      {"a press elsewhere", [&] { CanvasClick(*Window, 400, 400); CanvasMove(*Window, 401, 400, false); }},
      {"undo", [&] { ClickButton(Button(*Window, "UndoStepBtn")); }},
  };
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    // A fresh window for each command.
    TearDown();
    SetUp();
    DrawAndSelect();
    for (int p = 1; p <= 12; ++p) H(p);
    V(4);
    ASSERT_EQ(SizeRecords(), 0);
    command();
    EXPECT_EQ(SizeRecords(), 1);
    const Action& size = S().History().At(2);
    EXPECT_EQ(size.Parameter, ParameterKind::Size);
    EXPECT_EQ(size.FigData.Start, (Point{88, 96}));
    EXPECT_EQ(size.FigData.End, (Point{212, 154}));
    EXPECT_FALSE(S().ResizePending());
    EXPECT_EQ(Drawn(), Replayed());
    if (S().WorkMode == WindowMode::Edit) {
      CanvasMove(*Window, 300, 300, false);
      EXPECT_EQ(SizeRecords(), 1) << "recorded twice";
    }
  }
}

TEST_F(Previews, ADragIsOneMoveWhetherTheReleaseOrACommandEndsIt) {
  DrawAndSelect();
  // A mode change in the middle of the drag records it where it was.
  CanvasPress(*Window, 150, 125);
  CanvasMove(*Window, 160, 125);
  CanvasMove(*Window, 170, 125);
  EnterDrawMode(*Window);
  CanvasRelease(*Window, 180, 125);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move}));
  EXPECT_EQ(S().Figures().First().Start, (Point{120, 100}));

  // An edit command in the middle of the drag: the move, then the command;
  // the drag ends there and its release adds nothing.
  EnterEditMode(*Window);
  CanvasClick(*Window, 150, 125);
  CanvasPress(*Window, 150, 125);
  CanvasMove(*Window, 150, 135);
  ClickButton(Button(*Window, "ThickBtn"));
  CanvasMove(*Window, 150, 175);
  CanvasRelease(*Window, 150, 175);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Move, ActionKind::Move,
                                                       ActionKind::Change}));
  EXPECT_EQ(S().Figures().First().Start, (Point{120, 110}));
  EXPECT_EQ(S().History().Last().Parameter, ParameterKind::LineWidth);
  EXPECT_EQ(Drawn(), Replayed());
}

TEST_F(Previews, ADragThatEndsWhereItStartedRecordsNothingAndShowsTheFigureInPlace) {
  DrawAndSelect();
  const std::vector<Figure> before = Drawn();
  CanvasPress(*Window, 150, 125);
  CanvasRelease(*Window, 150, 125);
  // Away and back.
  CanvasPress(*Window, 150, 125);
  CanvasMove(*Window, 190, 145);
  CanvasMove(*Window, 150, 125);
  CanvasRelease(*Window, 150, 125);
  // Away, and released at the press without a move back.
  CanvasPress(*Window, 150, 125);
  CanvasMove(*Window, 190, 145);
  CanvasRelease(*Window, 150, 125);
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(Drawn(), before);
  EXPECT_EQ(S().Preview.Kind, PreviewKind::None);
  EXPECT_EQ(CanvasPixel(*Window, 101, 125), 0x000000u);
  EXPECT_EQ(CanvasPixel(*Window, 141, 125), 0xFFFFFFu);
}

TEST_F(Previews, UndoRightAfterACommittedResizeBringsTheSizeBack) {
  DrawAndSelect();
  H(30);
  EnterDrawMode(*Window);
  ASSERT_EQ(SizeRecords(), 1);
  ASSERT_EQ(S().Figures().First().Start, (Point{70, 100}));
  ClickButton(Button(*Window, "UndoStepBtn"));
  EXPECT_EQ(S().Figures().First().Start, (Point{100, 100}));
  EXPECT_EQ(S().Figures().First().End, (Point{200, 150}));
  EXPECT_EQ(Drawn(), Replayed());
  EXPECT_EQ(CanvasPixel(*Window, 71, 125), 0xFFFFFFu);
  EXPECT_EQ(CanvasPixel(*Window, 101, 125), 0x000000u);
}

}  // namespace
