// Ordered figure lists: the drawing order is the list order, the tail is the
// front-most figure. A list owns its items; figures enter it as their
// StoredCopy.
#pragma once

#include <memory>

#include "document/figure.h"

class FigureItem {
 public:
  FigureItem* Prev = nullptr;
  FigureItem* Next = nullptr;
  Figure Data;

  FigureItem() = default;
  FigureItem(const FigureItem&) = delete;
  FigureItem& operator=(const FigureItem&) = delete;
};

class FigureList {
 public:
  FigureItem* Head;  // sentinel, never a figure, never removed
  FigureItem* Tail;  // front-most figure; Head when empty

  FigureList();
  ~FigureList();  // iterative: a list of any length frees in constant stack
  FigureList(const FigureList&) = delete;
  FigureList& operator=(const FigureList&) = delete;

  // Appends the StoredCopy of `data` in front of every other figure.
  FigureItem* AddFig(const Figure& data);
  // Appends an item with a fresh figure, filled in place by the file reader.
  FigureItem* AddEmptyFig();
  // AddFig of the item's figure; null in, null out.
  FigureItem* DuplicateFig(FigureItem* item);
  // 0 done, 1 refused (null item or the sentinel).
  int RemoveFig(FigureItem* item);
  // One step toward the front; 1 for null, the sentinel or the tail.
  int MoveFigFront(FigureItem* item);
  // One step toward the back; 1 for null, the sentinel or the first figure.
  int MoveFigBack(FigureItem* item);

  FigureItem* GetHead() const { return Head; }
  FigureItem* GetTail() const { return Tail; }
  static FigureItem* GetPrev(FigureItem* item) { return item ? item->Prev : nullptr; }
  static FigureItem* GetNext(FigureItem* item) { return item ? item->Next : nullptr; }
  bool IsEmpty() const { return Head == Tail; }
  // Number of figures (a walk; lists are short).
  int32_t FigCount() const;

  // Frees every figure; the sentinel stays.
  void ClearFigs();
  // Frees the list with all its items, sentinel included.
  static void DeleteFigList(std::unique_ptr<FigureList>& list) { list.reset(); }

  // Checks every link invariant (a full walk; debug builds check the links
  // around each change with a cheaper local test).
  bool Valid() const;

 private:
  std::unique_ptr<FigureItem> m_head;
  void LinkAtEnd(FigureItem* item);
  // The links next to one item are consistent (cheap check for asserts).
  bool LinkedAround(const FigureItem* x) const;
};
