#include "io/picture.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

// libjpeg's headers expect FILE and size_t to be declared first.
#include <jerror.h>
#include <jpeglib.h>

const char* const kBadBitmapText = "ビットマップイメージが不正です";

std::string CannotCreateText(const std::string& path) { return "ファイル " + path + " を作成できません"; }

std::string JPEGErrorText(int msgCode) { return "JPEG エラー #" + std::to_string(msgCode); }

std::string DiskFullText(const std::string& path) { return "ディスクがいっぱいで ファイル " + path + " をかけません"; }

const char* const kTooManyScansText = "この JPEG は スキャンが おおすぎて よみこめません";

namespace {

PictureResult Done() { return PictureResult{true, {}}; }
PictureResult Failed(std::string text) { return PictureResult{false, std::move(text)}; }

// ---------------------------------------------------------------- BMP ----

// The BMP reader is our own: every size the header declares is checked
// against the bytes the file really has before a pixel is read, so that a
// short or lying file is refused instead of being shown with made-up pixels.

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

enum : uint32_t { kBI_RGB = 0, kBI_RLE8 = 1, kBI_RLE4 = 2, kBI_BITFIELDS = 3 };

// One colour channel of a bit-field pixel, scaled to 0 … 255.
struct ChannelRange {
  int Shift = 0;
  int Bits = 0;
  explicit ChannelRange(uint32_t mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::countr_one(mask >> Shift);
  }
  uint32_t Get(uint32_t pixel) const {
    if (Bits == 0) return 0;
    const uint64_t max = (uint64_t(1) << Bits) - 1;
    const uint64_t v = (uint64_t(pixel) >> Shift) & max;
    return uint32_t((v * 255 + max / 2) / max);
  }
};

struct BmpInfo {
  int64_t Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kBI_RGB;
  uint32_t Masks[3] = {0, 0, 0};
  std::vector<QRgb> Palette;
  size_t PixelOffset = 0;
};

// Bytes per stored row: whole 32-bit words.
int64_t RowStride(const BmpInfo& info) { return (info.Width * info.Bits + 31) / 32 * 4; }

// Reads and checks the headers, the palette and, for uncompressed pictures,
// the amount of pixel data, before anything is allocated. False for anything
// damaged.
bool ParseBmpHeaders(const uint8_t* d, size_t size, BmpInfo& info) {
  if (size < 14 + 12 || d[0] != 'B' || d[1] != 'M') return false;
  const size_t offBits = U32(d + 10);
  const uint32_t headerSize = U32(d + 14);
  size_t colorsUsed = 0;
  int entrySize = 4;
  if (headerSize == 12) {  // the oldest header: 16-bit sizes, 3-byte palette entries
    info.Width = U16(d + 18);
    info.Height = U16(d + 20);
    info.Bits = U16(d + 24);
    entrySize = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
             headerSize == 108 || headerSize == 124) {
    if (size < 14 + size_t(headerSize)) return false;
    info.Width = int32_t(U32(d + 18));
    const int32_t h = int32_t(U32(d + 22));
    if (h == INT32_MIN) return false;
    info.TopDown = h < 0;
    info.Height = h < 0 ? -int64_t(h) : h;
    info.Bits = U16(d + 28);
    info.Compression = U32(d + 30);
    colorsUsed = U32(d + 46);
  } else {
    return false;
  }
  if (info.Width <= 0 || info.Height <= 0) return false;
  if (info.Width * info.Height > kMaxPicturePixels) return false;

  switch (info.Bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  size_t headersEnd = 14 + size_t(headerSize);
  switch (info.Compression) {
    case kBI_RGB:
      break;
    case kBI_RLE8:
    case kBI_RLE4:
      // Run-length pictures are always stored bottom-up.
      if (info.TopDown || info.Bits != (info.Compression == kBI_RLE8 ? 8 : 4)) return false;
      break;
    case kBI_BITFIELDS:
      if (info.Bits != 16 && info.Bits != 32) return false;
      if (headerSize == 40) {  // the masks follow the header
        headersEnd += 12;
        if (size < headersEnd) return false;
        for (int i = 0; i < 3; ++i) info.Masks[i] = U32(d + 54 + 4 * i);
      } else {
        for (int i = 0; i < 3; ++i) info.Masks[i] = U32(d + 54 + 4 * i);
      }
      break;
    default:
      return false;  // embedded JPEG/PNG, OS/2 Huffman and the like
  }
  if (info.Compression != kBI_BITFIELDS) {
    if (info.Bits == 16) {
      info.Masks[0] = 0x7C00, info.Masks[1] = 0x03E0, info.Masks[2] = 0x001F;
    } else if (info.Bits == 32) {
      info.Masks[0] = 0xFF0000, info.Masks[1] = 0x00FF00, info.Masks[2] = 0x0000FF;
    }
  }
  if (offBits < headersEnd || offBits > size) return false;
  info.PixelOffset = offBits;
  if (info.Bits <= 8) {
    const size_t maxColors = size_t(1) << info.Bits;
    size_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    // A palette shorter than its header says ends where the pixels begin.
    count = std::min(count, (offBits - headersEnd) / entrySize);
    // Indices past the palette show black.
    info.Palette.assign(maxColors, qRgb(0, 0, 0));
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = d + headersEnd + i * entrySize;
      info.Palette[i] = qRgb(e[2], e[1], e[0]);
    }
  }
  if (info.Compression == kBI_RGB || info.Compression == kBI_BITFIELDS) {
    // Every row must be there; only the last one may lack its padding.
    const int64_t bitsPerRow = info.Width * info.Bits;
    const uint64_t needed = uint64_t(RowStride(info)) * uint64_t(info.Height - 1) + uint64_t((bitsPerRow + 7) / 8);
    if (needed > size - offBits) return false;
  }
  return true;
}

// `img` holds the top-left part of the picture (all of it, or less).
bool DecodeRle(const uint8_t* d, size_t size, const BmpInfo& info, QImage& img) {
  const bool rle8 = info.Compression == kBI_RLE8;
  const int64_t h = info.Height;
  const int64_t keepW = img.width(), keepH = img.height();
  // Pixels no run reaches show the first palette colour.
  img.fill(info.Palette[0]);
  auto put = [&](int64_t x, int64_t row, uint32_t index) {
    if (x < keepW && row < h && h - 1 - row < keepH)
      reinterpret_cast<QRgb*>(img.scanLine(int(h - 1 - row)))[x] = info.Palette[index];
  };
  size_t pos = info.PixelOffset;
  int64_t x = 0, row = 0;  // row counted from the bottom
  while (row < h) {
    if (pos + 2 > size) return false;  // the data ends before the picture does
    const uint8_t count = d[pos], value = d[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of one index (RLE8) or of two alternating ones (RLE4)
      for (int i = 0; i < count; ++i) {
        put(x + i, row, rle8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
      }
      x += count;
    } else if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (pos + 2 > size) return false;
      x += d[pos];
      row += d[pos + 1];
      pos += 2;
    } else {  // literal indices, padded to an even number of bytes
      const size_t bytes = rle8 ? value : (value + 1) / 2;
      if (pos + bytes > size) return false;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = d[pos + (rle8 ? i : i / 2)];
        put(x + i, row, rle8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F));
      }
      x += value;
      pos += bytes + (bytes & 1);
    }
  }
  return true;
}

// Sizes were checked by ParseBmpHeaders. `img` holds the top-left part of
// the picture (all of it, or less): only the rows and columns it keeps are
// read.
void DecodeRaw(const uint8_t* d, const BmpInfo& info, QImage& img) {
  const int64_t w = img.width(), h = info.Height;
  const int64_t stride = RowStride(info);
  const ChannelRange r(info.Masks[0]), g(info.Masks[1]), b(info.Masks[2]);
  for (int64_t y = 0; y < img.height(); ++y) {
    const int64_t fileRow = info.TopDown ? y : h - 1 - y;
    const uint8_t* src = d + info.PixelOffset + fileRow * stride;
    QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
    switch (info.Bits) {
      case 1: case 4: case 8: {
        const int bits = info.Bits, perByte = 8 / bits, mask = (1 << bits) - 1;
        for (int64_t x = 0; x < w; ++x) {
          const int shift = 8 - bits * (int(x % perByte) + 1);
          dst[x] = info.Palette[(src[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 16:
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t p = U16(src + 2 * x);
          dst[x] = qRgb(r.Get(p), g.Get(p), b.Get(p));
        }
        break;
      case 24:
        for (int64_t x = 0; x < w; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t p = U32(src + 4 * x);
          dst[x] = qRgb(r.Get(p), g.Get(p), b.Get(p));
        }
        break;
    }
  }
}

// --------------------------------------------------------------- JPEG ----

struct JpegError {
  jpeg_error_mgr Mgr;
  std::jmp_buf Jump;
  int Errno = 0;               // errno when the error struck (a failed write says why)
  bool TooManyScans = false;   // stopped by the scan limit, not by damage
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  err->Errno = errno;
  std::longjmp(err->Jump, 1);
}

// Warnings (corrupt data that the decoder repairs) are not shown.
void JpegQuiet(j_common_ptr, int) {}

void JpegStopAtTooManyScans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor) {
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxJPEGScans) {
      reinterpret_cast<JpegError*>(cinfo->err)->TooManyScans = true;
      ERREXIT(cinfo, JERR_BAD_PROGRESSION);
    }
  }
}

void SetUpErrors(JpegError& err) {
  jpeg_std_error(&err.Mgr);
  err.Mgr.error_exit = JpegErrorExit;
  err.Mgr.emit_message = JpegQuiet;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Where the frame header's picture height lies in a JPEG file (two bytes,
// high first), and the height and width it declares; Offset −1 when no frame
// header precedes the first scan. Only the headers are read: every segment
// before the frame is skipped by its length.
struct JpegFrame {
  int64_t Offset = -1;
  int Height = 0, Width = 0;
};

JpegFrame FindJpegFrame(std::FILE* f) {
  JpegFrame frame;
  uint8_t b[9];
  if (std::fread(b, 1, 2, f) != 2 || b[0] != 0xFF || b[1] != 0xD8) return frame;
  int64_t pos = 2;
  for (int segments = 0; segments < 10000; ++segments) {
    // Fill bytes may precede a marker.
    int c = std::fgetc(f);
    ++pos;
    if (c != 0xFF) return frame;
    while ((c = std::fgetc(f)) == 0xFF) ++pos;
    ++pos;
    if (c == EOF || c == 0xDA || c == 0xD9) return frame;
    if ((c >= 0xD0 && c <= 0xD7) || c == 0x01) continue;  // no length
    if (std::fread(b, 1, 2, f) != 2) return frame;
    const int length = b[0] << 8 | b[1];
    if (length < 2) return frame;
    const bool sof = c >= 0xC0 && c <= 0xCF && c != 0xC4 && c != 0xC8 && c != 0xCC;
    if (sof) {
      if (length < 7 || std::fread(b, 1, 5, f) != 5) return frame;
      frame.Offset = pos + 3;
      frame.Height = b[1] << 8 | b[2];
      frame.Width = b[3] << 8 | b[4];
      return frame;
    }
    if (std::fseek(f, length - 2, SEEK_CUR) != 0) return frame;
    pos += length;
  }
  return frame;
}

// The file as libjpeg's standard source reads it, except that the frame's
// height may be given another value on the way.
struct JpegSource {
  jpeg_source_mgr Pub{};
  std::FILE* File = nullptr;
  std::vector<JOCTET> Buffer = std::vector<JOCTET>(64 * 1024);
  int64_t Offset = 0;  // of the next byte read from the file
  bool Started = false;
  int64_t PatchAt = -1;
  uint8_t Patch[2] = {0, 0};

  static void Init(j_decompress_ptr cinfo) { Self(cinfo)->Started = false; }
  static JpegSource* Self(j_decompress_ptr cinfo) { return reinterpret_cast<JpegSource*>(cinfo->src); }
  static boolean Fill(j_decompress_ptr cinfo) {
    JpegSource* s = Self(cinfo);
    size_t n = std::fread(s->Buffer.data(), 1, s->Buffer.size(), s->File);
    if (n == 0) {
      if (!s->Started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
      WARNMS(cinfo, JWRN_JPEG_EOF);
      // An end marker stands in for the missing rest, as in libjpeg's own source.
      s->Buffer[0] = 0xFF, s->Buffer[1] = JPEG_EOI;
      n = 2;
    } else {
      for (int i = 0; i < 2; ++i) {
        const int64_t at = s->PatchAt + i - s->Offset;
        if (s->PatchAt >= 0 && at >= 0 && at < int64_t(n)) s->Buffer[size_t(at)] = s->Patch[i];
      }
      s->Offset += int64_t(n);
    }
    s->Pub.next_input_byte = s->Buffer.data();
    s->Pub.bytes_in_buffer = n;
    s->Started = true;
    return TRUE;
  }
  static void Skip(j_decompress_ptr cinfo, long count) {
    JpegSource* s = Self(cinfo);
    if (count <= 0) return;
    while (count > long(s->Pub.bytes_in_buffer)) {
      count -= long(s->Pub.bytes_in_buffer);
      Fill(cinfo);
    }
    s->Pub.next_input_byte += count;
    s->Pub.bytes_in_buffer -= size_t(count);
  }
  static void Term(j_decompress_ptr) {}

  explicit JpegSource(std::FILE* file) : File(file) {
    Pub.init_source = Init;
    Pub.fill_input_buffer = Fill;
    Pub.skip_input_data = Skip;
    Pub.resync_to_restart = jpeg_resync_to_restart;
    Pub.term_source = Term;
  }
};

// Everything a setjmp/longjmp pair crosses lives outside the function that
// calls setjmp, so no destructor is skipped and no local is left undefined.
struct JpegRead {
  jpeg_decompress_struct Info{};
  JpegError Err{};
  jpeg_progress_mgr Progress{};
  FilePtr File;
  std::unique_ptr<JpegSource> Source;
  std::vector<JSAMPLE> Row;
  QSize Keep;  // invalid: the whole picture
  bool Created = false;
  ~JpegRead() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

// Rows decoded below the kept part, so that the smoothing and upsampling of
// its last rows see the same neighbours as in the whole picture.
constexpr int kKeepMargin = 64;

bool DecodeJpeg(JpegRead& r, QImage& img) {
  if (setjmp(r.Err.Jump)) return false;
  jpeg_create_decompress(&r.Info);
  r.Created = true;
  r.Info.mem->max_memory_to_use = kMaxJPEGDecoderMemory;
  r.Progress.progress_monitor = JpegStopAtTooManyScans;
  r.Info.progress = &r.Progress;
  // When only the top of a tall picture is kept, the decoder is told the
  // picture ends a little below it. Scans store their blocks row after row,
  // so the rows above come out exactly as in the whole picture, while a
  // progressive or multi-scan file needs its coefficient store only for
  // those rows (for 8192 × 8192 it would take hundreds of megabytes).
  const JpegFrame frame = FindJpegFrame(r.File.get());
  if (std::fseek(r.File.get(), 0, SEEK_SET) != 0) ERREXIT(&r.Info, JERR_INPUT_EMPTY);
  r.Source = std::make_unique<JpegSource>(r.File.get());
  if (r.Keep.isValid() && frame.Offset >= 0 && frame.Height > r.Keep.height() + kKeepMargin) {
    const int h = r.Keep.height() + kKeepMargin;
    r.Source->PatchAt = frame.Offset;
    r.Source->Patch[0] = uint8_t(h >> 8), r.Source->Patch[1] = uint8_t(h);
  }
  r.Info.src = &r.Source->Pub;
  jpeg_read_header(&r.Info, TRUE);
  // The limit on the declared size, whatever part is kept.
  const int64_t declaredHeight = r.Source->PatchAt >= 0 ? frame.Height : int64_t(r.Info.image_height);
  if (int64_t(r.Info.image_width) * declaredHeight > kMaxPicturePixels) ERREXIT1(&r.Info, JERR_IMAGE_TOO_BIG, 8192);
  r.Info.dct_method = JDCT_ISLOW;
  r.Info.do_fancy_upsampling = TRUE;
  r.Info.out_color_space = JCS_RGB;  // grey-scale files are widened to colour too
  jpeg_start_decompress(&r.Info);
  const int fullW = int(r.Info.output_width), fullH = int(r.Info.output_height);
  const QSize size = r.Keep.isValid() ? QSize(std::min(fullW, std::max(r.Keep.width(), 1)),
                                              std::min(fullH, std::max(r.Keep.height(), 1)))
                                      : QSize(fullW, fullH);
  const int w = size.width(), h = size.height();
  img = QImage(w, h, QImage::Format_RGB32);
  if (img.isNull()) ERREXIT1(&r.Info, JERR_OUT_OF_MEMORY, 0);
  r.Row.resize(size_t(fullW) * 3);
  JSAMPROW rows[1] = {r.Row.data()};
  while (int(r.Info.output_scanline) < h) {
    const int y = int(r.Info.output_scanline);
    jpeg_read_scanlines(&r.Info, rows, 1);
    QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
    const JSAMPLE* src = r.Row.data();
    for (int x = 0; x < w; ++x) dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
  }
  // The rest is not needed when only a part is kept.
  if (h < fullH)
    jpeg_abort_decompress(&r.Info);
  else
    jpeg_finish_decompress(&r.Info);
  return true;
}

struct JpegWrite {
  jpeg_compress_struct Info{};
  JpegError Err{};
  std::FILE* File = nullptr;
  bool Created = false;
  ~JpegWrite() {
    if (Created) jpeg_destroy_compress(&Info);
  }
};

bool EncodeJpeg(JpegWrite& c, const QImage& img) {
  if (setjmp(c.Err.Jump)) return false;
  jpeg_create_compress(&c.Info);
  c.Created = true;
  jpeg_stdio_dest(&c.Info, c.File);
  c.Info.image_width = JDIMENSION(img.width());
  c.Info.image_height = JDIMENSION(img.height());
  c.Info.input_components = 4;
  // RGB32 rows as they lie in memory (0xFFRRGGBB words): no conversion pass.
  c.Info.in_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
  jpeg_set_defaults(&c.Info);
  jpeg_set_quality(&c.Info, 90, TRUE);  // baseline tables; sequential, colour by default
  jpeg_start_compress(&c.Info, TRUE);
  while (c.Info.next_scanline < c.Info.image_height) {
    JSAMPROW row[1] = {const_cast<JSAMPLE*>(img.constScanLine(int(c.Info.next_scanline)))};
    jpeg_write_scanlines(&c.Info, row, 1);
  }
  jpeg_finish_compress(&c.Info);
  return true;
}

QImage AsRGB32(const QImage& image) {
  return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

// After a failed write: a half-written picture is worse than none, so a
// file the writer made goes; anything else under the name (a device, a
// pipe) is left alone. The message says why when the disk was full.
PictureResult WriteFailed(const std::string& path, int error) {
  if (IsFile(path)) std::remove(path.c_str());
  if (error == ENOSPC || error == EDQUOT) return Failed(DiskFullText(path));
  return Failed(CannotCreateText(path));
}

}  // namespace

namespace {

// The part of a picture of w × h that a read keeping `keep` holds.
QSize KeptSize(int64_t w, int64_t h, const QSize& keep) {
  if (!keep.isValid()) return QSize(int(w), int(h));
  return QSize(int(std::min<int64_t>(w, std::max(keep.width(), 1))), int(std::min<int64_t>(h, std::max(keep.height(), 1))));
}

}  // namespace

PictureResult ReadBMP(const std::string& path, QImage& out, QSize keep) {
  QFile file(QString::fromStdString(path));
  if (!IsFile(path) || !file.open(QIODevice::ReadOnly)) return Failed(kBadBitmapText);
  const qint64 fileSize = file.size();
  if (fileSize <= 0) return Failed(kBadBitmapText);
  // Mapped, not read: a huge file costs no memory, only the bytes the
  // headers lead to are touched.
  const uint8_t* d = file.map(0, fileSize);
  std::vector<uint8_t> copy;
  if (d == nullptr) {
    copy.resize(size_t(fileSize));
    if (file.read(reinterpret_cast<char*>(copy.data()), fileSize) != fileSize) return Failed(kBadBitmapText);
    d = copy.data();
  }
  const size_t size = size_t(fileSize);
  BmpInfo info;
  if (!ParseBmpHeaders(d, size, info)) return Failed(kBadBitmapText);
  QImage img(KeptSize(info.Width, info.Height, keep), QImage::Format_RGB32);
  if (img.isNull()) return Failed(kBadBitmapText);
  if (info.Compression == kBI_RLE8 || info.Compression == kBI_RLE4) {
    if (!DecodeRle(d, size, info, img)) return Failed(kBadBitmapText);
  } else {
    DecodeRaw(d, info, img);
  }
  out = std::move(img);
  return Done();
}

PictureResult ReadJPEG(const std::string& path, QImage& out, QSize keep) {
  JpegRead r;
  SetUpErrors(r.Err);
  r.Info.err = &r.Err.Mgr;
  r.Keep = keep;
  if (IsFile(path)) r.File.reset(std::fopen(path.c_str(), "rb"));
  if (!r.File) return Failed(JPEGErrorText(JERR_INPUT_EMPTY));
  QImage img;
  if (!DecodeJpeg(r, img)) return Failed(r.Err.TooManyScans ? kTooManyScansText : JPEGErrorText(r.Err.Mgr.msg_code));
  out = std::move(img);
  return Done();
}

PictureResult WriteBMP32(const std::string& path, const QImage& image) {
  const QImage img = AsRGB32(image);
  const int w = img.width(), h = img.height();
  const uint32_t pixelBytes = uint32_t(w) * uint32_t(h) * 4;
  uint8_t header[54] = {};
  auto put16 = [&](int at, uint16_t v) { header[at] = uint8_t(v), header[at + 1] = uint8_t(v >> 8); };
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + i] = uint8_t(v >> (8 * i));
  };
  // BITMAPFILEHEADER
  header[0] = 'B', header[1] = 'M';
  put32(2, 54 + pixelBytes);
  put32(10, 54);
  // BITMAPINFOHEADER: 32 bits, uncompressed, bottom-up, 96 dpi
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  put16(26, 1);
  put16(28, 32);
  put32(30, kBI_RGB);
  put32(34, pixelBytes);
  put32(38, 3780);
  put32(42, 3780);

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return Failed(CannotCreateText(path));
  int error = 0;
  auto written = [&](bool ok) {
    if (!ok && error == 0) error = errno;
    return ok;
  };
  bool ok = written(std::fwrite(header, 1, sizeof header, f) == sizeof header);
  std::vector<uint8_t> row(size_t(w) * 4);
  for (int y = h - 1; ok && y >= 0; --y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      // Blue, green, red, then an opaque fourth byte for the viewers that
      // read it as alpha.
      row[4 * x] = uint8_t(qBlue(src[x]));
      row[4 * x + 1] = uint8_t(qGreen(src[x]));
      row[4 * x + 2] = uint8_t(qRed(src[x]));
      row[4 * x + 3] = 0xFF;
    }
    ok = written(std::fwrite(row.data(), 1, row.size(), f) == row.size());
  }
  ok = written(std::fclose(f) == 0) && ok;
  if (!ok) return WriteFailed(path, error);
  return Done();
}

PictureResult WriteJPEG(const std::string& path, const QImage& image) {
  const QImage img = AsRGB32(image);
  JpegWrite c;
  SetUpErrors(c.Err);
  c.Info.err = &c.Err.Mgr;
  c.File = std::fopen(path.c_str(), "wb");
  if (c.File == nullptr) return Failed(CannotCreateText(path));
  const bool encoded = EncodeJpeg(c, img);
  const int code = c.Err.Mgr.msg_code;
  int error = encoded ? 0 : c.Err.Errno;
  const bool closed = std::fclose(c.File) == 0;
  if (encoded && !closed) error = errno;
  if (!encoded && code != JERR_FILE_WRITE) {
    if (IsFile(path)) std::remove(path.c_str());
    return Failed(JPEGErrorText(code));
  }
  // A failed write, while encoding or at the end.
  if (!encoded || !closed) return WriteFailed(path, error);
  return Done();
}

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
