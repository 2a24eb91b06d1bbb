// The tests' one door into a drawing's fields. Tests make drawings through
// real actions (builders.h) and replay; this door is only for states that no
// action can make: histories as damaged or hand-edited files hold them
// (records naming missing figures, branches beyond themselves, ID counters
// at their bounds), figure lists that the paint tests fill at random, and a
// figure changed behind the records' back to show that replay does not
// share it. .ci/check-drawing-writes.py lets no other test file use it.
#pragma once

#include "history/drawing_write.h"
