// The contact sheet of a class: one picture with a small copy of every
// drawing's last step and the drawing's file name under it, in a grid that
// is about as wide as it is high, for a teacher's overview.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <vector>

// A thumbnail: the 640 × 480 canvas scaled to 200 × 150.
constexpr int kThumbWidth = 200;
constexpr int kThumbHeight = 150;
constexpr int kSheetMargin = 12;            // around every cell and the sheet
constexpr int kSheetNameHeight = 22;        // the file name's line under a thumbnail
constexpr int kSheetMaxColumns = 8;

struct SheetEntry {
  QString Name;     // shown under the thumbnail
  QImage Thumbnail; // kThumbWidth × kThumbHeight; null for a drawing that could not be read
};

// The canvas scaled smoothly to the thumbnail size (RGB32).
QImage SheetThumbnail(const QImage& canvas);

// Columns of the grid for `count` drawings: the smallest n with n × n ≥ count,
// at most kSheetMaxColumns.
int SheetColumns(int count);
// Where the thumbnail of the drawing at `index` goes (its name is right
// under it).
QRect SheetThumbnailRect(int index, int count);
// The whole sheet: a light grey ground, every thumbnail framed, its name
// under it in the drawings' font (shortened with "…" when too long); a
// drawing without a thumbnail gets a crossed-out box. Format RGB32.
QImage ContactSheet(const std::vector<SheetEntry>& entries);
