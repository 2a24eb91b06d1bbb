#include "io/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include "io/file_replace.h"
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

// Every frame is a block of about a megabyte, and the GIF's palette mapping
// grows its colour cache in small steps between them. glibc raises its
// threshold for handing such blocks back to the system the first time one
// is freed, after which the frames come from the heap and the small blocks
// between them keep the heap from shrinking: the memory of a GIF then grows
// with its length (500 frames: 520 MB instead of 100 MB). A fixed threshold
// keeps frames in blocks of their own, returned as soon as they are freed.
void KeepLargeBlocksApart() {
#ifdef __GLIBC__
  static const bool once = mallopt(M_MMAP_THRESHOLD, 256 * 1024) != 0;
  (void)once;
#endif
}

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

// A filter graph of libavfilter with one picture input (RGB32 pictures of
// the video's size) and one output.
struct FilterChain {
  AVFilterGraph* Graph = nullptr;
  AVFilterContext* In = nullptr;
  AVFilterContext* Out = nullptr;

  void Free() {
    avfilter_graph_free(&Graph);
    In = Out = nullptr;
  }

  // Makes the source named `name` of pictures `width` × `height` in the
  // video's clock (hundredths of a second).
  static AVFilterContext* Source(AVFilterGraph* graph, const char* name, int width, int height) {
    char args[128];
    std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/100:pixel_aspect=1/1", width, height,
                  int(AV_PIX_FMT_RGB32));
    AVFilterContext* source = nullptr;
    if (avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), name, args, nullptr, graph) < 0)
      return nullptr;
    return source;
  }

  // `filter` (as in FFmpeg's filter descriptions) between the picture input
  // and the output; `palette` (when given) becomes a second input of 16 × 16
  // pictures named "palette". False when the libraries refuse.
  bool Build(const char* filter, int width, int height, AVFilterContext** palette = nullptr) {
    Free();
    Graph = avfilter_graph_alloc();
    if (!Graph) return false;
    Graph->nb_threads = 1;
    In = Source(Graph, "in", width, height);
    if (!In) return false;
    if (avfilter_graph_create_filter(&Out, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, Graph) < 0)
      return false;
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    AVFilterInOut* second = palette ? avfilter_inout_alloc() : nullptr;
    bool ok = outputs && inputs && (!palette || second);
    if (ok && palette) {
      *palette = Source(Graph, "palette", 16, 16);
      ok = *palette != nullptr;
    }
    if (ok) {
      outputs->name = av_strdup("in");
      outputs->filter_ctx = In;
      outputs->next = second;
      if (second) {
        second->name = av_strdup("palette");
        second->filter_ctx = *palette;
      }
      inputs->name = av_strdup("out");
      inputs->filter_ctx = Out;
      ok = avfilter_graph_parse_ptr(Graph, filter, &inputs, &outputs, nullptr) >= 0 &&
           avfilter_graph_config(Graph, nullptr) >= 0;
    } else {
      avfilter_inout_free(&second);
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    return ok;
  }
};

// A copy of an RGB32 picture as a frame the filters may keep.
AVFrame* PictureFrame(const QImage& rgb, int64_t pts) {
  AVFrame* frame = av_frame_alloc();
  if (!frame) return nullptr;
  frame->format = AV_PIX_FMT_RGB32;
  frame->width = rgb.width();
  frame->height = rgb.height();
  if (av_frame_get_buffer(frame, 0) < 0) {
    av_frame_free(&frame);
    return nullptr;
  }
  for (int y = 0; y < rgb.height(); ++y)
    std::memcpy(frame->data[0] + ptrdiff_t(y) * frame->linesize[0], rgb.constScanLine(y), size_t(rgb.width()) * 4);
  frame->pts = pts;
  return frame;
}

QImage RGB32Of(const QImage& image) {
  return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
             ? image
             : image.convertToFormat(QImage::Format_RGB32);
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
  // GIF: the colours of the palette's pictures are counted by palettegen;
  // the frames are mapped onto the palette it makes by paletteuse.
  FilterChain Colours, Mapping;
  AVFilterContext* PaletteIn = nullptr;  // Mapping's second input
  bool PaletteBuilt = false;
  int64_t ColourFrames = 0;
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
    Colours.Free();
    Mapping.Free();
    PaletteIn = nullptr;
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

  // GIF: counts the colours of a picture for the palette.
  VideoResult CountColours(const QImage& rgb) {
    if (!Colours.Graph && !Colours.Build("palettegen=max_colors=256:reserve_transparent=0:stats_mode=full", Width, Height))
      return Fail("パレットを つくれません");
    AVFrame* frame = PictureFrame(rgb, ColourFrames++);
    if (!frame) return Fail("メモリが たりません");
    // Pushed through at once: palettegen keeps its counts, not the frames.
    const int err = av_buffersrc_add_frame_flags(Colours.In, frame, AV_BUFFERSRC_FLAG_PUSH);
    av_frame_free(&frame);
    if (err < 0) return Fail(LibraryErrorText("パレットを つくれません", err));
    return {true, {}};
  }

  // GIF: the palette from the colours counted, and the filter that maps
  // every frame onto it (with dithering where a colour is not in it).
  // Ordered (Bayer) dithering, finely scaled: a drawing's flat areas stay
  // flat and compress well, and it looks each colour up far fewer times
  // than error diffusion, whose spread of new colours made a long drawing
  // of many colours several times slower (500 steps: 3.2 s instead of
  // 14.5 s, 125 KB instead of 2.8 MB).
  VideoResult BuildPalette() {
    PaletteBuilt = true;
    int err = av_buffersrc_add_frame(Colours.In, nullptr);
    AVFrame* palette = av_frame_alloc();
    if (!palette) return Fail("メモリが たりません");
    if (err >= 0) err = av_buffersink_get_frame(Colours.Out, palette);
    Colours.Free();
    if (err >= 0 && !Mapping.Build("[in][palette]paletteuse=dither=bayer:bayer_scale=3", Width, Height,
                                   &PaletteIn))
      err = AVERROR(EINVAL);
    if (err >= 0) {
      palette->pts = 0;
      err = av_buffersrc_add_frame(PaletteIn, palette);
    }
    // One palette for the whole video.
    if (err >= 0) err = av_buffersrc_add_frame(PaletteIn, nullptr);
    av_frame_free(&palette);
    if (err < 0) return Fail(LibraryErrorText("パレットを つくれません", err));
    return {true, {}};
  }

  // GIF: hands the frames mapped so far to the encoder.
  VideoResult EncodeMapped() {
    for (;;) {
      AVFrame* mapped = av_frame_alloc();
      if (!mapped) return Fail("メモリが たりません");
      int err = av_buffersink_get_frame(Mapping.Out, mapped);
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) {
        av_frame_free(&mapped);
        return {true, {}};
      }
      if (err >= 0) err = avcodec_send_frame(Encoder, mapped);
      av_frame_free(&mapped);
      if (err < 0) return Fail(LibraryErrorText("エンコードに しっぱいしました", err));
      if (VideoResult r = Drain(); !r.Ok) return r;
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
  KeepLargeBlocksApart();
  F->Error.clear();
  F->Format = format;
  F->Width = width;
  F->Height = height;
  F->Target = QString::fromStdString(path);
  F->Elapsed = 0;
  F->EndTicks = F->LastTicks = 0;
  F->Frames = 0;
  F->PaletteBuilt = false;
  F->ColourFrames = 0;
  F->EncoderName.clear();
  if (width < 2 || height < 2 || width > kMaxVideoSide || height > kMaxVideoSide ||
      (format != VideoFormat::GIF && (width % 2 != 0 || height % 2 != 0)))
    return F->Fail("えの おおきさが つかえません");

  // A device, a pipe or a folder at the name is no file to replace: the
  // video would take its name (and the device the backup's).
  struct stat st {};
  if (::lstat(QFile::encodeName(F->Target).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
    return F->Fail(CannotCreateText(path));
  // What killed programs left in the folder goes first, as saves do.
  RemoveStaleTempFiles(F->Target.left(F->Target.size() - FileNameOf(F->Target).size()));
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

VideoResult VideoWriter::AddPaletteSource(const QImage& image) {
  if (!F->Error.empty()) return {false, F->Error};
  if (!F->Mux) return {false, FailureText("どうがが ひらかれていません")};
  if (F->Format != VideoFormat::GIF || F->PaletteBuilt) return {true, {}};
  if (image.width() != F->Width || image.height() != F->Height) return F->Fail("えの おおきさが ちがいます");
  return F->CountColours(RGB32Of(image));
}

VideoResult VideoWriter::AddFrame(const QImage& image, double seconds) {
  if (!F->Error.empty()) return {false, F->Error};
  if (!F->Mux) return {false, FailureText("どうがが ひらかれていません")};
  if (image.width() != F->Width || image.height() != F->Height) return F->Fail("えの おおきさが ちがいます");
  const QImage rgb = RGB32Of(image);

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

  if (F->Format == VideoFormat::GIF) {
    if (!F->PaletteBuilt) {
      // The first frame's colours count too, unless the pictures given for
      // the palette (usually every frame, this one first) counted them.
      if (F->ColourFrames == 0)
        if (VideoResult r = F->CountColours(rgb); !r.Ok) return r;
      if (VideoResult r = F->BuildPalette(); !r.Ok) return r;
    }
    AVFrame* frame = PictureFrame(rgb, start);
    if (!frame) return F->Fail("メモリが たりません");
    F->Pending.emplace_back(start, end - start);
    const int err = av_buffersrc_add_frame_flags(F->Mapping.In, frame, AV_BUFFERSRC_FLAG_PUSH);
    av_frame_free(&frame);
    if (err < 0) return F->Fail(LibraryErrorText("パレットに あわせられません", err));
    F->EndTicks = end;
    F->LastTicks = end - start;
    ++F->Frames;
    return F->EncodeMapped();
  }
  if (av_frame_make_writable(F->Frame) < 0) return F->Fail("メモリが たりません");
  const uint8_t* planes[1] = {rgb.constBits()};
  const int strides[1] = {int(rgb.bytesPerLine())};
  sws_scale(F->Scaler, planes, strides, 0, F->Height, F->Frame->data, F->Frame->linesize);
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
  if (F->Format == VideoFormat::GIF) {
    // The frames the mapping still holds.
    const int err = av_buffersrc_add_frame(F->Mapping.In, nullptr);
    if (err < 0) return F->Fail(LibraryErrorText("パレットに あわせられません", err));
    if (VideoResult r = F->EncodeMapped(); !r.Ok) return r;
  }
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
