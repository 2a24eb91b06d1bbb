// Picture exports shared by the window's menu commands and the batch mode.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "history/state.h"

enum TPictureKind { pkBMP, pkJPEG };

// Writes `image` at `path` as a 32-bit BMP or a JPEG (quality 90, baseline).
// An existing file there becomes its backup first (its ".bak" name; an older
// backup wins), and is never lost when writing fails. On failure the error
// box is shown through `dialogs` and false returned.
bool ExportPicture(TDialogs& dialogs, const QString& path, const QImage& image, TPictureKind kind);

// Writes every step of the history as base001.jpg, base002.jpg, … (base is
// a path without extension, see ProcessPictureBase; existing files of those
// names are overwritten). `progress(n, count)` runs before step n. An error
// shows its box and ends the series. Afterwards CurrentStep is the last
// record and the drawing is rebuilt for it, whatever happened. True when
// every step was written; an empty history writes nothing.
bool ExportProcess(TTamloState& S, const QImage& workBitmap, const std::string& base,
                   const std::function<void(int n, int count)>& progress = {});
