// The drawing composed at a screen's own resolution: the background
// smoothly scaled, the figures through the vector canvas, the selection
// frame on top. Used where the canvas is shown at any size other than
// 640 × 480 device pixels.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/figure.h"

// Keeps two layers between compositions, so that a change to a few figures
// in the middle of the drawing (the figure being dragged, a step in the view
// mode) draws only those: below, the background and every figure beneath
// them; above, the figures over them on a transparent picture (only its
// part that holds something is laid over). Figures added on top are drawn
// onto the lower layer in place. Any other change composes the whole
// picture again and places the layers around what changed, so the next
// change of the same figures is quick.
class DeviceScene {
 public:
  // The picture of `size` device pixels (RGB32, its device pixel ratio
  // `ratio`) showing the 640 × 480
  // canvas stretched over it: `background` from its top-left corner (white
  // where it does not reach), `figures` back to front, and the dotted
  // not-xor frame around `frame`'s Start and End when it is not null.
  // The result stays shared with the layers: drop every copy of it before
  // the next call, or that call copies the layer it changes.
  QImage Compose(QSize size, qreal ratio, const QImage& background, const std::vector<const Figure*>& figures,
                 const Figure* frame);
  // Forgets the layers (the next composition is a whole one).
  void Clear();

  // For tests and benchmarks: whole compositions so far.
  uint64_t WholeCompositions = 0;

 private:
  QSize m_size;
  qreal m_ratio = 1;
  qint64 m_bgKey = 0;
  bool m_valid = false;
  // The figures of the last composition, their keys back to front.
  std::vector<int32_t> m_keys;
  std::vector<size_t> m_keyStart;
  // Below: the background and the first m_belowCount of them. Above: the
  // last m_aboveCount, inside m_aboveBox.
  QImage m_below;
  size_t m_belowCount = 0;
  QImage m_above;
  size_t m_aboveCount = 0;
  QRect m_aboveBox;
  bool m_framed = false;
  Point m_frameStart, m_frameEnd;
  QImage m_out;

  void Rebuild(const QImage& background, const std::vector<const Figure*>& figures, size_t below, size_t above);
  void Draw(QImage& image, const std::vector<const Figure*>& figures, size_t from, size_t to) const;
};
