// The file menu: loading and saving drawings.
#include <QFile>

#include "format/codepage.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/missing_pictures.h"
#include "history/play.h"
#include "history/actions.h"
#include "history/savehistory.h"
#include "io/file_replace.h"
#include "ui/main_window.h"

namespace {

const char* const kWrongFileType = "ファイルけいしきがちがいます";
const char* const kReallyLoad = "本当にデータをよみこみますか？";
const char* const kLoadFailed = "データ読み込みに失敗しました";
const char* const kOverwriteFailed = "データ書き出しに失敗しました";
const char* const kOverwriteDone = "うわがきほぞんしました";
const char* const kOverwriteQuestion = "すでにあるファイルにうわがきしますか";
const char* const kSaveCancelled = "ファイルほぞんをキャンセルしました";
const char* const kSaveFailed = "データ保存に失敗しました";
const char* const kChangedElsewhere = "この えの ファイルは、ほかで かきかえられています。うわがきしますか？";

// The bytes of a saved drawing for the journal to begin from, when they
// read back exactly as the history: UTF-8 does, CP932 may not (a few
// characters come back as look-alikes), and then the journal holds the
// records itself.
std::string* SavedBytesForJournal(const QByteArray& text) {
  static std::string bytes;
  bytes = IsValidUtf8(std::string_view(text.constData(), static_cast<size_t>(text.size()))) ? text.toStdString()
                                                                                            : std::string();
  return bytes.empty() ? nullptr : &bytes;
}

}  // namespace

void MainWindow::ReadDataMenuClick() {
  if (!S.Dialogs->Execute(S.OpenDataDialog)) return;
  const QString path = QString::fromStdString(S.OpenDataDialog.FileName);
  if (!IsDrawingFileName(path)) {
    S.Dialogs->ShowMessage(kWrongFileType);
    return;
  }
  if (S.History().Count() > 0 && S.Dialogs->Ask(kReallyLoad, "かくにん", QuestionButtons::YesNo) != ModalResult::Yes) return;
  LoadDrawingFile(path);
}

bool MainWindow::LoadDrawingFile(const QString& path) {
  // The whole file is read before anything is reset, so a file that cannot
  // be read changes nothing. Only a regular file of a sane size is read: a
  // pipe or a device named like a drawing would hang or never end.
  std::string bytes;
  // Taken before the read: a file replaced while it is read looks replaced.
  const FileStamp stamp = StampOfFile(QFile::encodeName(path).toStdString());
  if (!ReadDrawingFileBytes(QFile::encodeName(path).toStdString(), bytes)) {
    S.Dialogs->ShowMessage(kLoadFailed);
    return false;
  }
  // As after choosing the drawing in the open dialog, however it was opened:
  // the pictures it names by their bare names are looked for next to it.
  EnterFolderOf(path);

  ResetDrawing();
  if (!ReadDrawingText(bytes)) {
    // The drawing on screen no longer is that file's: forget the file, so
    // that an overwrite-save cannot put an empty drawing over it.
    S.Reset();
    m_dataFileStamp = FileStamp();
    setWindowTitle(QString::fromStdString(S.VersionText));
    PaintBoxPaint();
    RestartJournal();
    return false;
  }
  ContinueFigureIDs(S);
  S.NameFile(path.toStdString());
  m_dataFileStamp = stamp;
  setWindowTitle(QString::fromStdString(S.VersionText + " - ") + path);
  GoToStep(S, S.History().Count());
  RestartJournal(&bytes);  // the journal starts from the loaded file
  if (S.ShowProcess) S.Memo->AddLine("");
  return true;
}

bool MainWindow::ReadDrawingText(const std::string& bytes) {
  ReadReport report;
  if (ReadHistory(S, bytes, &report) != 0) {
    // Where reading stopped, so that whoever looks into the file finds it.
    const std::string place = ReadFaultPlace(*report.Fault);
    S.Dialogs->ShowMessage(ReadFaultMessage(*report.Fault) + (place.empty() ? "" : "\n" + place));
    return false;
  }
  AskForMissingPictures(S, report.MissingPictures, *S.Dialogs, S.OpenBGDialog);
  return true;
}

void MainWindow::OverWriteDataMenuClick() { OverWriteDrawing(); }

void MainWindow::WriteDataMenuClick() { SaveDrawingAs(); }

bool MainWindow::OverWriteDrawing() {
  CommitPreview(S);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  if (S.DataFileName().empty()) return SaveDrawingAs();

  const QString path = QString::fromStdString(S.DataFileName());
  if (!MaySaveAt(path)) {
    // Kiosk mode: a drawing opened from elsewhere goes into the folder, by
    // the dialog, under its name.
    S.SaveDataDialog.FileName = S.DataFileName();
    return SaveDrawingAs();
  }
  // As every editor does: a file that is no longer the one this drawing
  // was read from or written to (another window saved over it) is not
  // replaced without asking.
  const FileStamp now = StampOfFile(S.DataFileName());
  if (m_dataFileStamp.Known() && now.Known() && now != m_dataFileStamp &&
      S.Dialogs->Ask(kChangedElsewhere, "確認", QuestionButtons::YesNo) != ModalResult::Yes) {
    S.Dialogs->ShowMessage(kSaveCancelled);
    return false;
  }
  // An empty text: the history holds something the file cannot (a line
  // break in a text or name); the old file stays as it is.
  const QByteArray text = QByteArray::fromStdString(HistoryFileText(S.History()));
  // A copy of the file being made for the journal gets its name first: a
  // crash after the file is replaced must not leave a journal without base.
  Journal.WaitForBase();
  if (text.isEmpty() || !ReplaceFile(path, true, [&](const QString& temp) { return WriteWholeFile(temp, text); })) {
    S.Dialogs->ShowMessage(kOverwriteFailed);
    return false;
  }
  m_dataFileStamp = StampOfFile(S.DataFileName());
  RestartJournal(SavedBytesForJournal(text));  // nothing unsaved any more
  S.Dialogs->ShowMessage(kOverwriteDone);
  return true;
}

bool MainWindow::SaveDrawingAs() {
  CommitPreview(S);
  if (!S.Dialogs->Execute(S.SaveDataDialog)) return false;
  const QString path = QString::fromStdString(S.SaveDataDialog.FileName);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();

  const bool exists = IsFileAt(path);
  if (exists && S.Dialogs->Ask(kOverwriteQuestion, "確認", QuestionButtons::YesNo) != ModalResult::Yes) {
    S.Dialogs->ShowMessage(kSaveCancelled);
    return false;
  }
  const QByteArray text = QByteArray::fromStdString(HistoryFileText(S.History()));
  Journal.WaitForBase();  // as in OverWriteDrawing
  if (text.isEmpty() || !ReplaceFile(path, exists, [&](const QString& temp) { return WriteWholeFile(temp, text); })) {
    S.Dialogs->ShowMessage(kSaveFailed);
    return false;
  }
  S.NameFile(path.toStdString());
  m_dataFileStamp = StampOfFile(S.DataFileName());
  setWindowTitle(QString::fromStdString(S.VersionText + " - ") + path);
  RestartJournal(SavedBytesForJournal(text));  // nothing unsaved any more
  return true;
}
