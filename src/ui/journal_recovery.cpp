// The window's journal: started with the window, written anew after a load
// or a save, removed by the exit sequence; and at start, the question about
// each drawing that a crashed or killed window left behind.
#include <QDir>
#include <QFileInfo>
#include <vector>

#include "format/history_reader.h"
#include "format/journal.h"
#include "history/play.h"
#include "io/file_replace.h"
#include "ui/main_window.h"

namespace {

const char* const kGoOnQuestion = "まえに かいていた えが のこっています。つづきから かきますか？";

}  // namespace

void MainWindow::StartJournal() {
  const std::string folder = JournalFolder();
  // Newest first; one question each until a drawing comes back. Those not
  // asked about stay for the next start.
  std::vector<LeftJournal> left = FindLeftJournals(folder);
  bool restored = false;
  for (LeftJournal& journal : left) {
    if (S.Dialogs->Ask(kGoOnQuestion, "かくにん", QuestionButtons::YesNo) == ModalResult::Yes) {
      restored = RestoreJournal(journal);
      if (restored) break;
    }
    // Never thrown away: kept as a drawing file in the journals' folder.
    journal.Keep();
  }
  if (!restored && !Journal.Start(folder, S.History, S.DataFileName))
    S.Dialogs->ShowMessage(JournalFailedMessage);
  S.Journal = &Journal;
}

bool MainWindow::RestoreJournal(LeftJournal& journal) {
  const QString name = QString::fromStdString(journal.Info.DataFileName);
  // As a load does: the pictures next to the drawing are looked for there.
  if (!name.isEmpty() && QFileInfo(name).absoluteDir().exists()) EnterFolderOf(name);
  ResetDrawing();
  if (ReadHistory(S, journal.Text) != 0) {
    S.History.Clear();
    S.CurrentStep = S.History.Head;
    PaintBoxPaint();
    return false;
  }
  if (S.History.Count() > 0) S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);
  S.DataFileName = journal.Info.DataFileName;
  setWindowTitle(name.isEmpty() ? QString::fromStdString(S.VersionText)
                                : QString::fromStdString(S.VersionText + " - ") + name);
  S.CurrentStep = S.History.Tail;
  GoToStep(S);
  if (!Journal.Adopt(std::move(journal), S.History)) S.Dialogs->ShowMessage(JournalFailedMessage);
  return true;
}

void MainWindow::RestartJournal() {
  if (Journal.Active() && !Journal.Restart(S.History, S.DataFileName)) S.Dialogs->ShowMessage(JournalFailedMessage);
}

void MainWindow::EndJournal() {
  S.Journal = nullptr;
  Journal.Remove();
}
