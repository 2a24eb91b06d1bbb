#include "io/contact_sheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "render/canvas.h"

namespace {

constexpr int kCellWidth = kThumbWidth + kSheetMargin;
constexpr int kCellHeight = kThumbHeight + kSheetNameHeight + kSheetMargin;

}  // namespace

QImage SheetThumbnail(const QImage& canvas) {
  return canvas.scaled(kThumbWidth, kThumbHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

int SheetColumns(int count) {
  int n = 1;
  while (n * n < count && n < kSheetMaxColumns) ++n;
  return n;
}

QRect SheetThumbnailRect(int index, int count) {
  const int columns = SheetColumns(count);
  return QRect(kSheetMargin + (index % columns) * kCellWidth, kSheetMargin + (index / columns) * kCellHeight,
               kThumbWidth, kThumbHeight);
}

QImage ContactSheet(const std::vector<SheetEntry>& entries) {
  const int count = std::max<int>(1, int(entries.size()));
  const int columns = std::min(SheetColumns(count), count);
  const int rows = (count + columns - 1) / columns;
  QImage sheet(kSheetMargin + columns * kCellWidth, kSheetMargin + rows * kCellHeight, QImage::Format_RGB32);
  sheet.fill(QColor(236, 236, 236));

  QPainter p(&sheet);
  QFont font(QString::fromUtf8(kFigureFontFamily));
  font.setPixelSize(14);
  p.setFont(font);
  const QFontMetrics metrics(font);
  for (int i = 0; i < int(entries.size()); ++i) {
    const SheetEntry& e = entries[size_t(i)];
    const QRect box = SheetThumbnailRect(i, count);
    if (!e.Thumbnail.isNull()) {
      p.drawImage(box.topLeft(), e.Thumbnail, QRect(0, 0, kThumbWidth, kThumbHeight));
    } else {
      p.fillRect(box, QColor(250, 250, 250));
      p.setPen(QPen(QColor(200, 0, 0), 3));
      p.drawLine(box.topLeft() + QPoint(20, 20), box.bottomRight() - QPoint(20, 20));
      p.drawLine(box.topRight() + QPoint(-20, 20), box.bottomLeft() + QPoint(20, -20));
    }
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-1, -1, 0, 0));
    p.setPen(Qt::black);
    const QRect nameBox(box.left(), box.bottom() + 1, kThumbWidth, kSheetNameHeight);
    p.drawText(nameBox, Qt::AlignHCenter | Qt::AlignVCenter, metrics.elidedText(e.Name, Qt::ElideMiddle, kThumbWidth));
  }
  p.end();
  return sheet;
}
