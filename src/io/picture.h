// Picture files: reading BMP and JPEG backgrounds, writing the 32-bit BMP and
// the JPEG exports.
#pragma once

#include <QImage>
#include <string>

// Outcome of a picture read: ok, or the text of the error box to show.
struct TPictureResult {
  bool Ok = false;
  std::string Error;  // "ビットマップイメージが不正です", "JPEG エラー #%d", …
};

// Reads a BMP (any of the usual formats; damaged or lying files refused).
TPictureResult ReadBMP(const std::string& path, QImage& out);
// Decodes a JPEG: best-quality decoding, 24-bit colour; 32-bit result.
TPictureResult ReadJPEG(const std::string& path, QImage& out);
// Writes a 640 × 480 (any size) picture as a 32-bit BMP. Error text on failure.
TPictureResult WriteBMP32(const std::string& path, const QImage& image);
// Encodes JPEG at quality 90, baseline, colour.
TPictureResult WriteJPEG(const std::string& path, const QImage& image);
