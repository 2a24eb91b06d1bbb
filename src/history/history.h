// The action history: one record per change, appended at the end only. The
// history, not the picture, is the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/figlist.h"

enum TActionType : int8_t {
  atCreate = 0,
  atSetStamp = 1,
  atMove = 2,
  atDuplicate = 3,
  atDelete = 4,
  atUndo = 5,
  atFront = 6,
  atBack = 7,
  atChange = 8,
  atReadData = 9,
  atReadBG = 10,
  atCleareBG = 11,
  atClearDrawing = 12,
  atClearAll = 13,
  atBranch = 14,
  atNone = 15,
};

enum TParameterType : int8_t {
  ptSize = 0,
  ptBodyColor = 1,
  ptLineWidth = 2,
  ptLineColor = 3,
  ptText = 4,
  ptTextColor = 5,
  ptNone = 6,
};

// Records that hand out a new figure ID.
inline bool IsCreatingAction(TActionType t) {
  return t == atCreate || t == atDuplicate || t == atUndo;
}

// Hash for lookup tables keyed by figure ID. IDs come from files, and the
// plain hash of an integer is the integer itself, so IDs that are multiples
// of a table's bucket count would all land in one bucket. The ID is mixed
// with a value drawn once per process, so no file can pick colliding IDs.
extern const uint64_t FigIDHashSeed;
struct TFigIDHash {
  size_t operator()(int32_t id) const noexcept {
    uint64_t z = static_cast<uint64_t>(static_cast<uint32_t>(id)) + FigIDHashSeed;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return static_cast<size_t>(z ^ (z >> 31));
  }
};

// Local time of day; no date. Field order as stored in memory.
struct TActionTime {
  uint8_t Min = 0;
  uint8_t Hour = 0;
  uint8_t Hund = 0;  // hundredths of a second
  uint8_t Sec = 0;
};

struct TActionData {
  TActionTime ActionTime;
  TActionType TargetType = atNone;
  int32_t TargetID = 0;
  TParameterType Parameter = ptNone;
  std::string FileName;  // UTF-8
  TFigData FigData;      // the snapshot; its copies are owned by the item
  // Live links, never saved and never owning: the figure this record created
  // or acted on, and the item replay made for a creating record.
  TFigData* TargetFig = nullptr;
  TFigItem* TargetItem = nullptr;
};

class TActionItem {
 public:
  TActionItem* Prev = nullptr;
  TActionItem* Next = nullptr;
  TActionData Data;

  TActionItem() = default;
  TActionItem(const TActionItem&) = delete;
  TActionItem& operator=(const TActionItem&) = delete;

  // Hands a vertex list or stamp contents to the record's snapshot.
  TPointData* AdoptPointData(std::unique_ptr<TPointData> points);
  TFigList* AdoptStampData(std::unique_ptr<TFigList> stamp);

 private:
  friend class THistoryList;
  TFigOwner Owned;
};

class THistoryList {
 public:
  TActionItem* Head;  // sentinel (atNone, ptNone)
  TActionItem* Tail;  // last record; Head while empty
  // The ID the next figure-creating record receives. 1 at start and after
  // Clear; only grows otherwise.
  int32_t NextFigID = 1;

  THistoryList();
  ~THistoryList();  // iterative: any length frees in constant stack
  THistoryList(const THistoryList&) = delete;
  THistoryList& operator=(const THistoryList&) = delete;

  // Appends a record whose snapshot is a deep copy of `figure`.
  TActionItem* AddAction(const TFigData& figure);
  // Appends a fresh record.
  TActionItem* AddItem();
  TActionItem* GetHead() const { return Head; }
  TActionItem* GetTail() const { return Tail; }
  // Number of records after the sentinel.
  int32_t Count() const { return FCount; }
  // Deletes every record; NextFigID back to 1. Nothing happens when empty.
  void Clear();
  static void DeleteHistory(std::unique_ptr<THistoryList>& list) { list.reset(); }

  // First creating record (Create, Duplicate, Undo) with this ID, or null.
  TActionItem* FindFigureItem(int32_t id) const;
  // Walking from `from` (included) toward the head, the first record whose
  // TargetFig is `fig`; null when none (never walks past the sentinel).
  TActionItem* FindLatestItemFor(const TFigData* fig, TActionItem* from) const;

  // Step number of an item: 0 for the sentinel, k for the k-th record; -1
  // when the item is not in this history.
  int32_t StepOf(const TActionItem* item) const;
  // The item of step k (0 = the sentinel), or null beyond the tail.
  TActionItem* ItemAt(int32_t step) const;

 private:
  std::unique_ptr<TActionItem> FHead;
  int32_t FCount = 0;
  void LinkAtEnd(TActionItem* item);
};
