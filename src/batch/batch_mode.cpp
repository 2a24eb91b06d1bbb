// The batch mode: pictures and descriptions of drawing files, with no window
// and no display. What the window would show in a box goes to standard
// error; a question gets its safe answer.
#include "batch/batch_mode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "history/describe.h"
#include "history/play.h"
#include "history/state.h"
#include "history/replay_pace.h"
#include "io/contact_sheet.h"
#include "io/exports.h"
#include "io/file_replace.h"
#include "io/video_export.h"
#include "io/video_writer.h"
#include "format/history_reader.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "render/paint.h"

namespace {

const char* const kUsage =
    "usage: tamlo [FILE]\n"
    "       tamlo --export-bmp OUT.bmp [--step N] IN.tlo\n"
    "       tamlo --export-jpeg OUT.jpg [--step N] IN.tlo\n"
    "       tamlo --export-png OUT.png [--step N] IN.tlo\n"
    "       tamlo --export-process OUT.jpg IN.tlo\n"
    "       tamlo --export-video OUT.mp4|OUT.gif [--pace SPEC] [--hold SECONDS] IN.tlo\n"
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
    "  --pace SPEC          steps per second (default 4), or 'drawn' for the\n"
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

enum class BatchMode {
  None,
  ExportBMP,
  ExportJPEG,
  ExportPNG,
  ExportProcess,
  ExportVideo,
  ContactSheet,
  Describe,
  Help,
  Version
};

bool IsExport(BatchMode mode) {
  return mode == BatchMode::ExportBMP || mode == BatchMode::ExportJPEG || mode == BatchMode::ExportPNG || mode == BatchMode::ExportProcess ||
         mode == BatchMode::ExportVideo || mode == BatchMode::ContactSheet;
}
bool IsSinglePicture(BatchMode mode) { return mode == BatchMode::ExportBMP || mode == BatchMode::ExportJPEG || mode == BatchMode::ExportPNG; }

struct BatchArgs {
  BatchMode Mode = BatchMode::None;
  QString Out;
  QStringList Ins;
  QString In;  // the first of Ins
  std::optional<int> Step;
  ReplayPace Pace;
  bool PaceGiven = false, HoldGiven = false;
  int Jobs = 0;  // 0: one per core
};

// An output that names a folder: one output per drawing goes into it.
bool IsFolderOutput(const QString& out) { return out.endsWith(u'/') || QFileInfo(out).isDir(); }

// Any long option asks for the batch mode: an unknown one is bad usage with
// the usage line, never a window started by mistake.
bool IsBatchOption(const QString& a) { return a.startsWith(u"--") && a.size() > 2; }

// Fills `args`; an empty result is success, else the reason of the bad usage.
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

void PrintLine(std::FILE* to, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), to);
  std::fputc('\n', to);
}

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

// Qt's own notes about the platform (no runtime folder, no window system)
// say nothing about the drawing: only its serious messages are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintLine(stderr, "tamlo: " + text.toStdString());
}

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

  if (IsExport(args.Mode) && args.Mode != BatchMode::ContactSheet) {
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
  if (ReadHistory(S, bytes) != 0) return 1;
  if (S.History.Count() > 0) S.History.NextFigID = WrapAdd(S.History.NextFigID, 1);

  if (args.Mode == BatchMode::Describe) {
    for (HistoryItem* item = S.History.Head->Next; item; item = item->Next)
      for (const std::string& line : DescribeAction(item->Data)) PrintLine(stdout, line);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  PictureStore pictures(S);
  WatchedPictures watched(pictures);
  S.Pictures = &watched;
  const auto status = [&](bool written) { return !written ? 1 : watched.AnyFailed() ? kPictureNotDrawn : 0; };

  if (args.Mode == BatchMode::ExportProcess || args.Mode == BatchMode::ExportVideo) {
    if (S.History.Count() == 0) {
      PrintLine(stderr, "tamlo: the drawing has no steps; nothing written");
      return 0;
    }
    if (args.Mode == BatchMode::ExportVideo) {
      VideoFormat format = VideoFormat::MP4;
      VideoFormatOf(out, format);
      return status(ExportVideo(S, pictures.WorkBitmap, out, format, args.Pace, true) == VideoExportResult::Done);
    }
    return status(ExportProcess(S, pictures.WorkBitmap, ProcessPictureBase(out.toStdString()), {},
                                SortingProcessDigits(S.History.Count())));
  }

  const int step = args.Step.value_or(S.History.Count());
  if (step > S.History.Count()) {
    PrintLine(stderr, QStringLiteral("tamlo: step %1 is beyond the last step, %2").arg(step).arg(S.History.Count())
                          .toStdString());
    return 1;
  }
  S.CurrentStep = S.History.ItemAt(step);
  GoToStep(S);
  if (args.Mode == BatchMode::ContactSheet) {
    const bool saved = SheetThumbnail(pictures.WorkBitmap).save(out, "PNG");
    if (!saved) PrintLine(stderr, "tamlo: " + CannotCreateText(out.toStdString()));
    return status(saved);
  }
  const PictureKind kind = args.Mode == BatchMode::ExportBMP ? PictureKind::BMP : args.Mode == BatchMode::ExportPNG ? PictureKind::PNG : PictureKind::JPEG;
  return status(ExportPicture(dialogs, out, pictures.WorkBitmap, kind));
}

// The output of the drawing `in` in the output folder `folder`, named after
// the drawing: "a.tlo" gives a.jpg, a.mp4, or for the series a/a.jpg (whose
// pictures are a/a001.jpg, ...).
QString OutputInFolder(BatchMode mode, const QString& folder, const QString& in) {
  const QString base = QFileInfo(in).completeBaseName();
  const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
  switch (mode) {
    case BatchMode::ExportBMP: return dir + base + ".bmp";
    case BatchMode::ExportPNG: return dir + base + ".png";
    case BatchMode::ExportVideo: return dir + base + ".mp4";
    case BatchMode::ExportProcess: return dir + base + u'/' + base + ".jpg";
    default: return dir + base + ".jpg";
  }
}

// Exit statuses from the best to the worst: done, a picture not drawn,
// failed, bad usage.
int Severity(int status) {
  switch (status) {
    case 0: return 0;
    case kPictureNotDrawn: return 1;
    case 2: return 3;
    default: return 2;
  }
}
int Worst(int a, int b) { return Severity(b) > Severity(a) ? b : a; }

// A drawing of a class run: done in a child process of its own, whose
// standard error is gathered here and shown with the drawing's name.
struct DrawingRun {
  QString Given;  // as named on the command line
  QString In, Out;
  pid_t Pid = -1;
  int Fd = -1;
  QByteArray Err;
  int Status = -1;  // -1: not done yet
  std::string Refusal;  // why it was not started
};

// Every line of a drawing's messages, with the drawing's name after "tamlo: ".
std::vector<std::string> NamedLines(const DrawingRun& run) {
  std::vector<std::string> lines;
  const std::string name = run.Given.toStdString();
  for (const QByteArray& line : run.Err.split('\n')) {
    if (line.isEmpty()) continue;
    std::string text = line.toStdString();
    if (text.rfind("tamlo: ", 0) == 0) text = text.substr(7);
    if (text.rfind("usage: ", 0) == 0 || text.rfind("       ", 0) == 0) continue;  // the usage lines
    lines.push_back("tamlo: " + name + ": " + text);
  }
  return lines;
}

// Why a drawing did not go well: its last message.
std::string ReasonOf(const DrawingRun& run) {
  const std::vector<std::string> lines = NamedLines(run);
  if (lines.empty()) return "tamlo: " + run.Given.toStdString() + ": no message";
  return lines.back();
}

const char* OutcomeText(int status) {
  switch (status) {
    case 0: return "done";
    case kPictureNotDrawn: return "written, a picture could not be drawn";
    case 2: return "bad usage";
    default: return "failed";
  }
}

// The progress of a class run: a bar redrawn in place on a terminal, a
// plain line per drawing otherwise.
class ProgressLine {
 public:
  explicit ProgressLine(int count) : Count(count), Terminal(::isatty(2) == 1) {}
  void Started(int running) {
    Running = running;
    Draw();
  }
  void Finished(const DrawingRun& run, const std::vector<std::string>& lines, int running) {
    ++Done;
    Running = running;
    Clear();
    for (const std::string& line : lines) PrintLine(stderr, line);
    if (!Terminal)
      PrintLine(stderr, QStringLiteral("tamlo: [%1/%2] %3: %4")
                            .arg(Done)
                            .arg(Count)
                            .arg(run.Given, QString::fromUtf8(OutcomeText(run.Status)))
                            .toStdString());
    Draw();
  }
  void End() { Clear(); }

 private:
  void Clear() {
    if (Terminal && Shown) std::fputs("\r\033[K", stderr);
    Shown = false;
  }
  void Draw() {
    if (!Terminal) return;
    constexpr int kWidth = 30;
    const int filled = Count > 0 ? Done * kWidth / Count : kWidth;
    std::string bar = "\r\033[Ktamlo: [" + std::string(size_t(filled), '#') + std::string(size_t(kWidth - filled), '.') +
                      "] " + std::to_string(Done) + "/" + std::to_string(Count) + " drawings";
    if (Running > 0) bar += ", " + std::to_string(Running) + " at work";
    std::fputs(bar.c_str(), stderr);
    std::fflush(stderr);
    Shown = true;
  }
  int Count, Done = 0, Running = 0;
  bool Terminal, Shown = false;
};

// Starts the drawing's child process; false when none could be made.
bool StartChild(DrawingRun& run, const BatchArgs& args, char* argv0) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (pid == 0) {
    ::dup2(fds[1], 2);
    ::close(fds[0]);
    ::close(fds[1]);
    const int status = ExportDrawing(args, argv0, run.In, run.Out);
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
  }
  ::close(fds[1]);
  run.Pid = pid;
  run.Fd = fds[0];
  return true;
}

// Reads what the child said; false at its end.
bool ReadChild(DrawingRun& run) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(run.Fd, buffer, sizeof buffer);
    if (n > 0) {
      run.Err.append(buffer, n);
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    return false;
  }
}

int ChildStatus(pid_t pid, std::string& why) {
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0)
    if (errno != EINTR) return 1;
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) why = "stopped by signal " + std::to_string(WTERMSIG(raw));
  return 1;
}

// Several drawings (or the contact sheet): each in a process of its own, as
// many at a time as asked (one per core by default). Processes, not threads:
// every drawing is read with its own folder as the working folder, which is
// the process's; and a drawing that crashes its renderer takes no other down.
// No Qt object exists here before the last child has ended.
int RunClass(const BatchArgs& args, char* argv0) {
  const bool sheet = args.Mode == BatchMode::ContactSheet;
  const QString out = QFileInfo(args.Out).absoluteFilePath();
  std::unique_ptr<QTemporaryDir> thumbs;
  if (sheet) {
    thumbs = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tamlo-sheet-XXXXXX");
    if (!thumbs->isValid()) {
      PrintLine(stderr, "tamlo: " + CannotCreateText(thumbs->path().toStdString()));
      return 1;
    }
    for (const QString& given : args.Ins) {
      const QString refused = RefusedOutput(out, QFileInfo(given).absoluteFilePath());
      if (!refused.isEmpty()) {
        PrintLine(stderr, "tamlo: " + refused.toStdString());
        std::fputs(kUsage, stderr);
        return 2;
      }
    }
  } else {
    QDir().mkpath(out);
  }

  std::vector<DrawingRun> runs(size_t(args.Ins.size()));
  std::set<QString> outputs;
  for (size_t i = 0; i < runs.size(); ++i) {
    DrawingRun& run = runs[i];
    run.Given = args.Ins[qsizetype(i)];
    run.In = QFileInfo(run.Given).absoluteFilePath();
    run.Out = sheet ? thumbs->filePath(QString::number(i) + ".png") : OutputInFolder(args.Mode, out, run.In);
    if (!outputs.insert(run.Out).second) {
      run.Status = 1;
      run.Refusal = "another drawing of the same name is written to " + run.Out.toStdString() + "; nothing written";
    } else if (args.Mode == BatchMode::ExportProcess) {
      QDir().mkpath(QFileInfo(run.Out).absolutePath());
    }
  }

  long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
  const size_t jobs = size_t(args.Jobs > 0 ? args.Jobs : std::max(1L, cores));
  ProgressLine progress(int(runs.size()));
  std::vector<DrawingRun*> running;
  size_t next = 0;
  int worst = 0;
  auto finish = [&](DrawingRun& run) {
    std::vector<std::string> lines = NamedLines(run);
    if (!run.Refusal.empty()) {
      run.Err = QByteArray::fromStdString("tamlo: " + run.Refusal + "\n");
      lines = NamedLines(run);
    }
    worst = Worst(worst, run.Status);
    progress.Finished(run, lines, int(running.size()));
  };
  while (next < runs.size() || !running.empty()) {
    while (next < runs.size() && running.size() < jobs) {
      DrawingRun& run = runs[next++];
      if (run.Status >= 0) {
        finish(run);
        continue;
      }
      if (!StartChild(run, args, argv0)) {
        run.Status = 1;
        run.Refusal = "no process could be started for the drawing";
        finish(run);
        continue;
      }
      running.push_back(&run);
      progress.Started(int(running.size()));
    }
    if (running.empty()) continue;
    std::vector<pollfd> fds;
    for (DrawingRun* run : running) fds.push_back({run->Fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    for (size_t k = fds.size(); k-- > 0;) {
      if (fds[k].revents == 0) continue;
      DrawingRun& run = *running[k];
      if (ReadChild(run)) continue;
      ::close(run.Fd);
      run.Fd = -1;
      std::string why;
      run.Status = ChildStatus(run.Pid, why);
      if (!why.empty()) run.Err.append(QByteArray::fromStdString("tamlo: " + why + "\n"));
      running.erase(running.begin() + qsizetype(k));
      finish(run);
    }
  }
  progress.End();

  if (sheet) {
    const std::unique_ptr<QGuiApplication> app = StartQt(argv0);
    std::vector<SheetEntry> entries;
    for (const DrawingRun& run : runs) {
      SheetEntry e{QFileInfo(run.Given).fileName(), QImage()};
      if (run.Status == 0 || run.Status == kPictureNotDrawn) e.Thumbnail.load(run.Out, "PNG");
      entries.push_back(e);
    }
    BatchDialogs dialogs;
    if (!ExportPicture(dialogs, out, ContactSheet(entries), PictureKind::PNG)) worst = Worst(worst, 1);
  }

  int failed = 0, partly = 0;
  for (const DrawingRun& run : runs) {
    if (run.Status == kPictureNotDrawn) ++partly;
    else if (run.Status != 0) ++failed;
  }
  QString summary = QStringLiteral("tamlo: %1 drawings: %2 done").arg(runs.size()).arg(int(runs.size()) - failed - partly);
  if (failed > 0) summary += QStringLiteral(", %1 failed").arg(failed);
  if (partly > 0) summary += QStringLiteral(", %1 written without a picture they name").arg(partly);
  PrintLine(stderr, summary.toStdString());
  for (const DrawingRun& run : runs)
    if (run.Status != 0)
      PrintLine(stderr, "tamlo:   " + std::string(OutcomeText(run.Status)) + ": " + ReasonOf(run).substr(7));
  return worst;
}

}  // namespace

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

  if (args.Ins.size() > 1 || args.Mode == BatchMode::ContactSheet) return RunClass(args, argv[0]);

  // Both names are taken whole before the working folder changes.
  const QString in = QFileInfo(args.In).absoluteFilePath();
  QString out = args.Out.isEmpty() ? QString() : QFileInfo(args.Out).absoluteFilePath();
  if (IsExport(args.Mode) && IsFolderOutput(args.Out)) {
    out = OutputInFolder(args.Mode, out, in);
    QDir().mkpath(QFileInfo(out).absolutePath());
  }
  return ExportDrawing(args, argv[0], in, out);
}
