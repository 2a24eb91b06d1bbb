// The program's own settings: its version, the file dialogs (they keep their
// file name and filter between runs) and whether the process display is on.
#pragma once

#include <string>

#include "history/ports.h"

struct AppSettings {
  std::string VersionText = "Tamlo Ver." TAMLO_VERSION;  // the version of project() in CMake

  bool ShowProcess = false;  // internal process display on

  FileDialog OpenDataDialog{DialogKind::OpenData, "Tamloファイル（*.tlo）|*.tlo", "", "", 1};
  FileDialog SaveDataDialog{DialogKind::SaveData, "Tamloファイル（*.tlo）|*.tlo", "tlo", "", 1};
  FileDialog OpenBGDialog{DialogKind::OpenBG, "ビットマップ（*.bmp）|*.bmp|JPEGファイル（*.jpg）|*.jpg;*.bmp", "", "", 1};
  FileDialog SaveBGDialog{DialogKind::SaveBG, "ビットマップ（*.bmp）|*.bmp", "bmp", "", 1};
  FileDialog SaveJPEGBGDialog{DialogKind::SaveJPEGBG, "JPEGファイル（*.jpg）|*.jpg", "jpg", "", 1};
  FileDialog SaveVideoDialog{DialogKind::SaveVideo, "MP4どうが（*.mp4）|*.mp4|GIFアニメ（*.gif）|*.gif|WebMどうが（*.webm）|*.webm", "mp4", "", 1};
};
