// Asking the user where the pictures are that a drawing names and that
// reading it did not find (ReadReport::MissingPictures). The window asks
// through its dialogs; the batch mode's dialogs answer no, on stderr.
#pragma once

#include <string>
#include <vector>

#include "history/state.h"

// For each missing name in turn: found now (an earlier answer moved the
// working folder), or else the user is asked whether to point at it and
// `openBG` is run on its bare name. A file chosen there makes its folder the
// working folder, as a dialog that returns a file does. Every ReadBG /
// ReadData record of that name then names the file found or chosen; a name
// the user leaves is kept as read.
void AskForMissingPictures(AppState& S, const std::vector<std::string>& missing, UserDialogs& dialogs,
                           FileDialog& openBG);
