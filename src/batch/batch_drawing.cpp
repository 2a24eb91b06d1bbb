// One drawing of the batch mode: read, replayed to the step asked for, and
// exported or described.
#include "batch/batch_drawing.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <vector>

#include "batch/batch_signals.h"
#include "batch/portfolio.h"
#include "format/history_reader.h"
#include "format/missing_pictures.h"
#include "history/describe.h"
#include "history/state.h"
#include "io/contact_sheet.h"
#include "io/exports.h"
#include "io/file_replace.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "io/replay_walker.h"
#include "io/video_export.h"
#include "io/video_writer.h"
#include "io/vector_exports.h"
#include "render/vector_paint.h"

namespace batch {

void PrintLine(std::FILE* to, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), to);
  std::fputc('\n', to);
}

QString RefusedOutput(const QString& out, const QString& in) {
  struct stat a {}, b {};
  const bool same = ::stat(QFile::encodeName(out).constData(), &a) == 0 &&
                    ::stat(QFile::encodeName(in).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  if (same) return QStringLiteral("the output %1 is the drawing %2 itself").arg(out, in);
  if (FileExtension(out).compare(u".tlo", Qt::CaseInsensitive) == 0)
    return QStringLiteral("the output %1 has a drawing's extension (.tlo); pictures are never written over drawings")
        .arg(out);
  return QString();
}

namespace {

// Passes the background loads of the replay on, and notes every picture the
// drawing names that could not be drawn at the step shown: missing where it
// was recorded and beside the drawing, or damaged. A step's loads end with
// its repaint; the last one tells whether the picture is on the canvas.
class WatchedPictures : public PictureSide {
 public:
  explicit WatchedPictures(PictureSide& pictures) : Pictures(pictures) {}

  int LoadBGPicture(const std::string& name) override {
    const int result = Pictures.LoadBGPicture(name);
    Loads.push_back({name, result});
    return result;
  }
  void BlankBGImage() override {
    Loads.clear();
    Pictures.BlankBGImage();
  }
  void PaintBoxPaint() override {
    if (!Loads.empty() && Loads.back().Result != 0) {
      // A missing picture is named as the drawing names it; a damaged one
      // by the file that was read.
      const bool damaged = Loads.back().Result == 2;
      const std::string& name = damaged ? Loads.back().Name : Loads.front().Name;
      if (Failed.insert(name).second)
        PrintLine(stderr, "tamlo: the picture " + name + " could not be drawn: " +
                              (damaged ? "the file is damaged" : "no such file"));
    }
    Loads.clear();
    Pictures.PaintBoxPaint();
  }
  bool AnyFailed() const { return !Failed.empty(); }

 private:
  struct LoadedDrawing {
    std::string Name;
    int Result;
  };
  PictureSide& Pictures;
  std::vector<LoadedDrawing> Loads;
  std::set<std::string> Failed;
};

// Qt's own notes about the machine (no XDG_RUNTIME_DIR, no display server)
// say nothing about the drawing: only its serious messages are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintLine(stderr, "tamlo: " + text.toStdString());
}

}  // namespace

// Rendering text needs the GUI side of Qt, never a display.
std::unique_ptr<QGuiApplication> StartQt(char* argv0) {
  static int qtArgc = 1;
  static char* qtArgv[] = {argv0, nullptr};
  qtArgv[0] = argv0;
  if (QCoreApplication::instance()) return nullptr;
  qInstallMessageHandler(QuietQtMessages);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return std::make_unique<QGuiApplication>(qtArgc, qtArgv);
}

// One drawing, in this process: `in` and `out` are whole paths. For the
// contact sheet `out` is where the thumbnail of the last step goes.
int ExportDrawing(const BatchArgs& args, char* argv0, const QString& in, const QString& out) {
  AppState S;
  const std::unique_ptr<QGuiApplication> app = StartQt(argv0);

  BatchDialogs dialogs;
  S.Dialogs = &dialogs;

  // Outputs of a folder export are derived files: replaced without backups.
  // Both are known before the working folder changes.
  const bool backup = !IsFolderOutput(args.Out);
  const QString portfolioFolder =
      args.Mode == BatchMode::Portfolio ? PortfolioFolderOf(QFileInfo(args.Out).absoluteFilePath(), in) : QString();

  if (IsExport(args.Mode) && args.Mode != BatchMode::ContactSheet && args.Mode != BatchMode::Portfolio) {
    const QString refused = RefusedOutput(out, in);
    if (!refused.isEmpty()) {
      PrintLine(stderr, "tamlo: " + refused.toStdString());
      std::fputs(kUsage, stderr);
      return 2;
    }
  }

  if (!IsDrawingFileName(in)) {
    dialogs.ShowMessage("ファイルけいしきがちがいます");
    return 1;
  }
  // Only a regular file of a sane size: a pipe or a device named like a
  // drawing would hang or never end.
  std::string bytes;
  if (!ReadDrawingFileBytes(QFile::encodeName(in).toStdString(), bytes)) {
    dialogs.ShowMessage("データ読み込みに失敗しました");
    return 1;
  }

  // As after choosing the drawing in the open dialog: pictures it names by
  // their bare names are looked for next to it.
  EnterFolderOf(in);
  ReadReport report;
  if (ReadHistory(S, bytes, &report) != 0) {
    // The message, and on the same line where reading stopped, so that the
    // summary of a class run names it too.
    const ReadFault& fault = *report.Fault;
    std::string message = ReadFaultMessage(fault);
    if (fault.What != ReadFault::Kind::NotADrawing) {
      message += " (line " + std::to_string(fault.Line) + ": expected \"" + fault.Expected + "\", found ";
      message += fault.AtEnd ? "the end of the file)" : "\"" + fault.Found + "\")";
    }
    dialogs.ShowMessage(message);
    return 1;
  }
  AskForMissingPictures(S, report.MissingPictures, dialogs, S.OpenBGDialog);
  ContinueFigureIDs(S);

  if (args.Mode == BatchMode::Describe) {
    for (const Action& record : S.History())
      for (const std::string& line : DescribeAction(record)) PrintLine(stdout, line);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  // The exports walk the history forward on a copy of their own.
  ReplayWalker walker(S.History(), dialogs);
  WatchedPictures watched(walker.Pictures());
  walker.State().Pictures = &watched;
  const auto status = [&](bool written) { return !written ? 1 : watched.AnyFailed() ? kPictureNotDrawn : 0; };
  const auto stopped = [&](const std::string& what) {
    PrintLine(stderr, std::string("tamlo: stopped by ") + StopSignalName(StopSignal()) + ": " + what);
    return kStopped;
  };

  if (args.Mode == BatchMode::Portfolio)
    return status(ExportPortfolioDrawing(walker, dialogs, args.Pace, in, portfolioFolder, out,
                                         args.Title.isEmpty() ? QString::fromUtf8(kPortfolioTitle) : args.Title));
  if (args.Mode == BatchMode::ExportProcess || args.Mode == BatchMode::ExportVideo) {
    const int count = S.History().Count();
    // A drawing without steps gives the blank canvas: one frame or picture.
    if (count == 0) PrintLine(stderr, "tamlo: the drawing has no steps; its video or series shows the blank canvas");
    if (args.Mode == BatchMode::ExportVideo) {
      VideoFormat format = VideoFormat::MP4;
      VideoFormatOf(out, format);
      const VideoExportResult r = ExportVideo(walker, dialogs, out, format, args.Pace, backup,
                                              [](VideoPass, int, int) { return !StopRequested(); });
      if (r == VideoExportResult::Cancelled) return stopped("the video was not written");
      return status(r == VideoExportResult::Done);
    }
    const std::string base = ProcessPictureBase(out.toStdString());
    const int digits = SortingProcessDigits(count);
    int reached = 0;
    const bool written = ExportProcess(walker, dialogs, base, [&](int n, int) {
      if (StopRequested()) return false;
      reached = n;
      return true;
    }, digits);
    if (StopRequested() && !written) {
      const int done = count == 0 ? 0 : std::max(reached - 1, 0);
      if (done == 0) return stopped("no picture was written");
      const auto name = [&](int n) {
        return QFileInfo(QStringLiteral("%1%2.jpg").arg(QString::fromStdString(base)).arg(n, digits, 10, QChar(u'0')))
            .fileName()
            .toStdString();
      };
      return stopped(std::to_string(done) + " of " + std::to_string(count) + " pictures were written (" + name(1) +
                     (done > 1 ? " to " + name(done) : std::string()) + ")");
    }
    return status(written);
  }

  const int step = args.Step.value_or(S.History().Count());
  if (step > S.History().Count()) {
    PrintLine(stderr, QStringLiteral("tamlo: step %1 is beyond the last step, %2").arg(step).arg(S.History().Count())
                          .toStdString());
    return 1;
  }
  walker.ForwardTo(step);
  if (StopRequested()) return stopped("nothing was written");
  if (args.Mode == BatchMode::ContactSheet) {
    // The class run scales it to the sheet's thumbnails.
    const bool saved = walker.Picture().convertToFormat(QImage::Format_RGB32).save(out, "PNG", 80);
    if (!saved) PrintLine(stderr, "tamlo: " + CannotCreateText(out.toStdString()));
    return status(saved);
  }
  // The vector outputs.
  if (args.Mode == BatchMode::ExportSVG)
    return status(ExportFileBytes(dialogs, out, DrawingSvg(walker.Pictures().BGPicture, walker.State().Figures()), backup));
  if (args.Mode == BatchMode::ExportPDF) {
    PdfPage page = PdfPage::Fit;
    if (!args.Page.isEmpty()) PdfPageOf(args.Page, page);
    return status(ExportFileBytes(dialogs, out, DrawingPdf(walker.Pictures().BGPicture, walker.State().Figures(), page), backup));
  }
  if (args.Mode == BatchMode::ExportPNG && args.Scale > 1)
    return status(ExportPicture(dialogs, out, RenderScaled(walker.Pictures().BGPicture, walker.State().Figures(), args.Scale), PictureKind::PNG, backup));
  const PictureKind kind = args.Mode == BatchMode::ExportBMP ? PictureKind::BMP : args.Mode == BatchMode::ExportPNG ? PictureKind::PNG : PictureKind::JPEG;
  return status(ExportPicture(dialogs, out, walker.Picture(), kind, backup));
}

// The output of the drawing `in` in the output folder `folder`, named after
// the drawing: "a.tlo" gives a.jpg, a.mp4, or for the series a/a.jpg (whose
// pictures are a/a001.jpg, ...).
QString FolderNameOf(const QString& in) {
  const QString base = QFileInfo(in).completeBaseName();
  return base.isEmpty() || base == u"." || base == u".." ? QFileInfo(in).fileName() : base;
}

QString OutputInFolder(BatchMode mode, const QString& folder, const QString& in, const QString& videoFormat) {
  const QString base = QFileInfo(in).completeBaseName();
  const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
  switch (mode) {
    case BatchMode::ExportBMP: return dir + base + ".bmp";
    case BatchMode::ExportPNG: return dir + base + ".png";
    case BatchMode::ExportSVG: return dir + base + ".svg";
    case BatchMode::ExportPDF: return dir + base + ".pdf";
    case BatchMode::ExportVideo: return dir + base + u'.' + (videoFormat.isEmpty() ? QStringLiteral("mp4") : videoFormat);
    case BatchMode::ExportProcess: return dir + FolderNameOf(in) + u'/' + base + ".jpg";
    default: return dir + base + ".jpg";
  }
}

}  // namespace batch
