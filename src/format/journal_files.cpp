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

namespace journal_files {

bool IsJournalName(std::string_view name) {
  return name.size() > kJournalPrefix.size() + kJournalSuffix.size() && name.starts_with(kJournalPrefix) &&
         name.ends_with(kJournalSuffix);
}

std::string InfoPath(const std::string& journal) { return journal + std::string(kInfoSuffix); }

std::string BasePath(const std::string& journal) { return journal + std::string(kBaseSuffix); }

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
  text += kStampWord;
  const FileStamp& f = info.DataFileStamp;
  if (f.Known())
    text += std::to_string(f.Size) + " " + std::to_string(f.ModifiedNs) + " " + std::to_string(f.Device) + " " +
            std::to_string(f.Inode);
  else
    text += '-';
  text += '\n';
  text += kFromWord;
  text += std::to_string(info.FromBase);
  text += '\n';
  text += info.DataFileName;  // the rest of the file, whatever it holds
  return text;
}

namespace {

// One number and the space after it (none after the last).
template <typename T>
bool TakeNumber(std::string_view& text, T& value, bool last) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc()) return false;
  text.remove_prefix(static_cast<size_t>(r.ptr - text.data()));
  if (last) return text.empty();
  if (!text.starts_with(' ')) return false;
  text.remove_prefix(1);
  return true;
}

FileStamp ParseStamp(std::string_view line) {
  FileStamp stamp;
  if (!line.starts_with(kStampWord)) return stamp;
  line.remove_prefix(kStampWord.size());
  FileStamp read;
  if (TakeNumber(line, read.Size, false) && TakeNumber(line, read.ModifiedNs, false) &&
      TakeNumber(line, read.Device, false) && TakeNumber(line, read.Inode, true) && read.Size >= 0)
    stamp = read;
  return stamp;
}

}  // namespace

JournalInfo ReadInfo(const std::string& journal) {
  std::string bytes;
  if (!ReadSmallFile(InfoPath(journal), bytes)) return JournalInfo();
  return ParseInfo(bytes);
}

JournalInfo ParseInfo(std::string_view text) {
  JournalInfo info;
  // The next line, without its line end; false when there is none.
  const auto nextLine = [&text](std::string_view& line) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return true;
  };
  bool viewMode = false;
  int32_t shownStep = 0;
  const bool withStamp = text.starts_with(kInfoHeader);
  // A present side file that does not read to its end cannot say how many
  // records its journal's base holds, so nothing of the journal is read.
  if (withStamp) info.FromBase = -1;
  if (withStamp || text.starts_with(kInfoHeaderWithoutStamp)) {
    text.remove_prefix(kInfoHeader.size());
    std::string_view line;
    if (!nextLine(line)) return info;
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
    text.remove_prefix(kInfoHeaderWithoutStep.size());
  } else {
    return info;
  }
  std::string_view line;
  if (!nextLine(line)) return info;
  int32_t base = 0;
  const auto r = std::from_chars(line.data(), line.data() + line.size(), base);
  if (r.ec != std::errc() || r.ptr != line.data() + line.size() || base < 0) return info;
  FileStamp stamp;
  int32_t fromBase = 0;
  if (withStamp) {
    if (!nextLine(line)) return info;
    stamp = ParseStamp(line);
    if (!nextLine(line)) return info;
    fromBase = -1;
    if (line.starts_with(kFromWord)) {
      line.remove_prefix(kFromWord.size());
      int32_t n = 0;
      if (TakeNumber(line, n, true) && n >= 0) fromBase = n;
    }
  }
  info.BaseCount = base;
  info.FromBase = fromBase;
  info.DataFileStamp = stamp;
  info.DataFileName = std::string(text);
  info.ViewMode = viewMode;
  info.ShownStep = shownStep;
  return info;
}

// A drawing file's text that reads without a word: no boxes, no questions.
bool ReadsQuietly(std::string_view text, int32_t* count) {
  AppState quiet;
  if (ReadHistory(quiet, std::string(text)) != 0) return false;
  if (count) *count = quiet.History().Count();
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


}  // namespace journal_files
