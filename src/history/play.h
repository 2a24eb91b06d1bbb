// The replay engine: rebuilds the drawing of any step by applying the
// history from the first record to CurrentStep.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "history/state.h"

// Rebuilds DrawingFigs, DeletedFigs and the background for S.CurrentStep()
// (0 ≤ CurrentStep ≤ History.Count()) and repaints.
void GoToStep(AppState& S);
// The same for `step`, which becomes CurrentStep.
void GoToStep(AppState& S, int32_t step);
// The same, but when the figure lists hold an earlier step as a replay left
// them (ReplayedStep) and no record in between empties the drawing, only
// the records in between are applied: a step forward in the view mode
// costs one record, not the whole history.
void WalkToStep(AppState& S);
void WalkToStep(AppState& S, int32_t step);
// The picture side of the figures as they are: the background that the
// records applied ask for is loaded unless it shows already, and the canvas
// repainted. GoToStep ends with it; an undo, whose branch record rebuilt the
// figures, needs nothing else.
void ShowReplayedPicture(AppState& S);
// The drawing holds `history` and stands at step 0 without its picture
// side, as reading a file leaves it; the file name and the background shown
// stay as they are.
void LoadHistory(AppState& S, HistoryList history);
// After a drawing file was read (and its pictures found): the next figure
// gets the ID after the largest the file names.
void ContinueFigureIDs(AppState& S);
// Every ReadBG / ReadData record naming a picture `located` has a key for
// names the picture at its value instead (a picture found elsewhere).
void RenamePictures(AppState& S, const std::map<std::string, std::string>& located);
// The background the records applied so far ask for is loaded unless it
// shows already (by its bare name in the working folder when it is not
// where it was recorded); BGFileName stays as it is.
void LoadAskedBackground(AppState& S);
// The plain background, shown.
void ShowBlankBackground(AppState& S);
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

// Walks a drawing's records forward from step 0, applying each one once:
// the drawing after step k is exactly what GoToStep rebuilds for k, for a
// cost that grows with the number of records instead of with its square.
// Meant for a drawing of its own (an export's copy): the walk owns the
// records' links while it lasts. Backgrounds are left to the caller: after
// each step S.BGFileName() is the background the records applied so far ask
// for.
class ForwardReplay {
 public:
  // Empties the drawing and starts at step 0.
  explicit ForwardReplay(AppState& S);
  ~ForwardReplay();
  ForwardReplay(const ForwardReplay&) = delete;
  ForwardReplay& operator=(const ForwardReplay&) = delete;

  // Applies the next record; false (nothing done) at the last step.
  bool Next();
  int32_t Step() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> F;
};
