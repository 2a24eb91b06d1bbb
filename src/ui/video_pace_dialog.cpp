#include "ui/video_pace_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "io/video_export.h"

QString VideoLengthText(double seconds) {
  const long long whole = std::llround(std::max(seconds, 0.0));
  const long long minutes = whole / 60, rest = whole % 60;
  if (minutes == 0) return QStringLiteral("やく %1びょう").arg(std::max(rest, 1LL));
  if (rest == 0) return QStringLiteral("やく %1ふん").arg(minutes);
  return QStringLiteral("やく %1ふん %2びょう").arg(minutes).arg(rest);
}

VideoPaceDialog::VideoPaceDialog(QWidget* parent, const HistoryList& history, const ReplayPace& pace)
    : QDialog(parent), m_history(history) {
  setObjectName("VideoPaceDialog");
  setWindowTitle(QStringLiteral("どうがの はやさ"));
  auto* grid = new QGridLayout;

  m_fixed = new QRadioButton(QStringLiteral("1びょうに"), this);
  m_fixed->setObjectName("PaceFixedRadio");
  m_rate = new QDoubleSpinBox(this);
  m_rate->setObjectName("PaceRateSpin");
  m_rate->setDecimals(1);
  m_rate->setRange(0.1, kMaxStepsPerSecond);
  m_rate->setValue(pace.Kind == PaceKind::Fixed && pace.StepsPerSecond > 0 ? pace.StepsPerSecond : ReplayPace().StepsPerSecond);
  grid->addWidget(m_fixed, 0, 0);
  grid->addWidget(m_rate, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("こ すすむ"), this), 0, 2);

  m_drawn = new QRadioButton(QStringLiteral("かいた ときの はやさ"), this);
  m_drawn->setObjectName("PaceDrawnRadio");
  grid->addWidget(m_drawn, 1, 0, 1, 3);
  (pace.Kind == PaceKind::AsDrawn ? m_drawn : m_fixed)->setChecked(true);

  m_hold = new QDoubleSpinBox(this);
  m_hold->setObjectName("PaceHoldSpin");
  m_hold->setDecimals(1);
  m_hold->setRange(0, kMaxHoldSeconds);
  m_hold->setValue(pace.HoldSeconds);
  grid->addWidget(new QLabel(QStringLiteral("さいごの えを"), this), 2, 0);
  grid->addWidget(m_hold, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("びょう みせる"), this), 2, 2);

  m_length = new QLabel(this);
  m_length->setObjectName("PaceLengthLabel");

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("かきだす"), QDialogButtonBox::AcceptRole)->setObjectName("PaceOkButton");
  buttons->addButton(QStringLiteral("やめる"), QDialogButtonBox::RejectRole)->setObjectName("PaceCancelButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(m_length);
  layout->addWidget(buttons);

  const auto changed = [this] {
    m_rate->setEnabled(m_fixed->isChecked());
    ShowLength();
  };
  connect(m_fixed, &QRadioButton::toggled, this, changed);
  connect(m_rate, &QDoubleSpinBox::valueChanged, this, changed);
  connect(m_hold, &QDoubleSpinBox::valueChanged, this, changed);
  changed();
}

ReplayPace VideoPaceDialog::Pace() const {
  ReplayPace pace;
  pace.Kind = m_drawn->isChecked() ? PaceKind::AsDrawn : PaceKind::Fixed;
  pace.StepsPerSecond = m_rate->value();
  pace.HoldSeconds = m_hold->value();
  return pace;
}

void VideoPaceDialog::ShowLength() {
  m_length->setText(QStringLiteral("どうがの ながさ：%1").arg(VideoLengthText(VideoSeconds(m_history, Pace()))));
}

bool VideoPaceDialog::Ask(QWidget* parent, const HistoryList& history, ReplayPace& pace) {
  VideoPaceDialog dialog(parent, history, pace);
  if (dialog.exec() != QDialog::Accepted) return false;
  pace = dialog.Pace();
  return true;
}
