// Undo and redo in the draw and edit modes: the pictures they show, the
// branch records they write (and how those replay, in the view mode, after a
// load and in the batch mode), the buttons' state and the keys.
#include <QImage>
#include <QShortcut>

#include "batch_run.h"
#include "history/play.h"
#include "support/file_fixture.h"

namespace {

class UndoRedo : public FileTest {
 protected:
  int Shown() { return S().Figures().Count(); }
  // Clicks the button; true when it was there to click and enabled.
  static bool Press(QAbstractButton* b) {
    const bool usable = b->isVisible() && b->isEnabled();
    ClickButton(b);
    return usable;
  }
  bool Undo() { return Press(Button(*Window, "UndoStepBtn")); }
  bool Redo() { return Press(Button(*Window, "RedoStepBtn")); }
  std::vector<int32_t> BranchTargets() {
    std::vector<int32_t> t;
    for (const Action& a : S().History())
      if (a.TargetType == ActionKind::Branch) t.push_back(a.TargetID);
    return t;
  }
  void ExpectButtons(bool undo, bool redo) {
    EXPECT_EQ(Button(*Window, "UndoStepBtn")->isEnabled(), undo);
    EXPECT_EQ(Button(*Window, "RedoStepBtn")->isEnabled(), redo);
  }
  // Saves the drawing under `name` through the menu.
  void SaveAs(const QString& name) {
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  }
  void Load(const QString& name) {
    if (S().History().Count() > 0) Answer(ModalResult::Yes);
    Choose(name);
    ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ReadDataMenu")));
  }
  // Fires a window shortcut the way a key press does.
  void PressShortcut(const QKeySequence& keys) {
    for (QShortcut* s : Window->findChildren<QShortcut*>())
      if (s->key() == keys && s->isEnabled()) emit s->activated();
  }
};

constexpr QRgb kWhite = 0xFFFFFF, kBlack = 0x000000;

TEST_F(UndoRedo, UndoUndoRedoDrawShowsThePicturesAndEndsTheRedos) {
  ExpectButtons(false, false);
  DrawRect(*Window, {10, 10}, {50, 40});          // step 1: A
  ExpectButtons(true, false);
  DrawEllipse(*Window, {100, 100}, {150, 180});   // step 2: B
  EXPECT_EQ(CanvasPixel(*Window, 100, 140), kBlack);

  ASSERT_TRUE(Undo());  // B goes
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(CanvasPixel(*Window, 100, 140), kWhite);
  EXPECT_EQ(CanvasPixel(*Window, 10, 20), kBlack);
  ExpectButtons(true, true);
  ASSERT_TRUE(Undo());  // A goes: the empty canvas, nothing more to undo
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(CanvasPixel(*Window, 10, 20), kWhite);
  ExpectButtons(false, true);
  EXPECT_FALSE(Undo());  // refused, greyed, no message
  EXPECT_TRUE(Dialogs.Shown.empty());

  ASSERT_TRUE(Redo());  // A again
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(CanvasPixel(*Window, 10, 20), kBlack);
  EXPECT_EQ(CanvasPixel(*Window, 100, 140), kWhite);
  ExpectButtons(true, true);

  DrawLine(*Window, {300, 300}, {400, 300});  // something new: no redo any more
  ExpectButtons(true, false);
  const int count = S().History().Count();
  Window->RedoStepBtnClick();
  EXPECT_EQ(S().History().Count(), count);
  EXPECT_EQ(Shown(), 2);
  // Nothing was cut: every undo and redo is a branch record.
  EXPECT_EQ(ActionKinds(S()),
            (std::vector<ActionKind>{ActionKind::Create, ActionKind::Create, ActionKind::Branch, ActionKind::Branch, ActionKind::Branch, ActionKind::Create}));
  EXPECT_EQ(BranchTargets(), (std::vector<int32_t>{1, 0, 3}));

  // Undo now takes back the line, then goes on from A's picture.
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(CanvasPixel(*Window, 350, 300), kWhite);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 0);
  ASSERT_TRUE(Redo());
  ASSERT_TRUE(Redo());
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(CanvasPixel(*Window, 350, 300), kBlack);
  ExpectButtons(true, false);
}

TEST_F(UndoRedo, EditChangesComeBackAndNoFigureIsKept) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  EXPECT_TRUE(Button(*Window, "UndoStepBtn")->isVisible());
  CanvasPress(*Window, 20, 20);  // move A by 200 pixels
  CanvasMove(*Window, 220, 20);
  CanvasRelease(*Window, 220, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  ClickButton(Button(*Window, "DeleteBtn"));
  EXPECT_EQ(Shown(), 0);

  ASSERT_TRUE(Undo());  // the delete
  ASSERT_EQ(Shown(), 1);
  EXPECT_EQ(S().Figures().First().Start, (Point{210, 10}));
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(S().DeletedFigures().Count(), 0);
  ASSERT_TRUE(Undo());  // the move
  EXPECT_EQ(S().Figures().First().Start, (Point{10, 10}));

  // The figure shown is a new one: select, move and change it as usual.
  CanvasClick(*Window, 10, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(S().History().Last().TargetType, ActionKind::Change);
  EXPECT_EQ(S().History().Last().TargetID, 1);
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(S().Figures().First().PenWidth, 4);

  // "ふっかつ" still brings back what the delete took, on its own.
  CanvasClick(*Window, 10, 20);
  ClickButton(Button(*Window, "DeleteBtn"));
  ClickButton(Button(*Window, "UndoBtn"));
  EXPECT_EQ(Shown(), 1);
  ASSERT_TRUE(Undo());  // the bringing back
  EXPECT_EQ(Shown(), 0);
}

TEST_F(UndoRedo, APendingResizeIsRecordedFirstThenUndone) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasClick(*Window, 10, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  Slider(*Window, "HTrackBar")->setValue(50);
  ASSERT_TRUE(S().ResizePending());
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_FALSE(S().ResizePending());
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Branch}));
  EXPECT_EQ(S().History().Last().TargetID, 1);
  EXPECT_EQ(S().Figures().First().End, (Point{50, 40}));
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 0);
  ASSERT_TRUE(Redo());
  EXPECT_NE(S().Figures().First().End, (Point{50, 40}));
}

TEST_F(UndoRedo, KeysUndoAndRedoInTheDrawAndEditModesOnly) {
  DrawRect(*Window, {10, 10}, {50, 40});
  DrawRect(*Window, {60, 10}, {90, 40});
  PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(Shown(), 1);
  PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  EXPECT_EQ(Shown(), 2);
  EnterEditMode(*Window);
  PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(Shown(), 1);
  PressShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  EXPECT_EQ(Shown(), 2);
  // Real key presses reach the same commands while the window is active.
  Window->activateWindow();
  QApplication::processEvents();
  if (QApplication::activeWindow() == Window.get()) {
    QTest::keyClick(Canvas(*Window), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(), 1);
    QTest::keyClick(Canvas(*Window), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Shown(), 2);
  } else {
    ADD_FAILURE() << "the window did not become active";
  }
  const int count = S().History().Count();
  EnterPlayMode(*Window);
  EXPECT_FALSE(Button(*Window, "UndoStepBtn")->isVisible());
  PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(S().History().Count(), count);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
}

TEST_F(UndoRedo, AnUnfinishedPolylineKeepsTheButtonsAndTheDrawing) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasDrag(*Window, {100, 100}, {150, 120});
  ASSERT_TRUE(Window->Tools().PolyDrawing());
  ExpectButtons(false, false);
  Window->UndoStepBtnClick();
  EXPECT_EQ(S().History().Count(), 1);
  EXPECT_EQ(Shown(), 1);
}

TEST_F(UndoRedo, TheViewModeShowsUndosAsSteps) {
  DrawRect(*Window, {10, 10}, {50, 40});
  DrawRect(*Window, {60, 10}, {90, 40});
  Undo();
  EnterPlayMode(*Window);
  EXPECT_EQ(Slider(*Window, "TimeTrackBar")->maximum(), 3);
  Slider(*Window, "TimeTrackBar")->setValue(2);
  EXPECT_EQ(Shown(), 2);
  Slider(*Window, "TimeTrackBar")->setValue(3);
  EXPECT_EQ(Shown(), 1);
  EnterDrawMode(*Window);  // at the last step: no question
  EXPECT_TRUE(Dialogs.Shown.empty());
  ExpectButtons(true, true);
  Redo();
  EXPECT_EQ(Shown(), 2);
}

TEST_F(UndoRedo, OneUndoTakesBackLeavingTheViewModeEarlyAndRedoBringsItBack) {
  DrawRect(*Window, {10, 10}, {50, 40});
  DrawRect(*Window, {60, 10}, {90, 40});
  // The view mode opens at step 0; drawing on from there empties the canvas.
  EnterPlayMode(*Window);
  ASSERT_EQ(Slider(*Window, "TimeTrackBar")->value(), 0);
  Answer(ModalResult::Yes);
  EnterDrawMode(*Window);
  EXPECT_EQ(Shown(), 0);
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 2);
  ExpectButtons(true, true);
  ASSERT_TRUE(Redo());
  EXPECT_EQ(Shown(), 0);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 2);
  ASSERT_TRUE(Undo());  // then on, one figure at a time
  EXPECT_EQ(Shown(), 1);

  // A branch at an earlier step: undo returns to the whole picture, not
  // further back; a saved and loaded drawing undoes the same way.
  Redo();
  DrawRect(*Window, {100, 10}, {140, 40});
  EXPECT_EQ(Shown(), 3);
  EnterPlayMode(*Window);
  Slider(*Window, "TimeTrackBar")->setValue(1);
  Answer(ModalResult::Yes);
  EnterDrawMode(*Window);
  EXPECT_EQ(Shown(), 1);
  SaveAs("v.tlo");
  Load("v.tlo");
  EXPECT_EQ(Shown(), 1);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 3);
  ASSERT_TRUE(Redo());
  EXPECT_EQ(Shown(), 1);
}

TEST_F(UndoRedo, UndoGoesOnAfterALoadAndTheBatchModeShowsTheSamePicture) {
  DrawRect(*Window, {10, 10}, {50, 40});
  DrawEllipse(*Window, {100, 100}, {150, 180});
  DrawLine(*Window, {300, 300}, {400, 300});
  Undo();
  Undo();
  Redo();  // A and B shown; the line can still come back
  const QImage shown = Canvas(*Window)->Picture().copy();
  SaveAs("u.tlo");

  Load("u.tlo");
  EXPECT_EQ(S().History().Count(), 6);
  EXPECT_EQ(Canvas(*Window)->Picture().copy(), shown);
  ExpectButtons(true, true);  // read from the records
  ASSERT_TRUE(Redo());
  EXPECT_EQ(CanvasPixel(*Window, 350, 300), kBlack);
  ASSERT_TRUE(Undo());
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 1);

  // A file with no undos: the first undo goes back one step of it.
  WriteFile("plain.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40), RectRecord(2, 60, 10, 90, 40)}));
  Load("plain.tlo");
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(BranchTargets(), (std::vector<int32_t>{1}));

  // The batch mode replays the saved undos to the same pixels.
  const BatchRun run = RunTamlo(Dir.path(), {"--export-bmp", Path("u.bmp"), Path("u.tlo")});
  ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
  QImage exported(Path("u.bmp"));
  ASSERT_FALSE(exported.isNull());
  EXPECT_EQ(exported.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
}

TEST_F(UndoRedo, TheButtonsSitInFreeRoomInTheDrawAndEditModes) {
  for (bool edit : {false, true}) {
    if (edit) EnterEditMode(*Window);
    for (QAbstractButton* b : {Button(*Window, "UndoStepBtn"), Button(*Window, "RedoStepBtn")}) {
      ASSERT_TRUE(b->isVisible());
      EXPECT_EQ(b->toolTip(), b == Button(*Window, "UndoStepBtn") ? QString::fromUtf8("もどす") : QString::fromUtf8("やりなおす"));
      EXPECT_FALSE(b->icon().isNull());
      const QRect box(b->mapTo(Panel(*Window, "Client"), QPoint(0, 0)), b->size());
      EXPECT_TRUE(Panel(*Window, "Client")->rect().contains(box));
      // No other visible control (a leaf widget) is under them.
      for (QWidget* w : Panel(*Window, "Client")->findChildren<QWidget*>()) {
        if (w == b || !w->isVisible() || !w->findChildren<QWidget*>().isEmpty()) continue;
        if (w == Button(*Window, "UndoStepBtn") || w == Button(*Window, "RedoStepBtn")) continue;
        const QRect other(w->mapTo(Panel(*Window, "Client"), QPoint(0, 0)), w->size());
        EXPECT_FALSE(box.intersects(other)) << b->objectName().toStdString() << " over "
                                            << w->objectName().toStdString();
      }
    }
    // Not over the canvas either.
    const QRect canvas(Panel(*Window, "DrawField")->mapTo(Panel(*Window, "Client"), QPoint(0, 0)), Panel(*Window, "DrawField")->size());
    EXPECT_FALSE(canvas.intersects(QRect(Button(*Window, "UndoStepBtn")->pos(), Button(*Window, "UndoStepBtn")->size())));
  }
}

}  // namespace
