// The small texts of a drawing file: colour texts, integers, the words of
// kinds, tools and parameters, and path parts. Shared by the reader, the
// writer and anyone else who shows or splits the same values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "document/figure.h"
#include "document/paths.h"
#include "history/history.h"

// ---- Colours
// The name of a colour from the table of 52 named colours, or "$" and its
// 32-bit value in eight upper-case hexadecimal digits.
std::string ColorToText(ColorRef color);
// A colour name (any letter case), a decimal integer with an optional sign,
// or "$" and hexadecimal digits. False when the text is none of these.
bool TextToColor(std::string_view text, ColorRef& color);
// The table name of a colour, or null when it has none.
const char* ColorName(ColorRef color);

// ---- Integers
// Optional leading blanks, an optional sign and decimal digits; stops at the
// first other character. Values beyond the 32-bit range are clamped to it;
// no digits at all give 0. `used`, when given, receives the number of
// characters taken (0 when there were no digits).
int32_t ParseLeadingInt(std::string_view text, size_t* used = nullptr);
// Two such integers separated by white space.
Point ParsePoint(std::string_view text);
// Up to four numbers of at most two characters each (after any leading
// white space), as in "09 05 07 42": hours, minutes, seconds, hundredths.
// A missing number leaves its field at 0; no range check.
TimeOfDay ParseTime(std::string_view text);

// ---- Texts
// The longest text a figure holds: what the text box takes, counted as it
// counts, in UTF-16 code units (a character beyond U+FFFF takes two).
constexpr size_t MaxTextUnits = 32767;
// The longest start of a UTF-8 text that is at most `maxUnits` UTF-16 code
// units long. It never ends inside a character; a stray byte counts as one.
std::string_view CutText(std::string_view utf8, size_t maxUnits = MaxTextUnits);

// ---- Words of the file
// The word of a kind, "Unknown" outside the table.
const char* ActionWord(ActionKind type);
// False for any other text (also "Unknown").
bool ActionFromWord(std::string_view word, ActionKind& type);
// The word of a figure kind ToolKind::Text .. ToolKind::Stamp; null for any other value.
const char* ToolWord(ToolKind tool);
bool ToolFromWord(std::string_view word, ToolKind& tool);
// The word of a parameter, "Unknown" outside the table.
const char* ParameterWord(ParameterKind parameter);
bool ParameterFromWord(std::string_view word, ParameterKind& parameter);

// Which records carry which lines.
inline bool HasTargetIDLine(ActionKind t) { return t == ActionKind::Create || (t >= ActionKind::Move && t <= ActionKind::Change) || t == ActionKind::Branch; }
inline bool HasFileNameLine(ActionKind t) { return t == ActionKind::ReadData || t == ActionKind::ReadBG; }
inline bool HasFullFigureBlock(ActionKind t) {
  return t == ActionKind::Create || t == ActionKind::Move || t == ActionKind::Duplicate || t == ActionKind::Undo;
}

// ---- The kind of a change's target
// A size change carries a vertex list, stamp contents or neither, by the
// tool of the first record (from the first record) whose
// TargetID equals the change's. The change itself is in the history, so it
// ends that walk at the latest and then its own snapshot's tool decides;
// a change read from a file has no tool yet and so carries neither.
// Indexing the first record of every ID once keeps this linear in the
// length of the history.
class ChangeTargets {
 public:
  // Records in history order; only the first of each TargetID counts.
  void Add(const Action& record) { m_first.try_emplace(record.TargetID, &record); }
  // The deciding tool for `change` (its own when not indexed yet).
  ToolKind TargetTool(const Action& change) const {
    const auto it = m_first.find(change.TargetID);
    return it != m_first.end() ? it->second->FigData.DrawingTool : change.FigData.DrawingTool;
  }

 private:
  std::unordered_map<int32_t, const Action*, FigureIdHash> m_first;
};

