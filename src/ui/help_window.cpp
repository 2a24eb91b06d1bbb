// タムロのつかいかた: a short help for children, with the buttons' own
// pictures, and a part for parents and teachers, in a window of its own.
// The pages are installed with the program (share/tamlo/help) and kept in
// its resources too, so the help opens from a build folder as well.
#include <QDialog>
#include <QFile>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/icons.h"
#include "ui/interface_language.h"
#include "ui/main_window.h"

namespace {

// Pages name the buttons' pictures as icon:ObjectName.
class HelpBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  QVariant loadResource(int type, const QUrl& name) override {
    if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String("icon")) {
      const QSize size(44, 38);
      const QIcon icon = ButtonIcon(name.path(), size);
      if (!icon.isNull()) return icon.pixmap(size).toImage();
    }
    return QTextBrowser::loadResource(type, name);
  }
};

// The page in `language`: the installed one first, else the program's own.
QString HelpPage(const QString& language) {
  const QString file = QStringLiteral("how-to-use.%1.html").arg(language);
  QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("tamlo/help/") + file);
  if (path.isEmpty()) path = QStringLiteral(":/help/") + file;
  QFile page(path);
  if (!page.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(page.readAll());
}

}  // namespace

void MainWindow::HowToUseMenuClick() {
  auto* help = findChild<QDialog*>(QStringLiteral("HelpWindow"));
  if (help == nullptr) {
    help = new QDialog(this);
    help->setObjectName("HelpWindow");
    help->setWindowTitle(tr("タムロのつかいかた"));
    help->resize(640, 560);
    auto* browser = new HelpBrowser(help);
    browser->setObjectName("HelpBrowser");
    browser->setOpenLinks(false);
    browser->setAccessibleName(tr("タムロのつかいかた"));
    browser->setAccessibleDescription(tr("つかいかたの せつめい"));
    auto* layout = new QVBoxLayout(help);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    QString page = HelpPage(InterfaceLanguage());
    if (page.isEmpty()) page = HelpPage(QStringLiteral("ja"));
    browser->setHtml(page);
  }
  help->show();
  help->raise();
  help->activateWindow();
}
