#include "history/play.h"

#include <algorithm>
#include <cassert>
#include <unordered_map>
#include <vector>

namespace {

// Records whose live links are set never outlive the figures they name: the
// links are cleared before those figures are freed, so a damaged history
// that names a deleted or cleared figure finds nothing instead of a freed
// item.
void ClearLinks(Action& d) {
  d.TargetFig = nullptr;
  d.TargetItem = nullptr;
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
bool SurvivingRanges(const std::vector<HistoryItem*>& steps, int32_t n, std::vector<IdRange>& ranges) {
  ranges.clear();
  bool restarted = false;
  while (n > 0) {
    int32_t j = n;
    while (j > 0 && steps[j]->Data.TargetType != ActionKind::Branch) --j;
    if (j == 0) {
      ranges.push_back({1, n});
      break;
    }
    restarted = true;
    if (j < n) ranges.push_back({j + 1, n});
    n = BranchTarget(steps[j]->Data.TargetID, j);
  }
  std::reverse(ranges.begin(), ranges.end());
  return restarted;
}

// One replay of records. Two ways of working:
// - loose (a single ApplyAction): links anywhere in the history may be set,
//   IDs are looked up with FindFigureItem;
// - clean (after every link of the history was cleared): only the records
//   applied here hold links, so they are remembered and cleared by list, and
//   IDs are looked up in an index built once. Both give the same results.
class Replayer {
 public:
  explicit Replayer(AppState& state) : S(state) {}

  void StartClean() {
    Steps.clear();
    FirstCreator.clear();
    for (HistoryItem* a = S.History.Head; a != nullptr; a = a->Next) {
      Steps.push_back(a);
      // The first creating record of an ID wins, as with FindFigureItem.
      if (a != S.History.Head && IsCreatingAction(a->Data.TargetType))
        FirstCreator.try_emplace(a->Data.TargetID, a);
    }
    Linked.clear();
    Clean = true;
  }

  // Step number of `item` among the steps of StartClean; -1 if absent.
  int32_t StepOf(const HistoryItem* item) const {
    auto it = std::find(Steps.begin(), Steps.end(), item);
    return it == Steps.end() ? -1 : static_cast<int32_t>(it - Steps.begin());
  }

  // Applies records 1..n to the drawing emptied by GoToStep or a branch.
  void ApplyFromStart(int32_t n) {
    assert(Clean);
    std::vector<IdRange> ranges;
    // A restart among them empties the background the records before it
    // asked for; everything else it empties is empty already.
    if (SurvivingRanges(Steps, n, ranges)) S.BGFileName.clear();
    for (const IdRange& r : ranges)
      for (int32_t k = r.First; k <= r.Last; ++k) Apply(Steps[k]);
  }

  // Any record but a branch.
  void Apply(HistoryItem* item) {
    Action& d = item->Data;
    ClearLinks(d);
    switch (d.TargetType) {
      case ActionKind::Create:
      case ActionKind::Duplicate:
        Link(item, S.DrawingFigs.AddFig(d.FigData));
        break;
      case ActionKind::Move:
        if (HistoryItem* t = Target(d.TargetID); t != nullptr && t->Data.TargetFig != nullptr) {
          Figure& f = *t->Data.TargetFig;
          f.Offset(WrapSub(d.FigData.Start.X, f.Start.X), WrapSub(d.FigData.Start.Y, f.Start.Y));
        }
        break;
      case ActionKind::Delete:
        if (HistoryItem* t = Target(d.TargetID); t != nullptr && t->Data.TargetItem != nullptr) {
          FigureItem* i = t->Data.TargetItem;
          S.DeletedFigs.AddFig(i->Data);
          Unlink(t, i);
          S.DrawingFigs.RemoveFig(i);
        }
        break;
      case ActionKind::Undo: {
        // The figure deleted last comes back; the record's own snapshot is
        // not used.
        FigureItem* deleted = S.DeletedFigs.GetTail();
        if (deleted == S.DeletedFigs.GetHead()) break;
        Link(item, S.DrawingFigs.AddFig(deleted->Data));
        S.DeletedFigs.RemoveFig(deleted);
        break;
      }
      case ActionKind::Front:
        if (FigureItem* i = TargetItem(d.TargetID)) S.DrawingFigs.MoveFigFront(i);
        break;
      case ActionKind::Back:
        if (FigureItem* i = TargetItem(d.TargetID)) S.DrawingFigs.MoveFigBack(i);
        break;
      case ActionKind::Change:
        if (FigureItem* i = TargetItem(d.TargetID)) ApplyChange(item, i);
        break;
      case ActionKind::ReadBG:
        S.BGFileName = d.FileName;
        break;
      case ActionKind::ClearBG:
        S.BGFileName.clear();
        break;
      case ActionKind::ClearAll:
        S.BGFileName.clear();
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
  void ApplyBranch(HistoryItem* item, int32_t position) {
    ClearLinks(item->Data);
    S.BGFileName.clear();
    ClearAllLinks();
    S.DrawingFigs.ClearFigs();
    S.DeletedFigs.ClearFigs();
    if (!Clean) StartClean();
    if (position < 0) position = S.History.Count() + 1;  // not in the history: all records are before it
    ApplyFromStart(BranchTarget(item->Data.TargetID, position));
  }

 private:
  AppState& S;
  bool Clean = false;
  std::vector<HistoryItem*> Steps;                        // clean: Steps[k] is step k
  std::unordered_map<int32_t, HistoryItem*, FigureIdHash> FirstCreator;  // clean: ID -> creating record
  std::vector<HistoryItem*> Linked;                       // clean: records given links

  HistoryItem* Target(int32_t id) const {
    if (!Clean) return S.History.FindFigureItem(id);
    auto it = FirstCreator.find(id);
    return it == FirstCreator.end() ? nullptr : it->second;
  }

  FigureItem* TargetItem(int32_t id) const {
    HistoryItem* t = Target(id);
    return t != nullptr ? t->Data.TargetItem : nullptr;
  }

  void Link(HistoryItem* item, FigureItem* fig) {
    item->Data.TargetItem = fig;
    item->Data.TargetFig = &fig->Data;
    if (Clean) Linked.push_back(item);
  }

  // Clears every link that names `fig`, which is about to be freed;
  // `creator` is the record that links to it.
  void Unlink(HistoryItem* creator, FigureItem* fig) {
    ClearLinks(creator->Data);
    if (Clean) return;  // only the record that created a figure links to it
    for (HistoryItem* a = S.History.Head->Next; a != nullptr; a = a->Next)
      if (a->Data.TargetItem == fig || a->Data.TargetFig == &fig->Data) ClearLinks(a->Data);
  }

  void ClearAllLinks() {
    if (Clean) {
      for (HistoryItem* a : Linked) ClearLinks(a->Data);
      Linked.clear();
      return;
    }
    ForgetLinksAfter(S.History.Head);
  }

  void ClearDrawing() {
    ClearAllLinks();
    S.DrawingFigs.ClearFigs();
    S.DeletedFigs.ClearFigs();
  }
};

// The last path component: what follows the last '/' or '\'.
std::string BareFileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ForgetLinksAfter(HistoryItem* item) {
  if (item == nullptr) return;
  for (HistoryItem* a = item->Next; a != nullptr; a = a->Next) ClearLinks(a->Data);
}

void GoToStep(AppState& S) {
  // Records beyond the step keep no links to the figures freed here.
  ForgetLinksAfter(S.History.Head);
  S.DrawingFigs.ClearFigs();
  S.DeletedFigs.ClearFigs();

  Replayer replay(S);
  replay.StartClean();
  const int32_t step = replay.StepOf(S.CurrentStep);
  assert(step >= 0 && "CurrentStep must be an item of the history");
  if (step > 0) replay.ApplyFromStart(step);

  if (S.BGFileName != S.ShownBGFileName) {
    if (S.BGFileName.empty()) {
      S.Pictures->BlankBGImage();
    } else if (S.Pictures->LoadBGPicture(S.BGFileName) == 1) {
      // Not where it was recorded: look for it by name in the current folder
      // (the drawing may have been moved with its pictures). If it is not
      // there either, the background stays as it was.
      const std::string bare = BareFileName(S.BGFileName);
      if (!bare.empty() && bare != S.BGFileName) S.Pictures->LoadBGPicture(bare);
    }
  }
  S.Pictures->PaintBoxPaint();
  // Taken even when the picture was not found, so that the next step does
  // not look for it again.
  S.ShownBGFileName = S.BGFileName;
  S.BGFileName.clear();
}

void ApplyAction(AppState& S, HistoryItem* item) {
  if (item == nullptr) return;
  Replayer replay(S);
  if (item->Data.TargetType == ActionKind::Branch)
    replay.ApplyBranch(item, S.History.StepOf(item));
  else
    replay.Apply(item);
}

void ApplyChange(HistoryItem* item, FigureItem* target) {
  if (item == nullptr || target == nullptr) return;
  const Figure& r = item->Data.FigData;
  Figure& f = target->Data;
  switch (item->Data.Parameter) {
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
