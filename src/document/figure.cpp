#include "document/figure.h"

#include <algorithm>
#include <cassert>
#include <ostream>

int Vertex::AddPoint(int32_t x, int32_t y) {
  if (Count() >= MaxPoints) return 1;
  if (Points.empty()) {
    MinX = MaxX = x;
    MinY = MaxY = y;
  }
  if (x < MinX)
    MinX = x;
  else if (x > MaxX)
    MaxX = x;
  if (y < MinY)
    MinY = y;
  else if (y > MaxY)
    MaxY = y;
  Points.push_back(Point{x, y});
  return 0;
}

void Vertex::Reset() {
  Points.clear();
  MinX = MinY = MaxX = MaxY = -100;
}

void Figure::SetBoundsFromPoints() {
  Start = Point{PointData.MinX, PointData.MinY};
  End = Point{PointData.MaxX, PointData.MaxY};
}

void Figure::Offset(int32_t dx, int32_t dy) {
  Start.X = WrapAdd(Start.X, dx);
  Start.Y = WrapAdd(Start.Y, dy);
  End.X = WrapAdd(End.X, dx);
  End.Y = WrapAdd(End.Y, dy);
  if (IsPointFigure(DrawingTool)) {
    for (Point& p : PointData.Points) {
      p.X = WrapAdd(p.X, dx);
      p.Y = WrapAdd(p.Y, dy);
    }
  }
}

void Figure::SetPoint(bool isY, int32_t index, int32_t value) {
  assert(index >= 0 && index < PointData.Count());
  if (index < 0 || index >= PointData.Count()) return;
  if (isY)
    PointData.Points[index].Y = value;
  else
    PointData.Points[index].X = value;
}

Figure StoredCopy(const Figure& src) {
  // Attribute by attribute: copying the whole figure would copy the
  // vertices and contents only to rebuild them.
  Figure dst;
  dst.DrawingTool = src.DrawingTool;
  dst.PenWidth = src.PenWidth;
  dst.PenColor = src.PenColor;
  dst.BrushColor = src.BrushColor;
  dst.BrushStyle = src.BrushStyle;
  dst.TextSize = src.TextSize;
  dst.TextColor = src.TextColor;
  dst.Text = src.Text;
  dst.Start = src.Start;
  dst.End = src.End;
  if (IsPointFigure(src.DrawingTool)) {
    const size_t n = std::min<size_t>(src.PointData.Points.size(), MaxPoints);
    dst.PointData.Points.reserve(n);
    for (size_t i = 0; i < n; ++i) dst.PointData.AddPoint(src.PointData.Points[i].X, src.PointData.Points[i].Y);
    dst.SetBoundsFromPoints();
  } else if (src.DrawingTool == ToolKind::Stamp) {
    dst.StampData.reserve(src.StampData.size());
    for (const Figure& f : src.StampData) dst.StampData.push_back(StoredCopy(f));
  }
  return dst;
}

std::ostream& operator<<(std::ostream& out, const Point& point) { return out << '(' << point.X << ',' << point.Y << ')'; }

std::ostream& operator<<(std::ostream& out, const Figure& f) {
  out << "{tool " << static_cast<int>(f.DrawingTool) << " pen " << f.PenWidth << " #" << std::hex << f.PenColor
      << " brush #" << f.BrushColor << std::dec << " style " << static_cast<int>(f.BrushStyle) << " text "
      << f.TextSize << " #" << std::hex << f.TextColor << std::dec << " \"" << f.Text << "\" " << f.Start << '-'
      << f.End;
  if (!f.PointData.Points.empty() || f.PointData.MinX != -100 || f.PointData.MaxX != -100) {
    out << " points";
    for (const Point& p : f.PointData.Points) out << ' ' << p;
    out << " bounds " << Point{f.PointData.MinX, f.PointData.MinY} << '-' << Point{f.PointData.MaxX, f.PointData.MaxY};
  }
  if (!f.StampData.empty()) {
    out << " contents [";
    for (const Figure& c : f.StampData) out << ' ' << c;
    out << " ]";
  }
  return out << '}';
}
