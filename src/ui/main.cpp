// Program entry: the batch mode when the arguments ask for it, else the
// window with the file named on the command line, if any.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/Unit1.h"
#include "ui/batch.h"

int main(int argc, char** argv) {
  int r = RunBatchIfAsked(argc, argv);
  if (r >= 0) return r;

  QApplication app(argc, argv);
  QApplication::setApplicationName("Tamlo");

  // Qt's own texts (dialog buttons, file dialogs) in Japanese.
  QTranslator qtJapanese;
  if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtJapanese);

  TTamloForm form;
  const QStringList args = QApplication::arguments();
  form.FormCreate(args.size() > 1 ? args.at(1) : QString());
  form.show();
  return app.exec();
}
