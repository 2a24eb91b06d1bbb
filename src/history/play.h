// The replay engine: rebuilds the drawing of any step by applying the
// history from the first record to CurrentStep.
#pragma once

#include "history/state.h"

// Rebuilds DrawingFigs, DeletedFigs and the background for S.CurrentStep
// (which must be an item of S.History) and repaints.
void GoToStep(AppState& S);
// Applies one record; sets its TargetFig and TargetItem.
void ApplyAction(AppState& S, HistoryItem* item);
// Clears TargetFig and TargetItem of every record after `item` (the records
// that a rebuild up to `item` does not apply).
void ForgetLinksAfter(HistoryItem* item);
// Copies the attribute named by the record's Parameter onto `target`.
void ApplyChange(HistoryItem* item, FigureItem* target);
