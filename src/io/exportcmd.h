// Picture exports shared by the window's menu commands and the batch mode.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "history/state.h"
#include "render/paint.h"

enum TPictureKind { pkBMP, pkJPEG };

// Writes `image` at `path` as a 32-bit BMP or a JPEG (quality 90, baseline).
// An existing file there becomes its backup first (its ".bak" name; an older
// backup wins), and is never lost when writing fails. On failure the error
// box is shown through `dialogs` and false returned.
bool ExportPicture(TDialogs& dialogs, const QString& path, const QImage& image, TPictureKind kind);

// The file of step n of the whole-process series: folder/B001.jpg, …,
// folder/B1000.jpg.
QString ProcessPictureName(const QString& folder, const QString& base, int n);

// Writes every step of the history as folder/base001.jpg, … (existing files
// of those names are overwritten). `progress(n, count)` runs before step n.
// An error shows its box and ends the series. Afterwards CurrentStep is the
// last record and the drawing is rebuilt for it, whatever happened. True
// when every step was written; an empty history writes nothing.
bool ExportProcess(TTamloState& S, TPictureStore& pictures, const QString& folder, const QString& base,
                   const std::function<void(int n, int count)>& progress = {});
