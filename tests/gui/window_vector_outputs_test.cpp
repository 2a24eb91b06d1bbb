// The window's vector outputs: SVG, PDF and large PNG files from the tool
// menu, printing (the file menu and Ctrl+P) with its preview, and printing
// switched off.
#include <QImage>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "support/file_fixture.h"

namespace {

class VectorOutputsTest : public FileTest {
 protected:
  void DrawSomething() {
    DrawRect(*Window, {100, 100}, {300, 250});
    DrawRects(2);
  }
  // A selected rectangle in the edit mode: its frame is on the canvas.
  void SelectedRectangle() {
    DrawRect(*Window, {100, 100}, {200, 150});
    EnterEditMode(*Window);
    CanvasClick(*Window, 150, 100);
    ASSERT_NE(S().SelectedFig, nullptr);
  }
  // Printing into a PDF file instead of the system's dialog.
  void PrintIntoFile(const QString& name) {
    Window->AskPrinter = [this, name](QPrinter& printer) {
      ++Asked;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(Path(name));
      Orientation = printer.pageLayout().orientation();
      return true;
    };
  }
  int Asked = 0;
  QPageLayout::Orientation Orientation = QPageLayout::Portrait;
};

TEST_F(VectorOutputsTest, TheToolMenuWritesSvgPdfAndLargePng) {
  SelectedRectangle();
  Choose("pic.svg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveSvgMenu")));
  EXPECT_EQ(Dialogs.DialogsRun.back().DefaultExt, "svg");
  const QByteArray svg = ReadFile("pic.svg");
  EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\""));
  EXPECT_EQ(S().SelectedFig, nullptr);  // no selection frame in the file

  Choose("pic");  // the extension is added
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SavePdfMenu")));
  EXPECT_TRUE(ReadFile("pic.pdf").startsWith("%PDF-"));

  Choose("big.png");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveLargePngMenu")));
  const QImage big(Path("big.png"));
  ASSERT_EQ(big.size(), QSize(1280, 960));  // the dialog's first choice: twice the size
  EXPECT_EQ(big.pixel(300, 201) & 0xFFFFFF, CanvasPixel(*Window, 150, 100));  // the top edge, doubled
  EXPECT_EQ(big.pixel(300, 250) & 0xFFFFFF, CanvasPixel(*Window, 150, 125));  // inside

  // Writing over a file keeps the old one as its backup; a missing folder
  // shows the error.
  WriteFile("old.svg", "older");
  Choose("old.svg");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveSvgMenu")));
  EXPECT_EQ(ReadFile("old.bak"), "older");
  Choose("no/pic.pdf");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SavePdfMenu")));
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_EQ(S().History().Count(), 1);  // nothing recorded
}

TEST_F(VectorOutputsTest, PrintingAsksForThePrinterAndPrintsOneLandscapePage) {
  DrawSomething();
  PrintIntoFile("printed.pdf");
  QAction* print = MenuAction(*Window, "PrintMenu");
  EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));
  EXPECT_TRUE(Window->actions().contains(print));  // Ctrl+P works with the menu closed
  ASSERT_TRUE(TriggerMenu(print));
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(Orientation, QPageLayout::Landscape);
  const QByteArray pdf = ReadFile("printed.pdf");
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_TRUE(Dialogs.Shown.empty());

  // Cancelled in the dialog: nothing printed.
  Window->AskPrinter = [this](QPrinter&) { ++Asked; return false; };
  ASSERT_TRUE(TriggerMenu(print));
  EXPECT_EQ(Asked, 2);
  EXPECT_TRUE(Dialogs.Shown.empty());

  // A printer that cannot be opened says so instead of passing as printed.
  PrintIntoFile("no/printed.pdf");
  ASSERT_TRUE(TriggerMenu(print));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"いんさつできませんでした"});
}

TEST_F(VectorOutputsTest, ThePreviewShowsOnePage) {
  DrawSomething();
  int pages = -1;
  Window->RunPrintPreview = [&pages](QPrintPreviewDialog& dialog) {
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    pages = preview->pageCount();
    EXPECT_EQ(preview->orientation(), QPageLayout::Landscape);
  };
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "PrintPreviewMenu")));
  EXPECT_EQ(pages, 1);
}

TEST_F(VectorOutputsTest, PrintingSwitchedOffHidesItsItemsAndIgnoresCtrlP) {
  PrintIntoFile("printed.pdf");
  bool previewed = false;
  Window->RunPrintPreview = [&previewed](QPrintPreviewDialog&) { previewed = true; };
  EXPECT_TRUE(Window->printingAllowed());
  Window->setPrintingAllowed(false);
  EXPECT_FALSE(Window->printingAllowed());
  for (const char* name : {"PrintMenu", "PrintPreviewMenu"}) {
    EXPECT_FALSE(MenuAction(*Window, name)->isVisible()) << name;
    EXPECT_FALSE(TriggerMenu(MenuAction(*Window, name))) << name;
  }
  // Even a command that reaches it some other way prints nothing.
  MenuAction(*Window, "PrintMenu")->setEnabled(true);
  MenuAction(*Window, "PrintMenu")->trigger();
  EXPECT_EQ(Asked, 0);
  EXPECT_FALSE(Exists("printed.pdf"));

  Window->setPrintingAllowed(true);
  EXPECT_TRUE(MenuAction(*Window, "PrintMenu")->isVisible());
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "PrintPreviewMenu")));
  EXPECT_TRUE(previewed);
}

}  // namespace
