#include <gtest/gtest.h>

#include "history/history.h"
#include "support/builders.h"

namespace {

TEST(History, NewHistoryIsEmpty) {
  HistoryList h;
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.GetHead(), h.GetTail());
  EXPECT_EQ(h.GetHead()->Data.TargetType, ActionKind::None);
  EXPECT_EQ(h.GetHead()->Data.Parameter, ParameterKind::None);
  EXPECT_EQ(h.NextFigID, 1);
}

TEST(History, AddItemLinksAfterTheSentinel) {
  HistoryList h;
  HistoryItem* a = h.AddItem();
  EXPECT_EQ(h.Count(), 1);
  EXPECT_EQ(a->Prev, h.GetHead());
  EXPECT_EQ(h.GetHead()->Next, a);
  EXPECT_EQ(h.GetTail(), a);
  EXPECT_EQ(a->Data.TargetType, ActionKind::None);
  EXPECT_EQ(a->Data.TargetID, 0);
  EXPECT_EQ(a->Data.FigData.PointData.Count(), 0);
  EXPECT_EQ(a->Data.TargetFig, nullptr);
  EXPECT_EQ(a->Data.ActionTime.Hour, 0);
}

TEST(History, ClearEmptiesAndResetsNextFigID) {
  HistoryList h;
  h.NextFigID = 7;
  h.Clear();  // empty: nothing changes
  EXPECT_EQ(h.NextFigID, 7);
  for (int i = 0; i < 5; ++i) h.AddItem();
  h.Clear();
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.GetTail(), h.GetHead());
  EXPECT_EQ(h.GetHead()->Next, nullptr);
  EXPECT_EQ(h.NextFigID, 1);
}

TEST(History, AddActionCopiesFreeLineDeeply) {
  Vertex pts;
  pts.AddPoint(10, 10);
  pts.AddPoint(20, 15);
  pts.AddPoint(30, 12);
  Figure f;
  f.DrawingTool = ToolKind::FreeLine;
  f.PointData = pts;
  HistoryList h;
  HistoryItem* a = h.AddAction(f);
  const Figure& snap = a->Data.FigData;
  EXPECT_EQ(snap.PointData.Count(), 3);
  EXPECT_EQ(snap.Start, (Point{10, 10}));
  EXPECT_EQ(snap.End, (Point{30, 15}));
  pts.Points[0] = {0, 0};
  EXPECT_EQ(snap.PointData.Points[0], (Point{10, 10}));
}

TEST(History, AddActionCopiesStampWithItsPolygon) {
  Vertex pts;
  pts.AddPoint(1, 1);
  Figure poly;
  poly.DrawingTool = ToolKind::Polygon;
  poly.PointData = pts;
  Figure stamp;
  stamp.DrawingTool = ToolKind::Stamp;
  stamp.StampData = {poly};
  HistoryList h;
  HistoryItem* a = h.AddAction(stamp);
  const std::vector<Figure>& copy = a->Data.FigData.StampData;
  ASSERT_EQ(copy.size(), 1u);
  stamp.StampData[0].PointData.Points[0] = {7, 7};
  EXPECT_EQ(copy.back().PointData.Points[0], (Point{1, 1}));
  EXPECT_EQ(copy.back().End, (Point{1, 1}));
}

HistoryItem* Add(HistoryList& h, ActionKind type, int32_t id) {
  HistoryItem* a = h.AddItem();
  a->Data.TargetType = type;
  a->Data.TargetID = id;
  return a;
}

TEST(History, FindFigureItemAfterCreateDeleteUndo) {
  HistoryList h;
  HistoryItem* create = Add(h, ActionKind::Create, 1);
  Add(h, ActionKind::Delete, 1);
  HistoryItem* undo = Add(h, ActionKind::Undo, 2);
  EXPECT_EQ(h.FindFigureItem(2), undo);
  EXPECT_EQ(h.FindFigureItem(1), create);
  EXPECT_EQ(h.FindFigureItem(3), nullptr);
}

TEST(History, FindFigureItemIgnoresNonCreatingRecords) {
  HistoryList h;
  Add(h, ActionKind::Branch, 4);
  Add(h, ActionKind::Move, 4);
  HistoryItem* dup = Add(h, ActionKind::Duplicate, 4);
  EXPECT_EQ(h.FindFigureItem(4), dup);
}

TEST(History, FindLatestItemForWalksBackToTheSentinel) {
  HistoryList h;
  Figure live;
  Figure other;
  HistoryItem* a = Add(h, ActionKind::Create, 1);
  a->Data.TargetFig = &live;
  HistoryItem* b = Add(h, ActionKind::Move, 1);
  b->Data.TargetFig = &live;
  Add(h, ActionKind::Create, 2)->Data.TargetFig = &other;
  EXPECT_EQ(h.FindLatestItemFor(&live, h.GetTail()), b);
  EXPECT_EQ(h.FindLatestItemFor(&live, a), a);
  EXPECT_EQ(h.FindLatestItemFor(&other, b), nullptr);
  EXPECT_EQ(h.FindLatestItemFor(nullptr, h.GetTail()), nullptr);
  EXPECT_EQ(h.FindLatestItemFor(&live, h.GetHead()), nullptr);
}

TEST(History, BranchKeepsLaterRecords) {
  HistoryList h;
  for (int i = 1; i <= 3; ++i) Add(h, ActionKind::Create, i);
  HistoryItem* branch = Add(h, ActionKind::Branch, 1);
  EXPECT_EQ(h.Count(), 4);
  EXPECT_EQ(h.StepOf(branch), 4);
  EXPECT_EQ(h.ItemAt(2)->Data.TargetID, 2);
  EXPECT_EQ(h.ItemAt(0), h.GetHead());
  EXPECT_EQ(h.ItemAt(5), nullptr);
}

TEST(History, MillionRecordsFreeWithoutRecursion) {
  auto h = std::make_unique<HistoryList>();
  Figure f;
  f.DrawingTool = ToolKind::Rectangle;
  for (int i = 0; i < 1000000; ++i) h->AddAction(f);
  EXPECT_EQ(h->Count(), 1000000);
  HistoryList::DeleteHistory(h);
  EXPECT_EQ(h, nullptr);
}

TEST(History, AdoptedSnapshotContentsAreOwned) {
  HistoryList h;
  HistoryItem* a = h.AddItem();
  a->Data.FigData.DrawingTool = ToolKind::Stamp;
  Figure line;
  line.DrawingTool = ToolKind::Line;
  a->Data.FigData.StampData.push_back(line);
  EXPECT_EQ(a->Data.FigData.StampData.size(), 1u);
  h.Clear();  // frees it; the sanitizers report a leak otherwise
}

}  // namespace
