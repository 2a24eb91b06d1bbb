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
  BuiltFigure f = freeLine({{30, 15}, {10, 40}});
  f.Start = f.End = {0, 0};  // stale corners
  FigureList list;
  FigureItem* item = list.AddFig(f);
  EXPECT_NE(item->Data.PointData, f.PointData);
  EXPECT_EQ(item->Data.PointData->Capacity(), 2);
  EXPECT_EQ(item->Data.Start, (Point{10, 15}));
  EXPECT_EQ(item->Data.End, (Point{30, 40}));
  f.PointData->Points[0].X = 999;  // the copy is independent
  EXPECT_EQ(item->Data.PointData->Points[0].X, 30);
}

TEST(FigList, AddFigCopiesNestedStampsDeeply) {
  // A stamp holding a stamp holding a polygon.
  const BuiltFigure source = stamp({100, 50}, {stamp({5, 5}, {polygon({{0, 0}, {5, 0}, {5, 5}})})});
  const FigureList& outerList = *source.StampData;
  const FigureList& innerList = *outerList.GetTail()->Data.StampData;
  const Vertex* pts = innerList.GetTail()->Data.PointData;
  FigureList list;
  FigureItem* copy = list.AddFig(source);
  FigureList* l1 = copy->Data.StampData;
  ASSERT_NE(l1, nullptr);
  EXPECT_NE(l1, &outerList);
  FigureItem* inner = l1->GetTail();
  EXPECT_EQ(inner->Data.DrawingTool, ToolKind::Stamp);
  EXPECT_EQ(inner->Data.Start, (Point{5, 5}));
  FigureList* l2 = inner->Data.StampData;
  EXPECT_NE(l2, &innerList);
  FigureItem* poly = l2->GetTail();
  EXPECT_EQ(poly->Data.DrawingTool, ToolKind::Polygon);
  EXPECT_NE(poly->Data.PointData, pts);
  EXPECT_EQ(poly->Data.PointData->Count, 3);
  EXPECT_EQ(list.RemoveFig(copy), 0);
  // The source is intact after the copy is freed.
  EXPECT_EQ(innerList.GetTail()->Data.PointData->Count, 3);
}

TEST(FigList, EmptyStampCopiesToEmptyList) {
  Figure stamp;
  stamp.DrawingTool = ToolKind::Stamp;
  FigureList list;
  FigureItem* item = list.AddFig(stamp);
  ASSERT_NE(item->Data.StampData, nullptr);
  EXPECT_TRUE(item->Data.StampData->IsEmpty());
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
  auto level = std::make_unique<FigureList>();
  Figure line;
  line.DrawingTool = ToolKind::Line;
  level->AddFig(line);
  for (int depth = 0; depth < 1000; ++depth) {
    auto outer = std::make_unique<FigureList>();
    Figure stamp;
    stamp.DrawingTool = ToolKind::Stamp;
    stamp.StampData = level.get();
    outer->AddFig(stamp);
    level = std::move(outer);
  }
  FigureList copy;
  copy.AddFig(level->GetTail()->Data);
  int depth = 0;
  for (FigureItem* f = copy.GetTail(); f->Data.DrawingTool == ToolKind::Stamp; f = f->Data.StampData->GetTail()) ++depth;
  EXPECT_EQ(depth, 1000);
}

TEST(FigList, AdoptedContentsAreFreedWithTheItem) {
  FigureList list;
  FigureItem* item = list.AddEmptyFig();
  EXPECT_EQ(item->Data.DrawingTool, ToolKind::None);
  item->Data.DrawingTool = ToolKind::Polyline;
  item->AdoptPointData(std::make_unique<Vertex>())->AddPoint(1, 2);
  EXPECT_EQ(item->Data.PointData->Count, 1);
  EXPECT_EQ(list.RemoveFig(item), 0);  // no leak under the sanitizers
}

}  // namespace
