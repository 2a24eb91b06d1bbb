#include "document/figure.h"

#include <cassert>

Vertex::Vertex() : Vertex(MaxPoints) {}

Vertex::Vertex(int32_t capacity)
    : Points(new Point[capacity > 0 ? capacity : 1]), m_capacity(capacity > 0 ? capacity : 0) {}

int Vertex::AddPoint(int32_t x, int32_t y) {
  // A list made for copying N points is never asked for more; refusing at
  // the capacity as well keeps a misuse from writing past the array.
  if (Count >= MaxPoints || Count >= m_capacity) return 1;
  Points[Count] = Point{x, y};
  if (Count == 0) {
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
  ++Count;
  return 0;
}

void Vertex::Reset() {
  Count = 0;
  MinX = MinY = MaxX = MaxY = -100;
}

void Figure::SetBoundsFromPoints() {
  assert(PointData != nullptr);
  if (PointData == nullptr) return;
  Start = Point{PointData->MinX, PointData->MinY};
  End = Point{PointData->MaxX, PointData->MaxY};
}

void Figure::Offset(int32_t dx, int32_t dy) {
  Start.X = WrapAdd(Start.X, dx);
  Start.Y = WrapAdd(Start.Y, dy);
  End.X = WrapAdd(End.X, dx);
  End.Y = WrapAdd(End.Y, dy);
  if (IsPointFigure(DrawingTool) && PointData != nullptr) {
    for (int32_t i = 0; i < PointData->Count; ++i) {
      PointData->Points[i].X = WrapAdd(PointData->Points[i].X, dx);
      PointData->Points[i].Y = WrapAdd(PointData->Points[i].Y, dy);
    }
  }
}

void Figure::SetPoint(bool isY, int32_t index, int32_t value) {
  assert(PointData != nullptr && index >= 0 && index < PointData->Count);
  if (PointData == nullptr || index < 0 || index >= PointData->Count) return;
  if (isY)
    PointData->Points[index].Y = value;
  else
    PointData->Points[index].X = value;
}
