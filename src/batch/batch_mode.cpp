// The batch mode: pictures and descriptions of drawing files, with no window
// and no display. What the window would show in a box goes to standard
// error; a question gets its safe answer.
#include "batch/batch_mode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "history/describe.h"
#include "history/play.h"
#include "history/state.h"
#include "io/exports.h"
#include "io/file_replace.h"
#include "format/history_reader.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "render/paint.h"

namespace {

const char* const kUsage =
    "usage: tamlo [FILE]\n"
    "       tamlo --export-bmp OUT.bmp [--step N] IN.tlo\n"
    "       tamlo --export-jpeg OUT.jpg [--step N] IN.tlo\n"
    "       tamlo --export-process OUT.jpg IN.tlo\n"
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
    "  --step N             the drawing as it was after step N (0 = empty canvas;\n"
    "                       default: the last step)\n"
    "  --export-process OUT write every step as a numbered JPEG picture next to\n"
    "                       OUT: OUT001.jpg, OUT002.jpg, ...\n"
    "  --describe           list every step as the internal process display does\n"
    "  --help, --version    this text; the version\n"
    "\n"
    "An existing OUT is kept as its backup (OUT's name with .bak) unless such a\n"
    "backup exists already; the numbered pictures replace files of their names.\n"
    "OUT that is the drawing itself or ends in .tlo (in any case) is bad usage.\n"
    "Pictures the drawing names without a folder are looked for in the drawing's\n"
    "folder; one that is missing or damaged is named on standard error.\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad usage, 3 written but a picture could\n"
    "not be drawn.\n"
    "\n"
    "The window keeps every action in a journal in $XDG_STATE_HOME/tamlo (default\n"
    "~/.local/state/tamlo) until it ends; after a crash it offers the drawing\n"
    "again. A drawing declined there is kept as tamlo-DATE-TIME.tlo in that\n"
    "folder: open it as any drawing (tamlo FILE).\n";

enum TBatchMode { bmNone, bmExportBMP, bmExportJPEG, bmExportProcess, bmDescribe, bmHelp, bmVersion };

bool IsExport(TBatchMode mode) { return mode == bmExportBMP || mode == bmExportJPEG || mode == bmExportProcess; }

struct TBatchArgs {
  TBatchMode Mode = bmNone;
  QString Out;
  QString In;
  std::optional<int> Step;
};

// Any long option asks for the batch mode: an unknown one is bad usage with
// the usage line, never a window started by mistake.
bool IsBatchOption(const QString& a) { return a.startsWith(u"--") && a.size() > 2; }

// Fills `args`; an empty result is success, else the reason of the bad usage.
QString ParseArgs(const QStringList& list, TBatchArgs& args) {
  QStringList positional;
  auto setMode = [&](TBatchMode mode) {
    if (args.Mode != bmNone && args.Mode != mode) return false;
    args.Mode = mode;
    return true;
  };
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QString& a = list[i];
    if (a == u"--help" || a == u"--version") {
      // Asking for help wins over everything else on the line.
      args.Mode = a == u"--help" ? bmHelp : bmVersion;
      return QString();
    }
    const bool takesFile = a == u"--export-bmp" || a == u"--export-jpeg" || a == u"--export-process";
    if (takesFile || a == u"--step") {
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
      const TBatchMode mode = a == u"--export-bmp" ? bmExportBMP : a == u"--export-jpeg" ? bmExportJPEG : bmExportProcess;
      if (!setMode(mode) || !args.Out.isEmpty()) return QStringLiteral("only one of the export options at a time");
      args.Out = value;
      continue;
    }
    if (a == u"--describe") {
      if (!setMode(bmDescribe)) return QStringLiteral("--describe cannot be combined with an export");
      continue;
    }
    if (a.startsWith(u"--") && a.size() > 2) return QStringLiteral("unknown option ") + a;
    if (a == u"--") {
      positional += list.mid(i + 1);
      break;
    }
    positional += a;
  }
  if (positional.size() != 1) return QStringLiteral("exactly one drawing file is needed");
  args.In = positional.first();
  if (args.Step && args.Mode != bmExportBMP && args.Mode != bmExportJPEG)
    return QStringLiteral("--step goes with --export-bmp or --export-jpeg");
  if (IsExport(args.Mode) && args.Out.isEmpty())
    return QStringLiteral("the output file name is empty");
  return QString();
}

void PrintLine(std::FILE* to, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), to);
  std::fputc('\n', to);
}

// Boxes to standard error; every question answered the safe way, every file
// dialog cancelled.
class TBatchDialogs : public TDialogs {
 public:
  void ShowMessage(const std::string& text) override { PrintLine(stderr, "tamlo: " + text); }
  void ShowError(const std::string& text) override { PrintLine(stderr, "tamlo: " + text); }
  TModalResult Ask(const std::string& text, const std::string&, TQuestionButtons buttons) override {
    const TModalResult answer = buttons == qbYesNoCancel ? mrCancel : mrNo;
    PrintLine(stderr, "tamlo: " + text + (answer == mrNo ? " -> No" : " -> Cancel"));
    return answer;
  }
  bool Execute(TFileDialog&) override { return false; }
};

// Exit statuses besides 0 (done), 1 (failed) and 2 (bad usage).
constexpr int kPictureNotDrawn = 3;

// Why `out` may not be written for the drawing `in`; empty when it may. A
// picture never goes over a drawing: neither over the input itself (by
// whatever name or link it is reached) nor over any name of a drawing.
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

// Passes the background loads of the replay on, and notes every picture the
// drawing names that could not be drawn at the step shown: missing where it
// was recorded and beside the drawing, or damaged. A step's loads end with
// its repaint; the last one tells whether the picture is on the canvas.
class TWatchedPictures : public TPictureSide {
 public:
  explicit TWatchedPictures(TPictureSide& pictures) : Pictures(pictures) {}

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
  struct TLoad {
    std::string Name;
    int Result;
  };
  TPictureSide& Pictures;
  std::vector<TLoad> Loads;
  std::set<std::string> Failed;
};

// Qt's own notes about the platform (no runtime folder, no window system)
// say nothing about the drawing: only its serious messages are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintLine(stderr, "tamlo: " + text.toStdString());
}

}  // namespace

int RunBatchIfAsked(int argc, char** argv) {
  QStringList list;
  for (int i = 1; i < argc; ++i) list += QFile::decodeName(argv[i]);
  bool asked = false;
  for (const QString& a : list) asked = asked || IsBatchOption(a);
  if (!asked) return -1;

  TBatchArgs args;
  const QString bad = ParseArgs(list, args);
  if (!bad.isEmpty()) {
    PrintLine(stderr, "tamlo: " + bad.toStdString());
    std::fputs(kUsage, stderr);
    return 2;
  }

  TTamloState S;
  if (args.Mode == bmHelp) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (args.Mode == bmVersion) {
    PrintLine(stdout, S.VersionText);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  // Rendering text needs the GUI side of Qt, never a display.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  std::unique_ptr<QGuiApplication> app;
  if (!QCoreApplication::instance()) {
    qInstallMessageHandler(QuietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
  }

  TBatchDialogs dialogs;
  S.Dialogs = &dialogs;
  // Both names are taken whole before the working folder changes.
  const QString in = QFileInfo(args.In).absoluteFilePath();
  const QString out = args.Out.isEmpty() ? QString() : QFileInfo(args.Out).absoluteFilePath();

  if (IsExport(args.Mode)) {
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
  QFile file(in);
  if (!file.open(QIODevice::ReadOnly)) {
    dialogs.ShowMessage("データ読み込みに失敗しました");
    return 1;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    dialogs.ShowMessage("データ読み込みに失敗しました");
    return 1;
  }
  file.close();

  // As after choosing the drawing in the open dialog: pictures it names by
  // their bare names are looked for next to it.
  EnterFolderOf(in);
  if (ReadHistory(S, bytes.toStdString()) != 0) return 1;
  if (S.History.Count() > 0) S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);

  if (args.Mode == bmDescribe) {
    for (TActionItem* item = S.History.Head->Next; item; item = item->Next)
      for (const std::string& line : DescribeAction(item->Data)) PrintLine(stdout, line);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  TPictureStore pictures(S);
  TWatchedPictures watched(pictures);
  S.Pictures = &watched;
  const auto status = [&](bool written) { return !written ? 1 : watched.AnyFailed() ? kPictureNotDrawn : 0; };

  if (args.Mode == bmExportProcess) {
    if (S.History.Count() == 0) {
      PrintLine(stderr, "tamlo: the drawing has no steps; nothing written");
      return 0;
    }
    return status(ExportProcess(S, pictures.WorkBitmap, ProcessPictureBase(out.toStdString())));
  }

  const int step = args.Step.value_or(S.History.Count());
  if (step > S.History.Count()) {
    PrintLine(stderr, QStringLiteral("tamlo: step %1 is beyond the last step, %2").arg(step).arg(S.History.Count())
                          .toStdString());
    return 1;
  }
  S.CurrentStep = S.History.ItemAt(step);
  GoToStep(S);
  return status(ExportPicture(dialogs, out, pictures.WorkBitmap, args.Mode == bmExportBMP ? pkBMP : pkJPEG));
}
