#include "history/history.h"

#include <algorithm>
#include <atomic>
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

Action& HistoryList::Add(const Figure& figure) {
  Action& a = m_records.emplace_back();
  a.FigData = StoredCopy(figure);
  return a;
}

uint64_t HistoryList::NewGeneration() {
  static std::atomic<uint64_t> next{1};
  return next++;
}

void HistoryList::Clear() {
  m_generation = NewGeneration();
  if (m_records.empty()) return;
  m_records.clear();
  NextFigID = 1;
}

Action* HistoryList::FindCreator(int32_t id) {
  for (Action& a : m_records)
    if (IsCreatingAction(a.TargetType) && a.TargetID == id) return &a;
  return nullptr;
}

const Action* HistoryList::FindLatestFor(const Figure* fig, int32_t from) const {
  if (fig == nullptr) return nullptr;
  const int32_t skip = Count() - std::clamp(from, 0, Count());  // records after `from`
  for (auto a = m_records.rbegin() + skip; a != m_records.rend(); ++a)
    if (a->TargetFig == fig) return &*a;
  return nullptr;
}
