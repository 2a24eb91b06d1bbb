// Fuzzes the drawing file reader. Besides crashes, leaks and undefined
// behaviour it checks three promises:
//  - a refused file leaves an empty history and NextFigID 1;
//  - whatever the reader accepts, the writer writes a file it accepts again;
//  - that second reading writes the same bytes (when every time field fits
//    in two digits: larger ones are kept in memory but not re-read alike).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/history_reader.h"
#include "format/history_writer.h"

namespace {

// Says Yes to every question and cancels every file dialog, so the locating
// path runs as far as it can without touching the working folder.
class TFuzzDialogs : public UserDialogs {
 public:
  void ShowMessage(const std::string& text) override { Last = text; }
  void ShowError(const std::string& text) override { Last = text; }
  ModalResult Ask(const std::string&, const std::string&, QuestionButtons) override { return ModalResult::Yes; }
  bool Execute(FileDialog&) override { return false; }
  std::string Last;
};

class TCountingMemo : public ProcessDisplay {
 public:
  void AddLine(const std::string& line) override { Bytes += line.size(); }
  void Clear() override { Bytes = 0; }
  size_t Bytes = 0;
};

bool TimesFitTwoDigits(const HistoryList& h) {
  for (const Action& a : h) {
    const TimeOfDay& t = a.ActionTime;
    if (t.Hour > 99 || t.Min > 99 || t.Sec > 99 || t.Hund > 99) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TFuzzDialogs dialogs;
  TCountingMemo memo;
  AppState S;
  S.Dialogs = &dialogs;
  S.Memo = &memo;
  S.ShowProcess = size % 2 == 1;

  if (ReadHistory(S, text) != 0) {
    if (S.History.Count() != 0 || S.History.NextFigID != 1 || dialogs.Last.empty()) std::abort();
    return 0;
  }
  if (S.History.NextFigID < 1) std::abort();

  const std::string written = HistoryFileText(S.History);
  if (written.empty()) return 0;  // a CR inside a text reads, but is not written back
  AppState again;
  again.Dialogs = &dialogs;
  if (ReadHistory(again, written) != 0) std::abort();
  if (again.History.Count() != S.History.Count()) std::abort();
  if (TimesFitTwoDigits(S.History) && HistoryFileText(again.History) != written) std::abort();
  return 0;
}
