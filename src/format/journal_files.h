// The journal's files on the disk: names, the side file's text, whole
// writes and reads. Shared by the running journal and the journals found
// left behind.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "format/journal.h"

namespace journal_files {


inline constexpr std::string_view kJournalPrefix = "journal-";
inline constexpr std::string_view kJournalSuffix = ".tlo";
inline constexpr std::string_view kInfoSuffix = ".info";
// The side file: the header, the step line, the base, then the drawing's
// file name. Side files of the first kind lack the step line (the last
// step is shown).
inline constexpr std::string_view kInfoHeader = "TAMLO JOURNAL 2\n";
inline constexpr std::string_view kInfoHeaderWithoutStep = "TAMLO JOURNAL 1\n";
// The step line, "view 0000000012" or "draw 0000000000", is always of the
// same length, right after the header, so that a new step is written over
// the old one in place; its line end is never written again.
inline constexpr std::string_view kViewWord = "view ";
inline constexpr std::string_view kDrawWord = "draw ";
inline constexpr int kStepDigits = 10;
inline constexpr std::string_view kBlockEnd = "\r\nend ActionData\r\n";

// How many ends of blocks, from the last one back, are tried as the end of
// the whole records. A crash tears only the last block, so the first or the
// second try finds it; the bound keeps a journal damaged in some other way
// from costing a read of the whole journal per block.
inline constexpr int kMaxCutTries = 64;

// A side file without its journal is removed once it is this old: a window
// writes a new journal's side file moments before the journal takes its name.
inline constexpr time_t kStraySideFileSeconds = 60 * 60;


bool IsJournalName(std::string_view name);
std::string InfoPath(const std::string& journal);
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string TempPathFor(const std::string& path);
bool WriteFully(int fd, std::string_view bytes);
void SyncFolder(const std::string& folder);
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
bool ReadSmallFile(const std::string& path, std::string& bytes);
bool MakeFolders(const std::string& folder);
std::string StepText(const JournalInfo& info);
std::string InfoText(const JournalInfo& info);
JournalInfo ReadInfo(const std::string& journal);
bool ReadsQuietly(std::string_view text, int32_t* count);
std::string RandomTag();

}  // namespace journal_files
