// The settings applied to the window, and the kiosk mode: full screen, no
// way to end or leave the window but the adult's key combination, saves
// only into the configured folder (FolderDialogs).
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include "io/settings.h"
#include "ui/folder_dialogs.h"
#include "ui/main_window.h"
#include "ui/panels/play_panels.h"

namespace {

// Keeps a kiosk window on the screen: closing it (title bar, Alt+F4, the
// window manager) is refused, and it goes back to full screen whenever
// something takes it out.
class KioskGuard : public QObject {
 public:
  explicit KioskGuard(QWidget* window) : QObject(window), m_window(window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != m_window) return false;
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::WindowStateChange && m_window->isVisible() && !m_window->isFullScreen())
      QTimer::singleShot(0, m_window, [w = m_window] {
        if (w->isVisible() && !w->isFullScreen()) w->showFullScreen();
      });
    return false;
  }

 private:
  QWidget* m_window;
};

}  // namespace

bool MainWindow::MaySaveAt(const QString& path) const {
  return m_settings == nullptr || !m_settings->Kiosk() || m_settings->IsInFolder(path);
}

void MainWindow::ApplySettings(Settings& settings) {
  m_settings = &settings;
  m_folderDialogs = std::make_unique<FolderDialogs>(*S.Dialogs, settings);
  S.Dialogs = m_folderDialogs.get();

  const bool forceQuit = settings.ForceQuitShown();
  ExitByForce->setVisible(forceQuit);
  ExitByForce->setEnabled(forceQuit);

  setPrintingAllowed(settings.PrintingAllowed());
  m_videoPace = settings.VideoPace();

  // The speed button the setting names, and each speed the child picks
  // kept for the next run.
  const std::pair<PlaybackSpeed, PlaySpeedSetting> speeds[] = {{PlaybackSpeed::One, PlaySpeedSetting::One},
                                                                {PlaybackSpeed::Two, PlaySpeedSetting::Two},
                                                                {PlaybackSpeed::Four, PlaySpeedSetting::Four},
                                                                {PlaybackSpeed::AsDrawn, PlaySpeedSetting::AsDrawn}};
  for (const auto& [speed, setting] : speeds)
    if (setting == settings.PlaySpeed()) ReplayPanel->SetSpeed(speed);
  connect(ReplayPanel, &ReplayControls::SpeedChosen, this, [this, speeds](PlaybackSpeed chosen) {
    for (const auto& [speed, setting] : speeds)
      if (speed == chosen) m_settings->SetPlaySpeed(setting);
  });

  if (!settings.Kiosk()) return;
  // Only the adult's keys end the program (through the usual exit
  // question); the menu's exit item and closing the window do nothing.
  ExitMenu->setVisible(false);
  ExitMenu->setEnabled(false);
  new KioskGuard(this);
  auto* leave = new QShortcut(QKeySequence(settings.KioskExitKeys(), QKeySequence::PortableText), this);
  leave->setObjectName("KioskExitShortcut");
  leave->setContext(Qt::ApplicationShortcut);
  connect(leave, &QShortcut::activated, this, [this] { ExitMenuClick(); });
}
