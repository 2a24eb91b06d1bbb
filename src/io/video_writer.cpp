#include "io/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <deque>
#include <utility>
#include <vector>

#include "io/file_replace.h"
#include "io/gif_palette.h"
#include "io/picture.h"

const char* const kVideoFailedText = "どうがを かきだせませんでした";

std::string VideoLibraryErrorText(const char* what, int err) {
  // A full disk is what a family computer meets: said in our own words.
  if (err == AVERROR(ENOSPC) || err == AVERROR(EDQUOT)) return std::string(what) + "：ディスクが いっぱいです";
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, text, sizeof text);
  return std::string(what) + ": " + text;
}

namespace {

constexpr int kMaxVideoSide = 4096;
// The longest frame a GIF can hold, in hundredths of a second.
constexpr int64_t kMaxGIFDelay = 65535;

std::string FailureText(const std::string& reason) { return std::string(kVideoFailedText) + "（" + reason + "）"; }

std::string LibraryErrorText(const char* what, int err) { return VideoLibraryErrorText(what, err); }

// Paths go to the libraries as file URLs, so that a colon in a folder name
// is never taken for a protocol.
std::string FileURL(const QString& path) { return "file:" + path.toStdString(); }

QString FileNameOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? path : path.mid(slash + 1);
}

// A new, empty file next to `path` with a name nobody else uses (the same
// names as the drawing files' temporary files); "" when the folder takes none.
QString CreateTempFileNear(const QString& path) {
  const QString folder = path.left(path.size() - FileNameOf(path).size());
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QString name = QStringLiteral("%1.tamlo-%2.tmp")
                             .arg(folder)
                             .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
    if (!QFileInfo::exists(name)) break;
  }
  return QString();
}

bool SyncFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace

bool VideoFormatOf(const QString& path, VideoFormat& format) {
  const QString ext = FileExtension(path);
  if (ext == u".mp4" || ext == u".MP4") {
    format = VideoFormat::MP4;
    return true;
  }
  if (ext == u".gif" || ext == u".GIF") {
    format = VideoFormat::GIF;
    return true;
  }
  if (ext == u".webm" || ext == u".WEBM") {
    format = VideoFormat::WebM;
    return true;
  }
  return false;
}

struct VideoWriter::Impl {
  VideoFormat Format = VideoFormat::MP4;
  int Width = 0, Height = 0;
  QString Target, Temp;
  AVFormatContext* Mux = nullptr;
  AVStream* Stream = nullptr;
  AVCodecContext* Encoder = nullptr;
  AVFrame* Frame = nullptr;
  AVPacket* Packet = nullptr;
  SwsContext* Scaler = nullptr;
  std::string EncoderName;
  GIFPalette Palette;
  bool PaletteBuilt = false;
  // Start and length of the frames inside the encoder, in its clock.
  std::deque<std::pair<int64_t, int64_t>> Pending;
  double Elapsed = 0;  // seconds asked for so far
  int64_t EndTicks = 0, LastTicks = 0;
  int Frames = 0;
  std::string Error;  // the failure that closed the writer
  bool TrailerDue = false;  // the header is written, the trailer not yet

  ~Impl() { Close(); }

  // Frees the libraries' objects and removes the temporary file.
  void Close() {
    if (Mux) {
      // A video given up: the trailer still goes into the temporary file
      // (removed below), since only it frees what a muxer holds back (the
      // GIF muxer keeps the last packet until then).
      if (TrailerDue && Mux->pb) av_write_trailer(Mux);
      TrailerDue = false;
      if (Mux->pb) avio_closep(&Mux->pb);
      avformat_free_context(Mux);
      Mux = nullptr;
    }
    Stream = nullptr;
    avcodec_free_context(&Encoder);
    av_frame_free(&Frame);
    av_packet_free(&Packet);
    sws_freeContext(Scaler);
    Scaler = nullptr;
    Pending.clear();
    if (!Temp.isEmpty()) QFile::remove(Temp);
    Temp.clear();
  }

  VideoResult Fail(const std::string& reason) {
    Close();
    Error = FailureText(reason);
    return {false, Error};
  }

  int64_t TicksPerSecond() const { return Encoder->time_base.den; }

  bool OpenEncoder(const AVCodec* codec) {
    avcodec_free_context(&Encoder);
    Encoder = avcodec_alloc_context3(codec);
    if (!Encoder) return false;
    Encoder->width = Width;
    Encoder->height = Height;
    AVDictionary* options = nullptr;
    if (Format == VideoFormat::GIF) {
      Encoder->time_base = {1, 100};
      Encoder->pix_fmt = AV_PIX_FMT_PAL8;
    } else {
      Encoder->time_base = {1, 1000};
      // The frame times vary; a nominal rate keeps the level a phone plays.
      Encoder->framerate = {25, 1};
      Encoder->pix_fmt = AV_PIX_FMT_YUV420P;
      Encoder->gop_size = 250;
      // No reordered frames: every frame's time stays as given, from 0.
      Encoder->max_b_frames = 0;
      Encoder->color_range = AVCOL_RANGE_MPEG;
      Encoder->colorspace = AVCOL_SPC_SMPTE170M;
      Encoder->color_primaries = AVCOL_PRI_SMPTE170M;
      Encoder->color_trc = AVCOL_TRC_SMPTE170M;
      if (std::string_view(codec->name) == "libvpx-vp9") {
        // Constant quality, at the encoder's quickest.
        av_dict_set(&options, "deadline", "realtime", 0);
        av_dict_set(&options, "cpu-used", "8", 0);
        av_dict_set(&options, "crf", "32", 0);
        av_dict_set(&options, "b", "0", 0);
        av_dict_set(&options, "row-mt", "1", 0);
      } else if (std::string_view(codec->name) == "libx264") {
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set(&options, "crf", "23", 0);
        av_dict_set(&options, "profile", "high", 0);
      } else {
        Encoder->flags |= AV_CODEC_FLAG_QSCALE;
        Encoder->global_quality = FF_QP2LAMBDA * 3;
      }
    }
    if (Mux->oformat->flags & AVFMT_GLOBALHEADER) Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int err = avcodec_open2(Encoder, codec, &options);
    av_dict_free(&options);
    if (err < 0) {
      avcodec_free_context(&Encoder);
      return false;
    }
    EncoderName = codec->name;
    return true;
  }

  // Hands the encoder's finished packets to the file.
  VideoResult Drain() {
    for (;;) {
      int err = avcodec_receive_packet(Encoder, Packet);
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return {true, {}};
      if (err < 0) return Fail(LibraryErrorText("エンコードに しっぱいしました", err));
      const auto it = std::find_if(Pending.begin(), Pending.end(),
                                   [&](const auto& p) { return p.first == Packet->pts; });
      if (it != Pending.end()) {
        Packet->duration = it->second;
        Pending.erase(it);
      }
      Packet->stream_index = Stream->index;
      av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
      err = av_interleaved_write_frame(Mux, Packet);
      av_packet_unref(Packet);
      if (err < 0) return Fail(LibraryErrorText("ファイルに かきこめません", err));
    }
  }
};

VideoWriter::VideoWriter() : F(std::make_unique<Impl>()) {}
VideoWriter::~VideoWriter() = default;

VideoResult VideoWriter::Open(const std::string& path, VideoFormat format, int width, int height) {
  Cancel();
  // The libraries report progress on the standard error; a failure comes
  // back as the result instead.
  if (av_log_get_level() == AV_LOG_INFO) av_log_set_level(AV_LOG_ERROR);
  F->Error.clear();
  F->Format = format;
  F->Width = width;
  F->Height = height;
  F->Target = QString::fromStdString(path);
  F->Elapsed = 0;
  F->EndTicks = F->LastTicks = 0;
  F->Frames = 0;
  F->PaletteBuilt = false;
  F->Palette = GIFPalette();
  F->EncoderName.clear();
  if (width < 2 || height < 2 || width > kMaxVideoSide || height > kMaxVideoSide ||
      (format != VideoFormat::GIF && (width % 2 != 0 || height % 2 != 0)))
    return F->Fail("えの おおきさが つかえません");

  F->Temp = CreateTempFileNear(F->Target);
  if (F->Temp.isEmpty()) return F->Fail(CannotCreateText(path));
  const std::string url = FileURL(F->Temp);
  const char* const muxer = format == VideoFormat::GIF ? "gif" : format == VideoFormat::WebM ? "webm" : "mp4";
  if (avformat_alloc_output_context2(&F->Mux, nullptr, muxer, url.c_str()) < 0 || !F->Mux)
    return F->Fail("ファイルの かたちが つかえません");

  bool opened = false;
  if (format == VideoFormat::GIF) {
    const AVCodec* gif = avcodec_find_encoder(AV_CODEC_ID_GIF);
    opened = gif && F->OpenEncoder(gif);
  } else if (format == VideoFormat::WebM) {
    const AVCodec* vp9 = avcodec_find_encoder_by_name("libvpx-vp9");
    opened = vp9 && F->OpenEncoder(vp9);
  } else {
    // H.264 by x264; another H.264 encoder or MPEG-4 Visual (mpeg4) only when the
    // libraries were built without it.
    const AVCodec* candidates[] = {avcodec_find_encoder_by_name("libx264"), avcodec_find_encoder(AV_CODEC_ID_H264),
                                   avcodec_find_encoder(AV_CODEC_ID_MPEG4)};
    for (const AVCodec* codec : candidates)
      if (codec && (opened = F->OpenEncoder(codec))) break;
  }
  if (!opened) return F->Fail("エンコーダーが ありません");

  F->Stream = avformat_new_stream(F->Mux, nullptr);
  if (!F->Stream) return F->Fail("メモリが たりません");
  F->Stream->time_base = F->Encoder->time_base;
  if (avcodec_parameters_from_context(F->Stream->codecpar, F->Encoder) < 0) return F->Fail("メモリが たりません");

  int err = avio_open(&F->Mux->pb, url.c_str(), AVIO_FLAG_WRITE);
  if (err < 0) return F->Fail(CannotCreateText(path));
  AVDictionary* options = nullptr;
  if (format == VideoFormat::GIF)
    av_dict_set(&options, "loop", "0", 0);  // endlessly
  else if (format == VideoFormat::MP4)
    av_dict_set(&options, "movflags", "+faststart", 0);  // plays while it loads
  err = avformat_write_header(F->Mux, &options);
  av_dict_free(&options);
  if (err < 0) return F->Fail(LibraryErrorText("ファイルに かきこめません", err));
  F->TrailerDue = true;

  F->Frame = av_frame_alloc();
  F->Packet = av_packet_alloc();
  if (!F->Frame || !F->Packet) return F->Fail("メモリが たりません");
  F->Frame->format = F->Encoder->pix_fmt;
  F->Frame->width = width;
  F->Frame->height = height;
  if (av_frame_get_buffer(F->Frame, 0) < 0) return F->Fail("メモリが たりません");
  if (format != VideoFormat::GIF) {
    F->Scaler = sws_getContext(width, height, AV_PIX_FMT_RGB32, width, height, AV_PIX_FMT_YUV420P,
                               SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!F->Scaler) return F->Fail("メモリが たりません");
  }
  return {true, {}};
}

void VideoWriter::AddPaletteSource(const QImage& image) {
  if (!F->Mux || F->Format != VideoFormat::GIF || F->PaletteBuilt) return;
  if (image.width() != F->Width || image.height() != F->Height) return;
  F->Palette.Count(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                       ? image
                       : image.convertToFormat(QImage::Format_RGB32));
}

VideoResult VideoWriter::AddFrame(const QImage& image, double seconds) {
  if (!F->Error.empty()) return {false, F->Error};
  if (!F->Mux) return {false, FailureText("どうがが ひらかれていません")};
  if (image.width() != F->Width || image.height() != F->Height) return F->Fail("えの おおきさが ちがいます");
  const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                         ? image
                         : image.convertToFormat(QImage::Format_RGB32);

  // The frame's time on the encoder's clock: from the end of the last frame
  // to the rounded sum of all times so far.
  const int64_t perSecond = F->TicksPerSecond();
  const int64_t shortest = F->Format == VideoFormat::GIF ? 2 : 1;
  const int64_t longest = F->Format == VideoFormat::GIF ? kMaxGIFDelay : 24 * 3600 * perSecond;
  F->Elapsed += std::isfinite(seconds) && seconds > 0 ? std::min(seconds, 24.0 * 3600) : 0;
  const int64_t start = F->EndTicks;
  int64_t end = std::llround(F->Elapsed * double(perSecond));
  if (end - start < shortest || end - start > longest) {
    end = start + std::clamp(end - start, shortest, longest);
    F->Elapsed = double(end) / double(perSecond);
  }

  if (av_frame_make_writable(F->Frame) < 0) return F->Fail("メモリが たりません");
  if (F->Format == VideoFormat::GIF) {
    if (!F->PaletteBuilt) {
      F->Palette.Count(rgb);
      F->Palette.Build();
      F->PaletteBuilt = true;
    }
    F->Palette.Fill(reinterpret_cast<uint32_t*>(F->Frame->data[1]));
    F->Palette.Map(rgb, F->Frame->data[0], F->Frame->linesize[0]);
  } else {
    const uint8_t* planes[1] = {rgb.constBits()};
    const int strides[1] = {int(rgb.bytesPerLine())};
    sws_scale(F->Scaler, planes, strides, 0, F->Height, F->Frame->data, F->Frame->linesize);
  }
  F->Frame->pts = start;
  F->Pending.emplace_back(start, end - start);
  const int err = avcodec_send_frame(F->Encoder, F->Frame);
  if (err < 0) return F->Fail(LibraryErrorText("エンコードに しっぱいしました", err));
  F->EndTicks = end;
  F->LastTicks = end - start;
  ++F->Frames;
  return F->Drain();
}

VideoResult VideoWriter::Finish(bool backup) {
  if (!F->Error.empty()) return {false, F->Error};
  if (!F->Mux) return {false, FailureText("どうがが ひらかれていません")};
  if (F->Frames == 0) return F->Fail("えが ひとつも ありません");
  int err = avcodec_send_frame(F->Encoder, nullptr);
  if (err < 0) return F->Fail(LibraryErrorText("エンコードに しっぱいしました", err));
  if (VideoResult r = F->Drain(); !r.Ok) return r;
  // A GIF's last frame has no next one to end it: its delay is set here.
  if (F->Format == VideoFormat::GIF) av_opt_set_int(F->Mux->priv_data, "final_delay", F->LastTicks, 0);
  F->TrailerDue = false;
  err = av_write_trailer(F->Mux);
  if (err < 0) return F->Fail(LibraryErrorText("ファイルに かきこめません", err));
  if (F->Mux->pb->error < 0) return F->Fail(LibraryErrorText("ファイルに かきこめません", F->Mux->pb->error));
  err = avio_closep(&F->Mux->pb);
  if (err < 0) return F->Fail(LibraryErrorText("ファイルに かきこめません", err));
  // The old file may be renamed away next: the new one is on the disk first.
  if (!SyncFile(F->Temp)) return F->Fail("ファイルに かきこめません");

  const QString target = F->Target;
  const bool backedUp = backup && MakeBackup(target);
  if (std::rename(QFile::encodeName(F->Temp).constData(), QFile::encodeName(target).constData()) != 0) {
    if (backedUp) QFile::rename(BackupName(target), target);
    return F->Fail(CannotCreateText(target.toStdString()));
  }
  F->Temp.clear();  // it is the video now
  F->Close();
  return {true, {}};
}

void VideoWriter::Cancel() { F->Close(); }

bool VideoWriter::IsOpen() const { return F->Mux != nullptr; }
int VideoWriter::FrameCount() const { return F->Frames; }
std::string VideoWriter::EncoderName() const { return F->EncoderName; }
QString VideoWriter::TempPath() const { return F->Temp; }
