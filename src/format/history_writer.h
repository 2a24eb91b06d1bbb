// Writing the history as a drawing file (.tlo).
#pragma once

#include <cstdio>
#include <string>

#include "history/state.h"

// The whole file for `history`: header and one block per record, CR LF line
// ends, texts in CP932 (or the whole file in UTF-8 when a text cannot be
// represented in CP932).
std::string HistoryFileText(const THistoryList& history);
// Writes it to an open file. 1 when the history is empty (header only),
// else 0.
int WriteHistory(const THistoryList& history, std::FILE* file);
