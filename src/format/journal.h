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
#include <vector>

#include "format/format_text.h"
#include "history/history.h"
#include "history/ports.h"

// The folder of the journals: $XDG_STATE_HOME/tamlo when that variable is
// an absolute path, else $HOME/.local/state/tamlo; "" when neither is known.
std::string JournalFolder();

// What the side file holds.
struct JournalInfo {
  std::string DataFileName;  // the drawing's file; "" = never saved
  int32_t BaseCount = 0;     // records that are in that file already
  // The window was in the view mode, showing the first ShownStep records
  // (0: the empty canvas). Outside the view mode the last step is shown.
  bool ViewMode = false;
  int32_t ShownStep = 0;
};

// The length of the longest start of a journal's bytes that is a readable
// drawing file ending with a whole record: what a crash in the middle of a
// write leaves readable. The header alone counts; 0 when not even the
// header is whole. `count` (when given) receives the number of records.
size_t WholeJournalLength(const std::string& bytes, int32_t* count = nullptr);

// A journal whose window is gone, found at start. It stays locked by this
// process while the object lives, so no other window takes it meanwhile.
class LeftJournal {
 public:
  std::string Path;
  int64_t ModifiedNs = 0;  // last write, for "newest first"
  JournalInfo Info;
  std::string Text;  // the journal without any torn last block
  int32_t Count = 0;  // records in Text

  LeftJournal() = default;
  LeftJournal(LeftJournal&& other) noexcept;
  LeftJournal& operator=(LeftJournal&& other) noexcept;
  ~LeftJournal();

  // Actions that are in no file: worth asking about.
  bool HasUnsaved() const { return Count > Info.BaseCount; }
  // Keeps the drawing as a normal drawing file in the journal's folder,
  // named after the time of its last action (tamlo-YYYY-MM-DD-HHMMSS.tlo,
  // "-2", "-3" … when taken), and removes the journal. The new path, or ""
  // when it could not be made (the journal then stays).
  std::string Keep();
  // Removes the journal and its side file.
  void Remove();

 private:
  friend class ActionJournal;
  friend std::vector<LeftJournal> FindLeftJournals(const std::string& folder);
  int m_fd = -1;
  void Close();
};

// Every journal in `folder` whose window is gone, newest first. Journals
// holding no action beyond their base, or not even a whole header, are
// removed on the way (the drawing is in its file, or there was none).
std::vector<LeftJournal> FindLeftJournals(const std::string& folder);

// The journal of one window.
class ActionJournal : public ActionLog {
 public:
  ActionJournal() = default;
  ~ActionJournal() override;  // closes it; the files stay (only Remove deletes them)
  ActionJournal(const ActionJournal&) = delete;
  ActionJournal& operator=(const ActionJournal&) = delete;

  // Makes a new journal in `folder` (created when missing) holding
  // `history`, all of it counted as in `dataFileName`. False when the folder
  // or the file cannot be made or written; the journal is then off.
  bool Start(const std::string& folder, const HistoryList& history, const std::string& dataFileName);
  // Goes on with a left-behind journal whose records `history` now holds:
  // the torn last block, if any, is cut off, and later records follow it.
  bool Adopt(LeftJournal&& left, const HistoryList& history);
  // Writes the journal anew: `history`, all of it in `dataFileName` (after
  // a load or a save), as a new file that replaces the old one. A crash at
  // any moment of it leaves the old journal, the new one or both.
  bool Restart(const HistoryList& history, const std::string& dataFileName);
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

  bool Begin(const std::string& folder, const HistoryList& history, const JournalInfo& info);
  void OpenInfo();
  bool Fail();
  void Close();
};

// The message shown once when the journal cannot be written.
extern const char* const JournalFailedMessage;
