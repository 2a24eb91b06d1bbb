// The mouse tools of the paint box. Each tool is an object that owns what it
// needs between a press and a release (anchor, last point, point buffer,
// figure under way); the window only routes the canvas's mouse events to
// the current tool (ToolBox) and offers the few things a tool may do to the
// window through ToolHost.
//
// While a figure is being made, feedback goes straight onto the paint box's
// screen image: a rubber band drawn dotted, 1 px, in not-xor mode so that
// drawing it again erases it, and at the release the finished figure. The
// picture is only recomposed by the next Repaint.
#pragma once

#include <cstdint>
#include <string>

#include "history/state.h"
#include "render/canvas.h"

// What a new figure takes over from the figures made before it: the pen and
// brush of the last figure drawn and the font (size, colour, text) of the
// last text placed. Tools get it as a value, set what they decide and hand
// the figure's own back (ToolHost::KeepStyle); no figure is shared.
struct FigureStyle {
  int32_t PenWidth = 0;
  ColorRef PenColor = 0;
  ColorRef BrushColor = 0;
  uint8_t BrushStyle = 0;
  int32_t TextSize = 0;
  ColorRef TextColor = 0;
  std::string Text;

  // A figure of this style, of kind `kind` from `start` to `end`.
  Figure NewFigure(ToolKind kind, Point start, Point end) const;
};

// What the window offers its mouse tools.
class ToolHost {
 public:
  virtual ~ToolHost() = default;

  virtual AppState& State() = 0;
  // The paint box's screen image, drawn on directly; its pen and brush
  // persist between calls.
  virtual RasterCanvas& Screen() = 0;
  // After drawing on Screen: show it.
  virtual void ScreenChanged() = 0;
  // Recomposes the picture and shows it (what was drawn on the screen only
  // is gone).
  virtual void Repaint() = 0;
  // A figure was recorded without a repaint (it is on the screen already):
  // what follows the drawing (undo and redo) is brought up to date.
  virtual void Recorded() = 0;

  // The text box over the canvas, its top left corner at `at`, focused.
  virtual void OpenTextBox(Point at) = 0;
  // From the draw mode into the edit mode, as the selection tool does.
  virtual void EnterEditMode() = 0;
  // The file, draw and tool menus (off while a polyline is under way).
  virtual void SetMenusEnabled(bool enabled) = 0;
  // The selection tool becomes the current tool, its button checked.
  virtual void ChooseSelectionTool() = 0;
  // The figures inside the rectangle A–B become the current stamp.
  virtual void MakeStamp(Point a, Point b) = 0;
  // The edit mode's size sliders back to the middle.
  virtual void ResetSizeSliders() = 0;
  // Width in pixels of `text` at `size` in the font of text figures.
  virtual int32_t TextWidth(const std::string& text, int32_t size) = 0;

  // The style of the last figure made (a new drawing keeps it), and the
  // style of the one just made.
  virtual FigureStyle Style() const = 0;
  virtual void KeepStyle(FigureStyle style) = 0;
};

class Tool {
 public:
  explicit Tool(ToolHost& host) : m_host(host) {}
  virtual ~Tool() = default;
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  virtual void Press(Point p) = 0;
  // Every move over the canvas, a button held or not.
  virtual void Move(Point) {}
  // A release that makes nothing: the drawing pen back, the screen shows
  // the drawing as it is (a click may have left a mark on it).
  virtual void Release(Point p);

  // Something is under way between a press and a release, or an unfinished
  // polyline; undo and redo wait for it.
  virtual bool Busy() const { return false; }
  // The mode or the tool changes while the button is down: the drag ends
  // here; the release that follows goes to whichever tool is current then.
  virtual void Interrupt() {}
  // A new drawing: nothing is under way any more.
  virtual void Reset() {}

 protected:
  AppState& State() { return m_host.State(); }
  RasterCanvas& Screen() { return m_host.Screen(); }
  // The pen of finished figures: solid, 4 px, and a filled brush.
  void UseDrawingPen();
  // A new figure on top in the screen's pen and brush and the last text's
  // font; `points` and `stamp` are copied into it.
  void MakeFigure(ToolKind kind, Point start, Point end, const Vertex* points = nullptr,
                  const std::vector<Figure>* stamp = nullptr);

  ToolHost& m_host;
};

// The rubber band's pen: dotted, 1 px, not-xor.
void UseRubberPen(RasterCanvas& c);
// The pen of finished strokes: solid, 4 px (the brush is left alone).
void UseSolidPen(RasterCanvas& c);
// The primitive a drawing tool shows between two corners: the rubber band
// and the finished shape share it.
void DrawToolShape(RasterCanvas& c, ToolKind tool, Point a, Point b);
