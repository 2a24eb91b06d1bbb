// Writes the README's pictures of the three modes when TAMLO_SCREENSHOTS
// names a folder (skipped otherwise):
//   TAMLO_SCREENSHOTS=docs/screenshots QT_QPA_PLATFORM=offscreen
//     build/tests/tamlo_gui_tests --gtest_filter='DocsScreenshots.*'
// The drawing is made with the window's own tools, as a child would.
#include <QDir>
#include <QPixmap>
#include <cstdlib>

#include "support/form_fixture.h"

namespace {

class OneTimer : public PlaybackTimer {
 public:
  void Start(int) override { Active = true; }
  void Stop() override { Active = false; }
  bool IsActive() const override { return Active; }
  bool Active = false;
};

class DocsScreenshots : public FormTest {
 protected:
  // Selects the figure at (x, y) in the edit mode, chooses palette colour
  // `colour` (0-based) and applies it with `apply`.
  void Colour(int x, int y, int colour, QAbstractButton* apply) {
    CanvasClick(*Form, x, y);
    ASSERT_NE(S().SelectedFig, nullptr) << x << "," << y;
    QTest::mouseClick(ColorPanel(*Form, colour), Qt::LeftButton);
    ClickButton(apply);
  }
  void Save(const QString& folder, const char* name) {
    QApplication::processEvents();
    ASSERT_TRUE(Form->grab().save(QDir(folder).filePath(name)));
  }
};

TEST_F(DocsScreenshots, DrawEditAndViewModes) {
  const char* folder = std::getenv("TAMLO_SCREENSHOTS");
  if (folder == nullptr || *folder == 0) GTEST_SKIP() << "TAMLO_SCREENSHOTS names no folder";
  auto timer = std::make_unique<OneTimer>();
  OneTimer* t = timer.get();
  Form->SetPlayTimer(std::move(timer));

  DrawRect(*Form, {204, 252}, {384, 422});  // the house
  ChooseTool(Button(*Form, "PolygonBtn"));             // its roof
  CanvasDrag(*Form, {184, 252}, {404, 252});
  CanvasDoubleClick(*Form, 294, 152);
  DrawRect(*Form, {274, 332}, {319, 422});      // the door
  DrawEllipse(*Form, {204, 282}, {264, 317});   // windows
  DrawEllipse(*Form, {324, 282}, {384, 317});
  DrawEllipse(*Form, {494, 52}, {594, 152});    // the sun
  DrawLine(*Form, {4, 422}, {644, 422});        // the ground
  ChooseTool(Button(*Form, "PolylineBtn"));                // a bird
  CanvasDrag(*Form, {94, 202}, {114, 187});
  CanvasClick(*Form, 134, 202);
  CanvasClick(*Form, 154, 187);
  CanvasDoubleClick(*Form, 174, 202);
  ChooseTool(Button(*Form, "TextBtn"));
  CanvasClick(*Form, 44, 82);
  TextBox(*Form)->setText(QString::fromUtf8("わたしのおうち"));
  PressKey(*Form, Qt::Key_Return);

  EnterEditMode(*Form);
  Colour(204, 390, 9, Button(*Form, "BodyColorBtn"));   // orange house
  Colour(239, 202, 2, Button(*Form, "BodyColorBtn"));   // red roof
  Colour(274, 400, 4, Button(*Form, "BodyColorBtn"));   // dark red door
  Colour(234, 282, 5, Button(*Form, "BodyColorBtn"));   // light blue windows
  Colour(354, 282, 5, Button(*Form, "BodyColorBtn"));
  Colour(494, 102, 8, Button(*Form, "BodyColorBtn"));   // a yellow sun
  Colour(494, 102, 9, Button(*Form, "LineColorBtn"));
  Colour(100, 422, 11, Button(*Form, "LineColorBtn"));  // green ground
  ClickButton(Button(*Form, "ThickBtn"));
  CanvasClick(*Form, 44 + 2, 82 + 2);        // the text, blue
  if (S().SelectedFig != nullptr) {
    QTest::mouseClick(ColorPanel(*Form, 6), Qt::LeftButton);
    ClickButton(Button(*Form, "TextColorBtn"));
  }
  CanvasClick(*Form, 494, 102);  // the sun selected for the picture
  Save(folder, "edit-mode.png");

  EnterDrawMode(*Form);
  Save(folder, "draw-mode.png");

  EnterPlayMode(*Form);
  ClickButton(Button(*Form, "SpeedTwoBtn"));
  ClickButton(Button(*Form, "PlayBtn"));
  for (int i = 0; i < S().History.Count() / 2; ++i) t->OnTimeout();
  Save(folder, "view-mode.png");
}

}  // namespace
