// The replay engine: rebuilds the drawing of any step by applying the
// history from the first record to CurrentStep.
#pragma once

#include "history/state.h"

// Rebuilds DrawingFigs, DeletedFigs and the background for S.CurrentStep
// (0 ≤ CurrentStep ≤ History.Count()) and repaints.
void GoToStep(AppState& S);
// The same, but when the figure lists hold an earlier step as a replay left
// them (ReplayedStep) and no record in between empties the drawing, only
// the records in between are applied: a step forward in the view mode
// costs one record, not the whole history.
void WalkToStep(AppState& S);
// The picture side of the figures as they are: the background that the
// records applied ask for is loaded unless it shows already, and the canvas
// repainted. GoToStep ends with it; an undo, whose branch record rebuilt the
// figures, needs nothing else.
void ShowReplayedPicture(AppState& S);
// Step 0 without its picture side: the figure lists emptied, no record
// linked to a figure, CurrentStep 0.
void ClearToStepZero(AppState& S);
// Applies the record of `step` to the drawing; sets its TargetFig and
// TargetItem. The drawing then no longer holds a replayed step.
void ApplyAction(AppState& S, int32_t step);
// Clears TargetFig and TargetItem of every record after `step` (the records
// that a rebuild up to `step` does not apply).
void ForgetLinksAfter(HistoryList& history, int32_t step);
// Copies the attribute named by the record's Parameter onto `target`.
void ApplyChange(const Action& change, Figure& target);
