// What the writer refuses to put in a drawing file (line breaks inside a
// line), and the characters it writes as their CP932 look-alikes.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/codepage.h"
#include "support/builders.h"
#include "support/crlf.h"
#include "support/scripted_dialogs.h"

namespace {

struct Writer : ::testing::Test {
  HistoryList History;
  AppState S;
  ScriptedDialogs Dialogs;
  Writer() { S.Dialogs = &Dialogs; }

  Action& Add(ActionKind type, int32_t id, const Figure& fig = Figure()) { return addRecord(History, type, id, fig); }

  // WriteHistory's result and the bytes it put into the file.
  std::pair<int, std::string> WriteToFile() {
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    const int result = WriteHistory(History, f);
    std::rewind(f);
    std::string bytes(1 << 16, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return {result, bytes};
  }
};

// A line break anywhere a text or a file name is written: in a figure, deep
// in a stamp, in a text change, in a picture's or drawing's name.
TEST_F(Writer, RefusesLineBreaksInTextsAndNamesAndWritesNothing) {
  for (const std::string br : {"\n", "\r"}) {
    struct Case {
      const char* what;
      std::function<void()> build;
    };
    const std::vector<Case> cases = {
        {"text figure", [&] { Add(ActionKind::Create, 1, text("a" + br + "b", {10, 20})); }},
        {"text at the end", [&] { Add(ActionKind::Create, 1, text("ab" + br, {10, 20})); }},
        {"text in a nested stamp",
         [&] { Add(ActionKind::Create, 1, stampHolding({10, 20}, {stampHolding({0, 0}, {text("x" + br, {10, 20})})})); }},
        {"text change",
         [&] {
           Add(ActionKind::Create, 1, text("ok", {10, 20}));
           Add(ActionKind::Change, 1, text(br + "new", {10, 20})).Parameter = ParameterKind::Text;
         }},
        {"picture name", [&] { Add(ActionKind::ReadBG, 0).FileName = "/tmp/a" + br + "b.bmp"; }},
        {"drawing name", [&] { Add(ActionKind::ReadData, 0).FileName = "/tmp/e" + br + ".tlo"; }},
    };
    for (const Case& c : cases) {
      History.Clear();
      Add(ActionKind::Create, 1, text("before", {10, 20}));
      c.build();
      Add(ActionKind::Create, 2, text("after", {10, 20}));
      const std::string where = std::string(c.what) + (br == "\n" ? " LF" : " CR");
      EXPECT_EQ(HistoryFileText(History), "") << where;
      const auto [result, bytes] = WriteToFile();
      EXPECT_EQ(result, 2) << where;
      EXPECT_EQ(bytes, "") << where;
    }
  }
  History.Clear();
}

// A file whose text holds a lone CR (only a hand-edited file can) loads as
// it always did; only writing it back is refused.
TEST_F(Writer, FileWithACarriageReturnInATextStillLoads) {
  const std::string file = Crlf({"TAMLO FILE FORMAT 1.2", "begin ActionData", "10 02 15 07", "Create", "1",
                                 "begin FigData", "dtText", "1", "clBlack", "clWhite", "12", "clBlack", "a\rb",
                                 "10 20", "110 60", "end FigData", "end ActionData"});
  ASSERT_EQ(ReadHistory(S, file), 0);
  EXPECT_EQ(S.History().At(1).FigData.Text, "a\rb");
  EXPECT_EQ(HistoryFileText(S.History()), "");
}

// The JIS characters Linux input methods type, against the CP932 ones
// Windows types for them.
const std::vector<std::pair<std::string, std::string>> LookAlikes = {
    {"\u301C", "\uFF5E"}, {"\u2016", "\u2225"}, {"\u2212", "\uFF0D"}, {"\u00A2", "\uFFE0"},
    {"\u00A3", "\uFFE1"}, {"\u00AC", "\uFFE2"}, {"\u2014", "\u2015"},
};

TEST(CodePageLookAlikes, AreWrittenAsTheirWindowsFormsKeepingTheFileCp932) {
  for (const auto& [typed, win] : LookAlikes) {
    const std::string text = "ゆき" + typed + "だ";
    std::string expected;
    ASSERT_TRUE(Utf8ToCp932("ゆき" + win + "だ", expected)) << win;
    const std::string bytes = Utf8ToFileBytes(text);
    EXPECT_EQ(bytes, expected) << typed;
    EXPECT_FALSE(IsValidUtf8(bytes)) << typed;  // CP932, not UTF-8
    EXPECT_EQ(FileBytesToUtf8(bytes), "ゆき" + win + "だ") << typed;
  }
}

TEST(CodePageLookAlikes, ATextWithNoCp932FormStillMakesTheFileUtf8Unchanged) {
  // The emoji has no CP932 form: the whole text stays UTF-8 and the wave
  // dash stays what was typed.
  const std::string text = "〜😀〜";
  EXPECT_EQ(Utf8ToFileBytes(text), text);
}

TEST_F(Writer, ADrawingWithAWaveDashIsWrittenInCp932) {
  Add(ActionKind::Create, 1, text("えのぐ〜", {10, 20}));
  Add(ActionKind::Create, 2, text("ふでばこ", {10, 20}));
  const std::string bytes = HistoryFileText(History);
  EXPECT_FALSE(IsValidUtf8(bytes));
  EXPECT_NE(bytes.find("\x82\xa6\x82\xcc\x82\xae\x81\x60\r\n"), std::string::npos);
  ASSERT_EQ(ReadHistory(S, bytes), 0);
  EXPECT_EQ(S.History().At(1).FigData.Text, "えのぐ～");
  EXPECT_EQ(S.History().At(2).FigData.Text, "ふでばこ");
}

}  // namespace
