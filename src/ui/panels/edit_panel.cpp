#include "ui/panels/edit_panel.h"

#include <QSignalBlocker>
#include <functional>
#include <QSlider>
#include <QToolButton>

#include "ui/icons.h"
#include "ui/paintbox.h"
#include "ui/panels/panel_parts.h"

EditOpPanel::EditOpPanel(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "OpPanel", 672, 8, 105, 473);
  struct OpButton {
    const char* name;
    int top;
    const char* hint;
    std::function<void()> asks;
  };
  const OpButton opButtons[] = {
      {"DupBtn", 8, QT_TRANSLATE_NOOP("MainWindow", "ふやす"), [this] { emit DuplicateAsked(); }},
      {"DeleteBtn", 48, QT_TRANSLATE_NOOP("MainWindow", "けす"), [this] { emit DeleteAsked(); }},
      {"UndoBtn", 88, QT_TRANSLATE_NOOP("MainWindow", "ふっかつ"), [this] { emit RestoreAsked(); }},
      {"FrontBtn", 136, QT_TRANSLATE_NOOP("MainWindow", "てまえに"), [this] { emit FrontBackAsked(true); }},
      {"BackBtn", 176, QT_TRANSLATE_NOOP("MainWindow", "うしろへ"), [this] { emit FrontBackAsked(false); }},
      {"ThinBtn", 224, QT_TRANSLATE_NOOP("MainWindow", "細い線"), [this] { emit AttrChangeAsked(AttrChange::Thinner); }},
      {"ThickBtn", 264, QT_TRANSLATE_NOOP("MainWindow", "太い線"), [this] { emit AttrChangeAsked(AttrChange::Thicker); }},
      {"LineColorBtn", 304, QT_TRANSLATE_NOOP("MainWindow", "線の色をかえる"),
       [this] { emit AttrChangeAsked(AttrChange::LineColor); }},
      {"BodyColorBtn", 344, QT_TRANSLATE_NOOP("MainWindow", "中の色をかえる"),
       [this] { emit AttrChangeAsked(AttrChange::BodyColor); }},
      {"ChangeTextBtn", 384, QT_TRANSLATE_NOOP("MainWindow", "もじをかえる"), [this] { emit ChangeTextAsked(); }},
      {"TextColorBtn", 424, QT_TRANSLATE_NOOP("MainWindow", "もじの色をかえる"),
       [this] { emit AttrChangeAsked(AttrChange::TextColor); }},
  };
  for (const OpButton& b : opButtons) {
    auto* button = Place(new QToolButton(this), b.name, 8, b.top, 89, 41);
    button->setToolTip(WindowText(b.hint));
    button->setIconSize(QSize(80, 34));
    button->setIcon(ButtonIcon(b.name, QSize(80, 34)));
    connect(button, &QToolButton::clicked, this, b.asks);
  }
}

ColorPalette::ColorPalette(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "ColorBasePanel", 4, 484, 285, 43);
  m_noFill = Place(new ColorSwatch(this), "ClearPanel", 8, 4, 25, 33);
  m_noFill->SetColor(clBtnFace);
  m_noFill->setToolTip(WindowText(QT_TRANSLATE_NOOP("MainWindow", "ぬりつぶしなし")));
  connect(m_noFill, &ColorSwatch::Clicked, this, [this] { Choose(-1); });
  for (int i = 0; i < kColors; ++i) {
    QByteArray name = QByteArray("ColorPanel") + (i < 9 ? "0" : "") + QByteArray::number(i + 1);
    auto* swatch = new ColorSwatch(this);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setGeometry(40 + 24 * (i % 8), i < 8 ? 4 : 20, 25, 17);
    connect(swatch, &ColorSwatch::Clicked, this, [this, i] { Choose(i); });
    m_swatches[i] = swatch;
  }
  m_confirm = Place(new ColorSwatch(this), "ConfirmPanel", 240, 4, 33, 33);
  m_confirm->SetColor(clBlack);
  m_confirm->setToolTip(WindowText(QT_TRANSLATE_NOOP("MainWindow", "色がえらばれています")));
  // Only the Tab key gives the swatches the focus: a click on one never
  // takes it from the text box.
  m_noFill->setFocusPolicy(Qt::TabFocus);
  for (ColorSwatch* swatch : m_swatches) swatch->setFocusPolicy(Qt::TabFocus);
}

ColorRef ColorPalette::Chosen() const { return m_confirm->Color(); }

void ColorPalette::SetSwatchColor(int index, ColorRef color) {
  if (index >= 0 && index < kColors) m_swatches[index]->SetColor(color);
}

void ColorPalette::Choose(int index) {
  if (index < 0) {
    m_confirm->SetColor(clBtnFace);
    m_confirm->setToolTip(WindowText(QT_TRANSLATE_NOOP("MainWindow", "「ぬりつぶしなし」がえらばれています")));
  } else {
    m_confirm->SetColor(m_swatches[index]->Color());
    m_confirm->setToolTip(WindowText(QT_TRANSLATE_NOOP("MainWindow", "色がえらばれています")));
  }
  emit ColorChosen(m_confirm->Color());
}

EditArea::EditArea(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "EditPanel", 0, 0, 793, 535, true);
  m_horizontal = Place(new QSlider(Qt::Horizontal, this), "HTrackBar", 296, 488, 321, 25);
  m_vertical = Place(new QSlider(Qt::Vertical, this), "VTrackBar", 648, 136, 25, 321);
  for (QSlider* bar : {m_horizontal, m_vertical}) {
    bar->setRange(-99, 100);
    bar->setValue(0);
    bar->setTickPosition(QSlider::NoTicks);
    UseChannelClicks(bar, 15);  // the size bars have a 15-pixel thumb
    const bool horizontal = bar == m_horizontal;
    connect(bar, &QSlider::valueChanged, this, [this, horizontal](int value) { emit SizeChanged(horizontal, value); });
  }
  m_horizontal->setPageStep(10);
  // The vertical bar's value grows downwards.
  m_vertical->setInvertedAppearance(true);
  m_vertical->setInvertedControls(true);
  m_ops = new EditOpPanel(this);
  m_palette = new ColorPalette(this);
}

void EditArea::ResetSizes(bool quietly) {
  const QSignalBlocker blockH(quietly ? m_horizontal : nullptr);
  const QSignalBlocker blockV(quietly ? m_vertical : nullptr);
  m_horizontal->setValue(0);
  m_vertical->setValue(0);
}
