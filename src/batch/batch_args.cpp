// The batch mode's command line and its help text.
#include "batch/batch_args.h"

#include <QDir>
#include <QFileInfo>

#include "io/file_replace.h"
#include "io/video_writer.h"

namespace batch {

const char* const kUsage =
    "usage: tamlo [--kiosk] [FILE]\n"
    "       tamlo --export-bmp OUT.bmp [--step N] IN.tlo\n"
    "       tamlo --export-jpeg OUT.jpg [--step N] IN.tlo\n"
    "       tamlo --export-png OUT.png [--scale N] [--step N] IN.tlo\n"
    "       tamlo --export-svg OUT.svg [--step N] IN.tlo\n"
    "       tamlo --export-pdf OUT.pdf [--page a4|letter] [--step N] IN.tlo\n"
    "       tamlo --export-process OUT.jpg IN.tlo\n"
    "       tamlo --export-video OUT.mp4|OUT.gif|OUT.webm [--pace RATE] [--hold SECONDS] IN.tlo\n"
    "       tamlo --export-... OUTDIR/ [--jobs N] IN.tlo...\n"
    "       tamlo --export-video OUTDIR/ [--video-format gif|mp4|webm] [--jobs N] IN.tlo...\n"
    "       tamlo --contact-sheet OUT.png [--thumb-size WxH] [--columns N] [--title TEXT]\n"
    "                             [--page a4|letter] [--jobs N] IN.tlo...\n"
    "       tamlo --portfolio OUTDIR/ [--title TEXT] [--pace RATE] [--hold SECONDS]\n"
    "                         [--jobs N] IN.tlo...|FOLDER...\n"
    "       tamlo --describe IN.tlo\n"
    "       tamlo --help | --version\n";

const char* const kHelp =
    "\n"
    "Without options Tamlo opens its window, and FILE (a .tlo drawing, or a .bmp\n"
    "or .jpg picture as the background) when given; --kiosk opens it in kiosk\n"
    "mode (full screen, only the adult's keys end it, saves only into the set\n"
    "folder; see the README). The other options work without a window or a\n"
    "display:\n"
    "\n"
    "  --export-bmp OUT     write the drawing as a 640 x 480 32-bit BMP picture\n"
    "  --export-jpeg OUT    write the drawing as a JPEG picture\n"
    "  --export-png OUT     write the drawing as a PNG picture\n"
    "  --scale N            the PNG picture N times as large (1 to 8: N x 640 by\n"
    "                       N x 480), drawn as smooth vectors; 1 (the default) is\n"
    "                       the pixel-exact 640 x 480 picture\n"
    "  --export-svg OUT     write the drawing as vectors in an SVG file (texts as\n"
    "                       text, the background picture inside the file)\n"
    "  --export-pdf OUT     write the drawing as vectors in a one-page PDF file\n"
    "                       (fonts and background picture inside the file)\n"
    "  --step N             the drawing as it was after step N (0 = empty canvas;\n"
    "                       default: the last step)\n"
    "  --export-process OUT write every step as a numbered JPEG picture next to\n"
    "                       OUT: OUT001.jpg, OUT002.jpg, ... (a drawing of 1000\n"
    "                       steps or more: OUT0001.jpg, ..., so that names sort)\n"
    "  --export-video OUT   write every step as a time-lapse video: OUT.mp4 (H.264,\n"
    "                       plays in browsers and on phones), OUT.gif (looping) or\n"
    "                       OUT.webm (VP9)\n"
    "  --video-format F     the videos of a folder export: gif, mp4 (default) or webm\n"
    "  --pace RATE          steps per second (default 4), or 'drawn' for the\n"
    "                       recorded times with long pauses cut to 2 s\n"
    "  --hold SECONDS       how long the last step stays (default 2)\n"
    "  --contact-sheet OUT  one PNG picture with every drawing's last step and its\n"
    "                       name (without .tlo, shortened at its end), in a grid\n"
    "  --thumb-size WxH     the contact sheet's thumbnails (default 320x240)\n"
    "  --columns N          the contact sheet's columns (default: about as many as\n"
    "                       rows, at most 8)\n"
    "  --title TEXT         a title line above the contact sheet; the portfolio's\n"
    "                       title (default さくひんしゅう)\n"
    "  --page a4|letter     the contact sheet as a landscape page at 300 dpi\n"
    "                       (3508 x 2480 or 3300 x 2550), thumbnails as large as fit;\n"
    "                       the PDF on a landscape A4 or Letter page (default: a\n"
    "                       page that fits the drawing), centred with a margin\n"
    "  --portfolio OUTDIR   a web page for parents: OUTDIR/index.html with a card per\n"
    "                       drawing, and per drawing OUTDIR/NAME/index.html with the\n"
    "                       final picture (at 2x), its making-of video (MP4, H.264,\n"
    "                       with --pace and --hold), pictures at every tenth of its\n"
    "                       steps and the drawing file to download. It works offline\n"
    "                       (nothing from the network); copy or zip OUTDIR whole. A\n"
    "                       FOLDER stands for the drawings (.tlo) in it. A drawing\n"
    "                       that cannot be read gets a card that says so\n"
    "  --jobs N             drawings done at a time (default: one per core)\n"
    "  --describe           list every step as the internal process display does\n"
    "  --help, --version    this text; the version\n"
    "\n"
    "An existing OUT is kept as its backup (OUT's name with .bak) unless such a\n"
    "backup exists already; the numbered pictures replace files of their names.\n"
    "The outputs of a folder export (OUTDIR/) and the portfolio are derived files:\n"
    "running again replaces them, without any .bak.\n"
    "OUT that is the drawing itself or ends in .tlo (in any case) is bad usage.\n"
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
    "not be drawn. With several drawings, the worst of theirs, in the order\n"
    "2, 1, 3, 0.\n"
    "\n"
    "The window keeps every action in a journal in $XDG_STATE_HOME/tamlo (default\n"
    "~/.local/state/tamlo) until it ends; after a crash it offers the drawing\n"
    "again. A drawing declined there is kept as tamlo-DATE-TIME.tlo in that\n"
    "folder: open it as any drawing (tamlo FILE).\n";

const QString kKioskOption = QStringLiteral("--kiosk");

namespace {

// ---- The options of the class outputs: the portfolio, the contact sheet's
// layout and the folder mode's video format.

bool IsClassOption(const QString& a) {
  return a == u"--portfolio" || a == u"--title" || a == u"--thumb-size" || a == u"--columns" || a == u"--page" ||
         a == u"--video-format";
}

QString ParseClassOption(const QString& a, const QString& value, BatchArgs& args) {
  if (a == u"--title") {
    if (!args.Title.isEmpty()) return QStringLiteral("--title given twice");
    if (value.contains(u'\n') || value.contains(u'\r')) return QStringLiteral("--title is one line");
    args.Title = value;
    return QString();
  }
  if (a == u"--thumb-size") {
    if (args.ThumbWidth != 0) return QStringLiteral("--thumb-size given twice");
    const QStringList parts = value.toLower().split(u'x');
    bool okW = false, okH = false;
    const int w = parts.size() == 2 ? parts[0].toInt(&okW) : 0, h = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
    if (!okW || !okH || w < 32 || h < 24 || w > 2000 || h > 1500)
      return QStringLiteral("--thumb-size needs WIDTHxHEIGHT in pixels (32x24 to 2000x1500), not '%1'").arg(value);
    args.ThumbWidth = w;
    args.ThumbHeight = h;
    return QString();
  }
  if (a == u"--columns") {
    if (args.Columns != 0) return QStringLiteral("--columns given twice");
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < 1 || n > 50) return QStringLiteral("--columns needs a number of columns (1 to 50), not '%1'").arg(value);
    args.Columns = n;
    return QString();
  }
  if (a == u"--page") {
    if (!args.Page.isEmpty()) return QStringLiteral("--page given twice");
    const QString page = value.toLower();
    if (page != u"a4" && page != u"letter") return QStringLiteral("--page needs a4 or letter, not '%1'").arg(value);
    args.Page = page;
    return QString();
  }
  // --video-format
  if (!args.VideoFormatName.isEmpty()) return QStringLiteral("--video-format given twice");
  const QString format = value.toLower();
  if (format != u"mp4" && format != u"gif" && format != u"webm")
    return QStringLiteral("--video-format needs gif, mp4 or webm, not '%1'").arg(value);
  args.VideoFormatName = format;
  return QString();
}

// Which options go with which output, once the line is read.
QString CheckClassOptions(const BatchArgs& args) {
  const bool sheet = args.Mode == BatchMode::ContactSheet;
  if (!args.Title.isEmpty() && !sheet && args.Mode != BatchMode::Portfolio)
    return QStringLiteral("--title goes with --contact-sheet or --portfolio");
  if ((args.ThumbWidth != 0 || args.Columns != 0) && !sheet)
    return QStringLiteral("--thumb-size and --columns go with --contact-sheet");
  if (!args.Page.isEmpty() && !sheet && args.Mode != BatchMode::ExportPDF)
    return QStringLiteral("--page goes with --contact-sheet or --export-pdf");
  if (args.ThumbWidth != 0 && !args.Page.isEmpty())
    return QStringLiteral("--page sets the thumbnails' size itself: not with --thumb-size");
  return QString();
}

// A folder among the drawings stands for the drawings in it (.tlo in any
// case), by name.
QString DrawingsInFolders(QStringList& drawings) {
  QStringList all;
  for (const QString& given : drawings) {
    if (!QFileInfo(given).isDir()) {
      all += given;
      continue;
    }
    const QDir folder(given);
    QStringList found;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Readable, QDir::Name))
      if (FileExtension(name).compare(u".tlo", Qt::CaseInsensitive) == 0) found += (given.endsWith(u'/') ? given : given + u'/') + name;
    if (found.isEmpty()) return QStringLiteral("no drawings (.tlo) in the folder %1").arg(given);
    all += found;
  }
  drawings = all;
  return QString();
}

}  // namespace

bool IsFolderOutput(const QString& out) { return out.endsWith(u'/') || QFileInfo(out).isDir(); }

bool IsBatchOption(const QString& a) { return a.startsWith(u"--") && a.size() > 2 && a != kKioskOption; }

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
    if (IsClassOption(a)) {
      if (i + 1 >= list.size()) return a + QStringLiteral(" needs a value");
      if (a == u"--portfolio") {
        if (!setMode(BatchMode::Portfolio) || !args.Out.isEmpty()) return QStringLiteral("only one of the export options at a time");
        args.Out = list[++i];
        continue;
      }
      const QString bad = ParseClassOption(a, list[++i], args);
      if (!bad.isEmpty()) return bad;
      continue;
    }
    // The vector outputs and the PNG's scale.
    if (a == u"--export-svg" || a == u"--export-pdf" || a == u"--scale") {
      if (i + 1 >= list.size()) return a + QStringLiteral(" needs a value");
      const QString value = list[++i];
      if (a == u"--scale") {
        if (args.ScaleGiven) return QStringLiteral("--scale given twice");
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1 || n > 8) return QStringLiteral("--scale needs a whole number from 1 to 8, not '%1'").arg(value);
        args.Scale = n;
        args.ScaleGiven = true;
      } else {
        if (!setMode(a == u"--export-svg" ? BatchMode::ExportSVG : BatchMode::ExportPDF) || !args.Out.isEmpty())
          return QStringLiteral("only one of the export options at a time");
        args.Out = value;
      }
      continue;
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
    if (a == kKioskOption) return QStringLiteral("--kiosk goes with the window, not with the batch options");
    if (a.startsWith(u"--") && a.size() > 2) return QStringLiteral("unknown option ") + a;
    if (a == u"--") {
      positional += list.mid(i + 1);
      break;
    }
    positional += a;
  }
  if (args.Mode == BatchMode::Portfolio) {
    const QString bad = DrawingsInFolders(positional);
    if (!bad.isEmpty()) return bad;
  }
  const bool several = IsExport(args.Mode) && positional.size() > 1;
  if (positional.size() != 1 && !several) return QStringLiteral("exactly one drawing file is needed");
  args.Ins = positional;
  args.In = positional.first();
  if (args.Step && !IsSinglePicture(args.Mode))
    return QStringLiteral("--step goes with --export-bmp, --export-jpeg, --export-png, --export-svg or --export-pdf");
  if (args.ScaleGiven && args.Mode != BatchMode::ExportPNG) return QStringLiteral("--scale goes with --export-png");
  if ((args.PaceGiven || args.HoldGiven) && args.Mode != BatchMode::ExportVideo && args.Mode != BatchMode::Portfolio)
    return QStringLiteral("--pace and --hold go with --export-video");
  if (args.Jobs != 0 && !IsExport(args.Mode)) return QStringLiteral("--jobs goes with the exports");
  if (IsExport(args.Mode) && args.Out.isEmpty())
    return QStringLiteral("the output file name is empty");
  if (const QString bad = CheckClassOptions(args); !bad.isEmpty()) return bad;
  if (args.Mode == BatchMode::Portfolio) return QString();  // OUT is always a folder
  if (args.Mode == BatchMode::ContactSheet) {
    if (args.Out.endsWith(u'/') || QFileInfo(args.Out).isDir())
      return QStringLiteral("the contact sheet is one picture: %1 is a folder").arg(args.Out);
    return QString();
  }
  const bool folder = IsExport(args.Mode) && IsFolderOutput(args.Out);
  if (several && !folder)
    return QStringLiteral("several drawings need a folder as the output (ending in /), not %1").arg(args.Out);
  if (!args.VideoFormatName.isEmpty() && !(args.Mode == BatchMode::ExportVideo && folder))
    return QStringLiteral("--video-format goes with --export-video into a folder (a single video takes the format of its extension)");
  VideoFormat format;
  if (args.Mode == BatchMode::ExportVideo && !folder && !VideoFormatOf(args.Out, format))
    return QStringLiteral("the video %1 needs the extension .mp4, .gif or .webm").arg(args.Out);
  return QString();
}

}  // namespace batch
