// Picture exports: single pictures and the numbered series of every step.
#include "io/exports.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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

// The text of the error box of a picture that could not be written: it
// names the file the user chose, never the temporary one.
std::string WriteErrorText(const QString& path, const std::string& error, const QString& temp) {
  QString text = error.empty() ? QString::fromStdString(CannotCreateText(path.toStdString())) : QString::fromStdString(error);
  if (!temp.isEmpty()) text.replace(temp, path);
  return text.toStdString();
}

void ShowWriteError(UserDialogs& dialogs, const QString& path, const std::string& error, const QString& temp) {
  dialogs.ShowError(WriteErrorText(path, error, temp));
}

bool IsLinkAt(const QByteArray& path) {
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// A picture written under a temporary name beside the name it is meant
// for, or the error box text of why it could not be.
struct TempPicture {
  QString Temp;       // empty when nothing was left on the disk
  std::string Error;  // empty when written
};

// Writes the picture under a new temporary name beside `path` (named as the
// saves name theirs, so that a leftover is cleared away like theirs).
// Nothing is flushed to the disk: pictures can be written again at any
// time, and a long series must not wait for the disk at every picture.
// Touches no state but the files: it runs on the series' writer threads.
TempPicture WriteTempPicture(const QString& path, const QImage& image, PictureKind kind) {
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
  if (temp.isEmpty()) return {QString(), WriteErrorText(path, std::string(), QString())};
  const PictureResult r = WritePicture(temp, image, kind);
  if (!r.Ok) {
    ::unlink(QFile::encodeName(temp).constData());
    return {QString(), WriteErrorText(path, r.Error, temp)};
  }
  return {temp, std::string()};
}

// Gives a written temporary picture its name. Whatever has that name is
// replaced itself: a link there is never followed. On failure the
// temporary file goes and the error box text is returned.
std::string MovePictureInPlace(const QString& temp, const QString& path) {
  const QByteArray tempName = QFile::encodeName(temp);
  if (::rename(tempName.constData(), QFile::encodeName(path).constData()) == 0) return std::string();
  ::unlink(tempName.constData());
  return WriteErrorText(path, std::string(), temp);
}

bool PutPictureInPlace(UserDialogs& dialogs, const QString& path, const QImage& image, PictureKind kind) {
  const TempPicture written = WriteTempPicture(path, image, kind);
  std::string error = written.Error;
  if (error.empty()) error = MovePictureInPlace(written.Temp, path);
  if (error.empty()) return true;
  dialogs.ShowError(error);
  return false;
}

// Writes the pictures of the series on threads of its own while the
// drawing thread composes the next steps. Pictures are encoded into their
// temporary files in any order, but take their names strictly in step
// order, and none after the first failure does (its followers' temporary
// files are removed): the folder ends exactly as writing one picture after
// the other leaves it. At most a few pictures wait at any time.
class SeriesWriter {
 public:
  explicit SeriesWriter(int threads) : capacity_(size_t(threads) + 2) {
    for (int k = 0; k < threads; ++k) threads_.emplace_back([this] { Work(); });
  }
  ~SeriesWriter() {
    std::string ignored;
    Finish(ignored);
  }
  SeriesWriter(const SeriesWriter&) = delete;
  SeriesWriter& operator=(const SeriesWriter&) = delete;

  // Queues a copy of `frame` to be written as `name`; waits while the queue
  // is full. False once a picture has failed (the series must end).
  bool Add(const QString& name, const QImage& frame) {
    std::unique_lock lock(mutex_);
    while (!failed_ && (queue_.size() >= capacity_ || (!queue_.empty() && queue_.front()->Done))) PlaceFront(lock);
    if (failed_) return false;
    auto job = std::make_unique<Job>();
    job->Name = name;
    job->Frame = TakeFrame(frame);
    queue_.push_back(std::move(job));
    ++waiting_;
    workReady_.notify_one();
    return true;
  }

  // Gives every queued picture its name, in order, and stops the threads.
  // False with the error box text of the first picture that failed.
  bool Finish(std::string& error) {
    {
      std::unique_lock lock(mutex_);
      while (!queue_.empty()) PlaceFront(lock);
      stop_ = true;
    }
    workReady_.notify_all();
    for (std::thread& t : threads_)
      if (t.joinable()) t.join();
    threads_.clear();
    error = error_;
    return !failed_;
  }

 private:
  struct Job {
    QString Name;
    QImage Frame;
    bool Taken = false;
    bool Done = false;
    TempPicture Written;
  };

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      workReady_.wait(lock, [this] { return stop_ || waiting_ > 0; });
      if (waiting_ == 0) return;
      Job* job = nullptr;
      for (const auto& j : queue_)
        if (!j->Taken) {
          job = j.get();
          break;
        }
      job->Taken = true;
      --waiting_;
      if (!failed_) {
        lock.unlock();
        try {
          job->Written = WriteTempPicture(job->Name, job->Frame, PictureKind::JPEG);
        } catch (...) {  // out of memory while encoding
          job->Written = {QString(), WriteErrorText(job->Name, std::string(), QString())};
        }
        lock.lock();
      }
      job->Done = true;
      placeReady_.notify_all();
    }
  }

  // Waits for the oldest queued picture and gives it its name, or records
  // its failure; after a failure a picture's temporary file goes instead.
  // Called with the lock held; renames with it released.
  void PlaceFront(std::unique_lock<std::mutex>& lock) {
    placeReady_.wait(lock, [this] { return queue_.front()->Done; });
    std::unique_ptr<Job> job = std::move(queue_.front());
    queue_.pop_front();
    const bool failedBefore = failed_;
    if (!failedBefore && !job->Written.Error.empty()) {
      failed_ = true;
      error_ = job->Written.Error;
    }
    lock.unlock();
    std::string error;
    if (!job->Written.Temp.isEmpty()) {
      if (failedBefore || failed_)
        ::unlink(QFile::encodeName(job->Written.Temp).constData());
      else
        error = MovePictureInPlace(job->Written.Temp, job->Name);
    }
    lock.lock();
    if (!error.empty() && !failed_) {
      failed_ = true;
      error_ = error;
    }
    spare_.push_back(std::move(job->Frame));
  }

  // A copy of `frame` in a buffer a placed picture gave back, when one fits.
  QImage TakeFrame(const QImage& frame) {
    while (!spare_.empty()) {
      QImage buffer = std::move(spare_.back());
      spare_.pop_back();
      if (buffer.size() != frame.size() || buffer.format() != frame.format() ||
          buffer.bytesPerLine() != frame.bytesPerLine() || !buffer.isDetached())
        continue;
      std::memcpy(buffer.bits(), frame.constBits(), size_t(frame.sizeInBytes()));
      return buffer;
    }
    return frame.copy();
  }

  const size_t capacity_;
  std::mutex mutex_;
  std::condition_variable workReady_;
  std::condition_variable placeReady_;
  std::deque<std::unique_ptr<Job>> queue_;
  std::vector<QImage> spare_;
  std::vector<std::thread> threads_;
  size_t waiting_ = 0;  // queued pictures no thread has taken yet
  bool stop_ = false;
  bool failed_ = false;
  std::string error_;
};

// Threads writing a series beside the drawing thread: two where there are
// cores for them (encoding a picture takes about twice as long as composing
// a step), one on a single core.
int SeriesWriterThreads() {
  return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

}  // namespace

bool ExportPicture(UserDialogs& dialogs, const QString& path, const QImage& image, PictureKind kind, bool backup) {
  const QByteArray name = QFile::encodeName(path);
  if (!IsLinkAt(name)) {
    std::string error;
    QString temp;
    const bool ok = ReplaceFile(
        path, backup && IsFileAt(path),
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
  const QByteArray backupName = QFile::encodeName(BackupName(path));
  struct stat st {};
  if (!backup)
    ::unlink(name.constData());
  else if (::lstat(backupName.constData(), &st) != 0 && errno == ENOENT)
    ::rename(name.constData(), backupName.constData());
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
  SeriesWriter writer(SeriesWriterThreads());
  for (; n <= S.History.Count(); ++n) {
    if (progress && !progress(n, count)) {
      ok = false;
      break;
    }
    S.CurrentStep = n;
    GoToStep(S);
    const QString name = digits <= 3 ? QString::fromStdString(ProcessPictureName(base, n))
                                     : QStringLiteral("%1%2.jpg").arg(QString::fromStdString(base)).arg(n, digits, 10, QChar(u'0'));
    if (!writer.Add(name, workBitmap)) break;
  }
  // The pictures of the steps shown so far are written before the series
  // ends, whether it was stopped or not.
  std::string error;
  if (!writer.Finish(error)) {
    S.Dialogs->ShowError(error);
    ok = false;
  }
  // Whatever happened, the drawing goes on from the complete history.
  if (!S.AtLastStep()) {
    S.CurrentStep = S.History.Count();
    GoToStep(S);
  }
  return ok;
}
