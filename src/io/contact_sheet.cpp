#include "io/contact_sheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "render/canvas.h"

namespace {

// The sheet's measures for a layout: margins, name line and title grow with
// the thumbnails.
struct Measures {
  int Columns, Rows, Margin, NameHeight, TitleHeight, CellWidth, CellHeight;
  QPoint Origin;  // of the grid
  QSize Size;
};

Measures MeasuresOf(const SheetLayout& layout, int count) {
  Measures m{};
  count = std::max(1, count);
  m.Columns = std::min(layout.Columns > 0 ? layout.Columns : SheetColumns(count), count);
  m.Rows = (count + m.Columns - 1) / m.Columns;
  m.Margin = std::max(4, kSheetMargin * layout.ThumbWidth / kThumbWidth);
  m.NameHeight = std::max(14, kSheetNameHeight * layout.ThumbHeight / kThumbHeight);
  m.TitleHeight = layout.Title.isEmpty() ? 0 : m.NameHeight * 3 / 2;
  m.CellWidth = layout.ThumbWidth + m.Margin;
  m.CellHeight = layout.ThumbHeight + m.NameHeight + m.Margin;
  const QSize grid(m.Margin + m.Columns * m.CellWidth, m.Margin + m.TitleHeight + m.Rows * m.CellHeight);
  m.Size = layout.Page.isValid() ? layout.Page : grid;
  m.Origin = QPoint((m.Size.width() - grid.width()) / 2 + m.Margin, m.Margin + m.TitleHeight);
  return m;
}

QFont LabelFont(int lineHeight) {
  QFont font(QString::fromUtf8(kFigureFontFamily));
  font.setPixelSize(std::max(10, lineHeight * 3 / 5));
  return font;
}

}  // namespace

SheetLayout SheetPageLayout(const QString& page, int count, int columns, const QString& title) {
  SheetLayout layout;
  layout.Title = title;
  layout.DotsPerInch = 300;
  layout.Page = page == u"letter" ? QSize(3300, 2550) : QSize(3508, 2480);
  count = std::max(1, count);
  // The largest 4:3 thumbnail with which the whole grid fits the page.
  int bestUnit = 0, bestColumns = 1;
  for (int c = 1; c <= std::min(count, 50); ++c) {
    if (columns > 0 && c != columns) continue;
    for (int unit = layout.Page.width() / 4; unit > 4; --unit) {
      SheetLayout trial = layout;
      trial.ThumbWidth = unit * 4;
      trial.ThumbHeight = unit * 3;
      trial.Columns = c;
      trial.Page = QSize();
      const QSize grid = MeasuresOf(trial, count).Size;
      if (grid.width() <= layout.Page.width() && grid.height() <= layout.Page.height()) {
        if (unit > bestUnit) bestUnit = unit, bestColumns = c;
        break;
      }
    }
  }
  layout.ThumbWidth = std::max(4, bestUnit) * 4;
  layout.ThumbHeight = std::max(4, bestUnit) * 3;
  layout.Columns = columns > 0 ? columns : bestColumns;
  return layout;
}

QImage SheetThumbnail(const QImage& canvas, QSize size) {
  return canvas.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
}

int SheetColumns(int count) {
  int n = 1;
  while (n * n < count && n < kSheetMaxColumns) ++n;
  return n;
}

QRect SheetThumbnailRect(int index, int count, const SheetLayout& layout) {
  const Measures m = MeasuresOf(layout, count);
  return QRect(m.Origin.x() + (index % m.Columns) * m.CellWidth, m.Origin.y() + (index / m.Columns) * m.CellHeight,
               layout.ThumbWidth, layout.ThumbHeight);
}

QImage ContactSheet(const std::vector<SheetEntry>& entries, const SheetLayout& layout) {
  const int count = std::max<int>(1, int(entries.size()));
  const Measures m = MeasuresOf(layout, count);
  QImage sheet(m.Size, QImage::Format_RGB32);
  sheet.fill(QColor(236, 236, 236));
  if (layout.DotsPerInch > 0) {
    const int perMeter = int(std::lround(layout.DotsPerInch / 0.0254));
    sheet.setDotsPerMeterX(perMeter);
    sheet.setDotsPerMeterY(perMeter);
  }

  QPainter p(&sheet);
  if (!layout.Title.isEmpty()) {
    QFont font = LabelFont(m.TitleHeight);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    const QRect line(m.Margin, m.Margin / 2, m.Size.width() - 2 * m.Margin, m.TitleHeight);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
               QFontMetrics(font).elidedText(layout.Title, Qt::ElideRight, line.width()));
  }
  const QFont font = LabelFont(m.NameHeight);
  p.setFont(font);
  const QFontMetrics metrics(font);
  const int cross = std::max(4, layout.ThumbWidth / 10);
  for (int i = 0; i < int(entries.size()); ++i) {
    const SheetEntry& e = entries[size_t(i)];
    const QRect box = SheetThumbnailRect(i, count, layout);
    if (!e.Thumbnail.isNull()) {
      p.drawImage(box, e.Thumbnail);
    } else {
      p.fillRect(box, QColor(250, 250, 250));
      p.setPen(QPen(QColor(200, 0, 0), std::max(3, layout.ThumbWidth / 60)));
      p.drawLine(box.topLeft() + QPoint(cross, cross), box.bottomRight() - QPoint(cross, cross));
      p.drawLine(box.topRight() + QPoint(-cross, cross), box.bottomLeft() + QPoint(cross, -cross));
    }
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-1, -1, 0, 0));
    p.setPen(Qt::black);
    const QRect nameBox(box.left(), box.bottom() + 1, layout.ThumbWidth, m.NameHeight);
    p.drawText(nameBox, Qt::AlignHCenter | Qt::AlignVCenter, metrics.elidedText(e.Name, Qt::ElideRight, layout.ThumbWidth));
  }
  p.end();
  return sheet;
}
