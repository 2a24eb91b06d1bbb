#include "io/vector_exports.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cerrno>
#include <cstdio>

#include "history/ports.h"
#include "io/file_replace.h"
#include "io/picture.h"
#include "render/paint.h"
#include "render/vector_paint.h"

bool PdfPageOf(const QString& name, PdfPage& page) {
  if (name.compare(u"a4", Qt::CaseInsensitive) == 0) {
    page = PdfPage::A4;
    return true;
  }
  if (name.compare(u"letter", Qt::CaseInsensitive) == 0) {
    page = PdfPage::Letter;
    return true;
  }
  return false;
}

QByteArray DrawingSvg(const QImage& background, const FigureList& figures) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(kCanvasWidth, kCanvasHeight));
  svg.setViewBox(QRect(0, 0, kCanvasWidth, kCanvasHeight));
  svg.setResolution(96);
  svg.setTitle(QStringLiteral("Tamlo"));
  {
    QPainter painter(&svg);
    PaintDrawing(painter, background, figures);
  }
  return bytes;
}

QByteArray DrawingPdf(const QImage& background, const FigureList& figures, PdfPage page) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setCreator(QStringLiteral("Tamlo"));
  pdf.setTitle(QStringLiteral("Tamlo"));
  const double m = kPdfMarginPoints;
  QPageSize size;
  switch (page) {
    case PdfPage::A4: size = QPageSize(QPageSize::A4); break;
    case PdfPage::Letter: size = QPageSize(QPageSize::Letter); break;
    case PdfPage::Fit:
      size = QPageSize(QSizeF(kCanvasWidth * 0.75 + 2 * m, kCanvasHeight * 0.75 + 2 * m), QPageSize::Point,
                       QString(), QPageSize::ExactMatch);
      break;
  }
  pdf.setPageLayout(QPageLayout(size, page == PdfPage::Fit ? QPageLayout::Portrait : QPageLayout::Landscape,
                                QMarginsF(m, m, m, m), QPageLayout::Point));
  {
    QPainter painter(&pdf);
    // The painter's device is the page within its margins.
    FitCanvasInto(painter, QRectF(0, 0, pdf.width(), pdf.height()));
    PaintDrawing(painter, background, figures);
  }
  return bytes;
}

bool ExportFileBytes(UserDialogs& dialogs, const QString& path, const QByteArray& bytes) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // The link itself becomes the backup (unless there is one already): the
    // file it points to, perhaps a drawing, is never written.
    const QByteArray backup = QFile::encodeName(BackupName(path));
    struct stat bst {};
    if (::lstat(backup.constData(), &bst) != 0 && errno == ENOENT) ::rename(name.constData(), backup.constData());
    if (::lstat(name.constData(), &st) == 0) {
      // The backup was there already: the new file takes the link's name.
      const QString temp = path + QStringLiteral(".tamlo-%1.tmp").arg(::getpid());
      const QByteArray tempName = QFile::encodeName(temp);
      if (WriteWholeFile(temp, bytes) && ::rename(tempName.constData(), name.constData()) == 0) return true;
      ::unlink(tempName.constData());
      dialogs.ShowError(CannotCreateText(path.toStdString()));
      return false;
    }
  }
  const bool ok =
      ReplaceFile(path, IsFileAt(path), [&](const QString& tempPath) { return WriteWholeFile(tempPath, bytes); });
  if (!ok) dialogs.ShowError(CannotCreateText(path.toStdString()));
  return ok;
}
