// The small interfaces through which the document core reaches the world:
// message boxes and file dialogs, the clock, the process display and the
// picture side (background and canvas). The window and the batch mode
// implement them; tests script them.
#pragma once

#include <string>

#include "history/history.h"

enum TModalResult { mrOK, mrYes, mrNo, mrCancel };
enum TQuestionButtons { qbYesNo, qbYesNoCancel };

enum TDialogKind {
  dkOpenData,     // OpenDataDialog
  dkSaveData,     // SaveDataDialog
  dkOpenBG,       // OpenBGDialog
  dkSaveBG,       // SaveBGDialog
  dkSaveJPEGBG,   // SaveJPEGBGDialog
  dkSaveVideo,    // SaveVideoDialog
};

// A file dialog's own state, kept between runs as a real dialog keeps it.
struct TFileDialog {
  TDialogKind Kind;
  std::string Filter;      // "text|pattern|text|pattern" as shown to the user
  std::string DefaultExt;  // without the dot; empty for none
  std::string FileName;    // preset before a run, the chosen path after it
  int FilterIndex = 1;     // 1-based
};

class TDialogs {
 public:
  virtual ~TDialogs() = default;
  // Plain message: OK button only, the application title as caption.
  virtual void ShowMessage(const std::string& text) = 0;
  // The platform's error box (a damaged picture, a file that cannot be made).
  virtual void ShowError(const std::string& text) = 0;
  // Question box with the question icon.
  virtual TModalResult Ask(const std::string& text, const std::string& caption,
                           TQuestionButtons buttons) = 0;
  // Runs a file dialog. On true `dialog.FileName` is the chosen full path.
  virtual bool Execute(TFileDialog& dialog) = 0;
};

class TClock {
 public:
  virtual ~TClock() = default;
  virtual TActionTime Now() = 0;  // local time of day, hundredths truncated
};

// The internal process display.
class TMemo {
 public:
  virtual ~TMemo() = default;
  virtual void AddLine(const std::string& line) = 0;
  virtual void Clear() = 0;
};

// What replay needs of the picture side.
class TPictureSide {
 public:
  virtual ~TPictureSide() = default;
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
class TActionLog {
 public:
  virtual ~TActionLog() = default;
  virtual void Recorded(const THistoryList& history, TDialogs& dialogs) = 0;
};

// Stand-ins used when nobody listens: no box, the safe answer (No / Cancel
// for files), the system clock, no memo, no pictures.
class TQuietDialogs : public TDialogs {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  TModalResult Ask(const std::string&, const std::string&, TQuestionButtons) override { return mrNo; }
  bool Execute(TFileDialog&) override { return false; }
};

class TSystemClock : public TClock {
 public:
  TActionTime Now() override;
};

class TNoMemo : public TMemo {
 public:
  void AddLine(const std::string&) override {}
  void Clear() override {}
};

class TNoPictures : public TPictureSide {
 public:
  int LoadBGPicture(const std::string&) override { return 1; }
  void BlankBGImage() override {}
  void PaintBoxPaint() override {}
};
