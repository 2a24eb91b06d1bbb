#include "render/vector_paint.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "render/paint.h"
#include "render/vector_canvas.h"

void PaintBackground(QPainter& painter, const QImage& background) {
  painter.save();
  const QRectF canvasRect(0, 0, kCanvasWidth, kCanvasHeight);
  painter.setClipRect(canvasRect, Qt::IntersectClip);
  painter.fillRect(canvasRect, Qt::white);
  if (!background.isNull()) {
    const QRectF part(0, 0, std::min(background.width(), kCanvasWidth), std::min(background.height(), kCanvasHeight));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(part, background, part);
  }
  painter.restore();
}

void PaintDrawing(QPainter& painter, const QImage& background, const FigureList& figures) {
  PaintBackground(painter, background);
  painter.save();
  painter.setClipRect(QRectF(0, 0, kCanvasWidth, kCanvasHeight), Qt::IntersectClip);
  VectorCanvas canvas(&painter);
  DrawFigList(canvas, &figures, 0, 0);
  painter.restore();
}

void FitCanvasInto(QPainter& painter, const QRectF& target) {
  const double scale = std::min(target.width() / kCanvasWidth, target.height() / kCanvasHeight);
  painter.translate(target.center().x() - scale * kCanvasWidth / 2, target.center().y() - scale * kCanvasHeight / 2);
  painter.scale(scale, scale);
}

QImage RenderScaled(const QImage& background, const FigureList& figures, int scale) {
  scale = std::clamp(scale, 1, kMaxRenderScale);
  QImage image(kCanvasWidth * scale, kCanvasHeight * scale, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (scale == 1) {
    // The raster canvas's own picture, pixel for pixel.
    if (!background.isNull()) {
      const QImage bg = background.convertToFormat(QImage::Format_RGB32);
      const int w = std::min(bg.width(), kCanvasWidth), h = std::min(bg.height(), kCanvasHeight);
      for (int y = 0; y < h; ++y) std::memcpy(image.scanLine(y), bg.constScanLine(y), size_t(w) * 4);
    }
    RasterCanvas canvas(&image);
    DrawFigList(canvas, &figures, 0, 0);
    return image;
  }
  QPainter painter(&image);
  painter.scale(scale, scale);
  PaintDrawing(painter, background, figures);
  return image;
}
