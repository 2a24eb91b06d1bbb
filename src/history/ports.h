// The small interfaces through which the document core reaches the world:
// message boxes and file dialogs, the clock, the process display and the
// picture side (background and canvas). The window and the batch mode
// implement them; tests script them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history.h"

enum class ModalResult { OK, Yes, No, Cancel };
enum class QuestionButtons { YesNo, YesNoCancel };

enum class DialogKind {
  OpenData,     // OpenDataDialog
  SaveData,     // SaveDataDialog
  OpenBG,       // OpenBGDialog
  SaveBG,       // SaveBGDialog
  SaveJPEGBG,   // SaveJPEGBGDialog
  SaveVideo,    // SaveVideoDialog
};

// A file dialog's own state, kept between runs as a real dialog keeps it.
struct FileDialog {
  DialogKind Kind;
  std::string Filter;      // "text|pattern|text|pattern" as shown to the user
  std::string DefaultExt;  // without the dot; empty for none
  std::string FileName;    // preset before a run, the chosen path after it
  int FilterIndex = 1;     // 1-based
};

// A small picture shown with a question (the drawing it is about):
// Width × Height pixels, each 0xRRGGBB, row after row. Empty: none.
struct SmallPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  bool Empty() const { return Pixels.empty(); }
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // Plain message: OK button only, the application title as caption.
  virtual void ShowMessage(const std::string& text) = 0;
  // An error box (QMessageBox::critical in the window; stderr in batch
  // mode): a damaged picture, a file that cannot be made.
  virtual void ShowError(const std::string& text) = 0;
  // Question box with the question icon.
  virtual ModalResult Ask(const std::string& text, const std::string& caption,
                           QuestionButtons buttons) = 0;
  // Runs a file dialog. On true `dialog.FileName` is the chosen full path.
  virtual bool Execute(FileDialog& dialog) = 0;
  // Ask with `picture` beside the text; dialogs that show no pictures ask
  // as Ask does.
  virtual ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                                     const SmallPicture& picture) {
    (void)picture;
    return Ask(text, caption, buttons);
  }
  // A question with a list of `lines` to choose one from, each shown with
  // its picture (`pictures` holds one a line, or none): the index of the
  // line chosen, or -1 for none. Dialogs that show no list choose none.
  virtual int Choose(const std::string& text, const std::string& caption, const std::vector<std::string>& lines,
                     const std::vector<SmallPicture>& pictures) {
    (void)text;
    (void)caption;
    (void)lines;
    (void)pictures;
    return -1;
  }
};

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual TimeOfDay Now() = 0;  // local time of day, hundredths truncated
};

// The internal process display.
class ProcessDisplay {
 public:
  virtual ~ProcessDisplay() = default;
  virtual void AddLine(const std::string& line) = 0;
  virtual void Clear() = 0;
};

// What replay needs of the picture side.
class PictureSide {
 public:
  virtual ~PictureSide() = default;
  // Loads a BMP or JPEG file as the background; 1 when no such file exists,
  // 2 when it is damaged (error shown, previous picture kept), else 0.
  virtual int LoadBGPicture(const std::string& name) = 0;
  // Fills the background picture with its brush (white).
  virtual void BlankBGImage() = 0;
  // Recomposes the canvas (background, figures, selection frame).
  virtual void PaintBoxPaint() = 0;
};

// Keeps every action as it is recorded (the window's journal). Told by the
// recording path once the record at the history's tail is complete, before
// anything shows it; a failure is told to the user through `dialogs`.
class ActionLog {
 public:
  virtual ~ActionLog() = default;
  virtual void Recorded(const HistoryList& history, UserDialogs& dialogs) = 0;
};

// Stand-ins used when nobody listens: no box, the safe answer (No / Cancel
// for files), the system clock, no memo, no pictures.
class QuietDialogs : public UserDialogs {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  ModalResult Ask(const std::string&, const std::string&, QuestionButtons) override { return ModalResult::No; }
  bool Execute(FileDialog&) override { return false; }
};

class SystemClock : public ClockSource {
 public:
  TimeOfDay Now() override;
};

class NoMemo : public ProcessDisplay {
 public:
  void AddLine(const std::string&) override {}
  void Clear() override {}
};

class NoPictures : public PictureSide {
 public:
  int LoadBGPicture(const std::string&) override { return 1; }
  void BlankBGImage() override {}
  void PaintBoxPaint() override {}
};
