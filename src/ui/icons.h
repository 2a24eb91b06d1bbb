// Pictures on the tool and edit buttons, drawn by the program so that a
// child who cannot read yet sees what each button does.
#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

// The picture of the button with this object name ("RectBtn", "DupBtn", …);
// a null icon for a name without one.
QIcon ButtonIcon(const QString& buttonName, QSize size);
