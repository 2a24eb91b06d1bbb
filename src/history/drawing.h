// The drawing itself: its history, the figures the history has made so far,
// and the background pictures. Everything a file holds or replay rebuilds;
// nothing of the window.
//
// Anyone reads it; it changes in one place. Outside history/ the only ways
// to change it are an action recorded live (history/actions.h: applied,
// then recorded, in one call), a replay to a step (history/play.h), a
// history put in place whole (LoadHistory, as reading a file does) and
// Reset. The code of history/ writes the fields through Writable
// (history/drawing_write.h); .ci/check-drawing-writes.py keeps it there.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "document/figlist.h"
#include "history/history.h"

class Drawing {
 public:
  Drawing() = default;
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  // The drawing last loaded or saved; empty = never.
  const std::string& DataFileName() const { return D.DataFileName; }
  // The records; History().NextFigID hands out figure IDs.
  const HistoryList& History() const { return D.History; }
  // The figures on the canvas, back to front.
  const FigureList& Figures() const { return D.Figures; }
  // The deleted figures, oldest first (the undo store).
  const FigureList& DeletedFigures() const { return D.DeletedFigures; }
  // Records applied to the figures: 0 none, History().Count() all of them.
  int32_t CurrentStep() const { return D.CurrentStep; }
  bool AtLastStep() const { return D.CurrentStep == D.History.Count(); }
  // The step the figure lists hold exactly as a replay left them (no record
  // after it linked to a figure); -1 once anything else changed them.
  int32_t ReplayedStep() const { return D.ReplayedStep; }
  // The background picture asked for by the records applied so far, and
  // the one the background now shows (empty = plain).
  const std::string& BGFileName() const { return D.BGFileName; }
  const std::string& ShownBGFileName() const { return D.ShownBGFileName; }

  // A new, empty drawing of no file: no record, no figure, step 0.
  void Reset() { D = Fields{}; }
  // The file the drawing was loaded from or saved to.
  void NameFile(std::string name) { D.DataFileName = std::move(name); }

 private:
  struct Fields {
    std::string DataFileName;
    HistoryList History;
    FigureList Figures;
    FigureList DeletedFigures;
    int32_t CurrentStep = 0;
    int32_t ReplayedStep = -1;
    std::string BGFileName;
    std::string ShownBGFileName;
  };
  Fields D;

  friend Fields& Writable(Drawing& drawing);
};
