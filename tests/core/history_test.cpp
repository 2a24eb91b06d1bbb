#include <gtest/gtest.h>

#include <memory>

#include "history/history.h"
#include "support/builders.h"

namespace {

TEST(History, NewHistoryIsEmpty) {
  HistoryList h;
  EXPECT_EQ(h.Count(), 0);
  EXPECT_TRUE(h.IsEmpty());
  EXPECT_TRUE(h.begin() == h.end());
  EXPECT_EQ(h.NextFigID, 1);
  // A fresh record is of no kind and changes no parameter.
  const Action fresh;
  EXPECT_EQ(fresh.TargetType, ActionKind::None);
  EXPECT_EQ(fresh.Parameter, ParameterKind::None);
}

TEST(History, AddItemLinksAfterTheSentinel) {
  HistoryList h;
  Action& a = h.Add();
  EXPECT_EQ(h.Count(), 1);
  EXPECT_FALSE(h.IsEmpty());
  EXPECT_EQ(&h.At(1), &a);
  EXPECT_EQ(&*h.begin(), &a);
  EXPECT_EQ(&h.Last(), &a);
  EXPECT_EQ(a.TargetType, ActionKind::None);
  EXPECT_EQ(a.TargetID, 0);
  EXPECT_EQ(a.FigData.PointData.Count(), 0);
  EXPECT_EQ(a.TargetFig, nullptr);
  EXPECT_FALSE(a.TargetItem);
  EXPECT_EQ(a.ActionTime.Hour, 0);
  // Later records go after it, and it stays where it is.
  a.TargetID = 42;
  for (int i = 0; i < 10000; ++i) h.Add();
  EXPECT_EQ(&h.At(1), &a);
  EXPECT_EQ(a.TargetID, 42);
  EXPECT_NE(&h.Last(), &a);
}

TEST(History, ClearEmptiesAndResetsNextFigID) {
  HistoryList h;
  h.NextFigID = 7;
  h.Clear();  // empty: nothing changes
  EXPECT_EQ(h.NextFigID, 7);
  for (int i = 0; i < 5; ++i) h.Add();
  h.Clear();
  EXPECT_EQ(h.Count(), 0);
  EXPECT_TRUE(h.IsEmpty());
  EXPECT_TRUE(h.begin() == h.end());
  EXPECT_EQ(h.NextFigID, 1);
  h.Add().TargetID = 3;  // usable again
  EXPECT_EQ(h.Count(), 1);
  EXPECT_EQ(h.At(1).TargetID, 3);
}

TEST(History, AddActionCopiesFreeLineDeeply) {
  Figure f = withPoints(shape(ToolKind::FreeLine, {}, {}), {{10, 10}, {20, 15}, {30, 12}});
  HistoryList h;
  const Action& a = h.Add(f);
  const Figure& snap = a.FigData;
  EXPECT_EQ(snap.PointData.Count(), 3);
  EXPECT_EQ(snap.Start, (Point{10, 10}));
  EXPECT_EQ(snap.End, (Point{30, 15}));
  f.PointData.Points[0] = {0, 0};
  EXPECT_EQ(snap.PointData.Points[0], (Point{10, 10}));
}

TEST(History, AddActionCopiesStampWithItsPolygon) {
  Figure stamp = stampHolding({}, {withPoints(shape(ToolKind::Polygon, {}, {}), {{1, 1}})});
  HistoryList h;
  const Action& a = h.Add(stamp);
  const std::vector<Figure>& copy = a.FigData.StampData;
  ASSERT_EQ(copy.size(), 1u);
  stamp.StampData[0].PointData.Points[0] = {7, 7};
  EXPECT_EQ(copy.back().PointData.Points[0], (Point{1, 1}));
  EXPECT_EQ(copy.back().End, (Point{1, 1}));
}

Action& Add(HistoryList& h, ActionKind type, int32_t id) {
  Action& a = h.Add();
  a.TargetType = type;
  a.TargetID = id;
  return a;
}

TEST(History, FindFigureItemAfterCreateDeleteUndo) {
  HistoryList h;
  Action& create = Add(h, ActionKind::Create, 1);
  Add(h, ActionKind::Delete, 1);
  Action& undo = Add(h, ActionKind::Undo, 2);
  EXPECT_EQ(h.FindCreator(2), &undo);
  EXPECT_EQ(h.FindCreator(1), &create);
  EXPECT_EQ(h.FindCreator(3), nullptr);
}

TEST(History, FindFigureItemIgnoresNonCreatingRecords) {
  HistoryList h;
  Add(h, ActionKind::Branch, 4);
  Add(h, ActionKind::Move, 4);
  Action& dup = Add(h, ActionKind::Duplicate, 4);
  EXPECT_EQ(h.FindCreator(4), &dup);
}

TEST(History, FindLatestItemForWalksBackToTheSentinel) {
  HistoryList h;
  Figure live;
  Figure other;
  Action& a = Add(h, ActionKind::Create, 1);
  a.TargetFig = &live;
  Action& b = Add(h, ActionKind::Move, 1);
  b.TargetFig = &live;
  Add(h, ActionKind::Create, 2).TargetFig = &other;
  EXPECT_EQ(h.FindLatestFor(&live, h.Count()), &b);
  EXPECT_EQ(h.FindLatestFor(&live, 1), &a);
  EXPECT_EQ(h.FindLatestFor(&other, 2), nullptr);
  EXPECT_EQ(h.FindLatestFor(&other, 3), &h.At(3));
  EXPECT_EQ(h.FindLatestFor(nullptr, h.Count()), nullptr);
  EXPECT_EQ(h.FindLatestFor(&live, 0), nullptr);
  // Steps outside the history are bounded to it.
  EXPECT_EQ(h.FindLatestFor(&live, 99), &b);
  EXPECT_EQ(h.FindLatestFor(&live, -1), nullptr);
}

TEST(History, BranchKeepsLaterRecords) {
  HistoryList h;
  for (int i = 1; i <= 3; ++i) Add(h, ActionKind::Create, i);
  Action& branch = Add(h, ActionKind::Branch, 1);
  EXPECT_EQ(h.Count(), 4);
  EXPECT_EQ(&h.At(4), &branch);
  EXPECT_EQ(&h.Last(), &branch);
  for (int32_t step = 1; step <= 3; ++step) {
    EXPECT_EQ(h.At(step).TargetType, ActionKind::Create);
    EXPECT_EQ(h.At(step).TargetID, step);
  }
}

TEST(History, MillionRecordsFreeWithoutRecursion) {
  auto h = std::make_unique<HistoryList>();
  Figure f;
  f.DrawingTool = ToolKind::Rectangle;
  for (int i = 0; i < 1000000; ++i) h->Add(f);
  EXPECT_EQ(h->Count(), 1000000);
  h.reset();
  EXPECT_EQ(h, nullptr);
}

TEST(History, AdoptedSnapshotContentsAreOwned) {
  HistoryList h;
  Action& a = h.Add();
  a.FigData = stampHolding({}, {line({0, 0}, {5, 5})});
  EXPECT_EQ(h.Last().FigData.StampData.size(), 1u);
  h.Clear();  // frees it; the sanitizers report a leak otherwise
}

}  // namespace
