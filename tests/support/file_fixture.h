// A fresh window with a temporary folder for the files a test reads and
// writes, small drawing files written by hand, and a fixed clock.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <string>

#include "support/fakes.h"
#include "support/window_fixture.h"

// The lines of one Create record of a rectangle (pen 4 black, body white).
inline QStringList RectRecord(int id, int x1, int y1, int x2, int y2) {
  return {"begin ActionData", "10 02 15 07", "Create", QString::number(id), "begin FigData", "dtRectangle", "4",
          "clBlack", "clWhite", "12", "clBlack", "", QStringLiteral("%1 %2").arg(x1).arg(y1),
          QStringLiteral("%1 %2").arg(x2).arg(y2), "end FigData", "end ActionData"};
}

// A ReadBG record naming `path`.
inline QStringList ReadBGRecord(const QString& path) {
  return {"begin ActionData", "10 02 16 00", "ReadBG", path, "end ActionData"};
}

// A whole drawing file: the header line, then the records, CR LF line ends.
inline QByteArray DrawingFileText(std::initializer_list<QStringList> records) {
  QStringList lines{"TAMLO FILE FORMAT 1.2"};
  for (const QStringList& r : records) lines += r;
  return (lines.join("\r\n") + "\r\n").toUtf8();
}

class FileTest : public WindowTest {
 protected:
  QTemporaryDir Dir;
  FakeClock Clock{At(14, 5, 9, 7)};

  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    MutableState(*Window).Clock = &Clock;
  }

  QString Path(const QString& name) const { return Dir.filePath(name); }

  void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray ReadFile(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  bool Exists(const QString& name) const { return QFileInfo::exists(Path(name)); }
  // Every file in the folder, sorted.
  QStringList Entries() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name); }

  // The next file dialog returns this file of the folder.
  void Choose(const QString& name) { Dialogs.Files.push_back(Path(name).toStdString()); }
  void CancelDialog() { Dialogs.Files.push_back(""); }
  void Answer(ModalResult r) { Dialogs.Answers.push_back(r); }

  QString Caption() const { return Window->windowTitle(); }
  QString CaptionFor(const QString& name) const { return "Tamlo Ver.1.23 - " + Path(name); }

  // Draws `n` rectangles in the draw mode, each its own Create record.
  void DrawRects(int n) {
    for (int i = 0; i < n; ++i) DrawRect(*Window, {10 + 20 * i, 10}, {25 + 20 * i, 40});
  }
};
