// The two canvases agree: the vector canvas at four times the size, reduced
// to 640 × 480, differs from the raster canvas's picture only along edges;
// the SVG and PDF files, drawn by independent renderers, agree with the
// vector PNG of the same size within the same tolerance.
//
// The tolerance: off the edges of the reference picture (pixels within
// `Reach` of a change of colour) no channel differs by more than `Flat`;
// along them the pictures may differ, but the ink moved (summed channel
// differences, in whole pixels) stays below `InkPerEdge` per edge pixel.
// Measured (printed by every run): shapes, stamps and backgrounds move at
// most 0.04 pixel of ink per edge pixel, with at most 23 levels off the
// edges (at the sharp inner corners of wide joins); a pen one pixel too
// wide moves 0.15 and leaves 117 off the edges. Texts are glyphs hinted to
// whole pixels and drawn without smoothing on the raster canvas, smooth
// outlines on the vector one: their strokes may differ by a pixel, so their
// edges reach two pixels (measured: 0.065 per edge pixel, 78 levels off the
// edges). The SVG drawn by rsvg agrees with the vector PNG within 0.01 and
// 1 level; the PDF drawn by poppler within 0.035 and 28 levels (its glyphs).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "batch_run.h"
#include "format/history_writer.h"
#include "history/actions.h"
#include "history/state.h"
#include "io/vector_exports.h"
#include "picture_agreement.h"
#include "render/paint.h"
#include "render/vector_paint.h"
#include "support/builders.h"

namespace {

struct Tolerance {
  int Reach;
  int Flat;
  double InkPerEdge;
};
// Shapes, stamps and backgrounds.
constexpr Tolerance kShapes{1, 32, 0.08};
// Drawings with texts.
constexpr Tolerance kTexts{2, 96, 0.10};
// The vector files drawn by other renderers against the vector PNG.
constexpr Tolerance kFiles{1, 40, 0.06};

const ColorRef kColors[] = {clBlack, ColorRef(0x0000FF), ColorRef(0x00A000), ColorRef(0xFF0000), ColorRef(0x00C0FF),
                            ColorRef(0x800080), ColorRef(0x808080), ColorRef(0x4080FF)};

// Every kind of shape with pens 1 … 30, in colours, filled and not.
std::vector<Figure> Shapes() {
  std::vector<Figure> figs;
  for (int i = 0; i < 30; ++i) {
    const int w = i + 1;
    const int cx = 20 + (i % 6) * 104, cy = 16 + (i / 6) * 94;
    const int m = std::min(w / 2, 20);
    Figure f;
    switch (i % 6) {
      case 0: f = line({cx + m, cy + m}, {cx + 80 - m, cy + 66 - m}); break;
      case 1: f = freeLine({{cx + m, cy + 40}, {cx + 20, cy + m}, {cx + 40, cy + 60 - m}, {cx + 62, cy + 10 + m}, {cx + 80 - m, cy + 50}}); break;
      case 2: f = polyline({{cx + m, cy + m}, {cx + 80 - m, cy + m}, {cx + m, cy + 66 - m}, {cx + 80 - m, cy + 66 - m}}); break;
      case 3: f = polygon({{cx + 40, cy + m}, {cx + 80 - m, cy + 66 - m}, {cx + m, cy + 66 - m}}); break;
      case 4: f = ellipse({cx + m, cy + m}, {cx + 82 - m, cy + 68 - m}); break;
      default: f = rect({cx + m, cy + m}, {cx + 82 - m, cy + 68 - m}); break;
    }
    figs.push_back(styled(f, w, kColors[i % 8], i % 2 == 0 ? kColors[(i + 3) % 8] : clBtnFace));
  }
  // Dots and flat boxes.
  figs.push_back(styled(line({10, 470}, {10, 470}), 1, kColors[0]));
  figs.push_back(styled(line({30, 470}, {30, 470}), 9, kColors[1]));
  figs.push_back(styled(rect({60, 466}, {160, 466}), 3, kColors[2], kColors[5]));
  figs.push_back(styled(ellipse({200, 460}, {300, 460}), 1, kColors[3], kColors[6]));
  return figs;
}

// Texts of several sizes and colours, Japanese among them.
std::vector<Figure> Texts() {
  std::vector<Figure> figs;
  const char* const words[] = {"Tamlo 123", "えを かこう", "カタカナ と 漢字", "ABCabc あいう 山川"};
  const int sizes[] = {8, 9, 12, 16, 20, 28, 36};
  int y = 6;
  for (int i = 0; i < 7; ++i) {
    figs.push_back(text(words[i % 4], {12 + (i % 3) * 20, y}, sizes[i], kColors[i % 8]));
    y += sizes[i] * 96 / 72 + 14;
  }
  return figs;
}

// Stamps three deep, twice, over a background picture.
std::vector<Figure> Stamps() {
  Figure inner =
      stamp({30, 20}, {styled(ellipse({0, 0}, {40, 30}), 3, kColors[1], kColors[4]), text("はな", {6, 34}, 12)});
  Figure middle = stamp({10, 10}, {styled(rect({0, 0}, {120, 90}), 2, kColors[2]), inner,
                                   styled(polygon({{70, 10}, {110, 40}, {80, 80}}), 5, kColors[4], kColors[7])});
  Figure outer = stamp({40, 60}, {middle, styled(line({0, 120}, {150, 120}), 6, kColors[5])});
  Figure again = outer;
  again.Offset(300, 200);
  return {outer, again, styled(freeLine({{200, 40}, {260, 80}, {330, 50}, {400, 120}}), 12, kColors[7])};
}

// A background smaller than the canvas: blocks of colour and a smooth
// gradient.
QImage Background() {
  QImage bg(520, 400, QImage::Format_RGB32);
  for (int y = 0; y < bg.height(); ++y)
    for (int x = 0; x < bg.width(); ++x)
      bg.setPixel(x, y, y < 200 ? qRgb(255 - x / 4, 200, 120 + y / 4) : ((x / 64 + y / 64) % 2 ? qRgb(250, 240, 200) : qRgb(180, 220, 250)));
  return bg;
}

struct Case {
  const char* Name;
  std::vector<Figure> Figures;
  bool WithBackground;
  Tolerance Within;
};

std::vector<Case> Cases() {
  std::vector<Case> all{
      {"shapes", Shapes(), false, kShapes}, {"texts", Texts(), false, kTexts}, {"stamps", Stamps(), true, kShapes}};
  std::vector<Figure> everything = Shapes();
  for (const Figure& f : Texts()) everything.push_back(f);
  for (const Figure& f : Stamps()) everything.push_back(f);
  all.push_back({"everything", everything, true, kTexts});
  return all;
}

FigureList ListOf(const std::vector<Figure>& figures) {
  FigureList list;
  for (const Figure& f : figures) list.Add(f);
  return list;
}

void ExpectAgreement(const QImage& reference, const QImage& other, const std::string& what, Tolerance within) {
  ASSERT_EQ(reference.size(), other.size()) << what;
  const PictureAgreement a = Agreement(reference, other, within.Reach);
  EXPECT_LE(a.FlatMaxDiff, within.Flat) << what << ": " << a.Describe();
  EXPECT_LE(a.InkPerEdge(), within.InkPerEdge) << what << ": " << a.Describe();
  testing::Test::RecordProperty(what, a.Describe());
  std::printf("%s: %s\n", what.c_str(), a.Describe().c_str());
}

TEST(VectorAgreementTest, TheVectorPictureAtFourTimesReducedAgreesWithTheRasterPicture) {
  for (const Case& c : Cases()) {
    const FigureList figs = ListOf(c.Figures);
    const QImage bg = c.WithBackground ? Background() : QImage();
    const QImage raster = RenderScaled(bg, figs, 1);
    const QImage vector = RenderScaled(bg, figs, 4);
    ASSERT_EQ(vector.size(), QSize(2560, 1920));
    ExpectAgreement(raster, Reduced(vector, 4), c.Name, c.Within);
  }
}

TEST(VectorAgreementTest, AFigureOnePixelOffIsCaught) {
  // The tolerance is tight enough to see a shape drawn one pixel too wide.
  const FigureList figs = ListOf(Shapes());
  std::vector<Figure> wider = Shapes();
  for (Figure& f : wider) f.PenWidth += 1;
  const PictureAgreement a =
      Agreement(RenderScaled(QImage(), figs, 1), Reduced(RenderScaled(QImage(), ListOf(wider), 4), 4), kShapes.Reach);
  EXPECT_GT(a.InkPerEdge(), kShapes.InkPerEdge) << a.Describe();
  EXPECT_GT(a.FlatMaxDiff, kShapes.Flat) << a.Describe();
  // So is one shifted by a pixel.
  std::vector<Figure> shifted = Shapes();
  for (Figure& f : shifted) f.Offset(1, 0);
  const PictureAgreement b =
      Agreement(RenderScaled(QImage(), figs, 1), Reduced(RenderScaled(QImage(), ListOf(shifted), 4), 4), kShapes.Reach);
  EXPECT_TRUE(b.InkPerEdge() > kShapes.InkPerEdge || b.FlatMaxDiff > kShapes.Flat) << b.Describe();
}

TEST(VectorAgreementTest, ScaleOneIsTheRasterCanvasPictureAndLargerScalesAreSharp) {
  const FigureList figs = ListOf(Shapes());
  QImage composed(640, 480, QImage::Format_RGB32);
  composed.fill(Qt::white);
  RasterCanvas canvas(&composed);
  DrawFigList(canvas, &figs, 0, 0);
  EXPECT_EQ(RenderScaled(QImage(), figs, 1), composed);
  EXPECT_EQ(RenderScaled(QImage(), figs, 0).size(), QSize(640, 480));
  EXPECT_EQ(RenderScaled(QImage(), figs, 9).size(), QSize(5120, 3840));
  // A 30-pixel line at scale 2 has antialiased edges only one device pixel wide.
  const QImage two = RenderScaled(QImage(), ListOf({styled(line({100, 100}, {500, 100}), 30, kColors[0])}), 2);
  int grey = 0;
  for (int y = 150; y < 260; ++y) {
    const int v = qRed(two.pixel(600, y));
    if (v > 10 && v < 245) ++grey;
  }
  EXPECT_LE(grey, 2);
}

// ---- the files, drawn by other programs ----

bool Have(const char* program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

class VectorFilesTest : public BatchFolderTest {
 protected:
  // Writes the case as a drawing file (with its background beside it).
  void WriteDrawing(const Case& c, const QString& name) {
    AppState S;
    if (c.WithBackground) {
      ASSERT_TRUE(Background().save(Path("bg.bmp"), "BMP"));
      SetBackground(S, Path("bg.bmp").toStdString());
    }
    for (const Figure& f : c.Figures) CreateFigure(S, f);
    const std::string text = HistoryFileText(S.History());
    WriteFile(name, QByteArray::fromStdString(text));
  }
  QImage Png(const QString& name) { return QImage(Path(name)).convertToFormat(QImage::Format_RGB32); }
  bool Tool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }
};

TEST_F(VectorFilesTest, ThePngAtAScaleAgreesWithTheRasterPicture) {
  const Case c = Cases()[3];
  WriteDrawing(c, "d.tlo");
  ASSERT_TRUE(Succeeds({"--export-png", "one.png", "--scale", "1", "d.tlo"}));
  ASSERT_TRUE(Succeeds({"--export-png", "plain.png", "d.tlo"}));
  EXPECT_EQ(Png("one.png"), Png("plain.png"));  // --scale 1 is today's picture
  ASSERT_TRUE(Succeeds({"--export-png", "four.png", "--scale", "4", "d.tlo"}));
  ASSERT_EQ(Png("four.png").size(), QSize(2560, 1920));
  ExpectAgreement(Png("one.png"), Reduced(Png("four.png"), 4), "png scale 4", c.Within);
}

TEST_F(VectorFilesTest, TheSvgDrawnByRsvgAgreesWithThePngOfTheSameSize) {
  if (!Have("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed (scripts/setup.sh installs it)";
  for (const Case& c : Cases()) {
    WriteDrawing(c, "d.tlo");
    ASSERT_TRUE(Succeeds({"--export-svg", "d.svg", "d.tlo"}));
    ASSERT_TRUE(Succeeds({"--export-png", "two.png", "--scale", "2", "d.tlo"}));
    ASSERT_TRUE(Tool("rsvg-convert", {"-w", "1280", "-h", "960", "-b", "white", "-o", Path("svg.png"), Path("d.svg")}));
    ExpectAgreement(Png("two.png"), Png("svg.png"), std::string("svg ") + c.Name, kFiles);

    const QByteArray svg = ReadFile("d.svg");
    EXPECT_FALSE(svg.contains("file:")) << "no external references";
    EXPECT_FALSE(svg.contains("http://www.tamlo"));
    if (c.WithBackground) {
      EXPECT_TRUE(svg.contains("data:image/png;base64,")) << "the background inside";
    }
    if (c.Name == std::string("texts")) {
      EXPECT_TRUE(svg.contains("IPAPGothic")) << "texts name their font";
      // Text runs of one script each.
      EXPECT_TRUE(svg.contains(QByteArray("カタカナ"))) << "texts as text";
      EXPECT_TRUE(svg.contains(QByteArray("漢字"))) << "texts as text";
    }
    QFile::remove(Path("d.svg"));
    QFile::remove(Path("d.bak"));
  }
}

TEST_F(VectorFilesTest, ThePdfDrawnByPdftoppmAgreesAndEmbedsEveryFont) {
  if (!Have("pdftoppm") || !Have("pdffonts")) GTEST_SKIP() << "poppler-utils is not installed (scripts/setup.sh installs it)";
  const Case c = Cases()[3];
  WriteDrawing(c, "d.tlo");
  ASSERT_TRUE(Succeeds({"--export-pdf", "d.pdf", "d.tlo"}));
  ASSERT_TRUE(Succeeds({"--export-png", "three.png", "--scale", "3", "d.tlo"}));
  // 288 dots per inch: a point is 4 pixels, the 480-point drawing 1920.
  ASSERT_TRUE(Tool("pdftoppm", {"-r", "288", "-png", "-singlefile", Path("d.pdf"), Path("page")}));
  const QImage page = Png("page.png");
  const int m = int(kPdfMarginPoints * 4);
  ASSERT_EQ(page.size(), QSize(1920 + 2 * m, 1440 + 2 * m));
  ExpectAgreement(Png("three.png"), page.copy(m, m, 1920, 1440), "pdf", kFiles);
  // The margin is empty.
  EXPECT_EQ(page.pixel(m / 2, m / 2), qRgb(255, 255, 255));

  QProcess fonts;
  fonts.start("pdffonts", {Path("d.pdf")});
  ASSERT_TRUE(fonts.waitForFinished(60000));
  const QList<QByteArray> lines = fonts.readAllStandardOutput().split('\n');
  int listed = 0;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    if (lines[i].trimmed().isEmpty()) continue;
    ++listed;
    // name, type, encoding, emb, sub, uni, object, id: "emb" is the third column from the right of the type.
    const QList<QByteArray> words = lines[i].simplified().split(' ');
    ASSERT_GE(words.size(), 5);
    EXPECT_EQ(words[words.size() - 5], "yes") << lines[i].toStdString();
  }
  EXPECT_GE(listed, 1);
}

TEST_F(VectorFilesTest, PdfPagesAreLandscapeA4AndLetter) {
  if (!Have("pdfinfo")) GTEST_SKIP() << "poppler-utils is not installed";
  WriteDrawing(Cases()[0], "d.tlo");
  for (const auto& [page, size] : {std::pair{"a4", "842 x 595"}, std::pair{"letter", "792 x 612"}}) {
    const QString out = QString("%1.pdf").arg(page);
    ASSERT_TRUE(Succeeds({"--export-pdf", out, "--page", page, "d.tlo"}));
    QProcess info;
    info.start("pdfinfo", {Path(out)});
    ASSERT_TRUE(info.waitForFinished(60000));
    EXPECT_TRUE(info.readAllStandardOutput().contains(size)) << page;
  }
}

TEST_F(VectorFilesTest, BadVectorOptionsAreBadUsage) {
  WriteDrawing(Cases()[0], "d.tlo");
  for (const QStringList& args :
       {QStringList{"--export-png", "a.png", "--scale", "9", "d.tlo"}, QStringList{"--export-png", "a.png", "--scale", "0", "d.tlo"},
        QStringList{"--export-bmp", "a.bmp", "--scale", "2", "d.tlo"}, QStringList{"--export-svg", "a.svg", "--page", "a4", "d.tlo"},
        QStringList{"--export-pdf", "a.pdf", "--page", "a3", "d.tlo"}, QStringList{"--export-svg", "a.svg", "--export-pdf", "a.pdf", "d.tlo"},
        QStringList{"--export-pdf", "d.tlo", "d.tlo"}}) {
    const BatchRun r = Run(args);
    EXPECT_EQ(r.Status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.Err.contains("usage: tamlo")) << args.join(' ').toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("a.png")));
  // A step and a folder of drawings go with the vector outputs too.
  WriteDrawing(Cases()[1], "e.tlo");
  EXPECT_TRUE(Succeeds({"--export-svg", "out/", "d.tlo", "e.tlo"}));
  EXPECT_TRUE(QFile::exists(Path("out/d.svg")) && QFile::exists(Path("out/e.svg")));
  // Again: a folder's outputs are replaced without backups.
  EXPECT_TRUE(Succeeds({"--export-svg", "out/", "d.tlo", "e.tlo"}));
  EXPECT_FALSE(QFile::exists(Path("out/d.bak")));
  // --page goes with the contact sheet too.
  EXPECT_TRUE(Succeeds({"--contact-sheet", "sheet.png", "--page", "letter", "d.tlo", "e.tlo"}));
  EXPECT_TRUE(Succeeds({"--export-pdf", "s.pdf", "--step", "0", "d.tlo"}));
}

}  // namespace
