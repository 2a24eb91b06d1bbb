// The mode buttons (SelectBtnPanel): かく, なおす and みる, one radio group.
// A click asks for the mode; the window decides whether it changes (an
// unfinished polyline or the question on leaving the view mode may keep the
// old one) and checks the button of the mode it is in.
#pragma once

#include <QFrame>

#include "history/edit_session.h"

class QButtonGroup;

class ModeButtons : public QFrame {
  Q_OBJECT

 public:
  explicit ModeButtons(QWidget* parent);

  // Checks the mode's button without asking for it.
  void Check(WindowMode mode);

 signals:
  void ModeChosen(WindowMode mode);

 private:
  QButtonGroup* m_group = nullptr;
};
