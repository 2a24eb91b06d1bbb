// The action history: one record per change, appended at the end only. The
// history, not the picture, is the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
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

// The largest figure ID the counter hands out. A file may hold larger IDs (or
// negative ones), which are kept as they are; once the counter would pass
// this bound, or has been set beyond it by a file, a new figure gets the
// smallest positive ID that no record uses. So the counter never wraps, and
// figure IDs never repeat within a drawing.
constexpr int32_t MaxFigureID = INT32_MAX - 1;

struct Action {
  TimeOfDay ActionTime;
  ActionKind TargetType = ActionKind::None;
  int32_t TargetID = 0;
  ParameterKind Parameter = ParameterKind::None;
  std::string FileName;  // UTF-8
  Figure FigData;      // the snapshot
  // Live links, never saved and never owning: the figure this record created
  // or acted on, and where replay put the figure of a creating record.
  Figure* TargetFig = nullptr;
  std::optional<FigureList::iterator> TargetItem;
};

// The records in order. Steps count records: step 0 is the empty drawing,
// step k the drawing after record k. Records never move in memory while the
// history holds them (appending keeps every reference).
class HistoryList {
 public:
  // The ID the next figure-creating record receives. 1 at start and after
  // Clear; only grows otherwise, and never past MaxFigureID + 1, where the
  // IDs counted upwards are used up (see MaxFigureID).
  int32_t NextFigID = 1;

  HistoryList() = default;
  HistoryList(const HistoryList&) = delete;
  HistoryList& operator=(const HistoryList&) = delete;
  // Moving keeps every record where it is in memory, and the generation.
  HistoryList(HistoryList&&) = default;
  HistoryList& operator=(HistoryList&&) = default;

  auto begin() { return m_records.begin(); }
  auto end() { return m_records.end(); }
  auto begin() const { return m_records.begin(); }
  auto end() const { return m_records.end(); }

  int32_t Count() const { return static_cast<int32_t>(m_records.size()); }
  bool IsEmpty() const { return m_records.empty(); }
  // The record of step `step`, 1 ≤ step ≤ Count().
  Action& At(int32_t step) { return m_records[static_cast<size_t>(step - 1)]; }
  const Action& At(int32_t step) const { return m_records[static_cast<size_t>(step - 1)]; }
  // The last record; the history must not be empty.
  Action& Last() { return m_records.back(); }
  const Action& Last() const { return m_records.back(); }

  // Appends a record whose snapshot is the StoredCopy of `figure`.
  Action& Add(const Figure& figure);
  // Appends a fresh record.
  Action& Add() { return m_records.emplace_back(); }
  // Deletes every record; NextFigID back to 1; a new Generation().
  void Clear();
  // Differs between any two histories and after every clear: whoever keeps
  // something worked out from the records knows by it that they were
  // replaced.
  uint64_t Generation() const { return m_generation; }

  // First creating record (Create, Duplicate, Undo) with this ID, or null.
  Action* FindCreator(int32_t id);
  // Walking from step `from` back to step 1, the first record whose
  // TargetFig is `fig`; null when none.
  const Action* FindLatestFor(const Figure* fig, int32_t from) const;

 private:
  std::deque<Action> m_records;
  uint64_t m_generation = NewGeneration();
  static uint64_t NewGeneration();
};
