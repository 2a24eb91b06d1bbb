// Dropped files, the command-line file and the ways the program ends.
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QVariant>

#include "format/history_reader.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "io/file_replace.h"
#include "ui/main_window.h"

namespace {

// What a file opened by its path is taken for. The desktop hands over as a
// drawing every file whose name ends in ".tlo" in any letter case, and every
// other file that starts with a drawing header line (desktop/tamlo-mime.xml),
// so both open as drawings here; a picture's extension still means a
// picture. The file menus keep their stricter rule of names.
bool OpensAsDrawing(const QString& path) {
  if (IsDrawingFileName(path) || FileExtension(path).compare(u".tlo", Qt::CaseInsensitive) == 0) return true;
  return !IsPictureFileName(path) && StartsWithDrawingHeader(QFile::encodeName(path).toStdString());
}

}  // namespace

void MainWindow::OpenFileByPath(const QString& path) {
  const bool drawing = OpensAsDrawing(path);
  if (!drawing && !IsPictureFileName(path)) {
    S.Dialogs->ShowMessage("ファイルけいしきがちがいます");
    return;
  }
  if (S.WorkMode == WindowMode::Play) {
    S.Dialogs->ShowMessage("さいせい中はファイルをよみこめません");
    return;
  }
  if (S.History().Count() > 0 && S.Dialogs->Ask("本当にデータをよみこみますか？", "かくにん", QuestionButtons::YesNo) != ModalResult::Yes) return;

  // A name relative to the folder the program started in would point
  // elsewhere once a dialog has changed the working folder: keep it whole.
  const QString full = QFileInfo(path).absoluteFilePath();
  if (drawing) {
    LoadDrawingFile(full);
    return;
  }
  if (!PictureNameFitsDrawing(*S.Dialogs, full) || Pictures.LoadBGPicture(full.toStdString()) != 0) return;
  SetBackground(S, full.toStdString());
  PaintBoxPaint();
}

namespace {

// The files of a drag as its source offered them when it entered: some
// sources under X11 answer at the start of a drag but no longer at the drop.
const char* const kDraggedFiles = "TamloDraggedFiles";

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  setProperty(kDraggedFiles, QVariant::fromValue(urls));
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
  else
    event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event) {
  QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) urls = property(kDraggedFiles).value<QList<QUrl>>();
  setProperty(kDraggedFiles, QVariant());
  if (urls.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Only the first of several files is opened.
  const QString path = urls.first().toLocalFile();
  if (path.isEmpty()) return;  // not a local file
  // Opened once the drop is over, so that the program the file came from is
  // not kept waiting behind our question boxes.
  QMetaObject::invokeMethod(this, [this, path] { OpenFileByPath(path); }, Qt::QueuedConnection);
}

void MainWindow::ExitMenuClick() {
  CommitPreview(S);
  if (S.History().Count() == 0) {
    EndJournal();
    ExitProcess(0);
    return;
  }
  const bool named = !S.DataFileName().empty();
  const char* question =
      named ? "Tamloをおわる前にえをうわがきほぞんしますか？" : "Tamloをおわる前にえをほぞんしますか？";
  switch (S.Dialogs->Ask(question, "確認", QuestionButtons::YesNoCancel)) {
    case ModalResult::Yes:
      // A save that did not happen (dialog cancelled, overwrite refused,
      // write failed) keeps the program and the drawing.
      if (!(named ? OverWriteDrawing() : SaveDrawingAs())) return;
      break;
    case ModalResult::No:
      break;
    default:
      return;
  }
  // Only a crash or a kill leaves a journal behind.
  EndJournal();
  // The lists, the history and the canvas are freed with the window.
  ExitProcess(0);
}

void MainWindow::ExitByForceClick() { ExitProcess(1); }

// Closing the window (title bar, Alt+F4, the window manager) never closes it
// directly: the close event is ignored and the exit sequence ends the
// process or, after Cancel, the program goes on.
void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  // While the window is disabled (the whole-process export runs) nothing
  // may interrupt it.
  if (!isEnabled()) return;
  ExitMenuClick();
}
