#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

const char* const kFigureFontFamily = "IPAPGothic";

namespace {

// Fixed stand-ins for the system colours (index in the low byte), the
// classic desktop scheme: no theme decides how a drawing looks.
constexpr QRgb kSystemColors[] = {
    0xC8C8C8,  //  0 scroll bar
    0x000000,  //  1 desktop
    0x99B4D1,  //  2 active caption
    0xBFCDDB,  //  3 inactive caption
    0xF0F0F0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x646464,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0x000000,  //  9 caption text
    0xB4B4B4,  // 10 active border
    0xF4F7FC,  // 11 inactive border
    0xABABAB,  // 12 application workspace
    0x3399FF,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 grey text
    0x000000,  // 18 button text
    0x000000,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3-D dark shadow
    0xE3E3E3,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xFFFFE1,  // 24 tooltip background
    0x000000,  // 25 (unused index)
    0x0066CC,  // 26 hot light
    0xB9D1EA,  // 27 gradient active caption
    0xD7E4F2,  // 28 gradient inactive caption
    0x3399FF,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};

// Pens wider than this cover the whole canvas from anywhere they could
// reach it; the limit keeps a hostile width from making the stroker work
// on absurd geometry.
constexpr int kMaxPenWidth = 4096;
// Largest font pixel size: any larger text would not fit on the canvas.
constexpr int kMaxFontPixels = 4096;

// Integer vertices are pixel indices; shapes are laid through the pixel
// centres so that odd pen widths spread evenly to both sides.
inline QPointF Centre(int64_t x, int64_t y) { return QPointF(double(x) + 0.5, double(y) + 0.5); }

QRect BoundsOf(int64_t l, int64_t t, int64_t r, int64_t b, int margin) {
  // Clamp into a range QRect can hold; the caller intersects with the image.
  auto c = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(1 << 28), 1 << 28)); };
  return QRect(QPoint(c(l - margin), c(t - margin)), QPoint(c(r + margin), c(b + margin)));
}

}  // namespace

QColor ToQColor(ColorRef color) {
  const uint32_t c = static_cast<uint32_t>(color);
  if (c & 0x80000000u) {
    const uint32_t index = c & 0xFFu;
    const QRgb rgb = index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
    return QColor::fromRgb(rgb);
  }
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int PointsToPixels(int points) {
  // Rounded like the platform's MulDiv(points, 96, 72).
  const int64_t p = points;
  const int64_t px = p >= 0 ? (p * 96 + 36) / 72 : -((-p * 96 + 36) / 72);
  return static_cast<int>(std::clamp<int64_t>(px, INT32_MIN, INT32_MAX));
}

RasterCanvas::RasterCanvas(QImage* image) : m_image(image) {}

int RasterCanvas::EffectivePenWidth() const { return std::clamp(PenWidth, 1, kMaxPenWidth); }

QPen RasterCanvas::MakePen() const {
  QPen pen(ToQColor(PenColor));
  const int w = EffectivePenWidth();
  pen.setWidth(w);
  // Round ends and joins like the platform's wide pens; a dotted style only
  // applies to the one-pixel pen, wider pens draw solid.
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (PenStyle == LineStyle::Dot && w == 1) pen.setDashPattern({1.0, 1.0});
  return pen;
}

QBrush RasterCanvas::MakeBrush() const {
  if (BrushStyle == FillStyle::Clear) return Qt::NoBrush;
  return QBrush(ToQColor(BrushColor));
}

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

void RasterCanvas::Paint(const QRect& bounds, const std::function<void(TargetImage&)>& draw) {
  if (m_image == nullptr || m_image->isNull()) return;
  if (TrackBounds != nullptr) *TrackBounds |= bounds;
  const QRect box = bounds.intersected(m_image->rect());
  if (box.isEmpty()) return;
  if (TrackExtent != nullptr) *TrackExtent |= box;
  if (MeasureOnly) return;
  auto prepare = [](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  };
  if (PenMode == DrawMode::Copy) {
    QPainter p(m_image);
    prepare(p);
    p.setClipRect(box);
    TargetImage t{p, *m_image, QPoint(0, 0), box};
    draw(t);
    return;
  }
  // Not-xor: the shape is first drawn in copy mode on a white sheet, then
  // the sheet is combined with the destination as NOT(dest XOR source).
  // White is the identity of that operation, so only what the shape covers
  // changes, every pixel exactly once even where strokes overlap, and a
  // second identical call restores every pixel.
  QImage sheet(box.size(), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    QPainter sp(&sheet);
    prepare(sp);
    sp.translate(-box.topLeft());
    TargetImage t{sp, sheet, box.topLeft(), sheet.rect()};
    draw(t);
  }
  QPainter p(m_image);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  p.drawImage(box.topLeft(), sheet);
}

// Wide pens are laid down as capsules, one per segment (the segment widened
// by the pen's radius in every direction, so ends and joins are round): a
// pixel is covered when its sample point lies within the radius of a
// segment. Odd widths sample at the pixel centres' grid, so a horizontal
// line of width 3 covers its own row and one row on each side; even widths
// sample half a pixel off, which gives exactly `width` rows as well.
//
// Each capsule cuts a row in one span. The spans of all segments are
// gathered row by row, merged and filled once, so the cost follows the
// spans and the pixels covered, not the segments times their area: a wide
// pen on a long polyline would otherwise fill the same pixels thousands of
// times.
namespace {

// Pixels X0 … X1 of a row; left uninitialised when made in bulk.
struct Span {
  int X0, X1;
};

struct Capsule {
  double Ax, Ay, Bx, By, R;
  double Ux, Uy, Len;
  bool Band, Vertical, Horizontal;
  int Top, Bottom;  // rows it may reach, within the clip
};

// The capsule from a to b (target coordinates) of radius r; false when it
// reaches no row of the clip.
bool MakeCapsule(double ax, double ay, double bx, double by, double r, const QRect& clip, Capsule& c) {
  constexpr double eps = 1e-9;
  const double yTop = std::max(std::ceil(std::min(ay, by) - r - eps), double(clip.top()));
  const double yBottom = std::min(std::floor(std::max(ay, by) + r + eps), double(clip.bottom()));
  if (!(yTop <= yBottom)) return false;
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  c.Ax = ax, c.Ay = ay, c.Bx = bx, c.By = by, c.R = r, c.Len = len;
  c.Ux = len > 0 ? dx / len : 1, c.Uy = len > 0 ? dy / len : 0;
  c.Band = len > 0;
  c.Vertical = std::abs(c.Ux) < 1e-12, c.Horizontal = std::abs(c.Uy) < 1e-12;
  c.Top = int(yTop), c.Bottom = int(yBottom);
  return true;
}

// The pixels x0 … x1 of row y that the capsule covers, within the clip's
// columns; false when none.
bool CapsuleSpan(const Capsule& c, double y, const QRect& clip, int& x0, int& x1) {
  constexpr double eps = 1e-9;
  const double r2 = c.R * c.R;
  double lo = INFINITY, hi = -INFINITY;
  // The round ends.
  const double ha = r2 - (y - c.Ay) * (y - c.Ay);
  if (ha >= 0) {
    const double h = std::sqrt(ha);
    lo = c.Ax - h, hi = c.Ax + h;
  }
  const double hb = r2 - (y - c.By) * (y - c.By);
  if (hb >= 0) {
    const double h = std::sqrt(hb);
    lo = std::min(lo, c.Bx - h), hi = std::max(hi, c.Bx + h);
  }
  // The band between the ends: 0 <= along <= len and |across| <= r, with
  // along = x'·ux + (y − ay)·uy and across = (y − ay)·ux − x'·uy, x' = x − ax.
  // Both are linear in x', so the row cuts the band in one interval.
  if (c.Band) {
    const double fy = y - c.Ay;
    double from = -INFINITY, to = INFINITY;
    bool empty = false;
    if (c.Vertical) {
      const double v = fy * c.Uy;
      empty = v < -eps || v > c.Len + eps;
    } else {
      double a = -fy * c.Uy / c.Ux, b = (c.Len - fy * c.Uy) / c.Ux;
      if (a > b) std::swap(a, b);
      from = a, to = b;
    }
    if (c.Horizontal) {
      empty = empty || std::abs(fy * c.Ux) > c.R + eps;
    } else {
      double a = (fy * c.Ux - c.R) / c.Uy, b = (fy * c.Ux + c.R) / c.Uy;
      if (a > b) std::swap(a, b);
      from = std::max(from, a), to = std::min(to, b);
    }
    if (!empty && from <= to) lo = std::min(lo, c.Ax + from), hi = std::max(hi, c.Ax + to);
  }
  if (lo > hi) return false;
  x0 = int(std::max(std::ceil(lo - eps), double(clip.left())));
  x1 = int(std::min(std::floor(hi + eps), double(clip.right())));
  return x0 <= x1;
}

}  // namespace

void RasterCanvas::StrokeWide(TargetImage& t, const Point* points, int count, bool closed, int width, QRgb color) {
  const QRect clip = t.Clip.intersected(t.Image.rect());
  if (clip.isEmpty() || count <= 0) return;
  // Into the target image's coordinates.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const double ox = shift - t.Origin.x(), oy = shift - t.Origin.y();
  const double r = width / 2.0;
  std::vector<Capsule> capsules;
  capsules.reserve(size_t(count) + 1);
  int top = clip.bottom() + 1, bottom = clip.top() - 1;
  auto add = [&](const Point& a, const Point& b) {
    Capsule c;
    if (!MakeCapsule(a.X + ox, a.Y + oy, b.X + ox, b.Y + oy, r, clip, c)) return;
    capsules.push_back(c);
    top = std::min(top, c.Top), bottom = std::max(bottom, c.Bottom);
  };
  if (count == 1) add(points[0], points[0]);
  for (int i = 0; i + 1 < count; ++i) add(points[i], points[i + 1]);
  if (closed && count > 2) add(points[count - 1], points[0]);
  if (capsules.empty()) return;

  // The spans are gathered per capsule into the rows' slots (each row has
  // a slot for every capsule reaching it), so that a capsule is looked at
  // only on its own rows. A row that one span covers whole takes no more.
  const int rows = bottom - top + 1;
  std::vector<int64_t> start(size_t(rows) + 1, 0);
  {
    // How many capsules reach each row, then where each row's slots begin.
    std::vector<int64_t> change(size_t(rows) + 1, 0);
    for (const Capsule& c : capsules) ++change[size_t(c.Top - top)], --change[size_t(c.Bottom - top) + 1];
    int64_t reaching = 0;
    for (int i = 0; i < rows; ++i) {
      reaching += change[size_t(i)];
      start[size_t(i) + 1] = start[size_t(i)] + reaching;
    }
  }
  const size_t slotCount = size_t(start[size_t(rows)]);
  std::vector<int64_t> end(start.begin(), start.end() - 1);  // next free slot per row
  // Uninitialised: only the slots used are touched.
  std::unique_ptr<Span[]> spans(new Span[slotCount]);
  std::vector<uint8_t> whole(size_t(rows), 0);
  int open = rows;  // rows not yet covered whole
  for (const Capsule& c : capsules) {
    for (int y = c.Top; y <= c.Bottom; ++y) {
      const size_t row = size_t(y - top);
      if (whole[row]) continue;
      int x0, x1;
      if (!CapsuleSpan(c, double(y), clip, x0, x1)) continue;
      if (x0 == clip.left() && x1 == clip.right()) {
        whole[row] = 1;
        --open;
        continue;
      }
      spans[size_t(end[row]++)] = Span{x0, x1};
    }
    if (open == 0) break;
  }

  uchar* bits = t.Image.bits();
  const qsizetype stride = t.Image.bytesPerLine();
  for (int y = top; y <= bottom; ++y) {
    const size_t row = size_t(y - top);
    QRgb* line = reinterpret_cast<QRgb*>(bits + qsizetype(y) * stride);
    if (whole[row]) {
      std::fill(line + clip.left(), line + clip.right() + 1, color);
      continue;
    }
    Span* first = spans.get() + start[row];
    Span* last = spans.get() + end[row];
    if (first == last) continue;
    std::sort(first, last, [](const Span& a, const Span& b) { return a.X0 < b.X0; });
    int from = first->X0, to = first->X1;
    for (const Span* s = first + 1; s != last; ++s) {
      if (s->X0 <= to + 1) {
        to = std::max(to, s->X1);
      } else {
        std::fill(line + from, line + to + 1, color);
        from = s->X0, to = s->X1;
      }
    }
    std::fill(line + from, line + to + 1, color);
  }
}

void RasterCanvas::MoveTo(int x, int y) { PenPos = Point{x, y}; }

void RasterCanvas::LineTo(int x, int y) {
  const Point pts[2] = {PenPos, Point{x, y}};
  Polyline(pts, 2);
  PenPos = Point{x, y};
}

void RasterCanvas::Line(Point a, Point b) {
  const Point pts[2] = {a, b};
  Polyline(pts, 2);
}

void RasterCanvas::StrokePoints(const Point* points, int count, bool closed, bool filled) {
  if (points == nullptr || count <= 0) return;
  int64_t l = points[0].X, r = l, t = points[0].Y, b = t;
  for (int i = 0; i < count; ++i) {
    l = std::min<int64_t>(l, points[i].X);
    r = std::max<int64_t>(r, points[i].X);
    t = std::min<int64_t>(t, points[i].Y);
    b = std::max<int64_t>(b, points[i].Y);
  }
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TargetImage& target) {
    QPainter& p = target.P;
    QPolygonF poly;
    if ((filled && brush.style() != Qt::NoBrush) || w == 1) {
      poly.reserve(count);
      for (int i = 0; i < count; ++i) poly << Centre(points[i].X, points[i].Y);
    }
    if (filled && brush.style() != Qt::NoBrush && count > 2) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly, Qt::OddEvenFill);
    }
    if (w > 1) {
      StrokeWide(target, points, count, closed, w, pen.color().rgb());
    } else if (l == r && t == b) {
      // Every vertex on one spot: one pixel, where the stroker would draw
      // nothing.
      p.fillRect(QRect(int(l), int(t), 1, 1), pen.color());
    } else {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      if (closed)
        p.drawPolygon(poly, Qt::OddEvenFill);
      else
        p.drawPolyline(poly);
    }
  });
}

void RasterCanvas::Polyline(const Point* points, int count) { StrokePoints(points, count, false, false); }

void RasterCanvas::Polygon(const Point* points, int count) { StrokePoints(points, count, true, true); }

void RasterCanvas::BoxShape(int x1, int y1, int x2, int y2, bool ellipse) {
  // The box is normalised and, as on the platform, excludes its right and
  // bottom edge: (x1, y1, x2, y2) covers the pixels x1 … x2 − 1, y1 … y2 − 1.
  // A box of zero width or height still draws its one column or row.
  int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  r = std::max(l, r - 1);
  b = std::max(t, b - 1);
  const QPen pen = MakePen();
  const int w = pen.width();
  const QBrush brush = MakeBrush();
  Paint(BoundsOf(l, t, r, b, w / 2 + 2), [&](TargetImage& target) {
    QPainter& p = target.P;
    const QRectF geometry(Centre(l, t), Centre(r, b));
    if (ellipse) {
      p.setPen(pen);
      p.setBrush(brush);
      p.drawEllipse(geometry);
      return;
    }
    if (brush.style() != Qt::NoBrush) {
      const QRect inside = BoundsOf(l, t, r, b, 0);
      p.fillRect(inside, brush);
    }
    if (w > 1) {
      const Point corners[4] = {{int32_t(l), int32_t(t)}, {int32_t(r), int32_t(t)},
                                 {int32_t(r), int32_t(b)}, {int32_t(l), int32_t(b)}};
      StrokeWide(target, corners, 4, true, w, pen.color().rgb());
    } else {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawRect(geometry);
    }
  });
}

void RasterCanvas::Ellipse(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, true); }

void RasterCanvas::Rectangle(int x1, int y1, int x2, int y2) { BoxShape(x1, y1, x2, y2, false); }

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
}

int RasterCanvas::TextWidth(const std::string& text) const {
  const QString s = QString::fromStdString(text);
  if (s.size() <= kWholeText) return CurrentFontMetrics().horizontalAdvance(s);
  // Long texts are summed part by part in the font's own 1/64 pixels and
  // rounded once, as the whole text would be.
  return Round64(TextAdvance64(QFontMetricsF(CurrentFont()), s));
}

int RasterCanvas::TextHeight(const std::string&) const { return CurrentFontMetrics().height(); }

void RasterCanvas::FillRect(const QRect& rect) {
  // Fills with the brush whatever the pen mode, like the platform's call.
  if (m_image == nullptr || m_image->isNull() || BrushStyle == FillStyle::Clear) return;
  QPainter p(m_image);
  p.fillRect(rect.intersected(m_image->rect()), ToQColor(BrushColor));
}

void RasterCanvas::StretchDraw(const QRect& to, const QImage& source, const QRect& from) {
  if (m_image == nullptr || m_image->isNull() || source.isNull()) return;
  QPainter p(m_image);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(to, source, from);
}
