// Reads a video back with FFmpeg's own demuxers and decoders: its codec,
// size, pixel format, every frame's picture and times.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <vector>

struct DecodedVideo {
  bool Ok = false;
  AVCodecID Codec = AV_CODEC_ID_NONE;
  int Profile = 0;
  AVPixelFormat PixelFormat = AV_PIX_FMT_NONE;
  int Width = 0, Height = 0;
  std::vector<int64_t> StartMs, LengthMs;  // per frame
  std::vector<QImage> Pictures;            // RGB32, every frame
};

inline DecodedVideo DecodeVideo(const QString& path) {
  DecodedVideo d;
  AVFormatContext* in = nullptr;
  const std::string url = "file:" + path.toStdString();
  if (avformat_open_input(&in, url.c_str(), nullptr, nullptr) < 0) return d;
  const int index = avformat_find_stream_info(in, nullptr) >= 0
                        ? av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                        : -1;
  AVCodecContext* dec = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  if (index >= 0) {
    const AVStream* st = in->streams[index];
    d.Codec = st->codecpar->codec_id;
    d.Profile = st->codecpar->profile;
    d.PixelFormat = AVPixelFormat(st->codecpar->format);
    d.Width = st->codecpar->width;
    d.Height = st->codecpar->height;
    const AVCodec* codec = avcodec_find_decoder(d.Codec);
    dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, st->codecpar);
    if (avcodec_open2(dec, codec, nullptr) >= 0) {
      const AVRational ms{1, 1000};
      auto take = [&] {
        while (avcodec_receive_frame(dec, frame) >= 0) {
          d.StartMs.push_back(av_rescale_q(frame->best_effort_timestamp, st->time_base, ms));
          d.LengthMs.push_back(av_rescale_q(frame->pkt_duration, st->time_base, ms));
          QImage img(frame->width, frame->height, QImage::Format_RGB32);
          SwsContext* sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                           frame->height, AV_PIX_FMT_RGB32, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr,
                                           nullptr, nullptr);
          uint8_t* planes[1] = {img.bits()};
          const int strides[1] = {int(img.bytesPerLine())};
          sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
          sws_freeContext(sws);
          d.Pictures.push_back(img);
        }
      };
      while (av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == index) avcodec_send_packet(dec, packet);
        av_packet_unref(packet);
        take();
      }
      avcodec_send_packet(dec, nullptr);
      take();
      d.Ok = true;
    }
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&dec);
  avformat_close_input(&in);
  return d;
}

// Mean difference of the colour channels of two pictures of one size (0–255).
inline double MeanPictureDiff(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * a.width() * a.height());
}

// True when a GIF's bytes hold the application extension that makes
// players loop forever (loop count 0).
inline bool GIFLoopsForever(const QByteArray& bytes) {
  const qsizetype app = bytes.indexOf("NETSCAPE2.0");
  return app > 0 && bytes.mid(app + 11, 5) == QByteArray("\x03\x01\x00\x00\x00", 5);
}
