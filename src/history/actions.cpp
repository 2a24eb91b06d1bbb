#include "history/actions.h"

#include "history/play.h"
#include "history/savehistory.h"

namespace {

// The ID of `fig`, taken from the latest record before `item` that points
// at it (its creating record, or a later move or change of it, all with the
// same ID). A figure that no record knows, which only a damaged history
// allows, gets 0: such a record names no figure and replay skips it.
int32_t FigureID(const AppState& S, const Figure* fig, const HistoryItem* item) {
  const HistoryItem* found = S.History.FindLatestItemFor(fig, item->Prev);
  return found != nullptr ? found->Data.TargetID : 0;
}

// A new record of `kind` at the tail, with a deep copy of `snapshot` when
// there is one.
HistoryItem* Append(AppState& S, ActionKind kind, const Figure* snapshot = nullptr) {
  HistoryItem* a = snapshot != nullptr ? S.History.AddAction(*snapshot) : S.History.AddItem();
  a->Data.TargetType = kind;
  return a;
}

// The next figure ID; a file may have raised the counter to the largest ID:
// it wraps, never overflows.
int32_t TakeFigureID(AppState& S) {
  const int32_t id = S.History.NextFigID;
  S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);
  return id;
}

// Applies the record just appended, exactly as replay applies it, and
// records it. `live` is the figure the record acted on: later records find
// the figure's ID through it, and a resize compares against its snapshot.
void Perform(AppState& S, HistoryItem* a, Figure* live = nullptr) {
  ApplyAction(S, a);
  if (live != nullptr) a->Data.TargetFig = live;
  S.CurrentStep = a;  // the drawing now shows the state after it
  FinishRecord(S, a);
}

Figure* Selected(const AppState& S) { return S.SelectedFig != nullptr ? &S.SelectedFig->Data : nullptr; }

}  // namespace

void RecordPendingResize(AppState& S) {
  if (S.PendingResize) FlushResize(S);
}

void FlushResize(AppState& S) {
  Figure* r = S.ResizeFig;
  if (r != nullptr) {
    const HistoryItem* p = S.History.FindLatestItemFor(r, S.History.GetTail());
    // Width and height against the latest snapshot; a figure that was only
    // moved, or brought back to its recorded size, counts as unchanged. With
    // no snapshot at all the resize is recorded, naming no figure.
    bool changed = true;
    if (p != nullptr) {
      const Figure& q = p->Data.FigData;
      changed = WrapSub(q.Start.X, r->Start.X) != WrapSub(q.End.X, r->End.X) ||
                WrapSub(q.Start.Y, r->Start.Y) != WrapSub(q.End.Y, r->End.Y);
    }
    if (changed) {
      HistoryItem* a = Append(S, ActionKind::Change, r);
      a->Data.Parameter = ParameterKind::Size;
      a->Data.TargetID = p != nullptr ? p->Data.TargetID : 0;
      // The figure already has its new size: applying the record changes
      // nothing but keeps live editing and replay one path.
      Perform(S, a, r);
    }
  }
  S.PendingResize = false;
  S.ResizeFig = nullptr;
  S.StampReference = nullptr;
}

FigureItem* CreateFigure(AppState& S, const Figure& fig) {
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Create, &fig);
  a->Data.TargetID = TakeFigureID(S);
  Perform(S, a);
  return a->Data.TargetItem;
}

FigureItem* DuplicateSelected(AppState& S) {
  if (S.SelectedFig == nullptr) return nullptr;
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Duplicate, &S.SelectedFig->Data);
  a->Data.FigData.Offset(20, 20);
  a->Data.TargetID = TakeFigureID(S);
  Perform(S, a);
  S.SelectedFig = S.MarkedFig = a->Data.TargetItem;
  return a->Data.TargetItem;
}

bool DeleteSelected(AppState& S) {
  FigureItem* victim = S.SelectedFig;
  if (victim == nullptr) return false;
  // The pending resize may be of the figure about to go: recorded first.
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Delete);
  a->Data.TargetID = FigureID(S, &victim->Data, a);
  S.SelectedFig = S.MarkedFig = nullptr;
  Perform(S, a);
  return true;
}

FigureItem* RestoreDeleted(AppState& S) {
  if (S.DeletedFigs.IsEmpty()) return nullptr;
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Undo, &S.DeletedFigs.GetTail()->Data);
  a->Data.TargetID = TakeFigureID(S);
  Perform(S, a);
  return a->Data.TargetItem;
}

bool MoveSelectedFront(AppState& S) {
  FigureItem* f = S.SelectedFig;
  if (f == nullptr || f->Next == nullptr) return false;
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Front);
  a->Data.TargetID = FigureID(S, &f->Data, a);
  Perform(S, a);
  return true;
}

bool MoveSelectedBack(AppState& S) {
  FigureItem* f = S.SelectedFig;
  if (f == nullptr || f->Prev == S.DrawingFigs.GetHead()) return false;
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Back);
  a->Data.TargetID = FigureID(S, &f->Data, a);
  Perform(S, a);
  return true;
}

void RecordMoveOfSelected(AppState& S) {
  Figure* fig = Selected(S);
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Move, fig);
  a->Data.TargetID = fig != nullptr ? FigureID(S, fig, a) : 0;
  Perform(S, a, fig);
}

bool ChangeSelected(AppState& S, ParameterKind parameter, const Figure& changed) {
  Figure* fig = Selected(S);
  if (fig == nullptr) return false;
  // Recorded while the figure still has its old attributes.
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::Change, &changed);
  a->Data.Parameter = parameter;
  a->Data.TargetID = FigureID(S, fig, a);
  Perform(S, a, fig);
  return true;
}

void SetBackground(AppState& S, const std::string& path) {
  RecordPendingResize(S);
  HistoryItem* a = Append(S, ActionKind::ReadBG);
  a->Data.FileName = path;
  Perform(S, a);
  // The picture side shows it already, as after a rebuild.
  S.ShownBGFileName = S.BGFileName;
  S.BGFileName.clear();
}

void ClearDrawing(AppState& S, ActionKind kind) {
  RecordPendingResize(S);
  if (kind != ActionKind::ClearBG) S.SelectedFig = S.MarkedFig = nullptr;
  Perform(S, Append(S, kind));
  if (kind == ActionKind::ClearBG || kind == ActionKind::ClearAll) S.ShownBGFileName.clear();
  S.BGFileName.clear();
}

void BranchTo(AppState& S, int32_t step) {
  RecordPendingResize(S);
  S.SelectedFig = S.MarkedFig = nullptr;
  HistoryItem* a = Append(S, ActionKind::Branch);
  a->Data.TargetID = step;
  Perform(S, a);
}
