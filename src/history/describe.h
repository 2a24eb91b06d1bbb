// The internal process display: an English description of every record.
#pragma once

#include <string>
#include <vector>

#include "history/state.h"

// The lines that describe one record, the closing empty line included;
// nothing for a record of kind ActionKind::None.
std::vector<std::string> DescribeAction(const Action& record);
// Appends the description to S.Memo while S.ShowProcess is on.
void ShowAction(AppState& S, const Action& record);
