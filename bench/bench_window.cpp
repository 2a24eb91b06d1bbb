// The view mode's steps, a far jump and undo as the window does them: the
// real window (offscreen) holding a drawing of 10,000 records, driven
// through its buttons and slider, so that everything a click sets off is
// measured (rebuilds, the button states, the repaint). The journal is off:
// its writes are measured in bench_journal.cpp.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <memory>

#include "file_history.h"
#include "format/history_writer.h"
#include "ui/main_window.h"

// What no control reaches (as the window tests reach it).
struct MainWindowTestAccess {
  static AppState& State(MainWindow& window) { return window.S; }
};

namespace {

struct BenchWindow {
  QTemporaryDir Folder;
  QuietDialogs Dialogs;  // the core's own quiet stand-in: every question answered No
  std::unique_ptr<MainWindow> Window;
  bool Ready = false;

  explicit BenchWindow(int32_t records) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(Folder.filePath("state")));
    const QString path = Folder.filePath("d.tlo");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QByteArray::fromStdString(HistoryFileText(*MakeHistory(records, false)))) < 0)
      return;
    file.close();
    Window = std::make_unique<MainWindow>(&Dialogs);
    Window->createWidgets(QString());
    Window->show();
    Ready = Window->LoadDrawingFile(path);
    MainWindowTestAccess::State(*Window).Journal = nullptr;
  }
  AppState& S() { return MainWindowTestAccess::State(*Window); }
  template <class T>
  T* Child(const char* name) {
    return Window->findChild<T*>(QString::fromLatin1(name));
  }
  QAbstractButton* Button(const char* name) { return Child<QAbstractButton>(name); }
};

// One step back and one forward with the play buttons, at the end.
void BM_WindowViewStep(benchmark::State& state) {
  BenchWindow w(10000);
  if (!w.Ready) return state.SkipWithError("the drawing did not load");
  w.Button("SelectPlayBtn")->click();
  QSlider* slider = w.Child<QSlider>("TimeTrackBar");
  slider->setValue(slider->maximum());
  QAbstractButton* back = w.Button("ReverseBtn");
  QAbstractButton* forward = w.Button("ForwardBtn");
  bool goBack = true;
  for (auto _ : state) {
    (goBack ? back : forward)->click();
    goBack = !goBack;
  }
  state.counters["figures"] = w.S().Figures().Count();
}
BENCHMARK(BM_WindowViewStep)->Unit(benchmark::kMillisecond);

// The slider moved from the middle to the end and back.
void BM_WindowViewJump(benchmark::State& state) {
  BenchWindow w(10000);
  if (!w.Ready) return state.SkipWithError("the drawing did not load");
  w.Button("SelectPlayBtn")->click();
  QSlider* slider = w.Child<QSlider>("TimeTrackBar");
  bool middle = true;
  for (auto _ : state) {
    slider->setValue(middle ? slider->maximum() / 2 : slider->maximum());
    middle = !middle;
  }
}
BENCHMARK(BM_WindowViewJump)->Unit(benchmark::kMillisecond);

// Undo and redo with the curved arrows, in turn, at the end of the drawing.
void BM_WindowUndo(benchmark::State& state) {
  BenchWindow w(10000);
  if (!w.Ready) return state.SkipWithError("the drawing did not load");
  QAbstractButton* undo = w.Button("UndoStepBtn");
  QAbstractButton* redo = w.Button("RedoStepBtn");
  bool back = true;
  for (auto _ : state) {
    (back ? undo : redo)->click();
    back = !back;
  }
  state.counters["records"] = w.S().History().Count();
}
BENCHMARK(BM_WindowUndo)->Unit(benchmark::kMillisecond);

}  // namespace
