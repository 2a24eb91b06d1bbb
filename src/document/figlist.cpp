#include "document/figlist.h"

#include <iterator>

Figure& FigureList::At(int32_t index) { return *std::next(m_figs.begin(), index); }

FigureList::iterator FigureList::Add(const Figure& data) {
  m_figs.push_back(StoredCopy(data));
  return std::prev(m_figs.end());
}

Figure& FigureList::AddEmpty() { return m_figs.emplace_back(); }

FigureList::iterator FigureList::Find(const Figure* fig) {
  for (auto it = m_figs.begin(); it != m_figs.end(); ++it)
    if (&*it == fig) return it;
  return m_figs.end();
}

bool FigureList::Contains(const Figure* fig) const {
  for (const Figure& f : m_figs)
    if (&f == fig) return true;
  return false;
}

bool FigureList::Remove(const Figure* fig) {
  const iterator at = Find(fig);
  if (at == m_figs.end()) return false;
  m_figs.erase(at);
  return true;
}

bool FigureList::MoveFront(iterator at) {
  if (at == m_figs.end() || std::next(at) == m_figs.end()) return false;
  m_figs.splice(std::next(at, 2), m_figs, at);
  return true;
}

bool FigureList::MoveBack(iterator at) {
  if (at == m_figs.end() || at == m_figs.begin()) return false;
  m_figs.splice(std::prev(at), m_figs, at);
  return true;
}

bool FigureList::MoveFront(const Figure* fig) { return MoveFront(Find(fig)); }
bool FigureList::MoveBack(const Figure* fig) { return MoveBack(Find(fig)); }
