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

const char* const JournalFailedMessage =
    "きろくを ほぞんできなくなりました。このまま かけますが、いそいで ほぞんしてください。";

namespace {

constexpr std::string_view kJournalPrefix = "journal-";
constexpr std::string_view kJournalSuffix = ".tlo";
constexpr std::string_view kInfoSuffix = ".info";
// The side file: the header, the step line, the base, then the drawing's
// file name. Side files of the first kind lack the step line (the last
// step is shown).
constexpr std::string_view kInfoHeader = "TAMLO JOURNAL 2\n";
constexpr std::string_view kInfoHeaderWithoutStep = "TAMLO JOURNAL 1\n";
// The step line, "view 0000000012" or "draw 0000000000", is always of the
// same length, right after the header, so that a new step is written over
// the old one in place; its line end is never written again.
constexpr std::string_view kViewWord = "view ";
constexpr std::string_view kDrawWord = "draw ";
constexpr int kStepDigits = 10;
constexpr std::string_view kBlockEnd = "\r\nend ActionData\r\n";

// How many ends of blocks, from the last one back, are tried as the end of
// the whole records. A crash tears only the last block, so the first or the
// second try finds it; the bound keeps a journal damaged in some other way
// from costing a read of the whole journal per block.
constexpr int kMaxCutTries = 64;

// A side file without its journal is removed once it is this old: a window
// writes a new journal's side file moments before the journal takes its name.
constexpr time_t kStraySideFileSeconds = 60 * 60;

bool IsJournalName(std::string_view name) {
  return name.size() > kJournalPrefix.size() + kJournalSuffix.size() && name.starts_with(kJournalPrefix) &&
         name.ends_with(kJournalSuffix);
}

std::string InfoPath(const std::string& journal) { return journal + std::string(kInfoSuffix); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary name next to `path` under which a file is written before it
// takes its name; it never matches a journal's name.
std::string TempPathFor(const std::string& path) { return FolderOf(path) + "/." + NameOf(path) + ".tmp"; }

bool WriteFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes a whole small file under a temporary name, flushes it and renames
// it into place, so that the name always holds an old or a new whole file.
bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string temp = TempPathFor(path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteFully(fd, bytes) && ::fdatasync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool ReadSmallFile(const std::string& path, std::string& bytes) {
  return ReadDrawingFileBytes(path, bytes);
}

bool MakeFolders(const std::string& folder) {
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = folder.find('/', pos + 1);
    partial = folder.substr(0, pos);
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The step line without its line end.
std::string StepText(const JournalInfo& info) {
  char digits[kStepDigits + 1];
  std::snprintf(digits, sizeof digits, "%0*d", kStepDigits, info.ViewMode ? std::max(info.ShownStep, 0) : 0);
  return std::string(info.ViewMode ? kViewWord : kDrawWord) + digits;
}

std::string InfoText(const JournalInfo& info) {
  std::string text(kInfoHeader);
  text += StepText(info);
  text += '\n';
  text += std::to_string(info.BaseCount);
  text += '\n';
  text += info.DataFileName;  // the rest of the file, whatever it holds
  return text;
}

JournalInfo ReadInfo(const std::string& journal) {
  JournalInfo info;
  std::string bytes;
  if (!ReadSmallFile(InfoPath(journal), bytes)) return info;
  const std::string_view text(bytes);
  size_t start = 0;
  bool viewMode = false;
  int32_t shownStep = 0;
  if (text.starts_with(kInfoHeader)) {
    start = kInfoHeader.size();
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return info;
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    // Anything but a whole view line (one torn by a power cut, say) means
    // the last step; the rest of the file holds all the same.
    if (line.starts_with(kViewWord)) {
      const char* digits = line.data() + kViewWord.size();
      const char* last = line.data() + line.size();
      int32_t step = 0;
      const auto r = std::from_chars(digits, last, step);
      if (r.ec == std::errc() && r.ptr == last && step >= 0) {
        viewMode = true;
        shownStep = step;
      }
    }
  } else if (text.starts_with(kInfoHeaderWithoutStep)) {
    start = kInfoHeaderWithoutStep.size();
  } else {
    return info;
  }
  const size_t lf = bytes.find('\n', start);
  if (lf == std::string::npos) return info;
  int32_t base = 0;
  const auto r = std::from_chars(bytes.data() + start, bytes.data() + lf, base);
  if (r.ec != std::errc() || r.ptr != bytes.data() + lf || base < 0) return info;
  info.BaseCount = base;
  info.DataFileName = bytes.substr(lf + 1);
  info.ViewMode = viewMode;
  info.ShownStep = shownStep;
  return info;
}

// A drawing file's text that reads without a word: no boxes, no questions.
bool ReadsQuietly(std::string_view text, int32_t* count) {
  AppState quiet;
  if (ReadHistory(quiet, std::string(text)) != 0) return false;
  if (count) *count = quiet.History.Count();
  return true;
}

// A new random part for a journal's name.
std::string RandomTag() {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
  char buf[17];
  const uint64_t v = random();
  for (int i = 0; i < 16; ++i) buf[i] = "0123456789abcdef"[(v >> (60 - 4 * i)) & 15];
  buf[16] = '\0';
  return buf;
}

}  // namespace

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
  ::unlink(InfoPath(Path).c_str());
  ::unlink(Path.c_str());
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
  for (const HistoryItem* a = history.Head->Next; a != nullptr; a = a->Next) {
    targets.Add(*a);
    const std::string block = ActionBlockText(*a, targets);
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
  m_last = history.Tail;
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
  for (const HistoryItem* a = history.Head->Next; a != nullptr; a = a->Next) m_targets.Add(*a);
  m_last = history.Tail;
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
  const HistoryItem* item = history.Tail;
  if (item == history.Head || history.Count() != m_count + 1 || item->Prev != m_last) {
    // Not one record more than written: the history changed behind the
    // journal's back. Written anew, all of it counted as unsaved.
    return Begin(FolderOf(m_path), history, JournalInfo{m_info.DataFileName, 0});
  }
  m_targets.Add(*item);
  const std::string block = ActionBlockText(*item, m_targets);
  if (block.empty() || !WriteFully(m_fd, block)) {
    // Whatever part of the block got written goes again, so that the file
    // keeps only whole records.
    if (::ftruncate(m_fd, static_cast<off_t>(m_size)) == 0) ::lseek(m_fd, static_cast<off_t>(m_size), SEEK_SET);
    return Fail();
  }
  m_size += block.size();
  ++m_count;
  m_last = item;
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
  ::unlink(InfoPath(m_path).c_str());
  ::unlink(m_path.c_str());
  SyncFolder(FolderOf(m_path));
  Close();
}

void ActionJournal::Recorded(const HistoryList& history, UserDialogs& dialogs) {
  if (m_fd < 0 || m_failed) return;
  if (!Append(history)) dialogs.ShowMessage(JournalFailedMessage);
}
