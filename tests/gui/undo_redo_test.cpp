// Undo and redo in the draw and edit modes: the pictures they show, the
// branch records they write (and how those replay, in the view mode, after a
// load and in the batch mode), the buttons' state and the keys.
#include <QImage>
#include <QShortcut>

#include "batch_run.h"
#include "history/play.h"
#include "support/file_fixture.h"
#include "ui/undo_redo.h"

namespace {

// ---- The plan read from records alone ----

struct RecordInfo {
  ActionKind kind;
  int32_t target = 0;  // branches only
};

std::unique_ptr<HistoryList> MakeHistory(std::initializer_list<RecordInfo> records) {
  auto h = std::make_unique<HistoryList>();
  for (const RecordInfo& r : records) {
    Action& a = h->Add();
    a.TargetType = r.kind;
    a.TargetID = r.target;
  }
  return h;
}

UndoRedoPlan Plan(std::initializer_list<RecordInfo> records) { return PlanUndoRedo(*MakeHistory(records)); }

TEST(UndoRedoPlan, FollowsUndosRedosAndNewChanges) {
  // Nothing drawn: nothing to undo or redo.
  EXPECT_EQ(Plan({}).UndoTo, -1);
  EXPECT_EQ(Plan({}).RedoTo, -1);
  // One figure: undo goes back to the empty canvas.
  EXPECT_EQ(Plan({{ActionKind::Create}}).UndoTo, 0);
  // Two undos, then two redos, one at a time.
  auto p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}});
  EXPECT_EQ(p.UndoTo, 0);
  EXPECT_EQ(p.RedoTo, 4);  // the step shown before the second undo
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}, {ActionKind::Branch, 4}});
  EXPECT_EQ(p.UndoTo, 1);  // the picture of step 2 is shown: before it, step 1
  EXPECT_EQ(p.RedoTo, 3);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Move}, {ActionKind::Branch, 2}, {ActionKind::Branch, 1}, {ActionKind::Branch, 4}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, -1);  // everything is back
  // A new change after an undo ends the redos; undo then takes it back.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Delete}});
  EXPECT_EQ(p.RedoTo, -1);
  EXPECT_EQ(p.UndoTo, 3);
  // Undo after that goes back over the earlier undo, not through it.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Delete}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 0);  // step 3 shows step 1's picture
  EXPECT_EQ(p.RedoTo, 4);
}

TEST(UndoRedoPlan, ViewModeBranchesAndOddRecords) {
  // Leaving the view mode two steps back is a change of its own: undo
  // returns to the picture before it, and there is nothing to redo.
  auto p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}});
  EXPECT_EQ(p.UndoTo, 3);
  EXPECT_EQ(p.RedoTo, -1);
  // That undo is read as one (a branch to the step an undo computes), and
  // the redo after it brings the branch back; the next undo goes on from
  // the picture before the branch.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Branch, 3}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, 4);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::Branch, 3}, {ActionKind::Branch, 4}});
  EXPECT_EQ(p.UndoTo, 3);
  EXPECT_EQ(p.RedoTo, -1);
  // A branch to the empty canvas from the view mode's first step, and one
  // after an undo: each is taken back by one undo, and it ends the redos.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 0}});
  EXPECT_EQ(p.UndoTo, 2);
  EXPECT_EQ(p.RedoTo, -1);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 2}, {ActionKind::Branch, 0}});
  EXPECT_EQ(p.UndoTo, 4);
  EXPECT_EQ(p.RedoTo, -1);
  // A branch to the step just before is an undo, whoever wrote it.
  EXPECT_EQ(Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}}).RedoTo, 2);
  // Records that change nothing drawn are stepped over and keep the redos.
  p = Plan({{ActionKind::Create}, {ActionKind::SetStamp}, {ActionKind::ReadData}});
  EXPECT_EQ(p.UndoTo, 0);
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 1}, {ActionKind::SetStamp}});
  EXPECT_EQ(p.RedoTo, 2);
  EXPECT_EQ(Plan({{ActionKind::SetStamp}}).UndoTo, -1);
  // Damaged targets read as replay reads them: below 0 is the empty canvas,
  // at or beyond the branch itself is the step before it.
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, -7}});
  EXPECT_EQ(p.UndoTo, 2);  // the user's branch to the empty canvas
  p = Plan({{ActionKind::Create}, {ActionKind::Create}, {ActionKind::Branch, 99}});
  EXPECT_EQ(p.UndoTo, 1);
  p = Plan({{ActionKind::Create}, {ActionKind::Branch, 0}, {ActionKind::Branch, 2}});  // a chain through a branch target
  EXPECT_EQ(p.UndoTo, -1);
}

// ---- The window ----

class UndoRedo : public FileTest {
 protected:
  int Shown() { return S().DrawingFigs.Count(); }
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
    for (const Action& a : S().History)
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
    if (S().History.Count() > 0) Answer(ModalResult::Yes);
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
  const int count = S().History.Count();
  Window->RedoStepBtnClick();
  EXPECT_EQ(S().History.Count(), count);
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
  EXPECT_EQ(S().DrawingFigs.First().Start, (Point{210, 10}));
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(S().DeletedFigs.Count(), 0);
  ASSERT_TRUE(Undo());  // the move
  EXPECT_EQ(S().DrawingFigs.First().Start, (Point{10, 10}));

  // The figure shown is a new one: select, move and change it as usual.
  CanvasClick(*Window, 10, 20);
  ASSERT_NE(S().SelectedFig, nullptr);
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(S().History.Last().TargetType, ActionKind::Change);
  EXPECT_EQ(S().History.Last().TargetID, 1);
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(S().DrawingFigs.First().PenWidth, 4);

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
  ASSERT_TRUE(S().PendingResize);
  ExpectButtons(true, false);
  ASSERT_TRUE(Undo());
  EXPECT_FALSE(S().PendingResize);
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Branch}));
  EXPECT_EQ(S().History.Last().TargetID, 1);
  EXPECT_EQ(S().DrawingFigs.First().End, (Point{50, 40}));
  EXPECT_EQ(Slider(*Window, "HTrackBar")->value(), 0);
  ASSERT_TRUE(Redo());
  EXPECT_NE(S().DrawingFigs.First().End, (Point{50, 40}));
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
  const int count = S().History.Count();
  EnterPlayMode(*Window);
  EXPECT_FALSE(Button(*Window, "UndoStepBtn")->isVisible());
  PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(S().History.Count(), count);
  EXPECT_EQ(S().WorkMode, WindowMode::Play);
}

TEST_F(UndoRedo, AnUnfinishedPolylineKeepsTheButtonsAndTheDrawing) {
  DrawRect(*Window, {10, 10}, {50, 40});
  ChooseTool(Button(*Window, "PolylineBtn"));
  CanvasDrag(*Window, {100, 100}, {150, 120});
  ASSERT_TRUE(Window->Tools().PolyDrawing());
  ExpectButtons(false, false);
  Window->UndoStepBtnClick();
  EXPECT_EQ(S().History.Count(), 1);
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
  const QImage shown = Canvas(*Window)->Image.copy();
  SaveAs("u.tlo");

  Load("u.tlo");
  EXPECT_EQ(S().History.Count(), 6);
  EXPECT_EQ(Canvas(*Window)->Image.copy(), shown);
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
