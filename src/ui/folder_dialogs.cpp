#include "ui/folder_dialogs.h"

#include <QDir>
#include <QFileInfo>

#include "io/settings.h"

namespace {

bool IsSave(DialogKind kind) { return kind != DialogKind::OpenData && kind != DialogKind::OpenBG; }

}  // namespace

FolderDialogs::FolderDialogs(UserDialogs& inner, Settings& settings)
    : m_inner(inner), m_settings(settings), m_startWorkingFolder(QDir::currentPath()) {}

std::string FolderDialogs::OutsideFolderText(const QString& folder) {
  return ("この コンピュータでは 「" + folder + "」の なかにだけ ほぞんできます").toStdString();
}

QString FolderDialogs::FolderToOpen() const {
  // A drawing opened or a folder chosen since the start made the working
  // folder the one to go on in, as the dialogs always did.
  const QString working = QDir::currentPath();
  if (working != m_startWorkingFolder) return working;
  return m_settings.StartFolder();
}

bool FolderDialogs::Execute(FileDialog& dialog) {
  const std::string before = dialog.FileName;
  const bool kioskSave = m_settings.Kiosk() && IsSave(dialog.Kind);
  if (kioskSave) {
    // Start inside the folder, keeping a name the dialog had.
    const QString folder = m_settings.EnsureFolder();
    const QString name = QFileInfo(QString::fromStdString(dialog.FileName)).fileName();
    if (!folder.isEmpty() && !m_settings.IsInFolder(QString::fromStdString(dialog.FileName)))
      dialog.FileName = (folder + u'/' + name).toStdString();
  } else if (dialog.FileName.empty()) {
    // A folder with a slash and no name: the dialog opens in it.
    const QString folder = FolderToOpen();
    if (!folder.isEmpty()) dialog.FileName = (folder + u'/').toStdString();
  }
  if (!m_inner.Execute(dialog)) {
    dialog.FileName = before;
    return false;
  }
  const QString chosen = QString::fromStdString(dialog.FileName);
  if (kioskSave && !m_settings.IsInFolder(chosen)) {
    m_inner.ShowMessage(OutsideFolderText(m_settings.Folder()));
    dialog.FileName = before;
    return false;
  }
  m_settings.SetLastFolder(QFileInfo(chosen).absolutePath());
  return true;
}
