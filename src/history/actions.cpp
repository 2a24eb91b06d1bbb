#include "history/actions.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "document/hit_test.h"
#include "history/drawing_write.h"
#include "history/play.h"
#include "history/savehistory.h"

namespace {

// The ID of `fig`, taken from the latest record before the last one that
// points at it (its creating record, or a later move or change of it, all
// with the same ID). A figure that no record knows, which only a damaged
// history allows, gets 0: such a record names no figure and replay skips it.
int32_t FigureID(const AppState& S, const Figure* fig) {
  const Action* found = S.History().FindLatestFor(fig, S.History().Count() - 1);
  return found != nullptr ? found->TargetID : 0;
}

// A new record of `kind` at the end, with a deep copy of `snapshot` when
// there is one.
Action& Append(AppState& S, ActionKind kind, const Figure* snapshot = nullptr) {
  Action& a = snapshot != nullptr ? Writable(S).History.Add(*snapshot) : Writable(S).History.Add();
  a.TargetType = kind;
  return a;
}

// The smallest positive ID that no record names (a branch names a step).
int32_t SmallestUnusedID(const HistoryList& history) {
  std::vector<int32_t> used;
  for (const Action& a : history)
    if (a.TargetType != ActionKind::Branch && a.TargetID > 0) used.push_back(a.TargetID);
  std::sort(used.begin(), used.end());
  int32_t id = 1;
  for (int32_t u : used) {
    if (u > id) break;
    if (u == id) ++id;  // used.size() < MaxFigureID: never past the bound
  }
  return id;
}

// The next figure ID, never one the drawing already has. A file may have
// raised the counter to the largest ID: then the free IDs below are used,
// and the counter never wraps.
int32_t TakeFigureID(AppState& S) {
  const int32_t id = Writable(S).History.NextFigID;
  if (id < 1 || id > MaxFigureID) {
    Writable(S).History.NextFigID = MaxFigureID + 1;
    return SmallestUnusedID(Writable(S).History);
  }
  Writable(S).History.NextFigID = id + 1;
  return id;
}

// Applies the record just appended, exactly as replay applies it, and
// records it. `live` is the figure the record acted on: later records find
// the figure's ID through it, and a resize compares against its snapshot.
void Perform(AppState& S, Action& a, Figure* live = nullptr) {
  const int32_t step = Writable(S).History.Count();
  ApplyAction(S, step);
  if (live != nullptr) a.TargetFig = live;
  Writable(S).CurrentStep = step;  // the drawing now shows the state after it
  FinishRecord(S, a);
}

// The figure a creating record put on the canvas.
Figure* Created(const Action& a) { return a.TargetItem ? &**a.TargetItem : nullptr; }

}  // namespace

Figure* FrontFigureAt(AppState& S, Point p) {
  FigureList& figures = Writable(S).Figures;
  for (auto f = figures.rbegin(); f != figures.rend(); ++f) {
    const Figure& shown = S.Shown(*f);  // a figure being resized is hit where it shows
    if (HitTest(shown.Start, shown.End, p)) return &*f;
  }
  return nullptr;
}

namespace {

// A record of the move of `fig` to where `snapshot` has it (no snapshot: a
// record naming no figure, as for a move with nothing selected).
void RecordMove(AppState& S, Figure* fig, const Figure* snapshot) {
  Action& a = Append(S, ActionKind::Move, snapshot);
  a.TargetID = fig != nullptr ? FigureID(S, fig) : 0;
  Perform(S, a, fig);
}

// A slider resize: width and height against the figure's latest snapshot; a
// figure brought back to its recorded size counts as unchanged. With no
// snapshot at all the resize is recorded, naming no figure.
void CommitResize(AppState& S, Figure* of, const Figure& resized) {
  const Action* p = S.History().FindLatestFor(of, S.History().Count());
  bool changed = true;
  if (p != nullptr) {
    const Figure& q = p->FigData;
    changed = WrapSub(q.Start.X, resized.Start.X) != WrapSub(q.End.X, resized.End.X) ||
              WrapSub(q.Start.Y, resized.Start.Y) != WrapSub(q.End.Y, resized.End.Y);
  }
  if (!changed) return;
  const int32_t id = p != nullptr ? p->TargetID : 0;
  Action& a = Append(S, ActionKind::Change, &resized);
  a.Parameter = ParameterKind::Size;
  a.TargetID = id;
  Perform(S, a, of);
}

}  // namespace

void CommitPreview(AppState& S) {
  if (S.Preview.Kind == PreviewKind::None) return;
  // Taken out first: the session holds no preview while its record is
  // applied, and none after it.
  FigurePreview preview = std::move(S.Preview);
  S.Preview = FigurePreview{};
  S.StampReference = nullptr;
  if (preview.Of == nullptr) return;
  if (preview.Kind == PreviewKind::Resize)
    CommitResize(S, preview.Of, preview.Fig);
  else if (preview.Fig != *preview.Of)
    RecordMove(S, preview.Of, &preview.Fig);
}

void DragSelected(AppState& S, int32_t dx, int32_t dy) {
  Figure* fig = S.SelectedFig;
  if (fig == nullptr) return;
  if (S.Preview.Kind != PreviewKind::Move || S.Preview.Of != fig) {
    CommitPreview(S);
    S.Preview = FigurePreview{PreviewKind::Move, fig, *fig};
  }
  S.Preview.Fig.Offset(dx, dy);
}

bool DropDrag(AppState& S) {
  if (S.Preview.Kind != PreviewKind::Move) return false;
  S.Preview = FigurePreview{};
  return true;
}

Figure* CreateFigure(AppState& S, const Figure& fig) {
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Create, &fig);
  a.TargetID = TakeFigureID(S);
  Perform(S, a);
  return Created(a);
}

Figure* DuplicateSelected(AppState& S) {
  if (S.SelectedFig == nullptr) return nullptr;
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Duplicate, S.SelectedFig);
  a.FigData.Offset(20, 20);
  a.TargetID = TakeFigureID(S);
  Perform(S, a);
  S.SelectedFig = S.MarkedFig = Created(a);
  return Created(a);
}

bool DeleteSelected(AppState& S) {
  Figure* victim = S.SelectedFig;
  if (victim == nullptr) return false;
  // The pending resize may be of the figure about to go: recorded first.
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Delete);
  a.TargetID = FigureID(S, victim);
  S.SelectedFig = S.MarkedFig = nullptr;
  Perform(S, a);
  return true;
}

Figure* RestoreDeleted(AppState& S) {
  if (Writable(S).DeletedFigures.IsEmpty()) return nullptr;
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Undo, &Writable(S).DeletedFigures.Last());
  a.TargetID = TakeFigureID(S);
  Perform(S, a);
  return Created(a);
}

bool MoveSelectedFront(AppState& S) {
  Figure* f = S.SelectedFig;
  if (f == nullptr || Writable(S).Figures.IsEmpty() || f == &Writable(S).Figures.Last()) return false;
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Front);
  a.TargetID = FigureID(S, f);
  Perform(S, a);
  return true;
}

bool MoveSelectedBack(AppState& S) {
  Figure* f = S.SelectedFig;
  if (f == nullptr || Writable(S).Figures.IsEmpty() || f == &Writable(S).Figures.First()) return false;
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Back);
  a.TargetID = FigureID(S, f);
  Perform(S, a);
  return true;
}

void RecordMoveOfSelected(AppState& S) {
  Figure* fig = S.SelectedFig;
  std::optional<Figure> dragged;
  if (fig != nullptr && S.Preview.Kind == PreviewKind::Move && S.Preview.Of == fig) {
    dragged = std::move(S.Preview.Fig);
    S.Preview = FigurePreview{};
  }
  CommitPreview(S);  // a resize shown before the drag is a record of its own
  RecordMove(S, fig, dragged ? &*dragged : fig);
}

bool ChangeSelected(AppState& S, ParameterKind parameter, const Figure& changed) {
  Figure* fig = S.SelectedFig;
  if (fig == nullptr) return false;
  // Recorded while the figure still has its old attributes.
  CommitPreview(S);
  Action& a = Append(S, ActionKind::Change, &changed);
  a.Parameter = parameter;
  a.TargetID = FigureID(S, fig);
  Perform(S, a, fig);
  return true;
}

void SetBackground(AppState& S, const std::string& path) {
  CommitPreview(S);
  Action& a = Append(S, ActionKind::ReadBG);
  a.FileName = path;
  Perform(S, a);
  // The picture side shows it already, as after a rebuild.
  Writable(S).ShownBGFileName = Writable(S).BGFileName;
  Writable(S).BGFileName.clear();
}

void ClearDrawing(AppState& S, ActionKind kind) {
  CommitPreview(S);
  if (kind != ActionKind::ClearBG) S.SelectedFig = S.MarkedFig = nullptr;
  Perform(S, Append(S, kind));
  if (kind == ActionKind::ClearBG || kind == ActionKind::ClearAll) Writable(S).ShownBGFileName.clear();
  Writable(S).BGFileName.clear();
}

void BranchTo(AppState& S, int32_t step) {
  CommitPreview(S);
  S.SelectedFig = S.MarkedFig = nullptr;
  Action& a = Append(S, ActionKind::Branch);
  a.TargetID = step;
  Perform(S, a);
}
