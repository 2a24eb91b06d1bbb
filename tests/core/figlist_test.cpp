#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/figlist.h"
#include "support/builders.h"

namespace {

Figure Named(const std::string& name) {
  Figure f;
  f.DrawingTool = ToolKind::Rectangle;
  f.Text = name;
  return f;
}

std::string Order(const FigureList& list) {
  std::string s;
  for (FigureItem* f = list.GetHead()->Next; f != nullptr; f = f->Next) s += f->Data.Text;
  EXPECT_TRUE(list.Valid());
  return s;
}

struct FigListABC : ::testing::Test {
  FigureList list;
  FigureItem* A = list.AddFig(Named("A"));
  FigureItem* B = list.AddFig(Named("B"));
  FigureItem* C = list.AddFig(Named("C"));
};

TEST(FigList, NewListIsEmpty) {
  FigureList list;
  EXPECT_EQ(list.GetHead(), list.GetTail());
  EXPECT_EQ(list.GetHead()->Data.DrawingTool, ToolKind::None);
  EXPECT_EQ(Order(list), "");
  EXPECT_EQ(list.FigCount(), 0);
}

TEST_F(FigListABC, AddFigAppendsInFront) {
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_EQ(list.GetTail(), C);
  EXPECT_EQ(FigureList::GetPrev(A), list.GetHead());
  EXPECT_EQ(FigureList::GetNext(C), nullptr);
  EXPECT_EQ(FigureList::GetNext(nullptr), nullptr);
  EXPECT_EQ(FigureList::GetPrev(nullptr), nullptr);
}

TEST_F(FigListABC, MoveFrontAndBackWithRefusals) {
  EXPECT_EQ(list.MoveFigFront(C), 1);
  EXPECT_EQ(list.MoveFigFront(nullptr), 1);
  EXPECT_EQ(list.MoveFigFront(list.GetHead()), 1);
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_EQ(list.MoveFigFront(A), 0);
  EXPECT_EQ(Order(list), "BAC");
  EXPECT_EQ(list.MoveFigFront(A), 0);
  EXPECT_EQ(Order(list), "BCA");
  EXPECT_EQ(list.GetTail(), A);
}

TEST_F(FigListABC, MoveBackWithRefusals) {
  EXPECT_EQ(list.MoveFigBack(A), 1);
  EXPECT_EQ(list.MoveFigBack(nullptr), 1);
  EXPECT_EQ(list.MoveFigBack(list.GetHead()), 1);
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_EQ(list.MoveFigBack(C), 0);
  EXPECT_EQ(Order(list), "ACB");
  EXPECT_EQ(list.GetTail(), B);
  EXPECT_EQ(list.MoveFigBack(C), 0);
  EXPECT_EQ(Order(list), "CAB");
}

TEST_F(FigListABC, RemoveFig) {
  EXPECT_EQ(list.RemoveFig(nullptr), 1);
  EXPECT_EQ(list.RemoveFig(list.GetHead()), 1);
  EXPECT_EQ(list.RemoveFig(C), 0);
  EXPECT_EQ(list.GetTail(), B);
  EXPECT_EQ(list.RemoveFig(A), 0);
  EXPECT_EQ(Order(list), "B");
  EXPECT_EQ(list.RemoveFig(B), 0);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTail(), list.GetHead());
}

TEST_F(FigListABC, ClearFigsKeepsTheListUsable) {
  list.ClearFigs();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHead()->Next, nullptr);
  list.ClearFigs();
  list.AddFig(Named("D"));
  EXPECT_EQ(Order(list), "D");
}

TEST(FigList, DuplicateNullAddsNothing) {
  FigureList list;
  EXPECT_EQ(list.DuplicateFig(nullptr), nullptr);
  EXPECT_TRUE(list.IsEmpty());
}

TEST(FigList, AddFigOfStaleFreeLineUsesVertexBox) {
  Figure f;
  f.DrawingTool = ToolKind::FreeLine;
  f.PointData.AddPoint(30, 15);
  f.PointData.AddPoint(10, 40);
  f.Start = {0, 0};
  f.End = {0, 0};
  FigureList list;
  FigureItem* item = list.AddFig(f);
  EXPECT_EQ(item->Data.PointData.Count(), 2);
  EXPECT_EQ(item->Data.Start, (Point{10, 15}));
  EXPECT_EQ(item->Data.End, (Point{30, 40}));
  f.PointData.Points[0].X = 999;  // the copy is independent
  EXPECT_EQ(item->Data.PointData.Points[0].X, 30);
}

// A stamp holding a stamp holding a polygon.
struct NestedStamp {
  Figure stamp;
  NestedStamp() {
    Figure poly;
    poly.DrawingTool = ToolKind::Polygon;
    poly.PointData.AddPoint(0, 0);
    poly.PointData.AddPoint(5, 0);
    poly.PointData.AddPoint(5, 5);
    Figure inner;
    inner.DrawingTool = ToolKind::Stamp;
    inner.Start = {5, 5};
    inner.StampData = {poly};
    stamp.DrawingTool = ToolKind::Stamp;
    stamp.Start = {100, 50};
    stamp.StampData = {inner};
  }
};

TEST(FigList, AddFigCopiesNestedStampsDeeply) {
  NestedStamp n;
  FigureList list;
  FigureItem* copy = list.AddFig(n.stamp);
  ASSERT_EQ(copy->Data.StampData.size(), 1u);
  Figure& inner = copy->Data.StampData.back();
  EXPECT_EQ(inner.DrawingTool, ToolKind::Stamp);
  EXPECT_EQ(inner.Start, (Point{5, 5}));
  ASSERT_EQ(inner.StampData.size(), 1u);
  Figure& poly = inner.StampData.back();
  EXPECT_EQ(poly.DrawingTool, ToolKind::Polygon);
  EXPECT_EQ(poly.PointData.Count(), 3);
  // Stored to every depth: the polygon's box comes from its vertices.
  EXPECT_EQ(poly.End, (Point{5, 5}));
  poly.Offset(1, 1);
  EXPECT_EQ(n.stamp.StampData[0].StampData[0].PointData.Points[0], (Point{0, 0}));
  EXPECT_EQ(list.RemoveFig(copy), 0);
  // The source is intact after the copy is freed.
  EXPECT_EQ(n.stamp.StampData[0].StampData[0].PointData.Count(), 3);
}

TEST(FigList, EmptyStampCopiesToEmptyList) {
  Figure stamp;
  stamp.DrawingTool = ToolKind::Stamp;
  FigureList list;
  FigureItem* item = list.AddFig(stamp);
  EXPECT_TRUE(item->Data.StampData.empty());
}

TEST(FigList, MillionItemsFreeWithoutRecursion) {
  auto list = std::make_unique<FigureList>();
  Figure f;
  f.DrawingTool = ToolKind::Line;
  for (int i = 0; i < 1000000; ++i) list->AddFig(f);
  EXPECT_EQ(list->FigCount(), 1000000);
  FigureList::DeleteFigList(list);
  EXPECT_EQ(list, nullptr);
}

TEST(FigList, ThousandLevelsOfStampsCopyAndFree) {
  // Build 1000 nested levels, each stamp holding the previous one.
  Figure level;
  level.DrawingTool = ToolKind::Line;
  for (int depth = 0; depth < 1000; ++depth) {
    Figure stamp;
    stamp.DrawingTool = ToolKind::Stamp;
    stamp.StampData.push_back(std::move(level));
    level = std::move(stamp);
  }
  FigureList copy;
  copy.AddFig(level);
  int depth = 0;
  for (const Figure* f = &copy.GetTail()->Data; f->DrawingTool == ToolKind::Stamp; f = &f->StampData.back()) ++depth;
  EXPECT_EQ(depth, 1000);
}

TEST(FigList, AdoptedContentsAreFreedWithTheItem) {
  FigureList list;
  FigureItem* item = list.AddEmptyFig();
  EXPECT_EQ(item->Data.DrawingTool, ToolKind::None);
  item->Data.DrawingTool = ToolKind::Polyline;
  item->Data.PointData.AddPoint(1, 2);
  EXPECT_EQ(item->Data.PointData.Count(), 1);
  EXPECT_EQ(list.RemoveFig(item), 0);  // no leak under the sanitizers
}

}  // namespace
