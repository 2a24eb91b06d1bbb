#include "io/video_export.h"

#include "history/play.h"

namespace {

// Whatever happened, the drawing goes on from the complete history.
void BackToTheEnd(AppState& S) {
  if (!S.AtLastStep()) {
    S.CurrentStep = S.History.Count();
    GoToStep(S);
  }
}

}  // namespace

VideoExportResult ExportVideo(AppState& S, const QImage& workBitmap, const QString& path, VideoFormat format,
                               const ReplayPace& pace, bool backup,
                               const std::function<bool(int, int)>& progress) {
  const int count = S.History.Count();
  if (count == 0) return VideoExportResult::Done;
  // As the numbered series: the film starts from the blank background, not
  // from one loaded through the menu that the replay does not know of.
  S.Pictures->BlankBGImage();
  S.ShownBGFileName.clear();

  VideoWriter writer;
  VideoResult r = writer.Open(path.toStdString(), format, workBitmap.width(), workBitmap.height());
  if (r.Ok && format == VideoFormat::GIF) {
    // The last step holds (nearly) every colour of the drawing.
    S.CurrentStep = S.History.Count();
    GoToStep(S);
    writer.AddPaletteSource(workBitmap);
  }
  bool cancelled = false;
  int n = 1;
  for (; r.Ok && n <= S.History.Count(); ++n) {
    if (progress && !progress(n, count)) {
      cancelled = true;
      break;
    }
    S.CurrentStep = n;
    GoToStep(S);
    r = writer.AddFrame(workBitmap, StepSeconds(pace, S.History, n));
  }
  if (r.Ok && !cancelled) r = writer.Finish(backup);
  if (cancelled || !r.Ok) writer.Cancel();
  BackToTheEnd(S);
  if (cancelled) return VideoExportResult::Cancelled;
  if (!r.Ok) {
    S.Dialogs->ShowError(r.Error);
    return VideoExportResult::Failed;
  }
  return VideoExportResult::Done;
}
