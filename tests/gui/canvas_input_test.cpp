// The canvas at any size and device pixel ratio, and input by touch and pen:
// the same drawing made by mouse, finger or pen, on a canvas of 640 × 480
// or larger, saves the same records; at 640 × 480 and a ratio of 1 the
// widget shows the screen image pixel for pixel; at any other size it
// shows the drawing at its own resolution, rubber bands and frames
// included, and nothing of them is left once they are gone.
//
// The same cases run a second time with a device pixel ratio of 2 (see
// tests/CMakeLists.txt).
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTouchEvent>
#include <functional>

#include "render/device_scene.h"
#include "render/vector_paint.h"
#include "support/gui_helpers.h"

namespace {

// What a record says, without its time.
struct Record {
  ActionKind Kind;
  int32_t Target;
  ParameterKind Parameter;
  Figure Data;
  friend bool operator==(const Record&, const Record&) = default;
};
void PrintTo(const Record& r, std::ostream* out) {
  *out << "record " << int(r.Kind) << " of " << r.Target << ": tool " << int(r.Data.DrawingTool) << " ("
       << r.Data.Start.X << ", " << r.Data.Start.Y << ") – (" << r.Data.End.X << ", " << r.Data.End.Y << "), "
       << r.Data.PointData.Count() << " vertices";
}

std::vector<Record> Records(const AppState& S) {
  std::vector<Record> out;
  for (const Action& a : S.History()) out.push_back({a.TargetType, a.TargetID, a.Parameter, a.FigData});
  return out;
}

// Pointer input in canvas pixels, by some device, onto a canvas of some
// size: press, move with the button (finger, pen) down, release.
struct Input {
  std::function<void(QPoint)> Press, Move, Release;
  void Click(QPoint p) {
    Press(p);
    Release(p);
  }
  void Drag(QPoint from, QPoint to, int steps = 4) {
    Press(from);
    for (int i = 1; i <= steps; ++i) Move(from + (to - from) * i / steps);
    Release(to);
  }
};

// The mouse on a canvas `scale` times 640 × 480 (logical pixels).
Input MouseInput(CanvasView* canvas, double scale) {
  auto send = [canvas, scale](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF at = QPointF(p) * scale;
    QMouseEvent ev(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(canvas, &ev);
  };
  return {[=](QPoint p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); },
          [=](QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); },
          [=](QPoint p) { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }};
}

// One finger (touch point 0) on the canvas at 640 × 480.
Input TouchInput(CanvasView* canvas, QPointingDevice* device) {
  return {[=](QPoint p) { QTest::touchEvent(canvas, device).press(0, p); },
          [=](QPoint p) { QTest::touchEvent(canvas, device).move(0, p); },
          [=](QPoint p) { QTest::touchEvent(canvas, device).release(0, p); }};
}

const QPointingDevice* Stylus() {
  static const QPointingDevice device(QStringLiteral("test pen"), 4711, QInputDevice::DeviceType::Stylus,
                                      QPointingDevice::PointerType::Pen,
                                      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
  return &device;
}

// A pen on the canvas at 640 × 480.
Input PenInput(CanvasView* canvas) {
  auto send = [canvas](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QTabletEvent ev(type, Stylus(), QPointF(p), canvas->mapToGlobal(QPointF(p)), held ? 0.5 : 0.0, 0, 0, 0, 0, 0,
                    Qt::NoModifier, button, held);
    QApplication::sendEvent(canvas, &ev);
  };
  return {[=](QPoint p) { send(QEvent::TabletPress, p, Qt::LeftButton, Qt::LeftButton); },
          [=](QPoint p) { send(QEvent::TabletMove, p, Qt::NoButton, Qt::LeftButton); },
          [=](QPoint p) { send(QEvent::TabletRelease, p, Qt::LeftButton, Qt::NoButton); }};
}

class CanvasInput : public WindowTest {
 protected:
  // One figure of each kind a drag or clicks make, then the first one moved.
  // Every point is even, so that it lies on whole pixels at 1.5 times, and
  // within the top-left 360 × 260 pixels, which lie on the offscreen screen
  // at a device pixel ratio of 2 too (touches beyond it are lost).
  void DrawEverything(Input in) {
    ChooseTool(Button(*Window, "RectBtn"));
    in.Drag({20, 20}, {120, 90});
    ChooseTool(Button(*Window, "OvalBtn"));
    in.Drag({150, 20}, {250, 100});
    ChooseTool(Button(*Window, "LineBtn"));
    in.Drag({20, 200}, {140, 150});
    ChooseTool(Button(*Window, "FreeBtn"));
    in.Press({160, 150});
    for (int i = 1; i <= 10; ++i) in.Move({160 + 10 * i, 150 + (i % 3) * 8});
    in.Release({260, 170});
    ChooseTool(Button(*Window, "PolygonBtn"));
    in.Drag({280, 120}, {340, 120});
    in.Click({320, 200});
    in.Click({320, 200});
    // A text where the canvas was tapped.
    ChooseTool(Button(*Window, "TextBtn"));
    in.Click({60, 230});
    TypeText(*Window, QStringLiteral("hana"));
    PressKey(*Window, Qt::Key_Return);
    // The selection tool enters the edit mode at its press and drags.
    ChooseTool(Button(*Window, "SelectionBtn"));
    in.Drag({30, 30}, {90, 60});
    EnterDrawMode(*Window);
  }

  // A window of its own (and state folder) to draw the same again in.
  std::unique_ptr<MainWindow> SecondWindow() {
    m_secondHome = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_secondHome->path()));
    return OpenWindow(&m_secondDialogs);
  }

  // The picture a fresh composition of the drawing gives at the canvas's
  // resolution now.
  QImage FreshDevicePicture() {
    CanvasView* c = Canvas(*Window);
    const PictureStore& p = MutablePictures(*Window);
    DeviceScene fresh;
    return fresh.Compose(c->DeviceSize(), c->devicePixelRatioF(), p.BGPicture, p.ComposedFigures(),
                         p.ComposedFrame());
  }

  // The canvas widget as the screen shows it, in device pixels (RGB).
  static QImage Grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

 private:
  std::unique_ptr<QTemporaryDir> m_secondHome;
  ScriptedDialogs m_secondDialogs;
};

// ---- Any size, any ratio ----

TEST_F(CanvasInput, AtItsOwnSizeAndRatioOneTheWidgetShowsTheScreenImagePixelForPixel) {
  CanvasView* c = Canvas(*Window);
  if (c->devicePixelRatioF() != 1.0) GTEST_SKIP() << "device pixel ratio " << c->devicePixelRatioF();
  ASSERT_TRUE(c->PixelForPixel());
  Input mouse = MouseInput(c, 1);
  ChooseTool(Button(*Window, "OvalBtn"));
  mouse.Drag({20, 20}, {300, 200});
  // A rubber band under way and a selection frame, both not-xor marks.
  ChooseTool(Button(*Window, "RectBtn"));
  mouse.Press({100, 100});
  mouse.Move({400, 300});
  EXPECT_EQ(Grab(c), c->Picture());
  mouse.Release({400, 300});
  EnterEditMode(*Window);
  mouse.Click({30, 100});
  EXPECT_EQ(Grab(c), c->Picture());
  EXPECT_TRUE(c->DevicePicture().isNull());  // nothing is composed twice
}

TEST_F(CanvasInput, ADrawingMadeOnALargerCanvasSavesTheSameRecords) {
  DrawEverything(MouseInput(Canvas(*Window), 1));
  const std::vector<Record> reference = Records(S());
  ASSERT_EQ(reference.size(), 7u);
  EXPECT_EQ(reference[5].Data.Start, (Point{60, 230}));
  for (double scale : {1.5, 2.0}) {
    auto w = SecondWindow();
    CanvasView* c = Canvas(*w);
    c->setFixedSize(int(640 * scale), int(480 * scale));
    ASSERT_FALSE(c->PixelForPixel());
    std::swap(Window, w);
    DrawEverything(MouseInput(c, scale));
    std::swap(Window, w);
    EXPECT_EQ(Records(w->state()), reference) << "at " << scale;
  }
}

TEST_F(CanvasInput, PositionsBetweenCanvasPixelsRoundToTheNearest) {
  CanvasView* c = Canvas(*Window);
  c->setFixedSize(1280, 960);
  EXPECT_EQ(c->ToCanvas({201.0, 99.0}), QPoint(101, 50));   // 100.5 and 49.5 round away from zero
  EXPECT_EQ(c->ToCanvas({200.9, 99.4}), QPoint(100, 50));
  EXPECT_EQ(c->ToCanvas({1279.0, 959.0}), QPoint(640, 480));
  ChooseTool(Button(*Window, "RectBtn"));
  // Half pixels round up: 40.5, 202.5 (161 is whole).
  MouseInput(c, 1).Drag({81, 81}, {405, 322});
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(S().Figures().Last().Start, (Point{41, 41}));
  EXPECT_EQ(S().Figures().Last().End, (Point{203, 161}));
  // A position in between, as a pen or a scaled screen gives it.
  ChooseTool(Button(*Window, "LineBtn"));
  MouseInput(c, 0.5).Drag({401, 403}, {601, 603});
  ASSERT_EQ(S().Figures().Count(), 2);
  EXPECT_EQ(S().Figures().Last().Start, (Point{100, 101}));  // 100.25, 100.75
  EXPECT_EQ(S().Figures().Last().End, (Point{150, 151}));    // 150.25, 150.75
}

TEST_F(CanvasInput, TheKeyboardPointerMovesInCanvasPixelsOnALargerCanvas) {
  CanvasView* c = Canvas(*Window);
  c->setFixedSize(1280, 960);
  c->setFocus(Qt::TabFocusReason);
  ChooseTool(Button(*Window, "RectBtn"));
  const QPoint start = c->KeyPointer();
  QTest::keyClick(c, Qt::Key_Space);
  QTest::keyClick(c, Qt::Key_Right);
  QTest::keyClick(c, Qt::Key_Down);
  QTest::keyClick(c, Qt::Key_Space);
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(S().Figures().Last().Start, (Point{start.x(), start.y()}));
  EXPECT_EQ(S().Figures().Last().End, (Point{start.x() + 8, start.y() + 8}));
  // The pointer stops at the canvas's last pixel, not the widget's.
  for (int i = 0; i < 100; ++i) QTest::keyClick(c, Qt::Key_Right);
  EXPECT_EQ(c->KeyPointer().x(), 639);
}

TEST_F(CanvasInput, ALargerCanvasShowsTheDrawingAtItsOwnResolution) {
  CanvasView* c = Canvas(*Window);
  c->setFixedSize(1280, 960);
  ChooseTool(Button(*Window, "LineBtn"));
  MouseInput(c, 2).Drag({10, 10}, {300, 100});
  const QImage shown = c->DevicePicture();
  ASSERT_EQ(shown.size(), c->DeviceSize());
  // Drawn as vectors: the picture is the drawing rendered at that size, not
  // the 640 × 480 picture enlarged (which would have no shades of grey
  // along the slanted line).
  const QImage reference = RenderScaled(MutablePictures(*Window).BGPicture, S().Figures(), 2);
  if (c->DeviceSize() == QSize(1280, 960)) EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), reference);
  int shades = 0;
  for (int x = 0; x < shown.width(); ++x)
    for (int y = 0; y < shown.height(); ++y) {
      const int g = qGray(shown.pixel(x, y));
      shades += g > 10 && g < 245;
    }
  EXPECT_GT(shades, 100);
  // What the widget puts on the screen is that picture.
  EXPECT_EQ(Grab(c), shown.convertToFormat(QImage::Format_RGB32));
}

TEST_F(CanvasInput, BandsAndFramesOnALargerCanvasLeaveNothingBehind) {
  CanvasView* c = Canvas(*Window);
  c->setFixedSize(960, 720);
  Input mouse = MouseInput(c, 1.5);
  ChooseTool(Button(*Window, "RectBtn"));
  mouse.Drag({20, 20}, {120, 90});
  ChooseTool(Button(*Window, "OvalBtn"));
  mouse.Drag({200, 40}, {300, 140});
  // A rubber band shows while it is dragged, drawn at the canvas's
  // resolution, and goes with the next move.
  ChooseTool(Button(*Window, "LineBtn"));
  const QImage before = c->DevicePicture().copy();
  mouse.Press({100, 300});
  mouse.Move({400, 200});
  EXPECT_NE(c->DevicePicture(), before);
  mouse.Move({400, 400});
  mouse.Move({100, 300});  // the band has no length: nothing of it is left
  EXPECT_EQ(c->DevicePicture(), before);
  // A band cut off by a change of tool is gone.
  mouse.Move({400, 200});
  ChooseTool(Button(*Window, "RectBtn"));
  EXPECT_EQ(c->DevicePicture(), FreshDevicePicture());
  mouse.Release({400, 200});
  // Selecting one figure after another moves the frame on the screen
  // (drawn there, not composed): exactly the picture with the second one
  // framed.
  EnterEditMode(*Window);
  mouse.Click({30, 30});
  mouse.Press({250, 90});
  MutablePictures(*Window).PaintBoxPaint();  // compare with what a repaint shows
  const QImage framed = c->DevicePicture().copy();
  mouse.Release({250, 90});
  mouse.Click({30, 30});
  mouse.Press({250, 90});
  EXPECT_EQ(c->DevicePicture(), framed);
  mouse.Release({250, 90});
}

TEST_F(CanvasInput, BackToItsOwnSizeTheCanvasIsPixelForPixelAgain) {
  CanvasView* c = Canvas(*Window);
  if (c->devicePixelRatioF() != 1.0) GTEST_SKIP() << "device pixel ratio " << c->devicePixelRatioF();
  c->setFixedSize(1280, 960);
  DrawRect(*Window, {10, 10}, {50, 40});
  c->setFixedSize(640, 480);
  EXPECT_TRUE(c->PixelForPixel());
  // Drawing at 640 × 480 is shown exactly as on the screen image.
  ChooseTool(Button(*Window, "LineBtn"));
  MouseInput(c, 1).Drag({100, 100}, {300, 200});
  EXPECT_EQ(Grab(c), c->Picture());
}

// ---- Touch and pens ----

class CanvasTouch : public CanvasInput {
 protected:
  QPointingDevice* Touchscreen() {
    static QPointingDevice* device = QTest::createTouchDevice();
    return device;
  }
};

TEST_F(CanvasTouch, OneFingerAndAPenDrawWithEveryToolAsTheMouseDoes) {
  DrawEverything(MouseInput(Canvas(*Window), 1));
  const std::vector<Record> reference = Records(S());
  for (const char* device : {"finger", "pen"}) {
    auto w = SecondWindow();
    std::swap(Window, w);
    CanvasView* c = Canvas(*Window);
    DrawEverything(std::string(device) == "pen" ? PenInput(c) : TouchInput(c, Touchscreen()));
    std::swap(Window, w);
    EXPECT_EQ(Records(w->state()), reference) << device;
  }
}

TEST_F(CanvasTouch, ASecondFingerDuringAStrokeAddsNothing) {
  CanvasView* c = Canvas(*Window);
  ChooseTool(Button(*Window, "FreeBtn"));
  QTest::touchEvent(c, Touchscreen()).press(0, {100, 100});
  QTest::touchEvent(c, Touchscreen()).move(0, {150, 110}).press(1, {300, 200});
  QTest::touchEvent(c, Touchscreen()).move(0, {200, 120}).move(1, {330, 220});
  QTest::touchEvent(c, Touchscreen()).stationary(0).release(1, {330, 220});
  QTest::touchEvent(c, Touchscreen()).release(0, {250, 130});
  ASSERT_EQ(S().Figures().Count(), 1);
  const Figure& stroke = S().Figures().Last();
  ASSERT_EQ(stroke.PointData.Count(), 4);
  EXPECT_EQ(stroke.PointData.Points[1], (Point{150, 110}));
  EXPECT_EQ(stroke.PointData.Points[2], (Point{200, 120}));
  EXPECT_EQ(stroke.End, (Point{250, 130}));
  // A finger still resting when the first is lifted draws nothing either.
  ChooseTool(Button(*Window, "RectBtn"));
  QTest::touchEvent(c, Touchscreen()).press(0, {10, 10});
  QTest::touchEvent(c, Touchscreen()).move(0, {20, 20}).press(1, {200, 200});
  QTest::touchEvent(c, Touchscreen()).release(0, {30, 30}).stationary(1);
  QTest::touchEvent(c, Touchscreen()).move(1, {250, 230});
  QTest::touchEvent(c, Touchscreen()).release(1, {260, 240});
  ASSERT_EQ(S().Figures().Count(), 2);
  EXPECT_EQ(S().Figures().Last().End, (Point{30, 30}));
  EXPECT_EQ(S().History().Count(), 2);
}

TEST_F(CanvasTouch, ACancelledTouchLeavesNoPartOfAFigure) {
  CanvasView* c = Canvas(*Window);
  for (const char* tool : {"FreeBtn", "RectBtn", "LineBtn", "PolygonBtn"}) {
    const int32_t records = S().History().Count();
    ChooseTool(Button(*Window, tool));
    QTest::touchEvent(c, Touchscreen()).press(0, {100, 100});
    QTest::touchEvent(c, Touchscreen()).move(0, {200, 150});
    QTouchEvent cancel(QEvent::TouchCancel, Touchscreen());
    QApplication::sendEvent(c, &cancel);
    EXPECT_EQ(S().History().Count(), records) << tool;
    EXPECT_FALSE(Window->Tools().Busy()) << tool;
    // The screen shows the drawing as it is: no band, no stroke.
    EXPECT_TRUE(ShowsARepaint(*Window)) << tool;
    // The next touch draws as usual.
    QTest::touchEvent(c, Touchscreen()).press(0, {200, 200});
    QTest::touchEvent(c, Touchscreen()).move(0, {250, 230});
    QTest::touchEvent(c, Touchscreen()).release(0, {250, 230});
    if (Window->Tools().PolyDrawing()) {
      QTest::touchEvent(c, Touchscreen()).press(0, {250, 230});
      QTest::touchEvent(c, Touchscreen()).release(0, {250, 230});
    }
    EXPECT_EQ(S().History().Count(), records + 1) << tool;
  }
}

}  // namespace
