#include "render/figure_pictures.h"

#include <algorithm>
#include <cstring>

#include "render/paint.h"

void AppendFigureKey(std::vector<int32_t>& out, const Figure& top) {
  const Point at = top.Start;
  // `shift`: the figure's own coordinates are taken from its Start; those of
  // a stamp's contents are already taken from the stamp's.
  auto one = [&out](const Figure& f, Point shift) {
    auto x = [&](int32_t v) { return WrapSub(v, shift.X); };
    auto y = [&](int32_t v) { return WrapSub(v, shift.Y); };
    out.push_back(int32_t(f.DrawingTool));
    out.insert(out.end(), {x(f.Start.X), y(f.Start.Y), x(f.End.X), y(f.End.Y), f.PenWidth, int32_t(f.PenColor),
                           int32_t(f.BrushColor), f.TextSize, int32_t(f.TextColor)});
    out.push_back(int32_t(f.Text.size()));
    for (unsigned char c : f.Text) out.push_back(c);
    if (IsPointFigure(f.DrawingTool)) {
      const Vertex& pd = f.PointData;
      const int count = std::min(pd.Count(), MaxPoints);
      out.push_back(count);
      for (int i = 0; i < count; ++i) out.insert(out.end(), {x(pd.Points[i].X), y(pd.Points[i].Y)});
    } else {
      out.push_back(-1);
    }
    out.push_back(f.DrawingTool == ToolKind::Stamp ? int32_t(f.StampData.size()) : -1);
  };
  // Nested stamps are walked with an explicit stack, as they are drawn.
  struct Range {
    const Figure* Next;
    const Figure* End;
  };
  std::vector<Range> stack;
  auto contents = [](const Figure& f) {
    return Range{f.StampData.data(), f.StampData.data() + f.StampData.size()};
  };
  one(top, at);
  if (top.DrawingTool == ToolKind::Stamp) stack.push_back(contents(top));
  while (!stack.empty()) {
    Range& r = stack.back();
    if (r.Next == r.End) {
      stack.pop_back();
      continue;
    }
    const Figure& f = *r.Next++;
    one(f, Point{0, 0});
    if (f.DrawingTool == ToolKind::Stamp) stack.push_back(contents(f));
  }
  out.insert(out.end(), {at.X, at.Y});
}

namespace {

uint64_t HashKey(bool placed, const int32_t* key, size_t length) {
  uint64_t h = (placed ? 0xC2B2AE3D27D4EB4Full : 0x9E3779B97F4A7C15ull) ^ length;
  for (size_t i = 0; i < length; ++i) {
    h = (h ^ uint32_t(key[i])) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  return h;
}

// Pictures are reused only for figures placed within this range, so that
// shifting one never wraps any of its coordinates.
constexpr int32_t kPlaceLimit = 1 << 24;

bool PlaceInRange(Point p) {
  return p.X > -kPlaceLimit && p.X < kPlaceLimit && p.Y > -kPlaceLimit && p.Y < kPlaceLimit;
}

}  // namespace

void FigurePictureCache::Clear() {
  m_seen.clear();
  m_pictures.clear();
  m_index.clear();
  m_bytes = 0;
}

FigurePictureCache::PictureList::iterator FigurePictureCache::Find(bool placed, uint64_t hash, const int32_t* key,
                                                          size_t keyLength) {
  const auto [from, to] = m_index.equal_range(hash);
  for (auto i = from; i != to; ++i) {
    const KeptPicture& p = *i->second;
    if (p.Placed == placed && p.Key.size() == keyLength && std::equal(p.Key.begin(), p.Key.end(), key)) return i->second;
  }
  return m_pictures.end();
}

void FigurePictureCache::Copy(const KeptPicture& picture, QImage& image, QPoint at) {
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  const int top = at.y() + picture.Box.top();
  for (size_t r = 0; r + 1 < picture.RowStart.size(); ++r) {
    QRgb* line = reinterpret_cast<QRgb*>(bits + qsizetype(top + int(r)) * stride) + at.x();
    for (uint32_t k = picture.RowStart[r]; k < picture.RowStart[r + 1]; ++k) {
      const PixelRun& run = picture.Runs[k];
      std::fill_n(line + run.X, run.Length, run.Color);
    }
  }
}

void FigurePictureCache::Keep(KeptPicture&& picture) {
  picture.Bytes = sizeof(KeptPicture) + 64 + picture.Key.size() * sizeof(int32_t) +
                  picture.RowStart.size() * sizeof(uint32_t) + picture.Runs.size() * sizeof(PixelRun);
  if (picture.Bytes > Budget) return;
  m_bytes += picture.Bytes;
  m_pictures.push_front(std::move(picture));
  m_index.emplace(m_pictures.front().Hash, m_pictures.begin());
  while (m_bytes > Budget && !m_pictures.empty()) {
    const auto last = std::prev(m_pictures.end());
    const auto [from, to] = m_index.equal_range(last->Hash);
    for (auto i = from; i != to; ++i)
      if (i->second == last) {
        m_index.erase(i);
        break;
      }
    m_bytes -= last->Bytes;
    m_pictures.erase(last);
  }
}

void FigurePictureCache::Make(RasterCanvas& canvas, const Figure& fig, const int32_t* key, size_t keyLength) {
  QImage& image = *canvas.Image();
  if (m_sheet.size() != image.size()) {
    m_sheet = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
    m_sheet.fill(Qt::transparent);
  }
  QRect bounds, extent;
  m_sheetCanvas.TrackBounds = &bounds;
  m_sheetCanvas.TrackExtent = &extent;
  DrawFigure(m_sheetCanvas, &fig, 0, 0, DrawMode::Copy);
  m_sheetCanvas.TrackBounds = nullptr;
  m_sheetCanvas.TrackExtent = nullptr;
  if (canvas.TrackBounds != nullptr) *canvas.TrackBounds |= bounds;
  if (canvas.TrackExtent != nullptr) *canvas.TrackExtent |= extent;
  if (extent.isEmpty()) return;
  ++Made;

  // The sheet's touched pixels, as runs from the figure's Start. A pixel
  // drawn only in part would show that the figure's colours mix with what
  // lies below: then it is drawn directly instead.
  KeptPicture picture;
  const Point at = fig.Start;
  picture.Box = extent.translated(-at.X, -at.Y);
  picture.Bounds = bounds.translated(-at.X, -at.Y);
  picture.RowStart.reserve(size_t(extent.height()) + 1);
  bool exact = true;
  for (int y = extent.top(); y <= extent.bottom() && exact; ++y) {
    picture.RowStart.push_back(uint32_t(picture.Runs.size()));
    const QRgb* line = reinterpret_cast<const QRgb*>(m_sheet.constScanLine(y));
    const int right = extent.right();
    for (int x = extent.left(); x <= right;) {
      // Untouched pixels two at a time.
      uint64_t pair;
      while (x < right && (std::memcpy(&pair, line + x, sizeof pair), pair == 0)) x += 2;
      if (x > right) break;  // the last pair ended the row: never read past it
      const QRgb c = line[x];
      if (c == 0) {
        ++x;
        continue;
      }
      if (qAlpha(c) != 255) {
        exact = false;
        break;
      }
      int end = x + 1;
      while (end <= right && line[end] == c) ++end;
      picture.Runs.push_back(PixelRun{x - at.X, end - x, c});
      x = end;
    }
  }
  picture.RowStart.push_back(uint32_t(picture.Runs.size()));
  // The sheet is transparent again for the next figure.
  for (int y = extent.top(); y <= extent.bottom(); ++y)
    std::memset(reinterpret_cast<QRgb*>(m_sheet.scanLine(y)) + extent.left(), 0,
                size_t(extent.width()) * sizeof(QRgb));
  if (!exact) {
    DrawFigure(canvas, &fig, 0, 0, DrawMode::Copy);
    return;
  }
  Copy(picture, image, QPoint(at.X, at.Y));
  // Where nothing was cut off it is the whole figure, to be shifted
  // anywhere it fits; else it serves this place only.
  picture.Placed = !image.rect().contains(bounds);
  const size_t length = picture.Placed ? keyLength : keyLength - kFigureKeyPlace;
  picture.Hash = HashKey(picture.Placed, key, length);
  picture.Key.assign(key, key + length);
  Keep(std::move(picture));
}

void FigurePictureCache::Use(RasterCanvas& canvas, PictureList::iterator found, QPoint at) {
  ++Hits;
  if (found != m_pictures.begin()) m_pictures.splice(m_pictures.begin(), m_pictures, found);
  if (canvas.TrackBounds != nullptr) *canvas.TrackBounds |= found->Bounds.translated(at);
  if (canvas.TrackExtent != nullptr) *canvas.TrackExtent |= found->Box.translated(at);
  if (!canvas.MeasureOnly) Copy(*found, *canvas.Image(), at);
}

void FigurePictureCache::Draw(RasterCanvas& canvas, const Figure& fig, const int32_t* key, size_t keyLength) {
  QImage* image = canvas.Image();
  if (!Enabled || image == nullptr || image->isNull() || image->format() != QImage::Format_RGB32 ||
      !PlaceInRange(fig.Start) || keyLength < kFigureKeyPlace) {
    DrawFigure(canvas, &fig, 0, 0, DrawMode::Copy);
    return;
  }
  const QPoint at(fig.Start.X, fig.Start.Y);
  const size_t content = keyLength - kFigureKeyPlace;
  const auto movable = Find(false, HashKey(false, key, content), key, content);
  if (movable != m_pictures.end() && image->rect().contains(movable->Box.translated(at)))
    return Use(canvas, movable, at);
  const uint64_t placedHash = HashKey(true, key, keyLength);
  const auto placed = Find(true, placedHash, key, keyLength);
  if (placed != m_pictures.end()) return Use(canvas, placed, at);
  // A picture is made for a figure drawn a second time: most figures of a
  // first full repaint are drawn once only.
  if (!canvas.MeasureOnly) {
    if (m_seen.size() >= kSeenLimit) m_seen.clear();
    if (!m_seen.insert(placedHash).second) return Make(canvas, fig, key, keyLength);
  }
  DrawFigure(canvas, &fig, 0, 0, DrawMode::Copy);
}
