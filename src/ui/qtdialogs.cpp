#include "ui/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
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

// The picture as the screen shows it; null when there is none.
QPixmap PixmapOf(const SmallPicture& picture) {
  if (picture.Empty() || picture.Width <= 0 || picture.Height <= 0 ||
      picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    return QPixmap();
  QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
  for (int y = 0; y < picture.Height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.Width; ++x) row[x] = 0xFF000000u | picture.Pixels[size_t(y) * picture.Width + x];
  }
  return QPixmap::fromImage(image);
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
  return AskWithPicture(text, caption, buttons, SmallPicture());
}

ModalResult QtDialogs::AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                                      const SmallPicture& picture) {
  QMessageBox::StandardButtons set = QMessageBox::Yes | QMessageBox::No;
  if (buttons == QuestionButtons::YesNoCancel) set |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, Message(caption), Message(text), set, m_parent);
  if (const QPixmap shown = PixmapOf(picture); !shown.isNull()) box.setIconPixmap(shown);
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

int QtDialogs::Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines,
                      const std::vector<SmallPicture>& pictures) {
  QDialog box(m_parent);
  box.setWindowTitle(Q(caption));
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(new QLabel(Message(text), &box));
  auto* list = new QListWidget(&box);
  QSize iconSize;
  for (size_t i = 0; i < lines.size(); ++i) {
    auto* item = new QListWidgetItem(Q(lines[i]), list);
    const QPixmap shown = i < pictures.size() ? PixmapOf(pictures[i]) : QPixmap();
    if (shown.isNull()) continue;
    item->setIcon(QIcon(shown));
    iconSize = iconSize.expandedTo(shown.size());
  }
  if (iconSize.isValid()) list->setIconSize(iconSize);
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
