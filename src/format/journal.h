// The journal: every recorded action of a running window, written to the
// disk the moment it is recorded, so that a crash, a power cut or a killed
// process loses nothing that was drawn.
//
// A journal is a drawing file (.tlo) itself: the header, then one block per
// record, appended and flushed (fdatasync) one by one, always in UTF-8. It
// starts with the whole history of the moment (after a load or a save), so
// it replays the drawing on its own. A side file "<journal>.info" keeps
// what the window needs besides: the drawing's file name, how many of the
// records are in that file already ("base"), and the step the view mode
// shows. Journals live in
// $XDG_STATE_HOME/tamlo (default ~/.local/state/tamlo), one per window,
// named journal-*.tlo, each locked (flock) by its window while it runs: a
// journal that can be locked was left behind by a window that is gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "format/format_text.h"
#include "history/history.h"
#include "history/ports.h"

// The folder of the journals: $XDG_STATE_HOME/tamlo when that variable is
// an absolute path, else $HOME/.local/state/tamlo; "" when neither is known.
std::string JournalFolder();

// The drawing's file on the disk as the window last read or wrote it. A
// save replaces the file by a new one (a rename), so a file saved since by
// another window, or restored from a backup, has another stamp.
struct FileStamp {
  int64_t Size = -1;  // -1: not known (no file, or a side file that lacks it)
  int64_t ModifiedNs = 0;
  uint64_t Device = 0;
  uint64_t Inode = 0;
  bool Known() const { return Size >= 0; }
  bool operator==(const FileStamp&) const = default;
};
// The stamp of the file at `path` now; not known when there is none.
FileStamp StampOfFile(const std::string& path);

// What the side file holds.
struct JournalInfo {
  std::string DataFileName;  // the drawing's file; "" = never saved
  int32_t BaseCount = 0;     // records that are in that file already
  FileStamp DataFileStamp;   // that file when the journal began from it
  // The first FromBase records are not in the journal but in its base,
  // "<journal>.base": the drawing's file as opened or saved (a second name
  // of it, or a copy where no second name can be made), so that opening a
  // large drawing never waits for it to be written again. 0: the journal
  // holds every record; -1: not known (a side file that does not read).
  int32_t FromBase = 0;
  // The window was in the view mode, showing the first ShownStep records
  // (0: the empty canvas). Outside the view mode the last step is shown.
  bool ViewMode = false;
  int32_t ShownStep = 0;
};

// What can be read of a journal's bytes: its longest start that is a
// readable drawing file ending with a whole record. Records are read from
// the first on, up to the first that does not read: what a crash in the
// middle of a write leaves readable, and what a journal damaged anywhere
// still holds before the damage.
struct JournalScan {
  size_t Length = 0;  // the header alone counts; 0 when not even it is whole
  int32_t Count = 0;  // records in that start, with those of the base
  int32_t BaseCount = 0;  // records in the base
  // Beyond it lies a whole block that did not read (a damage, not a torn
  // last block): the journal holds more than can be read.
  bool Damaged = false;
};
// `base`: the text (UTF-8) of the drawing file whose records come before
// the journal's; a base that does not read makes the whole journal damaged.
JournalScan ScanJournal(const std::string& bytes, const std::string& base = std::string());
// The scan's length alone; `count` (when given) receives its records.
size_t WholeJournalLength(const std::string& bytes, int32_t* count = nullptr);

// A journal whose window is gone, found at start. It stays locked by this
// process while the object lives, so no other window takes it meanwhile.
class LeftJournal {
 public:
  std::string Path;
  int64_t ModifiedNs = 0;  // last write, for "newest first"
  JournalInfo Info;
  std::string Text;  // what can be read: the journal without a torn last block or a damage
  int32_t Count = 0;  // records in Text
  bool Damaged = false;  // the file holds more than Text, damaged (see JournalScan)
  // The base could not be read (gone, replaced, damaged): nothing of the
  // journal can be read, it is kept as it is.
  bool BaseMissing = false;

  LeftJournal() = default;
  LeftJournal(LeftJournal&& other) noexcept;
  LeftJournal& operator=(LeftJournal&& other) noexcept;
  ~LeftJournal();

  // Actions that are in no file: worth asking about.
  bool HasUnsaved() const { return Count > Info.BaseCount; }
  // Keeps the drawing as a normal drawing file in the journal's folder,
  // named after the time of its last action (tamlo-YYYY-MM-DD-HHMMSS.tlo,
  // "-2", "-3" … when taken), and removes the journal. A damaged journal
  // is kept whole, as it is, to be mended by hand. The new path, or ""
  // when it could not be made (the journal then stays where it is).
  std::string Keep();
  // Removes the journal and its side file.
  void Remove();

 private:
  friend class ActionJournal;
  friend std::vector<LeftJournal> FindLeftJournals(const std::string& folder);
  int m_fd = -1;
  size_t m_length = 0;  // the whole records' bytes in the journal file itself
  std::string m_rest;   // a damaged journal's bytes after them
  bool m_baseFromFile = false;  // the base read is the drawing's file itself
  void Close();
};

// Every journal in `folder` whose window is gone, newest first. Journals
// known to hold no action beyond their base (the drawing is in its file, or
// there was none) are removed on the way; a damaged one never is. In a
// folder that cannot be written the journals are still found and read.
std::vector<LeftJournal> FindLeftJournals(const std::string& folder);

// The journal of one window.
class ActionJournal : public ActionLog {
 public:
  ActionJournal() = default;
  ~ActionJournal() override;  // closes it; the files stay (only Remove deletes them)
  ActionJournal(const ActionJournal&) = delete;
  ActionJournal& operator=(const ActionJournal&) = delete;

  // Makes a new journal in `folder` (created when missing) holding
  // `history`, its first `savedCount` records (all when negative) counted
  // as in `dataFileName`, which looked as `stamp` says. False when the
  // folder or the file cannot be made or written; the journal is then off.
  bool Start(const std::string& folder, const HistoryList& history, const std::string& dataFileName,
             const FileStamp& stamp = FileStamp(), int32_t savedCount = -1);
  // Goes on with a left-behind journal whose records `history` now holds:
  // the torn last block, if any, is cut off, and later records follow it.
  bool Adopt(LeftJournal&& left, const HistoryList& history);
  // Writes the journal anew: `history`, all of it in `dataFileName` (after
  // a load or a save), as a new file that replaces the old one. A crash at
  // any moment of it leaves the old journal, the new one or both. Given
  // `fileBytes`, the file's bytes as read or written, whose records read
  // back exactly as `history`, the new journal begins from the file itself:
  // a second name of it when the file is still as `stamp` says, else a copy
  // of the bytes (taken from `fileBytes`) made on a thread of its own.
  // Otherwise it holds every record itself.
  bool Restart(const HistoryList& history, const std::string& dataFileName, const FileStamp& stamp = FileStamp(),
               std::string* fileBytes = nullptr);
  // Appends the history's last record and flushes it to the disk
  // (fdatasync) before returning, so that it outlives a kill as well as a
  // power cut. A history that changed behind the journal's back (other than
  // by one record) is written anew instead. False when the record could not
  // be written or flushed; the journal is then off.
  bool Append(const HistoryList& history);
  // Notes what the window shows: in the view mode, the first `step`
  // records; outside it, the last step. Written over its place in the side
  // file without a flush (a step costs no disk wait); a crash or a kill
  // keeps it, a power cut may give back an earlier one. Never fails the
  // journal.
  void ShowStep(bool viewMode, int32_t step);
  // Deletes the journal's files; the journal is off.
  void Remove();

  // The recording path's call: appends the new record; the first failure
  // tells the user once, then the window goes on without the journal.
  void Recorded(const HistoryList& history, UserDialogs& dialogs) override;

  // Writing: started and not failed.
  bool Active() const { return m_fd >= 0 && !m_failed; }
  const std::string& Path() const { return m_path; }
  int32_t Count() const { return m_count; }
  // Records held in the base rather than in the journal file.
  int32_t FromBase() const { return m_info.FromBase; }
  // Waits for the copy of the base, if one is being made.
  void WaitForBase();
  // What the side file says the window shows.
  bool ViewMode() const { return m_info.ViewMode; }
  int32_t ShownStep() const { return m_info.ShownStep; }

 private:
  int m_fd = -1;
  std::string m_path;
  JournalInfo m_info;
  int32_t m_count = 0;  // records in the file
  uint64_t m_size = 0;  // bytes in the file
  const Action* m_last = nullptr;  // the history's record written last
  ChangeTargets m_targets;
  bool m_failed = false;
  int m_infoFd = -1;  // the side file, for the step shown; -1 when it could not be opened

  std::thread m_copier;  // writing the base's copy

  bool Begin(const std::string& folder, const HistoryList& history, const JournalInfo& info,
             std::string* fileBytes = nullptr);
  void OpenInfo();
  bool Fail();
  void Close();
};

// The message shown once when the journal cannot be written.
extern const char* const JournalFailedMessage;
