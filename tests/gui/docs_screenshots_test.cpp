// Writes the README's pictures of the three modes when TAMLO_SCREENSHOTS
// names a folder (skipped otherwise):
//   TAMLO_SCREENSHOTS=docs/screenshots QT_QPA_PLATFORM=offscreen
//     build/tests/tamlo_gui_tests --gtest_filter='DocsScreenshots.*'
// The drawing is made with the window's own tools, as a child would.
#include <QDir>
#include <QPixmap>
#include <cstdlib>

#include "support/window_fixture.h"

namespace {

class OneTimer : public PlaybackTimer {
 public:
  void Start(int) override { Active = true; }
  void Stop() override { Active = false; }
  bool IsActive() const override { return Active; }
  bool Active = false;
};

class DocsScreenshots : public WindowTest {
 protected:
  // Selects the figure at (x, y) in the edit mode, chooses palette colour
  // `colour` (0-based) and applies it with `apply`.
  void Colour(int x, int y, int colour, QAbstractButton* apply) {
    CanvasClick(*Window, x, y);
    ASSERT_NE(S().SelectedFig, nullptr) << x << "," << y;
    QTest::mouseClick(ColorPanel(*Window, colour), Qt::LeftButton);
    ClickButton(apply);
  }
  void Save(const QString& folder, const char* name) {
    QApplication::processEvents();
    ASSERT_TRUE(Window->grab().save(QDir(folder).filePath(name)));
  }
};

TEST_F(DocsScreenshots, DrawEditAndViewModes) {
  const char* folder = std::getenv("TAMLO_SCREENSHOTS");
  if (folder == nullptr || *folder == 0) GTEST_SKIP() << "TAMLO_SCREENSHOTS names no folder";
  auto timer = std::make_unique<OneTimer>();
  OneTimer* t = timer.get();
  Window->SetPlayTimer(std::move(timer));

  DrawRect(*Window, {204, 252}, {384, 422});  // the house
  ChooseTool(Button(*Window, "PolygonBtn"));             // its roof
  CanvasDrag(*Window, {184, 252}, {404, 252});
  CanvasDoubleClick(*Window, 294, 152);
  DrawRect(*Window, {274, 332}, {319, 422});      // the door
  DrawEllipse(*Window, {204, 282}, {264, 317});   // windows
  DrawEllipse(*Window, {324, 282}, {384, 317});
  DrawEllipse(*Window, {494, 52}, {594, 152});    // the sun
  DrawLine(*Window, {4, 422}, {644, 422});        // the ground
  ChooseTool(Button(*Window, "PolylineBtn"));                // a bird
  CanvasDrag(*Window, {94, 202}, {114, 187});
  CanvasClick(*Window, 134, 202);
  CanvasClick(*Window, 154, 187);
  CanvasDoubleClick(*Window, 174, 202);
  ChooseTool(Button(*Window, "TextBtn"));
  CanvasClick(*Window, 44, 82);
  TextBox(*Window)->setText(QString::fromUtf8("わたしのおうち"));
  PressKey(*Window, Qt::Key_Return);

  EnterEditMode(*Window);
  Colour(204, 390, 9, Button(*Window, "BodyColorBtn"));   // orange house
  Colour(239, 202, 2, Button(*Window, "BodyColorBtn"));   // red roof
  Colour(274, 400, 4, Button(*Window, "BodyColorBtn"));   // dark red door
  Colour(234, 282, 5, Button(*Window, "BodyColorBtn"));   // light blue windows
  Colour(354, 282, 5, Button(*Window, "BodyColorBtn"));
  Colour(494, 102, 8, Button(*Window, "BodyColorBtn"));   // a yellow sun
  Colour(494, 102, 9, Button(*Window, "LineColorBtn"));
  Colour(100, 422, 11, Button(*Window, "LineColorBtn"));  // green ground
  ClickButton(Button(*Window, "ThickBtn"));
  CanvasClick(*Window, 44 + 2, 82 + 2);        // the text, blue
  if (S().SelectedFig != nullptr) {
    QTest::mouseClick(ColorPanel(*Window, 6), Qt::LeftButton);
    ClickButton(Button(*Window, "TextColorBtn"));
  }
  CanvasClick(*Window, 494, 102);  // the sun selected for the picture
  Save(folder, "edit-mode.png");

  EnterDrawMode(*Window);
  Save(folder, "draw-mode.png");

  EnterPlayMode(*Window);
  ClickButton(Button(*Window, "SpeedTwoBtn"));
  ClickButton(Button(*Window, "PlayBtn"));
  for (int i = 0; i < S().History().Count() / 2; ++i) t->OnTimeout();
  Save(folder, "view-mode.png");

  // The draw mode maximised on the screen the platform offers (a large one
  // with QT_QPA_PLATFORM=offscreen:configfile=docs/screenshots/screen-1080.json).
  EnterDrawMode(*Window);
  Window->showMaximized();
  QApplication::processEvents();
  Save(folder, "maximised.png");
}

}  // namespace
