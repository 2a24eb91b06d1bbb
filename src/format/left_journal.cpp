// Journals whose window is gone: found at start, kept or removed.
#include "format/journal.h"
#include "format/journal_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <random>
#include <string_view>

#include "format/codepage.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "history/state.h"

using namespace journal_files;

// ---- LeftJournal

LeftJournal::LeftJournal(LeftJournal&& other) noexcept
    : Path(std::move(other.Path)),
      ModifiedNs(other.ModifiedNs),
      Info(std::move(other.Info)),
      Text(std::move(other.Text)),
      Count(other.Count),
      Damaged(other.Damaged),
      BaseMissing(other.BaseMissing),
      m_fd(other.m_fd),
      m_length(other.m_length),
      m_rest(std::move(other.m_rest)),
      m_baseFromFile(other.m_baseFromFile) {
  other.m_fd = -1;
}

LeftJournal& LeftJournal::operator=(LeftJournal&& other) noexcept {
  if (this != &other) {
    Close();
    Path = std::move(other.Path);
    ModifiedNs = other.ModifiedNs;
    Info = std::move(other.Info);
    Text = std::move(other.Text);
    Count = other.Count;
    Damaged = other.Damaged;
    BaseMissing = other.BaseMissing;
    m_fd = other.m_fd;
    m_length = other.m_length;
    m_rest = std::move(other.m_rest);
    m_baseFromFile = other.m_baseFromFile;
    other.m_fd = -1;
  }
  return *this;
}

LeftJournal::~LeftJournal() { Close(); }

void LeftJournal::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

void LeftJournal::Remove() {
  if (m_fd < 0) return;
  // The journal goes first: a crash in between leaves a side file alone,
  // which is cleaned up later, never a journal that has lost its file name
  // and base and would be offered again as unsaved.
  ::unlink(Path.c_str());
  ::unlink(InfoPath(Path).c_str());
  ::unlink(BasePath(Path).c_str());
  SyncFolder(FolderOf(Path));
  Close();
}

namespace {

// Writes `bytes` as a new file named `name`, never over an existing one:
// under a temporary name first, flushed, then given the name as a second
// name (which fails when taken). errno is EEXIST when the name is taken.
bool WriteNewFile(const std::string& name, std::string_view bytes) {
  const std::string temp = TempPathFor(name);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteFully(fd, bytes) && ::fdatasync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::link(temp.c_str(), name.c_str()) == 0;
  const int error = errno;
  ::unlink(temp.c_str());
  errno = error;
  return ok;
}

}  // namespace

std::string LeftJournal::Keep() {
  if (m_fd < 0) return std::string();
  // A journal with a base is kept as one drawing file: the base's records
  // and the journal's (and a damaged journal's rest as it is). One without
  // is kept under a second name: only whole records, so that the kept file
  // reads as a drawing, but a damaged one as it is, as what lies beyond the
  // damage is not ours to cut; so is one whose base is gone.
  const bool whole = Info.FromBase > 0 && !BaseMissing;
  if (!whole && !Damaged && !BaseMissing &&
      (::ftruncate(m_fd, static_cast<off_t>(m_length)) != 0 || ::fdatasync(m_fd) != 0))
    return std::string();
  const time_t seconds = static_cast<time_t>(ModifiedNs / 1000000000);
  struct tm local;
  ::localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "tamlo-%Y-%m-%d-%H%M%S", &local);
  const std::string folder = FolderOf(Path);
  for (int n = 1; n < 1000; ++n) {
    std::string name = folder + "/" + stamp;
    if (n > 1) name.append("-").append(std::to_string(n));
    name.append(".tlo");
    // A second name first: an existing file of that name is never replaced.
    if (whole ? WriteNewFile(name, Text + m_rest) : ::link(Path.c_str(), name.c_str()) == 0) {
      ::unlink(Path.c_str());
      ::unlink(InfoPath(Path).c_str());
      ::unlink(BasePath(Path).c_str());
      SyncFolder(folder);
      Close();
      return name;
    }
    if (errno != EEXIST) break;
  }
  return std::string();
}

std::vector<LeftJournal> FindLeftJournals(const std::string& folder) {
  std::vector<LeftJournal> found;
  if (folder.empty()) return found;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return found;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);

  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    if (!IsJournalName(name)) {
      // A side file or a base whose journal is gone.
      const bool info = name.ends_with(std::string(kJournalSuffix) + std::string(kInfoSuffix));
      const bool base = name.ends_with(std::string(kJournalSuffix) + std::string(kBaseSuffix));
      if (name.starts_with(kJournalPrefix) && (info || base)) {
        const std::string journal = path.substr(0, path.size() - (info ? kInfoSuffix : kBaseSuffix).size());
        struct stat st;
        // Written just before its journal gets its name: only an old one is stray.
        if (::lstat(journal.c_str(), &st) != 0 && errno == ENOENT && ::lstat(path.c_str(), &st) == 0 &&
            ::time(nullptr) - st.st_mtime > kStraySideFileSeconds)
          ::unlink(path.c_str());
      }
      continue;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    // A journal that cannot be written (a read-only file or file system)
    // is still read and offered; it only cannot be cut, kept or removed.
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
      fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // Held by a running window: not ours to touch.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      continue;
    }
    // Another starting window may have kept or removed it meanwhile: only
    // the file still under the name counts.
    struct stat held, named;
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || ::lstat(path.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
      ::close(fd);
      continue;
    }
    LeftJournal left;
    left.m_fd = fd;
    left.Path = path;
    left.ModifiedNs = int64_t{held.st_mtim.tv_sec} * 1000000000 + held.st_mtim.tv_nsec;
    left.Info = ReadInfo(path);
    std::string bytes;
    if (!ReadDrawingFileBytes(path, bytes)) continue;  // too large or unreadable: left as it is
    // The records of the base come first: its copy, or the drawing's file
    // when the copy never got its name but the file is still the one the
    // journal began from. Without either nothing of the journal reads.
    std::string base;
    if (left.Info.FromBase > 0) {
      const FileStamp& stamp = left.Info.DataFileStamp;
      // The base is the file as the journal began from it: of that size,
      // and, where it is that very file under a second name, of that time
      // (a program that writes files in place changes both names' bytes).
      if (ReadDrawingFileBytes(BasePath(path), base)) {
        const FileStamp now = StampOfFile(BasePath(path));
        const bool sameFile = now.Device == stamp.Device && now.Inode == stamp.Inode;
        if (static_cast<int64_t>(base.size()) != stamp.Size || (sameFile && now.ModifiedNs != stamp.ModifiedNs))
          base.clear();
      } else {
        base.clear();
        // Its size and time down to the nanosecond: a copy is made where
        // the file is on another file system, whose numbers may change.
        const FileStamp now = StampOfFile(left.Info.DataFileName);
        left.m_baseFromFile = stamp.Known() && now.Size == stamp.Size && now.ModifiedNs == stamp.ModifiedNs &&
                              ReadDrawingFileBytes(left.Info.DataFileName, base) &&
                              static_cast<int64_t>(base.size()) == stamp.Size;
        if (!left.m_baseFromFile) base.clear();
      }
      if (!base.empty() && !IsValidUtf8(base)) base = Cp932ToUtf8(base);
    }
    const std::string header = HistoryHeaderText();
    const bool noRecords = bytes.find(kBlockEnd) == std::string::npos;
    JournalScan scan;
    if (left.Info.FromBase < 0 || (left.Info.FromBase > 0 && base.empty())) {
      // Known to be empty all the same when it holds no record at all.
      left.BaseMissing = !noRecords;
      left.Damaged = !noRecords;
      scan.Length = std::string_view(bytes).starts_with(header) ? header.size() : 0;
    } else {
      scan = ScanJournal(bytes, base);
      if (left.Info.FromBase > 0 && scan.BaseCount != left.Info.FromBase) {
        // Not the base the journal began from.
        left.BaseMissing = !noRecords;
        scan = JournalScan();
        scan.Damaged = !noRecords;
      }
      left.Count = scan.Count;
      left.Damaged = scan.Damaged;
    }
    left.m_length = scan.Length;
    if (left.Damaged) left.m_rest = bytes.substr(std::min(scan.Length, bytes.size()));
    if (left.Info.FromBase > 0 && !left.BaseMissing && scan.Length >= header.size())
      left.Text = base + bytes.substr(header.size(), scan.Length - header.size());
    else
      left.Text = bytes.substr(0, scan.Length);
    // Known to hold nothing unsaved: whole records, all of them in the
    // drawing's file, and at most a torn last block after them.
    if (!left.HasUnsaved() && !left.Damaged && !left.BaseMissing) {
      left.Remove();
      continue;
    }
    found.push_back(std::move(left));
  }
  std::sort(found.begin(), found.end(),
            [](const LeftJournal& a, const LeftJournal& b) { return a.ModifiedNs > b.ModifiedNs; });
  return found;
}

