// Random editing sessions through the same actions the window's commands
// use (drags and slider resizes change the figure first, as on screen).
// Afterwards every recorded step, rebuilt
// from the history, must equal the drawing the user saw at that moment,
// through deletions, undos, clears, pending resizes, reloads and branches
// inside branches.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>

#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "support/random_actions.h"
#include "support/drawing_door.h"

namespace {

std::string Describe(const FigureList& list);

std::string Describe(const Figure& f) {
  std::string s = std::to_string(static_cast<int>(f.DrawingTool)) + ":" + f.Text + "@" + std::to_string(f.Start.X) + "," +
                  std::to_string(f.Start.Y) + "-" + std::to_string(f.End.X) + "," + std::to_string(f.End.Y) +
                  " w" + std::to_string(f.PenWidth) + " c" + std::to_string(f.PenColor) + " s" +
                  std::to_string(f.TextSize);
  for (int32_t k = 0; k < f.PointData.Count(); ++k)
      s += " " + std::to_string(f.PointData.Points[k].X) + "/" + std::to_string(f.PointData.Points[k].Y);
  if (f.DrawingTool == ToolKind::Stamp) {
    s += " {";
    for (const Figure& g : f.StampData) s += Describe(g) + "; ";
    s += "}";
  }
  return s;
}

std::string Describe(const FigureList& list) {
  std::string s;
  for (const Figure& f : list) s += Describe(f) + "; ";
  return s;
}

class Session {
 public:
  AppState S;
  std::map<int32_t, std::string> Seen;  // step -> the drawing after it
  std::mt19937 Rng;

  explicit Session(unsigned seed) : Rng(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }

  Figure* Select() {
    const int32_t n = S.Figures().Count();
    if (n == 0) return S.SelectedFig = S.MarkedFig = nullptr;
    return S.SelectedFig = S.MarkedFig = &Writable(S).Figures.At(Pick(n));  // framed, as a click does
  }

  void Flush() {
    if (S.ResizePending()) CommitPreview(S);
  }

  void Draw() {
    Figure f;
    f.Start = {Pick(600), Pick(400)};
    f.End = {f.Start.X + 1 + Pick(80), f.Start.Y + 1 + Pick(80)};
    f.PenWidth = 1 + Pick(6);
    f.Text = std::string(1, static_cast<char>('a' + Pick(26)));
    Vertex pts;
    std::vector<Figure> contents;
    switch (Pick(3)) {
      case 0: f.DrawingTool = ToolKind::Rectangle; break;
      case 1:
        f.DrawingTool = ToolKind::Polyline;
        for (int k = 0; k < 3; ++k) pts.AddPoint(Pick(600), Pick(400));
        f.PointData = pts;
        f.SetBoundsFromPoints();
        break;
      default:
        f.DrawingTool = ToolKind::Stamp;
        contents.push_back(Figure{ToolKind::Ellipse, 1, 0, 0, 0, 0, 0, "in", {0, 0}, {9, 9}, {}, {}});
        f.StampData = contents;
    }
    CreateFigure(S, f);
  }

  void Change(ParameterKind parameter, const std::function<void(Figure&)>& edit) {
    Figure changed = *S.SelectedFig;
    edit(changed);
    ChangeSelected(S, parameter, changed);
  }

  void Step() {
    Figure* sel = Select();
    const int op = Pick(14);
    if (sel == nullptr && op <= 9) return Draw();
    switch (op) {
      case 0: case 1: return Draw();
      case 2:
        DragSelected(S, 1 + Pick(20), -Pick(20));
        return RecordMoveOfSelected(S);
      case 3: DuplicateSelected(S); return;
      case 4: DeleteSelected(S); return;
      case 5: MoveSelectedFront(S); return;
      case 6: MoveSelectedBack(S); return;
      case 7: return Change(ParameterKind::LineWidth, [](Figure& f) { f.PenWidth += 2; });
      case 8:  // text boxes only; figures with vertices take their box from them
        if (IsPointFigure(sel->DrawingTool)) return;
        return Change(ParameterKind::Text, [](Figure& f) {
          f.Text += "x";
          f.End.X += 8;
        });
      case 9:  // trackbar resize: recorded by the next command
        if (IsPointFigure(sel->DrawingTool)) return;
        if (S.Preview.Of != sel) CommitPreview(S);
        if (!S.ResizePending()) S.Preview = FigurePreview{PreviewKind::Resize, sel, *sel};
        S.Preview.Fig.End.X = S.Preview.Fig.Start.X + Pick(100);
        return;
      case 10: RestoreDeleted(S); return;
      case 11:
        if (Pick(4) != 0) return;
        return ClearDrawing(S, ActionKind::ClearDrawing);
      case 12: {  // the view mode, left at an earlier step: draw on from there
        const int32_t n = S.History().Count();
        if (n == 0) return;
        BranchTo(S, Pick(n));
        GoToStep(S);
        return;
      }
      default:  // the drawing saved and loaded again
        Flush();
        GoToStep(S, S.History().Count());
        S.SelectedFig = S.MarkedFig = nullptr;
        return;
    }
  }

  std::string Now() const { return Describe(S.Figures()) + "| " + Describe(S.DeletedFigures()); }
};

// Branches whose restart range holds an earlier branch.
int NestedBranches(const HistoryList& h) {
  int nested = 0, step = 0, firstBranch = 0;
  for (const Action& a : h) {
    ++step;
    if (a.TargetType != ActionKind::Branch) continue;
    if (firstBranch != 0 && a.TargetID >= firstBranch) ++nested;
    if (firstBranch == 0) firstBranch = step;
  }
  return nested;
}

TEST(ReplaySession, EveryStepRebuildsWhatWasShown) {
  int nested = 0;
  for (unsigned seed = 1; seed <= 24; ++seed) {
    Session t(seed);
    for (int k = 0; k < 250; ++k) {
      t.Step();
      ExpectSoundSelection(t.S, "seed " + std::to_string(seed) + ", step " + std::to_string(k));
      if (!t.S.ResizePending()) t.Seen[t.S.History().Count()] = t.Now();
    }
    ASSERT_GT(t.Seen.size(), 100u);
    nested += NestedBranches(t.S.History());
    for (const auto& [step, seen] : t.Seen) {
      GoToStep(t.S, step);
      ASSERT_EQ(t.Now(), seen) << "seed " << seed << ", step " << step;
    }
  }
  EXPECT_GT(nested, 24);
}

}  // namespace
