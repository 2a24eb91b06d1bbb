// The window's journal: started with the window, written anew after a load
// or a save, told the step the view mode shows, removed by the exit
// sequence; and at start, the question about each drawing that a crashed or
// killed window left behind.
#include <QToolButton>
#include <QDateTime>
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
const char* const kGoOnChoose = "どの えの つづきを かきますか？";
const char* const kNoName = "なまえのない え";
const char* const kKeptHere = "まえに かいていた えは ここに のこしました：\n";
const char* const kAllKeptHere = "まえに かいていた えは この フォルダに のこしました：\n";
const char* const kUnreadableKept = "まえに かいていた えが こわれていて よめませんでした。ここに のこしました：\n";
const char* const kAllUnreadableKept =
    "まえに かいていた えが こわれていて よめませんでした。この フォルダに のこしました：\n";
const char* const kDamagedKept =
    "まえに かいていた えは とちゅうから こわれていたので、よめた ところまで もどしました。もとの ファイルは ここに のこしました：\n";

// The drawing a journal holds, in a line: its file's bare name (or "no
// name"), when it was last drawn on and how many steps it has.
std::string Describe(const LeftJournal& journal) {
  const QString file = QString::fromStdString(journal.Info.DataFileName);
  const QString name = file.isEmpty() ? QString::fromUtf8(kNoName) : QFileInfo(file).fileName();
  const QDateTime when = QDateTime::fromMSecsSinceEpoch(journal.ModifiedNs / 1000000);
  const QString text = QString::fromUtf8("「%1」 %2がつ %3にち %4じ %5ふん ・ %6 かい かいた")
                           .arg(name)
                           .arg(when.date().month())
                           .arg(when.date().day())
                           .arg(when.time().hour())
                           .arg(when.time().minute(), 2, 10, QLatin1Char('0'))
                           .arg(journal.Count);
  return text.toStdString();
}

}  // namespace

void MainWindow::StartJournal() {
  const std::string folder = JournalFolder();
  std::vector<LeftJournal> left = FindLeftJournals(folder);
  // Damaged with nothing readable beyond what is in its file: kept whole,
  // and said where.
  std::vector<LeftJournal*> offered;
  std::vector<std::string> unreadable;
  for (LeftJournal& journal : left) {
    if (journal.HasUnsaved()) {
      offered.push_back(&journal);
      continue;
    }
    const std::string kept = journal.Keep();
    unreadable.push_back(kept.empty() ? journal.Path : kept);
  }
  if (unreadable.size() == 1)
    S.Dialogs->ShowMessage(kUnreadableKept + unreadable[0]);
  else if (unreadable.size() > 1)
    S.Dialogs->ShowMessage(kAllUnreadableKept + folder);
  // One question for all of them (newest first): one drawing comes back,
  // the others are kept as drawing files in the journals' folder.
  int chosen = -1;
  if (offered.size() == 1) {
    if (S.Dialogs->Ask(std::string(kGoOnQuestion) + "\n" + Describe(*offered[0]), "かくにん",
                       QuestionButtons::YesNo) == ModalResult::Yes)
      chosen = 0;
  } else if (offered.size() > 1) {
    std::vector<std::string> lines;
    for (const LeftJournal* journal : offered) lines.push_back(Describe(*journal));
    chosen = S.Dialogs->Choose(std::string(kGoOnQuestion) + "\n" + kGoOnChoose, "かくにん", lines);
    if (chosen >= static_cast<int>(offered.size())) chosen = -1;
  }
  bool restored = false;
  if (chosen >= 0) restored = RestoreJournal(*offered[chosen]);
  std::vector<std::string> kept;
  for (size_t i = 0; i < offered.size(); ++i) {
    if (restored && static_cast<int>(i) == chosen) continue;
    const std::string path = offered[i]->Keep();
    kept.push_back(path.empty() ? offered[i]->Path : path);
  }
  if (kept.size() == 1)
    S.Dialogs->ShowMessage(kKeptHere + kept[0]);
  else if (kept.size() > 1)
    S.Dialogs->ShowMessage(kAllKeptHere + folder);
  if (!restored && !Journal.Start(folder, S.History(), S.DataFileName(), m_dataFileStamp))
    S.Dialogs->ShowMessage(JournalFailedMessage);
  S.Journal = &Journal;
}

bool MainWindow::RestoreJournal(LeftJournal& journal) {
  const QString name = QString::fromStdString(journal.Info.DataFileName);
  // As a load does: the pictures next to the drawing are looked for there.
  if (!name.isEmpty() && QFileInfo(name).absoluteDir().exists()) EnterFolderOf(name);
  ResetDrawing();
  if (!ReadDrawingText(journal.Text)) {
    LoadHistory(S, HistoryList());
    PaintBoxPaint();
    return false;
  }
  ContinueFigureIDs(S);
  S.NameFile(journal.Info.DataFileName);
  // The file as the journal began from it: an overwrite asks first when
  // it has been replaced since (another window saved it, say).
  m_dataFileStamp = journal.Info.DataFileStamp;
  setWindowTitle(name.isEmpty() ? QString::fromStdString(S.VersionText)
                                : QString::fromStdString(S.VersionText + " - ") + name);
  GoToStep(S, S.History().Count());
  const JournalInfo info = journal.Info;
  if (journal.Damaged) {
    // What lies beyond the damage stays as it is, in a file of its own; the
    // drawing goes on in a new journal.
    const std::string folder = QFileInfo(QString::fromStdString(journal.Path)).path().toStdString();
    const std::string kept = journal.Keep();
    S.Dialogs->ShowMessage(kDamagedKept + (kept.empty() ? journal.Path : kept));
    if (!Journal.Start(folder, S.History(), info.DataFileName, info.DataFileStamp, info.BaseCount))
      S.Dialogs->ShowMessage(JournalFailedMessage);
  } else if (!Journal.Adopt(std::move(journal), S.History())) {
    S.Dialogs->ShowMessage(JournalFailedMessage);
  }
  // The step that was on the screen, in the view mode when the window was
  // in it; a step past the history (a side file edited by hand) is the last.
  if (info.ViewMode && S.History().Count() > 0) {
    SelectPlayBtn->setChecked(true);
    SelectPlayBtnClick();
    TimeTrackBar->setValue(std::min(info.ShownStep, S.History().Count()));  // rebuilds that step
  }
  NoteShownStep();
  return true;
}

void MainWindow::NoteShownStep() { Journal.ShowStep(S.WorkMode == WindowMode::Play, TimeTrackBar->value()); }

void MainWindow::RestartJournal(std::string* fileBytes) {
  NoteShownStep();
  if (Journal.Active() && !Journal.Restart(S.History(), S.DataFileName(), m_dataFileStamp, fileBytes))
    S.Dialogs->ShowMessage(JournalFailedMessage);
}

void MainWindow::EndJournal() {
  S.Journal = nullptr;
  Journal.Remove();
}
