#include "render/device_scene.h"

#include <QPainter>
#include <algorithm>

#include "render/figure_pictures.h"
#include "render/paint.h"
#include "render/vector_canvas.h"
#include "render/vector_paint.h"

namespace {

// Drawing a few changed figures over the kept layers pays off; beyond this
// many the picture is composed whole.
constexpr size_t kMaxMiddle = 16;

// The canvas's pixels onto the picture's (a painter on a picture of a
// device pixel ratio r already scales by r).
void ToDevice(QPainter& p, const QImage& image) {
  const QSizeF size = image.deviceIndependentSize();
  p.scale(size.width() / kCanvasWidth, size.height() / kCanvasHeight);
  p.setClipRect(QRectF(0, 0, kCanvasWidth, kCanvasHeight));
}

// The smallest box holding every pixel of `image` that is not transparent.
QRect OpaqueBox(const QImage& image) {
  int top = -1, bottom = -1, left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(row[x]) == 0) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool SameKey(const std::vector<int32_t>& a, const std::vector<size_t>& as, size_t i, const std::vector<int32_t>& b,
             const std::vector<size_t>& bs, size_t j) {
  const size_t n = as[i + 1] - as[i];
  return n == bs[j + 1] - bs[j] && std::equal(a.begin() + as[i], a.begin() + as[i + 1], b.begin() + bs[j]);
}

}  // namespace

void DeviceScene::Clear() {
  m_valid = false;
  m_below = m_above = m_out = QImage();
  m_keys.clear();
  m_keyStart.clear();
}

void DeviceScene::Draw(QImage& image, const std::vector<const Figure*>& figures, size_t from, size_t to) const {
  if (from >= to) return;
  QPainter p(&image);
  ToDevice(p, image);
  VectorCanvas canvas(&p);
  for (size_t i = from; i < to; ++i) DrawFigure(canvas, figures[i], 0, 0, DrawMode::Copy);
}

void DeviceScene::Rebuild(const QImage& background, const std::vector<const Figure*>& figures, size_t below,
                          size_t above) {
  ++WholeCompositions;
  m_below = QImage(m_size, QImage::Format_RGB32);
  m_below.setDevicePixelRatio(m_ratio);
  {
    QPainter p(&m_below);
    ToDevice(p, m_below);
    PaintBackground(p, background);
  }
  Draw(m_below, figures, 0, below);
  m_belowCount = below;
  m_aboveCount = above;
  m_above = QImage();
  m_aboveBox = QRect();
  if (above > 0) {
    m_above = QImage(m_size, QImage::Format_ARGB32_Premultiplied);
    m_above.setDevicePixelRatio(m_ratio);
    m_above.fill(Qt::transparent);
    Draw(m_above, figures, figures.size() - above, figures.size());
    m_aboveBox = OpaqueBox(m_above);
  }
  m_valid = true;
}

QImage DeviceScene::Compose(QSize size, qreal ratio, const QImage& background, const std::vector<const Figure*>& figures,
                            const Figure* frame) {
  std::vector<int32_t> keys;
  std::vector<size_t> starts{0};
  starts.reserve(figures.size() + 1);
  for (const Figure* f : figures) {
    AppendFigureKey(keys, *f);
    starts.push_back(keys.size());
  }
  const size_t newCount = figures.size();
  const size_t oldCount = m_keyStart.empty() ? 0 : m_keyStart.size() - 1;
  if (size != m_size || ratio != m_ratio || background.cacheKey() != m_bgKey) m_valid = false;
  m_size = size;
  m_ratio = ratio;
  m_bgKey = background.cacheKey();

  size_t prefix = 0, suffix = 0;
  if (m_valid) {
    const size_t common = std::min(oldCount, newCount);
    while (prefix < common && SameKey(m_keys, m_keyStart, prefix, keys, starts, prefix)) ++prefix;
    while (suffix < common - prefix &&
           SameKey(m_keys, m_keyStart, oldCount - 1 - suffix, keys, starts, newCount - 1 - suffix))
      ++suffix;
    const bool sameFrame = (frame != nullptr) == m_framed &&
                           (frame == nullptr || (frame->Start == m_frameStart && frame->End == m_frameEnd));
    if (prefix == oldCount && oldCount == newCount && sameFrame && !m_out.isNull()) return m_out;
  }
  m_out = QImage();  // the picture handed out last is no longer ours to keep
  m_keys = std::move(keys);
  m_keyStart = std::move(starts);

  if (!m_valid) {
    Rebuild(background, figures, newCount, 0);
  } else {
    const bool layersHold = prefix >= m_belowCount && suffix >= m_aboveCount;
    if (layersHold && m_aboveCount == 0 && prefix > m_belowCount) {
      // Unchanged figures over the lower layer with nothing above it join
      // it (figures added on top end up there).
      Draw(m_below, figures, m_belowCount, prefix);
      m_belowCount = prefix;
    }
    if (!layersHold || newCount - m_belowCount - m_aboveCount > kMaxMiddle) {
      if (newCount - prefix - suffix <= kMaxMiddle)
        Rebuild(background, figures, prefix, suffix);
      else
        Rebuild(background, figures, newCount, 0);
    }
  }

  const size_t middleEnd = newCount - m_aboveCount;
  if (m_belowCount == middleEnd && m_aboveCount == 0 && frame == nullptr) {
    m_out = m_below;
  } else {
    m_out = m_below.copy();
    Draw(m_out, figures, m_belowCount, middleEnd);
    if (m_aboveCount > 0 && !m_aboveBox.isEmpty()) {
      QPainter p(&m_out);
      const QRectF box(m_aboveBox);
      p.drawImage(QRectF(box.topLeft() / m_ratio, box.size() / m_ratio), m_above, box);
    }
    if (frame != nullptr) {
      QPainter p(&m_out);
      ToDevice(p, m_out);
      VectorCanvas canvas(&p);
      DrawSelectionFrame(canvas, *frame);
    }
  }
  m_framed = frame != nullptr;
  if (m_framed) {
    m_frameStart = frame->Start;
    m_frameEnd = frame->End;
  }
  return m_out;
}
