// Background picture commands and picture exports.
#include "io/exportcmd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QProgressDialog>

#include "history/play.h"
#include "history/savehistory.h"
#include "io/filecommands.h"
#include "io/picture.h"
#include "ui/Unit1.h"

namespace {

TPictureResult WritePicture(const QString& path, const QImage& image, TPictureKind kind) {
  return kind == pkBMP ? WriteBMP32(path.toStdString(), image) : WriteJPEG(path.toStdString(), image);
}

// Writes the picture to a temporary file that then takes the place of
// `path` (a link there is replaced, not followed). On failure the error
// box names `path`, never the temporary file.
bool ReplaceWithPicture(TDialogs& dialogs, const QString& path, bool backup, const QImage& image,
                        TPictureKind kind) {
  std::string error;
  QString temp;
  const bool ok = ReplaceFile(
      path, backup,
      [&](const QString& tempPath) {
        const TPictureResult r = WritePicture(tempPath, image, kind);
        if (!r.Ok) error = r.Error;
        return r.Ok;
      },
      &temp);
  if (ok) return true;
  QString text = error.empty() ? QString::fromStdString(CannotCreateText(path.toStdString())) : QString::fromStdString(error);
  if (!temp.isEmpty()) text.replace(temp, path);
  dialogs.ShowError(text.toStdString());
  return false;
}

}  // namespace

bool ExportPicture(TDialogs& dialogs, const QString& path, const QImage& image, TPictureKind kind) {
  return ReplaceWithPicture(dialogs, path, IsFileAt(path), image, kind);
}

bool ConfirmProcessExport(TDialogs& dialogs, int count) {
  if (count <= kLongProcessSeries) return true;
  const std::string text = "ぜんぶで " + std::to_string(count) + " まいの えを かきだします。よろしいですか？";
  return dialogs.Ask(text, "かくにん", qbYesNo) == mrYes;
}

bool ExportProcess(TTamloState& S, const QImage& workBitmap, const std::string& base,
                   const std::function<bool(int, int)>& progress) {
  const int count = S.History.Count();
  if (count == 0) return true;
  // The view mode starts from a blank background; so does the series. A
  // background loaded through the menu or a drop is on the picture without
  // being known to the replay, and would otherwise show in the steps before
  // the one that loaded it.
  S.Pictures->BlankBGImage();
  S.ShownBGFileName.clear();
  bool ok = true;
  int n = 1;
  for (TActionItem* item = S.History.Head->Next; item; item = item->Next, ++n) {
    if (progress && !progress(n, count)) {
      ok = false;
      break;
    }
    S.CurrentStep = item;
    GoToStep(S);
    const QString name = QString::fromStdString(ProcessPictureName(base, n));
    if (!ReplaceWithPicture(*S.Dialogs, name, false, workBitmap, pkJPEG)) {
      ok = false;
      break;
    }
  }
  // Whatever happened, the drawing goes on from the complete history.
  if (S.CurrentStep != S.History.Tail) {
    S.CurrentStep = S.History.Tail;
    GoToStep(S);
  }
  return ok;
}

// ---- The window's commands ----

void TTamloForm::ReadBGMenuClick() {
  if (!S.Dialogs->Execute(S.OpenBGDialog)) return;
  const QString path = QString::fromStdString(S.OpenBGDialog.FileName);
  // A missing file is passed over silently; a damaged one has shown its box.
  if (Pictures.LoadBGPicture(path.toStdString()) != 0) return;
  RecordFile(S, atReadBG, path.toStdString());
  PaintBoxPaint();
}

void TTamloForm::ClearMenuClick(QAction* sender) {
  if (!sender) return;
  const QString name = sender->objectName();
  const bool all = name == u"ClearAllMenu";
  const bool background = all || name == u"ClearBGMenu";
  const bool figures = all || name == u"ClearImageMenu";
  if (!background && !figures) return;

  if (S.PendingResize) FlushResize(S);
  if (background) {
    Pictures.BlankBGImage();
    S.ShownBGFileName.clear();
  }
  if (figures) {
    // The undo store goes too: nothing cleared can come back.
    S.DrawingFigs.ClearFigs();
    S.DeletedFigs.ClearFigs();
    S.SelectedFig = nullptr;
    S.MarkedFig = nullptr;
    BlankStampImage();
  }
  PaintBoxPaint();
  RecordAction(S, all ? atClearAll : background ? atCleareBG : atClearDrawing);
}

void TTamloForm::CaptureMenuClick() {
  PaintBoxPaint();  // the selection frame, if any, is part of the copy
  QGuiApplication::clipboard()->setImage(Pictures.WorkBitmap);
}

void TTamloForm::Save2BMPMenuClick() {
  if (S.PendingResize) FlushResize(S);
  if (!S.Dialogs->Execute(S.SaveBGDialog)) return;
  const QString path = QString::fromStdString(S.SaveBGDialog.FileName);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  ExportPicture(*S.Dialogs, path, Pictures.WorkBitmap, pkBMP);
}

void TTamloForm::Save2JPEGMenuClick() {
  if (S.PendingResize) FlushResize(S);
  if (!S.Dialogs->Execute(S.SaveJPEGBGDialog)) return;
  const QString path = QString::fromStdString(S.SaveJPEGBGDialog.FileName);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  ExportPicture(*S.Dialogs, path, Pictures.WorkBitmap, pkJPEG);
}

void TTamloForm::SaveAllProcessMenuClick() {
  if (S.PendingResize) FlushResize(S);
  if (!S.Dialogs->Execute(S.SaveJPEGBGDialog)) return;
  // The chosen file itself is never written: it names the folder and the
  // base of the numbered names.
  const std::string base = ProcessPictureBase(S.SaveJPEGBGDialog.FileName);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  if (S.History.Count() == 0) return;
  if (!ConfirmProcessExport(*S.Dialogs, S.History.Count())) return;

  setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QProgressDialog progress(this);
  progress.setWindowTitle(QString::fromStdString(S.VersionText));
  progress.setCancelButtonText(QString::fromUtf8("キャンセル"));
  progress.setMinimumDuration(0);
  progress.setRange(0, S.History.Count());
  // The window takes no input meanwhile, but its progress box does: a
  // window of its own, it is enabled again after its parent was disabled.
  progress.setEnabled(true);
  ExportProcess(S, Pictures.WorkBitmap, base, [&](int n, int count) {
    if (progress.wasCanceled()) return false;
    progress.setLabelText(QStringLiteral("%1 / %2").arg(n).arg(count));
    progress.setValue(n - 1);
    // Shows the progress and the canvas, and lets the Cancel button be
    // pressed; the disabled window ignores what it is sent.
    QCoreApplication::processEvents();
    return !progress.wasCanceled();
  });
  progress.close();
  QApplication::restoreOverrideCursor();
  setEnabled(true);
  PaintBoxPaint();
}
