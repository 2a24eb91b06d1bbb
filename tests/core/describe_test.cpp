// The English lines of the internal process display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/describe.h"

namespace {

using Lines = std::vector<std::string>;

Action Rec(ActionKind kind, int32_t id = 0, ToolKind tool = dtNone) {
  Action d;
  d.TargetType = kind;
  d.TargetID = id;
  d.FigData.DrawingTool = tool;
  d.ActionTime.Hour = 9;
  d.ActionTime.Min = 30;
  return d;
}

TEST(Describe, FigureRecordsNameTheFigure) {
  Action d = Rec(atCreate, 3, dtRectangle);
  d.ActionTime = {5, 14, 7, 9};  // Min, Hour, Hund, Sec
  EXPECT_EQ(DescribeAction(d), (Lines{"Create Rectangle (ID = 3)", "at 14:05:09.07.", ""}));
  EXPECT_EQ(DescribeAction(Rec(atMove, 12, dtFreeLine))[0], "Move Free line (ID = 12)");
  EXPECT_EQ(DescribeAction(Rec(atDuplicate, 4, dtStamp))[0], "Duplicate Stamp (ID = 4)");
  const std::pair<ToolKind, const char*> words[] = {
      {dtText, "Text box"}, {dtLine, "Line"},         {dtEllipse, "Ellipse"}, {dtPolyline, "Polyline"},
      {dtPolygon, "Polygon"}, {dtNone, "Unknown"}, {dtSetStamp, "Unknown"}, {static_cast<ToolKind>(-3), "Unknown"}};
  for (auto [tool, word] : words) EXPECT_EQ(DescribeAction(Rec(atCreate, 1, tool))[0], std::string("Create ") + word + " (ID = 1)");
}

TEST(Describe, RecordsNamingAFigureByID) {
  EXPECT_EQ(DescribeAction(Rec(atDelete, 5)), (Lines{"Delete figure (ID = 5)", "at 09:30:00.00.", ""}));
  EXPECT_EQ(DescribeAction(Rec(atFront, 6))[0], "Move front figure (ID = 6)");
  EXPECT_EQ(DescribeAction(Rec(atBack, -2))[0], "Move back figure (ID = -2)");
}

TEST(Describe, ChangeNamesItsParameter) {
  Action d = Rec(atChange, 2, dtLine);
  d.Parameter = ptLineWidth;
  EXPECT_EQ(DescribeAction(d), (Lines{"Change figure (ID = 2)", "Parameter: Line width", "at 09:30:00.00.", ""}));
  const std::pair<int, const char*> words[] = {{ptSize, "Size"},           {ptBodyColor, "Body color "},
                                               {ptLineColor, "Line color"}, {ptText, "Text"},
                                               {ptTextColor, "Text color"}, {ptNone, "WARNING: Parameter ?"},
                                               {-1, "WARNING: Parameter ?"}};
  for (auto [p, word] : words) {
    d.Parameter = static_cast<ParameterKind>(p);
    EXPECT_EQ(DescribeAction(d)[1], std::string("Parameter: ") + word);
  }
}

TEST(Describe, OtherKindsShowTheirWordAlone) {
  Action bg = Rec(atReadBG);
  bg.FileName = "C:\\え\\sky.jpg";
  EXPECT_EQ(DescribeAction(bg)[0], "Read BG file (C:\\え\\sky.jpg)");
  Action data = Rec(atReadData);
  data.FileName = "x.tlo";
  EXPECT_EQ(DescribeAction(data)[0], "Read data file");
  EXPECT_EQ(DescribeAction(Rec(atUndo, 8, dtLine)), (Lines{"Undo", "at 09:30:00.00.", ""}));
  EXPECT_EQ(DescribeAction(Rec(atBranch, 3))[0], "Branch (STEP = 3)");
  EXPECT_EQ(DescribeAction(Rec(atSetStamp))[0], "Set stamp data");
  EXPECT_EQ(DescribeAction(Rec(atClearBG))[0], "Clear background");
  EXPECT_EQ(DescribeAction(Rec(atClearDrawing))[0], "Clear drawing");
  EXPECT_EQ(DescribeAction(Rec(atClearAll))[0], "Clear all");
  EXPECT_EQ(DescribeAction(Rec(static_cast<ActionKind>(16), 1)), (Lines{"WARNING: Action ?", "at 09:30:00.00.", ""}));
  EXPECT_TRUE(DescribeAction(Rec(atNone, 1)).empty());
}

class LineLog : public ProcessDisplay {
 public:
  std::vector<std::string> Lines;
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  void Clear() override { Lines.clear(); }
};

TEST(ShowAction, WritesOnlyWhileTheDisplayIsOn) {
  AppState S;
  LineLog memo;
  S.Memo = &memo;
  ShowAction(S, Rec(atClearBG));
  EXPECT_TRUE(memo.Lines.empty());
  S.ShowProcess = true;
  ShowAction(S, Rec(atNone));
  ShowAction(S, Rec(atClearBG));
  EXPECT_EQ(memo.Lines, (Lines{"Clear background", "at 09:30:00.00.", ""}));
}

}  // namespace
