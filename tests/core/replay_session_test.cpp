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
#include "support/builders.h"

namespace {

// The commands of a session, each picked at random: the figures come from
// RandomSession, the mix (pending resizes, reloads) is this test's own.
struct Shown {
  std::vector<Figure> Drawn, Deleted;
};

class Session {
 public:
  AppState S;
  RandomSession R;
  std::map<int32_t, Shown> Seen;  // step -> the drawing after it

  explicit Session(unsigned seed) : R(S, seed) {}

  void Change(ParameterKind parameter, const std::function<void(Figure&)>& edit) {
    Figure changed = *S.SelectedFig;
    edit(changed);
    ChangeSelected(S, parameter, changed);
  }

  void Step() {
    Figure* sel = R.Select();
    const int op = R.Pick(14);
    if (sel == nullptr && op <= 9) {
      R.Create();
      return;
    }
    switch (op) {
      case 0: case 1: R.Create(); return;
      case 2:
        DragSelected(S, 1 + R.Pick(20), -R.Pick(20));
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
        S.Preview.Fig.End.X = S.Preview.Fig.Start.X + R.Pick(100);
        return;
      case 10: RestoreDeleted(S); return;
      case 11:
        if (R.Pick(4) != 0) return;
        return ClearDrawing(S, ActionKind::ClearDrawing);
      case 12: {  // the view mode, left at an earlier step: draw on from there
        const int32_t n = S.History().Count();
        if (n == 0) return;
        BranchTo(S, R.Pick(n));
        GoToStep(S);
        return;
      }
      default:  // the drawing saved and loaded again
        if (S.ResizePending()) CommitPreview(S);
        GoToStep(S, S.History().Count());
        S.SelectedFig = S.MarkedFig = nullptr;
        return;
    }
  }

  Shown Now() const { return {listed(S.Figures()), listed(S.DeletedFigures())}; }
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
      ASSERT_EQ(t.Now().Drawn, seen.Drawn) << "seed " << seed << ", step " << step;
      ASSERT_EQ(t.Now().Deleted, seen.Deleted) << "seed " << seed << ", step " << step;
    }
  }
  EXPECT_GT(nested, 24);
}

}  // namespace
