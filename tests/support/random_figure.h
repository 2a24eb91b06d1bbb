// Random figures as a child draws them, shared by the drawing benchmarks and
// the tests' random sessions: lines 1 to 9 pixels, half filled, free lines
// of 60 points. Tests that need rougher figures (no pen, boxes drawn
// backwards, single-vertex lines, nested stamps) pass a style of their own.
#pragma once

#include <random>
#include <vector>

#include "document/figure.h"

// Every kind of figure, in the order the random makers pick them; stamps
// last, so `kEveryKind` without its last entry is every kind but stamps.
inline constexpr ToolKind kEveryKind[] = {ToolKind::Text,      ToolKind::Line,     ToolKind::FreeLine,
                                          ToolKind::Ellipse,   ToolKind::Rectangle, ToolKind::Polyline,
                                          ToolKind::Polygon,   ToolKind::Stamp};

// The ranges a random figure's attributes are picked from: each count is
// how many values follow its first, one a step (a count of 1 picks nothing
// and leaves the first).
struct RandomFigureStyle {
  int NoPenOneIn = 0;  // a figure without a pen one time in this many (0: never)
  int PenWidths = 5, PenWidthStep = 2;  // pens 1, 1 + step, ...
  int TextSizeMin = 10, TextSizes = 20;
  Point Corner{0, 0};  // the start lies in Corner + Across × Down
  int Across = 560, Down = 400;
  Point Least{10, 10};  // the end lies at start + Least + Wider × Taller
  int Wider = 120, Taller = 100;
  const char* Texts[2] = {"おえかき たのしいね", "Tamlo 123"};
  int FreeLineMin = 60, FreeLineCounts = 1;  // vertices of a free line
  int PointsMin = 3, PointCounts = 8;        // vertices of the other point figures
  int Stride = 10;                           // each vertex within ±Stride of the last
  int PartsMin = 0, Parts = 0;  // figures in a stamp (Parts 0: stamps come empty), nested twice
  int PartReach = 0;            // each part placed within PartReach × PartReach of the stamp
};

namespace random_figure_detail {
inline Figure Make(std::mt19937& rng, ToolKind tool, Vertex& pts, const RandomFigureStyle& style, int depth) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  auto range = [&](int least, int n) { return least + (n > 1 ? pick(n) : 0); };
  static const ColorRef colours[] = {clBlack, clWhite, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0x808080, clBtnFace};
  Figure f;
  f.DrawingTool = tool;
  const bool noPen = style.NoPenOneIn > 0 && pick(style.NoPenOneIn) == 0;
  f.PenWidth = noPen ? 0 : 1 + style.PenWidthStep * range(0, style.PenWidths);
  f.PenColor = colours[pick(7)];
  f.BrushColor = colours[pick(8)];
  f.TextSize = range(style.TextSizeMin, style.TextSizes);
  f.TextColor = colours[pick(7)];
  f.Start = {range(style.Corner.X, style.Across), range(style.Corner.Y, style.Down)};
  f.End = {range(f.Start.X + style.Least.X, style.Wider), range(f.Start.Y + style.Least.Y, style.Taller)};
  if (tool == ToolKind::Text) f.Text = pick(2) ? style.Texts[0] : style.Texts[1];
  if (IsPointFigure(tool)) {
    pts.Reset();
    const int n = tool == ToolKind::FreeLine ? range(style.FreeLineMin, style.FreeLineCounts)
                                             : range(style.PointsMin, style.PointCounts);
    int x = f.Start.X, y = f.Start.Y;
    for (int i = 0; i < n; ++i) {
      pts.AddPoint(x, y);
      x += pick(2 * style.Stride + 1) - style.Stride, y += pick(2 * style.Stride + 1) - style.Stride;
    }
    f.PointData = pts;
    f.SetBoundsFromPoints();
  }
  if (tool == ToolKind::Stamp && style.Parts > 0) {
    for (int k = 0, n = style.PartsMin + pick(style.Parts); k < n; ++k) {
      Vertex innerPts;
      const ToolKind t = depth < 2 ? kEveryKind[pick(8)] : kEveryKind[pick(7)];
      Figure inner = Make(rng, t, innerPts, style, depth + 1);
      inner.Offset(-inner.Start.X + pick(style.PartReach), -inner.Start.Y + pick(style.PartReach));
      f.StampData.push_back(StoredCopy(inner));
    }
  }
  return f;
}
}  // namespace random_figure_detail

// One figure of `tool`; a point figure's vertices are made in `pts` and
// copied into the figure.
inline Figure RandomFigure(std::mt19937& rng, ToolKind tool, Vertex& pts, const RandomFigureStyle& style = {}) {
  return random_figure_detail::Make(rng, tool, pts, style, 0);
}
