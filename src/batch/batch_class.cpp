// A class run: every drawing in a child process of its own, with a progress
// line, a summary, and for the contact sheet the grid of their last steps.
#include "batch/batch_class.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batch/batch_drawing.h"
#include "batch/portfolio.h"
#include "io/contact_sheet.h"
#include "io/exports.h"
#include "io/picture.h"

namespace batch {
namespace {

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

}  // namespace

// Several drawings (or the contact sheet): each in a process of its own, as
// many at a time as asked (one per core by default). Processes, not threads:
// every drawing is read with its own folder as the working folder, which is
// the process's; and a drawing that crashes its renderer takes no other down.
// No Qt object exists here before the last child has ended.
int RunClass(const BatchArgs& args, char* argv0) {
  const bool sheet = args.Mode == BatchMode::ContactSheet;
  const bool portfolio = args.Mode == BatchMode::Portfolio;
  const QString out = QFileInfo(args.Out).absoluteFilePath();
  std::unique_ptr<QTemporaryDir> thumbs;  // the sheet's thumbnails, the portfolio's cards
  if (portfolio) {
    thumbs = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tamlo-portfolio-XXXXXX");
    if (!thumbs->isValid() || !QDir().mkpath(out)) {
      PrintLine(stderr, "tamlo: " + CannotCreateText((thumbs->isValid() ? out : thumbs->path()).toStdString()));
      return 1;
    }
  } else if (sheet) {
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
    run.Out = sheet       ? thumbs->filePath(QString::number(i) + ".png")
              : portfolio ? thumbs->filePath(QString::number(i) + ".card")
                          : OutputInFolder(args.Mode, out, run.In, args.VideoFormatName);
    const QString written = portfolio ? PortfolioFolderOf(out, run.In) : run.Out;
    if (!outputs.insert(written).second) {
      run.Status = 1;
      run.Refusal = "another drawing of the same name is written to " + written.toStdString() + "; nothing written";
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
    SheetLayout layout;
    if (!args.Page.isEmpty()) {
      layout = SheetPageLayout(args.Page, int(runs.size()), args.Columns, args.Title);
    } else {
      if (args.ThumbWidth > 0) layout.ThumbWidth = args.ThumbWidth, layout.ThumbHeight = args.ThumbHeight;
      layout.Columns = args.Columns;
      layout.Title = args.Title;
    }
    std::vector<SheetEntry> entries;
    for (const DrawingRun& run : runs) {
      SheetEntry e{QFileInfo(run.Given).completeBaseName(), QImage()};
      QImage canvas;
      if ((run.Status == 0 || run.Status == kPictureNotDrawn) && canvas.load(run.Out, "PNG"))
        e.Thumbnail = SheetThumbnail(canvas, QSize(layout.ThumbWidth, layout.ThumbHeight));
      entries.push_back(e);
    }
    BatchDialogs dialogs;
    if (!ExportPicture(dialogs, out, ContactSheet(entries, layout), PictureKind::PNG)) worst = Worst(worst, 1);
  }
  if (portfolio) {
    const std::unique_ptr<QGuiApplication> app = StartQt(argv0);
    std::vector<PortfolioRun> made;
    for (const DrawingRun& run : runs) {
      const bool ok = run.Status == 0 || run.Status == kPictureNotDrawn;
      // The reason without "tamlo: NAME: ": the card names the drawing.
      const std::string prefix = "tamlo: " + run.Given.toStdString() + ": ", reason = ReasonOf(run);
      const QString why = QString::fromStdString(reason.rfind(prefix, 0) == 0 ? reason.substr(prefix.size()) : reason);
      made.push_back({run.Given, ok, ok ? QString() : why, run.Out});
    }
    const QString title = args.Title.isEmpty() ? QString::fromUtf8(kPortfolioTitle) : args.Title;
    if (!WritePortfolioIndex(out, title, made)) worst = Worst(worst, 1);
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

}  // namespace batch
