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

size_t WholeJournalLength(const std::string& bytes, int32_t* count) {
  if (count) *count = 0;
  const std::string header = HistoryHeaderText();
  if (!std::string_view(bytes).starts_with(header)) return 0;
  // The reader reads forward and never looks ahead, so a start of the file
  // that reads is read exactly as in the whole file: its last line is then
  // really the end of a record, never a text that looks like one.
  size_t end = bytes.size();
  for (int tries = 0; tries < kMaxCutTries; ++tries) {
    const size_t at = std::string_view(bytes).substr(0, end).rfind(kBlockEnd);
    if (at == std::string_view::npos || at + 2 < header.size()) break;
    const size_t length = at + kBlockEnd.size();
    if (ReadsQuietly(std::string_view(bytes).substr(0, length), count)) return length;
    end = at + kBlockEnd.size() - 1;  // look before this one
  }
  return header.size();
}

// ---- ActionJournal

ActionJournal::~ActionJournal() { Close(); }

void ActionJournal::Close() {
  if (m_fd >= 0) ::close(m_fd);
  if (m_infoFd >= 0) ::close(m_infoFd);
  m_fd = -1;
  m_infoFd = -1;
  m_last = nullptr;
  m_targets = ChangeTargets();
}

bool ActionJournal::Start(const std::string& folder, const HistoryList& history, const std::string& dataFileName) {
  Close();
  m_failed = false;
  m_info = JournalInfo();
  if (folder.empty() || !MakeFolders(folder)) {
    m_failed = true;
    return false;
  }
  return Begin(folder, history, JournalInfo{dataFileName, history.Count()});
}

bool ActionJournal::Restart(const HistoryList& history, const std::string& dataFileName) {
  if (m_fd < 0 || m_failed) return false;
  return Begin(FolderOf(m_path), history, JournalInfo{dataFileName, history.Count()});
}

// A new journal file holding `history`, which then takes the place of the
// current one. It is written, with its side file, and flushed under a
// name no one looks for, locked from the start, and only then given its
// name; the old journal goes last. A crash at any moment leaves the old
// journal, the new one, or both (the new one holds nothing unsaved that
// the old one lacks): never less than was recorded.
bool ActionJournal::Begin(const std::string& folder, const HistoryList& history, const JournalInfo& newInfo) {
  // What the window shows does not change with the file.
  JournalInfo info = newInfo;
  info.ViewMode = m_info.ViewMode;
  info.ShownStep = m_info.ShownStep;
  std::string bytes = HistoryHeaderText();
  ChangeTargets targets;
  for (const Action& a : history) {
    targets.Add(a);
    const std::string block = ActionBlockText(a, targets);
    if (block.empty()) return Fail();
    bytes += block;
  }
  int fd = -1;
  std::string path;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    path = folder + "/" + std::string(kJournalPrefix) + std::to_string(::getpid()) + "-" + RandomTag() +
           std::string(kJournalSuffix);
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) continue;
    const std::string temp = TempPathFor(path);
    fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Fail();
  const std::string temp = TempPathFor(path);
  const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && WriteFully(fd, bytes) && ::fdatasync(fd) == 0 &&
                  WriteFileAtomically(InfoPath(path), InfoText(info)) && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
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
  return true;
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
  if (::ftruncate(left.m_fd, static_cast<off_t>(left.Text.size())) != 0 || ::fdatasync(left.m_fd) != 0 ||
      ::lseek(left.m_fd, 0, SEEK_END) < 0)
    return Fail();
  m_fd = left.m_fd;
  left.m_fd = -1;
  m_path = left.Path;
  m_info = left.Info;
  m_size = left.Text.size();
  m_count = left.Count;
  m_targets = ChangeTargets();
  for (const Action& a : history) m_targets.Add(a);
  m_last = history.IsEmpty() ? nullptr : &history.Last();
  // The window read the journal itself, so the lengths agree; should they
  // not, the history is written anew, its base kept where it still holds.
  if (history.Count() != m_count)
    return Begin(FolderOf(m_path), history, JournalInfo{m_info.DataFileName, std::min(m_info.BaseCount, history.Count())});
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
    return Begin(FolderOf(m_path), history, JournalInfo{m_info.DataFileName, 0});
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
  // The journal goes first: a crash in between leaves a side file alone,
  // which is cleaned up later, never a journal that has lost its file name
  // and base and would be offered again as unsaved.
  ::unlink(m_path.c_str());
  ::unlink(InfoPath(m_path).c_str());
  SyncFolder(FolderOf(m_path));
  Close();
}

void ActionJournal::Recorded(const HistoryList& history, UserDialogs& dialogs) {
  if (m_fd < 0 || m_failed) return;
  if (!Append(history)) dialogs.ShowMessage(JournalFailedMessage);
}

