// Random figures as a child draws them, shared by the drawing benchmarks and
// the tests' random sessions: lines 1 to 9 pixels, half filled, free lines
// of 60 points.
#pragma once

#include <random>

#include "document/figure.h"

// One figure of `tool`; a point figure's vertices are made in `pts` and
// copied into the figure.
inline Figure RandomFigure(std::mt19937& rng, ToolKind tool, Vertex& pts) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  static const ColorRef colours[] = {clBlack, clWhite, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0x808080, clBtnFace};
  Figure f;
  f.DrawingTool = tool;
  f.PenWidth = 1 + 2 * pick(5);
  f.PenColor = colours[pick(7)];
  f.BrushColor = colours[pick(8)];
  f.TextSize = 10 + pick(20);
  f.TextColor = colours[pick(7)];
  f.Start = {pick(560), pick(400)};
  f.End = {f.Start.X + 10 + pick(120), f.Start.Y + 10 + pick(100)};
  if (tool == ToolKind::Text) f.Text = pick(2) ? "おえかき たのしいね" : "Tamlo 123";
  if (IsPointFigure(tool)) {
    pts.Reset();
    const int n = tool == ToolKind::FreeLine ? 60 : 3 + pick(8);
    int x = f.Start.X, y = f.Start.Y;
    for (int i = 0; i < n; ++i) {
      pts.AddPoint(x, y);
      x += pick(21) - 10, y += pick(21) - 10;
    }
    f.PointData = pts;
    f.SetBoundsFromPoints();
  }
  return f;
}
