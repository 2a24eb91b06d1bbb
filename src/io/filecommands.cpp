// The file menu: loading and saving drawings, and the safe file replacement
// that every save and export goes through.
#include "io/filecommands.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>

#include "history/play.h"
#include "history/savehistory.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "ui/Unit1.h"

namespace {

const char* const kWrongFileType = "ファイルけいしきがちがいます";
const char* const kReallyLoad = "本当にデータをよみこみますか？";
const char* const kLoadFailed = "データ読み込みに失敗しました";
const char* const kOverwriteFailed = "データ書き出しに失敗しました";
const char* const kOverwriteDone = "うわがきほぞんしました";
const char* const kOverwriteQuestion = "すでにあるファイルにうわがきしますか";
const char* const kSaveCancelled = "ファイルほぞんをキャンセルしました";
const char* const kSaveFailed = "データ保存に失敗しました";

QString FileNameOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? path : path.mid(slash + 1);
}

// A new, empty file next to `path` with a name nobody else uses; "" when the
// folder does not take one.
QString CreateTempFileNear(const QString& path) {
  const QString folder = path.left(path.size() - FileNameOf(path).size());
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QString name = QStringLiteral("%1.tamlo-%2.tmp")
                             .arg(folder)
                             .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
    if (!QFileInfo::exists(name)) break;  // the folder takes no new file at all
  }
  return QString();
}

}  // namespace

QString FileExtension(const QString& path) {
  const QString name = FileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot);
}

bool IsDrawingFileName(const QString& path) {
  const QString ext = FileExtension(path);
  return ext == u".tlo" || ext == u".TLO";
}

bool IsPictureFileName(const QString& path) {
  const QString ext = FileExtension(path);
  return ext == u".bmp" || ext == u".BMP" || ext == u".jpg" || ext == u".JPG";
}

bool IsFileAt(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

QString BackupName(const QString& path) {
  const QString name = FileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  const QString base = dot < 0 ? name : name.left(dot);
  return path.left(path.size() - name.size()) + base + QStringLiteral(".bak");
}

bool MakeBackup(const QString& path) {
  if (!IsFileAt(path)) return false;
  // QFile::rename never replaces an existing file: an older backup wins.
  return QFile::rename(path, BackupName(path));
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  if (file.write(bytes) != bytes.size()) return false;
  if (!file.flush()) return false;
  // The old file is about to be renamed away: make sure the new one is on
  // the disk first.
  if (::fsync(file.handle()) != 0) return false;
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool ReplaceFile(const QString& path, bool backup, const std::function<bool(const QString&)>& write,
                 QString* tempPath) {
  const QString temp = CreateTempFileNear(path);
  if (tempPath) *tempPath = temp;
  if (temp.isEmpty()) return false;
  if (!write(temp)) {
    QFile::remove(temp);
    return false;
  }
  const bool backedUp = backup && MakeBackup(path);
  // rename() puts the new file in place in one step, replacing the old one.
  if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
    QFile::remove(temp);
    if (backedUp) QFile::rename(BackupName(path), path);
    return false;
  }
  return true;
}

void EnterFolderOf(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!folder.isEmpty()) QDir::setCurrent(folder);
}

// ---- The file menu ----

void TTamloForm::ReadDataMenuClick() {
  if (!S.Dialogs->Execute(S.OpenDataDialog)) return;
  const QString path = QString::fromStdString(S.OpenDataDialog.FileName);
  if (!IsDrawingFileName(path)) {
    S.Dialogs->ShowMessage(kWrongFileType);
    return;
  }
  if (S.History.Count() > 0 && S.Dialogs->Ask(kReallyLoad, "かくにん", qbYesNo) != mrYes) return;
  LoadDrawingFile(path);
}

bool TTamloForm::LoadDrawingFile(const QString& path) {
  // The whole file is read before anything is reset, so a file that cannot
  // be read changes nothing.
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    S.Dialogs->ShowMessage(kLoadFailed);
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    S.Dialogs->ShowMessage(kLoadFailed);
    return false;
  }
  file.close();

  ResetDrawing();
  if (ReadHistory(S, bytes.toStdString()) != 0) {
    // The drawing on screen no longer is that file's: forget the file, so
    // that an overwrite-save cannot put an empty drawing over it.
    S.History.Clear();
    S.CurrentStep = S.History.Head;
    S.DataFileName.clear();
    setWindowTitle(QString::fromStdString(S.VersionText));
    PaintBoxPaint();
    return false;
  }
  if (S.History.Count() > 0) S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);
  S.DataFileName = path.toStdString();
  setWindowTitle(QString::fromStdString(S.VersionText + " - ") + path);
  S.CurrentStep = S.History.Tail;
  GoToStep(S);
  if (S.ShowProcess) S.Memo->AddLine("");
  return true;
}

void TTamloForm::OverWriteDataMenuClick() { OverWriteDrawing(); }

void TTamloForm::WriteDataMenuClick() { SaveDrawingAs(); }

bool TTamloForm::OverWriteDrawing() {
  if (S.PendingResize) FlushResize(S);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();
  if (S.DataFileName.empty()) return SaveDrawingAs();

  const QString path = QString::fromStdString(S.DataFileName);
  const QByteArray text = QByteArray::fromStdString(HistoryFileText(S.History));
  if (!ReplaceFile(path, true, [&](const QString& temp) { return WriteWholeFile(temp, text); })) {
    S.Dialogs->ShowMessage(kOverwriteFailed);
    return false;
  }
  S.Dialogs->ShowMessage(kOverwriteDone);
  return true;
}

bool TTamloForm::SaveDrawingAs() {
  if (S.PendingResize) FlushResize(S);
  if (!S.Dialogs->Execute(S.SaveDataDialog)) return false;
  const QString path = QString::fromStdString(S.SaveDataDialog.FileName);
  S.SelectedFig = nullptr;
  S.MarkedFig = nullptr;
  PaintBoxPaint();

  const bool exists = IsFileAt(path);
  if (exists && S.Dialogs->Ask(kOverwriteQuestion, "確認", qbYesNo) != mrYes) {
    S.Dialogs->ShowMessage(kSaveCancelled);
    return false;
  }
  const QByteArray text = QByteArray::fromStdString(HistoryFileText(S.History));
  if (!ReplaceFile(path, exists, [&](const QString& temp) { return WriteWholeFile(temp, text); })) {
    S.Dialogs->ShowMessage(kSaveFailed);
    return false;
  }
  S.DataFileName = path.toStdString();
  setWindowTitle(QString::fromStdString(S.VersionText + " - ") + path);
  return true;
}
