// Figures and drawings for the tests, made in one place: figures with their
// vertices or stamp contents, and drawings recorded through the same actions
// the window records them with.
//
//   rect({10, 10}, {50, 40})            polyline({{0, 0}, {25, 50}})
//   text("あ", {10, 20}, 14)            stamp({100, 50}, {rect(...), polygon(...)})
//   withPoints(someFigure, {{1, 2}})    draw(S, {rect(...), ellipse(...)})
//   styled(line(...), 3, pen, brush)
//
// Histories as a file brings them, records written one by one and put in
// place whole:
//
//   HistoryList h;  addRecord(h, ActionKind::Create, 1, rect(...));
//   LoadHistory(S, std::move(h));        // step 0, as reading a file leaves it
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/figlist.h"
#include "history/actions.h"
#include "history/play.h"

// A figure made by the builders: a plain value that holds its vertices and
// stamp contents itself.
using BuiltFigure = Figure;

// A figure of any kind from `start` to `end`, in the style the builders
// share: a 4-pixel black pen over a white body, black 12-point text.
inline BuiltFigure shape(ToolKind tool, Point start, Point end) {
  BuiltFigure f;
  f.DrawingTool = tool;
  f.PenWidth = 4;
  f.PenColor = clBlack;
  f.BrushColor = clWhite;
  f.TextSize = 12;
  f.TextColor = clBlack;
  f.Start = start;
  f.End = end;
  return f;
}
inline BuiltFigure rect(Point start, Point end) { return shape(ToolKind::Rectangle, start, end); }
inline BuiltFigure ellipse(Point start, Point end) { return shape(ToolKind::Ellipse, start, end); }
inline BuiltFigure line(Point start, Point end) { return shape(ToolKind::Line, start, end); }

// A text figure at `at` in `colour` (its box is left for the window to
// measure: both corners are `at`).
inline BuiltFigure text(const std::string& text, Point at, int size = 12, ColorRef colour = clBlack) {
  BuiltFigure f = shape(ToolKind::Text, at, at);
  f.Text = text;
  f.TextSize = size;
  f.TextColor = colour;
  return f;
}

// `figure` drawn with a `penWidth` pen of `pen` over a `brush` body
// (clBtnFace: an empty body).
inline BuiltFigure styled(Figure figure, int penWidth, ColorRef pen, ColorRef brush = clBtnFace) {
  figure.PenWidth = penWidth;
  figure.PenColor = pen;
  figure.BrushColor = brush;
  return figure;
}

// `figure` with the vertex list `points`; its corners stay as they are.
inline BuiltFigure withPoints(const Figure& figure, const std::vector<Point>& points) {
  Figure f = figure;
  f.PointData.Reset();
  for (const Point& p : points) f.PointData.AddPoint(p.X, p.Y);
  return f;
}

// A point figure of `tool` through `points`, its corners their bounding box.
inline BuiltFigure pointFigure(ToolKind tool, const std::vector<Point>& points) {
  BuiltFigure f = withPoints(shape(tool, {}, {}), points);
  f.SetBoundsFromPoints();
  return f;
}
inline BuiltFigure polyline(const std::vector<Point>& points) { return pointFigure(ToolKind::Polyline, points); }
inline BuiltFigure polygon(const std::vector<Point>& points) { return pointFigure(ToolKind::Polygon, points); }
inline BuiltFigure freeLine(const std::vector<Point>& points) { return pointFigure(ToolKind::FreeLine, points); }

// `figure` holding copies of `contents`, first to last, as its stamp
// contents (positions relative to the stamp's start).
inline BuiltFigure withContents(const Figure& figure, std::initializer_list<Figure> contents) {
  Figure f = figure;
  f.StampData.clear();
  for (const Figure& c : contents) f.StampData.push_back(StoredCopy(c));
  return f;
}

// A stamp from `start` to `end` (or at `start`) holding copies of `contents`.
inline BuiltFigure stamp(Point start, Point end, std::initializer_list<Figure> contents) {
  return withContents(shape(ToolKind::Stamp, start, end), contents);
}
inline BuiltFigure stamp(Point start, std::initializer_list<Figure> contents) {
  return stamp(start, start, contents);
}

// A stamp at `start` holding `contents` as they are (no copy: fit for deep
// nesting), and the same appended to `list`.
inline BuiltFigure stampHolding(Point start, std::vector<Figure> contents) {
  Figure fig;
  fig.DrawingTool = ToolKind::Stamp;
  fig.Start = start;
  fig.End = start;
  fig.StampData = std::move(contents);
  return fig;
}
inline Figure* addStamp(FigureList& list, Point start, std::vector<Figure> contents) {
  Figure& fig = list.AddEmpty();
  fig = stampHolding(start, std::move(contents));
  return &fig;
}

// A 10-pixel square at `start` whose text is `name`: the figures of the
// tests that follow figures by name through a list or a replay.
inline BuiltFigure named(const std::string& name, Point start = {}) {
  BuiltFigure f = rect(start, {start.X + 10, start.Y + 10});
  f.Text = name;
  return f;
}

// Draws `figures` into S one after the other as the drawing tools do: each
// creation recorded with its own figure ID. Returns the figures drawn.
inline std::vector<Figure*> draw(AppState& S, std::initializer_list<Figure> figures) {
  std::vector<Figure*> drawn;
  for (const Figure& f : figures) drawn.push_back(CreateFigure(S, f));
  return drawn;
}

// The figures of `list`, back to front, as values to compare and print.
inline std::vector<Figure> listed(const FigureList& list) { return std::vector<Figure>(list.begin(), list.end()); }

// A record of `kind` appended to `history`: naming figure (or step) `id`,
// its snapshot a stored copy of `snapshot`, changing `parameter`.
inline Action& addRecord(HistoryList& history, ActionKind kind, int32_t id = 0, const Figure& snapshot = Figure(),
                         ParameterKind parameter = ParameterKind::None) {
  Action& a = history.Add(snapshot);
  a.TargetType = kind;
  a.TargetID = id;
  a.Parameter = parameter;
  return a;
}
// A ReadBG record (or another kind naming a file) appended to `history`.
inline Action& addFileRecord(HistoryList& history, ActionKind kind, const std::string& file) {
  Action& a = history.Add();
  a.TargetType = kind;
  a.FileName = file;
  return a;
}

// A copy of the records of `from`, without their links, with its ID counter.
inline HistoryList copyRecords(const HistoryList& from) {
  HistoryList to;
  for (const Action& a : from) {
    Action& copy = to.Add();
    copy = a;
    copy.TargetFig = nullptr;
    copy.TargetItem.reset();
  }
  to.NextFigID = from.NextFigID;
  return to;
}

// The figures on the canvas, back to front, to select and edit: after a
// replay the records that made them link each one.
inline std::vector<Figure*> linkedFigures(const AppState& S) {
  std::unordered_map<const Figure*, Figure*> made;
  for (const Action& a : S.History())
    if (a.TargetFig != nullptr) made.emplace(a.TargetFig, a.TargetFig);
  std::vector<Figure*> figs;
  for (const Figure& f : S.Figures()) {
    const auto it = made.find(&f);
    if (it != made.end()) figs.push_back(it->second);
  }
  return figs;
}
