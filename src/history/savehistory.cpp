#include "history/savehistory.h"

#include "history/describe.h"
#include "history/drawing_write.h"

namespace {

// The last steps every recorder shares: the time of day, the journal (the
// record is on the disk before anything shows it), then the process display.
void Finish(AppState& S, Action& record) {
  record.ActionTime = S.Clock->Now();
  if (S.Journal != nullptr) S.Journal->Recorded(Writable(S).History, *S.Dialogs);
  ShowAction(S, record);
}

}  // namespace

void FinishRecord(AppState& S, Action& record) { Finish(S, record); }
