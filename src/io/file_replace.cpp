// The safe file replacement that every save and export goes through, and
// the path helpers of opening files.
#include "io/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cctype>
#include <cerrno>
#include <climits>
#include <ctime>
#include <string_view>

#include "history/ports.h"


namespace {

const char* const kPictureNameHasLineBreak = "ファイルのなまえに改行があるので、はいけいにできません";

QString FileNameOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? path : path.mid(slash + 1);
}

QString FolderOf(const QString& path) { return path.left(path.size() - FileNameOf(path).size()); }

// Temporary files are named ".tamlo-" + 16 hex digits + ".tmp".
constexpr std::string_view kTempPrefix = ".tamlo-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr size_t kTempDigits = 16;

bool IsTempFileName(std::string_view name) {
  if (name.size() != kTempPrefix.size() + kTempDigits + kTempSuffix.size()) return false;
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  for (char c : name.substr(kTempPrefix.size(), kTempDigits))
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// A save writes its temporary file within moments of making it, so one left
// untouched this long belongs to no save in progress, in this window or any
// other: a crash or a killed program left it behind.
constexpr time_t kStaleTempSeconds = 15 * 60;

// A new, empty file next to `path` with a name nobody else uses; "" when the
// folder does not take one.
QString CreateTempFileNear(const QString& path) {
  const QString folder = FolderOf(path);
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QString name = QStringLiteral("%1%2%3%4")
                             .arg(folder, QLatin1StringView(kTempPrefix))
                             .arg(QRandomGenerator::global()->generate64(), int(kTempDigits), 16, QChar(u'0'))
                             .arg(QLatin1StringView(kTempSuffix));
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
    if (!QFileInfo::exists(name)) break;  // the folder takes no new file at all
  }
  return QString();
}

// The file that `path` names once symbolic links are followed: the path
// itself unless it is a link; the end of the chain of links otherwise, even
// when nothing exists there yet. "" for a loop of links.
QString FileBehindLinks(const QString& path) {
  QByteArray current = QFile::encodeName(path);
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return QFile::decodeName(current);
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(current.constData(), target.data(), size_t(target.size()));
    if (n < 0 || n >= target.size()) return QString();
    target.truncate(n);
    if (!target.startsWith('/')) target.prepend(current.left(current.lastIndexOf('/') + 1));
    current = target;
  }
  return QString();
}

// Flushes a folder's list of names to the disk.
void SyncFolder(const QString& folder) {
  const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
  const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Makes a written temporary file ready to take the place of a file: the
// permission bits of the file it replaces (`old`, when there is one), and
// its owner and group as far as this user may, then everything on the disk.
bool FinishTempFile(const QString& temp, const struct stat* old) {
  const int fd = ::open(QFile::encodeName(temp).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = true;
  if (old != nullptr) {
    struct stat now;
    ok = ::fstat(fd, &now) == 0;
    if (ok && (now.st_uid != old->st_uid || now.st_gid != old->st_gid)) {
      if (::fchown(fd, old->st_uid, old->st_gid) != 0) (void)::fchown(fd, uid_t(-1), old->st_gid);
    }
    ok = ok && ::fchmod(fd, old->st_mode & 07777) == 0;
  }
  ok = ok && ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

enum class BackupKind { None, Linked, Renamed };

// The backup of an existing file. Preferably a second name for the same
// file, so that the file stays under its own name until the new one takes
// its place; where the file system has no such names, a rename. Never
// replaces an existing backup: the first backup is kept.
BackupKind BackupFile(const QString& path) {
  if (!IsFileAt(path)) return BackupKind::None;
  const QByteArray from = QFile::encodeName(path);
  const QByteArray to = QFile::encodeName(BackupName(path));
  if (::link(from.constData(), to.constData()) == 0) return BackupKind::Linked;
  if (errno == EEXIST) return BackupKind::None;
  // QFile::rename never replaces an existing file.
  return QFile::rename(path, BackupName(path)) ? BackupKind::Renamed : BackupKind::None;
}

}  // namespace

void RemoveStaleTempFiles(const QString& folder) {
  const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
  DIR* dir = ::opendir(name.constData());
  if (dir == nullptr) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempFileName(entry->d_name)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (now - st.st_mtime < kStaleTempSeconds) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

QString FileExtension(const QString& path) {
  const QString name = FileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot);
}

bool IsDrawingFileName(const QString& path) {
  const QString ext = FileExtension(path);
  return ext == u".tlo" || ext == u".TLO";
}

bool IsPictureFileName(const QString& path) {
  const QString ext = FileExtension(path);
  return ext == u".bmp" || ext == u".BMP" || ext == u".jpg" || ext == u".JPG";
}

bool IsFileAt(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

QString BackupName(const QString& path) {
  const QString name = FileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  const QString base = dot < 0 ? name : name.left(dot);
  return path.left(path.size() - name.size()) + base + QStringLiteral(".bak");
}

bool MakeBackup(const QString& path) { return BackupFile(path) != BackupKind::None; }

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  if (file.write(bytes) != bytes.size()) return false;
  if (!file.flush()) return false;
  // The old file is about to be replaced: make sure the new one is on the
  // disk first.
  if (::fsync(file.handle()) != 0) return false;
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool ReplaceFile(const QString& path, bool backup, const std::function<bool(const QString&)>& write,
                 QString* tempPath) {
  if (tempPath) tempPath->clear();
  // Through a symbolic link the file it points to is replaced (and backed
  // up beside it); the link stays.
  const QString target = FileBehindLinks(path);
  if (target.isEmpty()) return false;
  struct stat old;
  const bool hadFile = ::stat(QFile::encodeName(target).constData(), &old) == 0;
  // A folder, a device or a pipe is no file to replace.
  if (hadFile && !S_ISREG(old.st_mode)) return false;

  RemoveStaleTempFiles(FolderOf(target));
  const QString temp = CreateTempFileNear(target);
  if (tempPath) *tempPath = temp;
  if (temp.isEmpty()) return false;
  const QByteArray tempName = QFile::encodeName(temp);
  const QByteArray targetName = QFile::encodeName(target);
  if (!write(temp) || !FinishTempFile(temp, hadFile ? &old : nullptr)) {
    ::unlink(tempName.constData());
    return false;
  }
  const BackupKind made = backup ? BackupFile(target) : BackupKind::None;
  // rename() puts the new file in place in one step, replacing the old one
  // (which lives on as the backup when it was linked to that name).
  if (::rename(tempName.constData(), targetName.constData()) != 0) {
    ::unlink(tempName.constData());
    if (made == BackupKind::Linked) ::unlink(QFile::encodeName(BackupName(target)).constData());
    if (made == BackupKind::Renamed) QFile::rename(BackupName(target), target);
    return false;
  }
  // The new name, and the backup's, last through a power cut only once the
  // folder is on the disk too. The file is in place by now: a folder that
  // cannot be flushed (some file systems refuse) does not undo the save.
  SyncFolder(FolderOf(target));
  return true;
}

bool PictureNameFitsDrawing(UserDialogs& dialogs, const QString& path) {
  if (!path.contains(u'\n') && !path.contains(u'\r')) return true;
  dialogs.ShowMessage(kPictureNameHasLineBreak);
  return false;
}

void EnterFolderOf(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!folder.isEmpty()) QDir::setCurrent(folder);
}
