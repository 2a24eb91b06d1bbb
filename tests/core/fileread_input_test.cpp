// Which files the drawing reader takes in: only regular files of a sane
// size, never waiting on a pipe or reading a device without end; and the
// header test that decides whether a file opened by its path is a drawing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "format/history_reader.h"

namespace fs = std::filesystem;

namespace {

struct DrawingFileInput : ::testing::Test {
  fs::path Root;

  DrawingFileInput() {
    std::random_device rd;
    Root = fs::temp_directory_path() / ("tamlo-input-" + std::to_string(rd()));
    fs::create_directories(Root);
  }
  ~DrawingFileInput() override {
    std::error_code ec;
    fs::remove_all(Root, ec);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path p = Root / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  std::string Path(const std::string& name) const { return (Root / name).string(); }
};

const std::string kDrawing = "TAMLO FILE FORMAT 1.2\r\n";

TEST_F(DrawingFileInput, RegularFilesAndLinksToThemAreRead) {
  const std::string file = Write("d.tlo", kDrawing + "rest");
  std::string bytes = "old";
  ASSERT_TRUE(ReadDrawingFileBytes(file, bytes));
  EXPECT_EQ(bytes, kDrawing + "rest");

  fs::create_symlink(file, Root / "link.tlo");
  ASSERT_TRUE(ReadDrawingFileBytes(Path("link.tlo"), bytes));
  EXPECT_EQ(bytes, kDrawing + "rest");

  ASSERT_TRUE(ReadDrawingFileBytes(Write("empty.tlo", ""), bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(DrawingFileInput, AnythingElseIsRefusedAtOnce) {
  // A pipe with no writer would block an ordinary open for ever.
  ASSERT_EQ(::mkfifo(Path("pipe.tlo").c_str(), 0600), 0);
  // A link to an endless device would fill the memory.
  fs::create_symlink("/dev/zero", Root / "zero.tlo");
  fs::create_directories(Root / "folder.tlo");
  fs::create_symlink(Root / "nowhere.tlo", Root / "dangling.tlo");
  for (const char* name : {"pipe.tlo", "zero.tlo", "folder.tlo", "dangling.tlo", "missing.tlo"}) {
    std::string bytes = "old";
    EXPECT_FALSE(ReadDrawingFileBytes(Path(name), bytes)) << name;
    EXPECT_TRUE(bytes.empty()) << name;
    EXPECT_FALSE(StartsWithDrawingHeader(Path(name))) << name;
  }
  std::string bytes;
  EXPECT_FALSE(ReadDrawingFileBytes("/dev/null", bytes));
}

TEST_F(DrawingFileInput, FilesAboveTheLimitAreRefused) {
  // Sparse: no disk space is used, and nothing is read.
  const std::string big = Write("big.tlo", kDrawing);
  fs::resize_file(big, MaxDrawingFileBytes + 1);
  std::string bytes;
  EXPECT_FALSE(ReadDrawingFileBytes(big, bytes));
  EXPECT_TRUE(bytes.empty());
  // Its first line is still a header: it is a drawing, only too large.
  EXPECT_TRUE(StartsWithDrawingHeader(big));
}

TEST_F(DrawingFileInput, TheHeaderTestLooksAtTheFirstBytesOnly) {
  for (const char* header : {"TAMLO FILE FORMAT 1.0", "TAMLO FILE FORMAT 1.1", "TAMLO FILE FORMAT 1.2"}) {
    EXPECT_TRUE(StartsWithDrawingHeader(Write("h", std::string(header) + "\r\nbegin ActionData\r\n"))) << header;
    EXPECT_TRUE(StartsWithDrawingHeader(Write("h", header))) << header;
  }
  for (const char* other : {"", "TAMLO FILE FORMAT 1.", "TAMLO FILE FORMAT 1.3\r\n", " TAMLO FILE FORMAT 1.2\r\n",
                            "\xEF\xBB\xBFTAMLO FILE FORMAT 1.2\r\n", "tamlo file format 1.2\r\n", "BM6\x10"}) {
    EXPECT_FALSE(StartsWithDrawingHeader(Write("o", other))) << other;
  }
}

}  // namespace
