#include "history/savehistory.h"

#include "history/describe.h"

namespace {

// The last two steps every recorder shares: the time of day, then the
// process display.
void Finish(TTamloState& S, TActionItem* item) {
  item->Data.ActionTime = S.Clock->Now();
  ShowAction(S, item->Data);
}

}  // namespace

void FinishRecord(TTamloState& S, TActionItem* item) { Finish(S, item); }
