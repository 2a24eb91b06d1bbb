// Stopping the batch mode with SIGINT or SIGTERM while it writes: the
// program itself runs, gets the signal once its temporary output is there,
// and must remove what it had not finished, stop its child processes, say
// what was finished and end with its own status, 4. Also the outputs the
// video export refuses: a device or a pipe at the name.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <signal.h>
#include <sys/stat.h>

#include <functional>

#include "batch_run.h"
#include "support/file_fixture.h"

namespace {

// A drawing of `count` rectangles: long enough that its video is still
// being written when the signal comes.
QByteArray LongDrawing(int count) {
  QStringList lines{"TAMLO FILE FORMAT 1.2"};
  for (int i = 1; i <= count; ++i) lines += RectRecord(i, 10 + i % 500, 10 + i % 300, 60 + i % 500, 90 + i % 300);
  return (lines.join("\r\n") + "\r\n").toUtf8();
}

class BatchStopTest : public BatchFolderTest {
 protected:
  QProcess Program;
  QTemporaryDir Temp;  // the program's own temporary folder (TMPDIR)

  void Start(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("TMPDIR", Temp.path());
    Program.setProcessEnvironment(env);
    Program.setWorkingDirectory(Dir.path());
    Program.start(TAMLO_BINARY, args);
    ASSERT_TRUE(Program.waitForStarted());
  }

  // Waits until `ready` holds, while the program runs; false when it ended
  // first or never got there.
  bool WaitFor(const std::function<bool()>& ready) {
    for (int round = 0; round < 6000; ++round) {
      if (ready()) return true;
      if (Program.waitForFinished(10)) return ready();
    }
    return false;
  }

  // Files (hidden ones too) under `folder`, recursively, by their paths
  // relative to it.
  static QStringList FilesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
  }
  static bool HasTempFile(const QString& folder) {
    for (const QString& f : FilesUnder(folder))
      if (f.section(u'/', -1).startsWith(".tamlo-") && f.endsWith(".tmp")) return true;
    return false;
  }

  // The contact sheet's folders of thumbnails in the program's temporary
  // folder.
  QStringList SheetFolders() const { return QDir(Temp.path()).entryList({"tamlo-sheet-*"}, QDir::Dirs | QDir::Hidden); }

  // Sends `signal` and waits for the end; the exit status.
  int StopWith(int signal) {
    ::kill(pid_t(Program.processId()), signal);
    EXPECT_TRUE(Program.waitForFinished(120000));
    EXPECT_EQ(Program.exitStatus(), QProcess::NormalExit);
    return Program.exitCode();
  }

  // Processes that still run this test's command line (a child process of
  // the batch mode is a fork: it has its parent's command line).
  int ProcessesOfThisTest() const {
    int n = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile cmdline("/proc/" + pid + "/cmdline");
      if (!cmdline.open(QIODevice::ReadOnly)) continue;
      const QByteArray args = cmdline.readAll();
      QFile stat("/proc/" + pid + "/stat");
      const bool zombie = stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
      if (!zombie && args.contains(QFile::encodeName(Dir.path()))) ++n;
    }
    return n;
  }
};

TEST_F(BatchStopTest, CtrlCDuringAVideoRemovesItsTemporaryFile) {
  WriteFile("d.tlo", LongDrawing(4000));
  WriteFile("film.mp4", "the film before");
  Start({"--export-video", Dir.filePath("film.mp4"), "d.tlo"});
  ASSERT_TRUE(WaitFor([&] { return HasTempFile(Dir.path()); }));
  EXPECT_EQ(StopWith(SIGINT), 4);
  const QString err = QString::fromUtf8(Program.readAllStandardError());
  EXPECT_TRUE(err.contains("stopped by SIGINT: the video was not written")) << err.toStdString();
  EXPECT_EQ(FilesUnder(Dir.path()), (QStringList{"d.tlo", "film.mp4"}));
  EXPECT_EQ(ReadFile("film.mp4"), "the film before");  // no backup made, nothing replaced
}

TEST_F(BatchStopTest, SigtermDuringAFolderExportStopsTheChildrenAndSaysWhatWasFinished) {
  WriteFile("small.tlo", LongDrawing(3));
  WriteFile("long1.tlo", LongDrawing(4000));
  WriteFile("long2.tlo", LongDrawing(4000));
  // One at a time: the small drawing first, then the long ones.
  Start({"--export-video", Path("out/"), "--jobs", "1", Path("small.tlo"), Path("long1.tlo"), Path("long2.tlo")});
  ASSERT_TRUE(WaitFor([&] { return HasTempFile(Dir.filePath("out")) && QFile::exists(Dir.filePath("out/small.mp4")); }));
  EXPECT_EQ(StopWith(SIGTERM), 4);
  const QString err = QString::fromUtf8(Program.readAllStandardError());
  EXPECT_TRUE(err.contains("3 drawings: 1 done, 2 stopped")) << err.toStdString();
  EXPECT_TRUE(err.contains("stopped by SIGTERM: 1 of 3 drawings finished")) << err.toStdString();
  EXPECT_TRUE(err.contains("finished: " + Path("small.tlo") + " -> " + Path("out/small.mp4"))) << err.toStdString();
  EXPECT_EQ(FilesUnder(Dir.filePath("out")), QStringList{"small.mp4"});
  // No child runs on without its parent.
  EXPECT_EQ(ProcessesOfThisTest(), 0);
}

TEST_F(BatchStopTest, SigtermDuringAContactSheetRemovesItsThumbnails) {
  WriteFile("a.tlo", LongDrawing(20000));
  WriteFile("b.tlo", LongDrawing(20000));
  Start({"--contact-sheet", Path("sheet.png"), "--jobs", "1", Path("a.tlo"), Path("b.tlo")});
  ASSERT_TRUE(WaitFor([&] { return !SheetFolders().isEmpty(); }));
  EXPECT_EQ(StopWith(SIGTERM), 4);
  const QString err = QString::fromUtf8(Program.readAllStandardError());
  EXPECT_TRUE(err.contains("no contact sheet written")) << err.toStdString();
  EXPECT_TRUE(SheetFolders().isEmpty()) << SheetFolders().join(' ').toStdString();
  EXPECT_FALSE(QFile::exists(Path("sheet.png")));
  EXPECT_EQ(ProcessesOfThisTest(), 0);
}

TEST_F(BatchStopTest, AVideoIsNeverWrittenOverAPipeOrADevice) {
  WriteFile("d.tlo", LongDrawing(3));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("film.mp4")).constData(), 0600), 0);
  const BatchRun r = RunTamlo(Dir.path(), {"--export-video", "film.mp4", "d.tlo"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.contains(QFile::encodeName(Path("film.mp4")))) << r.Err.toStdString();
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(Path("film.mp4")).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_FALSE(QFile::exists(Path("film.bak")));
  // No temporary file beside it (the pipe itself is not listed as a file).
  EXPECT_EQ(FilesUnder(Dir.path()), QStringList{"d.tlo"});
}

}  // namespace
