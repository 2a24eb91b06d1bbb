// The batch mode's command line: which export or description is asked for,
// of which drawings, and into which output.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "history/replay_pace.h"
#include "io/vector_exports.h"

namespace batch {

// The first lines of the help, also shown after a bad usage.
extern const char* const kUsage;
// The rest of the help.
extern const char* const kHelp;

enum class BatchMode {
  None,
  ExportBMP,
  ExportJPEG,
  ExportPNG,
  ExportProcess,
  ExportVideo,
  ExportSVG,
  ExportPDF,
  ContactSheet,
  Portfolio,
  Describe,
  Help,
  Version
};

inline bool IsExport(BatchMode mode) {
  return mode == BatchMode::ExportBMP || mode == BatchMode::ExportJPEG || mode == BatchMode::ExportPNG || mode == BatchMode::ExportProcess ||
         mode == BatchMode::ExportVideo || mode == BatchMode::ContactSheet || mode == BatchMode::Portfolio ||
         mode == BatchMode::ExportSVG || mode == BatchMode::ExportPDF;
}
inline bool IsSinglePicture(BatchMode mode) {
  return mode == BatchMode::ExportBMP || mode == BatchMode::ExportJPEG || mode == BatchMode::ExportPNG ||
         mode == BatchMode::ExportSVG || mode == BatchMode::ExportPDF;
}

struct BatchArgs {
  BatchMode Mode = BatchMode::None;
  QString Out;
  QStringList Ins;
  QString In;  // the first of Ins
  std::optional<int> Step;
  ReplayPace Pace;
  bool PaceGiven = false, HoldGiven = false;
  int Jobs = 0;  // 0: one per core
  // The contact sheet and the portfolio.
  QString Title;                     // the title line; empty: none (the portfolio's own title)
  int ThumbWidth = 0, ThumbHeight = 0;  // 0: the default size
  int Columns = 0;                   // 0: as many as suit the number of drawings
  QString Page;                      // a paper preset, "a4" or "letter"; empty: none (also the PDF's page)
  // Folder mode of --export-video: "mp4", "gif" or "webm"; empty: mp4.
  QString VideoFormatName;
  // The PNG's scale (1: the pixel-exact raster picture).
  int Scale = 1;
  bool ScaleGiven = false;
};

// An output that names a folder: one output per drawing goes into it.
bool IsFolderOutput(const QString& out);

// The window's one option (kiosk mode); main() takes it out before the file.
extern const QString kKioskOption;

// Any long option but --kiosk asks for the batch mode: an unknown one is bad
// usage with the usage line, never a window started by mistake.
bool IsBatchOption(const QString& a);

// Fills `args`; an empty result is success, else the reason of the bad usage.
QString ParseArgs(const QStringList& list, BatchArgs& args);

}  // namespace batch
