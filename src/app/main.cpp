// Program entry: the batch mode when the arguments ask for it, else the
// window with the file named on the command line, if any.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

#include "ui/main_window.h"
#include "batch/batch_mode.h"

namespace {

// An exception escaping an event handler is shown in an error box and the
// program goes on with the next event.
class TamloApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(e.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), applicationName(), QStringLiteral("Unknown error"));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  int r = RunBatchIfAsked(argc, argv);
  if (r >= 0) return r;

  TamloApplication app(argc, argv);
  QApplication::setApplicationName("Tamlo");

  // Qt's own texts (dialog buttons, file dialogs) in Japanese.
  QTranslator qtJapanese;
  if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtJapanese);

  try {
    MainWindow form;
    const QStringList args = QApplication::arguments();
    form.createWidgets(args.size() > 1 ? args.at(1) : QString());
    form.show();
    return app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromUtf8(e.what()));
    return 0;
  }
}
