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
#include "io/video_writer.h"

enum class VideoExportResult { Done, Cancelled, Failed };

// Writes the video of every step at `path` in `format`. The frames are the
// pictures of the numbered series (from the blank background, as the view
// mode starts), rendered and encoded one at a time: no frame is kept. For a
// GIF the palette is taken from the last step first. The file appears at
// `path` only when complete; an existing one becomes its backup first when
// `backup` is set. `progress(n, count)` runs before step n and may return
// false to cancel: nothing is left behind then. A failure shows its error
// box through S.Dialogs. Afterwards CurrentStep is the last record and the
// drawing is rebuilt for it, whatever happened. An empty history writes
// nothing and is done.
VideoExportResult ExportVideo(AppState& S, const QImage& workBitmap, const QString& path, VideoFormat format,
                               const ReplayPace& pace, bool backup,
                               const std::function<bool(int n, int count)>& progress = {});
