// Drawing figures and composing the canvas.
#pragma once

#include <QImage>
#include <functional>

#include "history/state.h"
#include "render/canvas.h"

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

// The picture side of the program: the background picture and the
// off-screen canvas. Shared by the window and the batch mode.
class TPictureStore : public TPictureSide {
 public:
  explicit TPictureStore(TTamloState& state);
  TPictureStore(const TPictureStore&) = delete;  // WorkCanvas points into this object
  TPictureStore& operator=(const TPictureStore&) = delete;

  QImage WorkBitmap;  // 640 × 480 RGB32, what the canvas shows after each refresh
  QImage BGPicture;   // the background picture (RGB32), shown unscaled from (0, 0)
  TCanvas WorkCanvas{&WorkBitmap};  // the canvas of WorkBitmap, keeping its pen

  // 1 when no file exists under the name; 2 when the file is damaged (its
  // error box has been shown and the previous picture stays); else 0.
  int LoadBGPicture(const std::string& name) override;
  // Fills (0, 0, 640, 480) of the background picture with white; a smaller
  // picture keeps its size.
  void BlankBGImage() override;
  // Background, every figure back to front, the selection frame; then
  // OnShow(WorkBitmap) puts it on the screen when there is one.
  void PaintBoxPaint() override;
  std::function<void(const QImage&)> OnShow;

 private:
  TTamloState& S;
};
