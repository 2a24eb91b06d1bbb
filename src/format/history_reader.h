// Reading a drawing file (.tlo) into the history.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "history/state.h"

// Where and why reading a drawing file stopped.
struct ReadFault {
  enum class Kind {
    NotADrawing,  // the first line is no header of ours
    BadRecord,    // a line that does not fit where it stands
    BadColour,    // a colour line that is no colour
  };
  Kind What = Kind::BadRecord;
  int64_t Line = 0;      // 1-based; one past the last line when the text ended
  bool AtEnd = false;    // the text ended where Expected should have stood
  std::string Expected;  // a line as written ("end FigData") or a field's label ("PenColor")
  std::string Found;     // the line found there (cut short); empty at the end
};

// What reading a drawing file came to. The reader only reads: it shows
// nothing and asks nothing; the window and the batch mode tell the user.
struct ReadReport {
  std::optional<ReadFault> Fault;  // none: the whole text was read
  // The names of ReadBG / ReadData records found nowhere (neither as
  // recorded nor by their bare name in the working folder), each once, in
  // the order of their first record. Those records keep the name as read.
  std::vector<std::string> MissingPictures;
};

// Reads a whole drawing file from `text` (the file's bytes) after the
// records of S.History() (none, unless a journal is read on top of its base
// file), and puts the history in place with LoadHistory: the drawing stands
// at step 0. 0 on success; 1 on failure, with the history emptied. What
// happened goes into `report` when one is given. Sets
// S.History().NextFigID to the largest of 1 and every TargetID read, and
// echoes what it reads into S.Memo while S.ShowProcess is on. The file name
// of a ReadBG / ReadData record is kept as the absolute path of the file
// found, as recorded or by its bare name in the working folder.
int ReadHistory(AppState& S, const std::string& text, ReadReport* report = nullptr);
// The same, reading the open file to its end first.
int ReadHistory(AppState& S, std::FILE* file, ReadReport* report = nullptr);

// Where a ReadBG / ReadData record's picture named `name` is: the recorded
// name when a file is there, else the same bare name in the working folder
// (the drawing may have been moved with its pictures), either as the
// absolute path of the file found, so that the record names it wherever the
// working folder goes later. None when neither is a file.
std::optional<std::string> FoundPicture(const std::string& name);

// The message that tells the user about `fault`: the program's own words
// ("ActionItem：読み込みエラー", …).
std::string ReadFaultMessage(const ReadFault& fault);
// Where reading stopped and what was expected there, for the message box;
// empty for a file that is no drawing at all (its first line is the fault).
std::string ReadFaultPlace(const ReadFault& fault);

// Drawing files larger than this are refused.
constexpr uint64_t MaxDrawingFileBytes = uint64_t{256} << 20;

// Reads the whole drawing file at `path` (a name in the file system's
// encoding) into `bytes`. Only a regular file, or a link to one, of at most
// MaxDrawingFileBytes is read; a folder, a device or a pipe is refused
// without ever waiting on it. False when refused or unreadable.
bool ReadDrawingFileBytes(const std::string& path, std::string& bytes);

// The file at `path` is a regular file whose first bytes are one of the
// drawing file's header lines: the test the desktop's file type makes on
// the content, so that every file it hands over as a drawing opens as one.
bool StartsWithDrawingHeader(const std::string& path);
