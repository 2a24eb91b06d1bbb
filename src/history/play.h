// The replay engine: rebuilds the drawing of any step by applying the
// history from the first record to CurrentStep.
#pragma once

#include "history/state.h"

// Rebuilds DrawingFigs, DeletedFigs and the background for S.CurrentStep
// (0 ≤ CurrentStep ≤ History.Count()) and repaints.
void GoToStep(AppState& S);
// Applies the record of `step` to the drawing; sets its TargetFig and
// TargetItem.
void ApplyAction(AppState& S, int32_t step);
// Clears TargetFig and TargetItem of every record after `step` (the records
// that a rebuild up to `step` does not apply).
void ForgetLinksAfter(HistoryList& history, int32_t step);
// Copies the attribute named by the record's Parameter onto `target`.
void ApplyChange(const Action& change, Figure& target);
