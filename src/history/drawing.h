// The drawing itself: its history, the figures the history has made so far,
// and the background pictures. Everything a file holds or replay rebuilds;
// nothing of the window.
#pragma once

#include <cstdint>
#include <string>

#include "document/figlist.h"
#include "history/history.h"

struct Drawing {
  std::string DataFileName;  // drawing last loaded or saved; empty = never

  HistoryList History;     // History.NextFigID hands out figure IDs
  FigureList DrawingFigs;  // figures on the canvas, back to front
  FigureList DeletedFigs;  // deleted figures, oldest first (the undo store)

  // Records applied to the figures: 0 none, History.Count() all of them.
  int32_t CurrentStep = 0;
  bool AtLastStep() const { return CurrentStep == History.Count(); }
  // The step the figure lists hold exactly as a replay left them (no record
  // after it linked to a figure); -1 once anything else changed them.
  int32_t ReplayedStep = -1;

  // Background picture asked for by the records applied so far, and the one
  // the background now shows (empty = plain).
  std::string BGFileName;
  std::string ShownBGFileName;

  Drawing() = default;
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;
};
