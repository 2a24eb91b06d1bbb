// The window's journal: started with the window, written anew after a load
// or a save, told the step the view mode shows, removed by the exit
// sequence; and at start, the question about each drawing that a crashed or
// killed window left behind.
#include <QToolButton>
#include <QDir>
#include <QFileInfo>
#include <QSlider>
#include <algorithm>
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
  if (!ReadDrawingText(journal.Text)) {
    S.History.Clear();
    S.CurrentStep = 0;
    PaintBoxPaint();
    return false;
  }
  if (S.History.Count() > 0) S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);
  S.DataFileName = journal.Info.DataFileName;
  setWindowTitle(name.isEmpty() ? QString::fromStdString(S.VersionText)
                                : QString::fromStdString(S.VersionText + " - ") + name);
  S.CurrentStep = S.History.Count();
  GoToStep(S);
  const JournalInfo info = journal.Info;
  if (!Journal.Adopt(std::move(journal), S.History)) S.Dialogs->ShowMessage(JournalFailedMessage);
  // The step that was on the screen, in the view mode when the window was
  // in it; a step past the history (a side file edited by hand) is the last.
  if (info.ViewMode && S.History.Count() > 0) {
    SelectPlayBtn->setChecked(true);
    SelectPlayBtnClick();
    TimeTrackBar->setValue(std::min(info.ShownStep, S.History.Count()));  // rebuilds that step
  }
  NoteShownStep();
  return true;
}

void MainWindow::NoteShownStep() { Journal.ShowStep(S.WorkMode == WindowMode::Play, TimeTrackBar->value()); }

void MainWindow::RestartJournal() {
  NoteShownStep();
  if (Journal.Active() && !Journal.Restart(S.History, S.DataFileName)) S.Dialogs->ShowMessage(JournalFailedMessage);
}

void MainWindow::EndJournal() {
  S.Journal = nullptr;
  Journal.Remove();
}
