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
      m_fd(other.m_fd) {
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
    m_fd = other.m_fd;
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
  SyncFolder(FolderOf(Path));
  Close();
}

std::string LeftJournal::Keep() {
  if (m_fd < 0) return std::string();
  // Only whole records: the kept file must read as a drawing.
  if (::ftruncate(m_fd, static_cast<off_t>(Text.size())) != 0 || ::fdatasync(m_fd) != 0) return std::string();
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
    if (::link(Path.c_str(), name.c_str()) == 0) {
      ::unlink(Path.c_str());
      ::unlink(InfoPath(Path).c_str());
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
      // A side file whose journal is gone.
      if (name.starts_with(kJournalPrefix) && name.ends_with(std::string(kJournalSuffix) + std::string(kInfoSuffix))) {
        const std::string journal = path.substr(0, path.size() - kInfoSuffix.size());
        struct stat st;
        // Written just before its journal gets its name: only an old one is stray.
        if (::lstat(journal.c_str(), &st) != 0 && errno == ENOENT && ::lstat(path.c_str(), &st) == 0 &&
            ::time(nullptr) - st.st_mtime > kStraySideFileSeconds)
          ::unlink(path.c_str());
      }
      continue;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
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
    bytes.resize(WholeJournalLength(bytes, &left.Count));
    left.Text = std::move(bytes);
    if (!left.HasUnsaved()) {
      left.Remove();
      continue;
    }
    found.push_back(std::move(left));
  }
  std::sort(found.begin(), found.end(),
            [](const LeftJournal& a, const LeftJournal& b) { return a.ModifiedNs > b.ModifiedNs; });
  return found;
}

