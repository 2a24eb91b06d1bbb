#include "ui/panels/draw_panel.h"

#include <QButtonGroup>
#include <QToolButton>

#include "ui/icons.h"
#include "ui/paintbox.h"
#include "ui/panels/panel_parts.h"

namespace {

struct ToolButton {
  ToolKind tool;
  const char* name;
  int left, top, width, height;
  const char* hint;
};
// In the order of the Tab key.
const ToolButton kToolButtons[] = {
    {ToolKind::None, "SelectionBtn", 8, 8, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "かえたい図形をえらぶ")},
    {ToolKind::Text, "TextBtn", 72, 8, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "もじをかく")},
    {ToolKind::Line, "LineBtn", 8, 64, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "直線をかく")},
    {ToolKind::FreeLine, "FreeBtn", 72, 64, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "じゆうにかく")},
    {ToolKind::Ellipse, "OvalBtn", 8, 120, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "円をかく")},
    {ToolKind::Rectangle, "RectBtn", 72, 120, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "四角形をかく")},
    {ToolKind::Polyline, "PolylineBtn", 8, 176, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "おれ線をかく")},
    {ToolKind::Polygon, "PolygonBtn", 72, 176, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "多角形をかく")},
    {ToolKind::Stamp, "StampBtn", 8, 232, 57, 49, QT_TRANSLATE_NOOP("MainWindow", "スタンプ")},
    {ToolKind::SetStamp, "SetStampBtn", 8, 328, 121, 41, nullptr},
};

}  // namespace

DrawToolPanel::DrawToolPanel(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "DrawPanel", 646, 4, 137, 481);
  m_group = new QButtonGroup(this);
  m_group->setObjectName("ToolGroup");
  m_group->setExclusive(true);
  for (const ToolButton& b : kToolButtons) {
    auto* button = Place(new QToolButton(this), b.name, b.left, b.top, b.width, b.height);
    button->setCheckable(true);
    if (b.hint) button->setToolTip(WindowText(b.hint));
    const QSize iconSize = b.hint ? QSize(44, 38) : QSize(40, 17);
    button->setIconSize(iconSize);
    button->setIcon(ButtonIcon(b.name, iconSize));
    m_group->addButton(button, static_cast<int>(b.tool));
    const ToolKind tool = b.tool;
    connect(button, &QToolButton::clicked, this, [this, tool] { emit ToolChosen(tool); });
  }
  QToolButton* setStamp = ButtonOf(ToolKind::SetStamp);
  setStamp->setText(WindowText(QT_TRANSLATE_NOOP("MainWindow", "スタンプのせってい")));
  setStamp->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  ButtonOf(ToolKind::None)->setChecked(true);
  m_stampButton = ButtonOf(ToolKind::Stamp);
  m_stampButton->setEnabled(false);
  QFrame* field = MakePanel(this, "StampField", 8, 376, 120, 100, true, true);
  m_preview = Place(new StampPreview(field), "StampImage", 5, 4, 108, 85);
}

QToolButton* DrawToolPanel::ButtonOf(ToolKind tool) const {
  return static_cast<QToolButton*>(m_group->button(static_cast<int>(tool)));
}

void DrawToolPanel::CheckTool(ToolKind tool) {
  if (QToolButton* button = ButtonOf(tool)) button->setChecked(true);
}

void DrawToolPanel::SetStampUsable(bool usable) { m_stampButton->setEnabled(usable); }

void DrawToolPanel::BlankStamp() {
  m_preview->Blank();
  SetStampUsable(false);
}
