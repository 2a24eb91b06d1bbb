#include "ui/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/interface_language.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
// A message as the window's language has it (interface_messages.cpp lists
// the messages that have a translation); any other text stays as it is.
QString Message(const std::string& s) { return TranslatedMessage(Q(s)); }

QString Title() {
  QString name = QApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("Tamlo") : name;
}

void PlainBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, Title(), Message(text), QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

bool IsOpenDialog(DialogKind kind) { return kind == DialogKind::OpenData || kind == DialogKind::OpenBG; }

// The index of the chosen filter; the dialog may name it by its shown text
// only (the patterns hidden), which begins the full filter.
int FilterIndexOf(const QStringList& filters, const QString& selected) {
  const int exact = filters.indexOf(selected);
  if (exact >= 0 || selected.isEmpty()) return exact;
  for (int i = 0; i < filters.size(); ++i)
    if (filters[i].startsWith(selected + " (")) return i;
  return -1;
}

}  // namespace

void QtDialogs::ShowMessage(const std::string& text) { PlainBox(m_parent, QMessageBox::NoIcon, text); }

void QtDialogs::ShowError(const std::string& text) { PlainBox(m_parent, QMessageBox::Critical, text); }

ModalResult QtDialogs::Ask(const std::string& text, const std::string& caption, QuestionButtons buttons) {
  QMessageBox::StandardButtons set = QMessageBox::Yes | QMessageBox::No;
  if (buttons == QuestionButtons::YesNoCancel) set |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, Message(caption), Message(text), set, m_parent);
  box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("Messages", "はい"));
  box.button(QMessageBox::No)->setText(QCoreApplication::translate("Messages", "いいえ"));
  if (buttons == QuestionButtons::YesNoCancel) {
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("Messages", "キャンセル"));
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setEscapeButton(QMessageBox::No);
  }
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return ModalResult::Yes;
    case QMessageBox::No:
      return ModalResult::No;
    default:
      return buttons == QuestionButtons::YesNoCancel ? ModalResult::Cancel : ModalResult::No;
  }
}

int QtDialogs::Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines) {
  QDialog box(m_parent);
  box.setWindowTitle(Q(caption));
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(new QLabel(Message(text), &box));
  auto* list = new QListWidget(&box);
  for (const std::string& line : lines) list->addItem(Q(line));
  list->setCurrentRow(0);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(&box);
  QPushButton* yes = buttons->addButton(QCoreApplication::translate("Messages", "はい"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QCoreApplication::translate("Messages", "いいえ"), QDialogButtonBox::RejectRole);
  yes->setDefault(true);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &box, &QDialog::accept);
  if (box.exec() != QDialog::Accepted) return -1;
  return list->currentRow();
}

QStringList QtDialogs::NameFilters(const std::string& filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      for (const QString& variant : {p, p.toLower(), p.toUpper()})
        if (!patterns.contains(variant)) patterns << variant;
    }
    result << TranslatedMessage(parts[i]) + " (" + patterns.join(' ') + ")";
  }
  return result;
}

QString QtDialogs::WithDefaultExt(const QString& path, const std::string& ext) {
  if (ext.empty() || path.isEmpty()) return path;
  const QString name = QFileInfo(path).fileName();
  if (name.contains('.')) return path;
  return path + "." + Q(ext);
}

bool QtDialogs::Execute(FileDialog& dialog) {
  const QStringList filters = NameFilters(dialog.Filter);
  QFileDialog fd(m_parent);
  const bool open = IsOpenDialog(dialog.Kind);
  fd.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  fd.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The commands ask their own question before overwriting.
  fd.setOption(QFileDialog::DontConfirmOverwrite);
  // The filter list shows each filter's own text ("Tamloファイル（*.tlo）"),
  // not the patterns added behind it.
  fd.setOption(QFileDialog::HideNameFilterDetails);
  fd.setNameFilters(filters);
  if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
    fd.selectNameFilter(filters[dialog.FilterIndex - 1]);
  if (!dialog.DefaultExt.empty()) fd.setDefaultSuffix(Q(dialog.DefaultExt));
  if (!dialog.FileName.empty()) {
    QFileInfo preset(Q(dialog.FileName));
    if (preset.isAbsolute()) fd.setDirectory(preset.absolutePath());
    fd.selectFile(preset.fileName());
  } else {
    fd.setDirectory(QDir::currentPath());
  }
  if (fd.exec() != QDialog::Accepted) return false;
  const QStringList chosen = fd.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return false;

  const QString path = WithDefaultExt(chosen.first(), dialog.DefaultExt);
  dialog.FileName = path.toStdString();
  const int index = FilterIndexOf(filters, fd.selectedNameFilter());
  if (index >= 0) dialog.FilterIndex = index + 1;
  QDir::setCurrent(QFileInfo(path).absolutePath());
  return true;
}
