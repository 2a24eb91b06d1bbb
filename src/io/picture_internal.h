// What the BMP and the JPEG reader and writer share: their results, the part
// of a picture a read keeps, and the clean-up after a failed write.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <string>

#include "io/picture.h"

namespace picture_internal {

inline PictureResult Done() { return PictureResult{true, {}}; }
inline PictureResult Failed(std::string text) { return PictureResult{false, std::move(text)}; }

// The picture in format RGB32, converted only when it is in another one.
QImage AsRGB32(const QImage& image);

// A regular file (or a link to one) is at `path`.
bool IsFile(const std::string& path);

// After a failed write: a half-written picture is worse than none, so a
// file the writer made goes; anything else under the name (a device, a
// pipe) is left alone. The message says why when the disk was full.
PictureResult WriteFailed(const std::string& path, int error);

// The part of a picture of w × h that a read keeping `keep` holds.
QSize KeptSize(int64_t w, int64_t h, const QSize& keep);

}  // namespace picture_internal
