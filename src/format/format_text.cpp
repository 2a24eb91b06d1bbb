#include "format/format_text.h"

#include <array>
#include <limits>

namespace {

struct NamedColor {
  const char* Name;
  uint32_t Value;
};

constexpr uint32_t SysColor(uint32_t index) { return 0x80000000u | index; }

constexpr std::array<NamedColor, 52> ColorNames{{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0},
    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},
    {"clMedGray", 0x00A4A0A0},
    {"clScrollBar", SysColor(0)},
    {"clBackground", SysColor(1)},
    {"clActiveCaption", SysColor(2)},
    {"clInactiveCaption", SysColor(3)},
    {"clMenu", SysColor(4)},
    {"clWindow", SysColor(5)},
    {"clWindowFrame", SysColor(6)},
    {"clMenuText", SysColor(7)},
    {"clWindowText", SysColor(8)},
    {"clCaptionText", SysColor(9)},
    {"clActiveBorder", SysColor(10)},
    {"clInactiveBorder", SysColor(11)},
    {"clAppWorkSpace", SysColor(12)},
    {"clHighlight", SysColor(13)},
    {"clHighlightText", SysColor(14)},
    {"clBtnFace", SysColor(15)},
    {"clBtnShadow", SysColor(16)},
    {"clGrayText", SysColor(17)},
    {"clBtnText", SysColor(18)},
    {"clInactiveCaptionText", SysColor(19)},
    {"clBtnHighlight", SysColor(20)},
    {"cl3DDkShadow", SysColor(21)},
    {"cl3DLight", SysColor(22)},
    {"clInfoText", SysColor(23)},
    {"clInfoBk", SysColor(24)},
    {"clHotLight", SysColor(26)},
    {"clGradientActiveCaption", SysColor(27)},
    {"clGradientInactiveCaption", SysColor(28)},
    {"clMenuHighlight", SysColor(29)},
    {"clMenuBar", SysColor(30)},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
}};

constexpr const char* ActionWords[] = {
    "Create", "SetStamp", "Move", "Duplicate", "Delete", "Undo", "Front", "Back",
    "Change", "ReadData", "ReadBG", "CleareBG", "ClearDrawing", "ClearAll", "Branch",
};
constexpr const char* ToolWords[] = {
    nullptr, "dtText", "dtLine", "dtFreeLine", "dtEllipse", "dtRectangle", "dtPolyline", "dtPolygon", "dtStamp",
};
constexpr const char* ParameterWords[] = {
    "Size", "BodyColor", "LineWidth", "LineColor", "Text", "TextColor",
};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int32_t Clamp32(bool negative, uint64_t magnitude) {
  // magnitude is already saturated well below overflow of uint64_t.
  if (negative) {
    if (magnitude >= 0x80000000ull) return std::numeric_limits<int32_t>::min();
    return -static_cast<int32_t>(magnitude);
  }
  if (magnitude >= 0x7FFFFFFFull) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(magnitude);
}

}  // namespace

const char* ColorName(ColorRef color) {
  const uint32_t v = static_cast<uint32_t>(color);
  for (const NamedColor& c : ColorNames)
    if (c.Value == v) return c.Name;
  return nullptr;
}

std::string ColorToText(ColorRef color) {
  if (const char* name = ColorName(color)) return name;
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string s(9, '$');
  uint32_t v = static_cast<uint32_t>(color);
  for (int i = 8; i >= 1; --i, v >>= 4) s[i] = Hex[v & 0xF];
  return s;
}

bool TextToColor(std::string_view text, ColorRef& color) {
  for (const NamedColor& c : ColorNames) {
    if (EqualsNoCase(text, c.Name)) {
      color = static_cast<ColorRef>(c.Value);
      return true;
    }
  }
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') {
    ++i;
    if (i == text.size()) return false;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;  // saturate: a colour is 32 bits
    }
    const uint32_t bits = static_cast<uint32_t>(v);
    color = static_cast<ColorRef>(negative ? 0u - bits : bits);
    return true;
  }
  if (i == text.size()) return false;
  uint64_t v = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    v = v * 10 + static_cast<uint64_t>(text[i] - '0');
    if (v > 0x100000000ull) v = 0x100000000ull;
  }
  color = Clamp32(negative, v);
  return true;
}

int32_t ParseLeadingInt(std::string_view text, size_t* used) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const size_t firstDigit = i;
  uint64_t v = 0;
  while (i < text.size() && IsDigit(text[i])) {
    v = v * 10 + static_cast<uint64_t>(text[i] - '0');
    if (v > 0x100000000ull) v = 0x100000000ull;  // saturate, then clamp
    ++i;
  }
  if (i == firstDigit) {
    if (used) *used = 0;
    return 0;
  }
  if (used) *used = i;
  return Clamp32(negative, v);
}

Point ParsePoint(std::string_view text) {
  Point p;
  size_t used = 0;
  p.X = ParseLeadingInt(text, &used);
  if (used == 0) return p;
  text.remove_prefix(used);
  size_t i = 0;
  while (i < text.size() && IsWhite(text[i])) ++i;
  p.Y = ParseLeadingInt(text.substr(i));
  return p;
}

TimeOfDay ParseTime(std::string_view text) {
  int values[4] = {0, 0, 0, 0};
  size_t i = 0;
  for (int& value : values) {
    while (i < text.size() && IsWhite(text[i])) ++i;
    // At most two characters, a sign included.
    size_t end = i + 2 < text.size() ? i + 2 : text.size();
    bool negative = false;
    size_t j = i;
    if (j < end && (text[j] == '-' || text[j] == '+')) negative = text[j++] == '-';
    if (j >= end || !IsDigit(text[j])) break;
    int v = 0;
    for (; j < end && IsDigit(text[j]); ++j) v = v * 10 + (text[j] - '0');
    value = negative ? -v : v;
    i = j;
  }
  TimeOfDay t;
  t.Hour = static_cast<uint8_t>(values[0]);
  t.Min = static_cast<uint8_t>(values[1]);
  t.Sec = static_cast<uint8_t>(values[2]);
  t.Hund = static_cast<uint8_t>(values[3]);
  return t;
}

std::string_view CutText(std::string_view utf8, size_t maxUnits) {
  // No character takes fewer bytes than code units.
  if (utf8.size() <= maxUnits) return utf8;
  size_t pos = 0, units = 0;
  while (pos < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    size_t bytes = 1, width = 1;
    if (lead >= 0xF0 && lead <= 0xF7) {
      bytes = 4;
      width = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      bytes = 3;
    } else if (lead >= 0xC0 && lead <= 0xDF) {
      bytes = 2;
    }
    // A sequence cut short by the end of the text or by another lead byte
    // is taken a byte at a time.
    for (size_t k = 1; k < bytes; ++k) {
      if (pos + k >= utf8.size() || (static_cast<unsigned char>(utf8[pos + k]) & 0xC0) != 0x80) {
        bytes = 1;
        width = 1;
        break;
      }
    }
    if (units + width > maxUnits) break;
    units += width;
    pos += bytes;
  }
  return utf8.substr(0, pos);
}

const char* ActionWord(ActionKind type) {
  if (type >= ActionKind::Create && type <= ActionKind::Branch) return ActionWords[static_cast<int>(type)];
  return "Unknown";
}

bool ActionFromWord(std::string_view word, ActionKind& type) {
  for (int i = static_cast<int>(ActionKind::Create); i <= static_cast<int>(ActionKind::Branch); ++i) {
    if (word == ActionWords[i]) {
      type = static_cast<ActionKind>(i);
      return true;
    }
  }
  return false;
}

const char* ToolWord(ToolKind tool) {
  if (tool >= ToolKind::Text && tool <= ToolKind::Stamp) return ToolWords[static_cast<int>(tool)];
  return nullptr;
}

bool ToolFromWord(std::string_view word, ToolKind& tool) {
  for (int i = static_cast<int>(ToolKind::Text); i <= static_cast<int>(ToolKind::Stamp); ++i) {
    if (word == ToolWords[i]) {
      tool = static_cast<ToolKind>(i);
      return true;
    }
  }
  return false;
}

const char* ParameterWord(ParameterKind parameter) {
  if (parameter >= ParameterKind::Size && parameter <= ParameterKind::TextColor) return ParameterWords[static_cast<int>(parameter)];
  return "Unknown";
}

bool ParameterFromWord(std::string_view word, ParameterKind& parameter) {
  for (int i = static_cast<int>(ParameterKind::Size); i <= static_cast<int>(ParameterKind::TextColor); ++i) {
    if (word == ParameterWords[i]) {
      parameter = static_cast<ParameterKind>(i);
      return true;
    }
  }
  return false;
}
