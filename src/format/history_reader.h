// Reading a drawing file (.tlo) into the history.
#pragma once

#include <cstdio>
#include <string>

#include "history/state.h"

// Reads a whole drawing file from `text` (the file's bytes) into S.History,
// which the caller has emptied. 0 on success; 1 on failure, after the
// message has been shown through S.Dialogs and S.History emptied again.
// Sets S.History.NextFigID to the largest of 1 and every TargetID read, and
// echoes what it reads into S.Memo while S.ShowProcess is on. File names of
// ReadBG / ReadData records are located (question and OpenBGDialog).
int ReadHistory(TTamloState& S, const std::string& text);
// The same, reading the open file to its end first.
int ReadHistory(TTamloState& S, std::FILE* file);
