// The contact sheet of a class: one picture with a small copy of every
// drawing's last step and the drawing's name under it, in a grid that is
// about as wide as it is high, for a teacher's overview; on a paper preset
// (A4 or letter, landscape, 300 dpi) the grid fills the page so that it
// prints well.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// A thumbnail by default: the 640 × 480 canvas scaled to 320 × 240.
constexpr int kThumbWidth = 320;
constexpr int kThumbHeight = 240;
// Around every cell and the sheet, and the name's line under a thumbnail,
// for the default thumbnail (they grow and shrink with it).
constexpr int kSheetMargin = 16;
constexpr int kSheetNameHeight = 30;
constexpr int kSheetMaxColumns = 8;

struct SheetEntry {
  QString Name;     // shown under the thumbnail (shortened at its end when too long)
  QImage Thumbnail; // of the layout's thumbnail size; null for a drawing that could not be read
};

// How the sheet is laid out.
struct SheetLayout {
  int ThumbWidth = kThumbWidth, ThumbHeight = kThumbHeight;
  int Columns = 0;  // 0: SheetColumns of the number of drawings
  QString Title;    // a line above the grid; none when empty
  QSize Page;       // when valid: the sheet has this size, thumbnails as large as fit
  int DotsPerInch = 0;  // noted in the picture (0: none)
};

// A paper preset: "a4" (297 × 210 mm) or "letter" (11 × 8.5 in), landscape
// at 300 dpi, for `count` drawings: the page's size, and the columns and
// thumbnails (4:3) that fill it best; `columns` (0: the best) as given.
SheetLayout SheetPageLayout(const QString& page, int count, int columns = 0, const QString& title = QString());

// The canvas scaled smoothly to the thumbnail size (RGB32).
QImage SheetThumbnail(const QImage& canvas, QSize size = QSize(kThumbWidth, kThumbHeight));

// Columns of the grid for `count` drawings: the smallest n with n × n ≥ count,
// at most kSheetMaxColumns.
int SheetColumns(int count);
// Where the thumbnail of the drawing at `index` goes (its name is right
// under it).
QRect SheetThumbnailRect(int index, int count, const SheetLayout& layout = SheetLayout());
// The whole sheet: a light grey ground, the title line, every thumbnail
// framed, its name under it in the drawings' font (shortened at its end
// with "…" when too long); a drawing without a thumbnail gets a crossed-out
// box. Format RGB32.
QImage ContactSheet(const std::vector<SheetEntry>& entries, const SheetLayout& layout = SheetLayout());
