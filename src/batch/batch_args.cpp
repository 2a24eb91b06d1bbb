// The batch mode's command line and its help text.
#include "batch/batch_args.h"

#include <QFileInfo>

#include "io/video_writer.h"

namespace batch {

const char* const kUsage =
    "usage: tamlo [FILE]\n"
    "       tamlo --export-bmp OUT.bmp [--step N] IN.tlo\n"
    "       tamlo --export-jpeg OUT.jpg [--step N] IN.tlo\n"
    "       tamlo --export-png OUT.png [--step N] IN.tlo\n"
    "       tamlo --export-process OUT.jpg IN.tlo\n"
    "       tamlo --export-video OUT.mp4|OUT.gif [--pace RATE] [--hold SECONDS] IN.tlo\n"
    "       tamlo --export-... OUTDIR/ [--jobs N] IN.tlo...\n"
    "       tamlo --contact-sheet OUT.png [--jobs N] IN.tlo...\n"
    "       tamlo --describe IN.tlo\n"
    "       tamlo --help | --version\n";

const char* const kHelp =
    "\n"
    "Without options Tamlo opens its window, and FILE (a .tlo drawing, or a .bmp\n"
    "or .jpg picture as the background) when given. The options work without a\n"
    "window or a display:\n"
    "\n"
    "  --export-bmp OUT     write the drawing as a 640 x 480 32-bit BMP picture\n"
    "  --export-jpeg OUT    write the drawing as a JPEG picture\n"
    "  --export-png OUT     write the drawing as a PNG picture\n"
    "  --step N             the drawing as it was after step N (0 = empty canvas;\n"
    "                       default: the last step)\n"
    "  --export-process OUT write every step as a numbered JPEG picture next to\n"
    "                       OUT: OUT001.jpg, OUT002.jpg, ... (a drawing of 1000\n"
    "                       steps or more: OUT0001.jpg, ..., so that names sort)\n"
    "  --export-video OUT   write every step as a time-lapse video: OUT.mp4 (H.264,\n"
    "                       plays in browsers and on phones) or OUT.gif (looping)\n"
    "  --pace RATE          steps per second (default 4), or 'drawn' for the\n"
    "                       recorded times with long pauses cut to 2 s\n"
    "  --hold SECONDS       how long the last step stays (default 2)\n"
    "  --contact-sheet OUT  one PNG picture with every drawing's last step and its\n"
    "                       file name, in a grid\n"
    "  --jobs N             drawings done at a time (default: one per core)\n"
    "  --describe           list every step as the internal process display does\n"
    "  --help, --version    this text; the version\n"
    "\n"
    "An existing OUT is kept as its backup (OUT's name with .bak) unless such a\n"
    "backup exists already; the numbered pictures replace files of their names.\n"
    "OUT that is the drawing itself or ends in .tlo (in any case) is bad usage;\n"
    "a device, a pipe or a folder at OUT is never replaced (failed).\n"
    "A drawing with no steps gives the blank canvas: a video of one frame held\n"
    "--hold seconds, a series of one picture, OUT000.jpg.\n"
    "Pictures the drawing names without a folder are looked for in the drawing's\n"
    "folder; one that is missing or damaged is named on standard error.\n"
    "\n"
    "\n"
    "Every export takes several drawings when OUT is a folder (ends in / or\n"
    "names an existing folder): one output per drawing, named after it (a.tlo\n"
    "gives OUTDIR/a.jpg, OUTDIR/a.mp4, or the folder OUTDIR/a/ of the series\n"
    "a001.jpg, ...). The drawings are done in parallel, each read with its own\n"
    "folder as the working folder; one that fails does not stop the others, and\n"
    "a summary names every drawing that did not go well and why.\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad usage, 3 written but a picture could\n"
    "not be drawn, 4 stopped by SIGINT (Ctrl+C) or SIGTERM. With several\n"
    "drawings, the worst of theirs, in the order 2, 1, 3, 0. Stopped, an export\n"
    "removes what it had not finished (a video, its temporary files, the contact\n"
    "sheet's thumbnails), keeps what it had (the pictures of a series so far, the\n"
    "drawings done), stops the drawings still at work and names what was\n"
    "finished.\n"
    "\n"
    "The window keeps every action in a journal in $XDG_STATE_HOME/tamlo (default\n"
    "~/.local/state/tamlo) until it ends; after a crash it offers the drawing\n"
    "again. A drawing declined there is kept as tamlo-DATE-TIME.tlo in that\n"
    "folder: open it as any drawing (tamlo FILE).\n";

bool IsFolderOutput(const QString& out) { return out.endsWith(u'/') || QFileInfo(out).isDir(); }

bool IsBatchOption(const QString& a) { return a.startsWith(u"--") && a.size() > 2; }

QString ParseArgs(const QStringList& list, BatchArgs& args) {
  QStringList positional;
  auto setMode = [&](BatchMode mode) {
    if (args.Mode != BatchMode::None && args.Mode != mode) return false;
    args.Mode = mode;
    return true;
  };
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QString& a = list[i];
    if (a == u"--help" || a == u"--version") {
      // Asking for help wins over everything else on the line.
      args.Mode = a == u"--help" ? BatchMode::Help : BatchMode::Version;
      return QString();
    }
    const bool takesFile = a == u"--export-bmp" || a == u"--export-jpeg" || a == u"--export-png" ||
                           a == u"--export-process" || a == u"--export-video" || a == u"--contact-sheet";
    const bool takesValue = a == u"--step" || a == u"--pace" || a == u"--hold" || a == u"--jobs";
    if (takesFile || takesValue) {
      if (i + 1 >= list.size()) return a + QStringLiteral(" needs a value");
      const QString value = list[++i];
      if (a == u"--step") {
        if (args.Step) return QStringLiteral("--step given twice");
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 0) return QStringLiteral("--step needs a step number (0 or more), not '%1'").arg(value);
        args.Step = n;
        continue;
      }
      if (a == u"--pace") {
        if (args.PaceGiven) return QStringLiteral("--pace given twice");
        if (!ParsePace(value.toStdString(), args.Pace))
          return QStringLiteral("--pace needs a number of steps per second (up to 100) or 'drawn', not '%1'").arg(value);
        args.PaceGiven = true;
        continue;
      }
      if (a == u"--hold") {
        if (args.HoldGiven) return QStringLiteral("--hold given twice");
        if (!ParseHold(value.toStdString(), args.Pace))
          return QStringLiteral("--hold needs a number of seconds (0 to 600), not '%1'").arg(value);
        args.HoldGiven = true;
        continue;
      }
      if (a == u"--jobs") {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (args.Jobs != 0) return QStringLiteral("--jobs given twice");
        if (!ok || n < 1 || n > 256) return QStringLiteral("--jobs needs a number of drawings at a time (1 to 256), not '%1'").arg(value);
        args.Jobs = n;
        continue;
      }
      const BatchMode mode = a == u"--export-bmp"      ? BatchMode::ExportBMP
                              : a == u"--export-jpeg"   ? BatchMode::ExportJPEG
                              : a == u"--export-png"    ? BatchMode::ExportPNG
                              : a == u"--export-video"  ? BatchMode::ExportVideo
                              : a == u"--contact-sheet" ? BatchMode::ContactSheet
                                                        : BatchMode::ExportProcess;
      if (!setMode(mode) || !args.Out.isEmpty()) return QStringLiteral("only one of the export options at a time");
      args.Out = value;
      continue;
    }
    if (a == u"--describe") {
      if (!setMode(BatchMode::Describe)) return QStringLiteral("--describe cannot be combined with an export");
      continue;
    }
    if (a.startsWith(u"--") && a.size() > 2) return QStringLiteral("unknown option ") + a;
    if (a == u"--") {
      positional += list.mid(i + 1);
      break;
    }
    positional += a;
  }
  const bool several = IsExport(args.Mode) && positional.size() > 1;
  if (positional.size() != 1 && !several) return QStringLiteral("exactly one drawing file is needed");
  args.Ins = positional;
  args.In = positional.first();
  if (args.Step && !IsSinglePicture(args.Mode))
    return QStringLiteral("--step goes with --export-bmp, --export-jpeg or --export-png");
  if ((args.PaceGiven || args.HoldGiven) && args.Mode != BatchMode::ExportVideo)
    return QStringLiteral("--pace and --hold go with --export-video");
  if (args.Jobs != 0 && !IsExport(args.Mode)) return QStringLiteral("--jobs goes with the exports");
  if (IsExport(args.Mode) && args.Out.isEmpty())
    return QStringLiteral("the output file name is empty");
  if (args.Mode == BatchMode::ContactSheet) {
    if (args.Out.endsWith(u'/') || QFileInfo(args.Out).isDir())
      return QStringLiteral("the contact sheet is one picture: %1 is a folder").arg(args.Out);
    return QString();
  }
  const bool folder = IsExport(args.Mode) && IsFolderOutput(args.Out);
  if (several && !folder)
    return QStringLiteral("several drawings need a folder as the output (ending in /), not %1").arg(args.Out);
  VideoFormat format;
  if (args.Mode == BatchMode::ExportVideo && !folder && !VideoFormatOf(args.Out, format))
    return QStringLiteral("the video %1 needs the extension .mp4 or .gif").arg(args.Out);
  return QString();
}

}  // namespace batch
