// The English lines of the internal process display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/describe.h"
#include "support/fakes.h"

namespace {

using Lines = std::vector<std::string>;

Action Rec(ActionKind kind, int32_t id = 0, ToolKind tool = ToolKind::None) {
  Action d;
  d.TargetType = kind;
  d.TargetID = id;
  d.FigData.DrawingTool = tool;
  d.ActionTime = At(9, 30);
  return d;
}

TEST(Describe, FigureRecordsNameTheFigure) {
  Action d = Rec(ActionKind::Create, 3, ToolKind::Rectangle);
  d.ActionTime = At(14, 5, 9, 7);
  EXPECT_EQ(DescribeAction(d), (Lines{"Create Rectangle (ID = 3)", "at 14:05:09.07.", ""}));
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Move, 12, ToolKind::FreeLine))[0], "Move Free line (ID = 12)");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Duplicate, 4, ToolKind::Stamp))[0], "Duplicate Stamp (ID = 4)");
  const std::pair<ToolKind, const char*> words[] = {
      {ToolKind::Text, "Text box"}, {ToolKind::Line, "Line"},         {ToolKind::Ellipse, "Ellipse"}, {ToolKind::Polyline, "Polyline"},
      {ToolKind::Polygon, "Polygon"}, {ToolKind::None, "Unknown"}, {ToolKind::SetStamp, "Unknown"}, {static_cast<ToolKind>(-3), "Unknown"}};
  for (auto [tool, word] : words) EXPECT_EQ(DescribeAction(Rec(ActionKind::Create, 1, tool))[0], std::string("Create ") + word + " (ID = 1)");
}

TEST(Describe, RecordsNamingAFigureByID) {
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Delete, 5)), (Lines{"Delete figure (ID = 5)", "at 09:30:00.00.", ""}));
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Front, 6))[0], "Move front figure (ID = 6)");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Back, -2))[0], "Move back figure (ID = -2)");
}

TEST(Describe, ChangeNamesItsParameter) {
  Action d = Rec(ActionKind::Change, 2, ToolKind::Line);
  d.Parameter = ParameterKind::LineWidth;
  EXPECT_EQ(DescribeAction(d), (Lines{"Change figure (ID = 2)", "Parameter: Line width", "at 09:30:00.00.", ""}));
  const std::pair<ParameterKind, const char*> words[] = {{ParameterKind::Size, "Size"},           {ParameterKind::BodyColor, "Body color "},
                                               {ParameterKind::LineColor, "Line color"}, {ParameterKind::Text, "Text"},
                                               {ParameterKind::TextColor, "Text color"}, {ParameterKind::None, "WARNING: Parameter ?"},
                                               {static_cast<ParameterKind>(-1), "WARNING: Parameter ?"}};
  for (auto [p, word] : words) {
    d.Parameter = p;
    EXPECT_EQ(DescribeAction(d)[1], std::string("Parameter: ") + word);
  }
}

TEST(Describe, OtherKindsShowTheirWordAlone) {
  Action bg = Rec(ActionKind::ReadBG);
  bg.FileName = "C:\\え\\sky.jpg";
  EXPECT_EQ(DescribeAction(bg)[0], "Read BG file (C:\\え\\sky.jpg)");
  Action data = Rec(ActionKind::ReadData);
  data.FileName = "x.tlo";
  EXPECT_EQ(DescribeAction(data)[0], "Read data file");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Undo, 8, ToolKind::Line)), (Lines{"Undo", "at 09:30:00.00.", ""}));
  EXPECT_EQ(DescribeAction(Rec(ActionKind::Branch, 3))[0], "Branch (STEP = 3)");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::SetStamp))[0], "Set stamp data");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::ClearBG))[0], "Clear background");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::ClearDrawing))[0], "Clear drawing");
  EXPECT_EQ(DescribeAction(Rec(ActionKind::ClearAll))[0], "Clear all");
  EXPECT_EQ(DescribeAction(Rec(static_cast<ActionKind>(16), 1)), (Lines{"WARNING: Action ?", "at 09:30:00.00.", ""}));
  EXPECT_TRUE(DescribeAction(Rec(ActionKind::None, 1)).empty());
}

TEST(ShowAction, WritesOnlyWhileTheDisplayIsOn) {
  AppState S;
  MemoLog memo;
  S.Memo = &memo;
  ShowAction(S, Rec(ActionKind::ClearBG));
  EXPECT_TRUE(memo.Lines.empty());
  S.ShowProcess = true;
  ShowAction(S, Rec(ActionKind::None));
  ShowAction(S, Rec(ActionKind::ClearBG));
  EXPECT_EQ(memo.Lines, (Lines{"Clear background", "at 09:30:00.00.", ""}));
}

}  // namespace
