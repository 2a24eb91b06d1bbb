// Changing a drawing. Every change is an action record: the window's tools
// and commands make one here, apply it to the drawing with ApplyAction — the
// same entry that replay uses for recorded actions — and record it (time of
// day, process display, and whatever else follows every action). Each
// starts by committing the preview (a slider resize or a drag under way),
// so that it stays a step of its own before the action.
//
// Refusals (nothing selected, nothing to bring back, a figure already at
// the front) change and record nothing; the window tells the user.
#pragma once

#include <cstdint>
#include <string>

#include "history/state.h"

// Records the preview, if any, as one action applied to the drawing like
// any other, and drops it: a slider resize as a size change when the size
// differs from the figure's latest record, a drag as a move when it left
// the figure elsewhere. Every action below starts with it, and so does
// whatever ends editing a figure (a mode change, the mouse moving on, a
// save, an export, the exit).
void CommitPreview(AppState& S);
// The selected figure dragged on by (dx, dy): only its preview moves. A
// preview of anything else is committed first. Nothing when nothing is
// selected.
void DragSelected(AppState& S, int32_t dx, int32_t dy);
// Drops a drag's preview unrecorded (a drag that came back where it
// started); a slider resize stays. False when there was none.
bool DropDrag(AppState& S);

// The front-most figure on the canvas, as the screen shows it, whose box holds `p`
// (to be selected); null when none.
Figure* FrontFigureAt(AppState& S, Point p);

// A new figure on top, a deep copy of `fig` (mouse tools, text, stamps).
Figure* CreateFigure(AppState& S, const Figure& fig);
// A copy of the selected figure 20 pixels right and down, on top; it
// becomes the selection. Null when nothing is selected.
Figure* DuplicateSelected(AppState& S);
// Moves the selected figure to the deleted figures; nothing stays selected.
// False when nothing is selected.
bool DeleteSelected(AppState& S);
// Brings the figure deleted last back on top. Null when none was deleted.
Figure* RestoreDeleted(AppState& S);
// One step toward the front or the back. False when nothing is selected or
// the figure is already front-most or back-most.
bool MoveSelectedFront(AppState& S);
bool MoveSelectedBack(AppState& S);
// Records where a drag left the selected figure: its drag preview, or the
// place it has when it was not dragged.
void RecordMoveOfSelected(AppState& S);
// Changes one attribute of the selected figure: `changed` is the figure as
// it should become (only the attribute named by `parameter` is taken; for a
// text, the text and its box). False when nothing is selected.
bool ChangeSelected(AppState& S, ParameterKind parameter, const Figure& changed);
// The background picture from `path`, already shown by the picture side.
void SetBackground(AppState& S, const std::string& path);
// ClearBG (the background only), ClearDrawing (figures and the deleted
// figures) or ClearAll (both). Clearing the figures clears the selection.
void ClearDrawing(AppState& S, ActionKind kind);
// Back to the picture of `step` (0 = the empty canvas), the step before it
// staying in the history.
void BranchTo(AppState& S, int32_t step);
