// Fuzzes what is read of a journal left behind: the search for its readable
// records and its side file. Besides crashes, leaks and undefined behaviour
// it checks that
//  - the readable start is a drawing file holding exactly the records
//    counted, and scanned again it gives itself back, undamaged;
//  - a side file reads into sane values that are written and read back
//    unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/journal.h"
#include "format/journal_files.h"

namespace {

void CheckScan(const std::string& bytes) {
  const JournalScan scan = ScanJournal(bytes);
  if (scan.Length > bytes.size() || scan.Count < 0) std::abort();
  if (scan.Length == 0) {
    if (scan.Count != 0) std::abort();
    return;
  }
  const std::string readable = bytes.substr(0, scan.Length);
  if (!std::string_view(readable).starts_with(HistoryHeaderText())) std::abort();
  AppState read;  // quiet: no box, no question answered Yes
  if (ReadHistory(read, readable) != 0 || read.History.Count() != scan.Count) std::abort();
  const JournalScan again = ScanJournal(readable);
  if (again.Length != scan.Length || again.Count != scan.Count || again.Damaged) std::abort();
}

void CheckSideFile(std::string_view text) {
  const JournalInfo info = journal_files::ParseInfo(text);
  if (info.BaseCount < 0 || info.ShownStep < 0 || (!info.ViewMode && info.ShownStep != 0) || info.FromBase < -1)
    std::abort();
  if (info.DataFileStamp.Known() != (info.DataFileStamp.Size >= 0)) std::abort();
  const JournalInfo back = journal_files::ParseInfo(journal_files::InfoText(info));
  if (back.DataFileName != info.DataFileName || back.BaseCount != info.BaseCount ||
      !(back.DataFileStamp == info.DataFileStamp) || back.ViewMode != info.ViewMode ||
      back.ShownStep != info.ShownStep || back.FromBase != info.FromBase)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckScan(bytes);
  CheckSideFile(bytes);
  return 0;
}
