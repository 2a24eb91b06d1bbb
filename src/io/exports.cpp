// Picture exports: single pictures and the numbered series of every step.
#include "io/exports.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>

#include "history/play.h"
#include "io/file_replace.h"
#include "io/picture.h"

namespace {

PictureResult WritePNG(const QString& path, const QImage& image) {
  QFile file(path);
  bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  ok = ok && image.save(&file, "PNG");
  ok = file.flush() && ok;
  file.close();
  ok = ok && file.error() == QFileDevice::NoError;
  if (ok) return {true, {}};
  if (file.exists()) file.remove();
  return {false, CannotCreateText(path.toStdString())};
}

PictureResult WritePicture(const QString& path, const QImage& image, PictureKind kind) {
  switch (kind) {
    case PictureKind::BMP: return WriteBMP32(path.toStdString(), image);
    case PictureKind::JPEG: return WriteJPEG(path.toStdString(), image);
    case PictureKind::PNG: return WritePNG(path, image);
  }
  return {false, CannotCreateText(path.toStdString())};
}

// The error box of a picture that could not be written names the file the
// user chose, never the temporary one.
void ShowWriteError(UserDialogs& dialogs, const QString& path, const std::string& error, const QString& temp) {
  QString text = error.empty() ? QString::fromStdString(CannotCreateText(path.toStdString())) : QString::fromStdString(error);
  if (!temp.isEmpty()) text.replace(temp, path);
  dialogs.ShowError(text.toStdString());
}

bool IsLinkAt(const QByteArray& path) {
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Writes the picture under a new temporary name beside `path` (named as the
// saves name theirs, so that a leftover is cleared away like theirs) and
// renames it to `path`. Whatever has that name is replaced itself: a link
// there is never followed. Nothing is flushed to the disk: pictures can be
// written again at any time, and a long series must not wait for the disk
// at every picture.
bool PutPictureInPlace(UserDialogs& dialogs, const QString& path, const QImage& image, PictureKind kind) {
  const QString folder = path.left(path.lastIndexOf(u'/') + 1);
  QString temp;
  for (int attempt = 0; attempt < 16 && temp.isEmpty(); ++attempt) {
    const QString name = QStringLiteral("%1.tamlo-%2.tmp")
                             .arg(folder)
                             .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      temp = name;
    } else if (errno != EEXIST) {
      break;  // the folder takes no new file
    }
  }
  if (temp.isEmpty()) {
    ShowWriteError(dialogs, path, std::string(), QString());
    return false;
  }
  const QByteArray tempName = QFile::encodeName(temp);
  const PictureResult r = WritePicture(temp, image, kind);
  if (!r.Ok || ::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
    ::unlink(tempName.constData());
    ShowWriteError(dialogs, path, r.Ok ? std::string() : r.Error, temp);
    return false;
  }
  return true;
}

}  // namespace

bool ExportPicture(UserDialogs& dialogs, const QString& path, const QImage& image, PictureKind kind) {
  const QByteArray name = QFile::encodeName(path);
  if (!IsLinkAt(name)) {
    std::string error;
    QString temp;
    const bool ok = ReplaceFile(
        path, IsFileAt(path),
        [&](const QString& tempPath) {
          const PictureResult r = WritePicture(tempPath, image, kind);
          if (!r.Ok) error = r.Error;
          return r.Ok;
        },
        &temp);
    if (!ok) ShowWriteError(dialogs, path, error, temp);
    return ok;
  }
  // A link has the name: the link itself becomes the backup (unless there
  // is one already) and the picture takes its name. The file it points to,
  // perhaps a drawing, is never written.
  const QByteArray backup = QFile::encodeName(BackupName(path));
  struct stat st {};
  if (::lstat(backup.constData(), &st) != 0 && errno == ENOENT) ::rename(name.constData(), backup.constData());
  return PutPictureInPlace(dialogs, path, image, kind);
}

bool ConfirmProcessExport(UserDialogs& dialogs, int count) {
  if (count <= kLongProcessSeries) return true;
  const std::string text = "ぜんぶで " + std::to_string(count) + " まいの えを かきだします。よろしいですか？";
  return dialogs.Ask(text, "かくにん", QuestionButtons::YesNo) == ModalResult::Yes;
}

int SortingProcessDigits(int count) {
  int digits = 3;
  for (long long limit = 1000; count >= limit; limit *= 10) ++digits;
  return digits;
}

bool ExportProcess(AppState& S, const QImage& workBitmap, const std::string& base,
                   const std::function<bool(int, int)>& progress, int digits) {
  const int count = S.History.Count();
  if (count == 0) return true;
  // The view mode starts from a blank background; so does the series. A
  // background loaded through the menu or a drop is on the picture without
  // being known to the replay, and would otherwise show in the steps before
  // the one that loaded it.
  S.Pictures->BlankBGImage();
  S.ShownBGFileName.clear();
  bool ok = true;
  int n = 1;
  for (HistoryItem* item = S.History.Head->Next; item; item = item->Next, ++n) {
    if (progress && !progress(n, count)) {
      ok = false;
      break;
    }
    S.CurrentStep = item;
    GoToStep(S);
    const QString name = digits <= 3 ? QString::fromStdString(ProcessPictureName(base, n))
                                     : QStringLiteral("%1%2.jpg").arg(QString::fromStdString(base)).arg(n, digits, 10, QChar(u'0'));
    if (!PutPictureInPlace(*S.Dialogs, name, workBitmap, PictureKind::JPEG)) {
      ok = false;
      break;
    }
  }
  // Whatever happened, the drawing goes on from the complete history.
  if (S.CurrentStep != S.History.Tail) {
    S.CurrentStep = S.History.Tail;
    GoToStep(S);
  }
  return ok;
}
