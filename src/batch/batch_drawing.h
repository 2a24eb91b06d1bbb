// One drawing of the batch mode, exported or described in this process,
// and what every run of the batch mode shares: its messages on standard
// error, its dialogs and its Qt.
#pragma once

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <memory>
#include <string>

#include "batch/batch_args.h"
#include "history/ports.h"

namespace batch {

void PrintLine(std::FILE* to, const std::string& text);

// Boxes to standard error; every question answered the safe way, every file
// dialog cancelled.
class BatchDialogs : public UserDialogs {
 public:
  void ShowMessage(const std::string& text) override { PrintLine(stderr, "tamlo: " + text); }
  void ShowError(const std::string& text) override { PrintLine(stderr, "tamlo: " + text); }
  ModalResult Ask(const std::string& text, const std::string&, QuestionButtons buttons) override {
    const ModalResult answer = buttons == QuestionButtons::YesNoCancel ? ModalResult::Cancel : ModalResult::No;
    PrintLine(stderr, "tamlo: " + text + (answer == ModalResult::No ? " -> No" : " -> Cancel"));
    return answer;
  }
  bool Execute(FileDialog&) override { return false; }
};

// Exit statuses besides 0 (done), 1 (failed) and 2 (bad usage).
constexpr int kPictureNotDrawn = 3;

// Why `out` may not be written for the drawing `in`; empty when it may. A
// picture never goes over a drawing: neither over the input itself (by
// whatever name or link it is reached) nor over any name of a drawing.
QString RefusedOutput(const QString& out, const QString& in);

// Rendering text needs the GUI side of Qt, never a display. Null when Qt
// runs already.
std::unique_ptr<QGuiApplication> StartQt(char* argv0);

// One drawing, in this process: `in` and `out` are whole paths. For the
// contact sheet `out` is where the thumbnail of the last step goes. Returns
// the exit status.
int ExportDrawing(const BatchArgs& args, char* argv0, const QString& in, const QString& out);

// The folder of the drawing `in` inside an output folder: its name without
// the extension, or its whole name when that would be empty, "." or ".."
// ("...tlo" stays inside the output folder).
QString FolderNameOf(const QString& in);

// The output of the drawing `in` in the output folder `folder`, named after
// the drawing: "a.tlo" gives a.jpg, a.mp4, or for the series a/a.jpg (whose
// pictures are a/a001.jpg, ...). A video takes the extension of
// `videoFormat` ("gif", "mp4" or "webm"; empty: mp4).
QString OutputInFolder(BatchMode mode, const QString& folder, const QString& in, const QString& videoFormat = QString());

}  // namespace batch
