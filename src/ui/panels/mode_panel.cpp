#include "ui/panels/mode_panel.h"

#include <QButtonGroup>
#include <QToolButton>

#include "ui/panels/panel_parts.h"

ModeButtons::ModeButtons(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "SelectBtnPanel", 624, 488, 161, 41);
  m_group = new QButtonGroup(this);
  m_group->setObjectName("ModeGroup");
  m_group->setExclusive(true);
  struct ModeButton {
    WindowMode mode;
    const char* name;
    int left;
    const char* caption;
  };
  const ModeButton modeButtons[] = {
      {WindowMode::Draw, "SelectDrawBtn", 8, QT_TRANSLATE_NOOP("MainWindow", "かく")},
      {WindowMode::Edit, "SelectEditBtn", 56, QT_TRANSLATE_NOOP("MainWindow", "なおす")},
      {WindowMode::Play, "SelectPlayBtn", 104, QT_TRANSLATE_NOOP("MainWindow", "みる")},
  };
  for (const ModeButton& b : modeButtons) {
    auto* button = Place(new QToolButton(this), b.name, b.left, 8, 49, 25);
    button->setText(WindowText(b.caption));
    button->setCheckable(true);
    m_group->addButton(button, static_cast<int>(b.mode));
    const WindowMode mode = b.mode;
    connect(button, &QToolButton::clicked, this, [this, mode] { emit ModeChosen(mode); });
  }
  Check(WindowMode::Draw);
}

void ModeButtons::Check(WindowMode mode) {
  if (QAbstractButton* button = m_group->button(static_cast<int>(mode))) button->setChecked(true);
}
