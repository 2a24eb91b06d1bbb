// Small helpers several window tests share: files read and written whole, a
// file's time set by hand, a second window beside the fixture's, a text
// placed with the text tool, files dropped on the window, an export
// cancelled, and the screen compared with a full repaint.
//
//   EXPECT_EQ(FileBytes(path), expected);
//   auto other = OpenWindow(&Dialogs);
//   PlaceText(*Window, {100, 80}, "abc");
//   EXPECT_TRUE(ShowsARepaint(*Window));
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <string>

#include "support/window_fixture.h"

// The whole file, or nothing when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline QByteArray FileBytes(const std::string& path) { return FileBytes(QString::fromStdString(path)); }

// Replaces the file with `bytes`; false when that cannot be done.
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Sets when the file was last changed.
inline bool SetModified(const QString& path, const QDateTime& when) {
  QFile f(path);
  return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

// Another window of the program running beside the fixture's, with the
// given dialogs; its requests to end the process are ignored.
inline std::unique_ptr<MainWindow> OpenWindow(UserDialogs* dialogs) {
  auto w = std::make_unique<MainWindow>(dialogs);
  w->ExitProcess = [](int) {};
  w->ScreenRoom = QSize(1920, 1080);  // as the fixture's: opens whole on any test screen
  w->createWidgets(QString());
  w->show();
  return w;
}

// Places a text as a user does: the text tool, a click at `at`, the text
// typed, Enter.
inline void PlaceText(MainWindow& window, QPoint at, const QString& text) {
  ChooseTool(Button(window, "TextBtn"));
  CanvasClick(window, at.x(), at.y());
  TypeText(window, text);
  PressKey(window, Qt::Key_Return);
}

// A drag carrying `data` entering the window; true when the window takes it
// (it is given the drop only then).
inline bool DragEnter(MainWindow& window, const QMimeData& data) {
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  return enter.isAccepted();
}
// The drop of `data` on the window, then what the window opens from it.
inline void DropOn(MainWindow& window, const QMimeData& data) {
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  QCoreApplication::processEvents();
}
// Files dragged onto the window and dropped, as the platform sends them;
// true when the window took the drag.
inline bool DropFiles(MainWindow& window, const QStringList& paths) {
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  QMimeData data;
  data.setUrls(urls);
  const bool taken = DragEnter(window, data);
  DropOn(window, data);
  return taken;
}

// Presses the export progress box's Cancel button once step `step` is
// written, as the next one is begun.
inline void CancelExportAtStep(MainWindow& window, int step) {
  window.OnExportProgress = [step](QProgressDialog& progress, int n) {
    if (n != step + 1) return;
    auto* cancel = progress.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QString::fromUtf8("キャンセル"));
    EXPECT_TRUE(cancel->isEnabled());  // the window is disabled, its progress box is not
    cancel->click();
  };
}

// Success when the canvas shows exactly what a full repaint of the drawing
// shows: nothing of a band, a stroke or a frame is left behind.
inline testing::AssertionResult ShowsARepaint(MainWindow& window) {
  const QImage shown = Canvas(window)->Picture().copy();
  window.PaintBoxPaint();
  if (Canvas(window)->Picture() == shown) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the screen differs from a repaint";
}
