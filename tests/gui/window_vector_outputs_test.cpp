// The window's vector outputs: SVG, PDF and large PNG files from the tool
// menu.
#include <QImage>

#include "support/file_fixture.h"

namespace {

class VectorOutputsTest : public FileTest {
 protected:
  // A selected rectangle in the edit mode: its frame is on the canvas.
  void SelectedRectangle() {
    DrawRect(*Window, {100, 100}, {200, 150});
    EnterEditMode(*Window);
    CanvasClick(*Window, 150, 100);
    ASSERT_NE(S().SelectedFig, nullptr);
  }
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
  EXPECT_EQ(S().History.Count(), 1);  // nothing recorded
}

}  // namespace
