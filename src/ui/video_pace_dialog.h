// The menu video export's question before it starts: how fast the steps
// go (a number of steps a second, or as they were drawn) and how long the
// last one stays, the choices of the command line's --pace and --hold, with
// the length of the video they give.
#pragma once

#include <QDialog>

#include "history/history.h"
#include "history/replay_pace.h"

class QDoubleSpinBox;
class QLabel;
class QRadioButton;

class VideoPaceDialog : public QDialog {
 public:
  // `history` is the drawing's (for the length shown); `pace` the choice
  // to start from.
  VideoPaceDialog(QWidget* parent, const HistoryList& history, const ReplayPace& pace);

  ReplayPace Pace() const;

  // Asks; true with the chosen pace in `pace` on かきだす, false on やめる.
  static bool Ask(QWidget* parent, const HistoryList& history, ReplayPace& pace);

 private:
  const HistoryList& m_history;
  QRadioButton* m_fixed = nullptr;
  QRadioButton* m_drawn = nullptr;
  QDoubleSpinBox* m_rate = nullptr;
  QDoubleSpinBox* m_hold = nullptr;
  QLabel* m_length = nullptr;

  void ShowLength();
};

// "やく 12ふん 30びょう": a length in minutes and seconds, in hiragana.
QString VideoLengthText(double seconds);
