#include "io/video_export.h"

namespace {

// The frame of the step the walker stands at: shown as the pace says, a
// drawing without steps as a last step is.
double FrameSeconds(const ReplayPace& pace, const HistoryList& history, int step) {
  if (step == 0) return StepSeconds(pace, TimeOfDay{}, nullptr);
  return StepSeconds(pace, history, step);
}

}  // namespace

double VideoSeconds(const HistoryList& history, const ReplayPace& pace) {
  if (history.Count() == 0) return FrameSeconds(pace, history, 0);
  double seconds = 0;
  for (int n = 1; n <= history.Count(); ++n) seconds += StepSeconds(pace, history, n);
  return seconds;
}

VideoExportResult ExportVideo(ReplayWalker& walker, UserDialogs& dialogs, const QString& path, VideoFormat format,
                              const ReplayPace& pace, bool backup,
                              const std::function<bool(VideoPass, int, int)>& progress) {
  const HistoryList& history = walker.State().History();
  const int count = history.Count();
  // The frames of a walk: step 1 to the last, or the blank canvas alone.
  const int frames = std::max(count, 1);
  bool cancelled = false;
  // Walks every step; `each` gets the picture of each frame and its step.
  const auto walk = [&](VideoPass pass, const std::function<bool(const QImage&, int)>& each) {
    walker.Restart();
    for (int n = 1; n <= frames; ++n) {
      if (progress && !progress(pass, n, frames)) {
        cancelled = true;
        return false;
      }
      if (count > 0) walker.Next();
      if (!each(walker.Picture(), walker.Step())) return false;
    }
    return true;
  };

  VideoWriter writer;
  const QImage& picture = walker.Picture();
  VideoResult r = writer.Open(path.toStdString(), format, picture.width(), picture.height());
  if (r.Ok && format == VideoFormat::GIF) {
    // The palette is made from every frame's colours before the first
    // frame is written.
    walk(VideoPass::Colours, [&](const QImage& frame, int) {
      r = writer.AddPaletteSource(frame);
      return r.Ok;
    });
  }
  if (r.Ok && !cancelled) {
    walk(VideoPass::Frames, [&](const QImage& frame, int step) {
      r = writer.AddFrame(frame, FrameSeconds(pace, history, step));
      return r.Ok;
    });
  }
  if (r.Ok && !cancelled) r = writer.Finish(backup);
  if (cancelled || !r.Ok) writer.Cancel();
  if (cancelled) return VideoExportResult::Cancelled;
  if (!r.Ok) {
    dialogs.ShowError(r.Error);
    return VideoExportResult::Failed;
  }
  return VideoExportResult::Done;
}
