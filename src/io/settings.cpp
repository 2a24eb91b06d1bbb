#include "io/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

namespace k = settings_keys;

const QString kRelativeFile = QStringLiteral("tamlo/tamlo.conf");

QString HomeFolder() { return QDir::homePath(); }

// An XDG folder variable's folders: absolute paths only (relative ones
// are ignored, as the XDG base directory rules say).
QStringList AbsoluteFolders(const QByteArray& value) {
  QStringList result;
  for (const QString& d : QString::fromLocal8Bit(value).split(u':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(d)) result << QDir::cleanPath(d);
  return result;
}

bool IsBool(const QVariant& v) {
  const QString s = v.toString().trimmed().toLower();
  return s == u"true" || s == u"false" || s == u"1" || s == u"0" || s == u"yes" || s == u"no" || s == u"on" || s == u"off";
}
bool AsBool(const QVariant& v) {
  const QString s = v.toString().trimmed().toLower();
  return s == u"true" || s == u"1" || s == u"yes" || s == u"on";
}
bool IsNonEmptyText(const QVariant& v) { return !v.toString().trimmed().isEmpty(); }

std::optional<PlaySpeedSetting> ParseSpeed(const QString& text) {
  const QString s = text.trimmed().toLower();
  if (s == u"1") return PlaySpeedSetting::One;
  if (s == u"2") return PlaySpeedSetting::Two;
  if (s == u"4") return PlaySpeedSetting::Four;
  if (s == u"drawn") return PlaySpeedSetting::AsDrawn;
  return std::nullopt;
}
bool IsSpeed(const QVariant& v) { return ParseSpeed(v.toString()).has_value(); }
QString SpeedText(PlaySpeedSetting speed) {
  switch (speed) {
    case PlaySpeedSetting::Two:
      return QStringLiteral("2");
    case PlaySpeedSetting::Four:
      return QStringLiteral("4");
    case PlaySpeedSetting::AsDrawn:
      return QStringLiteral("drawn");
    default:
      return QStringLiteral("1");
  }
}

bool IsPace(const QVariant& v) {
  ReplayPace pace;
  return ParsePace(v.toString().trimmed().toStdString(), pace);
}
bool IsLanguage(const QVariant& v) {
  const QString s = v.toString().trimmed().toLower();
  return s.isEmpty() || s == u"ja" || s == u"en";
}

// "~" and "~/…" name the home folder; a relative path counts from it.
QString ExpandFolder(const QString& text) {
  QString s = text.trimmed();
  if (s == u"~") return HomeFolder();
  if (s.startsWith(u"~/")) s = HomeFolder() + s.mid(1);
  if (!QDir::isAbsolutePath(s)) s = HomeFolder() + u'/' + s;
  return QDir::cleanPath(s);
}

// A path with its links resolved as far as it exists: the existing part
// canonical, the rest appended (a file not yet written, a folder not yet
// made). A link to nothing yet counts as where it points, since a file
// written through it lands there. "" for a loop of links.
QString ResolvedPath(const QString& path, int hops = 0) {
  QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  QString rest;
  while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
    const QFileInfo info(existing);
    if (info.isSymLink()) return hops < 40 ? ResolvedPath(info.symLinkTarget() + rest, hops + 1) : QString();
    const int slash = existing.lastIndexOf(u'/');
    if (slash <= 0) return QDir::cleanPath(path);
    rest = existing.mid(slash) + rest;
    existing = existing.left(slash);
  }
  const QString canonical = QFileInfo(existing).canonicalFilePath();
  return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

std::unique_ptr<QSettings> OpenIni(const QString& path) {
  auto s = std::make_unique<QSettings>(path, QSettings::IniFormat);
  return s;
}

}  // namespace

Settings::Settings() : Settings(UserFilePath(), SystemFilePaths()) {}

Settings::Settings(const QString& userFile, const QStringList& systemFiles) : m_user(OpenIni(userFile)) {
  for (const QString& f : systemFiles) m_system.push_back(OpenIni(f));
}

Settings::~Settings() = default;

QString Settings::UserFilePath() {
  QStringList home = AbsoluteFolders(qgetenv("XDG_CONFIG_HOME"));
  const QString folder = home.isEmpty() ? HomeFolder() + QStringLiteral("/.config") : home.first();
  return folder + u'/' + kRelativeFile;
}

QStringList Settings::SystemFilePaths() {
  QStringList dirs = AbsoluteFolders(qgetenv("XDG_CONFIG_DIRS"));
  if (dirs.isEmpty()) dirs << QStringLiteral("/etc/xdg");
  QStringList files;
  for (const QString& d : dirs) files << d + u'/' + kRelativeFile;
  return files;
}

bool Settings::IsLocked(const QString& key) const {
  for (const auto& s : m_system) {
    const QVariant listed = s->value(QStringLiteral("locked/keys"));
    for (const QString& entry : listed.toStringList()) {
      // QSettings splits "a, b" at the comma; a single entry may still hold
      // commas when quoted.
      for (const QString& name : entry.split(u',', Qt::SkipEmptyParts)) {
        const QString n = name.trimmed();
        if (n == u"*" || n == key) return true;
      }
    }
  }
  return false;
}

std::optional<QVariant> Settings::Value(const QString& key, bool (*valid)(const QVariant&)) const {
  auto from = [&](const QSettings& s) -> std::optional<QVariant> {
    const QVariant v = s.value(key);
    if (!v.isValid() || (valid != nullptr && !valid(v))) return std::nullopt;
    return v;
  };
  if (!IsLocked(key))
    if (auto v = from(*m_user)) return v;
  for (const auto& s : m_system)
    if (auto v = from(*s)) return v;
  return std::nullopt;
}

bool Settings::SetUserValue(const QString& key, const QVariant& value) {
  if (IsLocked(key)) return false;
  m_user->setValue(key, value);
  m_user->sync();
  return m_user->status() == QSettings::NoError;
}

QString Settings::Folder() const {
  if (auto v = Value(k::kFolder, IsNonEmptyText)) return ExpandFolder(v->toString());
  QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (pictures.isEmpty()) pictures = HomeFolder() + QStringLiteral("/Pictures");
  return QDir::cleanPath(pictures + QStringLiteral("/Tamlo"));
}

QString Settings::EnsureFolder() const {
  const QString folder = Folder();
  return QDir().mkpath(folder) ? folder : QString();
}

QString Settings::StartFolder() const {
  if (!Kiosk() && !IsLocked(k::kFolder)) {
    if (auto v = Value(k::kLastFolder, IsNonEmptyText)) {
      const QString last = v->toString();
      if (QDir::isAbsolutePath(last) && QFileInfo(last).isDir()) return QDir::cleanPath(last);
    }
  }
  const QString made = EnsureFolder();
  return made.isEmpty() ? QDir::currentPath() : made;
}

void Settings::SetLastFolder(const QString& folder) {
  if (Kiosk() || IsLocked(k::kFolder)) return;
  SetUserValue(k::kLastFolder, QDir::cleanPath(folder));
}

bool Settings::PrintingAllowed() const {
  auto v = Value(k::kPrinting, IsBool);
  return v ? AsBool(*v) : true;
}

bool Settings::ForceQuitShown() const {
  if (Kiosk()) return false;
  auto v = Value(k::kForceQuit, IsBool);
  return v ? AsBool(*v) : true;
}

bool Settings::FullScreen() const {
  if (Kiosk()) return true;
  auto v = Value(k::kFullScreen, IsBool);
  return v ? AsBool(*v) : false;
}

PlaySpeedSetting Settings::PlaySpeed() const {
  auto v = Value(k::kPlaySpeed, IsSpeed);
  return v ? *ParseSpeed(v->toString()) : PlaySpeedSetting::One;
}

void Settings::SetPlaySpeed(PlaySpeedSetting speed) {
  // Nothing is written while the speed is what the file gives already: a
  // school's value in a system file stays in charge until the child picks
  // another speed.
  if (PlaySpeed() == speed) return;
  SetUserValue(k::kPlaySpeed, SpeedText(speed));
}

ReplayPace Settings::VideoPace() const {
  ReplayPace pace;
  if (auto v = Value(k::kVideoPace, IsPace)) ParsePace(v->toString().trimmed().toStdString(), pace);
  return pace;
}

QString Settings::InterfaceLanguage() const {
  auto v = Value(k::kLanguage, IsLanguage);
  return v ? v->toString().trimmed().toLower() : QString();
}

bool Settings::Kiosk() const {
  if (m_forcedKiosk) return true;
  auto v = Value(k::kKiosk, IsBool);
  return v && AsBool(*v);
}

QString Settings::KioskExitKeys() const {
  auto v = Value(k::kKioskExitKeys, IsNonEmptyText);
  return v ? v->toString().trimmed() : QStringLiteral("Ctrl+Alt+Shift+Q");
}

bool Settings::IsInFolder(const QString& path) const {
  // ".." after a link leads out of where the link points, not back up the
  // path as written: such names are not taken apart, just refused.
  if (path.split(u'/').contains(QStringLiteral(".."))) return false;
  const QString folder = ResolvedPath(Folder());
  const QString target = ResolvedPath(path);
  return target.startsWith(folder + u'/') && target.size() > folder.size() + 1;
}
