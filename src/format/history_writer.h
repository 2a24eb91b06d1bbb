// Writing the history as a drawing file (.tlo).
#pragma once

#include <cstdio>
#include <string>

#include "format/format_text.h"
#include "history/state.h"

// The whole file for `history`: header and one block per record, CR LF line
// ends, texts in CP932 (or the whole file in UTF-8 when a text cannot be
// represented in CP932). "" when a text or a file name holds a line break
// (CR or LF): the file keeps each on one line, so such a record would not
// read back, and nothing is written rather than a file that cannot load.
std::string HistoryFileText(const HistoryList& history);
// Writes it to an open file. 1 when the history is empty (header only),
// 2 (nothing written) when the history cannot be written, else 0.
int WriteHistory(const HistoryList& history, std::FILE* file);

// The pieces of that text in UTF-8, for writers that add to a file record
// by record: the header line, and one record's block ("" when a text or a
// file name holds a line break). `targets` must index every record up to
// and including `record`. The header and the blocks of all records, joined,
// are the whole file's text before its code page is chosen.
std::string HistoryHeaderText();
std::string ActionBlockText(const Action& record, const ChangeTargets& targets);
