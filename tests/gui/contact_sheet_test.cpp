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

}  // namespace
