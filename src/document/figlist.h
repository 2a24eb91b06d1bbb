// Ordered figure lists: the drawing order is the list order, the last figure
// is the front-most one. A list owns its figures; they enter it as their
// StoredCopy. Figures never move in memory while they are in a list, so a
// `Figure*` or an iterator names one until it leaves.
#pragma once

#include <cstdint>
#include <list>

#include "document/figure.h"

class FigureList {
 public:
  using iterator = std::list<Figure>::iterator;
  using const_iterator = std::list<Figure>::const_iterator;

  iterator begin() { return m_figs.begin(); }
  iterator end() { return m_figs.end(); }
  const_iterator begin() const { return m_figs.begin(); }
  const_iterator end() const { return m_figs.end(); }
  auto rbegin() { return m_figs.rbegin(); }
  auto rend() { return m_figs.rend(); }
  auto rbegin() const { return m_figs.rbegin(); }
  auto rend() const { return m_figs.rend(); }

  bool IsEmpty() const { return m_figs.empty(); }
  int32_t Count() const { return static_cast<int32_t>(m_figs.size()); }
  // The back-most and the front-most figure; the list must not be empty.
  Figure& First() { return m_figs.front(); }
  Figure& Last() { return m_figs.back(); }
  const Figure& First() const { return m_figs.front(); }
  const Figure& Last() const { return m_figs.back(); }
  // The figure `index` places from the back (a walk).
  Figure& At(int32_t index);

  // Appends the StoredCopy of `data` in front of every other figure.
  iterator Add(const Figure& data);
  // Appends a fresh figure, filled in place by the file reader.
  Figure& AddEmpty();

  // Where `fig` is, or end() when it is not in this list (a walk).
  iterator Find(const Figure* fig);
  bool Contains(const Figure* fig) const;

  void Remove(iterator at) { m_figs.erase(at); }
  // Removes `fig`; false when it is not in this list.
  bool Remove(const Figure* fig);
  // One step toward the front; false for the front-most figure.
  bool MoveFront(iterator at);
  // One step toward the back; false for the back-most figure.
  bool MoveBack(iterator at);
  bool MoveFront(const Figure* fig);
  bool MoveBack(const Figure* fig);

  void Clear() { m_figs.clear(); }

 private:
  std::list<Figure> m_figs;
};
