#include "document/figlist.h"

#include <cassert>

void CopyFigDeep(const TFigData& src, TFigData& dst, TFigOwner& owner) {
  dst = src;
  dst.PointData = nullptr;
  dst.StampData = nullptr;
  owner.Points.reset();
  owner.Stamp.reset();
  if (IsPointFigure(src.DrawingTool)) {
    const int32_t n = src.PointData ? src.PointData->Count : 0;
    owner.Points = std::make_unique<TPointData>(n);
    for (int32_t i = 0; i < n; ++i)
      owner.Points->AddPoint(src.PointData->Points[i].X, src.PointData->Points[i].Y);
    dst.PointData = owner.Points.get();
    dst.SetBoundsFromPoints();
  } else if (src.DrawingTool == dtStamp) {
    owner.Stamp = std::make_unique<TFigList>();
    if (src.StampData != nullptr) {
      for (TFigItem* f = src.StampData->Head->Next; f != nullptr; f = f->Next)
        owner.Stamp->AddFig(f->Data);
    }
    dst.StampData = owner.Stamp.get();
  }
}

TPointData* TFigItem::AdoptPointData(std::unique_ptr<TPointData> points) {
  Owned.Points = std::move(points);
  Data.PointData = Owned.Points.get();
  return Data.PointData;
}

TFigList* TFigItem::AdoptStampData(std::unique_ptr<TFigList> stamp) {
  Owned.Stamp = std::move(stamp);
  Data.StampData = Owned.Stamp.get();
  return Data.StampData;
}

TFigList::TFigList() : FHead(std::make_unique<TFigItem>()) {
  Head = Tail = FHead.get();
}

TFigList::~TFigList() { ClearFigs(); }

void TFigList::LinkAtEnd(TFigItem* item) {
  item->Prev = Tail;
  item->Next = nullptr;
  Tail->Next = item;
  Tail = item;
}

TFigItem* TFigList::AddFig(const TFigData& data) {
  auto item = std::make_unique<TFigItem>();
  CopyFigDeep(data, item->Data, item->Owned);
  TFigItem* raw = item.release();
  LinkAtEnd(raw);
  assert(LinkedAround(raw));
  return raw;
}

TFigItem* TFigList::AddEmptyFig() {
  TFigItem* raw = new TFigItem();
  LinkAtEnd(raw);
  return raw;
}

TFigItem* TFigList::DuplicateFig(TFigItem* item) {
  if (item == nullptr) return nullptr;
  return AddFig(item->Data);
}

int TFigList::RemoveFig(TFigItem* item) {
  if (item == nullptr || item == Head) return 1;
  if (item->Next != nullptr)
    item->Next->Prev = item->Prev;
  else
    Tail = item->Prev;
  item->Prev->Next = item->Next;
  [[maybe_unused]] TFigItem* before = item->Prev;
  delete item;
  assert(LinkedAround(before));
  return 0;
}

int TFigList::MoveFigFront(TFigItem* x) {
  if (x == nullptr || x == Head || x == Tail) return 1;
  TFigItem* n = x->Next;
  TFigItem* m = n->Next;
  x->Prev->Next = n;
  n->Prev = x->Prev;
  n->Next = x;
  x->Prev = n;
  x->Next = m;
  if (m != nullptr)
    m->Prev = x;
  else
    Tail = x;
  assert(LinkedAround(x) && LinkedAround(n));
  return 0;
}

int TFigList::MoveFigBack(TFigItem* x) {
  if (x == nullptr || x == Head || x->Prev == Head) return 1;
  TFigItem* p = x->Prev;
  TFigItem* q = p->Prev;
  TFigItem* after = x->Next;
  q->Next = x;
  x->Prev = q;
  x->Next = p;
  p->Prev = x;
  p->Next = after;
  if (after != nullptr)
    after->Prev = p;
  else
    Tail = p;
  assert(LinkedAround(x) && LinkedAround(p));
  return 0;
}

int32_t TFigList::FigCount() const {
  int32_t n = 0;
  for (TFigItem* f = Head->Next; f != nullptr; f = f->Next) ++n;
  return n;
}

void TFigList::ClearFigs() {
  TFigItem* f = Head->Next;
  while (f != nullptr) {
    TFigItem* next = f->Next;
    delete f;
    f = next;
  }
  Head->Next = nullptr;
  Tail = Head;
}

bool TFigList::LinkedAround(const TFigItem* x) const {
  if (Tail->Next != nullptr || Head->Prev != nullptr) return false;
  if (x != Head && (x->Prev == nullptr || x->Prev->Next != x)) return false;
  return x->Next == nullptr ? x == Tail : x->Next->Prev == x;
}

bool TFigList::Valid() const {
  if (Head == nullptr || Head->Prev != nullptr || Tail == nullptr || Tail->Next != nullptr) return false;
  const TFigItem* last = Head;
  for (const TFigItem* f = Head->Next; f != nullptr; f = f->Next) {
    if (f->Prev != last || f->Prev->Next != f) return false;
    last = f;
  }
  return last == Tail;
}
