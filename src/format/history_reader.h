// Reading a drawing file (.tlo) into the history.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "history/state.h"

// Reads a whole drawing file from `text` (the file's bytes) into S.History,
// which the caller has emptied. 0 on success; 1 on failure, after the
// message has been shown through S.Dialogs and S.History emptied again.
// Sets S.History.NextFigID to the largest of 1 and every TargetID read, and
// echoes what it reads into S.Memo while S.ShowProcess is on. File names of
// ReadBG / ReadData records are located (question and OpenBGDialog).
int ReadHistory(AppState& S, const std::string& text);
// The same, reading the open file to its end first.
int ReadHistory(AppState& S, std::FILE* file);

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
