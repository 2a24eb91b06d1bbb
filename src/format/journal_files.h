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
inline constexpr std::string_view kBaseSuffix = ".base";
// The side file: the header, the step line, the base, the stamp line, the
// line of the records in the journal's base, then the drawing's file name. Side files of the second kind lack the stamp
// line (the file's stamp is not known), those of the first kind the step
// line as well (the last step is shown).
inline constexpr std::string_view kInfoHeader = "TAMLO JOURNAL 3\n";
inline constexpr std::string_view kInfoHeaderWithoutStamp = "TAMLO JOURNAL 2\n";
inline constexpr std::string_view kInfoHeaderWithoutStep = "TAMLO JOURNAL 1\n";
// The stamp line: "file SIZE MODIFIED-NS DEVICE INODE", or "file -" when
// not known.
inline constexpr std::string_view kStampWord = "file ";
// The base line: "from N", N records in the base.
inline constexpr std::string_view kFromWord = "from ";
// The step line, "view 0000000012" or "draw 0000000000", is always of the
// same length, right after the header, so that a new step is written over
// the old one in place; its line end is never written again.
inline constexpr std::string_view kViewWord = "view ";
inline constexpr std::string_view kDrawWord = "draw ";
inline constexpr int kStepDigits = 10;
inline constexpr std::string_view kBlockEnd = "\r\nend ActionData\r\n";

// How many further ends of blocks are tried past one that does not read (a
// text "end ActionData" inside a record looks like an end), and how often:
// the bound keeps a journal damaged on purpose from costing a read of the
// whole journal per block.
inline constexpr int kMaxCutTries = 64;

// A side file without its journal is removed once it is this old: a window
// writes a new journal's side file moments before the journal takes its name.
inline constexpr time_t kStraySideFileSeconds = 60 * 60;


bool IsJournalName(std::string_view name);
std::string InfoPath(const std::string& journal);
std::string BasePath(const std::string& journal);
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
// A side file's text as ReadInfo reads it: whatever cannot be read in it
// leaves that part at its default (no file name, base 0, the last step).
JournalInfo ParseInfo(std::string_view text);
bool ReadsQuietly(std::string_view text, int32_t* count);
std::string RandomTag();

}  // namespace journal_files
