// The drawing as vectors: SVG and PDF files, and pictures at several times
// the canvas's size.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "document/figlist.h"

class UserDialogs;

// The PDF's page: one that fits the drawing, or landscape A4 or Letter.
enum class PdfPage { Fit, A4, Letter };

// The page's name on the command line ("a4", "letter"); false for others.
bool PdfPageOf(const QString& name, PdfPage& page);

// The margin around the drawing on every PDF page, in points (half an inch).
constexpr double kPdfMarginPoints = 36;

// The drawing (background and figures as the canvas shows them) as an SVG
// document of 640 × 480 units: figures as shapes, texts as text in the
// figure font, the background as an embedded picture; nothing refers to
// any other file.
QByteArray DrawingSvg(const QImage& background, const FigureList& figures);
// The same as a one-page PDF: the drawing centred on the page with the
// margin, as large as fits (on the fitting page, 480 × 360 points: a canvas
// pixel is 1/96 inch), every font embedded.
QByteArray DrawingPdf(const QImage& background, const FigureList& figures, PdfPage page);

// Writes `bytes` at `path` as the picture exports write their files: an
// existing file there becomes its backup first (an older backup wins) and
// is never lost when writing fails; a link at `path` is replaced itself.
// On failure the error box is shown and false returned.
bool ExportFileBytes(UserDialogs& dialogs, const QString& path, const QByteArray& bytes);
