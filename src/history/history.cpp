#include "history/history.h"

#include <cassert>
#include <chrono>
#include <random>

namespace {

uint64_t DrawFigIDHashSeed() {
  std::random_device device;
  uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
  // Should the device be deterministic, the clock and the address layout
  // still differ from run to run.
  seed ^= static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  seed ^= reinterpret_cast<uintptr_t>(&seed);
  return seed;
}

}  // namespace

const uint64_t FigIDHashSeed = DrawFigIDHashSeed();

HistoryList::HistoryList() : m_head(std::make_unique<HistoryItem>()) {
  Head = Tail = m_head.get();
}

HistoryList::~HistoryList() { Clear(); }

void HistoryList::LinkAtEnd(HistoryItem* item) {
  item->Prev = Tail;
  item->Next = nullptr;
  Tail->Next = item;
  Tail = item;
  ++m_count;
  assert(item->Prev->Next == item && Tail->Next == nullptr);
}

HistoryItem* HistoryList::AddAction(const Figure& figure) {
  auto item = std::make_unique<HistoryItem>();
  item->Data.FigData = StoredCopy(figure);
  HistoryItem* raw = item.release();
  LinkAtEnd(raw);
  return raw;
}

HistoryItem* HistoryList::AddItem() {
  HistoryItem* raw = new HistoryItem();
  LinkAtEnd(raw);
  return raw;
}

void HistoryList::Clear() {
  if (Head == Tail) return;
  HistoryItem* a = Head->Next;
  while (a != nullptr) {
    HistoryItem* next = a->Next;
    delete a;
    a = next;
  }
  Head->Next = nullptr;
  Tail = Head;
  m_count = 0;
  NextFigID = 1;
}

HistoryItem* HistoryList::FindFigureItem(int32_t id) const {
  for (HistoryItem* a = Head->Next; a != nullptr; a = a->Next)
    if (IsCreatingAction(a->Data.TargetType) && a->Data.TargetID == id) return a;
  return nullptr;
}

HistoryItem* HistoryList::FindLatestItemFor(const Figure* fig, HistoryItem* from) const {
  if (fig == nullptr) return nullptr;
  for (HistoryItem* a = from; a != nullptr && a != Head; a = a->Prev)
    if (a->Data.TargetFig == fig) return a;
  return nullptr;
}

int32_t HistoryList::StepOf(const HistoryItem* item) const {
  int32_t k = 0;
  for (const HistoryItem* a = Head; a != nullptr; a = a->Next, ++k)
    if (a == item) return k;
  return -1;
}

HistoryItem* HistoryList::ItemAt(int32_t step) const {
  if (step < 0) return nullptr;
  HistoryItem* a = Head;
  for (int32_t k = 0; k < step && a != nullptr; ++k) a = a->Next;
  return a;
}
