// A change record copies exactly the attribute it names onto the figure.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "history/play.h"

namespace {

// The names of the plain fields in which two figures differ.
std::string Differences(const TFigData& a, const TFigData& b) {
  std::string d;
  if (a.DrawingTool != b.DrawingTool) d += "DrawingTool ";
  if (a.PenWidth != b.PenWidth) d += "PenWidth ";
  if (a.PenColor != b.PenColor) d += "PenColor ";
  if (a.BrushColor != b.BrushColor) d += "BrushColor ";
  if (a.BrushStyle != b.BrushStyle) d += "BrushStyle ";
  if (a.TextSize != b.TextSize) d += "TextSize ";
  if (a.TextColor != b.TextColor) d += "TextColor ";
  if (a.Text != b.Text) d += "Text ";
  if (!(a.Start == b.Start)) d += "Start ";
  if (!(a.End == b.End)) d += "End ";
  return d;
}

TFigData Figure(int32_t v) {
  TFigData f;
  f.DrawingTool = dtText;
  f.PenWidth = v;
  f.PenColor = v + 1;
  f.BrushColor = v + 2;
  f.BrushStyle = static_cast<uint8_t>(v % 2);
  f.TextSize = v + 3;
  f.TextColor = v + 4;
  f.Text = "t" + std::to_string(v);
  f.Start = {v, v};
  f.End = {v + 50, v + 20};
  return f;
}

struct ChangeCase {
  TParameterType Parameter;
  const char* Changed;
};

class ChangeEach : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeEach, CopiesOnlyItsAttribute) {
  TFigList list;
  TFigItem* target = list.AddFig(Figure(10));
  THistoryList h;
  TFigData wanted = Figure(77);
  TActionItem* rec = h.AddAction(wanted);
  rec->Data.TargetType = atChange;
  rec->Data.Parameter = GetParam().Parameter;
  const TFigData before = target->Data;
  ApplyChange(rec, target);
  EXPECT_EQ(Differences(before, target->Data), GetParam().Changed);
  // ...and they now hold the record's values.
  const std::string left = Differences(target->Data, wanted);
  std::istringstream changed(GetParam().Changed);
  for (std::string field; changed >> field;) EXPECT_EQ(left.find(field + " "), std::string::npos) << field;
}

INSTANTIATE_TEST_SUITE_P(Parameters, ChangeEach,
                         ::testing::Values(ChangeCase{ptBodyColor, "BrushColor "}, ChangeCase{ptLineWidth, "PenWidth "},
                                           ChangeCase{ptLineColor, "PenColor "}, ChangeCase{ptTextColor, "TextColor "},
                                           ChangeCase{ptText, "Text Start End "}, ChangeCase{ptSize, "TextSize Start End "},
                                           ChangeCase{ptNone, ""}, ChangeCase{static_cast<TParameterType>(99), ""}));

TEST(ApplyChange, SizeCopiesTheVerticesAndTheirBounds) {
  TPointData live;
  live.AddPoint(0, 0);
  live.AddPoint(10, 10);
  TFigData f;
  f.DrawingTool = dtPolygon;
  f.PointData = &live;
  TFigList list;
  TFigItem* target = list.AddFig(f);
  TPointData bigger;
  bigger.AddPoint(0, 0);
  bigger.AddPoint(30, 20);
  f.PointData = &bigger;
  THistoryList h;
  TActionItem* rec = h.AddAction(f);
  rec->Data.Parameter = ptSize;
  ApplyChange(rec, target);
  const TPointData* p = target->Data.PointData;
  EXPECT_EQ(p->Points[1], (TPoint{30, 20}));
  EXPECT_EQ(p->MaxX, 30);
  EXPECT_EQ(p->MaxY, 20);
  EXPECT_EQ(target->Data.End, (TPoint{30, 20}));
}

// A damaged file may give the record fewer vertices than the figure.
TEST(ApplyChange, SizeWithFewerRecordedVerticesCopiesTheCommonOnes) {
  TPointData three;
  three.AddPoint(1, 1);
  three.AddPoint(2, 2);
  three.AddPoint(3, 3);
  TFigData f;
  f.DrawingTool = dtFreeLine;
  f.PointData = &three;
  TFigList list;
  TFigItem* target = list.AddFig(f);
  TPointData one;
  one.AddPoint(9, 9);
  f.PointData = &one;
  THistoryList h;
  TActionItem* rec = h.AddAction(f);
  rec->Data.Parameter = ptSize;
  ApplyChange(rec, target);
  EXPECT_EQ(target->Data.PointData->Count, 3);
  EXPECT_EQ(target->Data.PointData->Points[0], (TPoint{9, 9}));
  EXPECT_EQ(target->Data.PointData->Points[2], (TPoint{3, 3}));
  rec->Data.FigData.PointData = nullptr;  // and none at all
  ApplyChange(rec, target);
}

TEST(ApplyChange, SizeReplacesStampContentsWithCopies) {
  TFigList oldContents;
  oldContents.AddFig(Figure(1));
  TFigData stamp;
  stamp.DrawingTool = dtStamp;
  stamp.StampData = &oldContents;
  TFigList list;
  TFigItem* target = list.AddFig(stamp);
  TFigList newContents;
  newContents.AddFig(Figure(2));
  newContents.AddFig(Figure(3));
  stamp.StampData = &newContents;
  THistoryList h;
  TActionItem* rec = h.AddAction(stamp);
  rec->Data.Parameter = ptSize;
  ApplyChange(rec, target);
  TFigList* got = target->Data.StampData;
  ASSERT_EQ(got->FigCount(), 2);
  EXPECT_EQ(got->Head->Next->Data.Text, "t2");
  EXPECT_NE(got->Head->Next, rec->Data.FigData.StampData->Head->Next);
}

}  // namespace
