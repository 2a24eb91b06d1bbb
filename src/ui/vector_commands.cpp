// The window's vector outputs: SVG, PDF and large PNG pictures (tool menu),
// and printing with its preview (file menu).
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "history/actions.h"
#include "io/exports.h"
#include "io/vector_exports.h"
#include "render/vector_paint.h"
#include "ui/main_window.h"

namespace {

// The scales the large PNG offers, in the order of its dialog's filters.
constexpr int kPngScales[] = {2, 4, 8, 1};

}  // namespace

void MainWindow::BuildVectorCommands() {
  auto make = [&](const char* name, const char* caption) {
    auto* item = new QAction(tr(caption), this);
    item->setObjectName(name);
    return item;
  };
  auto command = [this](QAction* item, std::function<void()> handler) {
    connect(item, &QAction::triggered, this, [this] { StopPlaying(); });
    connect(item, &QAction::triggered, this, std::move(handler));
  };
  // The tool menu: after its other items.
  SaveSvgMenu = make("SaveSvgMenu", QT_TR_NOOP("画面をSVGに書き出す"));
  SavePdfMenu = make("SavePdfMenu", QT_TR_NOOP("画面をPDFに書き出す"));
  SaveLargePngMenu = make("SaveLargePngMenu", QT_TR_NOOP("画面を大きなPNGに書き出す"));
  for (QAction* item : {SaveSvgMenu, SavePdfMenu, SaveLargePngMenu}) ToolMenu->addAction(item);
  command(SaveSvgMenu, [this] { SaveVectorMenuClick(VectorOutput::Svg); });
  command(SavePdfMenu, [this] { SaveVectorMenuClick(VectorOutput::Pdf); });
  command(SaveLargePngMenu, [this] { SaveVectorMenuClick(VectorOutput::Png); });

  // The file menu: printing, before the last item (ending the program).
  PrintMenu = make("PrintMenu", QT_TR_NOOP("いんさつ"));
  PrintMenu->setShortcut(QKeySequence::Print);
  PrintMenu->setShortcutContext(Qt::WindowShortcut);
  PrintPreviewMenu = make("PrintPreviewMenu", QT_TR_NOOP("いんさつの みえかた"));
  FileMenu->insertAction(ExitMenu, PrintMenu);
  FileMenu->insertAction(ExitMenu, PrintPreviewMenu);
  addAction(PrintMenu);  // the shortcut works with the menu closed
  command(PrintMenu, [this] { PrintMenuClick(); });
  command(PrintPreviewMenu, [this] { PrintPreviewMenuClick(); });

  AskPrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
  RunPrintPreview = [](QPrintPreviewDialog& dialog) { dialog.exec(); };
}

void MainWindow::setPrintingAllowed(bool allowed) {
  m_printingAllowed = allowed;
  for (QAction* item : {PrintMenu, PrintPreviewMenu}) {
    item->setVisible(allowed);
    item->setEnabled(allowed);
  }
}

void MainWindow::SaveVectorMenuClick(VectorOutput output) {
  FileDialog& dialog = output == VectorOutput::Svg   ? m_saveSvgDialog
                       : output == VectorOutput::Pdf ? m_savePdfDialog
                                                     : m_savePngDialog;
  if (!ChooseExportFile(dialog)) return;
  QString path = QString::fromStdString(dialog.FileName);
  const QString ext = QStringLiteral(".") + QString::fromStdString(dialog.DefaultExt);
  if (!path.endsWith(ext, Qt::CaseInsensitive)) path += ext;
  switch (output) {
    case VectorOutput::Svg:
      ExportFileBytes(*S.Dialogs, path, DrawingSvg(Pictures.BGPicture, S.Figures()));
      break;
    case VectorOutput::Pdf:
      ExportFileBytes(*S.Dialogs, path, DrawingPdf(Pictures.BGPicture, S.Figures(), PdfPage::Fit));
      break;
    case VectorOutput::Png: {
      const int index = std::clamp(dialog.FilterIndex, 1, int(std::size(kPngScales))) - 1;
      ExportPicture(*S.Dialogs, path, RenderScaled(Pictures.BGPicture, S.Figures(), kPngScales[index]),
                    PictureKind::PNG);
      break;
    }
  }
}

// The picture as vectors, landscape, as large as fits the page.
void MainWindow::PrintTo(QPrinter& printer) {
  QPainter painter(&printer);
  if (!painter.isActive()) {
    S.Dialogs->ShowError("いんさつできませんでした");
    return;
  }
  FitCanvasInto(painter, QRectF(0, 0, printer.width(), printer.height()));
  PaintDrawing(painter, Pictures.BGPicture, S.Figures());
}

void MainWindow::PrintMenuClick() {
  if (!m_printingAllowed) return;
  CommitPreview(S);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("Tamlo"));
  if (!AskPrinter(printer)) return;
  PrintTo(printer);
}

void MainWindow::PrintPreviewMenuClick() {
  if (!m_printingAllowed) return;
  CommitPreview(S);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("Tamlo"));
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintTo(*p); });
  RunPrintPreview(preview);
}
