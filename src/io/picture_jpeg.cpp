// JPEG pictures, through libjpeg: the reader of backgrounds and the writer
// of exports.
#include "io/picture.h"

#include <QImage>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// libjpeg's headers expect FILE and size_t to be declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "io/picture_internal.h"

using namespace picture_internal;

namespace {

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

}  // namespace

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
