// The end of every recorded action: the time of day, the process display,
// and everything else that follows each action. Actions are made in
// history/actions.h; this is the one place they all pass when recorded.
#pragma once

#include "history/state.h"

// Stamps `record` (just appended and applied) with the time and hands it on.
void FinishRecord(AppState& S, Action& record);
