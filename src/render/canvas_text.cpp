// The texts of the canvas: its fonts, and texts drawn and measured at a cost
// in proportion to what the canvas shows.
#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/canvas_internal.h"
#include "render/vector_canvas.h"

using canvas_internal::BoundsOf;

namespace {

// Largest font pixel size: any larger text would not fit on the canvas.
constexpr int kMaxFontPixels = 4096;

}  // namespace

const QFont& RasterCanvas::CurrentFont() const {
  int px = PointsToPixels(FontSize);
  // A size of 0 or less asks for the default size.
  if (px <= 0) px = PointsToPixels(9);
  px = std::min(px, kMaxFontPixels);
  if (m_fontIndex < 0 || m_fonts[size_t(m_fontIndex)].Pixels != px) {
    m_fontIndex = -1;
    for (size_t i = 0; i < m_fonts.size(); ++i)
      if (m_fonts[i].Pixels == px) m_fontIndex = int(i);
    if (m_fontIndex < 0) {
      // Beyond a handful of sizes the oldest ones go.
      if (m_fonts.size() >= 32) m_fonts.erase(m_fonts.begin());
      QFont font(QString::fromLatin1(kFigureFontFamily));
      font.setPixelSize(px);
      font.setStyleStrategy(QFont::NoAntialias);
      m_fonts.push_back(SizedFont{px, font, QFontMetrics(font)});
      m_fontIndex = int(m_fonts.size()) - 1;
    }
  }
  return m_fonts[size_t(m_fontIndex)].Font;
}

const QFontMetrics& RasterCanvas::CurrentFontMetrics() const {
  CurrentFont();
  return m_fonts[size_t(m_fontIndex)].Metrics;
}

namespace {

// Texts up to this length are measured and drawn whole; longer ones in
// parts, so that their cost stays in proportion to what the canvas shows.
constexpr qsizetype kWholeText = 4096;
// The parts of a long text are about this long.
constexpr qsizetype kTextPart = 1024;

// Characters whose glyphs do not depend on their neighbours in the figure
// font: ASCII, kana (without the combining sound marks) and the common
// ideographs.
bool Standalone(char16_t c) {
  return (c >= 0x20 && c < 0x7F) || (c >= 0x3041 && c <= 0x30FF && c != 0x3099 && c != 0x309A) ||
         (c >= 0x4E00 && c <= 0x9FFF);
}

// Where the part of `s` from `from` ends: about kTextPart further on,
// between two standalone characters, so that the parts are shaped as they
// are within the whole text. Without such a place nearby the part runs on
// to the next one (or to the end).
qsizetype PartEnd(const QString& s, qsizetype from) {
  const qsizetype n = s.size();
  for (qsizetype i = from + kTextPart; i < n; ++i)
    if (Standalone(s[i - 1].unicode()) && Standalone(s[i].unicode())) return i;
  return n;
}

// Characters that may reorder a line: a cut text could then lay out what
// precedes the cut differently.
bool HasBidi(const QString& s) {
  for (QChar c : s) {
    if (c.unicode() < 0x0590) continue;
    switch (c.direction()) {
      case QChar::DirR: case QChar::DirAL: case QChar::DirAN: case QChar::DirRLE: case QChar::DirRLO:
      case QChar::DirLRE: case QChar::DirLRO: case QChar::DirPDF: case QChar::DirRLI: case QChar::DirLRI:
      case QChar::DirFSI: case QChar::DirPDI:
        return true;
      default:
        break;
    }
  }
  return false;
}

// The advance of `s` in 1/64 pixels, as the font metrics sum it: a text is
// measured up to its first U+009C (a separator of alternative texts).
int64_t Advance64(const QFontMetricsF& fm, const QString& s, qsizetype from, qsizetype to) {
  return std::llround(fm.horizontalAdvance(s.mid(from, to - from)) * 64);
}

// The advance of the whole text in 1/64 pixels, or, with `stopAt`, of the
// text up to the first place where the sum reaches stopAt (*end is then
// that place). A long text is summed piece by piece, cut between every two
// standalone characters: each standalone character by its own advance (the
// same for all of its occurrences, so measured once), the characters in
// between together with their neighbours.
int64_t TextAdvance64(const QFontMetricsF& fm, const QString& text, int64_t stopAt = INT64_MAX,
                      qsizetype* end = nullptr) {
  qsizetype n = text.indexOf(QChar(0x9C));
  if (n < 0) n = text.size();
  if (end != nullptr) *end = n;
  if (n <= kWholeText) return Advance64(fm, text, 0, n);
  std::vector<int32_t> single(0x10000, -1);  // the advance of each standalone character met so far
  int64_t sum = 0;
  for (qsizetype from = 0; from < n;) {
    const char16_t c = text[from].unicode();
    qsizetype to = from + 1;
    if (to < n && Standalone(c) && Standalone(text[to].unicode())) {
      if (single[c] < 0) single[c] = int32_t(Advance64(fm, text, from, to));
      sum += single[c];
    } else {
      while (to < n && !(Standalone(text[to - 1].unicode()) && Standalone(text[to].unicode()))) ++to;
      sum += Advance64(fm, text, from, to);
    }
    from = to;
    if (sum >= stopAt) {
      if (end != nullptr) *end = to;
      break;
    }
  }
  return sum;
}

// Rounded like the font metrics' whole pixels.
int Round64(int64_t v) { return int(std::clamp<int64_t>((v + 32) >> 6, INT32_MIN, INT32_MAX)); }

}  // namespace

void RasterCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(text);
  const QFont& font = CurrentFont();
  const QFontMetrics& fm = CurrentFontMetrics();
  const QFontMetricsF fmf(font);
  const int width = TextWidth(text);
  const int height = fm.height();
  const int ascent = fm.ascent();
  const QColor fontColor = ToQColor(FontColor);
  const QBrush brush = MakeBrush();
  if (!s.isEmpty()) {
    // Of a long text only what can reach the picture is drawn: the glyphs
    // up to a part ending well past the right edge (a glyph reaches at most
    // about its height beyond its advance), and one part more, so that the
    // last visible glyphs are shaped with the same neighbours. A line that
    // may reorder is drawn whole.
    QString shown = s;
    if (s.size() > kWholeText && m_image != nullptr && !HasBidi(s)) {
      const int64_t edge = (int64_t(m_image->width()) + 2 * int64_t(height) - x) * 64;
      qsizetype cut = s.size();
      TextAdvance64(fmf, s, std::max<int64_t>(edge, 0), &cut);
      if (cut < s.size()) cut = PartEnd(s, cut);
      if (cut < s.size()) shown = s.left(cut);
    }
    // Glyphs may reach a little beyond their advance (italic overhangs,
    // wide glyphs from a fallback face). Paint draws only when this box
    // meets the image, so x and y are then near it and cannot overflow.
    Paint(BoundsOf(x, y, int64_t(x) + width, int64_t(y) + height, height), [&](TargetImage& target) {
      QPainter& p = target.P;
      if (brush.style() != Qt::NoBrush) p.fillRect(QRect(x, y, std::max(width, 0), height), brush);
      p.setFont(font);
      p.setPen(fontColor);
      p.drawText(QPoint(x, y + ascent), shown);
    });
  }
  PenPos = Point{static_cast<int32_t>(int64_t(x) + width), y};
  Mirrored([&](VectorCanvas& v) { v.TextOut(x, y, text); });
}

int RasterCanvas::TextWidth(const std::string& text) const {
  const QString s = QString::fromStdString(text);
  if (s.size() <= kWholeText) return CurrentFontMetrics().horizontalAdvance(s);
  // Long texts are summed part by part in the font's own 1/64 pixels and
  // rounded once, as the whole text would be.
  return Round64(TextAdvance64(QFontMetricsF(CurrentFont()), s));
}

int RasterCanvas::TextHeight(const std::string&) const { return CurrentFontMetrics().height(); }
