#include "batch/portfolio.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

#include <map>

#include "batch/batch_drawing.h"
#include "history/play.h"
#include "io/file_replace.h"
#include "io/picture.h"
#include "io/portfolio_page.h"
#include "io/video_export.h"

namespace batch {

const char* const kPortfolioTitle = "さくひんしゅう";

namespace {

// Writes a derived file: replaced whole, without a backup.
bool WriteDerived(const QString& path, const QByteArray& bytes) {
  const bool ok = ReplaceFile(path, false, [&](const QString& temp) { return WriteWholeFile(temp, bytes); });
  if (!ok) PrintLine(stderr, "tamlo: " + CannotCreateText(path.toStdString()));
  return ok;
}

bool WritePNG(const QString& path, const QImage& image) {
  // Pictures of drawings are few colours on a plain ground: light
  // compression keeps them small and is quick.
  const bool ok = ReplaceFile(path, false, [&](const QString& temp) { return image.save(temp, "PNG", 80); });
  if (!ok) PrintLine(stderr, "tamlo: " + CannotCreateText(path.toStdString()));
  return ok;
}

QImage Smaller(const QImage& canvas) {
  return canvas.scaled(kPortfolioThumbWidth, kPortfolioThumbHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

bool SameFile(const QString& a, const QString& b) {
  struct stat x {}, y {};
  return ::stat(QFile::encodeName(a).constData(), &x) == 0 && ::stat(QFile::encodeName(b).constData(), &y) == 0 &&
         x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

// The card file: the number of steps and the day of the last change, a
// line each.
QByteArray CardText(int steps, const QString& day) { return QByteArray::number(steps) + '\n' + day.toUtf8() + '\n'; }

}  // namespace

QString PortfolioFolderOf(const QString& outdir, const QString& drawing) {
  const QString dir = outdir.endsWith(u'/') ? outdir : outdir + u'/';
  // A drawing named ".tlo" or "...tlo" gets a folder of its own inside the
  // portfolio; "index.html.tlo" one beside the index page.
  const QString name = FolderNameOf(drawing);
  return dir + (name == QLatin1String(kPortfolioPage) ? QFileInfo(drawing).fileName() : name);
}

QImage RenderPortfolioPicture2x(const AppState&, const QImage& canvas) {
  return canvas.scaled(canvas.width() * 2, canvas.height() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

bool ExportPortfolioDrawing(AppState& S, const QImage& workBitmap, const ReplayPace& pace, const QString& in,
                            const QString& folder, const QString& card, const QString& title) {
  if (!QDir().mkpath(folder)) {
    PrintLine(stderr, "tamlo: " + CannotCreateText(folder.toStdString()));
    return false;
  }
  const QString base = folder + u'/';
  PortfolioDrawing d;
  d.Made = true;
  d.Name = QFileInfo(in).completeBaseName();
  d.Folder = QFileInfo(folder).fileName();
  d.DrawingFile = QFileInfo(in).fileName();
  d.Steps = S.History.Count();
  d.LastChange = QFileInfo(in).lastModified().toString(QStringLiteral("yyyy-MM-dd"));

  // The strip's pictures are taken while the video is made: before step n
  // the canvas shows step n - 1.
  const std::vector<int> stripSteps = PortfolioStripSteps(d.Steps);
  std::map<int, QImage> strip;
  bool ok = true;
  if (d.Steps > 0) {
    const auto take = [&](int n, int) {
      if (n >= 2 && std::binary_search(stripSteps.begin(), stripSteps.end(), n - 1)) strip[n - 1] = Smaller(workBitmap);
      return true;
    };
    ok = ExportVideo(S, workBitmap, base + kPortfolioVideo, VideoFormat::MP4, pace, false, take) ==
         VideoExportResult::Done;
  } else {
    S.CurrentStep = 0;
    GoToStep(S);
  }
  // The canvas shows the last step now.
  if (d.Steps > 0) strip[d.Steps] = Smaller(workBitmap);
  d.Width = workBitmap.width();
  d.Height = workBitmap.height();

  ok = WritePNG(base + kPortfolioPicture, RenderPortfolioPicture2x(S, workBitmap)) && ok;
  ok = WritePNG(base + kPortfolioPoster, workBitmap.convertToFormat(QImage::Format_RGB32)) && ok;
  ok = WritePNG(base + kPortfolioThumbnail, Smaller(workBitmap)) && ok;
  for (const auto& [step, picture] : strip) ok = WritePNG(base + PortfolioStripPicture(step), picture) && ok;

  const QString copy = base + d.DrawingFile;
  if (!SameFile(copy, in)) {
    QFile drawing(in);
    QByteArray bytes;
    if (drawing.open(QIODevice::ReadOnly)) bytes = drawing.readAll();
    ok = !bytes.isEmpty() && WriteDerived(copy, bytes) && ok;
  }
  ok = WriteDerived(base + kPortfolioPage, PortfolioDrawingPage(title, d)) && ok;
  if (!WriteWholeFile(card, CardText(d.Steps, d.LastChange))) {
    PrintLine(stderr, "tamlo: " + CannotCreateText(card.toStdString()));
    ok = false;
  }
  return ok;
}

bool WritePortfolioIndex(const QString& outdir, const QString& title, const std::vector<PortfolioRun>& runs) {
  std::vector<PortfolioDrawing> cards;
  for (const PortfolioRun& run : runs) {
    PortfolioDrawing d;
    d.Name = QFileInfo(run.Given).completeBaseName();
    d.Folder = QFileInfo(PortfolioFolderOf(outdir, run.Given)).fileName();
    d.Made = run.Made;
    d.Problem = run.Problem;
    QFile card(run.Card);
    if (d.Made && card.open(QIODevice::ReadOnly)) {
      const QList<QByteArray> lines = card.readAll().split('\n');
      d.Steps = lines.value(0).toInt();
      d.LastChange = QString::fromUtf8(lines.value(1));
    } else if (d.Made) {
      d.Made = false;
    }
    cards.push_back(d);
  }
  return WriteDerived(QDir(outdir).filePath(QString::fromLatin1(kPortfolioPage)), PortfolioIndexPage(title, cards));
}

}  // namespace batch
