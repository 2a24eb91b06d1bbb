// Picture files: the messages of the readers and writers, what they share,
// and the names of the numbered pictures of a whole-process export.
#include "io/picture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "io/picture_internal.h"

const char* const kBadBitmapText = "ビットマップイメージが不正です";

std::string CannotCreateText(const std::string& path) { return "ファイル " + path + " を作成できません"; }

std::string JPEGErrorText(int msgCode) { return "JPEG エラー #" + std::to_string(msgCode); }

std::string DiskFullText(const std::string& path) { return "ディスクがいっぱいで ファイル " + path + " をかけません"; }

const char* const kTooManyScansText = "この JPEG は スキャンが おおすぎて よみこめません";

namespace picture_internal {

QImage AsRGB32(const QImage& image) {
  return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

PictureResult WriteFailed(const std::string& path, int error) {
  if (IsFile(path)) std::remove(path.c_str());
  if (error == ENOSPC || error == EDQUOT) return Failed(DiskFullText(path));
  return Failed(CannotCreateText(path));
}

QSize KeptSize(int64_t w, int64_t h, const QSize& keep) {
  if (!keep.isValid()) return QSize(int(w), int(h));
  return QSize(int(std::min<int64_t>(w, std::max(keep.width(), 1))), int(std::min<int64_t>(h, std::max(keep.height(), 1))));
}

}  // namespace picture_internal

std::string ProcessPictureBase(const std::string& chosenPath) {
  const size_t slash = chosenPath.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = chosenPath.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return chosenPath;
  return chosenPath.substr(0, dot);
}

std::string ProcessPictureName(const std::string& base, int n) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", n);
  return base + digits + ".jpg";
}
