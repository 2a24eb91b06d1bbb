// The tool panel of the draw mode (DrawPanel): the tool buttons, one radio
// group, and the stamp preview under them. A click on a tool button asks for
// that tool; the window decides whether it gets it (an unfinished polyline
// keeps its own) and checks the button that holds.
#pragma once

#include <QFrame>

#include "document/figure.h"

class QButtonGroup;
class QToolButton;
class StampPreview;

class DrawToolPanel : public QFrame {
  Q_OBJECT

 public:
  explicit DrawToolPanel(QWidget* parent);

  // Checks the button of `tool` (ToolKind::None: the selection tool) without
  // asking for it.
  void CheckTool(ToolKind tool);
  // The current stamp's picture; the stamp tool is usable only with one.
  StampPreview* Preview() const { return m_preview; }
  void SetStampUsable(bool usable);
  // Blanks the preview and switches the stamp tool off.
  void BlankStamp();

 signals:
  // A tool button was clicked (the checked one too).
  void ToolChosen(ToolKind tool);

 private:
  QToolButton* ButtonOf(ToolKind tool) const;

  QButtonGroup* m_group = nullptr;
  QToolButton* m_stampButton = nullptr;
  StampPreview* m_preview = nullptr;
};
