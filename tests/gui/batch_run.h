// Runs the program itself in its batch mode, with no display at all.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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
