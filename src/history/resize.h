// Resizing the selected figure with the two size trackbars. A position is an
// absolute offset against the reference geometry taken at the last release.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "history/state.h"

enum class ResizeResult {
  NoSelection,   // nothing selected: nothing happened
  Done,          // the preview was resized (or left as it was)
  StampUnresolved,  // a stamp without any record of it: left unchanged
};

// Width in pixels of `text` written at `textSize` points in the figure font.
using TextWidthFn = std::function<int32_t(const std::string& text, int32_t textSize)>;

// Applies a trackbar position to the selected figure's preview (the
// drawing keeps the figure as recorded until CommitPreview). `horizontal` is
// true for HTrackBar; `position` is that bar's position (-99 … 100). Does
// not repaint.
ResizeResult ResizeSelectedFig(AppState& S, bool horizontal, int32_t position,
                                const TextWidthFn& textWidth);
// Rescales the contents of `stamp` from `reference`'s contents
// after the stamp's own box has been set, on one axis, to any depth.
void ScaleStampContents(const Figure& reference, bool horizontal, Figure& stamp);
// Takes the selected figure's geometry, as the screen shows it, as the new
// resize reference (ResizeStart, ResizeEnd, ResizeTextSize, ResizePoints).
// Nothing when no figure is selected.
void TakeResizeReference(AppState& S);
