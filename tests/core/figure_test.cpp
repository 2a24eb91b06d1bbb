#include <gtest/gtest.h>

#include "document/figlist.h"
#include "support/builders.h"

namespace {

TEST(PointData, EmptyListHasSentinelBounds) {
  Vertex p;
  EXPECT_EQ(p.Count(), 0);
  EXPECT_EQ(p.MinX, -100);
  EXPECT_EQ(p.MinY, -100);
  EXPECT_EQ(p.MaxX, -100);
  EXPECT_EQ(p.MaxY, -100);
}

TEST(PointData, FirstPointOverwritesBoundsThenTheyOnlyGrow) {
  Vertex p;
  EXPECT_EQ(p.AddPoint(5, 7), 0);
  EXPECT_EQ((std::array{p.MinX, p.MinY, p.MaxX, p.MaxY}), (std::array{5, 7, 5, 7}));
  EXPECT_EQ(p.AddPoint(-3, 20), 0);
  EXPECT_EQ((std::array{p.MinX, p.MinY, p.MaxX, p.MaxY}), (std::array{-3, 7, 5, 20}));
  EXPECT_EQ(p.Points[1], (Point{-3, 20}));
}

TEST(PointData, RefusesThe2001stPointWhateverTheCapacity) {
  Vertex p;
  for (int i = 0; i < MaxPoints; ++i) ASSERT_EQ(p.AddPoint(i, -i), 0);
  EXPECT_EQ(p.AddPoint(9999, 9999), 1);
  EXPECT_EQ(p.Count(), MaxPoints);
  EXPECT_EQ(p.MaxX, MaxPoints - 1);

  Vertex big;
  big.Points.reserve(MaxPoints + 50);
  for (int i = 0; i < MaxPoints; ++i) ASSERT_EQ(big.AddPoint(i, i), 0);
  EXPECT_EQ(big.AddPoint(1, 1), 1);
  EXPECT_EQ(big.Count(), MaxPoints);
}

// A list filled past the limit by hand is still cut to the limit when a
// list or record stores it.
TEST(PointData, SmallCapacityNeverOverflows) {
  Figure f;
  f.DrawingTool = ToolKind::Polyline;
  f.PointData.Points.assign(MaxPoints + 5, Point{1, 2});
  EXPECT_EQ(f.PointData.AddPoint(3, 3), 1);
  const Figure stored = StoredCopy(f);
  EXPECT_EQ(stored.PointData.Count(), MaxPoints);
  EXPECT_EQ(stored.Start, (Point{1, 2}));
  EXPECT_EQ(stored.End, (Point{1, 2}));
}

// A free line through `pts` with stale corners, which the list's copy replaces.
Figure* AddFreeLine(FigureList& list, std::vector<Point> pts) {
  return &*list.Add(withPoints(shape(ToolKind::FreeLine, {-1, -1}, {-1, -1}), pts));
}

TEST(FigData, OffsetMovesVerticesAndCornersButNotBounds) {
  FigureList list;
  Figure* item = AddFreeLine(list, {{0, 0}, {10, 20}});
  item->Offset(10, -5);
  EXPECT_EQ(item->Start, (Point{10, -5}));
  EXPECT_EQ(item->End, (Point{20, 15}));
  EXPECT_EQ(item->PointData.Points[0], (Point{10, -5}));
  EXPECT_EQ(item->PointData.Points[1], (Point{20, 15}));
  EXPECT_EQ(item->PointData.MinX, 0);
  EXPECT_EQ(item->PointData.MaxY, 20);

  // A copy rebuilds the bounds from the moved vertices.
  Figure* copy = &*list.Add(*item);
  EXPECT_EQ(copy->PointData.MinX, 10);
  EXPECT_EQ(copy->PointData.MinY, -5);
  EXPECT_EQ(copy->Start, (Point{10, -5}));
  EXPECT_EQ(copy->End, (Point{20, 15}));
}

TEST(FigData, OffsetOfAStampMovesOnlyItsBox) {
  FigureList list;
  Figure* s = &*list.Add(stamp({100, 50}, {110, 50}, {line({0, 0}, {10, 0})}));
  s->Offset(5, 5);
  EXPECT_EQ(s->Start, (Point{105, 55}));
  EXPECT_EQ(s->End, (Point{115, 55}));
  EXPECT_EQ(s->StampData.back().End, (Point{10, 0}));
}

TEST(FigData, OffsetWrapsInsteadOfOverflowing) {
  Figure f;
  f.DrawingTool = ToolKind::Line;
  f.Start = {INT32_MAX, INT32_MIN};
  f.Offset(1, -1);
  EXPECT_EQ(f.Start.X, INT32_MIN);
  EXPECT_EQ(f.Start.Y, INT32_MAX);
}

TEST(FigData, SetPointChangesOneCoordinateOnly) {
  FigureList list;
  Figure* item = AddFreeLine(list, {{1, 2}, {3, 4}});
  item->SetPoint(true, 1, 40);
  item->SetPoint(false, 0, 10);
  EXPECT_EQ(item->PointData.Points[0], (Point{10, 2}));
  EXPECT_EQ(item->PointData.Points[1], (Point{3, 40}));
  EXPECT_EQ(item->PointData.MaxY, 4);
}

TEST(FigData, ByValueCopyOwnsItsVerticesAndContents) {
  FigureList list;
  Figure* item = AddFreeLine(list, {{1, 2}});
  {
    Figure copy = *item;
    copy.Offset(5, 5);
    EXPECT_EQ(copy.PointData.Points[0], (Point{6, 7}));
  }
  // The copy moved and is gone; the item's vertex list is untouched.
  EXPECT_EQ(item->PointData.Points[0], (Point{1, 2}));

  Figure stamp;
  stamp.DrawingTool = ToolKind::Stamp;
  stamp.StampData = {*item};
  Figure copy = stamp;
  copy.StampData[0].SetPoint(false, 0, 99);
  EXPECT_EQ(stamp.StampData[0].PointData.Points[0].X, 1);
}

// A copy keeps everything as it is, stale bounds and box included; only
// storing a figure rebuilds them.
TEST(FigData, CopyKeepsStaleBoundsWhereStoringRebuildsThem) {
  Figure f;
  f.DrawingTool = ToolKind::Polygon;
  f.PointData.AddPoint(0, 0);
  f.PointData.AddPoint(10, 10);
  f.Start = {-1, -1};
  f.Offset(5, 0);
  const Figure copy = f;
  EXPECT_EQ(copy.PointData.MinX, 0);
  EXPECT_EQ(copy.Start, (Point{4, -1}));
  const Figure stored = StoredCopy(f);
  EXPECT_EQ(stored.PointData.MinX, 5);
  EXPECT_EQ(stored.Start, (Point{5, 0}));
  EXPECT_EQ(stored.End, (Point{15, 10}));

  // Vertices of a figure of another kind and contents of a non-stamp are
  // not stored.
  Figure line = f;
  line.DrawingTool = ToolKind::Line;
  line.StampData = {f};
  const Figure storedLine = StoredCopy(line);
  EXPECT_EQ(storedLine.PointData.Count(), 0);
  EXPECT_TRUE(storedLine.StampData.empty());
  EXPECT_EQ(storedLine.Start, line.Start);
}

}  // namespace
