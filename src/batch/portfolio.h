// The class portfolio of the batch mode (--portfolio OUTDIR/): every drawing
// made in a child process of the class run (its folder in OUTDIR with its
// page, pictures, video and a copy of the drawing), then the index page with
// a card per drawing, made or not.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "history/replay_pace.h"
#include "history/state.h"

namespace batch {

// The drawing's folder in the portfolio: OUTDIR/NAME for NAME.tlo, always
// inside OUTDIR and never the index page.
QString PortfolioFolderOf(const QString& outdir, const QString& drawing);

// The final picture at twice the canvas size, for the drawing's page (crisp
// on phones and HiDPI screens). `canvas` shows the drawing as it is now.
// Every canvas pixel becomes 2 × 2: the drawing has no smoothed edges, so
// this is exactly the drawing, and a browser showing it on a HiDPI screen
// has nothing left to blur.
QImage RenderPortfolioPicture2x(const AppState& S, const QImage& canvas);

// Makes one drawing's part of the portfolio in `folder`: its page, the final
// picture (2× and 1×), the card's picture, the making-of video, the strip's
// pictures and a copy of the drawing file `in`. The drawing's steps and the
// day of its last change go to the file `card` for the index. Files of
// earlier runs are replaced without backups. True when all was written.
bool ExportPortfolioDrawing(AppState& S, const QImage& workBitmap, const ReplayPace& pace, const QString& in,
                            const QString& folder, const QString& card, const QString& title);

// What the class run knows of a drawing when every child has ended.
struct PortfolioRun {
  QString Given;    // the drawing as named on the command line
  bool Made = false;
  QString Problem;  // why it was not made
  QString Card;     // the card file its child wrote
};

// The index page, OUTDIR/index.html; false (after saying why on standard
// error) when it could not be written.
bool WritePortfolioIndex(const QString& outdir, const QString& title, const std::vector<PortfolioRun>& runs);

// The portfolio's title when none is given.
extern const char* const kPortfolioTitle;  // "さくひんしゅう"

}  // namespace batch
