// Drawing files written and read back: the example file, headers, every
// record kind and parameter, figure IDs, times, code pages and long texts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "format/format_text.h"
#include "history/actions.h"
#include "history/play.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "support/crlf.h"
#include "support/drawing_file_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/builders.h"

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

TEST_F(DrawingFile, TheFourRecordExampleReads) {
  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"sora.jpgが見つかりません。場所を指定しますか？"});
  ASSERT_EQ(S.History().Count(), 4);
  EXPECT_EQ(S.History().NextFigID, 2);

  const Action& line = Record(1);
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
  EXPECT_EQ(line.FigData.PointData.Count(), 0);
  EXPECT_TRUE(line.FigData.StampData.empty());

  const Action& free = Record(2);
  EXPECT_EQ(free.FigData.DrawingTool, ToolKind::FreeLine);
  EXPECT_EQ(free.FigData.PenColor, 0x000080FF);
  ASSERT_EQ(free.FigData.PointData.Count(), 3);
  EXPECT_EQ(free.FigData.PointData.Points[2], (Point{30, 12}));
  EXPECT_EQ(free.FigData.PointData.MaxY, 15);

  const Action& change = Record(3);
  EXPECT_EQ(change.TargetType, ActionKind::Change);
  EXPECT_EQ(change.Parameter, ParameterKind::LineColor);
  EXPECT_EQ(change.FigData.PenColor, 0x000000FF);
  EXPECT_EQ(change.FigData.DrawingTool, ToolKind::None);

  const Action& bg = Record(4);
  EXPECT_EQ(bg.TargetType, ActionKind::ReadBG);
  EXPECT_EQ(bg.FileName, "C:\\e\\sora.jpg");
  EXPECT_EQ(bg.TargetID, 0);
}

TEST_F(DrawingFile, TheExampleIsWrittenBackByteForByte) {
  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  EXPECT_EQ(HistoryFileText(S.History()), Crlf(ExampleLines));
}

TEST_F(DrawingFile, BareLineFeedsAndAMissingLastLineBreakAreAccepted) {
  std::string lf;
  for (const auto& l : ExampleLines) lf += l + "\n";
  lf.pop_back();  // "end ActionData" without line break, read whole
  ASSERT_EQ(Read(lf), 0);
  EXPECT_EQ(S.History().Count(), 4);
  EXPECT_EQ(HistoryFileText(S.History()), Crlf(ExampleLines));
}

TEST_F(DrawingFile, WriteHistoryWritesTheFileAndTellsAnEmptyHistory) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(WriteHistory(S.History(), f), 1);
  std::rewind(f);
  EXPECT_EQ(ReadHistory(S, f), 0);
  EXPECT_EQ(S.History().Count(), 0);
  EXPECT_EQ(S.History().NextFigID, 1);
  std::fclose(f);
  EXPECT_EQ(HistoryFileText(S.History()), "TAMLO FILE FORMAT 1.2\r\n");

  ASSERT_EQ(Read(Crlf(ExampleLines)), 0);
  f = std::tmpfile();
  EXPECT_EQ(WriteHistory(S.History(), f), 0);
  std::rewind(f);
  std::string back(4096, '\0');
  back.resize(std::fread(back.data(), 1, back.size(), f));
  std::fclose(f);
  EXPECT_EQ(back, Crlf(ExampleLines));
}

TEST_F(DrawingFile, AllThreeHeadersReadAlike) {
  for (const char* header : {"TAMLO FILE FORMAT 1.0", "TAMLO FILE FORMAT 1.1", "TAMLO FILE FORMAT 1.2"}) {
    S.Reset();
    auto lines = ExampleLines;
    lines[0] = header;
    ASSERT_EQ(Read(Crlf(lines)), 0) << header;
    EXPECT_EQ(S.History().Count(), 4);
    EXPECT_EQ(HistoryFileText(S.History()), Crlf(ExampleLines));
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
    EXPECT_EQ(S.History().Count(), 0);
  }
  Dialogs.Shown.clear();
  EXPECT_EQ(Read(""), 1);
  EXPECT_EQ(Dialogs.LastText(), "データフォーマットが違います");
}

TEST_F(DrawingFile, HeaderAloneIsAnEmptyDrawing) {
  EXPECT_EQ(Read("TAMLO FILE FORMAT 1.2\r\n"), 0);
  EXPECT_EQ(Read("TAMLO FILE FORMAT 1.1"), 0);
  EXPECT_EQ(S.History().Count(), 0);
  EXPECT_EQ(S.History().NextFigID, 1);
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(DrawingFile, EveryKindAndParameterRoundTrips) {
  Figure line = Fig(ToolKind::Line);
  Figure poly = Fig(ToolKind::Polygon);
  Vertex pts;
  pts.AddPoint(1, 2);
  pts.AddPoint(-3, 400);
  pts.AddPoint(50, -60);
  poly.PointData = pts;
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
  for (int p = static_cast<int>(ParameterKind::Size); p <= static_cast<int>(ParameterKind::TextColor); ++p) {
    Action& c = Add(ActionKind::Change, 2, poly);
    c.Parameter = static_cast<ParameterKind>(p);
  }
  Action& c = Add(ActionKind::Change, 3, text);
  c.Parameter = ParameterKind::Text;
  Add(ActionKind::ReadData, 0).FileName = "/nowhere/e.tlo";
  Add(ActionKind::ReadBG, 0).FileName = "C:\\e\\sora.jpg";
  Add(ActionKind::ClearBG, 0);
  Add(ActionKind::ClearDrawing, 0);
  Add(ActionKind::ClearAll, 0);
  Add(ActionKind::Branch, 3);
  Source.Last().ActionTime = At(23, 59, 59, 99);

  const std::string text1 = HistoryFileText(Source);
  ASSERT_EQ(Read(text1), 0);
  EXPECT_EQ(S.History().Count(), Source.Count());
  EXPECT_EQ(S.History().NextFigID, 5);
  EXPECT_EQ(HistoryFileText(S.History()), text1);

  ASSERT_EQ(S.History().Count(), Source.Count());
  for (int32_t step = 1; step <= Source.Count(); ++step) {
    const Action& a = Source.At(step);
    const Action& b = S.History().At(step);
    const std::string where = ActionWord(a.TargetType);
    EXPECT_EQ(a.TargetType, b.TargetType) << where;
    EXPECT_EQ(a.TargetID, b.TargetID) << where;
    EXPECT_EQ(a.Parameter, b.Parameter) << where;
    EXPECT_EQ(a.FileName, b.FileName) << where;
    EXPECT_EQ(a.ActionTime.Hour, b.ActionTime.Hour) << where;
    EXPECT_EQ(a.ActionTime.Hund, b.ActionTime.Hund) << where;
    if (a.TargetType == ActionKind::Create || a.TargetType == ActionKind::Move || a.TargetType == ActionKind::Duplicate ||
        a.TargetType == ActionKind::Undo)
      ExpectSameFigure(a.FigData, b.FigData, where);
    EXPECT_EQ(b.FigData.BrushStyle, 0) << where;
  }
}

TEST_F(DrawingFile, BranchIdsCountTowardNextFigID) {
  for (int id = 1; id <= 7; ++id) Add(ActionKind::Create, id, Fig(ToolKind::Line));
  Add(ActionKind::Branch, 40);
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(S.History().NextFigID, 40);
  S.Reset();
  Source.Clear();
  Add(ActionKind::Create, -5, Fig(ToolKind::Line));
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(S.History().NextFigID, 1);
}

TEST_F(DrawingFile, HugeIDsNeverMakeNewFiguresShareOne) {
  // A branch far beyond itself reads as the step before it, which is what
  // replay makes of it; it no longer raises the ID counter to the top.
  Add(ActionKind::Create, INT32_MIN, Fig(ToolKind::Line));
  Add(ActionKind::Create, 7, Fig(ToolKind::Line));
  Add(ActionKind::Branch, INT32_MAX);
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(Record(3).TargetID, 2);
  EXPECT_EQ(S.History().NextFigID, 7);

  // The largest IDs stay as they are, each its own figure. Figures drawn
  // after them take free IDs, never a wrapped one (INT32_MIN is taken), and
  // a move of the new figure replays on it, not on an old one.
  S.Reset();
  Source.Clear();
  Add(ActionKind::Create, INT32_MAX, Fig(ToolKind::Line));
  Add(ActionKind::Create, MaxFigureID, Fig(ToolKind::Line));
  Add(ActionKind::Create, INT32_MIN, Fig(ToolKind::Rectangle));
  Add(ActionKind::Create, 1, Fig(ToolKind::Ellipse));
  ASSERT_EQ(Read(HistoryFileText(Source)), 0);
  EXPECT_EQ(Record(1).TargetID, INT32_MAX);
  EXPECT_EQ(Record(2).TargetID, MaxFigureID);
  ContinueFigureIDs(S);  // as the loading commands do
  GoToStep(S, S.History().Count());
  Figure* fresh = CreateFigure(S, Fig(ToolKind::Rectangle));
  CreateFigure(S, Fig(ToolKind::Rectangle));
  std::vector<int32_t> ids;
  for (const Action& a : S.History()) ids.push_back(a.TargetID);
  EXPECT_EQ(ids, (std::vector<int32_t>{INT32_MAX, MaxFigureID, INT32_MIN, 1, 2, 3}));
  S.SelectedFig = fresh;
  fresh->Start.X += 40;
  fresh->End.X += 40;
  RecordMoveOfSelected(S);
  EXPECT_EQ(S.History().Last().TargetID, 2);
  GoToStep(S);  // rebuilt from the records alone
  std::vector<int32_t> lefts;
  for (const Figure& f : S.Figures()) lefts.push_back(f.Start.X);
  EXPECT_EQ(lefts, (std::vector<int32_t>{10, 10, 10, 10, 50, 10}));
}

TEST_F(DrawingFile, TimeLineIsZeroPadded) {
  Add(ActionKind::ClearAll, 0).ActionTime = At(9, 5, 7, 42);
  EXPECT_EQ(BlockLines(HistoryFileText(Source), 1)[0], "09 05 07 42");
}

TEST_F(DrawingFile, JapaneseTextIsStoredInCp932) {
  Figure t = Fig(ToolKind::Text);
  t.Text = "おはよう 世界";
  Add(ActionKind::Create, 1, t);
  Add(ActionKind::ReadBG, 0).FileName = "/えほん/そら.jpg";
  const std::string text = HistoryFileText(Source);
  EXPECT_NE(text.find("\x82\xa8\x82\xcd\x82\xe6\x82\xa4 \x90\xa2\x8a\x45\r\n"), std::string::npos);
  EXPECT_NE(text.find("/\x82\xa6\x82\xd9\x82\xf1/\x82\xbb\x82\xe7.jpg\r\n"), std::string::npos);
  ASSERT_EQ(Read(text), 0);
  EXPECT_EQ(Record(1).FigData.Text, "おはよう 世界");
  EXPECT_EQ(Record(2).FileName, "/えほん/そら.jpg");
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
  EXPECT_EQ(Record(1).FigData.Text, "あめ");
  EXPECT_EQ(Record(2).FigData.Text, "にじ🌈");
}

TEST_F(DrawingFile, LongTextsAndFileNamesRoundTrip) {
  for (size_t n : {254u, 255u, 256u, 5000u, 300000u}) {
    Source.Clear();
    S.Reset();
    Figure t = Fig(ToolKind::Text);
    t.Text = std::string(n - 3, 'x') + "あ";
    Add(ActionKind::Create, 1, t);
    Add(ActionKind::ReadData, 0).FileName = "/" + std::string(n, 'd') + "/e.tlo";
    const std::string text = HistoryFileText(Source);
    ASSERT_EQ(Read(text), 0) << n;
    // Texts beyond what the text box takes (32767 characters) are cut.
    EXPECT_EQ(Record(1).FigData.Text, n - 2 <= 32767 ? t.Text : std::string(32767, 'x')) << n;
    EXPECT_EQ(Record(2).FileName, Source.Last().FileName) << n;
  }
}

}  // namespace
