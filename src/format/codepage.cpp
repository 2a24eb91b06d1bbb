#include "format/codepage.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <iconv.h>

namespace {

// One iconv descriptor for the length of a conversion.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Iconv() {
    if (Ok()) iconv_close(m_cd);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`, appending to `out`. On an invalid or incomplete
  // sequence: with `replace` appends `replacement` and skips one byte,
  // otherwise returns false.
  bool Convert(std::string_view in, std::string& out, bool replace, std::string_view replacement) {
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buffer[16384];
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      const size_t r = iconv(m_cd, &src, &left, &dst, &room);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (!replace) return false;
      out.append(replacement);
      ++src;
      --left;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    }
    return true;
  }

 private:
  iconv_t m_cd;
};

}  // namespace

bool IsAscii(std::string_view text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t n = text.size();
  while (n >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0x8080808080808080ull) return false;
    p += 8;
    n -= 8;
  }
  for (; n > 0; --n, ++p)
    if (*p & 0x80) return false;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = p + text.size();
  while (p < end) {
    // Skip runs of ASCII eight bytes at a time.
    while (end - p >= 8) {
      uint64_t w;
      std::memcpy(&w, p, 8);
      if (w & 0x8080808080808080ull) break;
      p += 8;
    }
    if (p == end) break;
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int extra;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) lo = 0xA0;       // overlong
      else if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) lo = 0x90;       // overlong
      else if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    if (p[1] < lo || p[1] > hi) return false;
    for (int i = 2; i <= extra; ++i)
      if ((p[i] & 0xC0) != 0x80) return false;
    p += extra + 1;
  }
  return true;
}

std::string Cp932ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  Iconv cv("UTF-8", "CP932");
  if (!cv.Ok()) {
    // Without the converter keep the ASCII and mark everything else.
    for (char c : text) {
      if (static_cast<unsigned char>(c) < 0x80) out += c;
      else out += "\xEF\xBF\xBD";
    }
    return out;
  }
  cv.Convert(text, out, true, "\xEF\xBF\xBD");
  return out;
}

bool Utf8ToCp932(std::string_view text, std::string& out) {
  out.clear();
  if (!IsValidUtf8(text)) return false;
  Iconv cv("CP932", "UTF-8");
  if (!cv.Ok()) return false;
  out.reserve(text.size());
  return cv.Convert(text, out, false, {});
}

std::string FileBytesToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

namespace {

// The characters that Linux input methods type where Windows uses a
// look-alike: CP932 holds only the look-alike, so they are written as it.
struct LookAlike {
  std::string_view From, To;
};
constexpr LookAlike LookAlikes[] = {
    {"\u301C", "\uFF5E"},  // WAVE DASH → FULLWIDTH TILDE
    {"\u2016", "\u2225"},  // DOUBLE VERTICAL LINE → PARALLEL TO
    {"\u2212", "\uFF0D"},  // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
    {"\u00A2", "\uFFE0"},  // CENT SIGN → FULLWIDTH CENT SIGN
    {"\u00A3", "\uFFE1"},  // POUND SIGN → FULLWIDTH POUND SIGN
    {"\u00AC", "\uFFE2"},  // NOT SIGN → FULLWIDTH NOT SIGN
    {"\u2014", "\u2015"},  // EM DASH → HORIZONTAL BAR
};

// `text` with every character of LookAlikes replaced; false when it has none.
bool WithLookAlikes(std::string_view text, std::string& out) {
  out.clear();
  bool changed = false;
  size_t done = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c != 0xC2 && c != 0xE2 && c != 0xE3) continue;  // no lead byte of one of them
    for (const LookAlike& l : LookAlikes) {
      if (text.substr(i, l.From.size()) != l.From) continue;
      out.append(text.substr(done, i - done));
      out.append(l.To);
      i += l.From.size() - 1;
      done = i + 1;
      changed = true;
      break;
    }
  }
  out.append(text.substr(done));
  return changed;
}

// The CP932 bytes of `text` when they read back as exactly `text`.
bool ReadsBackAsCp932(std::string_view text, std::string& cp932) {
  return Utf8ToCp932(text, cp932) && !IsValidUtf8(cp932) && Cp932ToUtf8(cp932) == text;
}

}  // namespace

std::string Utf8ToFileBytes(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  std::string cp932;
  if (ReadsBackAsCp932(text, cp932)) return cp932;
  std::string alike;
  if (WithLookAlikes(text, alike) && ReadsBackAsCp932(alike, cp932)) return cp932;
  return std::string(text);
}
