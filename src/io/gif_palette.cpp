// The GIF palette: colours counted, kept exactly or shared by median cut,
// and looked up for every pixel of every frame.
#include "io/gif_palette.h"

#include <algorithm>
#include <cmath>

void GIFPalette::Count(const QImage& image) {
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t(image.width()) * image.height());
  for (int y = 0; y < image.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) pixels.push_back(row[x] & 0xFFFFFF);
  }
  std::sort(pixels.begin(), pixels.end());
  std::vector<ColourCount> counted;
  for (size_t i = 0; i < pixels.size();) {
    size_t j = i;
    while (j < pixels.size() && pixels[j] == pixels[i]) ++j;
    counted.push_back({pixels[i], uint64_t(j - i)});
    i = j;
  }
  // Merge into the colours counted before (both sorted by colour).
  std::vector<ColourCount> merged;
  merged.reserve(m_counts.size() + counted.size());
  size_t a = 0, b = 0;
  while (a < m_counts.size() || b < counted.size()) {
    if (b == counted.size() || (a < m_counts.size() && m_counts[a].Colour < counted[b].Colour)) {
      merged.push_back(m_counts[a++]);
    } else if (a == m_counts.size() || counted[b].Colour < m_counts[a].Colour) {
      merged.push_back(counted[b++]);
    } else {
      merged.push_back({m_counts[a].Colour, m_counts[a].Pixels + counted[b].Pixels});
      ++a, ++b;
    }
  }
  m_counts.swap(merged);
}

void GIFPalette::Build() {
  m_size = 0;
  if (m_counts.size() <= m_entries.size()) {
    for (const ColourCount& c : m_counts) m_entries[m_size++] = c.Colour;
  } else {
    uint64_t total = 0;
    for (const ColourCount& c : m_counts) total += c.Pixels;
    const uint64_t flatMinimum = std::max<uint64_t>(64, total / 4096);
    std::vector<ColourCount> flat, rest;
    for (const ColourCount& c : m_counts) (c.Pixels >= flatMinimum ? flat : rest).push_back(c);
    std::stable_sort(flat.begin(), flat.end(),
                     [](const ColourCount& x, const ColourCount& y) { return x.Pixels > y.Pixels; });
    constexpr size_t kMaxFlat = 128;
    if (flat.size() > kMaxFlat) {
      rest.insert(rest.end(), flat.begin() + kMaxFlat, flat.end());
      flat.resize(kMaxFlat);
    }
    for (const ColourCount& c : flat) m_entries[m_size++] = c.Colour;
    for (uint32_t colour : MedianCut(rest, m_entries.size() - 1 - flat.size())) m_entries[m_size++] = colour;
  }
  m_counts.clear();
  m_counts.shrink_to_fit();
  m_exactKeys.fill(kNoKey);
  for (int i = m_size - 1; i >= 0; --i) InsertExact(m_entries[i], i);
  m_nearest.assign(32768, -1);
  m_lastColour = kNoKey;
}

void GIFPalette::Fill(uint32_t* palette) const {
  for (int i = 0; i < 256; ++i) palette[i] = i < m_size ? 0xFF000000u | m_entries[i] : 0;
}

void GIFPalette::Map(const QImage& image, uint8_t* indices, int lineSize) {
  for (int y = 0; y < image.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    uint8_t* out = indices + ptrdiff_t(y) * lineSize;
    for (int x = 0; x < image.width(); ++x) {
      const uint32_t colour = row[x] & 0xFFFFFF;
      if (colour != m_lastColour) {
        m_lastColour = colour;
        m_lastIndex = IndexOf(colour);
      }
      out[x] = m_lastIndex;
    }
  }
}

void GIFPalette::InsertExact(uint32_t colour, int index) {
  size_t s = Slot(colour);
  while (m_exactKeys[s] != kNoKey && m_exactKeys[s] != colour) s = (s + 1) % kExactSlots;
  m_exactKeys[s] = colour;
  m_exactIndex[s] = uint8_t(index);
}

uint8_t GIFPalette::IndexOf(uint32_t colour) {
  for (size_t s = Slot(colour); m_exactKeys[s] != kNoKey; s = (s + 1) % kExactSlots)
    if (m_exactKeys[s] == colour) return m_exactIndex[s];
  const int cell = int((colour >> 9) & 0x7C00) | int((colour >> 6) & 0x3E0) | int((colour >> 3) & 0x1F);
  if (m_nearest[cell] < 0) m_nearest[cell] = int16_t(Nearest((colour & 0xF8F8F8) | 0x040404));
  return uint8_t(m_nearest[cell]);
}

int GIFPalette::Nearest(uint32_t colour) const {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < m_size; ++i) {
    const int dr = int((m_entries[i] >> 16) & 0xFF) - int((colour >> 16) & 0xFF);
    const int dg = int((m_entries[i] >> 8) & 0xFF) - int((colour >> 8) & 0xFF);
    const int db = int(m_entries[i] & 0xFF) - int(colour & 0xFF);
    const int64_t d = int64_t(dr) * dr * 3 + int64_t(dg) * dg * 4 + int64_t(db) * db * 2;
    if (d < bestDistance) bestDistance = d, best = i;
  }
  return best;
}

std::vector<uint32_t> GIFPalette::MedianCut(std::vector<ColourCount>& colours, size_t count) {
  struct BoxRect {
    size_t Begin, End;
    uint64_t Pixels = 0;
    int Axis = 0, Range = 0;
  };
  auto measure = [&](BoxRect& box) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    box.Pixels = 0;
    for (size_t i = box.Begin; i < box.End; ++i) {
      box.Pixels += colours[i].Pixels;
      for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], Channel(colours[i].Colour, a));
        hi[a] = std::max(hi[a], Channel(colours[i].Colour, a));
      }
    }
    box.Axis = 0;
    for (int a = 1; a < 3; ++a)
      if (hi[a] - lo[a] > hi[box.Axis] - lo[box.Axis]) box.Axis = a;
    box.Range = hi[box.Axis] - lo[box.Axis];
  };
  std::vector<BoxRect> boxes;
  if (colours.empty() || count == 0) return {};
  boxes.push_back({0, colours.size()});
  measure(boxes[0]);
  while (boxes.size() < count) {
    // The box that spreads the most pixels over the widest range.
    size_t pick = boxes.size();
    double best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const double score = double(boxes[i].Range) * double(boxes[i].Pixels);
      if (boxes[i].End - boxes[i].Begin >= 2 && score > best) best = score, pick = i;
    }
    if (pick == boxes.size()) break;
    BoxRect box = boxes[pick];
    const int axis = box.Axis;
    std::sort(colours.begin() + ptrdiff_t(box.Begin), colours.begin() + ptrdiff_t(box.End),
              [axis](const ColourCount& x, const ColourCount& y) {
                const int cx = Channel(x.Colour, axis), cy = Channel(y.Colour, axis);
                return cx != cy ? cx < cy : x.Colour < y.Colour;
              });
    uint64_t seen = 0;
    size_t split = box.Begin + 1;
    for (size_t i = box.Begin; i < box.End - 1; ++i) {
      seen += colours[i].Pixels;
      split = i + 1;
      if (seen * 2 >= box.Pixels) break;
    }
    BoxRect low{box.Begin, split}, high{split, box.End};
    measure(low);
    measure(high);
    boxes[pick] = low;
    boxes.push_back(high);
  }
  std::vector<uint32_t> result;
  for (const BoxRect& box : boxes) {
    double sum[3] = {0, 0, 0};
    for (size_t i = box.Begin; i < box.End; ++i)
      for (int a = 0; a < 3; ++a) sum[a] += double(Channel(colours[i].Colour, a)) * double(colours[i].Pixels);
    uint32_t colour = 0;
    for (int a = 0; a < 3; ++a)
      colour |= uint32_t(std::lround(sum[a] / double(box.Pixels))) << (16 - 8 * a);
    result.push_back(colour);
  }
  return result;
}
