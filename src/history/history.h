// The action history: one record per change, appended at the end only. The
// history, not the picture, is the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/figlist.h"

enum class ActionKind : int8_t {
  Create = 0,
  SetStamp = 1,
  Move = 2,
  Duplicate = 3,
  Delete = 4,
  Undo = 5,
  Front = 6,
  Back = 7,
  Change = 8,
  ReadData = 9,
  ReadBG = 10,
  ClearBG = 11,
  ClearDrawing = 12,
  ClearAll = 13,
  Branch = 14,
  None = 15,
};

enum class ParameterKind : int8_t {
  Size = 0,
  BodyColor = 1,
  LineWidth = 2,
  LineColor = 3,
  Text = 4,
  TextColor = 5,
  None = 6,
};

// Records that hand out a new figure ID.
inline bool IsCreatingAction(ActionKind t) {
  return t == ActionKind::Create || t == ActionKind::Duplicate || t == ActionKind::Undo;
}

// Hash for lookup tables keyed by figure ID. IDs come from files, and the
// plain hash of an integer is the integer itself, so IDs that are multiples
// of a table's bucket count would all land in one bucket. The ID is mixed
// with a value drawn once per process, so no file can pick colliding IDs.
extern const uint64_t FigIDHashSeed;
struct FigureIdHash {
  size_t operator()(int32_t id) const noexcept {
    uint64_t z = static_cast<uint64_t>(static_cast<uint32_t>(id)) + FigIDHashSeed;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return static_cast<size_t>(z ^ (z >> 31));
  }
};

// Local time of day; no date. Field order as stored in memory.
struct TimeOfDay {
  uint8_t Min = 0;
  uint8_t Hour = 0;
  uint8_t Hund = 0;  // hundredths of a second
  uint8_t Sec = 0;
};

struct Action {
  TimeOfDay ActionTime;
  ActionKind TargetType = ActionKind::None;
  int32_t TargetID = 0;
  ParameterKind Parameter = ParameterKind::None;
  std::string FileName;  // UTF-8
  Figure FigData;      // the snapshot
  // Live links, never saved and never owning: the figure this record created
  // or acted on, and the item replay made for a creating record.
  Figure* TargetFig = nullptr;
  FigureItem* TargetItem = nullptr;
};

class HistoryItem {
 public:
  HistoryItem* Prev = nullptr;
  HistoryItem* Next = nullptr;
  Action Data;

  HistoryItem() = default;
  HistoryItem(const HistoryItem&) = delete;
  HistoryItem& operator=(const HistoryItem&) = delete;
};

class HistoryList {
 public:
  HistoryItem* Head;  // sentinel (ActionKind::None, ParameterKind::None)
  HistoryItem* Tail;  // last record; Head while empty
  // The ID the next figure-creating record receives. 1 at start and after
  // Clear; only grows otherwise.
  int32_t NextFigID = 1;

  HistoryList();
  ~HistoryList();  // iterative: any length frees in constant stack
  HistoryList(const HistoryList&) = delete;
  HistoryList& operator=(const HistoryList&) = delete;

  // Appends a record whose snapshot is the StoredCopy of `figure`.
  HistoryItem* AddAction(const Figure& figure);
  // Appends a fresh record.
  HistoryItem* AddItem();
  HistoryItem* GetHead() const { return Head; }
  HistoryItem* GetTail() const { return Tail; }
  // Number of records after the sentinel.
  int32_t Count() const { return m_count; }
  // Deletes every record; NextFigID back to 1. Nothing happens when empty.
  void Clear();
  static void DeleteHistory(std::unique_ptr<HistoryList>& list) { list.reset(); }

  // First creating record (Create, Duplicate, Undo) with this ID, or null.
  HistoryItem* FindFigureItem(int32_t id) const;
  // Walking from `from` (included) toward the head, the first record whose
  // TargetFig is `fig`; null when none (never walks past the sentinel).
  HistoryItem* FindLatestItemFor(const Figure* fig, HistoryItem* from) const;

  // Step number of an item: 0 for the sentinel, k for the k-th record; -1
  // when the item is not in this history.
  int32_t StepOf(const HistoryItem* item) const;
  // The item of step k (0 = the sentinel), or null beyond the tail.
  HistoryItem* ItemAt(int32_t step) const;

 private:
  std::unique_ptr<HistoryItem> m_head;
  int32_t m_count = 0;
  void LinkAtEnd(HistoryItem* item);
};
