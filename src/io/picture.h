// Picture files: reading BMP and JPEG backgrounds, writing the 32-bit BMP and
// the JPEG exports.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

// Outcome of a picture read: ok, or the text of the error box to show.
struct PictureResult {
  bool Ok = false;
  std::string Error;  // "ビットマップイメージが不正です", "JPEG エラー #%d", …
};

// Largest picture read, in pixels (8192 × 8192). Larger ones are refused
// like damaged files: their 32-bit copy alone would take a quarter of a
// gigabyte.
constexpr int64_t kMaxPicturePixels = int64_t(64) * 1024 * 1024;
// Memory a JPEG decoder may use beyond the picture itself (the coefficient
// store of a progressive or multi-scan file).
constexpr long kMaxJPEGDecoderMemory = 256L * 1024 * 1024;
// A multi-scan JPEG stops with an error at its 101st scan.
constexpr int kMaxJPEGScans = 100;

// Both readers keep the whole picture, or with a valid `keep` only its
// top-left part of that size (a background shows no more than the canvas):
// the rest is never held in memory, and the part kept has exactly the pixels
// it has in the whole picture. Size limits apply to the declared size.
//
// Reads a BMP (any of the usual formats; damaged or lying files refused).
// The result is of format RGB32 (any alpha in the file is ignored).
PictureResult ReadBMP(const std::string& path, QImage& out, QSize keep = QSize());
// Decodes a JPEG: best-quality decoding, 24-bit colour; 32-bit result.
PictureResult ReadJPEG(const std::string& path, QImage& out, QSize keep = QSize());
// The writers remove what they wrote when writing fails, and say so when the
// disk was full.
// Writes a 640 × 480 (any size) picture as a 32-bit BMP. Error text on failure.
PictureResult WriteBMP32(const std::string& path, const QImage& image);
// Encodes JPEG at quality 90, baseline, colour.
PictureResult WriteJPEG(const std::string& path, const QImage& image);

// The text of the error box for a file that cannot be created.
std::string CannotCreateText(const std::string& path);
// The text of the JPEG error box for a libjpeg message code.
std::string JPEGErrorText(int msgCode);
// The text of the error box for a picture that did not fit on the disk.
std::string DiskFullText(const std::string& path);
// A JPEG stopped at the scan limit: "この JPEG は スキャンが おおすぎて よみこめません".
extern const char* const kTooManyScansText;
extern const char* const kBadBitmapText;  // "ビットマップイメージが不正です"

// Whole-process export names. The chosen file gives the folder and the base
// name: "/out/proc.jpg" → "/out/proc" (the extension, from the last dot of
// the file name on, is dropped).
std::string ProcessPictureBase(const std::string& chosenPath);
// base + n with at least three digits + ".jpg": "/out/proc001.jpg", …,
// "/out/proc1000.jpg".
std::string ProcessPictureName(const std::string& base, int n);
