#include "io/picture_store.h"

#include <filesystem>

#include "io/picture.h"

int PictureStore::LoadBGPicture(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path path(name);
  if (name.empty() || !std::filesystem::exists(path, ec) || std::filesystem::is_directory(path, ec)) return 1;
  // The extension runs from the last dot of the file name; letter case counts.
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const std::string ext =
      dot != std::string::npos && (slash == std::string::npos || dot > slash) ? name.substr(dot) : std::string();
  QImage picture;
  PictureResult result;
  // The canvas shows the picture's top-left part only; the rest is not kept.
  const QSize shown(kCanvasWidth, kCanvasHeight);
  if (ext == ".bmp" || ext == ".BMP")
    result = ReadBMP(name, picture, shown);
  else if (ext == ".jpg" || ext == ".JPG")
    result = ReadJPEG(name, picture, shown);
  else
    return 0;
  if (!result.Ok) {
    S.Dialogs->ShowError(result.Error);
    return 2;
  }
  BGPicture = std::move(picture);
  return 0;
}

