// One figure of the drawing, with the vertex list of a point figure and the
// contents of a stamp.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct Point {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// 0x00BBGGRR for plain colours; with the top bit set a system colour index.
using ColorRef = int32_t;
constexpr ColorRef clBlack = 0x000000;
constexpr ColorRef clWhite = 0xFFFFFF;
// The system colour "button face"; stored as a fill colour it means "no fill".
constexpr ColorRef clBtnFace = static_cast<ColorRef>(0x8000000Fu);

enum class ToolKind : int8_t {
  None = 0,
  Text = 1,
  Line = 2,
  FreeLine = 3,
  Ellipse = 4,
  Rectangle = 5,
  Polyline = 6,
  Polygon = 7,
  Stamp = 8,
  SetStamp = 9,
};

// Coordinate arithmetic wraps around like the 32-bit integers of the stored
// files instead of overflowing: values read from a hostile file may be huge.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Hard limit of every vertex list, whatever its capacity.
constexpr int32_t MaxPoints = 2000;

// Free lines, polylines and polygons carry a vertex list; no other kind does.
inline bool IsPointFigure(ToolKind tool) {
  return tool == ToolKind::FreeLine || tool == ToolKind::Polyline || tool == ToolKind::Polygon;
}

// An ordered list of vertices with running bounds. The bounds start at -100,
// are overwritten by the first point and only grow afterwards; editing points
// in place does not touch them (a stored copy rebuilds them).
struct Vertex {
  std::vector<Point> Points;
  int32_t MinX = -100;
  int32_t MinY = -100;
  int32_t MaxX = -100;
  int32_t MaxY = -100;

  // 0 when stored, 1 when the list already holds MaxPoints (nothing changes).
  int AddPoint(int32_t x, int32_t y);
  int32_t Count() const { return static_cast<int32_t>(Points.size()); }
  // Empties the list and puts the bounds back to -100.
  void Reset();

  friend bool operator==(const Vertex&, const Vertex&) = default;
};

// One figure, a plain value: a copy holds its own vertices and stamp
// contents, exactly as they are.
struct Figure {
  ToolKind DrawingTool = ToolKind::None;
  int32_t PenWidth = 0;
  ColorRef PenColor = 0;
  ColorRef BrushColor = 0;
  uint8_t BrushStyle = 0;  // 0 solid, 1 clear; carried along, never decides anything
  int32_t TextSize = 0;
  ColorRef TextColor = 0;
  std::string Text;  // UTF-8
  Point Start;
  Point End;
  Vertex PointData;                // point figures
  std::vector<Figure> StampData;   // stamps: the contents, relative to Start, back to front

  // Start/End := the bounding box of the vertices. Point figures only.
  void SetBoundsFromPoints();
  // Moves the figure; vertices move too, stamp contents (relative) and the
  // vertex bounds do not.
  void Offset(int32_t dx, int32_t dy);
  // Sets the X (isY false) or Y of one vertex; the caller keeps index < Count().
  void SetPoint(bool isY, int32_t index, int32_t value);

  // Equal in every attribute, vertex and stamp content (to any depth).
  friend bool operator==(const Figure&, const Figure&) = default;
};

// A figure as one line of text, every attribute in field order and the
// vertices and contents after them: for test failures and debugging.
std::ostream& operator<<(std::ostream& out, const Figure& figure);
std::ostream& operator<<(std::ostream& out, const Point& point);

// The figure as a list or a record keeps it: every attribute; for a point
// figure its vertices with the bounds rebuilt from them and Start/End taken
// from those; for a stamp its contents kept the same way to any depth.
// Vertices of other kinds and contents of non-stamps are not kept.
Figure StoredCopy(const Figure& src);
