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

TPointData* TActionItem::AdoptPointData(std::unique_ptr<TPointData> points) {
  Owned.Points = std::move(points);
  Data.FigData.PointData = Owned.Points.get();
  return Data.FigData.PointData;
}

TFigList* TActionItem::AdoptStampData(std::unique_ptr<TFigList> stamp) {
  Owned.Stamp = std::move(stamp);
  Data.FigData.StampData = Owned.Stamp.get();
  return Data.FigData.StampData;
}

THistoryList::THistoryList() : FHead(std::make_unique<TActionItem>()) {
  Head = Tail = FHead.get();
}

THistoryList::~THistoryList() { Clear(); }

void THistoryList::LinkAtEnd(TActionItem* item) {
  item->Prev = Tail;
  item->Next = nullptr;
  Tail->Next = item;
  Tail = item;
  ++FCount;
  assert(item->Prev->Next == item && Tail->Next == nullptr);
}

TActionItem* THistoryList::AddAction(const TFigData& figure) {
  auto item = std::make_unique<TActionItem>();
  CopyFigDeep(figure, item->Data.FigData, item->Owned);
  TActionItem* raw = item.release();
  LinkAtEnd(raw);
  return raw;
}

TActionItem* THistoryList::AddItem() {
  TActionItem* raw = new TActionItem();
  LinkAtEnd(raw);
  return raw;
}

void THistoryList::Clear() {
  if (Head == Tail) return;
  TActionItem* a = Head->Next;
  while (a != nullptr) {
    TActionItem* next = a->Next;
    delete a;
    a = next;
  }
  Head->Next = nullptr;
  Tail = Head;
  FCount = 0;
  NextFigID = 1;
}

TActionItem* THistoryList::FindFigureItem(int32_t id) const {
  for (TActionItem* a = Head->Next; a != nullptr; a = a->Next)
    if (IsCreatingAction(a->Data.TargetType) && a->Data.TargetID == id) return a;
  return nullptr;
}

TActionItem* THistoryList::FindLatestItemFor(const TFigData* fig, TActionItem* from) const {
  if (fig == nullptr) return nullptr;
  for (TActionItem* a = from; a != nullptr && a != Head; a = a->Prev)
    if (a->Data.TargetFig == fig) return a;
  return nullptr;
}

int32_t THistoryList::StepOf(const TActionItem* item) const {
  int32_t k = 0;
  for (const TActionItem* a = Head; a != nullptr; a = a->Next, ++k)
    if (a == item) return k;
  return -1;
}

TActionItem* THistoryList::ItemAt(int32_t step) const {
  if (step < 0) return nullptr;
  TActionItem* a = Head;
  for (int32_t k = 0; k < step && a != nullptr; ++k) a = a->Next;
  return a;
}
