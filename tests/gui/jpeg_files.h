// JPEG files made for the reader's tests by an encoder of their own, straight
// on libjpeg: any sampling, progressive or not, grey, a scan per component
// or a script of many scans; and the size a file declares, changed by hand.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "support/picture_files.h"

struct JpegKind {
  const char* Name = "";
  bool Progressive = false;
  int HSamp = 2, VSamp = 2;  // of the brightness component: 2 × 2 is 4:2:0, 1 × 1 is 4:4:4
  bool Separate = false;     // sequential, one scan per component, with restart markers
  bool Grey = false;
  int Scans = 0;             // > 0: one DC scan, then one AC coefficient per scan
};

inline ByteBuffer EncodeJpeg(const QImage& img, const JpegKind& k) {
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
  jpeg_set_quality(&c, 85, TRUE);
  c.restart_interval = k.Separate ? 7 : 0;
  if (!k.Grey) c.comp_info[0].h_samp_factor = k.HSamp, c.comp_info[0].v_samp_factor = k.VSamp;
  if (k.Progressive) jpeg_simple_progression(&c);
  std::vector<jpeg_scan_info> script;
  if (k.Separate && !k.Grey) {
    for (int i = 0; i < 3; ++i) {
      jpeg_scan_info s{};
      s.comps_in_scan = 1, s.component_index[0] = i, s.Ss = 0, s.Se = 63;
      script.push_back(s);
    }
  }
  if (k.Scans > 0) {
    jpeg_scan_info dc{};
    dc.comps_in_scan = 3, dc.component_index[0] = 0, dc.component_index[1] = 1, dc.component_index[2] = 2;
    script.push_back(dc);
    for (int comp = 0; comp < 3 && int(script.size()) < k.Scans; ++comp)
      for (int i = 1; i <= 63 && int(script.size()) < k.Scans; ++i) {
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

// Sets the size the frame header (SOF0 … SOF2) declares.
inline void DeclareSize(ByteBuffer& b, int w, int h) {
  for (size_t i = 2; i + 9 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] >= 0xC0 && b[i + 1] <= 0xC2) {
      b[i + 5] = uint8_t(h >> 8), b[i + 6] = uint8_t(h);
      b[i + 7] = uint8_t(w >> 8), b[i + 8] = uint8_t(w);
      return;
    }
  ADD_FAILURE() << "no frame header";
}
