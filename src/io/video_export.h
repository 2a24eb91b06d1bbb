// The time-lapse video of a whole drawing: every step of its history as the
// view mode shows it, one frame a step, each shown for the time the pace
// gives it, written with VideoWriter. Shared by the window's menu command
// and the batch mode.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "history/replay_pace.h"
#include "history/state.h"
#include "io/replay_walker.h"
#include "io/video_writer.h"

enum class VideoExportResult { Done, Cancelled, Failed };

// The walks of a video: a GIF looks at every step's colours first (its one
// palette is made from them), then writes the frames; an MP4 writes them.
enum class VideoPass { Colours, Frames };

// Writes the video of every step at `path` in `format`. The frames are the
// pictures of the numbered series, made by `walker` (which starts at step 0
// and is left at the last step; the drawing it was copied from is never
// touched), rendered and encoded one at a time: no frame is kept. A drawing
// with no steps gives one frame, the blank canvas, shown as a last step is.
// The file appears at `path` only when complete; an existing one becomes
// its backup first when `backup` is set. `progress(pass, n, count)` runs
// before step n of a pass (n from 1 to count) and may return false to
// cancel: nothing is left behind then. A failure shows its error box
// through `dialogs`.
VideoExportResult ExportVideo(ReplayWalker& walker, UserDialogs& dialogs, const QString& path, VideoFormat format,
                              const ReplayPace& pace, bool backup,
                              const std::function<bool(VideoPass pass, int n, int count)>& progress = {});

// How long the video of `history` at `pace` lasts, in seconds.
double VideoSeconds(const HistoryList& history, const ReplayPace& pace);
