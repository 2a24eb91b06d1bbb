// Drawing files written and read back: every record kind and parameter,
// nested stamps, vertex lists, headers, code pages and long texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/format_text.h"
#include "support/crlf.h"
#include "support/scripted_dialogs.h"

namespace {

const std::vector<std::string> ExampleLines = {
    "TAMLO FILE FORMAT 1.2",
    "begin ActionData", "10 02 15 07", "Create", "1",
    "begin FigData", "dtLine", "3", "clBlack", "clBtnFace", "12", "clBlack", "", "100 120", "300 200", "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 21 53", "Create", "2",
    "begin FigData", "dtFreeLine", "1", "$000080FF", "clBtnFace", "12", "clBlack", "", "10 10", "30 15",
    "begin PointData", "10 10", "20 15", "30 12", "end PointData",
    "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 30 00", "Change", "1", "LineColor",
    "begin FigData", "clRed", "end FigData",
    "end ActionData",
    "begin ActionData", "10 03 02 88", "ReadBG", "C:\\e\\sora.jpg",
    "end ActionData",
};

// A state whose dialogs are scripted (the locating question is answered No).
struct DrawingFile : ::testing::Test {
  AppState S;
  ScriptedDialogs Dialogs;
  DrawingFile() { S.Dialogs = &Dialogs; }

  int Read(const std::string& text) { return ReadHistory(S, text); }

  HistoryItem* Record(int32_t step) { return S.History.ItemAt(step); }

  HistoryItem* Add(ActionKind type, int32_t id, const Figure& fig = Figure()) {
    HistoryItem* a = Source.AddAction(fig);
    a->Data.TargetType = type;
    a->Data.TargetID = id;
    a->Data.ActionTime = Time(10, 20, 30, 40);
    return a;
  }

  static TimeOfDay Time(int h, int m, int s, int hund) {
    TimeOfDay t;
    t.Hour = static_cast<uint8_t>(h);
    t.Min = static_cast<uint8_t>(m);
    t.Sec = static_cast<uint8_t>(s);
    t.Hund = static_cast<uint8_t>(hund);
    return t;
  }

  HistoryList Source;  // histories built by hand, written, then read into S
};

Figure Fig(ToolKind tool) {
  Figure f;
  f.DrawingTool = tool;
  f.PenWidth = 4;
  f.PenColor = clBlack;
  f.BrushColor = clBtnFace;
  f.BrushStyle = 1;
  f.TextSize = 12;
  f.TextColor = 0x00123456;
  f.Text = "a b";
  f.Start = {10, 20};
  f.End = {110, 220};
  return f;
}

void ExpectSameFigure(const Figure& a, const Figure& b, const std::string& where);

void ExpectSameList(const FigureList* a, const FigureList* b, const std::string& where) {
  ASSERT_EQ(a == nullptr, b == nullptr) << where;
  if (a == nullptr) return;
  ASSERT_EQ(a->FigCount(), b->FigCount()) << where;
  int i = 0;
  for (const FigureItem *x = a->Head->Next, *y = b->Head->Next; x != nullptr; x = x->Next, y = y->Next, ++i)
    ExpectSameFigure(x->Data, y->Data, where + "/" + std::to_string(i));
}

void ExpectSameFigure(const Figure& a, const Figure& b, const std::string& where) {
  EXPECT_EQ(a.DrawingTool, b.DrawingTool) << where;
  EXPECT_EQ(a.PenWidth, b.PenWidth) << where;
  EXPECT_EQ(a.PenColor, b.PenColor) << where;
  EXPECT_EQ(a.BrushColor, b.BrushColor) << where;
  EXPECT_EQ(a.TextSize, b.TextSize) << where;
  EXPECT_EQ(a.TextColor, b.TextColor) << where;
  EXPECT_EQ(a.Text, b.Text) << where;
  EXPECT_EQ(a.Start, b.Start) << where;
  EXPECT_EQ(a.End, b.End) << where;
  ASSERT_EQ(a.PointData == nullptr, b.PointData == nullptr) << where;
  if (a.PointData != nullptr) {
    ASSERT_EQ(a.PointData->Count, b.PointData->Count) << where;
    for (int32_t i = 0; i < a.PointData->Count; ++i) EXPECT_EQ(a.PointData->Points[i], b.PointData->Points[i]) << where;
  }
  ExpectSameList(a.StampData, b.StampData, where + " stamp");
}

TEST_F(DrawingFile, TheFourRecordExampleReads) {
  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"sora.jpgが見つかりません。場所を指定しますか？"});
  ASSERT_EQ(S.History.Count(), 4);
  EXPECT_EQ(S.History.NextFigID, 2);

  const Action& line = Record(1)->Data;
  EXPECT_EQ(line.TargetType, ActionKind::Create);
  EXPECT_EQ(line.TargetID, 1);
  EXPECT_EQ(line.ActionTime.Hour, 10);
  EXPECT_EQ(line.ActionTime.Min, 2);
  EXPECT_EQ(line.ActionTime.Sec, 15);
  EXPECT_EQ(line.ActionTime.Hund, 7);
  EXPECT_EQ(line.FigData.DrawingTool, ToolKind::Line);
  EXPECT_EQ(line.FigData.PenWidth, 3);
  EXPECT_EQ(line.FigData.PenColor, clBlack);
  EXPECT_EQ(line.FigData.BrushColor, clBtnFace);
  EXPECT_EQ(line.FigData.BrushStyle, 0);
  EXPECT_EQ(line.FigData.TextSize, 12);
  EXPECT_EQ(line.FigData.Text, "");
  EXPECT_EQ(line.FigData.Start, (Point{100, 120}));
  EXPECT_EQ(line.FigData.End, (Point{300, 200}));
  EXPECT_EQ(line.FigData.PointData, nullptr);
  EXPECT_EQ(line.FigData.StampData, nullptr);

  const Action& free = Record(2)->Data;
  EXPECT_EQ(free.FigData.DrawingTool, ToolKind::FreeLine);
  EXPECT_EQ(free.FigData.PenColor, 0x000080FF);
  ASSERT_NE(free.FigData.PointData, nullptr);
  ASSERT_EQ(free.FigData.PointData->Count, 3);
  EXPECT_EQ(free.FigData.PointData->Points[2], (Point{30, 12}));
  EXPECT_EQ(free.FigData.PointData->MaxY, 15);

  const Action& change = Record(3)->Data;
  EXPECT_EQ(change.TargetType, ActionKind::Change);
  EXPECT_EQ(change.Parameter, ParameterKind::LineColor);
  EXPECT_EQ(change.FigData.PenColor, 0x000000FF);
  EXPECT_EQ(change.FigData.DrawingTool, ToolKind::None);

  const Action& bg = Record(4)->Data;
  EXPECT_EQ(bg.TargetType, ActionKind::ReadBG);
  EXPECT_EQ(bg.FileName, "C:\\e\\sora.jpg");
  EXPECT_EQ(bg.TargetID, 0);
}

TEST_F(DrawingFile, TheExampleIsWrittenBackByteForByte) {
  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  EXPECT_EQ(HistoryFileText(S.History), Crlf(ExampleLines));
}

TEST_F(DrawingFile, BareLineFeedsAndAMissingLastLineBreakAreAccepted) {
  std::string lf;
  for (const auto& l : ExampleLines) lf += l + "\n";
  lf.pop_back();  // "end ActionData" without line break, read whole
  ASSERT_EQ(Read(lf), 0);
  EXPECT_EQ(S.History.Count(), 4);
  EXPECT_EQ(HistoryFileText(S.History), Crlf(ExampleLines));
}

TEST_F(DrawingFile, WriteHistoryWritesTheFileAndTellsAnEmptyHistory) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(WriteHistory(S.History, f), 1);
  std::rewind(f);
  EXPECT_EQ(ReadHistory(S, f), 0);
  EXPECT_EQ(S.History.Count(), 0);
  EXPECT_EQ(S.History.NextFigID, 1);
  std::fclose(f);
  EXPECT_EQ(HistoryFileText(S.History), "TAMLO FILE FORMAT 1.2\r\n");

  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  f = std::tmpfile();
  EXPECT_EQ(WriteHistory(S.History, f), 0);
  std::rewind(f);
  std::string back(4096, '\0');
  back.resize(std::fread(back.data(), 1, back.size(), f));
  std::fclose(f);
  EXPECT_EQ(back, Crlf(ExampleLines));
}

TEST_F(DrawingFile, AllThreeHeadersReadAlike) {
  for (const char* header : {"TAMLO FILE FORMAT 1.0", "TAMLO FILE FORMAT 1.1", "TAMLO FILE FORMAT 1.2"}) {
    S.History.Clear();
    auto lines = ExampleLines;
    lines[0] = header;
    ASSERT_EQ(Read(Crlf(lines)), 0) << header;
    EXPECT_EQ(S.History.Count(), 4);
    EXPECT_EQ(HistoryFileText(S.History), Crlf(ExampleLines));
  }
}

TEST_F(DrawingFile, HeaderNearMissesAreRefused) {
  for (const char* header : {"TAMLO FILE FORMAT 1.2 ", " TAMLO FILE FORMAT 1.2", "tamlo file format 1.2",
                             "TAMLO FILE FORMAT 1.3", "TAMLO FILE FORMAT", "\xEF\xBB\xBFTAMLO FILE FORMAT 1.2",
                             ""}) {
    Dialogs.Shown.clear();
    auto lines = ExampleLines;
    lines[0] = header;
    EXPECT_EQ(Read(Crlf(lines)), 1) << header;
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"データフォーマットが違います"});
    EXPECT_EQ(S.History.Count(), 0);
  }
  Dialogs.Shown.clear();
  EXPECT_EQ(Read(""), 1);
  EXPECT_EQ(Dialogs.LastText(), "データフォーマットが違います");
}

TEST_F(DrawingFile, HeaderAloneIsAnEmptyDrawing) {
  EXPECT_EQ(Read("TAMLO FILE FORMAT 1.2\r\n"), 0);
  EXPECT_EQ(Read("TAMLO FILE FORMAT 1.1"), 0);
  EXPECT_EQ(S.History.Count(), 0);
  EXPECT_EQ(S.History.NextFigID, 1);
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(DrawingFile, EveryKindAndParameterRoundTrips) {
  Figure line = Fig(ToolKind::Line);
  Figure poly = Fig(ToolKind::Polygon);
  Vertex pts;
  pts.AddPoint(1, 2);
  pts.AddPoint(-3, 400);
  pts.AddPoint(50, -60);
  poly.PointData = &pts;
  Figure text = Fig(ToolKind::Text);
  text.Text = " 先頭に空白 and blanks  ";

  Add(ActionKind::Create, 1, line);
  Add(ActionKind::Create, 2, poly);
  Add(ActionKind::Create, 3, text);
  Add(ActionKind::SetStamp, 0);
  Add(ActionKind::Move, 1, line);
  Add(ActionKind::Duplicate, 4, poly);
  Add(ActionKind::Delete, 4);
  Add(ActionKind::Undo, 5, poly);
  Add(ActionKind::Front, 2);
  Add(ActionKind::Back, 3);
  for (int p = ParameterKind::Size; p <= ParameterKind::TextColor; ++p) {
    HistoryItem* c = Add(ActionKind::Change, 2, poly);
    c->Data.Parameter = static_cast<ParameterKind>(p);
  }
  HistoryItem* c = Add(ActionKind::Change, 3, text);
  c->Data.Parameter = ParameterKind::Text;
  Add(ActionKind::ReadData, 0)->Data.FileName = "/nowhere/e.tlo";
  Add(ActionKind::ReadBG, 0)->Data.FileName = "C:\\e\\sora.jpg";
  Add(ActionKind::ClearBG, 0);
  Add(ActionKind::ClearDrawing, 0);
  Add(ActionKind::ClearAll, 0);
  Add(ActionKind::Branch, 3);
  Source.Tail->Data.ActionTime = Time(23, 59, 59, 99);

  const std::string text1 = HistoryFileText(Source);
  ASSERT_EQ(Read(text1), 0);
  EXPECT_EQ(S.History.Count(), Source.Count());
  EXPECT_EQ(S.History.NextFigID, 5);
  EXPECT_EQ(HistoryFileText(S.History), text1);

  const HistoryItem* b = S.History.Head->Next;
  for (const HistoryItem* a = Source.Head->Next; a != nullptr; a = a->Next, b = b->Next) {
    ASSERT_NE(b, nullptr);
    const std::string where = ActionWord(a->Data.TargetType);
    EXPECT_EQ(a->Data.TargetType, b->Data.TargetType) << where;
    EXPECT_EQ(a->Data.TargetID, b->Data.TargetID) << where;
    EXPECT_EQ(a->Data.Parameter, b->Data.Parameter) << where;
    EXPECT_EQ(a->Data.FileName, b->Data.FileName) << where;
    EXPECT_EQ(a->Data.ActionTime.Hour, b->Data.ActionTime.Hour) << where;
    EXPECT_EQ(a->Data.ActionTime.Hund, b->Data.ActionTime.Hund) << where;
    if (a->Data.TargetType == ActionKind::Create || a->Data.TargetType == ActionKind::Move || a->Data.TargetType == ActionKind::Duplicate ||
        a->Data.TargetType == ActionKind::Undo)
      ExpectSameFigure(a->Data.FigData, b->Data.FigData, where);
    EXPECT_EQ(b->Data.FigData.BrushStyle, 0) << where;
  }
}

// The lines of record `step`'s block in `text`, without "begin ActionData"
// and "end ActionData".
std::vector<std::string> BlockLines(const std::string& text, int step) {
  std::vector<std::string> all;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t e = text.find("\r\n", pos);
    all.push_back(text.substr(pos, e - pos));
    pos = e + 2;
  }
  int k = 0;
  std::vector<std::string> block;
  for (const auto& l : all) {
    if (l == "begin ActionData") {
      ++k;
      continue;
    }
    if (k == step && l == "end ActionData") break;
    if (k == step) block.push_back(l);
  }
  return block;
}

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
  for (const auto& c : cases) Add(ActionKind::Change, 1, ellipse)->Data.Parameter = c.p;
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
  const Figure& width = Record(4)->Data.FigData;
  EXPECT_EQ(width.PenWidth, 4);
  EXPECT_EQ(width.TextSize, 0);
  EXPECT_EQ(width.PenColor, 0);
  EXPECT_EQ(width.Text, "");
  EXPECT_EQ(width.DrawingTool, ToolKind::None);
  const Figure& textChange = Record(6)->Data.FigData;
  EXPECT_EQ(textChange.Text, "a b");
  EXPECT_EQ(textChange.End, (Point{110, 220}));
  EXPECT_EQ(textChange.PenWidth, 0);
  EXPECT_EQ(HistoryFileText(S.History), text);
}

TEST_F(DrawingFile, SizeChangeCarriesPointsOrStampByItsTarget) {
  Figure free = Fig(ToolKind::FreeLine);
  Vertex pts;
  pts.AddPoint(5, 6);
  pts.AddPoint(7, 8);
  free.PointData = &pts;
  Figure stamp = Fig(ToolKind::Stamp);
  FigureList contents;
  contents.AddFig(Fig(ToolKind::Rectangle));
  stamp.StampData = &contents;
  Add(ActionKind::Create, 1, free);
  Add(ActionKind::Create, 2, Fig(ToolKind::Ellipse));
  Add(ActionKind::Create, 3, stamp);
  for (int id = 1; id <= 3; ++id) {
    // The change record's own snapshot is a free line every time: only the
    // target's kind decides.
    HistoryItem* c = Add(ActionKind::Change, id, id == 3 ? stamp : free);
    c->Data.Parameter = ParameterKind::Size;
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
  const Figure& r1 = Record(4)->Data.FigData;
  ASSERT_NE(r1.PointData, nullptr);
  EXPECT_EQ(r1.PointData->Count, 2);
  EXPECT_EQ(r1.PointData->Points[1], (Point{7, 8}));
  EXPECT_EQ(r1.StampData, nullptr);
  EXPECT_EQ(Record(5)->Data.FigData.PointData, nullptr);
  EXPECT_EQ(Record(5)->Data.FigData.StampData, nullptr);
  const Figure& r3 = Record(6)->Data.FigData;
  EXPECT_EQ(r3.PointData, nullptr);
  ASSERT_NE(r3.StampData, nullptr);
  EXPECT_EQ(r3.StampData->FigCount(), 1);
  EXPECT_EQ(HistoryFileText(S.History), text);
}

TEST_F(DrawingFile, SizeChangeWithoutEarlierTargetFindsItself) {
  // Reader: the change finds itself, which has no tool yet: no block follows.
  const std::string noBlock = Crlf({"TAMLO FILE FORMAT 1.2", "begin ActionData", "00 00 00 00", "Change", "9",
                                    "Size", "begin FigData", "12", "1 2", "3 4", "end FigData", "end ActionData"});
  ASSERT_EQ(Read(noBlock), 0);
  EXPECT_EQ(Record(1)->Data.FigData.PointData, nullptr);
  EXPECT_EQ(HistoryFileText(S.History), noBlock);

  // Writer: goes by the record's own snapshot (a file the reader refuses).
  Figure free = Fig(ToolKind::FreeLine);
  Vertex pts;
  pts.AddPoint(1, 1);
  free.PointData = &pts;
  Add(ActionKind::Change, 9, free)->Data.Parameter = ParameterKind::Size;
  const std::string text = HistoryFileText(Source);
  EXPECT_NE(text.find("begin PointData"), std::string::npos);
  S.History.Clear();
  EXPECT_EQ(Read(text), 1);
  EXPECT_EQ(Dialogs.LastText(), "ActionItem：読み込みエラー");
}

TEST_F(DrawingFile, NestedStampsKeepNestingAndOrder) {
  Figure inner = Fig(ToolKind::Stamp);
  FigureList innerList;
  innerList.AddFig(Fig(ToolKind::Ellipse));
  Figure innerFree = Fig(ToolKind::Polyline);
  Vertex pts;
  pts.AddPoint(3, 4);
  innerFree.PointData = &pts;
  innerList.AddFig(innerFree);
  inner.StampData = &innerList;

  Figure outer = Fig(ToolKind::Stamp);
  FigureList outerList;
  Figure first = Fig(ToolKind::Text);
  first.Text = "いちばん";
  outerList.AddFig(first);
  outerList.AddFig(inner);
  outerList.AddFig(Fig(ToolKind::Stamp));  // an empty stamp
  outerList.AddFig(Fig(ToolKind::Line));
  outer.StampData = &outerList;
  Add(ActionKind::Create, 1, outer);

  const std::string text = HistoryFileText(Source);
  ASSERT_EQ(Read(text), 0);
  const Figure& got = Record(1)->Data.FigData;
  ExpectSameFigure(Source.Head->Next->Data.FigData, got, "outer");
  ASSERT_EQ(got.StampData->FigCount(), 4);
  const Figure& nested = got.StampData->Head->Next->Next->Data;
  EXPECT_EQ(nested.DrawingTool, ToolKind::Stamp);
  ASSERT_EQ(nested.StampData->FigCount(), 2);
  EXPECT_EQ(nested.StampData->Tail->Data.PointData->Points[0], (Point{3, 4}));
  EXPECT_EQ(nested.StampData->Tail->Data.BrushStyle, 0);
  EXPECT_TRUE(got.StampData->Valid());
  EXPECT_EQ(HistoryFileText(S.History), text);
}

TEST_F(DrawingFile, PointBlockKeepsTwoThousandVertices) {
  std::vector<std::string> lines = {"TAMLO FILE FORMAT 1.2", "begin ActionData", "01 02 03 04", "Create", "1",
                                    "begin FigData", "dtPolygon", "1", "clBlack", "clWhite", "12", "clBlack", "",
                                    "0 0", "0 0", "begin PointData"};
  for (int i = 0; i < 2001; ++i) lines.push_back(std::to_string(i) + " " + std::to_string(-i));
  lines.insert(lines.end(), {"end PointData", "end FigData", "end ActionData"});
  ASSERT_EQ(Read(Crlf(lines)), 0);
  const Vertex* p = Record(1)->Data.FigData.PointData;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Count, 2000);
  EXPECT_EQ(p->Points[1999], (Point{1999, -1999}));
  EXPECT_EQ(p->MaxX, 1999);
  EXPECT_EQ(p->MinY, -1999);
}

TEST_F(DrawingFile, BranchIdsCountTowardNextFigID) {
  for (int id = 1; id <= 7; ++id) Add(ActionKind::Create, id, Fig(ToolKind::Line));
  Add(ActionKind::Branch, 40);
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(S.History.NextFigID, 40);
  S.History.Clear();
  Source.Clear();
  Add(ActionKind::Create, -5, Fig(ToolKind::Line));
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(S.History.NextFigID, 1);
}

TEST_F(DrawingFile, TimeLineIsZeroPadded) {
  Add(ActionKind::ClearAll, 0)->Data.ActionTime = Time(9, 5, 7, 42);
  EXPECT_EQ(BlockLines(HistoryFileText(Source), 1)[0], "09 05 07 42");
}

TEST_F(DrawingFile, JapaneseTextIsStoredInCp932) {
  Figure t = Fig(ToolKind::Text);
  t.Text = "おはよう 世界";
  Add(ActionKind::Create, 1, t);
  Add(ActionKind::ReadBG, 0)->Data.FileName = "/えほん/そら.jpg";
  const std::string text = HistoryFileText(Source);
  EXPECT_NE(text.find("\x82\xa8\x82\xcd\x82\xe6\x82\xa4 \x90\xa2\x8a\x45\r\n"), std::string::npos);
  EXPECT_NE(text.find("/\x82\xa6\x82\xd9\x82\xf1/\x82\xbb\x82\xe7.jpg\r\n"), std::string::npos);
  ASSERT_EQ(Read(text), 0);
  EXPECT_EQ(Record(1)->Data.FigData.Text, "おはよう 世界");
  EXPECT_EQ(Record(2)->Data.FileName, "/えほん/そら.jpg");
  EXPECT_EQ(Dialogs.LastText(), "そら.jpgが見つかりません。場所を指定しますか？");
}

TEST_F(DrawingFile, TextWithoutCp932FormMakesTheWholeFileUtf8) {
  Figure t = Fig(ToolKind::Text);
  t.Text = "にじ🌈";
  Figure u = Fig(ToolKind::Text);
  u.Text = "あめ";
  Add(ActionKind::Create, 1, u);
  Add(ActionKind::Create, 2, t);
  const std::string text = HistoryFileText(Source);
  EXPECT_NE(text.find("\r\nあめ\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nにじ🌈\r\n"), std::string::npos);
  ASSERT_EQ(Read(text), 0);
  EXPECT_EQ(Record(1)->Data.FigData.Text, "あめ");
  EXPECT_EQ(Record(2)->Data.FigData.Text, "にじ🌈");
}

TEST_F(DrawingFile, LongTextsAndFileNamesRoundTrip) {
  for (size_t n : {254u, 255u, 256u, 5000u, 300000u}) {
    Source.Clear();
    S.History.Clear();
    Figure t = Fig(ToolKind::Text);
    t.Text = std::string(n - 3, 'x') + "あ";
    Add(ActionKind::Create, 1, t);
    Add(ActionKind::ReadData, 0)->Data.FileName = "/" + std::string(n, 'd') + "/e.tlo";
    const std::string text = HistoryFileText(Source);
    ASSERT_EQ(Read(text), 0) << n;
    // Texts beyond what the text box takes (32767 characters) are cut.
    EXPECT_EQ(Record(1)->Data.FigData.Text, n - 2 <= 32767 ? t.Text : std::string(32767, 'x')) << n;
    EXPECT_EQ(Record(2)->Data.FileName, Source.Tail->Data.FileName) << n;
  }
}

TEST_F(DrawingFile, FiguresWithoutVertexListOrToolStillWrite) {
  // A point figure without a list is written with an empty block.
  Add(ActionKind::Create, 1, Fig(ToolKind::FreeLine));
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  ASSERT_NE(Record(1)->Data.FigData.PointData, nullptr);
  EXPECT_EQ(Record(1)->Data.FigData.PointData->Count, 0);

  // No tool line for ToolKind::None, "Unknown" for codes outside the tables: such a
  // file does not load.
  for (int variant = 0; variant < 3; ++variant) {
    Source.Clear();
    S.History.Clear();
    Dialogs.Shown.clear();
    if (variant == 0) Add(ActionKind::Create, 1, Figure());
    if (variant == 1) Add(ActionKind::None, 1);
    if (variant == 2) Add(ActionKind::Change, 1)->Data.Parameter = ParameterKind::None;
    const std::string text = HistoryFileText(Source);
    if (variant == 1) {
      EXPECT_NE(text.find("\r\nUnknown\r\n"), std::string::npos);
    }
    EXPECT_EQ(Read(text), 1) << variant;
    EXPECT_EQ(Dialogs.LastText(), "ActionItem：読み込みエラー");
    EXPECT_EQ(S.History.Count(), 0);
  }
}

}  // namespace
