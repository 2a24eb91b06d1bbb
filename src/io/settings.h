// Tamlo's settings, read from the usual configuration files:
//
//   per user     $XDG_CONFIG_HOME/tamlo/tamlo.conf   (default ~/.config/…)
//   system-wide  DIR/tamlo/tamlo.conf for each DIR of $XDG_CONFIG_DIRS
//                (default /etc/xdg), the first DIR the most important
//
// Both are INI files as QSettings writes them. A key's value is the user's
// when the user's file has a valid one, else the system's, else the built-in
// default. A school locks keys by listing them in a system file:
//
//   [locked]
//   keys=files/folder, kiosk/enabled
//
// (`keys=*` locks every key.) A locked key takes the system value, or the
// default when no system file sets it; the user's file can neither change it
// nor is it written there. Only system files lock; a [locked] group in the
// user's file means nothing. A value that does not read as its key expects
// counts as not given.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

#include "history/replay_pace.h"

class QSettings;

// The keys, as written in the files.
namespace settings_keys {
inline constexpr const char* kFolder = "files/folder";          // the folder the file dialogs open first
inline constexpr const char* kLastFolder = "files/lastFolder";  // per user: the last folder chosen
inline constexpr const char* kPrinting = "print/allowed";       // true / false
inline constexpr const char* kForceQuit = "menu/forceQuit";     // the force-quit menu item shown
inline constexpr const char* kFullScreen = "window/fullScreen"; // full screen at start
inline constexpr const char* kPlaySpeed = "play/speed";         // 1, 2, 4 or drawn; remembered per user
inline constexpr const char* kVideoPace = "video/pace";         // steps a second (up to 100) or drawn
inline constexpr const char* kLanguage = "ui/language";         // ja, en, or empty: the system's
inline constexpr const char* kKiosk = "kiosk/enabled";          // true / false
inline constexpr const char* kKioskExitKeys = "kiosk/exitKeys"; // the adult's key combination
}  // namespace settings_keys

// The auto-play speeds a setting can name (as the view mode's buttons).
enum class PlaySpeedSetting { One, Two, Four, AsDrawn };

class Settings {
 public:
  // The files the environment names now (XDG_CONFIG_HOME, XDG_CONFIG_DIRS,
  // HOME).
  Settings();
  // Explicit files: the user's (written by Set…) and the system's, the most
  // important first. Missing files count as empty.
  Settings(const QString& userFile, const QStringList& systemFiles);
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  static QString UserFilePath();
  static QStringList SystemFilePaths();

  // ---- The general rule ----
  bool IsLocked(const QString& key) const;
  // The resolved value of `key` (user, system, none) that `valid` accepts;
  // nullopt when none is given.
  std::optional<QVariant> Value(const QString& key, bool (*valid)(const QVariant&) = nullptr) const;
  // Writes `key` into the user's file; false (nothing written) when the key
  // is locked or the file cannot be written.
  bool SetUserValue(const QString& key, const QVariant& value);

  // ---- What the program reads ----
  // The folder the save, export and open dialogs show first: the setting
  // (a leading ~ is the user's home folder; a relative path counts from the
  // home folder), by default the user's Pictures folder's "Tamlo".
  QString Folder() const;
  // The same, made when missing; empty when it cannot be made.
  QString EnsureFolder() const;
  // Where the dialogs start this run: the folder last chosen when it still
  // exists and may be used (not in kiosk mode, files/folder not locked),
  // else Folder().
  QString StartFolder() const;
  void SetLastFolder(const QString& folder);

  // The printing commands offered (MainWindow::PrintingAllowed() asks the
  // window's settings); default true.
  bool PrintingAllowed() const;
  bool ForceQuitShown() const;   // default true; never in kiosk mode
  bool FullScreen() const;       // default false; always in kiosk mode
  PlaySpeedSetting PlaySpeed() const;  // default One
  void SetPlaySpeed(PlaySpeedSetting speed);
  ReplayPace VideoPace() const;  // default 4 steps a second
  // The interface language to load before the window is built: "ja", "en",
  // or empty for the system's (LANG); default empty.
  QString InterfaceLanguage() const;

  // Kiosk mode: the key or --kiosk (ForceKiosk).
  bool Kiosk() const;
  void ForceKiosk() { m_forcedKiosk = true; }
  // The adult's key combination that leaves the kiosk, in QKeySequence's
  // portable text; default "Ctrl+Alt+Shift+Q".
  QString KioskExitKeys() const;

  // Whether `path` (a file to be written) lies in Folder() or below it,
  // links resolved: kiosk mode saves only there.
  bool IsInFolder(const QString& path) const;

 private:
  std::unique_ptr<QSettings> m_user;
  std::vector<std::unique_ptr<QSettings>> m_system;
  bool m_forcedKiosk = false;
};
