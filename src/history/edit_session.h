// What the person drawing is doing with the drawing right now: the mode, the
// tool, the selection and a change of one figure on the screen that is not
// recorded yet (the preview). Never saved; the mouse tools keep their own
// drag state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/figure.h"

enum class WindowMode : uint8_t { Draw = 0, Edit = 1, Play = 2 };

// A change of one figure under way: the size sliders or a drag. The screen
// shows the figure as the change would make it; the drawing keeps the figure
// as its history has it until the change is recorded as one action
// (CommitPreview, history/actions.h), so the figure lists always equal what
// a replay of the history makes.
enum class PreviewKind : uint8_t { None = 0, Resize = 1, Move = 2 };

struct FigurePreview {
  PreviewKind Kind = PreviewKind::None;
  Figure* Of = nullptr;  // the figure of the drawing it stands for (never changed through it)
  Figure Fig;            // that figure as it would become
};

struct EditSession {
  WindowMode WorkMode = WindowMode::Draw;
  ToolKind CurrentTool = ToolKind::None;

  Figure* SelectedFig = nullptr;  // selection in edit mode (a figure on the canvas)
  Figure* MarkedFig = nullptr;    // whose selection frame is on screen

  FigurePreview Preview;
  const Figure* StampReference = nullptr;  // the snapshot a stamp resize scales from

  // A slider resize is shown and not recorded yet.
  bool ResizePending() const { return Preview.Kind == PreviewKind::Resize; }
  // `fig` as the screen shows it: its preview when it has one.
  const Figure& Shown(const Figure& fig) const {
    return Preview.Kind != PreviewKind::None && Preview.Of == &fig ? Preview.Fig : fig;
  }

  // The selected figure's geometry when it was last released (resize reference).
  Point ResizeStart, ResizeEnd;
  int32_t ResizeTextSize = 0;
  std::array<Point, MaxPoints> ResizePoints{};

  std::optional<std::vector<Figure>> CurrentStamp;  // relative to StampTopLeft; none until one is set
  Point StampTopLeft, StampBottomRight;
};
