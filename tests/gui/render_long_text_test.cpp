// Long texts: measured and drawn in parts, with the width and the pixels of
// the whole text, at a cost that follows what the canvas shows.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <random>
#include <string>

#include "render/paint.h"
#include "support/sanitizers.h"

namespace {

QFont FigureFont(int points) {
  QFont font(QString::fromLatin1(kFigureFontFamily));
  font.setPixelSize(PointsToPixels(points));
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// Random text of `n` UTF-16 units drawn from `alphabet` (a list of
// characters, each one or more units).
QString RandomText(std::mt19937& rng, const QStringList& alphabet, int n) {
  QString s;
  while (s.size() < n) s += alphabet[int(rng() % alphabet.size())];
  return s;
}

QStringList Alphabet(const char* utf8) {
  QStringList list;
  const QString all = QString::fromUtf8(utf8);
  for (qsizetype i = 0; i < all.size();) {
    const qsizetype n = all[i].isHighSurrogate() ? 2 : 1;
    list << all.mid(i, n);
    i += n;
  }
  return list;
}

// Plain Japanese and ASCII; Latin pairs that kern in many fonts; combining
// marks and characters from outside the basic plane; a separator of
// alternative texts.
const char* const kAlphabets[] = {
    "あいうえおかきくけこがぎアイウエオーッャ漢字絵図形線色 ABCDEFGHabcdefgh0123456789.,!?",
    "AVAWTaToYaLTFAPAVoWaffiflfj. ,AVAV",
    "e\xcc\x81" "a\xcc\x88" "n\xcc\x83" "か\xe3\x82\x99" "\xf0\x9f\x98\x80" "\xf0\xa0\x80\x8b" "abcあい ",
    "abcdefあいう\xc2\x9c" "xyz",
};

}  // namespace

// The width of a long text is that of the font metrics over the whole text.
TEST(CanvasLongText, WidthsOfLongTextsAreThoseOfTheWholeText) {
  std::mt19937 rng(77);
  QImage img(8, 8, QImage::Format_RGB32);
  RasterCanvas c(&img);
  for (const char* alphabet : kAlphabets)
    for (int points : {9, 14, 40}) {
      for (int n : {4000, 4097, 6000, 15000}) {
        const QString s = RandomText(rng, Alphabet(alphabet), n);
        c.FontSize = points;
        EXPECT_EQ(c.TextWidth(s.toStdString()), QFontMetrics(FigureFont(points)).horizontalAdvance(s))
            << points << " pt, " << n << " units of " << alphabet;
      }
    }
}

// A long text drawn on the canvas has the pixels of the whole text drawn
// by the painter, wherever it starts: inside, far left, at the right edge.
TEST(CanvasLongText, LongTextsDrawThePixelsOfTheWholeText) {
  std::mt19937 rng(78);
  for (const char* alphabet : {kAlphabets[0], kAlphabets[1], kAlphabets[2]})
    for (int points : {12, 72}) {
      const QString s = RandomText(rng, Alphabet(alphabet), 9000);
      const QFont font = FigureFont(points);
      const int ascent = QFontMetrics(font).ascent();
      const int width = QFontMetrics(font).horizontalAdvance(s);
      for (int x : {5, -width / 2, -width + 300, 630}) {
        QImage expected(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QImage actual = expected;
        {
          QPainter p(&expected);
          p.setRenderHint(QPainter::TextAntialiasing, false);
          p.setFont(font);
          p.setPen(QColor(0, 0, 255));
          p.drawText(QPoint(x, 200 + ascent), s);
        }
        RasterCanvas c(&actual);
        c.FontSize = points;
        c.FontColor = 0xFF0000;
        c.BrushStyle = FillStyle::Clear;
        c.TextOut(x, 200, s.toStdString());
        EXPECT_TRUE(actual == expected) << points << " pt at " << x << " of " << alphabet;
        EXPECT_EQ(c.PenPos, (Point{x + width, 200}));
      }
    }
}

// Twenty million characters at the largest size: the whole text once took
// half a minute and most of a gigabyte (the cost is measured by
// BM_TextOut20MillionCharacters; the test's time limit catches a relapse).
TEST(CanvasLongText, AHugeTextDraws) {
  if (kSanitized) GTEST_SKIP() << "too slow under the sanitizers";
  std::string text;
  for (int i = 0; text.size() < 20'000'000; ++i) text += i % 2 ? "えをかく " : "drawing ";
  QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  RasterCanvas c(&img);
  c.FontSize = 3072;
  c.BrushStyle = FillStyle::Clear;
  c.TextOut(-100, -50, text);
  EXPECT_FALSE(img == QImage());
}
