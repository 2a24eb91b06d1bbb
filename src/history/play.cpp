#include "history/play.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <vector>

#include "document/paths.h"
#include "history/drawing_write.h"

namespace {

// Records whose live links are set never outlive the figures they name: the
// links are cleared before those figures are freed, so a damaged history
// that names a deleted or cleared figure finds nothing instead of a freed
// one.
void ClearLinks(Action& d) {
  d.TargetFig = nullptr;
  d.TargetItem.reset();
}

struct IdRange {
  int32_t First, Last;  // step numbers, both included
};

// The step a branch at `position` restarts from. A branch can only go back:
// a target at or beyond its own record (a damaged file) is cut to the record
// before it, which also keeps the restart from applying itself again.
int32_t BranchTarget(int32_t targetID, int32_t position) {
  if (targetID < 0) return 0;
  return std::min(targetID, position - 1);
}

// Applying records 1..n to an empty drawing, where every branch empties the
// drawing and re-applies the records before its target, leaves exactly the
// state that the records after the last restart make: the records before a
// restart are wiped out by it. Collects those records as ranges in
// application order (never a branch among them) and tells whether a restart
// happened. Each step is looked at once, so the cost is linear however
// deeply branches nest, where re-applying them one inside another grows
// exponentially with a chain of branches that each go back one step.
bool SurvivingRanges(const HistoryList& history, int32_t n, std::vector<IdRange>& ranges) {
  ranges.clear();
  bool restarted = false;
  while (n > 0) {
    int32_t j = n;
    while (j > 0 && history.At(j).TargetType != ActionKind::Branch) --j;
    if (j == 0) {
      ranges.push_back({1, n});
      break;
    }
    restarted = true;
    if (j < n) ranges.push_back({j + 1, n});
    n = BranchTarget(history.At(j).TargetID, j);
  }
  std::reverse(ranges.begin(), ranges.end());
  return restarted;
}

// One replay of records. Two ways of working:
// - loose (a single ApplyAction): links anywhere in the history may be set,
//   IDs are looked up with FindCreator;
// - clean (after every link of the history was cleared): only the records
//   applied here hold links, so they are remembered and cleared by list, and
//   IDs are looked up in an index built once. Both give the same results.
class Replayer {
 public:
  explicit Replayer(AppState& state) : S(state) {}

  void StartClean() {
    FirstCreator.clear();
    for (Action& a : Writable(S).History) {
      // The first creating record of an ID wins, as with FindCreator.
      if (IsCreatingAction(a.TargetType)) FirstCreator.try_emplace(a.TargetID, &a);
    }
    Linked.clear();
    Clean = true;
  }

  // Applies records 1..n to the drawing emptied by GoToStep or a branch.
  void ApplyFromStart(int32_t n) {
    assert(Clean);
    std::vector<IdRange> ranges;
    // A restart among them empties the background the records before it
    // asked for; everything else it empties is empty already.
    if (SurvivingRanges(Writable(S).History, n, ranges)) Writable(S).BGFileName.clear();
    for (const IdRange& r : ranges)
      for (int32_t k = r.First; k <= r.Last; ++k) Apply(Writable(S).History.At(k));
  }

  // Any record but a branch.
  void Apply(Action& d) {
    ClearLinks(d);
    switch (d.TargetType) {
      case ActionKind::Create:
      case ActionKind::Duplicate:
        Link(d, Writable(S).Figures.Add(d.FigData));
        break;
      case ActionKind::Move:
        if (Action* t = Target(d.TargetID); t != nullptr && t->TargetFig != nullptr) {
          Figure& f = *t->TargetFig;
          f.Offset(WrapSub(d.FigData.Start.X, f.Start.X), WrapSub(d.FigData.Start.Y, f.Start.Y));
        }
        break;
      case ActionKind::Delete:
        if (Action* t = Target(d.TargetID); t != nullptr && t->TargetItem) {
          const FigureList::iterator i = *t->TargetItem;
          Writable(S).DeletedFigures.Add(*i);
          Unlink(*t, &*i);
          Writable(S).Figures.Remove(i);
        }
        break;
      case ActionKind::Undo: {
        // The figure deleted last comes back; the record's own snapshot is
        // not used.
        if (Writable(S).DeletedFigures.IsEmpty()) break;
        Link(d, Writable(S).Figures.Add(Writable(S).DeletedFigures.Last()));
        Writable(S).DeletedFigures.Remove(std::prev(Writable(S).DeletedFigures.end()));
        break;
      }
      case ActionKind::Front:
        if (auto i = TargetItem(d.TargetID)) Writable(S).Figures.MoveFront(*i);
        break;
      case ActionKind::Back:
        if (auto i = TargetItem(d.TargetID)) Writable(S).Figures.MoveBack(*i);
        break;
      case ActionKind::Change:
        if (auto i = TargetItem(d.TargetID)) ApplyChange(d, **i);
        break;
      case ActionKind::ReadBG:
        Writable(S).BGFileName = d.FileName;
        break;
      case ActionKind::ClearBG:
        Writable(S).BGFileName.clear();
        break;
      case ActionKind::ClearAll:
        Writable(S).BGFileName.clear();
        ClearDrawing();
        break;
      case ActionKind::ClearDrawing:
        ClearDrawing();
        break;
      default:  // ActionKind::SetStamp, ActionKind::ReadData, ActionKind::None, ActionKind::Branch (see ApplyBranch), unknown codes
        break;
    }
  }

  // A branch record at step `position`: empty everything, then the state of
  // step TargetID.
  void ApplyBranch(Action& branch, int32_t position) {
    ClearLinks(branch);
    Writable(S).BGFileName.clear();
    ClearAllLinks();
    Writable(S).Figures.Clear();
    Writable(S).DeletedFigures.Clear();
    if (!Clean) StartClean();
    ApplyFromStart(BranchTarget(branch.TargetID, position));
  }

 private:
  AppState& S;
  bool Clean = false;
  std::unordered_map<int32_t, Action*, FigureIdHash> FirstCreator;  // clean: ID -> creating record
  std::vector<Action*> Linked;                                      // clean: records given links

  Action* Target(int32_t id) {
    if (!Clean) return Writable(S).History.FindCreator(id);
    auto it = FirstCreator.find(id);
    return it == FirstCreator.end() ? nullptr : it->second;
  }

  std::optional<FigureList::iterator> TargetItem(int32_t id) {
    Action* t = Target(id);
    return t != nullptr ? t->TargetItem : std::nullopt;
  }

  void Link(Action& record, FigureList::iterator fig) {
    record.TargetItem = fig;
    record.TargetFig = &*fig;
    if (Clean) Linked.push_back(&record);
  }

  // Clears every link that names `fig`, which is about to be freed;
  // `creator` is the record that links to it.
  void Unlink(Action& creator, const Figure* fig) {
    ClearLinks(creator);
    if (Clean) return;  // only the record that created a figure links to it
    for (Action& a : Writable(S).History)
      if (a.TargetFig == fig || (a.TargetItem && &**a.TargetItem == fig)) ClearLinks(a);
  }

  void ClearAllLinks() {
    if (Clean) {
      for (Action* a : Linked) ClearLinks(*a);
      Linked.clear();
      return;
    }
    ForgetLinksAfter(Writable(S).History, 0);
  }

  void ClearDrawing() {
    ClearAllLinks();
    Writable(S).Figures.Clear();
    Writable(S).DeletedFigures.Clear();
  }
};

}  // namespace

void ForgetLinksAfter(HistoryList& history, int32_t step) {
  for (int32_t k = std::max(step, 0) + 1; k <= history.Count(); ++k) ClearLinks(history.At(k));
}

void GoToStep(AppState& S) {
  // Records beyond the step keep no links to the figures freed here.
  ForgetLinksAfter(Writable(S).History, 0);
  Writable(S).Figures.Clear();
  Writable(S).DeletedFigures.Clear();

  Replayer replay(S);
  replay.StartClean();
  assert(Writable(S).CurrentStep >= 0 && Writable(S).CurrentStep <= Writable(S).History.Count() && "CurrentStep must be a step of the history");
  const int32_t step = std::clamp(Writable(S).CurrentStep, 0, Writable(S).History.Count());
  if (step > 0) replay.ApplyFromStart(step);
  Writable(S).ReplayedStep = step;
  ShowReplayedPicture(S);
}

void GoToStep(AppState& S, int32_t step) {
  Writable(S).CurrentStep = step;
  GoToStep(S);
}

void WalkToStep(AppState& S, int32_t step) {
  Writable(S).CurrentStep = step;
  WalkToStep(S);
}

void WalkToStep(AppState& S) {
  const int32_t from = Writable(S).ReplayedStep;
  const int32_t to = Writable(S).CurrentStep;
  if (from < 0 || from > to || to > Writable(S).History.Count()) return GoToStep(S);
  // Records that empty the drawing free figures that records before `from`
  // still link: only a rebuild forgets those links.
  for (int32_t k = from + 1; k <= to; ++k) {
    const ActionKind kind = Writable(S).History.At(k).TargetType;
    if (kind == ActionKind::Branch || kind == ActionKind::ClearDrawing || kind == ActionKind::ClearAll)
      return GoToStep(S);
  }
  // The background of `from` is the one shown; the records may ask for
  // another.
  Writable(S).BGFileName = Writable(S).ShownBGFileName;
  Replayer replay(S);
  // A long walk looks IDs up in an index; a few records find their figures
  // faster by walking the history.
  constexpr int32_t IndexFrom = 32;
  if (to - from > IndexFrom) replay.StartClean();
  for (int32_t k = from + 1; k <= to; ++k) replay.Apply(Writable(S).History.At(k));
  Writable(S).ReplayedStep = to;
  ShowReplayedPicture(S);
}

void ClearToStepZero(AppState& S) {
  ForgetLinksAfter(Writable(S).History, 0);
  Writable(S).Figures.Clear();
  Writable(S).DeletedFigures.Clear();
  Writable(S).BGFileName.clear();
  Writable(S).CurrentStep = 0;
  Writable(S).ReplayedStep = 0;
}

void LoadHistory(AppState& S, HistoryList history) {
  ClearToStepZero(S);  // no link of the old records outlives this
  Writable(S).History = std::move(history);
  ClearToStepZero(S);
}

void ContinueFigureIDs(AppState& S) {
  HistoryList& history = Writable(S).History;
  if (history.Count() > 0) history.NextFigID = WrapAdd(history.NextFigID, 1);
}

void RenamePictures(AppState& S, const std::map<std::string, std::string>& located) {
  if (located.empty()) return;
  for (Action& record : Writable(S).History) {
    if (record.TargetType != ActionKind::ReadBG && record.TargetType != ActionKind::ReadData) continue;
    const auto it = located.find(record.FileName);
    if (it != located.end()) record.FileName = it->second;
  }
}

void LoadAskedBackground(AppState& S) {
  auto& D = Writable(S);
  if (D.BGFileName != D.ShownBGFileName) {
    if (D.BGFileName.empty()) {
      S.Pictures->BlankBGImage();
    } else if (S.Pictures->LoadBGPicture(D.BGFileName) == 1) {
      // Not where it was recorded: look for it by name in the current folder
      // (the drawing may have been moved with its pictures). If it is not
      // there either, the background stays as it was.
      const std::string bare = PathBareName(D.BGFileName);
      if (!bare.empty() && bare != D.BGFileName) S.Pictures->LoadBGPicture(bare);
    }
  }
  // Taken even when the picture was not found, so that the next step does
  // not look for it again.
  D.ShownBGFileName = D.BGFileName;
}

void ShowBlankBackground(AppState& S) {
  S.Pictures->BlankBGImage();
  Writable(S).ShownBGFileName.clear();
}

void ShowReplayedPicture(AppState& S) {
  LoadAskedBackground(S);
  S.Pictures->PaintBoxPaint();
  Writable(S).BGFileName.clear();
}

void ApplyAction(AppState& S, int32_t step) {
  if (step < 1 || step > Writable(S).History.Count()) return;
  Writable(S).ReplayedStep = -1;
  Replayer replay(S);
  Action& record = Writable(S).History.At(step);
  if (record.TargetType == ActionKind::Branch)
    replay.ApplyBranch(record, step);
  else
    replay.Apply(record);
}

void ApplyChange(const Action& change, Figure& f) {
  const Figure& r = change.FigData;
  switch (change.Parameter) {
    case ParameterKind::Size:
      f.TextSize = r.TextSize;
      f.Start = r.Start;
      f.End = r.End;
      if (IsPointFigure(f.DrawingTool)) {
        // Resizing moves vertices and never adds any, so both lists hold the
        // same number; a damaged file may not, and only the common ones are
        // copied.
        Vertex& to = f.PointData;
        const Vertex& from = r.PointData;
        const size_t n = std::min(to.Points.size(), from.Points.size());
        std::copy(from.Points.begin(), from.Points.begin() + n, to.Points.begin());
        to.MinX = from.MinX;
        to.MinY = from.MinY;
        to.MaxX = from.MaxX;
        to.MaxY = from.MaxY;
      } else if (f.DrawingTool == ToolKind::Stamp) {
        f.StampData.clear();
        for (const Figure& s : r.StampData) f.StampData.push_back(StoredCopy(s));
      }
      break;
    case ParameterKind::BodyColor:
      f.BrushColor = r.BrushColor;
      break;
    case ParameterKind::LineWidth:
      f.PenWidth = r.PenWidth;
      break;
    case ParameterKind::LineColor:
      f.PenColor = r.PenColor;
      break;
    case ParameterKind::Text:
      f.Text = r.Text;
      f.Start = r.Start;
      f.End = r.End;
      break;
    case ParameterKind::TextColor:
      f.TextColor = r.TextColor;
      break;
    default:
      break;
  }
}

struct ForwardReplay::Impl {
  AppState& S;
  Replayer Replay;
  explicit Impl(AppState& state) : S(state), Replay(state) {}
};

ForwardReplay::ForwardReplay(AppState& S) : F(std::make_unique<Impl>(S)) {
  ForgetLinksAfter(Writable(S).History, 0);
  Writable(S).Figures.Clear();
  Writable(S).DeletedFigures.Clear();
  Writable(S).BGFileName.clear();
  Writable(S).CurrentStep = 0;
  F->Replay.StartClean();
}

ForwardReplay::~ForwardReplay() = default;

bool ForwardReplay::Next() {
  AppState& S = F->S;
  if (Writable(S).CurrentStep >= Writable(S).History.Count()) return false;
  const int32_t step = ++Writable(S).CurrentStep;
  Action& record = Writable(S).History.At(step);
  if (record.TargetType == ActionKind::Branch)
    F->Replay.ApplyBranch(record, step);
  else
    F->Replay.Apply(record);
  return true;
}

int32_t ForwardReplay::Step() const { return Writable(F->S).CurrentStep; }
