// What a failed video tells a family: a full disk is said in words a child
// and a parent read, not in the library's English.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/error.h>
}

#include <QString>
#include <cerrno>

#include "io/video_writer.h"

namespace {

bool HasLatinLetters(const std::string& text) {
  for (QChar c : QString::fromStdString(text))
    if (c.isLetter() && c.unicode() < 0x80) return true;
  return false;
}

TEST(VideoMessages, AFullDiskIsSaidInJapanese) {
  for (int err : {AVERROR(ENOSPC), AVERROR(EDQUOT)}) {
    const std::string text = VideoLibraryErrorText("ファイルに かきこめません", err);
    EXPECT_EQ(text, "ファイルに かきこめません：ディスクが いっぱいです");
    EXPECT_FALSE(HasLatinLetters(text)) << text;
  }
  // Rarer errors keep the library's words for whoever looks into them.
  EXPECT_NE(VideoLibraryErrorText("エンコードに しっぱいしました", AVERROR(EIO)).find("エンコードに しっぱいしました: "),
            std::string::npos);
}

}  // namespace
