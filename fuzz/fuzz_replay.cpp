// Fuzzes the drawing file reader together with the replay and the real
// rendering: every accepted file is replayed step by step (forward, then
// back to the start and to its middle), each step drawn on the canvas with
// the partial repaint. Besides crashes, leaks and undefined behaviour it
// checks that the last picture equals a full recomposition of the same step.
// Background pictures named in the file are not loaded: the file system
// stays out of the run.
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "history/play.h"
#include "format/history_reader.h"
#include "io/picture_store.h"
#include "render/paint.h"

namespace {

class TFuzzDialogs : public UserDialogs {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  ModalResult Ask(const std::string&, const std::string&, QuestionButtons) override { return ModalResult::No; }
  bool Execute(FileDialog&) override { return false; }
};

// The real picture side, except that every background file is missing.
class TNoFilePictures : public PictureStore {
 public:
  using PictureStore::PictureStore;
  int LoadBGPicture(const std::string&) override { return 1; }
};

}  // namespace

// The font libraries keep their caches until the process ends.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libfreetype.so\nleak:libQt6Gui.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TFuzzDialogs dialogs;
  AppState S;
  S.Dialogs = &dialogs;
  if (ReadHistory(S, text) != 0) return 0;
  TNoFilePictures pictures(S);
  S.Pictures = &pictures;

  for (int32_t step = 1; step <= S.History.Count(); ++step) {
    S.CurrentStep = step;
    GoToStep(S);
  }
  S.CurrentStep = 0;
  GoToStep(S);
  S.CurrentStep = S.History.Count() / 2;
  GoToStep(S);

  // The same step composed in full.
  const QImage partial = pictures.WorkBitmap.copy();
  pictures.Incremental = false;
  pictures.PaintBoxPaint();
  if (pictures.WorkBitmap != partial) std::abort();
  return 0;
}
