#include "document/figlist.h"

#include <cassert>

FigureList::FigureList() : m_head(std::make_unique<FigureItem>()) {
  Head = Tail = m_head.get();
}

FigureList::~FigureList() { ClearFigs(); }

void FigureList::LinkAtEnd(FigureItem* item) {
  item->Prev = Tail;
  item->Next = nullptr;
  Tail->Next = item;
  Tail = item;
}

FigureItem* FigureList::AddFig(const Figure& data) {
  auto item = std::make_unique<FigureItem>();
  item->Data = StoredCopy(data);
  FigureItem* raw = item.release();
  LinkAtEnd(raw);
  assert(LinkedAround(raw));
  return raw;
}

FigureItem* FigureList::AddEmptyFig() {
  FigureItem* raw = new FigureItem();
  LinkAtEnd(raw);
  return raw;
}

FigureItem* FigureList::DuplicateFig(FigureItem* item) {
  if (item == nullptr) return nullptr;
  return AddFig(item->Data);
}

int FigureList::RemoveFig(FigureItem* item) {
  if (item == nullptr || item == Head) return 1;
  if (item->Next != nullptr)
    item->Next->Prev = item->Prev;
  else
    Tail = item->Prev;
  item->Prev->Next = item->Next;
  [[maybe_unused]] FigureItem* before = item->Prev;
  delete item;
  assert(LinkedAround(before));
  return 0;
}

int FigureList::MoveFigFront(FigureItem* x) {
  if (x == nullptr || x == Head || x == Tail) return 1;
  FigureItem* n = x->Next;
  FigureItem* m = n->Next;
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

int FigureList::MoveFigBack(FigureItem* x) {
  if (x == nullptr || x == Head || x->Prev == Head) return 1;
  FigureItem* p = x->Prev;
  FigureItem* q = p->Prev;
  FigureItem* after = x->Next;
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

int32_t FigureList::FigCount() const {
  int32_t n = 0;
  for (FigureItem* f = Head->Next; f != nullptr; f = f->Next) ++n;
  return n;
}

void FigureList::ClearFigs() {
  FigureItem* f = Head->Next;
  while (f != nullptr) {
    FigureItem* next = f->Next;
    delete f;
    f = next;
  }
  Head->Next = nullptr;
  Tail = Head;
}

bool FigureList::LinkedAround(const FigureItem* x) const {
  if (Tail->Next != nullptr || Head->Prev != nullptr) return false;
  if (x != Head && (x->Prev == nullptr || x->Prev->Next != x)) return false;
  return x->Next == nullptr ? x == Tail : x->Next->Prev == x;
}

bool FigureList::Valid() const {
  if (Head == nullptr || Head->Prev != nullptr || Tail == nullptr || Tail->Next != nullptr) return false;
  const FigureItem* last = Head;
  for (const FigureItem* f = Head->Next; f != nullptr; f = f->Next) {
    if (f->Prev != last || f->Prev->Next != f) return false;
    last = f;
  }
  return last == Tail;
}
