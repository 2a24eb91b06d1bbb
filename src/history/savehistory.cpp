#include "history/savehistory.h"

#include "history/describe.h"

namespace {

// The last two steps every recorder shares: the time of day, then the
// process display.
void Finish(TTamloState& S, TActionItem* item) {
  item->Data.ActionTime = S.Clock->Now();
  ShowAction(S, item->Data);
}

// The ID of `fig`, taken from the latest earlier record that points at it
// (its creating record, or a later move or change of it, all with the same
// ID). A figure that no record knows, which only a damaged history allows,
// gets 0: such a record names no figure and replay skips it.
int32_t FigureID(const TTamloState& S, const TFigData* fig, const TActionItem* item) {
  const TActionItem* found = S.History.FindLatestItemFor(fig, item->Prev);
  return found != nullptr ? found->Data.TargetID : 0;
}

TFigData* SelectedData(const TTamloState& S) {
  return S.SelectedFig != nullptr ? &S.SelectedFig->Data : nullptr;
}

void FlushIfPending(TTamloState& S) {
  if (S.PendingResize) FlushResize(S);
}

// Appends a record with a snapshot of `fig`, or a fresh one when there is no
// figure to copy.
TActionItem* AppendFor(TTamloState& S, const TFigData* fig) {
  return fig != nullptr ? S.History.AddAction(*fig) : S.History.AddItem();
}

}  // namespace

void RecordCreate(TTamloState& S, TActionType kind, TFigItem* item) {
  FlushIfPending(S);
  if (item == nullptr) return;  // no figure came into the drawing
  TActionItem* a = S.History.AddAction(item->Data);
  a->Data.TargetType = kind;
  a->Data.TargetID = S.History.NextFigID;
  // A file may have raised the counter to the largest ID; wrap, never overflow.
  S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);
  a->Data.TargetFig = &item->Data;
  Finish(S, a);
}

void RecordFile(TTamloState& S, TActionType kind, const std::string& path) {
  FlushIfPending(S);
  TActionItem* a = S.History.AddItem();
  a->Data.TargetType = kind;
  a->Data.FileName = path;
  Finish(S, a);
}

void RecordAction(TTamloState& S, TActionType kind) {
  FlushIfPending(S);
  // For a delete the selected item has already been freed: only its address
  // is compared with the records' links, its contents are never read.
  TFigData* fig = SelectedData(S);
  TActionItem* a;
  if (kind == atMove) {
    a = AppendFor(S, fig);
    a->Data.TargetFig = fig;
  } else {
    a = S.History.AddItem();
  }
  a->Data.TargetType = kind;
  if (kind == atMove || kind == atDelete || kind == atFront || kind == atBack)
    a->Data.TargetID = FigureID(S, fig, a);
  Finish(S, a);
}

void RecordChange(TTamloState& S, TActionType kind, TParameterType parameter) {
  FlushIfPending(S);
  TFigData* fig = SelectedData(S);
  TActionItem* a = AppendFor(S, fig);
  a->Data.TargetType = kind;
  a->Data.Parameter = parameter;
  a->Data.TargetFig = fig;
  a->Data.TargetID = FigureID(S, fig, a);
  Finish(S, a);
}

void RecordTextChange(TTamloState& S) { RecordChange(S, atChange, ptText); }

void FlushResize(TTamloState& S) {
  TFigData* r = S.ResizeFig;
  if (r != nullptr) {
    const TActionItem* p = S.History.FindLatestItemFor(r, S.History.GetTail());
    // Width and height against the latest snapshot; a figure that was only
    // moved, or brought back to its recorded size, counts as unchanged. With
    // no snapshot at all the resize is recorded, naming no figure.
    bool changed = true;
    if (p != nullptr) {
      const TFigData& q = p->Data.FigData;
      changed = WrapSub(q.Start.X, r->Start.X) != WrapSub(q.End.X, r->End.X) ||
                WrapSub(q.Start.Y, r->Start.Y) != WrapSub(q.End.Y, r->End.Y);
    }
    if (changed) {
      TActionItem* a = S.History.AddAction(*r);
      a->Data.TargetType = atChange;
      a->Data.Parameter = ptSize;
      a->Data.TargetFig = r;
      a->Data.TargetID = p != nullptr ? p->Data.TargetID : 0;
      Finish(S, a);
    }
  }
  S.PendingResize = false;
  S.ResizeFig = nullptr;
  S.StampReference = nullptr;
}

void RecordBranch(TTamloState& S, int32_t step) {
  TActionItem* a = S.History.AddItem();
  a->Data.TargetType = atBranch;
  a->Data.TargetID = step;
  Finish(S, a);
}
