// Drawing figures and composing the canvas.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

#include "history/state.h"
#include "render/canvas.h"
#include "render/figure_pictures.h"

constexpr int kCanvasWidth = 640;
constexpr int kCanvasHeight = 480;

// Draws one figure shifted by (X, Y) with its own attributes. Null draws
// nothing. Stamps draw their contents relative to their Start, in copy mode.
void DrawFigure(TCanvas& canvas, const TFigData* fig, int X, int Y, TPenMode penMode);
// Draws a whole list back to front, recursing into stamps.
void DrawFigList(TCanvas& canvas, const TFigList* list, int X, int Y);
// The dotted not-xor frame 3 pixels around Start/End; twice removes it.
void DrawSelectionFrame(TCanvas& canvas, const TFigData& fig);
// Pen 4 px solid black, brush white solid, copy mode.
void ResetDrawingPen(TCanvas& canvas);
// Pen 1 px dotted black, brush white solid, not-xor mode.
void SetFramePen(TCanvas& canvas);

// The background picture and the off-screen canvas composed from it and
// the figures. Reading picture files is left to a subclass (see
// io/picture_store.h), so that drawing never depends on file formats.
class TCanvasComposer : public TPictureSide {
 public:
  explicit TCanvasComposer(TTamloState& state);
  TCanvasComposer(const TCanvasComposer&) = delete;  // WorkCanvas points into this object
  TCanvasComposer& operator=(const TCanvasComposer&) = delete;

  QImage WorkBitmap;  // 640 × 480 RGB32, what the canvas shows after each refresh
  QImage BGPicture;   // the background picture (RGB32), shown unscaled from (0, 0)
  TCanvas WorkCanvas{&WorkBitmap};  // the canvas of WorkBitmap, keeping its pen

  // Fills (0, 0, 640, 480) of the background picture with white; a smaller
  // picture keeps its size.
  void BlankBGImage() override;
  // Background, every figure back to front, the selection frame; then
  // OnShow(WorkBitmap) puts it on the screen when there is one.
  //
  // When WorkBitmap and BGPicture are untouched since the last call, only
  // what changed is drawn again: the figures are compared with those of the
  // last call by content; figures appended on top are drawn onto the
  // picture, and for any other change the boxes of the figures that differ
  // are recomposed from the background and every figure reaching into them.
  // Every pixel comes out as a full recomposition makes it.
  void PaintBoxPaint() override;
  std::function<void(const QImage&)> OnShow;
  // False: every PaintBoxPaint recomposes the whole canvas.
  bool Incremental = true;
  // The figures' pictures, kept between compositions: a figure drawn again,
  // here or elsewhere on the canvas, is copied from its picture.
  TFigurePictures FigurePictures;

 protected:
  TTamloState& S;

 private:
  // What WorkBitmap holds after the last PaintBoxPaint.
  bool FValid = false;
  qint64 FWorkKey = 0;  // WorkBitmap.cacheKey() then
  qint64 FBGKey = 0;    // BGPicture.cacheKey() then
  bool FFrameDrawn = false;
  TPoint FFrameStart, FFrameEnd;
  // Per figure, back to front: its content (FKeyStart[i] … FKeyStart[i + 1]
  // in FKeys) and the box it may draw in.
  std::vector<int32_t> FKeys;
  std::vector<size_t> FKeyStart;
  std::vector<QRect> FExtents;
  // Scratch for recomposing boxes.
  std::vector<int32_t> FNewKeys;
  std::vector<size_t> FNewKeyStart;
  std::vector<QRect> FNewExtents;
  std::vector<const TFigData*> FFigs;
  QImage FScratch;
  TCanvas FScratchCanvas{&FScratch};

  // Draws figure i of FFigs (its key in FNewKeys) through its picture.
  void DrawNew(TCanvas& canvas, size_t i);
  void ComposeAll();
  bool ComposeChanges();
  void BackgroundInto(QImage& into, const QRect& box) const;
};
