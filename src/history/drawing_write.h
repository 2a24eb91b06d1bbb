// Write access to a drawing's fields, for the code of history/ only: the
// replay, the actions and the loading of a history. Everyone else changes a
// drawing through those (.ci/check-drawing-writes.py checks it).
#pragma once

#include "history/drawing.h"

inline Drawing::Fields& Writable(Drawing& drawing) { return drawing.D; }
