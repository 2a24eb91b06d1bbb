#include "format/journal.h"

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
#include "format/journal_files.h"


const char* const JournalFailedMessage =
    "きろくを ほぞんできなくなりました。このまま かけますが、いそいで ほぞんしてください。";

using namespace journal_files;


std::string JournalFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/tamlo";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/tamlo";
  return std::string();
}

JournalScan ScanJournal(const std::string& bytes, const std::string& base) {
  JournalScan scan;
  const std::string header = HistoryHeaderText();
  if (!std::string_view(bytes).starts_with(header)) {
    scan.Damaged = bytes.find(kBlockEnd) != std::string::npos;
    return scan;
  }
  if (!base.empty()) {
    AppState read;
    if (ReadHistory(read, base) != 0) {
      scan.Damaged = true;
      return scan;
    }
    scan.BaseCount = read.History().Count();
  }
  const std::string_view all(bytes);
  // Where each block seems to end; a text "end ActionData" in the middle of
  // a record looks the same.
  std::vector<size_t> ends;
  for (size_t at = all.find(kBlockEnd, header.size() - 2); at != std::string_view::npos;
       at = all.find(kBlockEnd, at + kBlockEnd.size() - 2))
    ends.push_back(at + kBlockEnd.size());
  // Whether the journal's start of `length` bytes reads after the base,
  // and how many records then. The reader reads forward and never looks
  // ahead, so a start that reads is read exactly as in the whole journal;
  // a journal is UTF-8 from its first byte to its last.
  const auto reads = [&](size_t length, int32_t& count) {
    const std::string text(all.substr(0, length));
    if (!IsValidUtf8(text)) return false;
    AppState read;
    if ((!base.empty() && ReadHistory(read, base) != 0) || ReadHistory(read, text) != 0) return false;
    count = read.History().Count();
    return true;
  };
  // The same for the records from `whole` to `length` alone, as a cheap
  // first test (garbage fails at once); records that need earlier ones (a
  // size change) may fail here although they read in the journal.
  const auto readsAlone = [&](size_t whole, size_t length) {
    std::string text = header;
    text += all.substr(whole, length - whole);
    AppState read;
    return IsValidUtf8(text) && ReadHistory(read, text) == 0;
  };
  // The last end that reads, by halves: ends up to the first bad record
  // read, none after it does. An end in the middle of a record does not
  // read either, though later ones may: past the first end that does not,
  // a few more are tried, each alone first.
  size_t whole = header.size();
  int32_t count = scan.BaseCount;
  int lo = -1;  // the last end known to read (-1: the header)
  int hi = static_cast<int>(ends.size());  // the first known not to (none: the size)
  for (int round = 0; round < kMaxCutTries; ++round) {
    int32_t n = 0;
    if (hi - 1 > lo) {
      if (reads(ends[hi - 1], n)) {
        lo = hi - 1;
        whole = ends[lo];
        count = n;
      } else {
        --hi;
        while (hi - lo > 1) {
          const int mid = lo + (hi - lo) / 2;
          if (reads(ends[mid], n)) {
            lo = mid;
            whole = ends[lo];
            count = n;
          } else {
            hi = mid;
          }
        }
      }
    }
    if (hi >= static_cast<int>(ends.size())) break;
    int found = -1;
    for (int j = hi + 1; j < static_cast<int>(ends.size()) && j <= hi + kMaxCutTries; ++j) {
      if (readsAlone(whole, ends[j]) && reads(ends[j], n)) {
        found = j;
        break;
      }
    }
    if (found < 0) break;
    lo = found;
    whole = ends[lo];
    count = n;
    hi = static_cast<int>(ends.size());
  }
  scan.Length = whole;
  scan.Count = count;
  // A torn last block holds no block end; one that does is a whole block
  // that did not read: the journal is damaged there.
  scan.Damaged = all.find(kBlockEnd, whole - 2) != std::string_view::npos;
  return scan;
}

size_t WholeJournalLength(const std::string& bytes, int32_t* count) {
  const JournalScan scan = ScanJournal(bytes);
  if (count) *count = scan.Count;
  return scan.Length;
}

// ---- ActionJournal

ActionJournal::~ActionJournal() { Close(); }

void ActionJournal::Close() {
  WaitForBase();
  if (m_fd >= 0) ::close(m_fd);
  if (m_infoFd >= 0) ::close(m_infoFd);
  m_fd = -1;
  m_infoFd = -1;
  m_last = nullptr;
  m_targets = ChangeTargets();
}

FileStamp StampOfFile(const std::string& path) {
  FileStamp stamp;
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return stamp;
  stamp.Size = st.st_size;
  stamp.ModifiedNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
  stamp.Device = st.st_dev;
  stamp.Inode = st.st_ino;
  return stamp;
}

bool ActionJournal::Start(const std::string& folder, const HistoryList& history, const std::string& dataFileName,
                          const FileStamp& stamp, int32_t savedCount) {
  Close();
  m_failed = false;
  m_info = JournalInfo();
  if (folder.empty() || !MakeFolders(folder)) {
    m_failed = true;
    return false;
  }
  const int32_t saved = savedCount < 0 ? history.Count() : std::min(savedCount, history.Count());
  return Begin(folder, history, JournalInfo{dataFileName, saved, stamp});
}

bool ActionJournal::Restart(const HistoryList& history, const std::string& dataFileName, const FileStamp& stamp,
                            std::string* fileBytes) {
  if (m_fd < 0 || m_failed) return false;
  return Begin(FolderOf(m_path), history, JournalInfo{dataFileName, history.Count(), stamp}, fileBytes);
}

// A new journal file holding `history`, which then takes the place of the
// current one. It is written, with its side file, and flushed under a
// name no one looks for, locked from the start, and only then given its
// name; the old journal goes last. A crash at any moment leaves the old
// journal, the new one, or both (the new one holds nothing unsaved that
// the old one lacks): never less than was recorded.
bool ActionJournal::Begin(const std::string& folder, const HistoryList& history, const JournalInfo& newInfo,
                          std::string* fileBytes) {
  // What the window shows does not change with the file.
  JournalInfo info = newInfo;
  info.ViewMode = m_info.ViewMode;
  info.ShownStep = m_info.ShownStep;
  info.FromBase = 0;
  int fd = -1;
  std::string path;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    path = folder + "/" + std::string(kJournalPrefix) + std::to_string(::getpid()) + "-" + RandomTag() +
           std::string(kJournalSuffix);
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 || ::lstat(BasePath(path).c_str(), &st) == 0) continue;
    const std::string temp = TempPathFor(path);
    fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Fail();
  const std::string temp = TempPathFor(path);
  const std::string base = BasePath(path);
  // Begun from the drawing's file (after a load or a save): the file is
  // the base, under a second name that no save can replace (a save puts a
  // new file under the old name), as long as it is still the file read or
  // written; else a copy of the bytes read or written, made meanwhile.
  bool linked = false;
  bool copied = false;
  // The bytes must be those the stamp describes: a file changed between
  // its stamp and its read is no base to go on from.
  if (fileBytes != nullptr && !history.IsEmpty() && info.BaseCount == history.Count() &&
      info.DataFileStamp.Known() && static_cast<int64_t>(fileBytes->size()) == info.DataFileStamp.Size) {
    if (::link(info.DataFileName.c_str(), base.c_str()) == 0) {
      linked = StampOfFile(base) == info.DataFileStamp;
      if (!linked) ::unlink(base.c_str());
    }
    copied = !linked;
    info.FromBase = history.Count();
  }
  std::string bytes = HistoryHeaderText();
  ChangeTargets targets;
  int32_t step = 0;
  for (const Action& a : history) {
    targets.Add(a);
    if (++step <= info.FromBase) continue;
    const std::string block = ActionBlockText(a, targets);
    if (block.empty()) {
      if (linked) ::unlink(base.c_str());
      ::unlink(temp.c_str());
      ::close(fd);
      return Fail();
    }
    bytes += block;
  }
  const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && WriteFully(fd, bytes) && ::fdatasync(fd) == 0 &&
                  WriteFileAtomically(InfoPath(path), InfoText(info)) && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    if (linked) ::unlink(base.c_str());
    ::unlink(InfoPath(path).c_str());
    ::unlink(temp.c_str());
    ::close(fd);
    return Fail();
  }
  SyncFolder(folder);
  if (m_fd >= 0) Remove();
  m_fd = fd;
  m_path = path;
  m_info = info;
  OpenInfo();
  m_size = bytes.size();
  m_count = history.Count();
  m_targets = std::move(targets);
  m_last = history.IsEmpty() ? nullptr : &history.Last();
  if (copied) {
    // Until the copy has its name the journal cannot be read on its own;
    // a crash meanwhile leaves it to the drawing's file itself, when that
    // is still the one the stamp describes (see FindLeftJournals).
    // The copy gets the file's time, so that it is told from a changed base
    // as a second name is: by its size and time.
    const int64_t modified = info.DataFileStamp.ModifiedNs;
    m_copier = std::thread([bytes = std::move(*fileBytes), base, folder, modified] {
      const int out = ::open(TempPathFor(base).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
      if (out < 0) return;
      bool done = WriteFully(out, bytes);
      const struct timespec times[2] = {{0, UTIME_OMIT}, {modified / 1000000000, modified % 1000000000}};
      done = done && ::futimens(out, times) == 0 && ::fdatasync(out) == 0;
      done = ::close(out) == 0 && done;
      if (done && ::rename(TempPathFor(base).c_str(), base.c_str()) == 0)
        SyncFolder(folder);
      else
        ::unlink(TempPathFor(base).c_str());
    });
  }
  return true;
}

void ActionJournal::WaitForBase() {
  if (m_copier.joinable()) m_copier.join();
}

bool ActionJournal::Fail() {
  m_failed = true;
  return false;
}

bool ActionJournal::Adopt(LeftJournal&& left, const HistoryList& history) {
  Close();
  m_failed = false;
  if (left.m_fd < 0) return false;
  // The torn last block goes; the next record follows the whole ones.
  if (left.BaseMissing || left.Damaged) return Fail();
  if (::ftruncate(left.m_fd, static_cast<off_t>(left.m_length)) != 0 || ::fdatasync(left.m_fd) != 0 ||
      ::lseek(left.m_fd, 0, SEEK_END) < 0)
    return Fail();
  m_fd = left.m_fd;
  left.m_fd = -1;
  m_path = left.Path;
  m_info = left.Info;
  m_size = left.m_length;
  m_count = left.Count;
  m_targets = ChangeTargets();
  for (const Action& a : history) m_targets.Add(a);
  m_last = history.IsEmpty() ? nullptr : &history.Last();
  // The window read the journal itself, so the lengths agree; should they
  // not, the history is written anew, its base kept where it still holds.
  // So is a journal whose base is only the drawing's file itself (its copy
  // never got its name), which the next save would replace.
  if (history.Count() != m_count || left.m_baseFromFile)
    return Begin(FolderOf(m_path), history,
                 JournalInfo{m_info.DataFileName, std::min(m_info.BaseCount, history.Count()), m_info.DataFileStamp});
  // The side file in the present form, whatever wrote it, so that steps
  // are written over their own place in it. The old one stays should this
  // fail: only the steps shown from now on go unnoted.
  if (WriteFileAtomically(InfoPath(m_path), InfoText(m_info))) OpenInfo();
  return true;
}

bool ActionJournal::Append(const HistoryList& history) {
  if (m_fd < 0 || m_failed) return false;
  const bool followsWritten =
      history.Count() == m_count + 1 && (m_count == 0 ? m_last == nullptr : &history.At(m_count) == m_last);
  if (!followsWritten) {
    // Not one record more than written: the history changed behind the
    // journal's back. Written anew, all of it counted as unsaved.
    return Begin(FolderOf(m_path), history, JournalInfo{m_info.DataFileName, 0, m_info.DataFileStamp});
  }
  const Action& record = history.Last();
  m_targets.Add(record);
  const std::string block = ActionBlockText(record, m_targets);
  if (block.empty() || !WriteFully(m_fd, block)) {
    // Whatever part of the block got written goes again, so that the file
    // keeps only whole records.
    if (::ftruncate(m_fd, static_cast<off_t>(m_size)) == 0) ::lseek(m_fd, static_cast<off_t>(m_size), SEEK_SET);
    return Fail();
  }
  m_size += block.size();
  ++m_count;
  m_last = &record;
  // The whole record stays in the file even when the flush fails: it may
  // well be on the disk, and it is the history's own.
  if (::fdatasync(m_fd) != 0) return Fail();
  return true;
}

void ActionJournal::OpenInfo() {
  if (m_infoFd >= 0) ::close(m_infoFd);
  m_infoFd = ::open(InfoPath(m_path).c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
}

void ActionJournal::ShowStep(bool viewMode, int32_t step) {
  if (m_fd < 0 || m_failed) return;
  step = viewMode ? std::max(step, 0) : 0;
  if (m_info.ViewMode == viewMode && m_info.ShownStep == step) return;
  m_info.ViewMode = viewMode;
  m_info.ShownStep = step;
  if (m_infoFd < 0) return;
  const std::string line = StepText(m_info);
  if (::pwrite(m_infoFd, line.data(), line.size(), static_cast<off_t>(kInfoHeader.size())) !=
      static_cast<ssize_t>(line.size())) {
    // Not worth a word: the drawing is safe, only the step shown goes unnoted.
    ::close(m_infoFd);
    m_infoFd = -1;
  }
}

void ActionJournal::Remove() {
  if (m_fd < 0) return;
  WaitForBase();
  // The journal goes first: a crash in between leaves a side file alone,
  // which is cleaned up later, never a journal that has lost its file name
  // and base and would be offered again as unsaved.
  ::unlink(m_path.c_str());
  ::unlink(InfoPath(m_path).c_str());
  ::unlink(BasePath(m_path).c_str());
  SyncFolder(FolderOf(m_path));
  Close();
}

void ActionJournal::Recorded(const HistoryList& history, UserDialogs& dialogs) {
  if (m_fd < 0 || m_failed) return;
  if (!Append(history)) dialogs.ShowMessage(JournalFailedMessage);
}

