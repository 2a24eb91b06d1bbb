// The picture side of the program: the canvas composer with backgrounds read
// from BMP and JPEG files. Shared by the window and the batch mode.
#pragma once

#include <string>

#include "render/paint.h"

class PictureStore : public CanvasComposer {
 public:
  using CanvasComposer::CanvasComposer;

  // 1 when no file exists under the name; 2 when the file is damaged (its
  // error box has been shown and the previous picture stays); else 0.
  int LoadBGPicture(const std::string& name) override;
};
