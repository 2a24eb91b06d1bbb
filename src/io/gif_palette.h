// One palette for a whole GIF: built from the colours of a few pictures,
// then used to turn every frame into palette indices.
#pragma once

#include <QImage>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class GIFPalette {
 public:
  // Counts the colours of an RGB32 picture.
  void Count(const QImage& image);

  // Makes the palette from the colours counted so far, and forgets them.
  // Up to 256 colours are kept exactly. Beyond that, the colours that each
  // cover many pixels (a drawing's flat colours) are kept exactly, at most
  // 128 of them, and median cut shares the other entries among the rest;
  // the last entry stays transparent, which lets the encoder leave the
  // unchanged parts of a frame out.
  void Build();

  // The palette as a frame carries it: opaque entries, unused ones
  // transparent.
  void Fill(uint32_t* palette) const;

  // Turns an RGB32 picture into palette indices, `lineSize` bytes a row.
  void Map(const QImage& image, uint8_t* indices, int lineSize);

 private:
  struct ColourCount {
    uint32_t Colour;
    uint64_t Pixels;
  };
  static constexpr uint32_t kNoKey = 0xFFFFFFFF;
  static constexpr size_t kExactSlots = 1024;

  std::vector<ColourCount> m_counts;  // sorted by colour
  std::array<uint32_t, 256> m_entries{};
  int m_size = 0;
  // Exact colours of the palette: open addressing on the colour.
  std::array<uint32_t, kExactSlots> m_exactKeys{};
  std::array<uint8_t, kExactSlots> m_exactIndex{};
  // Other colours: the entry nearest to the middle of their 5-5-5 bit cell.
  std::vector<int16_t> m_nearest;
  uint32_t m_lastColour = kNoKey;
  uint8_t m_lastIndex = 0;

  static size_t Slot(uint32_t colour) { return (colour * 2654435761u) >> 22; }

  void InsertExact(uint32_t colour, int index);
  // The entry of a colour: its own when the palette has it, else the one
  // nearest to its cell.
  uint8_t IndexOf(uint32_t colour);
  int Nearest(uint32_t colour) const;

  static int Channel(uint32_t colour, int axis) { return int((colour >> (16 - 8 * axis)) & 0xFF); }

  // Median cut: splits the colours, weighted by their pixels, into at most
  // `count` boxes and gives each box's average colour.
  static std::vector<uint32_t> MedianCut(std::vector<ColourCount>& colours, size_t count);
};
