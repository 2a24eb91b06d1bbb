// Program entry: the batch mode when the arguments ask for it, else the
// window with the file named on the command line, if any.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

#include "io/settings.h"
#include "ui/interface_language.h"
#include "ui/main_window.h"
#include "batch/batch_args.h"
#include "batch/batch_mode.h"

namespace {

// An exception escaping an event handler is shown in an error box and the
// program goes on with the next event.
class TamloApplication : public QApplication {
 public:
  using QApplication::QApplication;

  // Set by the start-up measurement only: the widget whose first finished
  // paint ends the run.
  QWidget* exitAfterPaintOf = nullptr;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      if (receiver != exitAfterPaintOf || event->type() != QEvent::Paint) return QApplication::notify(receiver, event);
      const bool r = QApplication::notify(receiver, event);
      exitAfterPaintOf = nullptr;
      ReportFirstPaint();
      return r;
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(e.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), applicationName(), QStringLiteral("Unknown error"));
    }
    return false;
  }

 private:
  // Writes when the first paint was done, on the monotonic clock the
  // measuring program shares, and the peak resident memory so far (kB),
  // then ends the event loop. The journal stays, as after a kill: nothing
  // is lost, whatever the drawing.
  static void ReportFirstPaint() {
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long peakKB = 0;
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
      char line[256];
      while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %lld", &peakKB) == 1) break;
      std::fclose(f);
    }
    std::fprintf(stderr, "tamlo first paint %lld peak %lld\n",
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, peakKB);
    std::fflush(stderr);
    QCoreApplication::exit(0);
  }
};

}  // namespace

int main(int argc, char** argv) {
  int r = RunBatchIfAsked(argc, argv);
  if (r >= 0) return r;

  TamloApplication app(argc, argv);
  QApplication::setApplicationName("Tamlo");

  // The settings files (per user, system-wide; see io/settings.h), read
  // before anything is shown, and --kiosk taken out before the file name.
  Settings settings;
  QStringList args = QApplication::arguments().mid(1);
  if (args.removeAll(batch::kKioskOption) > 0) settings.ForceKiosk();

  // Japanese, or English for an English system (LANG=en_…); the language
  // setting, or TAMLO_LANGUAGE (en, ja) before it, chooses otherwise.
  QString language = QString::fromLocal8Bit(qgetenv("TAMLO_LANGUAGE"));
  if (language.trimmed().isEmpty()) language = settings.InterfaceLanguage();
  UseInterfaceLanguage(ChooseInterfaceLanguage(language));

  try {
    MainWindow window;
    window.ApplySettings(settings);
    window.createWidgets(args.isEmpty() ? QString() : args.first());
    // For the start-up benchmark only (see bench/bench_startup.cpp): the run
    // ends right after the canvas has been painted for the first time.
    if (std::getenv("TAMLO_EXIT_AFTER_FIRST_PAINT") != nullptr) app.exitAfterPaintOf = window.findChild<QWidget*>(QStringLiteral("PaintBox"));
    if (settings.FullScreen())
      window.showFullScreen();
    else
      window.show();
    return app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromUtf8(e.what()));
    return 0;
  }
}
