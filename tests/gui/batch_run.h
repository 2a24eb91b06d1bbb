// Runs the program itself in its batch mode, with no display at all.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct BatchRun {
  int Status = -1;  // -1: did not end normally
  QByteArray Out, Err;
};

inline BatchRun RunTamlo(const QString& folder, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(folder);
  p.start(TAMLO_BINARY, args);
  BatchRun r;
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return r;
  r.Status = p.exitCode();
  r.Out = p.readAllStandardOutput();
  r.Err = p.readAllStandardError();
  return r;
}

// A temporary folder to run the batch mode in, with its files.
class BatchFolderTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;

  QString Path(const QString& name) const { return Dir.filePath(name); }
  // Writes `bytes` to `name`, making its folders.
  void WriteFile(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(Path(name)).absolutePath());
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray ReadFile(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The files in `folder` of the temporary folder (hidden ones too), by name.
  QStringList Files(const QString& folder = QString()) const {
    return QDir(Path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  BatchRun Run(const QStringList& args) { return RunTamlo(Dir.path(), args); }
  // Runs the batch mode; a failure says its status and error output.
  testing::AssertionResult Succeeds(const QStringList& args) {
    const BatchRun r = Run(args);
    if (r.Status == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "status " << r.Status << ": " << r.Err.toStdString();
  }
};
