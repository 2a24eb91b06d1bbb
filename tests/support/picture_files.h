// A temporary folder for picture-file tests and a way to put bytes in it.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

using ByteBuffer = std::vector<uint8_t>;

class PictureFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  // Writes `bytes` as the file `name` in the folder; returns its path.
  std::string Write(const std::string& name, const ByteBuffer& bytes) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    // A new file each time: rewriting one in place makes some file
    // systems flush it to disk on every close.
    QFile::remove(QString::fromStdString(path));
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return path;
  }
};
