// Time-lapse videos of a drawing: the pictures of its steps, one after the
// other, each shown for its own time, written as an H.264 MP4 (plays in
// browsers and on phones) or as an endlessly looping animated GIF. Encoding
// is FFmpeg's (libavcodec, libavformat, libswscale).
//
// Frames are encoded as they come: nothing but the encoder's own look-ahead
// is kept, whatever the length of the video. The video is written to a
// temporary file next to the target and renamed into place by Finish, so the
// target name never holds a partial video; Cancel, a failure or destroying
// an unfinished writer removes the temporary file and leaves an existing
// file at the target as it was.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

// WebM: VP9 in a WebM file (libvpx), for browsers that take no H.264.
enum class VideoFormat : uint8_t { MP4, GIF, WebM };

// The format by the file's extension: ".mp4"/".MP4", ".gif"/".GIF" or
// ".webm"/".WEBM". False for any other name.
bool VideoFormatOf(const QString& path, VideoFormat& format);

// Outcome of a writer call: ok, or the message to show.
struct VideoResult {
  bool Ok = false;
  std::string Error;  // "どうがを かきだせませんでした（…）"
};

extern const char* const kVideoFailedText;  // "どうがを かきだせませんでした"

// `what` went wrong with the library's error `err` (an AVERROR code): the
// reason given inside a failure message.
std::string VideoLibraryErrorText(const char* what, int err);

class VideoWriter {
 public:
  VideoWriter();
  ~VideoWriter();  // an unfinished video is cancelled
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // Starts a video of `width` × `height` pixels (both even, at most
  // 4096) at `path`. A writer takes one video at a time: a video still open
  // is cancelled first.
  VideoResult Open(const std::string& path, VideoFormat format, int width = 640, int height = 480);

  // GIF only, before the first frame: pictures whose colours the palette is
  // built from, together with the first frame's. A GIF has one palette of
  // 256 colours for the whole video; give the picture that holds the most
  // colours of the drawing (usually its last step). When all the colours
  // counted number 256 or fewer, every frame that uses only them is written
  // exactly; otherwise the colours that cover many pixels (the drawing's)
  // keep their exact values and the rest (a photo background) share the
  // remaining entries. Colours of later frames that the palette lacks are
  // shown as the nearest entry. Ignored for MP4 and after the first frame.
  void AddPaletteSource(const QImage& image);

  // Appends a frame shown for `seconds` (non-positive or non-finite times
  // count as the shortest time the format shows: a millisecond in MP4, two
  // hundredths in a GIF, whose players ignore shorter delays). The frame
  // ends at the sum of all times so far, rounded to the format's clock, so
  // rounding never adds up. The picture must have the video's size; any
  // QImage format is taken (RGB32 without conversion). After a failure the
  // writer is closed, its file removed, and every further call fails.
  VideoResult AddFrame(const QImage& image, double seconds);

  // Completes the video and puts it at the target path in one step,
  // replacing a file there (which becomes its ".bak" backup first when
  // `backup` is set; an older backup wins). At least one frame is needed.
  VideoResult Finish(bool backup = false);

  // Abandons the video: the temporary file is removed, the target untouched.
  void Cancel();

  bool IsOpen() const;
  int FrameCount() const;
  // The encoder in use after Open: "libx264", or a fallback ("mpeg4") when
  // the libraries lack it; "gif" for GIF.
  std::string EncoderName() const;
  // The temporary file being written (empty when none), for tests.
  QString TempPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> F;
};
