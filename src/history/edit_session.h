// What the person drawing is doing with the drawing right now: the mode, the
// tool, the selection and a resize not yet recorded. Never saved; the mouse
// tools keep their own drag state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/figure.h"

enum class WindowMode : uint8_t { Draw = 0, Edit = 1, Play = 2 };

struct EditSession {
  WindowMode WorkMode = WindowMode::Draw;
  ToolKind CurrentTool = ToolKind::None;

  Figure* SelectedFig = nullptr;  // selection in edit mode (a figure on the canvas)
  Figure* MarkedFig = nullptr;    // whose selection frame is on screen

  // Trackbar resize not yet recorded.
  bool PendingResize = false;
  Figure* ResizeFig = nullptr;
  const Figure* StampReference = nullptr;  // the snapshot a stamp resize scales from

  // The selected figure's geometry when it was last released (resize reference).
  Point ResizeStart, ResizeEnd;
  int32_t ResizeTextSize = 0;
  std::array<Point, MaxPoints> ResizePoints{};

  std::optional<std::vector<Figure>> CurrentStamp;  // relative to StampTopLeft; none until one is set
  Point StampTopLeft, StampBottomRight;
};
