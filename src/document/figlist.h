// Ordered figure lists: the drawing order is the list order, the tail is the
// front-most figure. A list owns its items and, through them, every item's
// vertex list and stamp contents; figures enter a list only as deep copies.
#pragma once

#include <memory>

#include "document/figure.h"

class TFigList;

// The owning side of a figure's two pointers. A list item and a history
// record each keep one next to their TFigData, whose pointers mirror it.
struct TFigOwner {
  std::unique_ptr<TPointData> Points;
  std::unique_ptr<TFigList> Stamp;
};

// Deep copy of `src` into `dst`: every field, then for a point figure a new
// vertex list with exactly the source's count as capacity (bounds rebuilt,
// Start/End from them), for a stamp new contents copied to any depth. The
// copies are owned by `owner`; `src` and what it points to are only read.
void CopyFigDeep(const TFigData& src, TFigData& dst, TFigOwner& owner);

class TFigItem {
 public:
  TFigItem* Prev = nullptr;
  TFigItem* Next = nullptr;
  TFigData Data;

  TFigItem() = default;
  TFigItem(const TFigItem&) = delete;
  TFigItem& operator=(const TFigItem&) = delete;

  // Hands a vertex list or stamp contents to this item; Data points at it.
  TPointData* AdoptPointData(std::unique_ptr<TPointData> points);
  TFigList* AdoptStampData(std::unique_ptr<TFigList> stamp);

 private:
  friend class TFigList;
  friend void CopyFigDeep(const TFigData&, TFigData&, TFigOwner&);
  TFigOwner Owned;
};

class TFigList {
 public:
  TFigItem* Head;  // sentinel, never a figure, never removed
  TFigItem* Tail;  // front-most figure; Head when empty

  TFigList();
  ~TFigList();  // iterative: a list of any length frees in constant stack
  TFigList(const TFigList&) = delete;
  TFigList& operator=(const TFigList&) = delete;

  // Appends a deep copy of `data` in front of every other figure.
  TFigItem* AddFig(const TFigData& data);
  // Appends an item with a fresh figure, filled in place by the file reader.
  TFigItem* AddEmptyFig();
  // AddFig of the item's figure; null in, null out.
  TFigItem* DuplicateFig(TFigItem* item);
  // 0 done, 1 refused (null item or the sentinel).
  int RemoveFig(TFigItem* item);
  // One step toward the front; 1 for null, the sentinel or the tail.
  int MoveFigFront(TFigItem* item);
  // One step toward the back; 1 for null, the sentinel or the first figure.
  int MoveFigBack(TFigItem* item);

  TFigItem* GetHead() const { return Head; }
  TFigItem* GetTail() const { return Tail; }
  static TFigItem* GetPrev(TFigItem* item) { return item ? item->Prev : nullptr; }
  static TFigItem* GetNext(TFigItem* item) { return item ? item->Next : nullptr; }
  bool IsEmpty() const { return Head == Tail; }
  // Number of figures (a walk; lists are short).
  int32_t FigCount() const;

  // Frees every figure; the sentinel stays.
  void ClearFigs();
  // Frees the list with all its items, sentinel included.
  static void DeleteFigList(std::unique_ptr<TFigList>& list) { list.reset(); }

  // Checks every link invariant (a full walk; debug builds check the links
  // around each change with a cheaper local test).
  bool Valid() const;

 private:
  std::unique_ptr<TFigItem> FHead;
  void LinkAtEnd(TFigItem* item);
  // The links next to one item are consistent (cheap check for asserts).
  bool LinkedAround(const TFigItem* x) const;
};
