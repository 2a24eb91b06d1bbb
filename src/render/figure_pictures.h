// Pictures of figures, drawn once and copied from then on.
#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/figure.h"
#include "render/canvas.h"

// Everything a figure's drawing depends on, as numbers: kind, attributes,
// text, vertices and a stamp's contents to any depth, every coordinate of
// the figure itself taken from its Start; then Start.X and Start.Y. Two
// figures whose keys agree but for the last two numbers draw the same
// pixels, shifted by the difference of their Starts (wherever nothing is
// cut off at the image's edges).
void AppendFigureKey(std::vector<int32_t>& out, const Figure& fig);
// The numbers of a key that follow its content: its place.
constexpr size_t kFigureKeyPlace = 2;

// A figure drawn in copy mode without antialiasing gives every pixel it
// touches a colour of its own, whatever was there before. Its picture is
// those pixels and their colours (runs of one colour, row by row); copying
// it onto any picture draws the figure exactly.
//
// A picture is made where the figure first lies, on a sheet of the target's
// size, so that it is drawn exactly as on the target. When nothing of it was
// cut off there, it serves every figure of the same content (its key
// without its place) that lies wholly within the image, shifted. A figure
// cut off at the image's edges keeps a picture for its place only.
//
// A figure is drawn directly the first time, and through a picture from
// its second time on (most figures of a first repaint are drawn once only).
// The pictures kept take at most `Budget` bytes; the least recently used
// go first.
class FigurePictureCache {
 public:
  static constexpr size_t kDefaultBudget = size_t(64) << 20;
  explicit FigurePictureCache(size_t budget = kDefaultBudget) : Budget(budget) {}
  FigurePictureCache(const FigurePictureCache&) = delete;  // m_sheetCanvas points into this object
  FigurePictureCache& operator=(const FigurePictureCache&) = delete;

  // Does what DrawFigure(canvas, &fig, 0, 0, DrawMode::Copy) does to canvas's
  // image, its TrackExtent, TrackBounds and MeasureOnly included (the
  // canvas's pen and brush are left as they may be). `key` is the figure's
  // whole key (keyLength numbers, see AppendFigureKey).
  void Draw(RasterCanvas& canvas, const Figure& fig, const int32_t* key, size_t keyLength);

  // Forgets every picture.
  void Clear();
  size_t Bytes() const { return m_bytes; }
  size_t Count() const { return m_pictures.size(); }

  size_t Budget;
  bool Enabled = true;  // false: every figure is drawn directly
  uint64_t Hits = 0;    // figures copied from a kept picture
  uint64_t Made = 0;    // pictures made (kept or not)

 private:
  struct PixelRun {
    int32_t X;  // from the figure's Start
    int32_t Length;
    QRgb Color;
  };
  struct KeptPicture {
    uint64_t Hash;
    bool Placed;  // for its place only: Key is then the whole key
    std::vector<int32_t> Key;
    QRect Box;                      // from the figure's Start
    QRect Bounds;                   // the same, before being cut to the image
    std::vector<uint32_t> RowStart;  // row y's runs: RowStart[y − Box.top()] … RowStart[y − Box.top() + 1]
    std::vector<PixelRun> Runs;
    size_t Bytes;
  };
  using PictureList = std::list<KeptPicture>;
  PictureList m_pictures;  // the most recently used first
  std::unordered_multimap<uint64_t, PictureList::iterator> m_index;
  size_t m_bytes = 0;
  // The figures (whole keys, hashed) drawn without a picture so far.
  std::unordered_set<uint64_t> m_seen;
  static constexpr size_t kSeenLimit = size_t(1) << 16;
  QImage m_sheet;  // transparent but where a picture is being made
  RasterCanvas m_sheetCanvas{&m_sheet};

  PictureList::iterator Find(bool placed, uint64_t hash, const int32_t* key, size_t keyLength);
  // Copies a picture found at the figure's place.
  void Use(RasterCanvas& canvas, PictureList::iterator found, QPoint at);
  // Draws through the sheet and keeps the picture.
  void Make(RasterCanvas& canvas, const Figure& fig, const int32_t* key, size_t keyLength);
  static void Copy(const KeptPicture& picture, QImage& image, QPoint at);
  void Keep(KeptPicture&& picture);
};
