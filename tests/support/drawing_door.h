// The tests' one door into a drawing's fields. Tests make drawings through
// real actions, histories written record by record and put in place with
// LoadHistory (builders.h), and replay; this door is only for states that
// no action and no history can make. Who still uses it, and why:
//
//   core/record_actions_test    the ID counter set to its bounds in the middle
//                               of a session; a figure no record knows
//   core/resize_test            figures left on the canvas after every record
//                               that knew them was dropped
//   core/replay_walk_test       a figure list emptied behind the records'
//                               back, to show that the walk rebuilds
//   gui/resize_slider_test      a stamp no record knows
//   gui/auto_play_test          recorded times rewritten after drawing; a
//                               history far longer than a test can draw
//   gui/perf_paint_test, gui/render_figure_pictures_test, bench/bench_paint
//                               figure lists filled and shuffled at random
//                               for the painters, with no history at all
//
// .ci/check-drawing-writes.py lets no other test file use it.
#pragma once

#include "history/drawing_write.h"
