// The small texts of drawing files: colours, numbers, words, paths and code
// pages.
#include <gtest/gtest.h>

#include <climits>

#include "format/codepage.h"
#include "format/format_text.h"

namespace {

TEST(ColorText, NamedColoursAreWrittenByName) {
  EXPECT_EQ(ColorToText(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToText(clWhite), "clWhite");
  EXPECT_EQ(ColorToText(clBlack), "clBlack");
  EXPECT_EQ(ColorToText(0x00F0CAA6), "clSkyBlue");
  EXPECT_EQ(ColorToText(static_cast<ColorRef>(0x8000001A)), "clHotLight");
  EXPECT_EQ(ColorToText(0x1FFFFFFF), "clNone");
  EXPECT_EQ(ColorToText(0x20000000), "clDefault");
}

TEST(ColorText, OtherColoursAreWrittenAsEightHexDigits) {
  EXPECT_EQ(ColorToText(0x000080FF), "$000080FF");
  EXPECT_EQ(ColorToText(0x00ABCDEF), "$00ABCDEF");
  // Index 25 is a gap in the system colour table.
  EXPECT_EQ(ColorToText(static_cast<ColorRef>(0x80000019)), "$80000019");
  EXPECT_EQ(ColorToText(-1), "$FFFFFFFF");
}

TEST(ColorText, EveryNameReadsBackInAnyLetterCase) {
  int named = 0;
  for (uint32_t v : {0x00000000u, 0x00000080u, 0x00008000u, 0x00008080u, 0x00800000u, 0x00800080u, 0x00808000u,
                     0x00808080u, 0x00C0C0C0u, 0x000000FFu, 0x0000FF00u, 0x0000FFFFu, 0x00FF0000u, 0x00FF00FFu,
                     0x00FFFF00u, 0x00FFFFFFu, 0x00C0DCC0u, 0x00F0CAA6u, 0x00F0FBFFu, 0x00A4A0A0u, 0x1FFFFFFFu,
                     0x20000000u}) {
    const char* name = ColorName(static_cast<ColorRef>(v));
    ASSERT_NE(name, nullptr) << std::hex << v;
    ++named;
  }
  for (uint32_t i = 0; i <= 30; ++i)
    if (ColorName(static_cast<ColorRef>(0x80000000u | i)) != nullptr) ++named;
  EXPECT_EQ(named, 52);

  for (uint32_t v = 0; v <= 30; ++v) {
    const ColorRef c = static_cast<ColorRef>(0x80000000u | v);
    const char* name = ColorName(c);
    if (name == nullptr) continue;
    std::string upper = name, lower = name;
    for (char& ch : upper) ch = static_cast<char>(toupper(ch));
    for (char& ch : lower) ch = static_cast<char>(tolower(ch));
    ColorRef read = 0;
    ASSERT_TRUE(TextToColor(upper, read));
    EXPECT_EQ(read, c);
    ASSERT_TRUE(TextToColor(lower, read));
    EXPECT_EQ(read, c);
  }
}

TEST(ColorText, ReadsNamesDecimalAndHex) {
  ColorRef c = 0;
  ASSERT_TRUE(TextToColor("clRed", c));
  EXPECT_EQ(c, 0x000000FF);
  ASSERT_TRUE(TextToColor("CLRED", c));
  EXPECT_EQ(c, 0x000000FF);
  ASSERT_TRUE(TextToColor("255", c));
  EXPECT_EQ(c, 0x000000FF);
  ASSERT_TRUE(TextToColor("$FF", c));
  EXPECT_EQ(c, 0x000000FF);
  ASSERT_TRUE(TextToColor("$000080ff", c));
  EXPECT_EQ(c, 0x000080FF);
  ASSERT_TRUE(TextToColor("-1", c));
  EXPECT_EQ(c, -1);
  ASSERT_TRUE(TextToColor("$8000000F", c));
  EXPECT_EQ(c, clBtnFace);
  ASSERT_TRUE(TextToColor("-2147483648", c));
  EXPECT_EQ(c, INT32_MIN);
}

TEST(ColorText, HugeNumbersAreClamped) {
  ColorRef c = 0;
  ASSERT_TRUE(TextToColor("99999999999999999999999", c));
  EXPECT_EQ(c, INT32_MAX);
  ASSERT_TRUE(TextToColor("-99999999999999999999999", c));
  EXPECT_EQ(c, INT32_MIN);
  ASSERT_TRUE(TextToColor("$123456789ABCDEF", c));
  EXPECT_EQ(c, -1);
}

TEST(ColorText, RefusesWhatIsNeitherNameNorNumber) {
  ColorRef c = 7;
  for (const char* bad : {"", "red", "clRedd", "12a", "$", "$G0", "255 ", "-", "0x10", "cl Red"}) {
    EXPECT_FALSE(TextToColor(bad, c)) << bad;
    EXPECT_EQ(c, 7);
  }
}

TEST(Numbers, IntegerStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(ParseLeadingInt("42"), 42);
  EXPECT_EQ(ParseLeadingInt("  -17xyz"), -17);
  EXPECT_EQ(ParseLeadingInt("+8"), 8);
  EXPECT_EQ(ParseLeadingInt("12 34"), 12);
  EXPECT_EQ(ParseLeadingInt(""), 0);
  EXPECT_EQ(ParseLeadingInt("abc"), 0);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
  size_t used = 99;
  EXPECT_EQ(ParseLeadingInt("x", &used), 0);
  EXPECT_EQ(used, 0u);
  EXPECT_EQ(ParseLeadingInt(" 12,", &used), 12);
  EXPECT_EQ(used, 3u);
}

TEST(Numbers, IntegersBeyondThirtyTwoBitsAreClamped) {
  EXPECT_EQ(ParseLeadingInt("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseLeadingInt("2147483648"), INT32_MAX);
  EXPECT_EQ(ParseLeadingInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseLeadingInt("-2147483649"), INT32_MIN);
  EXPECT_EQ(ParseLeadingInt(std::string(5000, '9')), INT32_MAX);
  EXPECT_EQ(ParseLeadingInt("-" + std::string(5000, '9')), INT32_MIN);
}

TEST(Numbers, Points) {
  EXPECT_EQ(ParsePoint("100 120"), (Point{100, 120}));
  EXPECT_EQ(ParsePoint("-5\t-6"), (Point{-5, -6}));
  EXPECT_EQ(ParsePoint("  3   4 trailing"), (Point{3, 4}));
  EXPECT_EQ(ParsePoint("7"), (Point{7, 0}));
  EXPECT_EQ(ParsePoint(""), (Point{0, 0}));
  EXPECT_EQ(ParsePoint("99999999999 1"), (Point{INT32_MAX, 1}));
}

TEST(Numbers, TimeTakesAtMostTwoCharactersPerNumber) {
  TimeOfDay t = ParseTime("23 59 59 99");
  EXPECT_EQ(t.Hour, 23);
  EXPECT_EQ(t.Min, 59);
  EXPECT_EQ(t.Sec, 59);
  EXPECT_EQ(t.Hund, 99);
  t = ParseTime("09 05 07 42");
  EXPECT_EQ(t.Hour, 9);
  EXPECT_EQ(t.Min, 5);
  EXPECT_EQ(t.Sec, 7);
  EXPECT_EQ(t.Hund, 42);
  t = ParseTime("10152307");
  EXPECT_EQ(t.Hour, 10);
  EXPECT_EQ(t.Min, 15);
  EXPECT_EQ(t.Sec, 23);
  EXPECT_EQ(t.Hund, 7);
  t = ParseTime("12 30");  // missing numbers stay 0
  EXPECT_EQ(t.Hour, 12);
  EXPECT_EQ(t.Min, 30);
  EXPECT_EQ(t.Sec, 0);
  EXPECT_EQ(t.Hund, 0);
  t = ParseTime("1 x 5 5");  // stops at the first non-number
  EXPECT_EQ(t.Hour, 1);
  EXPECT_EQ(t.Min, 0);
  EXPECT_EQ(t.Sec, 0);
  t = ParseTime("");
  EXPECT_EQ(t.Hour, 0);
}

TEST(Words, KindsToolsAndParametersBothWays) {
  for (int i = static_cast<int>(ActionKind::Create); i <= static_cast<int>(ActionKind::Branch); ++i) {
    ActionKind t = ActionKind::None;
    ASSERT_TRUE(ActionFromWord(ActionWord(static_cast<ActionKind>(i)), t));
    EXPECT_EQ(static_cast<int>(t), i);
  }
  EXPECT_STREQ(ActionWord(ActionKind::ClearBG), "CleareBG");
  EXPECT_STREQ(ActionWord(ActionKind::None), "Unknown");
  EXPECT_STREQ(ActionWord(static_cast<ActionKind>(-3)), "Unknown");
  ActionKind t;
  EXPECT_FALSE(ActionFromWord("Unknown", t));
  EXPECT_FALSE(ActionFromWord("create", t));
  EXPECT_FALSE(ActionFromWord("Create ", t));

  for (int i = static_cast<int>(ToolKind::Text); i <= static_cast<int>(ToolKind::Stamp); ++i) {
    ToolKind d = ToolKind::None;
    ASSERT_TRUE(ToolFromWord(ToolWord(static_cast<ToolKind>(i)), d));
    EXPECT_EQ(static_cast<int>(d), i);
  }
  EXPECT_EQ(ToolWord(ToolKind::None), nullptr);
  EXPECT_EQ(ToolWord(ToolKind::SetStamp), nullptr);
  ToolKind d;
  EXPECT_FALSE(ToolFromWord("dtNone", d));
  EXPECT_FALSE(ToolFromWord("dtline", d));

  for (int i = static_cast<int>(ParameterKind::Size); i <= static_cast<int>(ParameterKind::TextColor); ++i) {
    ParameterKind p = ParameterKind::None;
    ASSERT_TRUE(ParameterFromWord(ParameterWord(static_cast<ParameterKind>(i)), p));
    EXPECT_EQ(static_cast<int>(p), i);
  }
  EXPECT_STREQ(ParameterWord(ParameterKind::None), "Unknown");
  ParameterKind p;
  EXPECT_FALSE(ParameterFromWord("Unknown", p));
  EXPECT_FALSE(ParameterFromWord("size", p));
}

TEST(ChangeTargets, FirstRecordWithTheIdDecidesWhateverItsKind) {
  HistoryList h;
  auto add = [&](ActionKind type, int32_t id, ToolKind tool) -> Action& {
    Figure f;
    f.DrawingTool = tool;
    Action& a = h.Add(f);
    a.TargetType = type;
    a.TargetID = id;
    return a;
  };
  add(ActionKind::Branch, 2, ToolKind::None);  // a step number that equals a later figure ID
  add(ActionKind::Create, 1, ToolKind::FreeLine);
  add(ActionKind::Create, 2, ToolKind::Stamp);
  Action& size1 = add(ActionKind::Change, 1, ToolKind::FreeLine);
  Action& size2 = add(ActionKind::Change, 2, ToolKind::Stamp);
  Action& orphan = add(ActionKind::Change, 9, ToolKind::Polygon);
  Action& later = add(ActionKind::Change, 10, ToolKind::Ellipse);
  add(ActionKind::Create, 10, ToolKind::Polyline);

  ChangeTargets t;
  for (const Action& a : h) t.Add(a);
  EXPECT_EQ(t.TargetTool(size1), ToolKind::FreeLine);
  EXPECT_EQ(t.TargetTool(size2), ToolKind::None);      // the Branch record comes first
  EXPECT_EQ(t.TargetTool(orphan), ToolKind::Polygon);  // finds itself: its own tool
  EXPECT_EQ(t.TargetTool(later), ToolKind::Ellipse);   // a later creation does not count
}

TEST(Paths, SplitAtTheLastSeparatorOfEitherPlatform) {
  EXPECT_EQ(PathFolder("C:\\e\\sora.jpg"), "C:\\e\\");
  EXPECT_EQ(PathBareName("C:\\e\\sora.jpg"), "sora.jpg");
  EXPECT_EQ(PathFolder("/home/kids/sora.jpg"), "/home/kids/");
  EXPECT_EQ(PathBareName("/home/kids/sora.jpg"), "sora.jpg");
  EXPECT_EQ(PathFolder("/home/kids\\odd/x.bmp"), "/home/kids\\odd/");
  EXPECT_EQ(PathBareName("a/b\\c.bmp"), "c.bmp");
  EXPECT_EQ(PathFolder("sora.jpg"), "");
  EXPECT_EQ(PathBareName("sora.jpg"), "sora.jpg");
  EXPECT_EQ(PathFolder(""), "");
  EXPECT_EQ(PathBareName("dir/"), "");
}

TEST(Paths, ExtensionIsFromTheLastDotOfTheBareName) {
  EXPECT_EQ(PathExtension("C:\\e\\sora.JPG"), ".JPG");
  EXPECT_EQ(PathExtension("/a.b/c"), "");
  EXPECT_EQ(PathExtension("x.tar.jpg"), ".jpg");
  EXPECT_EQ(PathBaseName("/a/e.tlo"), "e");
  EXPECT_EQ(PathBaseName("/a.b/c"), "c");
}

TEST(CodePage, RecognisesUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII text that is longer than eight bytes"));
  EXPECT_TRUE(IsValidUtf8("あいう漢字😀"));
  EXPECT_FALSE(IsValidUtf8("\x82\xa0"));          // あ in CP932
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("abc\xE3\x81"));       // cut off
}

TEST(CodePage, JapaneseTextConvertsBothWays) {
  std::string cp;
  ASSERT_TRUE(Utf8ToCp932("あいう 漢字ｱ", cp));
  EXPECT_EQ(cp, "\x82\xa0\x82\xa2\x82\xa4 \x8a\xbf\x8e\x9a\xb1");
  EXPECT_EQ(Cp932ToUtf8(cp), "あいう 漢字ｱ");
  // A backslash stays a backslash (paths).
  ASSERT_TRUE(Utf8ToCp932("C:\\e\\表.jpg", cp));
  EXPECT_EQ(Cp932ToUtf8(cp), "C:\\e\\表.jpg");
}

TEST(CodePage, UndecodableBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8("\x82"), "\xEF\xBF\xBD");  // lead byte at the end
}

TEST(CodePage, FileBytesAreCp932OnlyWhenThatReadsBackUnchanged) {
  EXPECT_EQ(Utf8ToFileBytes("plain\r\n"), "plain\r\n");
  EXPECT_EQ(Utf8ToFileBytes("えのぐ\r\n"), "\x82\xa6\x82\xcc\x82\xae\r\n");
  // No CP932 form at all: stays UTF-8.
  EXPECT_EQ(Utf8ToFileBytes("😀\r\n"), "😀\r\n");
  EXPECT_EQ(Utf8ToFileBytes("한국어"), "한국어");
  // CP932 holds U+301C WAVE DASH only as U+FF5E, the look-alike Windows
  // types: it is written as that (see CodePageLookAlikes).
  EXPECT_EQ(Utf8ToFileBytes("〜"), "\x81\x60");
  // "ﾃｩ" in CP932 is C3 A9, which is also valid UTF-8 ("é"): the reader
  // would take it for UTF-8, so the file stays UTF-8.
  EXPECT_EQ(Utf8ToFileBytes("ﾃｩ"), "ﾃｩ");
  for (const char* s : {"えのぐ", "😀", "ab\xEF\xBD\xB1", "ﾃｩ"})
    EXPECT_EQ(FileBytesToUtf8(Utf8ToFileBytes(s)), s) << s;
}

}  // namespace
