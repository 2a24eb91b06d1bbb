// The window's background and export commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QProgressDialog>
#include <algorithm>

#include "history/actions.h"
#include "history/savehistory.h"
#include "io/exports.h"
#include "io/file_replace.h"
#include "io/picture.h"
#include "io/replay_walker.h"
#include "io/video_export.h"
#include "ui/main_window.h"
#include "ui/video_pace_dialog.h"

const char* const kVideoDoneText = "どうがを かきだしました";

void MainWindow::ReadBGMenuClick() {
  if (!S.Dialogs->Execute(S.OpenBGDialog)) return;
  const QString path = QString::fromStdString(S.OpenBGDialog.FileName);
  if (!PictureNameFitsDrawing(*S.Dialogs, path)) return;
  // A missing file is passed over silently; a damaged one has shown its box.
  if (Pictures.LoadBGPicture(path.toStdString()) != 0) return;
  SetBackground(S, path.toStdString());
  PaintBoxPaint();
}

void MainWindow::ClearMenuClick(ActionKind clearing) {
  const bool background = clearing == ActionKind::ClearAll || clearing == ActionKind::ClearBG;
  const bool figures = clearing == ActionKind::ClearAll || clearing == ActionKind::ClearDrawing;
  if (!background && !figures) return;

  ClearDrawing(S, clearing);
  if (background) Pictures.BlankBGImage();
  if (figures) BlankStampImage();  // the undo store went too: nothing cleared comes back
  PaintBoxPaint();
}

void MainWindow::CaptureMenuClick() {
  PaintBoxPaint();  // the selection frame, if any, is part of the copy
  QGuiApplication::clipboard()->setImage(Pictures.WorkBitmap);
}

bool MainWindow::ChooseExportFile(FileDialog& dialog) {
  CommitPreview(S);
  if (!S.Dialogs->Execute(dialog)) return false;
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  return true;
}

void MainWindow::RunWithProgress(const std::function<void(const ExportProgress&)>& work) {
  setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QProgressDialog progress(this);
  progress.setObjectName("ExportProgress");
  progress.setWindowTitle(QString::fromStdString(S.VersionText));
  progress.setCancelButtonText(tr("キャンセル"));
  progress.setMinimumDuration(0);
  progress.setRange(0, std::max(S.History().Count(), 1));
  // The window takes no input meanwhile, but its progress box does: a
  // window of its own, it is enabled again after its parent was disabled.
  progress.setEnabled(true);
  work([&](const QString& doing, int n, int count) {
    if (progress.wasCanceled()) return false;
    if (progress.maximum() != count) progress.setRange(0, count);
    progress.setLabelText(QStringLiteral("%1（%2 / %3）").arg(doing).arg(n).arg(count));
    progress.setValue(n - 1);
    // Shows the progress and lets the Cancel button be pressed; the
    // disabled window ignores what it is sent.
    QCoreApplication::processEvents();
    if (OnExportProgress) OnExportProgress(progress, n);
    return !progress.wasCanceled();
  });
  progress.close();
  QApplication::restoreOverrideCursor();
  setEnabled(true);
}

void MainWindow::SaveScreenBmpMenuClick() {
  if (!ChooseExportFile(S.SaveBGDialog)) return;
  ExportPicture(*S.Dialogs, QString::fromStdString(S.SaveBGDialog.FileName), Pictures.WorkBitmap, PictureKind::BMP);
}

void MainWindow::SaveScreenJpegMenuClick() {
  if (!ChooseExportFile(S.SaveJPEGBGDialog)) return;
  ExportPicture(*S.Dialogs, QString::fromStdString(S.SaveJPEGBGDialog.FileName), Pictures.WorkBitmap,
                PictureKind::JPEG);
}

void MainWindow::SaveAllProcessMenuClick() {
  // The series is made on a copy of the drawing: the selection, the step
  // shown and the canvas stay as they are.
  CommitPreview(S);
  if (!S.Dialogs->Execute(S.SaveJPEGBGDialog)) return;
  // The chosen file itself is never written: it names the folder and the
  // base of the numbered names.
  const std::string base = ProcessPictureBase(S.SaveJPEGBGDialog.FileName);
  if (S.History().Count() == 0) return;
  if (!ConfirmProcessExport(*S.Dialogs, S.History().Count())) return;
  ReplayWalker walker(S.History(), *S.Dialogs);
  RunWithProgress([&](const ExportProgress& progress) {
    ExportProcess(walker, *S.Dialogs, base,
                  [&](int n, int count) { return progress(QStringLiteral("えを かきだしています"), n, count); });
  });
}

void MainWindow::SaveVideoMenuClick() {
  // As the series: on a copy of the drawing, the window stays as it is.
  CommitPreview(S);
  if (!S.Dialogs->Execute(S.SaveVideoDialog)) return;
  QString path = QString::fromStdString(S.SaveVideoDialog.FileName);
  // A name of neither type gets the extension of the type chosen in the
  // dialog.
  VideoFormat format = VideoFormat::MP4;
  if (!VideoFormatOf(path, format)) {
    static constexpr struct {
      VideoFormat format;
      const char* extension;
    } kTypes[] = {{VideoFormat::MP4, ".mp4"}, {VideoFormat::GIF, ".gif"}, {VideoFormat::WebM, ".webm"}};
    const auto& type = kTypes[std::clamp(S.SaveVideoDialog.FilterIndex, 1, int(std::size(kTypes))) - 1];
    format = type.format;
    path += QLatin1String(type.extension);
  }
  // A drawing without steps gives one frame, the blank canvas, as the
  // batch mode writes it.
  // The choices of --pace and --hold, kept for the next video.
  if (!VideoPaceDialog::Ask(this, S.History(), m_videoPace)) return;
  ReplayWalker walker(S.History(), *S.Dialogs);
  VideoExportResult result = VideoExportResult::Cancelled;
  RunWithProgress([&](const ExportProgress& progress) {
    result = ExportVideo(walker, *S.Dialogs, path, format, m_videoPace, true, [&](VideoPass pass, int n, int count) {
      return progress(pass == VideoPass::Colours ? QStringLiteral("いろを しらべています")
                                                 : QStringLiteral("どうがを かきだしています"),
                      n, count);
    });
  });
  if (result == VideoExportResult::Done) S.Dialogs->ShowMessage(kVideoDoneText);
}
