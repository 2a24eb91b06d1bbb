// A picture file of one colour, for the tests that open, load or export
// pictures.
#pragma once

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSize>
#include <QString>

// Saves a BMP of one colour at `path`, making its folder if need be; false
// when it cannot be written.
inline bool SavePlainPicture(const QString& path, QColor colour, QSize size = QSize(320, 240)) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  return QDir().mkpath(QFileInfo(path).absolutePath()) && picture.save(path, "BMP");
}
