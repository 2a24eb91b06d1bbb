// Picture exports shared by the window's menu commands and the batch mode.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "history/state.h"

enum class PictureKind { BMP, JPEG, PNG };

// Writes `image` at `path` as a 32-bit BMP, a JPEG (quality 90, baseline) or
// a PNG.
// An existing file there becomes its backup first (its ".bak" name; an older
// backup wins), and is never lost when writing fails. A link at `path` is
// replaced itself (and becomes the backup), never the file it points to. On
// failure the error box is shown through `dialogs` and false returned.
// Without `backup` (a derived file, as the outputs of a folder export) the
// old file or link is simply replaced.
bool ExportPicture(UserDialogs& dialogs, const QString& path, const QImage& image, PictureKind kind,
                   bool backup = true);

// Writes every step of the history as base001.jpg, base002.jpg, … (base is
// a path without extension, see ProcessPictureBase). Each picture is what
// the view mode shows at that step: the series starts from the blank
// background, as the view mode does. Existing files of those names are
// replaced without a backup; a link of such a name is replaced itself, never
// the file it points to. `progress(n, count)` runs before step n; returning
// false stops the series there, keeping the pictures written so far. An error
// shows its box and ends the series. Afterwards CurrentStep is the last
// record and the drawing is rebuilt for it, whatever happened. True when
// every step was written; an empty history writes nothing. The step numbers
// have at least `digits` digits (the window's series: 3, so that step 1000
// is base1000.jpg).
bool ExportProcess(AppState& S, const QImage& workBitmap, const std::string& base,
                   const std::function<bool(int n, int count)>& progress = {}, int digits = 3);

// Digits that give every name of a series of `count` pictures the same
// width, so that the names sort as the steps: 3 up to 999 steps, then as
// many as `count` has.
int SortingProcessDigits(int count);

// A series of more pictures than this asks first.
constexpr int kLongProcessSeries = 1000;
// For a series longer than kLongProcessSeries, asks whether to write all
// `count` pictures; true to go on (always for a shorter one).
bool ConfirmProcessExport(UserDialogs& dialogs, int count);
