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
  EXPECT_EQ(a->Data.FigData.PointData, nullptr);
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
  BuiltFigure f = freeLine({{10, 10}, {20, 15}, {30, 12}});
  f.Start = f.End = {};  // no corners: the copy takes the vertices' box
  HistoryList h;
  HistoryItem* a = h.AddAction(f);
  const Figure& snap = a->Data.FigData;
  ASSERT_NE(snap.PointData, nullptr);
  EXPECT_NE(snap.PointData, f.PointData);
  EXPECT_EQ(snap.PointData->Count, 3);
  EXPECT_EQ(snap.Start, (Point{10, 10}));
  EXPECT_EQ(snap.End, (Point{30, 15}));
  f.PointData->Points[0] = {0, 0};
  EXPECT_EQ(snap.PointData->Points[0], (Point{10, 10}));
}

TEST(History, AddActionCopiesStampWithItsPolygon) {
  const BuiltFigure s = stamp({}, {polygon({{1, 1}})});
  const FigureList& contents = *s.StampData;
  HistoryList h;
  HistoryItem* a = h.AddAction(s);
  FigureList* copy = a->Data.FigData.StampData;
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, &contents);
  ASSERT_EQ(copy->FigCount(), 1);
  EXPECT_NE(copy->GetTail()->Data.PointData, contents.GetTail()->Data.PointData);
  EXPECT_EQ(copy->GetTail()->Data.PointData->Points[0], (Point{1, 1}));
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
  FigureList* list = a->AdoptStampData(std::make_unique<FigureList>());
  Figure line;
  line.DrawingTool = ToolKind::Line;
  list->AddFig(line);
  EXPECT_EQ(a->Data.FigData.StampData->FigCount(), 1);
  h.Clear();  // frees it; the sanitizers report a leak otherwise
}

}  // namespace
