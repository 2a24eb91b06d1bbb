#include "ui/panels/play_panels.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "render/canvas.h"
#include "ui/icons.h"
#include "ui/panels/panel_parts.h"

namespace {

// The step counter's letters: their size as laid out, and the smallest
// size kept on one line before the counter takes two.
constexpr int kStepCountPixels = 20;
constexpr int kStepCountMinPixels = 14;

}  // namespace

PlayControls::PlayControls(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "PlayPanel", 4, 486, 617, 45);
  m_reverse = Place(new QPushButton("<", this), "ReverseBtn", 120, 10, 49, 25);
  m_stop = Place(new QPushButton(QString::fromUtf8("□"), this), "StopBtn", 176, 10, 49, 25);
  m_forward = Place(new QPushButton(">", this), "ForwardBtn", 232, 10, 49, 25);
  m_slider = Place(new QSlider(Qt::Horizontal, this), "TimeTrackBar", 288, 3, 313, 38);
  m_slider->setRange(0, 0);
  m_slider->setValue(0);
  m_slider->setTickPosition(QSlider::TicksBelow);
  m_slider->setTickInterval(1);
  m_slider->setPageStep(1);
  UseChannelClicks(m_slider);
  auto* normal = Place(new QRadioButton(WindowText(QT_TRANSLATE_NOOP("MainWindow", "ふつうのさいせい")), this),
                       "NormalPlayBtn", 8, 5, 113, 17);
  auto* stepwise = Place(new QRadioButton(WindowText(QT_TRANSLATE_NOOP("MainWindow", "１こずつさいせい")), this),
                         "StepPlayBtn", 8, 21, 105, 17);
  normal->setChecked(true);
  normal->hide();
  stepwise->hide();
  // The step counter, where the two hidden choices are.
  m_count = Place(new QLabel(this), "StepCountLabel", 8, 3, 105, 38);
  QFont countFont(kFigureFontFamily);
  countFont.setPixelSize(kStepCountPixels);
  countFont.setBold(true);
  m_count->setFont(countFont);
  m_count->setAlignment(Qt::AlignCenter);
  UpdateStepCount();

  connect(m_reverse, &QPushButton::clicked, this, [this] { emit ReverseAsked(); });
  connect(m_stop, &QPushButton::clicked, this, [this] { emit StopAsked(); });
  connect(m_forward, &QPushButton::clicked, this, [this] { emit ForwardAsked(); });
  // valueChanged fires for a new position only, whoever sets it.
  connect(m_slider, &QSlider::valueChanged, this, [this](int step) {
    emit StepChanged(step);
    UpdateStepCount();
  });
  connect(m_slider, &QSlider::rangeChanged, this, [this] { UpdateStepCount(); });
  connect(m_slider, &QSlider::sliderPressed, this, [this] { emit StepGrabbed(); });
}

int PlayControls::Step() const { return m_slider->value(); }
void PlayControls::SetStep(int step) { m_slider->setValue(step); }
void PlayControls::SetLastStep(int last) { m_slider->setMaximum(last); }

void PlayControls::EnableSteps(bool reverse, bool stop, bool forward) {
  m_forward->setEnabled(forward);
  m_stop->setEnabled(stop);
  m_reverse->setEnabled(reverse);
}
void PlayControls::EnableReverse(bool enabled) { m_reverse->setEnabled(enabled); }
void PlayControls::EnableForward(bool enabled) { m_forward->setEnabled(enabled); }

void PlayControls::UpdateStepCount() {
  const QString step = QString::number(m_slider->value());
  const QString count = QString::number(m_slider->maximum());
  // As big as the label holds it: one line while that is readable, two
  // lines for long drawings, never cut off.
  const QSize room = m_count->contentsRect().size();
  const QString oneLine = step + QStringLiteral(" / ") + count;
  const QString twoLines = step + QStringLiteral(" /\n") + count;
  QFont font = m_count->font();
  QString text = twoLines;
  for (int size = kStepCountPixels; size >= kStepCountMinPixels; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance(oneLine) <= room.width()) {
      text = oneLine;
      break;
    }
  }
  if (text != oneLine) {
    for (int size = kStepCountPixels; size > 1; --size) {
      font.setPixelSize(size);
      const QFontMetrics metrics(font);
      if (metrics.horizontalAdvance(step + QStringLiteral(" /")) <= room.width() &&
          metrics.horizontalAdvance(count) <= room.width() && 2 * metrics.lineSpacing() <= room.height())
        break;
    }
  }
  m_count->setFont(font);
  m_count->setText(text);
}

ReplayControls::ReplayControls(QWidget* parent) : QFrame(parent) {
  StylePanel(this, "ReplayPanel", 646, 4, 137, 481);
  m_play = Place(new QToolButton(this), "PlayBtn", 8, 8, 121, 96);
  m_play->setIconSize(QSize(72, 72));
  ShowPlaying(false);

  QFont big(kFigureFontFamily);
  big.setPixelSize(18);
  big.setBold(true);
  auto* label = Place(new QLabel(WindowText(QT_TRANSLATE_NOOP("MainWindow", "はやさ")), this), "SpeedLabel", 8, 112,
                      121, 22);
  label->setFont(big);
  label->setAlignment(Qt::AlignCenter);
  m_speeds = new QButtonGroup(this);
  m_speeds->setObjectName("SpeedGroup");
  m_speeds->setExclusive(true);
  struct SpeedButton {
    PlaybackSpeed speed;
    const char* name;
    const char* caption;
    const char* hint;
  };
  const SpeedButton speedButtons[] = {
      {PlaybackSpeed::One, "SpeedOneBtn", "1×", QT_TRANSLATE_NOOP("MainWindow", "1びょうに 1こ")},
      {PlaybackSpeed::Two, "SpeedTwoBtn", "2×", QT_TRANSLATE_NOOP("MainWindow", "1びょうに 2こ")},
      {PlaybackSpeed::Four, "SpeedFourBtn", "4×", QT_TRANSLATE_NOOP("MainWindow", "1びょうに 4こ")},
      {PlaybackSpeed::AsDrawn, "AsDrawnBtn", QT_TRANSLATE_NOOP("MainWindow", "かいた\nとおり"),
       QT_TRANSLATE_NOOP("MainWindow", "かいたときの はやさ")},
  };
  int top = 138;
  for (const SpeedButton& b : speedButtons) {
    auto* button = Place(new QToolButton(this), b.name, 8, top, 121, 52);
    button->setText(WindowText(b.caption));
    button->setToolTip(WindowText(b.hint));
    button->setFont(big);
    button->setCheckable(true);
    m_speeds->addButton(button, static_cast<int>(b.speed));
    const PlaybackSpeed speed = b.speed;
    connect(button, &QToolButton::toggled, this, [this, speed](bool on) {
      if (on) m_speed = speed;
    });
    top += 58;
  }
  m_speeds->button(static_cast<int>(PlaybackSpeed::One))->setChecked(true);

  connect(m_play, &QToolButton::clicked, this, [this] { emit PlayPauseAsked(); });
  connect(m_speeds, &QButtonGroup::idClicked, this, [this](int id) { emit SpeedChosen(static_cast<PlaybackSpeed>(id)); });
}

void ReplayControls::SetSpeed(PlaybackSpeed speed) {
  if (QAbstractButton* button = m_speeds->button(static_cast<int>(speed))) button->setChecked(true);
}

void ReplayControls::ShowPlaying(bool playing) {
  const char* name = playing ? "PauseBtn" : "PlayBtn";
  m_play->setIcon(ButtonIcon(QLatin1String(name), m_play->iconSize()));
  m_play->setToolTip(playing ? WindowText(QT_TRANSLATE_NOOP("MainWindow", "とめる"))
                             : WindowText(QT_TRANSLATE_NOOP("MainWindow", "さいせい")));
  m_play->setAccessibleName(m_play->toolTip());
}
