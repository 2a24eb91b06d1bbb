// The edit mode's panels: the edit area (EditPanel) with the two size
// sliders, the edit buttons (OpPanel) and the colour palette
// (ColorBasePanel). Each button asks for its command by a signal; the
// palette keeps the chosen colour itself and shows it in ConfirmPanel.
#pragma once

#include <QFrame>

#include "document/figure.h"

class QSlider;
class ColorSwatch;

// What an attribute button of the edit mode changes.
enum class AttrChange { Thinner, Thicker, LineColor, BodyColor, TextColor };

class EditOpPanel : public QFrame {
  Q_OBJECT

 public:
  explicit EditOpPanel(QWidget* parent);

 signals:
  void DuplicateAsked();
  void DeleteAsked();
  void RestoreAsked();  // ふっかつ: the last deleted figure back
  void FrontBackAsked(bool toFront);
  void AttrChangeAsked(AttrChange change);
  void ChangeTextAsked();
};

class ColorPalette : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kColors = 16;

  explicit ColorPalette(QWidget* parent);

  // The colour in ConfirmPanel: a swatch's, or the no-fill colour.
  ColorRef Chosen() const;
  // Swatch `index` (0 … 15: ColorPanel01 … ColorPanel16) shows `color`.
  void SetSwatchColor(int index, ColorRef color);
  ColorSwatch* Swatch(int index) const { return m_swatches[index]; }
  ColorSwatch* NoFillSwatch() const { return m_noFill; }

 signals:
  // The user chose a colour (the no-fill swatch gives clBtnFace).
  void ColorChosen(ColorRef color);

 private:
  void Choose(int index);  // -1: no fill
  ColorSwatch* m_noFill = nullptr;
  ColorSwatch* m_swatches[kColors] = {};
  ColorSwatch* m_confirm = nullptr;
};

class EditArea : public QFrame {
  Q_OBJECT

 public:
  explicit EditArea(QWidget* parent);

  EditOpPanel* Ops() const { return m_ops; }
  ColorPalette* Palette() const { return m_palette; }
  // Both size sliders back to the middle; `quietly`: without asking for a
  // resize.
  void ResetSizes(bool quietly = false);

 signals:
  // A size slider moved to `value` (−99 … 100), by the user or by the program.
  void SizeChanged(bool horizontal, int value);

 private:
  QSlider* m_horizontal = nullptr;
  QSlider* m_vertical = nullptr;
  EditOpPanel* m_ops = nullptr;
  ColorPalette* m_palette = nullptr;
};
