// Damaged and hostile drawing files: each gives its message, an empty
// history and NextFigID 1; nothing partial survives.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/codepage.h"
#include "support/crlf.h"
#include "support/fakes.h"
#include "support/scripted_dialogs.h"

namespace {

const char* const ReadError = "ActionItem：読み込みエラー";
const char* const FormatError = "データフォーマットが違います";
const char* const AnyReadError = "(the read error or a colour that is no number)";

// Every block kind: a line, a free line, a stamp holding a polygon, a size
// change of the free line, a text change, a background picture.
const std::vector<std::string> RichLines = {
    "TAMLO FILE FORMAT 1.2",
    "begin ActionData", "10 02 15 07", "Create", "1",
    "begin FigData", "dtLine", "3", "clBlack", "clBtnFace", "12", "clBlack", "", "100 120", "300 200", "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 21 53", "Create", "2",
    "begin FigData", "dtFreeLine", "1", "$000080FF", "clBtnFace", "12", "clBlack", "", "10 10", "30 15",
    "begin PointData", "10 10", "20 15", "30 12", "end PointData", "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 22 00", "Create", "3",
    "begin FigData", "dtStamp", "1", "clBlack", "clWhite", "12", "clBlack", "", "0 0", "40 40",
    "begin StampData",
    "begin FigData", "dtPolygon", "2", "clRed", "clBlue", "12", "clBlack", "", "0 0", "9 9",
    "begin PointData", "0 0", "9 9", "end PointData", "end FigData",
    "end StampData", "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 30 00", "Change", "2", "Size",
    "begin FigData", "14", "10 10", "60 30", "begin PointData", "10 10", "60 30", "end PointData", "end FigData",
    "end ActionData",
    "begin ActionData", "10 02 31 00", "Change", "1", "Text",
    "begin FigData", "1 2", "3 4", "もじ", "end FigData",
    "end ActionData",
    "begin ActionData", "10 03 02 88", "ReadBG", "C:\\e\\sora.jpg",
    "end ActionData",
};

struct DamagedFile : ::testing::Test {
  AppState S;
  ScriptedDialogs Dialogs;
  DamagedFile() { S.Dialogs = &Dialogs; }

  ReadReport Report;

  // Reads `text` and expects failure with `message`, an empty history and
  // NextFigID back at 1. The reader itself shows nothing.
  void ExpectRefused(const std::string& text, const std::string& message, const std::string& why) {
    S.Reset();
    Dialogs.Shown.clear();
    EXPECT_EQ(ReadHistory(S, text, &Report), 1) << why;
    EXPECT_TRUE(Dialogs.Shown.empty()) << why;
    ASSERT_TRUE(Report.Fault.has_value()) << why;
    const std::string shown = ReadFaultMessage(*Report.Fault);
    if (message == AnyReadError) {
      // A cut inside a colour line leaves a line that is no colour.
      const std::string t = shown;
      const std::string notInteger = "' は整数ではありません";
      const bool colourMessage = t.size() > notInteger.size() + 1 && t[0] == '\'' &&
                                 t.compare(t.size() - notInteger.size(), notInteger.size(), notInteger) == 0;
      EXPECT_TRUE(t == ReadError || colourMessage) << why << ": " << t;
    } else {
      EXPECT_EQ(shown, message) << why;
    }
    EXPECT_EQ(S.History().Count(), 0) << why;
    EXPECT_TRUE(S.History().IsEmpty()) << why;
    EXPECT_EQ(S.History().NextFigID, 1) << why;
  }

  std::vector<std::string> With(size_t index, const std::string& line) {
    auto lines = RichLines;
    lines[index] = line;
    return lines;
  }
};

TEST_F(DamagedFile, TheRichFileReadsWhole) {
  ASSERT_EQ(ReadHistory(S, Crlf(RichLines)), 0);
  EXPECT_EQ(S.History().Count(), 6);
  EXPECT_EQ(S.History().NextFigID, 3);
  EXPECT_EQ(FileBytesToUtf8(HistoryFileText(S.History())), Crlf(RichLines));
}

TEST_F(DamagedFile, TruncatedAtEveryByte) {
  const std::string full = Crlf(RichLines);
  const size_t headerEnd = RichLines[0].size();
  for (size_t n = 0; n < full.size(); ++n) {
    const std::string cut = full.substr(0, n);
    // Whole lines are whole whatever line end they lost.
    std::string trimmed = cut;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
    const bool atBlockEnd = trimmed.size() >= 14 && trimmed.compare(trimmed.size() - 14, 14, "end ActionData") == 0;
    if (n < headerEnd) {
      ExpectRefused(cut, FormatError, "cut at " + std::to_string(n));
    } else if (trimmed.size() == headerEnd || atBlockEnd) {
      S.Reset();
      EXPECT_EQ(ReadHistory(S, cut), 0) << n;
    } else {
      ExpectRefused(cut, AnyReadError, "cut at " + std::to_string(n));
    }
  }
}

TEST_F(DamagedFile, TruncatedAtEveryLineKeepsWholeRecords) {
  int whole = 0;
  for (size_t n = 1; n <= RichLines.size(); ++n) {
    const std::vector<std::string> lines(RichLines.begin(), RichLines.begin() + static_cast<long>(n));
    if (lines.back() == "end ActionData") ++whole;
    if (lines.back() == "end ActionData" || n == 1) {
      S.Reset();
      ASSERT_EQ(ReadHistory(S, Crlf(lines)), 0) << n;
      EXPECT_EQ(S.History().Count(), whole) << n;
    } else {
      ExpectRefused(Crlf(lines), ReadError, "lines " + std::to_string(n));
    }
  }
}

TEST_F(DamagedFile, EveryWordIsComparedExactly) {
  for (size_t i = 1; i < RichLines.size(); ++i) {
    const std::string& l = RichLines[i];
    const bool word = l.rfind("begin ", 0) == 0 || l.rfind("end ", 0) == 0 || l.rfind("dt", 0) == 0 ||
                      l == "Create" || l == "Change" || l == "ReadBG" || l == "Size" || l == "Text";
    if (!word) continue;
    ExpectRefused(Crlf(With(i, l + " ")), ReadError, l + " with a trailing blank");
    std::string lower = l;
    for (char& c : lower) c = static_cast<char>(tolower(c));
    ExpectRefused(Crlf(With(i, lower)), ReadError, lower);
  }
}

TEST_F(DamagedFile, UnknownWordsAreRefused) {
  ExpectRefused(Crlf(With(3, "Unknown")), ReadError, "kind Unknown");
  ExpectRefused(Crlf(With(3, "Erase")), ReadError, "kind Erase");
  ExpectRefused(Crlf(With(75, "Unknown")), ReadError, "parameter Unknown");
  ExpectRefused(Crlf(With(6, "dtNone")), ReadError, "tool dtNone");
  ExpectRefused(Crlf(With(6, "dtSetStamp")), ReadError, "tool dtSetStamp");
  // Anything but a figure block inside a stamp block.
  ExpectRefused(Crlf(With(53, "begin PointData")), ReadError, "stamp item");
  ExpectRefused(Crlf(With(1, "end ActionData")), ReadError, "block start");
}

TEST_F(DamagedFile, ColourThatIsNoNumberNamesItself) {
  ExpectRefused(Crlf(With(8, "clBlak")), "'clBlak' は整数ではありません", "pen colour");
  ExpectRefused(Crlf(With(9, "")), "'' は整数ではありません", "empty brush colour");
  ExpectRefused(Crlf(With(56, "あか")), "'あか' は整数ではありません", "colour inside a stamp");
}

// Where reading stopped (1-based lines) and what should have stood there.
TEST_F(DamagedFile, TheFaultNamesItsLineAndWhatWasExpected) {
  const struct {
    std::vector<std::string> lines;
    int64_t line;
    std::string expected, found;
    bool atEnd;
  } cases[] = {
      {With(3, "Unknown"), 4, "TargetType", "Unknown", false},
      {With(1, "end ActionData"), 2, "begin ActionData", "end ActionData", false},
      {With(6, "dtNone"), 7, "DrawingTool", "dtNone", false},
      {With(8, "clBlak"), 9, "PenColor", "clBlak", false},
      {With(15, "end ActionData"), 16, "end FigData", "end ActionData", false},
      {With(53, "begin PointData"), 54, "begin FigData", "begin PointData", false},
      {With(75, "Unknown"), 76, "Parameter", "Unknown", false},
      {std::vector<std::string>(RichLines.begin(), RichLines.begin() + 34), 35, "end PointData", "", true},
      {std::vector<std::string>(RichLines.begin(), RichLines.begin() + 4), 5, "TargetID", "", true},
  };
  for (const auto& c : cases) {
    const std::string why = "line " + std::to_string(c.line);
    ExpectRefused(Crlf(c.lines), AnyReadError, why);
    ASSERT_TRUE(Report.Fault.has_value()) << why;
    EXPECT_EQ(Report.Fault->Line, c.line) << why;
    EXPECT_EQ(Report.Fault->Expected, c.expected) << why;
    EXPECT_EQ(Report.Fault->Found, c.found) << why;
    EXPECT_EQ(Report.Fault->AtEnd, c.atEnd) << why;
  }

  // As the window says it, after the message.
  ExpectRefused(Crlf(With(3, "Unknown")), ReadError, "kind");
  EXPECT_EQ(ReadFaultPlace(*Report.Fault), "4ぎょうめ：「TargetType」が くるはずの ところに「Unknown」が ありました");
  ExpectRefused(Crlf({"TAMLO FILE FORMAT 1.2", "begin ActionData", "10 00 00 00"}), ReadError, "cut");
  EXPECT_EQ(ReadFaultPlace(*Report.Fault), "4ぎょうめ：「TargetType」が くるはずの ところで ファイルが おわっています");
  // A long line is cut short, never inside a character.
  ExpectRefused(Crlf(With(3, std::string(39, 'x') + "あいう")), ReadError, "long");
  EXPECT_EQ(Report.Fault->Found, std::string(39, 'x') + "…");
  // Not a drawing at all: the message alone.
  ExpectRefused("GIF89a\r\n", FormatError, "header");
  EXPECT_EQ(Report.Fault->Line, 1);
  EXPECT_EQ(ReadFaultPlace(*Report.Fault), "");
}

TEST_F(DamagedFile, NumbersThatAreNoNumbersReadAsZeroAndHugeOnesClamp) {
  auto lines = With(4, "abc");  // TargetID
  lines[7] = "99999999999999";  // PenWidth
  lines[13] = "x y";            // Start
  lines[32] = "-99999999999 7";  // a vertex
  lines[2] = "zz";              // time
  ASSERT_EQ(ReadHistory(S, Crlf(lines)), 0);
  const Action& first = S.History().At(1);
  EXPECT_EQ(first.TargetID, 0);
  EXPECT_EQ(first.ActionTime.Hour, 0);
  EXPECT_EQ(first.FigData.PenWidth, INT32_MAX);
  EXPECT_EQ(first.FigData.Start, (Point{0, 0}));
  EXPECT_EQ(S.History().At(2).FigData.PointData.Points[0], (Point{INT32_MIN, 7}));

  S.Reset();
  ASSERT_EQ(ReadHistory(S, Crlf(With(4, "4294967297"))), 0);
  EXPECT_EQ(S.History().At(1).TargetID, INT32_MAX);
  EXPECT_EQ(S.History().NextFigID, INT32_MAX);
}

std::string Nested(int depth) {
  std::string s = "TAMLO FILE FORMAT 1.2\r\nbegin ActionData\r\n00 00 00 00\r\nCreate\r\n1\r\n";
  const std::string fig = "dtStamp\r\n1\r\nclBlack\r\nclWhite\r\n12\r\nclBlack\r\n\r\n0 0\r\n1 1\r\nbegin StampData\r\n";
  s += "begin FigData\r\n";
  for (int i = 0; i < depth; ++i) s += fig + (i + 1 < depth ? "begin FigData\r\n" : "");
  for (int i = 0; i < depth; ++i) s += std::string(i ? "end FigData\r\n" : "") + "end StampData\r\n";
  s += "end FigData\r\nend ActionData\r\n";
  return s;
}

TEST_F(DamagedFile, StampsNestUpToAThousandLevels) {
  ASSERT_EQ(ReadHistory(S, Nested(1000)), 0);
  int depth = 0;
  for (const Figure* f = &S.History().At(1).FigData; f != nullptr && f->DrawingTool == ToolKind::Stamp;
       f = f->StampData.empty() ? nullptr : &f->StampData.front())
    ++depth;
  EXPECT_EQ(depth, 1000);
  EXPECT_EQ(HistoryFileText(S.History()), Nested(1000));
  ExpectRefused(Nested(1001), ReadError, "1001 levels");
  ExpectRefused(Nested(200000), ReadError, "200000 levels");
}

TEST_F(DamagedFile, FailureAfterGoodRecordsLeavesNothing) {
  auto lines = RichLines;
  lines.push_back("begin ActionData");
  lines.push_back("10 00 00 00");
  lines.push_back("Branch");
  lines.push_back("500");
  lines.push_back("end ActionDat");
  ExpectRefused(Crlf(lines), ReadError, "bad last record");
}

TEST_F(DamagedFile, EchoShowsLinesAndLabelledFieldsWhileTheDisplayIsOn) {
  MemoLog memo;
  S.Memo = &memo;
  const std::vector<std::string> file = {
      "TAMLO FILE FORMAT 1.2",
      "begin ActionData", "10 02 21 53", "Create", "2",
      "begin FigData", "dtFreeLine", "1", "$000080FF", "clBtnFace", "12", "clBlack", "", "10 10", "30 15",
      "begin PointData", "10 10", "end PointData", "end FigData",
      "end ActionData",
      "begin ActionData", "10 02 30 00", "Change", "2", "Text",
      "begin FigData", "1 2", "3 4", "え", "end FigData",
      "end ActionData",
  };
  ASSERT_EQ(ReadHistory(S, Crlf(file)), 0);
  EXPECT_TRUE(memo.Lines.empty());

  S.Reset();
  S.ShowProcess = true;
  ASSERT_EQ(ReadHistory(S, Crlf(file)), 0);
  const std::vector<std::string> want = {
      "TAMLO FILE FORMAT 1.2",
      "", "begin ActionData", "ActionTime: 10 02 21 53", "TargetType: Create", "TargetID: 2",
      "begin FigData", "DrawingTool: dtFreeLine", "PenWidth: 1", "PenColor: $000080FF", "BrushColor: clBtnFace",
      "TextSize: 12", "TextColor: clBlack", "Text:(NULL)", "Start(x,y): 10 10", "End(x,y): 30 15",
      "begin PointData", "10 10", "end PointData", "end FigData",
      "end ActionData",
      "", "begin ActionData", "ActionTime: 10 02 30 00", "TargetType: Change", "TargetID: 2", "Parameter: Text",
      "begin FigData", "Start(x,y): 1 2", "End(x,y): 3 4", "Text: え", "end FigData",
      "end ActionData",
  };
  EXPECT_EQ(memo.Lines, want);
}

TEST_F(DamagedFile, EchoOfAFileNameAndOfABadFile) {
  MemoLog memo;
  S.Memo = &memo;
  S.ShowProcess = true;
  ASSERT_EQ(ReadHistory(S, Crlf({"TAMLO FILE FORMAT 1.0", "begin ActionData", "", "ReadBG", "/x/y.bmp",
                                 "end ActionData"})),
            0);
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"TAMLO FILE FORMAT 1.0", "", "begin ActionData",
                                                  "ActionTime:(NULL)", "TargetType: ReadBG",
                                                  "FileName: /x/y.bmp", "end ActionData"}));
  memo.Lines.clear();
  S.Reset();
  EXPECT_EQ(ReadHistory(S, "TAMLO FILE FORMAT 1.3\r\nbegin ActionData\r\n"), 1);
  EXPECT_EQ(memo.Lines, std::vector<std::string>{"TAMLO FILE FORMAT 1.3"});
}

}  // namespace
