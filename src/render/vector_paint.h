// The drawing painted as vectors at any size: pictures of several times the
// canvas's size, and any other paint device (SVG, PDF, printers, screens).
#pragma once

#include <QImage>
#include <QRectF>

#include "document/figlist.h"

class QPainter;

// The largest scale of a picture made by RenderScaled.
constexpr int kMaxRenderScale = 8;

// Paints the drawing as the canvas shows it (the background picture from
// its top-left corner, white where it does not reach, and every figure back
// to front, cut at the canvas's edges) onto `painter`, whose
// transformation maps canvas pixels onto its device: the background
// smoothly scaled, the figures through the vector canvas.
void PaintDrawing(QPainter& painter, const QImage& background, const FigureList& figures);

// The background alone, as PaintDrawing paints it.
void PaintBackground(QPainter& painter, const QImage& background);

// The transformation that fits the 640 × 480 canvas into `target` (device
// units), keeping its shape, centred.
void FitCanvasInto(QPainter& painter, const QRectF& target);

// The drawing as a picture of scale × 640 × scale × 480 pixels (RGB32):
// scale 1 is exactly the raster canvas's picture; 2 … 8 are painted
// through the vector canvas. Scales outside 1 … 8 are taken as the nearest.
QImage RenderScaled(const QImage& background, const FigureList& figures, int scale);
