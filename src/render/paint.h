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
void DrawFigure(RasterCanvas& canvas, const Figure* fig, int X, int Y, DrawMode penMode);
// Draws a whole list back to front, recursing into stamps. Null draws nothing.
void DrawFigList(RasterCanvas& canvas, const FigureList* list, int X, int Y);
// The same for stamp contents shifted by (X, Y).
void DrawFigList(RasterCanvas& canvas, const std::vector<Figure>& figures, int X, int Y);
// The dotted not-xor frame 3 pixels around Start/End; twice removes it.
void DrawSelectionFrame(RasterCanvas& canvas, const Figure& fig);
// The same three on the vector canvas (any device, any scale).
class VectorCanvas;
void DrawFigure(VectorCanvas& canvas, const Figure* fig, int X, int Y, DrawMode penMode);
void DrawFigList(VectorCanvas& canvas, const FigureList* list, int X, int Y);
void DrawFigList(VectorCanvas& canvas, const std::vector<Figure>& figures, int X, int Y);
// The frame on the vector canvas, drawn twice removes it on pictures.
void DrawSelectionFrame(VectorCanvas& canvas, const Figure& fig);
// Pen 4 px solid black, brush white solid, copy mode.
void ResetDrawingPen(RasterCanvas& canvas);
// Pen 1 px dotted black, brush white solid, not-xor mode.
void SetFramePen(RasterCanvas& canvas);

// The background picture and the off-screen canvas composed from it and
// the figures. Reading picture files is left to a subclass (see
// io/picture_store.h), so that drawing never depends on file formats.
class CanvasComposer : public PictureSide {
 public:
  explicit CanvasComposer(AppState& state);
  CanvasComposer(const CanvasComposer&) = delete;  // WorkCanvas points into this object
  CanvasComposer& operator=(const CanvasComposer&) = delete;

  QImage WorkBitmap;  // 640 × 480 RGB32, what the canvas shows after each refresh
  QImage BGPicture;   // the background picture (RGB32), shown unscaled from (0, 0)
  RasterCanvas WorkCanvas{&WorkBitmap};  // the canvas of WorkBitmap, keeping its pen

  // Fills (0, 0, 640, 480) of the background picture with white; a smaller
  // picture keeps its size.
  void BlankBGImage() override;
  // Background, every figure back to front (a figure being resized or
  // dragged as its preview shows it), the selection frame; then
  // OnShow(WorkBitmap) puts it on the screen when there is one.
  //
  // When WorkBitmap and BGPicture are untouched since the last call, only
  // what changed is drawn again: the figures are compared with those of the
  // last call by content; figures appended on top are drawn onto the
  // picture, and for any other change the boxes of the figures that differ
  // are recomposed from the background and every figure reaching into them.
  // Every pixel comes out as a full recomposition makes it.
  void PaintBoxPaint() override;
  // PaintBoxPaint after a change that only added one figure on top of the
  // drawing of the last call (a figure created, duplicated or brought back,
  // the background the same): that figure alone is drawn onto the picture,
  // without looking at the others, which a long replay would otherwise
  // compare at every step. Falls back to PaintBoxPaint whenever the last
  // composition is no base for it (either picture touched since, a
  // selection frame, not exactly one figure more).
  void PaintFigureAddedOnTop();
  std::function<void(const QImage&)> OnShow;
  // False: every PaintBoxPaint recomposes the whole canvas.
  bool Incremental = true;
  // The figures' pictures, kept between compositions: a figure drawn again,
  // here or elsewhere on the canvas, is copied from its picture.
  FigurePictureCache FigurePictures;
  // Compositions that PaintFigureAddedOnTop made by drawing one figure.
  uint64_t FiguresAddedOnTop = 0;

  // What the last PaintBoxPaint drew: the figures back to front (pointing
  // into the drawing, valid until it changes) and the selection frame, when
  // there was one (its figure's Start and End).
  const std::vector<const Figure*>& ComposedFigures() const { return m_figs; }
  const Figure* ComposedFrame() const { return m_frameDrawn ? &m_frameFigure : nullptr; }

 protected:
  AppState& S;

 private:
  // What WorkBitmap holds after the last PaintBoxPaint.
  bool m_valid = false;
  qint64 m_workKey = 0;  // WorkBitmap.cacheKey() then
  qint64 m_bgKey = 0;    // BGPicture.cacheKey() then
  bool m_frameDrawn = false;
  Point m_frameStart, m_frameEnd;
  Figure m_frameFigure;  // Start and End are those of the frame
  // Per figure, back to front: its content (m_keyStart[i] … m_keyStart[i + 1]
  // in m_keys) and the box it may draw in.
  std::vector<int32_t> m_keys;
  std::vector<size_t> m_keyStart;
  std::vector<QRect> m_extents;
  // Scratch for recomposing boxes.
  std::vector<int32_t> m_newKeys;
  std::vector<size_t> m_newKeyStart;
  std::vector<QRect> m_newExtents;
  std::vector<const Figure*> m_figs;
  QImage m_scratch;
  RasterCanvas m_scratchCanvas{&m_scratch};

  bool CanReuse() const;
  void Remember();
  // Draws figure i of m_figs (its key in m_newKeys) through its picture.
  void DrawNew(RasterCanvas& canvas, size_t i);
  void ComposeAll();
  bool ComposeChanges();
  void BackgroundInto(QImage& into, const QRect& box) const;
};
