// The recorders: each appends one record to the history at the tail, with
// the time of day and, for a figure, its ID and a snapshot, and hands it to
// the process display. A pending trackbar resize is recorded first.
#pragma once

#include <string>

#include "history/state.h"

// Create, Duplicate or Undo of `item` (just added to DrawingFigs): new ID.
void RecordCreate(TTamloState& S, TActionType kind, TFigItem* item);
// ReadBG with the path as chosen.
void RecordFile(TTamloState& S, TActionType kind, const std::string& path);
// Move (snapshot of SelectedFig), Delete, Front, Back (SelectedFig's ID), and
// the three clear kinds.
void RecordAction(TTamloState& S, TActionType kind);
// Change of SelectedFig's line colour, body colour, line width or text colour.
void RecordChange(TTamloState& S, TActionType kind, TParameterType parameter);
// Change of SelectedFig's text.
void RecordTextChange(TTamloState& S);
// Records the pending trackbar resize of ResizeFig if its size changed, then
// clears PendingResize, ResizeFig and StampReference.
void FlushResize(TTamloState& S);
// Branch back to `step` (the view mode's slider position).
void RecordBranch(TTamloState& S, int32_t step);
