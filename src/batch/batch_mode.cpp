// The batch mode: pictures and descriptions of drawing files, with no window
// and no display. What the window would show in a box goes to standard
// error; a question gets its safe answer.
#include "batch/batch_mode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "batch/batch_args.h"
#include "batch/batch_class.h"
#include "batch/batch_drawing.h"
#include "history/state.h"

using namespace batch;

int RunBatchIfAsked(int argc, char** argv) {
  QStringList list;
  for (int i = 1; i < argc; ++i) list += QFile::decodeName(argv[i]);
  bool asked = false;
  for (const QString& a : list) asked = asked || IsBatchOption(a);
  if (!asked) return -1;

  BatchArgs args;
  const QString bad = ParseArgs(list, args);
  if (!bad.isEmpty()) {
    PrintLine(stderr, "tamlo: " + bad.toStdString());
    std::fputs(kUsage, stderr);
    return 2;
  }

  if (args.Mode == BatchMode::Help) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (args.Mode == BatchMode::Version) {
    PrintLine(stdout, AppState().VersionText);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  if (args.Ins.size() > 1 || args.Mode == BatchMode::ContactSheet || args.Mode == BatchMode::Portfolio)
    return RunClass(args, argv[0]);

  // Both names are taken whole before the working folder changes.
  const QString in = QFileInfo(args.In).absoluteFilePath();
  QString out = args.Out.isEmpty() ? QString() : QFileInfo(args.Out).absoluteFilePath();
  if (IsExport(args.Mode) && IsFolderOutput(args.Out)) {
    out = OutputInFolder(args.Mode, out, in, args.VideoFormatName);
    QDir().mkpath(QFileInfo(out).absolutePath());
  }
  return ExportDrawing(args, argv[0], in, out);
}
