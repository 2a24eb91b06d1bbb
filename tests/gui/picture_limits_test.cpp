// Pictures larger than the canvas and failing writes: a background keeps
// only the part the canvas shows, with exactly the pixels of the whole
// picture, at a bounded cost; the writers say when the disk is full.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "io/picture.h"
#include "io/picture_store.h"
#include "render/paint.h"
#include "support/picture_files.h"
#include "support/sanitizers.h"
#include "support/scripted_dialogs.h"

namespace {

const QSize kShown(kCanvasWidth, kCanvasHeight);

// Resident memory in kB: now, and the peak since ResetPeak.
long StatusKb(const char* key) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
  return -1;
}
bool ResetPeak() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
  f.flush();
  return bool(f);
}

// Peak resident growth while `work` runs, in MB; −1 when it cannot be told.
template <typename F>
double PeakGrowthMB(F&& work) {
  if (!ResetPeak()) return -1;
  const long before = StatusKb("VmRSS:");
  work();
  const long peak = StatusKb("VmHWM:");
  if (before < 0 || peak < 0) return -1;
  return double(peak - before) / 1024.0;
}

// A picture with detail everywhere, so that any shifted or smoothed pixel shows.
QImage Busy(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  std::mt19937 rng(uint32_t(w * 31 + h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256) ^ (rng() & 0x1F1F1F));
  return img;
}

struct JpegKind {
  const char* Name;
  bool Progressive;
  int HSamp, VSamp;  // of the brightness component: 2 × 2 is 4:2:0, 1 × 1 is 4:4:4
  bool Separate;     // sequential, one scan per component
  bool Grey;
};

ByteBuffer EncodeJpeg(const QImage& img, const JpegKind& k, int scans = 0) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(img.width());
  c.image_height = JDIMENSION(img.height());
  c.input_components = k.Grey ? 1 : 3;
  c.in_color_space = k.Grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 80, TRUE);
  c.restart_interval = k.Separate ? 7 : 0;
  if (!k.Grey) c.comp_info[0].h_samp_factor = k.HSamp, c.comp_info[0].v_samp_factor = k.VSamp;
  std::vector<jpeg_scan_info> script;
  if (k.Progressive) jpeg_simple_progression(&c);
  if (k.Separate && !k.Grey) {
    for (int i = 0; i < 3; ++i) {
      jpeg_scan_info s{};
      s.comps_in_scan = 1, s.component_index[0] = i, s.Ss = 0, s.Se = 63;
      script.push_back(s);
    }
  }
  if (scans > 0) {
    // One DC scan, then one AC coefficient of one component per scan.
    jpeg_scan_info dc{};
    dc.comps_in_scan = 3, dc.component_index[0] = 0, dc.component_index[1] = 1, dc.component_index[2] = 2;
    script.push_back(dc);
    for (int comp = 0; comp < 3 && int(script.size()) < scans; ++comp)
      for (int i = 1; i <= 63 && int(script.size()) < scans; ++i) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1, ac.component_index[0] = comp, ac.Ss = i, ac.Se = i;
        script.push_back(ac);
      }
  }
  if (!script.empty()) c.scan_info = script.data(), c.num_scans = int(script.size());
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(size_t(img.width()) * 3);
  while (c.next_scanline < c.image_height) {
    const int y = int(c.next_scanline);
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      if (k.Grey)
        row[x] = JSAMPLE(qGray(p));
      else
        row[3 * x] = JSAMPLE(qRed(p)), row[3 * x + 1] = JSAMPLE(qGreen(p)), row[3 * x + 2] = JSAMPLE(qBlue(p));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  ByteBuffer bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

// Sets the size the frame header declares.
void DeclareSize(ByteBuffer& b, int w, int h) {
  for (size_t i = 2; i + 9 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] >= 0xC0 && b[i + 1] <= 0xC2) {
      b[i + 5] = uint8_t(h >> 8), b[i + 6] = uint8_t(h);
      b[i + 7] = uint8_t(w >> 8), b[i + 8] = uint8_t(w);
      return;
    }
  ADD_FAILURE() << "no frame header";
}

void Put32(ByteBuffer& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A BMP with a 40-byte header: 24 bits (bottom-up or top-down) or RLE8
// with a grey palette; `pixels` follow the header (and palette).
ByteBuffer Bmp(int w, int h, int bits, uint32_t compression, const ByteBuffer& pixels) {
  const size_t palette = bits == 8 ? 256 * 4 : 0;
  ByteBuffer b(54 + palette, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, uint32_t(54 + palette));
  Put32(b, 14, 40);
  Put32(b, 18, uint32_t(w));
  Put32(b, 22, uint32_t(h));
  b[26] = 1, b[28] = uint8_t(bits);
  Put32(b, 30, compression);
  for (size_t i = 0; i < palette / 4; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = uint8_t(255 - i);
  b.insert(b.end(), pixels.begin(), pixels.end());
  Put32(b, 2, uint32_t(b.size()));
  return b;
}

ByteBuffer Rows24(int w, int h) {
  ByteBuffer p;
  const int stride = (w * 3 + 3) / 4 * 4;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < stride; ++x) p.push_back(uint8_t((x * 13 + y * 7) ^ (y >> 2)));
  return p;
}

class PictureLimits : public PictureFileTest {};

}  // namespace

// The kept part of every kind of JPEG, wider and taller than the canvas or
// only one of the two, is the top-left of the whole picture pixel for pixel.
TEST_F(PictureLimits, AKeptJpegPartHasThePixelsOfTheWholePicture) {
  const JpegKind kinds[] = {
      {"baseline 4:2:0", false, 2, 2, false, false}, {"baseline 4:4:4", false, 1, 1, false, false},
      {"baseline 4:2:2", false, 2, 1, false, false}, {"progressive 4:2:0", true, 2, 2, false, false},
      {"progressive 4:4:4", true, 1, 1, false, false}, {"one scan per component", false, 2, 2, true, false},
      {"grey", false, 1, 1, false, true},            {"progressive grey", true, 1, 1, false, true},
  };
  const QSize sizes[] = {{1000, 760}, {700, 1300}, {500, 900}, {1200, 300}, {640, 480}};
  for (const JpegKind& k : kinds)
    for (const QSize& size : sizes) {
      const std::string path = Write("big.jpg", EncodeJpeg(Busy(size.width(), size.height()), k));
      QImage whole, part;
      ASSERT_TRUE(ReadJPEG(path, whole).Ok) << k.Name;
      ASSERT_TRUE(ReadJPEG(path, part, kShown).Ok) << k.Name;
      ASSERT_EQ(whole.size(), size);
      const QSize kept = size.boundedTo(kShown);
      ASSERT_EQ(part.size(), kept) << k.Name;
      EXPECT_TRUE(part == whole.copy(QRect(QPoint(0, 0), kept)))
          << k.Name << " " << size.width() << " × " << size.height();
    }
}

TEST_F(PictureLimits, AKeptBmpPartHasThePixelsOfTheWholePicture) {
  // 24 bits bottom-up and top-down, and RLE8 runs crossing the right edge.
  ByteBuffer rle;
  const int w = 700, h = 530;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; x += 100) rle.push_back(100), rle.push_back(uint8_t(x / 3 + y));
    rle.push_back(0), rle.push_back(0);
  }
  rle.push_back(0), rle.push_back(1);
  ByteBuffer topDown = Bmp(w, h, 24, 0, Rows24(w, h));
  Put32(topDown, 22, uint32_t(-h));
  const ByteBuffer files[] = {Bmp(w, h, 24, 0, Rows24(w, h)), topDown, Bmp(w, h, 8, 1, rle),
                          Bmp(300, 700, 24, 0, Rows24(300, 700))};
  for (const ByteBuffer& b : files) {
    const std::string path = Write("big.bmp", b);
    QImage whole, part;
    ASSERT_TRUE(ReadBMP(path, whole).Ok);
    ASSERT_TRUE(ReadBMP(path, part, kShown).Ok);
    const QSize kept = whole.size().boundedTo(kShown);
    ASSERT_EQ(part.size(), kept);
    EXPECT_TRUE(part == whole.copy(QRect(QPoint(0, 0), kept)));
  }
}

// A 656-byte progressive JPEG and a tiny run-length BMP that declare
// 8192 × 8192 pixels: as backgrounds they cost little time and memory.
TEST_F(PictureLimits, HugeDeclaredPicturesLoadAsBackgroundsCheaply) {
  ByteBuffer jpeg = EncodeJpeg(Busy(16, 16), {"progressive", true, 2, 2, false, false});
  DeclareSize(jpeg, 8192, 8192);
  ByteBuffer rle = {0, 0, 0, 1};  // one empty row, then the end of the picture
  const std::string names[] = {Write("huge.jpg", jpeg), Write("huge.bmp", Bmp(8192, 8192, 8, 1, rle))};
  for (const std::string& name : names) {
    AppState S;
    ScriptedDialogs dialogs;
    S.Dialogs = &dialogs;
    PictureStore pictures(S);
    S.Pictures = &pictures;
    int result = -1;
    const double grown = PeakGrowthMB([&] { result = pictures.LoadBGPicture(name); });
    EXPECT_EQ(result, 0) << name;
    EXPECT_TRUE(dialogs.Shown.empty()) << name;
    EXPECT_EQ(pictures.BGPicture.size(), kShown) << name;
    if (kSanitized) continue;  // the sanitizers' own memory says nothing here
    if (grown >= 0) {
      EXPECT_LT(grown, 300.0) << name;
    }
  }
}

TEST_F(PictureLimits, TheScanLimitSaysSo) {
  const JpegKind k{"progressive", true, 1, 1, false, false};
  QImage back;
  EXPECT_TRUE(ReadJPEG(Write("100.jpg", EncodeJpeg(Busy(32, 32), k, 100)), back).Ok);
  const PictureResult r = ReadJPEG(Write("101.jpg", EncodeJpeg(Busy(32, 32), k, 101)), back);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, "この JPEG は スキャンが おおすぎて よみこめません");
  // Damage that libjpeg reports with the same number keeps its number.
  ByteBuffer bad = EncodeJpeg(Busy(32, 32), k);
  for (size_t i = 2; i + 8 < bad.size(); ++i)
    if (bad[i] == 0xFF && bad[i + 1] == 0xDA) {
      bad[i + 8] = 70;  // a spectral selection past the last coefficient
      break;
    }
  const PictureResult damaged = ReadJPEG(Write("bad.jpg", bad), back);
  EXPECT_FALSE(damaged.Ok);
  EXPECT_EQ(damaged.Error.rfind("JPEG エラー #", 0), 0u) << damaged.Error;
}

// Writing to a full disk: the message names the file and says the disk is
// full; what is under the name is not removed when the writer did not make
// it (here a device).
TEST_F(PictureLimits, AFullDiskIsNamedAndNothingElseIsRemoved) {
  struct stat st {};
  if (stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode)) GTEST_SKIP() << "no /dev/full";
  const QImage img = Busy(640, 480);
  const std::string expected = "ディスクがいっぱいで ファイル /dev/full をかけません";
  PictureResult r = WriteJPEG("/dev/full", img);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, expected);
  r = WriteJPEG("/dev/full", Busy(8, 8));  // fails only when the last bytes go out
  EXPECT_EQ(r.Error, expected);
  r = WriteBMP32("/dev/full", img);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, expected);
  r = WriteBMP32("/dev/full", Busy(2, 2));
  EXPECT_EQ(r.Error, expected);
  EXPECT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  // A file that cannot be made keeps its old message.
  const std::string missing = dir.filePath("no/such/folder.jpg").toStdString();
  EXPECT_EQ(WriteJPEG(missing, img).Error, "ファイル " + missing + " を作成できません");
}
