// The blocks of drawing files: change records with only their parameter's
// lines, size changes with the vertices or stamp of their target, nested
// stamps, long vertex lists and figures without one.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "format/format_text.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "support/crlf.h"
#include "support/drawing_file_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/builders.h"

namespace {

TEST_F(DrawingFile, ChangeBlocksHoldOnlyTheirParameterLines) {
  Figure ellipse = Fig(ToolKind::Ellipse);
  Add(ActionKind::Create, 1, ellipse);
  const struct {
    ParameterKind p;
    std::vector<std::string> lines;
  } cases[] = {
      {ParameterKind::Size, {"12", "10 20", "110 220"}},
      {ParameterKind::BodyColor, {"clBtnFace"}},
      {ParameterKind::LineWidth, {"4"}},
      {ParameterKind::LineColor, {"clBlack"}},
      {ParameterKind::Text, {"10 20", "110 220", "a b"}},
      {ParameterKind::TextColor, {"$00123456"}},
  };
  for (const auto& c : cases) Add(ActionKind::Change, 1, ellipse).Parameter = c.p;
  const std::string text = HistoryFileText(Source);
  int step = 2;
  for (const auto& c : cases) {
    std::vector<std::string> want = {"10 20 30 40", "Change", "1", ParameterWord(c.p), "begin FigData"};
    want.insert(want.end(), c.lines.begin(), c.lines.end());
    want.push_back("end FigData");
    EXPECT_EQ(BlockLines(text, step++), want) << ParameterWord(c.p);
  }

  ASSERT_EQ(Read(text), 0);
  // Fields a change block does not carry keep the fresh record's values.
  const Figure& width = Record(4).FigData;
  EXPECT_EQ(width.PenWidth, 4);
  EXPECT_EQ(width.TextSize, 0);
  EXPECT_EQ(width.PenColor, 0);
  EXPECT_EQ(width.Text, "");
  EXPECT_EQ(width.DrawingTool, ToolKind::None);
  const Figure& textChange = Record(6).FigData;
  EXPECT_EQ(textChange.Text, "a b");
  EXPECT_EQ(textChange.End, (Point{110, 220}));
  EXPECT_EQ(textChange.PenWidth, 0);
  EXPECT_EQ(HistoryFileText(S.History()), text);
}

TEST_F(DrawingFile, SizeChangeCarriesPointsOrStampByItsTarget) {
  Figure free = Fig(ToolKind::FreeLine);
  Vertex pts;
  pts.AddPoint(5, 6);
  pts.AddPoint(7, 8);
  free.PointData = pts;
  Figure stamp = Fig(ToolKind::Stamp);
  std::vector<Figure> contents;
  contents.push_back(Fig(ToolKind::Rectangle));
  stamp.StampData = contents;
  Add(ActionKind::Create, 1, free);
  Add(ActionKind::Create, 2, Fig(ToolKind::Ellipse));
  Add(ActionKind::Create, 3, stamp);
  for (int id = 1; id <= 3; ++id) {
    // The change record's own snapshot is a free line every time: only the
    // target's kind decides.
    Action& c = Add(ActionKind::Change, id, id == 3 ? stamp : free);
    c.Parameter = ParameterKind::Size;
  }
  const std::string text = HistoryFileText(Source);
  const auto points = BlockLines(text, 4);
  ASSERT_EQ(points.size(), 13u);
  EXPECT_EQ(points[8], "begin PointData");
  EXPECT_EQ(points[11], "end PointData");
  EXPECT_EQ(BlockLines(text, 5).size(), 9u);
  const auto st = BlockLines(text, 6);
  EXPECT_EQ(st[8], "begin StampData");
  EXPECT_EQ(st[9], "begin FigData");
  EXPECT_EQ(st[10], "dtRectangle");

  ASSERT_EQ(Read(text), 0);
  const Figure& r1 = Record(4).FigData;
  EXPECT_EQ(r1.PointData.Count(), 2);
  EXPECT_EQ(r1.PointData.Points[1], (Point{7, 8}));
  EXPECT_TRUE(r1.StampData.empty());
  EXPECT_EQ(Record(5).FigData.PointData.Count(), 0);
  EXPECT_TRUE(Record(5).FigData.StampData.empty());
  const Figure& r3 = Record(6).FigData;
  EXPECT_EQ(r3.PointData.Count(), 0);
  EXPECT_EQ(r3.StampData.size(), 1u);
  EXPECT_EQ(HistoryFileText(S.History()), text);
}

TEST_F(DrawingFile, SizeChangeWithoutEarlierTargetFindsItself) {
  // Reader: the change finds itself, which has no tool yet: no block follows.
  const std::string noBlock = Crlf({"TAMLO FILE FORMAT 1.2", "begin ActionData", "00 00 00 00", "Change", "9",
                                    "Size", "begin FigData", "12", "1 2", "3 4", "end FigData", "end ActionData"});
  ASSERT_EQ(Read(noBlock), 0);
  EXPECT_EQ(Record(1).FigData.PointData.Count(), 0);
  EXPECT_EQ(HistoryFileText(S.History()), noBlock);

  // Writer: goes by the record's own snapshot (a file the reader refuses).
  Figure free = Fig(ToolKind::FreeLine);
  Vertex pts;
  pts.AddPoint(1, 1);
  free.PointData = pts;
  Add(ActionKind::Change, 9, free).Parameter = ParameterKind::Size;
  const std::string text = HistoryFileText(Source);
  EXPECT_NE(text.find("begin PointData"), std::string::npos);
  S.Reset();
  EXPECT_EQ(Read(text), 1);
  EXPECT_EQ(Dialogs.LastText(), "ActionItem：読み込みエラー");
}

TEST_F(DrawingFile, NestedStampsKeepNestingAndOrder) {
  Figure inner = Fig(ToolKind::Stamp);
  std::vector<Figure> innerList;
  innerList.push_back(Fig(ToolKind::Ellipse));
  Figure innerFree = Fig(ToolKind::Polyline);
  Vertex pts;
  pts.AddPoint(3, 4);
  innerFree.PointData = pts;
  innerList.push_back(innerFree);
  inner.StampData = innerList;

  Figure outer = Fig(ToolKind::Stamp);
  std::vector<Figure> outerList;
  Figure first = Fig(ToolKind::Text);
  first.Text = "いちばん";
  outerList.push_back(first);
  outerList.push_back(inner);
  outerList.push_back(Fig(ToolKind::Stamp));  // an empty stamp
  outerList.push_back(Fig(ToolKind::Line));
  outer.StampData = outerList;
  Add(ActionKind::Create, 1, outer);

  const std::string text = HistoryFileText(Source);
  ASSERT_EQ(Read(text), 0);
  const Figure& got = Record(1).FigData;
  ExpectSameFigure(Source.At(1).FigData, got, "outer");
  ASSERT_EQ(got.StampData.size(), 4u);
  const Figure& nested = got.StampData[1];
  EXPECT_EQ(nested.DrawingTool, ToolKind::Stamp);
  ASSERT_EQ(nested.StampData.size(), 2u);
  EXPECT_EQ(nested.StampData.back().PointData.Points[0], (Point{3, 4}));
  EXPECT_EQ(nested.StampData.back().BrushStyle, 0);
  EXPECT_EQ(HistoryFileText(S.History()), text);
}

TEST_F(DrawingFile, PointBlockKeepsTwoThousandVertices) {
  std::vector<std::string> lines = {"TAMLO FILE FORMAT 1.2", "begin ActionData", "01 02 03 04", "Create", "1",
                                    "begin FigData", "dtPolygon", "1", "clBlack", "clWhite", "12", "clBlack", "",
                                    "0 0", "0 0", "begin PointData"};
  for (int i = 0; i < 2001; ++i) lines.push_back(std::to_string(i) + " " + std::to_string(-i));
  lines.insert(lines.end(), {"end PointData", "end FigData", "end ActionData"});
  ASSERT_EQ(Read(Crlf(lines)), 0);
  const Vertex& p = Record(1).FigData.PointData;
  EXPECT_EQ(p.Count(), 2000);
  EXPECT_EQ(p.Points[1999], (Point{1999, -1999}));
  EXPECT_EQ(p.MaxX, 1999);
  EXPECT_EQ(p.MinY, -1999);
}

TEST_F(DrawingFile, FiguresWithoutVertexListOrToolStillWrite) {
  // A point figure without a list is written with an empty block.
  Add(ActionKind::Create, 1, Fig(ToolKind::FreeLine));
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(Record(1).FigData.PointData.Count(), 0);

  // No tool line for ToolKind::None, "Unknown" for codes outside the tables: such a
  // file does not load.
  for (int variant = 0; variant < 3; ++variant) {
    Source.Clear();
    S.Reset();
    Dialogs.Shown.clear();
    if (variant == 0) Add(ActionKind::Create, 1, Figure());
    if (variant == 1) Add(ActionKind::None, 1);
    if (variant == 2) Add(ActionKind::Change, 1).Parameter = ParameterKind::None;
    const std::string text = HistoryFileText(Source);
    if (variant == 1) {
      EXPECT_NE(text.find("\r\nUnknown\r\n"), std::string::npos);
    }
    EXPECT_EQ(Read(text), 1) << variant;
    EXPECT_EQ(Dialogs.LastText(), "ActionItem：読み込みエラー");
    EXPECT_EQ(S.History().Count(), 0);
  }
}

}  // namespace
