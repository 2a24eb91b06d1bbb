#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/figlist.h"
#include "support/builders.h"

namespace {

// The names of the figures back to front. Walking the list the other way
// and counting must agree with it.
std::string Order(const FigureList& list) {
  std::string s;
  for (const Figure& f : list) s += f.Text;
  std::string back;
  for (auto f = list.rbegin(); f != list.rend(); ++f) back.insert(0, f->Text);
  EXPECT_EQ(back, s);
  EXPECT_EQ(list.Count(), static_cast<int32_t>(s.size()));
  EXPECT_EQ(list.IsEmpty(), s.empty());
  return s;
}

struct FigListABC : ::testing::Test {
  FigureList list;
  Figure* A = &*list.Add(named("A"));
  Figure* B = &*list.Add(named("B"));
  Figure* C = &*list.Add(named("C"));
  Figure outsider = named("X");  // never in the list
};

TEST(FigList, NewListIsEmpty) {
  FigureList list;
  EXPECT_TRUE(list.begin() == list.end());
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(Order(list), "");
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(FigListABC, AddFigAppendsInFront) {
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_EQ(&list.Last(), C);
  EXPECT_EQ(&list.First(), A);
  EXPECT_EQ(list.Find(A), list.begin());
  EXPECT_EQ(std::next(list.Find(C)), list.end());
  EXPECT_EQ(&list.At(1), B);
  EXPECT_EQ(list.Find(nullptr), list.end());
  EXPECT_FALSE(list.Contains(nullptr));
  EXPECT_EQ(list.Find(&outsider), list.end());
  EXPECT_FALSE(list.Contains(&outsider));
  EXPECT_TRUE(list.Contains(B));
}

TEST_F(FigListABC, MoveFrontAndBackWithRefusals) {
  EXPECT_FALSE(list.MoveFront(C));
  EXPECT_FALSE(list.MoveFront(static_cast<const Figure*>(nullptr)));
  EXPECT_FALSE(list.MoveFront(&outsider));
  EXPECT_FALSE(list.MoveFront(list.end()));
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_TRUE(list.MoveFront(A));
  EXPECT_EQ(Order(list), "BAC");
  EXPECT_TRUE(list.MoveFront(list.Find(A)));
  EXPECT_EQ(Order(list), "BCA");
  EXPECT_EQ(&list.Last(), A);
}

TEST_F(FigListABC, MoveBackWithRefusals) {
  EXPECT_FALSE(list.MoveBack(A));
  EXPECT_FALSE(list.MoveBack(static_cast<const Figure*>(nullptr)));
  EXPECT_FALSE(list.MoveBack(&outsider));
  EXPECT_FALSE(list.MoveBack(list.end()));
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_TRUE(list.MoveBack(C));
  EXPECT_EQ(Order(list), "ACB");
  EXPECT_EQ(&list.Last(), B);
  EXPECT_TRUE(list.MoveBack(list.Find(C)));
  EXPECT_EQ(Order(list), "CAB");
}

TEST_F(FigListABC, RemoveFig) {
  EXPECT_FALSE(list.Remove(static_cast<const Figure*>(nullptr)));
  EXPECT_FALSE(list.Remove(&outsider));
  EXPECT_EQ(Order(list), "ABC");
  EXPECT_TRUE(list.Remove(C));
  EXPECT_EQ(&list.Last(), B);
  EXPECT_FALSE(list.Remove(C));  // already gone
  EXPECT_TRUE(list.Remove(A));
  EXPECT_EQ(Order(list), "B");
  list.Remove(list.Find(B));
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(Order(list), "");
}

TEST_F(FigListABC, ClearFigsKeepsTheListUsable) {
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_TRUE(list.begin() == list.end());
  list.Clear();
  list.Add(named("D"));
  EXPECT_EQ(Order(list), "D");
}

// Duplicating with nothing selected makes no figure and records nothing.
TEST(FigList, DuplicateNullAddsNothing) {
  AppState S;
  S.SelectedFig = nullptr;
  EXPECT_EQ(DuplicateSelected(S), nullptr);
  EXPECT_TRUE(S.Figures().IsEmpty());
  EXPECT_TRUE(S.History().IsEmpty());
}

TEST(FigList, AddFigOfStaleFreeLineUsesVertexBox) {
  Figure f = withPoints(shape(ToolKind::FreeLine, {0, 0}, {0, 0}), {{30, 15}, {10, 40}});  // stale corners
  FigureList list;
  const auto item = list.Add(f);
  EXPECT_EQ(item->PointData.Count(), 2);
  EXPECT_EQ(item->Start, (Point{10, 15}));
  EXPECT_EQ(item->End, (Point{30, 40}));
  f.PointData.Points[0].X = 999;  // the copy is independent
  EXPECT_EQ(item->PointData.Points[0].X, 30);
}

TEST(FigList, AddFigCopiesNestedStampsDeeply) {
  // A stamp holding a stamp holding a polygon whose box is not yet set.
  const Figure triangle = withPoints(shape(ToolKind::Polygon, {}, {}), {{0, 0}, {5, 0}, {5, 5}});
  const Figure stamp = stampHolding({100, 50}, {stampHolding({5, 5}, {triangle})});
  FigureList list;
  const auto copy = list.Add(stamp);
  ASSERT_EQ(copy->StampData.size(), 1u);
  Figure& inner = copy->StampData.back();
  EXPECT_EQ(inner.DrawingTool, ToolKind::Stamp);
  EXPECT_EQ(inner.Start, (Point{5, 5}));
  ASSERT_EQ(inner.StampData.size(), 1u);
  Figure& poly = inner.StampData.back();
  EXPECT_EQ(poly.DrawingTool, ToolKind::Polygon);
  EXPECT_EQ(poly.PointData.Count(), 3);
  // Stored to every depth: the polygon's box comes from its vertices.
  EXPECT_EQ(poly.End, (Point{5, 5}));
  poly.Offset(1, 1);
  EXPECT_EQ(stamp.StampData[0].StampData[0].PointData.Points[0], (Point{0, 0}));
  EXPECT_TRUE(list.Remove(&*copy));
  EXPECT_TRUE(list.IsEmpty());
  // The source is intact after the copy is freed.
  EXPECT_EQ(stamp.StampData[0].StampData[0].PointData.Count(), 3);
}

TEST(FigList, EmptyStampCopiesToEmptyList) {
  FigureList list;
  const auto item = list.Add(stampHolding({}, {}));
  EXPECT_TRUE(item->StampData.empty());
}

TEST(FigList, MillionItemsFreeWithoutRecursion) {
  auto list = std::make_unique<FigureList>();
  Figure f;
  f.DrawingTool = ToolKind::Line;
  for (int i = 0; i < 1000000; ++i) list->Add(f);
  EXPECT_EQ(list->Count(), 1000000);
  list.reset();
  EXPECT_EQ(list, nullptr);
}

TEST(FigList, ThousandLevelsOfStampsCopyAndFree) {
  // Build 1000 nested levels, each stamp holding the previous one.
  Figure level = line({}, {});
  for (int depth = 0; depth < 1000; ++depth) level = stampHolding({}, {std::move(level)});
  FigureList copy;
  copy.Add(level);
  int depth = 0;
  for (const Figure* f = &copy.Last(); f->DrawingTool == ToolKind::Stamp; f = &f->StampData.back()) ++depth;
  EXPECT_EQ(depth, 1000);
}

TEST(FigList, AdoptedContentsAreFreedWithTheItem) {
  FigureList list;
  Figure& item = list.AddEmpty();
  EXPECT_EQ(item.DrawingTool, ToolKind::None);
  item.DrawingTool = ToolKind::Polyline;
  item.PointData.AddPoint(1, 2);
  EXPECT_EQ(list.Last().PointData.Count(), 1);
  EXPECT_TRUE(list.Remove(&item));  // no leak under the sanitizers
  EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
