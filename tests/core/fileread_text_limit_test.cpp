// Texts read from a file hold no more than the text box takes (32767 UTF-16
// code units), cut between characters.
#include <gtest/gtest.h>

#include <string>

#include "format/history_reader.h"
#include "format/format_text.h"
#include "support/scripted_dialogs.h"

namespace {

std::string Repeat(const std::string& piece, size_t n) {
  std::string s;
  s.reserve(piece.size() * n);
  for (size_t i = 0; i < n; ++i) s += piece;
  return s;
}

// UTF-16 code units of a valid UTF-8 text.
size_t Utf16Units(const std::string& s) {
  size_t units = 0;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) ++units;  // one per character
    if (c >= 0xF0) ++units;           // and a second for the pair
  }
  return units;
}

// The kept start as a text of its own.
std::string Cut(const std::string& s, size_t maxUnits = MaxTextUnits) { return std::string(CutText(s, maxUnits)); }

TEST(CutText, CountsUtf16UnitsAndNeverSplitsACharacter) {
  const std::string a = "a", kana = "\xE3\x81\x82" /* あ */, smile = "\xF0\x9F\x98\x80" /* U+1F600 */;
  // Short texts are untouched.
  EXPECT_EQ(Cut(Repeat(kana, 32767)), Repeat(kana, 32767));
  EXPECT_EQ(Cut(Repeat(a, 32767)), Repeat(a, 32767));
  EXPECT_EQ(Cut(Repeat(smile, 16383) + a), Repeat(smile, 16383) + a);
  // Long ones keep 32767 units.
  EXPECT_EQ(Cut(Repeat(a, 40000)), Repeat(a, 32767));
  EXPECT_EQ(Cut(Repeat(kana, 40000)), Repeat(kana, 32767));
  // A pair that would end one unit beyond the limit is left out whole.
  EXPECT_EQ(Cut(Repeat(smile, 20000)), Repeat(smile, 16383));
  EXPECT_EQ(Cut(a + Repeat(smile, 20000)), a + Repeat(smile, 16383));
  // Mixed widths (4 units a round): 8191 rounds, then "a" and "あ" fit.
  const std::string mixed = Cut(Repeat(a + kana + smile, 20000));
  EXPECT_EQ(mixed, Repeat(a + kana + smile, 8191) + a + kana);
  EXPECT_EQ(Utf16Units(mixed), 32766u);
  EXPECT_EQ(Utf16Units(Cut(Repeat(kana + smile, 20000))), 32767u);
  // Stray bytes count one each and are kept as they are.
  EXPECT_EQ(Cut(std::string(40000, '\x80')).size(), 32767u);
  EXPECT_EQ(Cut("\xE3\x81" "abc", 3), "\xE3\x81" "a");
  EXPECT_EQ(Cut(kana + kana, 1), kana);
  EXPECT_EQ(Cut(smile, 1), "");
}

struct TextLimitRead : ::testing::Test {
  AppState S;
  ScriptedDialogs Dialogs;
  TextLimitRead() { S.Dialogs = &Dialogs; }

  static std::string TextFigure(const std::string& text) {
    return "begin ActionData\r\n01 02 03 04\r\nCreate\r\n1\r\nbegin FigData\r\ndtText\r\n1\r\nclBlack\r\nclWhite\r\n"
           "12\r\nclBlack\r\n" + text + "\r\n10 10\r\n50 30\r\nend FigData\r\nend ActionData\r\n";
  }
  static std::string TextChange(const std::string& text) {
    return "begin ActionData\r\n01 02 03 05\r\nChange\r\n1\r\nText\r\nbegin FigData\r\n10 10\r\n50 30\r\n" + text +
           "\r\nend FigData\r\nend ActionData\r\n";
  }
};

TEST_F(TextLimitRead, FigureAndChangedTextsAreCutToTheTextBoxLimit) {
  const std::string kana = "\xE3\x81\x82";
  const std::string text = "TAMLO FILE FORMAT 1.2\r\n" + TextFigure(Repeat(kana, 100000)) +
                           TextChange(Repeat("x", 1000000)) + TextChange("short");
  ASSERT_EQ(ReadHistory(S, text), 0);
  ASSERT_EQ(S.History().Count(), 3);
  EXPECT_EQ(S.History().At(1).FigData.Text, Repeat(kana, 32767));
  EXPECT_EQ(S.History().At(2).FigData.Text, Repeat("x", 32767));
  EXPECT_EQ(S.History().Last().FigData.Text, "short");
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(TextLimitRead, Cp932TextsAreCutAfterConversion) {
  // "あ" in CP932 is 82 A0; 40,000 of them come to 32,767 characters.
  const std::string text = "TAMLO FILE FORMAT 1.2\r\n" + TextFigure(Repeat("\x82\xA0", 40000));
  ASSERT_EQ(ReadHistory(S, text), 0);
  EXPECT_EQ(S.History().Last().FigData.Text, Repeat("\xE3\x81\x82", 32767));
}

}  // namespace
