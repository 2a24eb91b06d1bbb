// The contact sheet's layout: a grid about as wide as it is high, every
// thumbnail where its rectangle says, the file name drawn under it.
#include <gtest/gtest.h>

#include <QImage>

#include "io/contact_sheet.h"

namespace {

SheetEntry Entry(const QString& name, QColor colour) {
  QImage canvas(640, 480, QImage::Format_RGB32);
  canvas.fill(colour);
  return {name, SheetThumbnail(canvas)};
}

// Pixels of the name's line under a thumbnail that are darker than the ground.
int InkUnder(const QImage& sheet, const QRect& thumb) {
  int ink = 0;
  for (int y = thumb.bottom() + 2; y < thumb.bottom() + kSheetNameHeight; ++y)
    for (int x = thumb.left(); x <= thumb.right(); ++x) ink += qGray(sheet.pixel(x, y)) < 128;
  return ink;
}

TEST(ContactSheet, ColumnsGrowWithTheSquareRootUpToEight) {
  EXPECT_EQ(SheetColumns(1), 1);
  EXPECT_EQ(SheetColumns(2), 2);
  EXPECT_EQ(SheetColumns(4), 2);
  EXPECT_EQ(SheetColumns(5), 3);
  EXPECT_EQ(SheetColumns(30), 6);
  EXPECT_EQ(SheetColumns(64), 8);
  EXPECT_EQ(SheetColumns(200), 8);
}

TEST(ContactSheet, ThumbnailsFillTheGridRowByRowWithTheirNames) {
  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
  std::vector<SheetEntry> entries;
  for (int i = 0; i < 5; ++i) entries.push_back(Entry(QStringLiteral("d%1.tlo").arg(i), colours[i]));
  entries[3].Name.clear();
  const QImage sheet = ContactSheet(entries);
  // 3 columns, 2 rows.
  EXPECT_EQ(sheet.width(), SheetThumbnailRect(2, 5).right() + 1 + kSheetMargin);
  EXPECT_EQ(sheet.height(), SheetThumbnailRect(3, 5).bottom() + 1 + kSheetNameHeight + kSheetMargin);
  EXPECT_EQ(SheetThumbnailRect(3, 5).left(), SheetThumbnailRect(0, 5).left());
  for (int i = 0; i < 5; ++i) {
    const QRect r = SheetThumbnailRect(i, 5);
    EXPECT_EQ(r.size(), QSize(kThumbWidth, kThumbHeight));
    for (const QPoint& p : {r.topLeft(), r.bottomRight(), r.center()})
      EXPECT_EQ(sheet.pixel(p) & 0xFFFFFF, colours[i].rgb() & 0xFFFFFF) << i;
    if (i == 3)
      EXPECT_EQ(InkUnder(sheet, r), 0);
    else
      EXPECT_GT(InkUnder(sheet, r), 20) << "no name under " << i;
  }
}

TEST(ContactSheet, ALongNameStaysUnderItsOwnThumbnail) {
  std::vector<SheetEntry> entries{Entry(QString(80, u'あ') + ".tlo", Qt::white), Entry("", Qt::white)};
  const QImage sheet = ContactSheet(entries);
  EXPECT_GT(InkUnder(sheet, SheetThumbnailRect(0, 2)), 20);
  EXPECT_EQ(InkUnder(sheet, SheetThumbnailRect(1, 2)), 0);
}

SheetLayout Untitled(SheetLayout layout) {
  layout.Title.clear();
  return layout;
}

// The label region under a thumbnail.
QImage Label(const QImage& sheet, const QRect& thumb, int height) {
  return sheet.copy(thumb.left(), thumb.bottom() + 1, thumb.width(), height);
}

TEST(ContactSheet, LongNamesAreShortenedAtTheirEndNeverInTheMiddle) {
  const QString start = QString(40, u'あ');
  // Two names alike but for their ends: the same label. Alike but for their
  // starts: different labels.
  std::vector<SheetEntry> entries{Entry(start + "いいい1", Qt::white), Entry(start + "いいい2", Qt::white),
                                  Entry("か" + start.mid(1) + "いいい1", Qt::white)};
  const QImage sheet = ContactSheet(entries);
  const QImage a = Label(sheet, SheetThumbnailRect(0, 3), kSheetNameHeight);
  const QImage b = Label(sheet, SheetThumbnailRect(1, 3), kSheetNameHeight);
  const QImage c = Label(sheet, SheetThumbnailRect(2, 3), kSheetNameHeight);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

TEST(ContactSheet, ThumbnailSizeColumnsAndTitleLineAreTheLayouts) {
  SheetLayout layout;
  layout.ThumbWidth = 400;
  layout.ThumbHeight = 300;
  layout.Columns = 4;
  std::vector<SheetEntry> entries;
  for (int i = 0; i < 5; ++i) {
    QImage canvas(640, 480, QImage::Format_RGB32);
    canvas.fill(i % 2 ? Qt::red : Qt::blue);
    entries.push_back({QStringLiteral("d%1").arg(i), SheetThumbnail(canvas, QSize(400, 300))});
  }
  const QImage plain = ContactSheet(entries, layout);
  // 4 columns, 2 rows of 400 × 300.
  EXPECT_EQ(SheetThumbnailRect(3, 5, layout).top(), SheetThumbnailRect(0, 5, layout).top());
  EXPECT_GT(SheetThumbnailRect(4, 5, layout).top(), SheetThumbnailRect(0, 5, layout).bottom());
  for (int i = 0; i < 5; ++i) {
    const QRect r = SheetThumbnailRect(i, 5, layout);
    EXPECT_EQ(r.size(), QSize(400, 300));
    EXPECT_EQ(plain.pixel(r.center()) & 0xFFFFFF, i % 2 ? 0xFF0000u : 0x0000FFu);
  }
  EXPECT_EQ(plain.width(), SheetThumbnailRect(3, 5, layout).right() + 1 + SheetThumbnailRect(0, 5, layout).left());
  // A title line moves the grid down and is drawn above it.
  layout.Title = QStringLiteral("1ねん 2くみ の え");
  const QImage titled = ContactSheet(entries, layout);
  const int drop = SheetThumbnailRect(0, 5, layout).top() - SheetThumbnailRect(0, 5, Untitled(layout)).top();
  EXPECT_GT(drop, 20);
  EXPECT_EQ(titled.height(), plain.height() + drop);
  int ink = 0;
  for (int y = 0; y < SheetThumbnailRect(0, 5, layout).top() - 2; ++y)
    for (int x = 0; x < titled.width(); ++x) ink += qGray(titled.pixel(x, y)) < 128;
  EXPECT_GT(ink, 100);
}

TEST(ContactSheet, TheA4AndLetterPresetsFillALandscapePageAt300Dpi) {
  for (const int count : {1, 7, 30, 120}) {
    const SheetLayout a4 = SheetPageLayout("a4", count, 0, "title");
    SCOPED_TRACE(count);
    EXPECT_EQ(a4.Page, QSize(3508, 2480));
    EXPECT_EQ(a4.ThumbWidth * 3, a4.ThumbHeight * 4);
    const std::vector<SheetEntry> entries(static_cast<size_t>(count));
    const QImage sheet = ContactSheet(entries, a4);
    EXPECT_EQ(sheet.size(), QSize(3508, 2480));
    EXPECT_NEAR(sheet.dotsPerMeterX() * 0.0254, 300, 0.5);
    // Every thumbnail with its name on the page.
    const QRect last = SheetThumbnailRect(count - 1, count, a4);
    EXPECT_LE(last.bottom() + kSheetNameHeight * a4.ThumbHeight / kThumbHeight, 2480);
    for (int i = 0; i < count; ++i) EXPECT_TRUE(QRect(0, 0, 3508, 2480).contains(SheetThumbnailRect(i, count, a4)));
    // As large as fits: one size up would not.
    SheetLayout bigger = a4;
    bigger.ThumbWidth += 4;
    bigger.ThumbHeight += 3;
    bigger.Page = QSize();
    const QImage over = ContactSheet(entries, bigger);
    EXPECT_TRUE(over.width() > 3508 || over.height() > 2480) << a4.ThumbWidth;
  }
  EXPECT_GT(SheetPageLayout("a4", 1).ThumbWidth, 2000);
  EXPECT_GE(SheetPageLayout("a4", 30).ThumbWidth, 480);
  EXPECT_EQ(SheetPageLayout("letter", 12).Page, QSize(3300, 2550));
  EXPECT_EQ(SheetPageLayout("a4", 12, 2).Columns, 2);
}

}  // namespace
