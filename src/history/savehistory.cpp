#include "history/savehistory.h"

#include "history/describe.h"
#include "history/journal.h"

namespace {

// The last steps every recorder shares: the time of day, the journal (the
// record is on the disk before anything shows it), then the process display.
void Finish(TTamloState& S, TActionItem* item) {
  item->Data.ActionTime = S.Clock->Now();
  if (S.Journal != nullptr) S.Journal->Record(S);
  ShowAction(S, item->Data);
}

}  // namespace

void FinishRecord(TTamloState& S, TActionItem* item) { Finish(S, item); }
