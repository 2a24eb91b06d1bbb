// The edit buttons and the palette, driven through the real widgets.
#include <QLineEdit>
#include <QToolButton>

#include "history/actions.h"
#include "history/play.h"
#include "support/builders.h"
#include "support/gui_helpers.h"

namespace {

class EditCommands : public WindowTest {
 protected:
  // Draws a rectangle in the draw mode, enters the edit mode and selects it
  // with a click inside it.
  Figure* DrawAndSelectRect(QPoint a, QPoint b) {
    DrawRect(*Window, a, b);
    EnterEditMode(*Window);
    CanvasClick(*Window, (a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
    return S().SelectedFig;
  }
  const Action& Last() { return S().History().Last(); }
  int32_t Records() { return S().History().Count(); }
};

TEST_F(EditCommands, ThickStepsUpToThirtyThenRefuses) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->PenWidth, 4);
  for (int i = 1; i <= 13; ++i) {
    ClickButton(Button(*Window, "ThickBtn"));
    EXPECT_EQ(f->PenWidth, 4 + 2 * i);
    EXPECT_EQ(Records(), 1 + i);
    EXPECT_EQ(Last().TargetType, ActionKind::Change);
    EXPECT_EQ(Last().Parameter, ParameterKind::LineWidth);
    EXPECT_EQ(Last().TargetID, 1);
    EXPECT_EQ(Last().FigData.PenWidth, 4 + 2 * i);
  }
  EXPECT_TRUE(Dialogs.Shown.empty());
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより線を太くできません");
  EXPECT_EQ(f->PenWidth, 30);
  EXPECT_EQ(Records(), 14);
}

TEST_F(EditCommands, ThinStepsDownToZeroThenRefuses) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Window, "ThinBtn"));
  ClickButton(Button(*Window, "ThinBtn"));
  EXPECT_EQ(f->PenWidth, 0);
  EXPECT_EQ(Records(), 3);
  EXPECT_TRUE(Dialogs.Shown.empty());
  ClickButton(Button(*Window, "ThinBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより線を細くできません");
  EXPECT_EQ(f->PenWidth, 0);
  EXPECT_EQ(Records(), 3);
}

TEST_F(EditCommands, PaletteSetsTheChosenColourAndItsHint) {
  EXPECT_EQ(Window->ChosenColor(), clBlack);
  QTest::mouseClick(ColorPanel(*Window, 2), Qt::LeftButton);  // ColorPanel03, red
  EXPECT_EQ(Window->ChosenColor(), 0x0000FF);
  EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->toolTip(), QStringLiteral("色がえらばれています"));
  QTest::mouseClick(Swatch(*Window, "ClearPanel"), Qt::LeftButton);
  EXPECT_EQ(Window->ChosenColor(), clBtnFace);
  EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->toolTip(), QStringLiteral("「ぬりつぶしなし」がえらばれています"));
  QTest::mouseClick(ColorPanel(*Window, 15), Qt::LeftButton);  // black again
  EXPECT_EQ(Window->ChosenColor(), clBlack);
  EXPECT_EQ(Swatch(*Window, "ConfirmPanel")->toolTip(), QStringLiteral("色がえらばれています"));
  EXPECT_EQ(Records(), 0);  // choosing a colour records nothing
}

TEST_F(EditCommands, NoFillMakesABodyHollowButNoLineOrText) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  QTest::mouseClick(Swatch(*Window, "ClearPanel"), Qt::LeftButton);
  ClickButton(Button(*Window, "BodyColorBtn"));
  EXPECT_EQ(f->BrushColor, clBtnFace);
  EXPECT_EQ(Last().Parameter, ParameterKind::BodyColor);
  EXPECT_EQ(Records(), 2);
  // The canvas shows the white background through the hollow body.
  EXPECT_EQ(CanvasPixel(*Window, 30, 25), 0xFFFFFFu);

  ClickButton(Button(*Window, "LineColorBtn"));
  EXPECT_EQ(Dialogs.LastText(), "線はぬりつぶしなしにできません");
  ClickButton(Button(*Window, "TextColorBtn"));
  EXPECT_EQ(Dialogs.LastText(), "文字はぬりつぶしなしにできません");
  EXPECT_EQ(f->PenColor, clBlack);
  EXPECT_EQ(Records(), 2);
}

TEST_F(EditCommands, ColourChangesOnlyWhatReallyChanges) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Window, "LineColorBtn"));  // black on black: nothing
  EXPECT_EQ(Records(), 1);
  QTest::mouseClick(ColorPanel(*Window, 6), Qt::LeftButton);  // ColorPanel07, blue
  ClickButton(Button(*Window, "TextColorBtn"));  // a rectangle has no text: nothing
  EXPECT_EQ(Records(), 1);
  ClickButton(Button(*Window, "LineColorBtn"));
  EXPECT_EQ(f->PenColor, 0xFF0000);
  EXPECT_EQ(Last().Parameter, ParameterKind::LineColor);
  ClickButton(Button(*Window, "BodyColorBtn"));
  EXPECT_EQ(f->BrushColor, 0xFF0000);
  EXPECT_EQ(Last().Parameter, ParameterKind::BodyColor);
  EXPECT_EQ(Records(), 3);
  EXPECT_EQ(CanvasPixel(*Window, 30, 25), 0x0000FFu);  // QRgb is 0xRRGGBB
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(EditCommands, AStampRefusesEveryAttribute) {
  draw(MutableState(*Window), {stamp({100, 100}, {120, 120}, {rect({0, 0}, {20, 20})})});
  EnterEditMode(*Window);
  CanvasClick(*Window, 110, 110);
  ASSERT_NE(S().SelectedFig, nullptr);
  QTest::mouseClick(Swatch(*Window, "ClearPanel"), Qt::LeftButton);
  for (const char* b : {"ThickBtn", "ThinBtn", "LineColorBtn", "BodyColorBtn", "TextColorBtn"}) {
    Dialogs.Shown.clear();
    ClickButton(Button(*Window, b));
    ASSERT_EQ(Dialogs.Texts(), std::vector<std::string>{"スタンプは変更できません"}) << b;
  }
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(S().SelectedFig->PenWidth, 4);
  EXPECT_EQ(S().SelectedFig->BrushColor, clWhite);
}

TEST_F(EditCommands, DuplicateOffsetsSelectsAndCopiesTheCopy) {
  Figure* original = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Window, "DupBtn"));
  Figure* copy = S().SelectedFig;
  ASSERT_NE(copy, original);
  EXPECT_EQ(copy, &S().Figures().Last());
  EXPECT_EQ(S().MarkedFig, copy);
  EXPECT_EQ(copy->Start, (Point{30, 30}));
  EXPECT_EQ(copy->End, (Point{70, 60}));
  EXPECT_EQ(Last().TargetType, ActionKind::Duplicate);
  EXPECT_EQ(Last().TargetID, 2);
  ClickButton(Button(*Window, "DupBtn"));
  EXPECT_EQ(S().SelectedFig->Start, (Point{50, 50}));
  EXPECT_EQ(Last().TargetID, 3);
  EXPECT_EQ(S().Figures().Count(), 3);
  EXPECT_EQ(original->Start, (Point{10, 10}));
}

TEST_F(EditCommands, DuplicateThenResizeWorksOnTheCopyWhereItIs) {
  DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Window, "DupBtn"));
  Figure* copy = S().SelectedFig;
  Slider(*Window, "HTrackBar")->setValue(5);
  EXPECT_EQ(S().Shown(*copy).Start, (Point{25, 30}));
  EXPECT_EQ(S().Shown(*copy).End, (Point{75, 60}));
}

TEST_F(EditCommands, WithoutSelectionNothingHappens) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  for (const char* b : {"DupBtn", "DeleteBtn", "FrontBtn", "BackBtn", "ThickBtn", "ThinBtn", "LineColorBtn", "ChangeTextBtn"})
    ClickButton(Button(*Window, b));
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(S().Figures().Count(), 1);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(TextBox(*Window)->isVisible());
}

TEST_F(EditCommands, DeleteAndUndoNewestFirstWithNewIDs) {
  DrawRect(*Window, {10, 10}, {50, 40});    // A, ID 1
  DrawRect(*Window, {100, 10}, {150, 40});  // B, ID 2
  EnterEditMode(*Window);
  CanvasClick(*Window, 30, 25);
  ClickButton(Button(*Window, "DeleteBtn"));
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(Last().TargetType, ActionKind::Delete);
  EXPECT_EQ(Last().TargetID, 1);
  CanvasClick(*Window, 120, 25);
  ClickButton(Button(*Window, "DeleteBtn"));
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().DeletedFigures().Count(), 2);
  EXPECT_EQ(CanvasPixel(*Window, 10, 25), 0xFFFFFFu);

  ClickButton(Button(*Window, "UndoBtn"));
  EXPECT_EQ(S().Figures().Last().Start, (Point{100, 10}));
  EXPECT_EQ(Last().TargetType, ActionKind::Undo);
  EXPECT_EQ(Last().TargetID, 3);
  ClickButton(Button(*Window, "UndoBtn"));
  EXPECT_EQ(S().Figures().Last().Start, (Point{10, 10}));
  EXPECT_EQ(Last().TargetID, 4);
  EXPECT_TRUE(S().DeletedFigures().IsEmpty());
  EXPECT_EQ(S().SelectedFig, nullptr);
  ClickButton(Button(*Window, "UndoBtn"));  // nothing left: nothing recorded
  EXPECT_EQ(Records(), 6);
  EXPECT_EQ(CanvasPixel(*Window, 10, 25), 0x000000u);
  // The restored figure can be edited under its new ID.
  CanvasClick(*Window, 30, 25);
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_EQ(Last().TargetID, 4);
}

TEST_F(EditCommands, DeleteRecordsAPendingResizeFirst) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  Slider(*Window, "HTrackBar")->setValue(7);
  EXPECT_EQ(S().Shown(*f).End.X, 57);
  ClickButton(Button(*Window, "DeleteBtn"));
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Delete}));
  const Action& size = S().History().At(S().History().Count() - 1);
  EXPECT_EQ(size.Parameter, ParameterKind::Size);
  EXPECT_EQ(size.FigData.End.X, 57);
  EXPECT_EQ(Last().TargetID, 1);
  EXPECT_FALSE(S().ResizePending());
  EXPECT_EQ(S().DeletedFigures().Last().End.X, 57);
}

TEST_F(EditCommands, FrontAndBackMoveOnePlaceAndRefuseAtTheEnds) {
  DrawRect(*Window, {10, 10}, {50, 40});    // A
  DrawRect(*Window, {100, 10}, {150, 40});  // B
  DrawRect(*Window, {200, 10}, {250, 40});  // C
  EnterEditMode(*Window);
  auto order = [this] {
    std::string s;
    for (const Figure* f : Figures(S().Figures())) s += char('A' + f->Start.X / 100);
    return s;
  };
  CanvasClick(*Window, 220, 25);  // C, the front-most
  ClickButton(Button(*Window, "FrontBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより前にいくことができません。");
  EXPECT_EQ(Records(), 3);
  ClickButton(Button(*Window, "BackBtn"));
  EXPECT_EQ(order(), "ACB");
  EXPECT_EQ(Last().TargetType, ActionKind::Back);
  EXPECT_EQ(Last().TargetID, 3);
  ClickButton(Button(*Window, "BackBtn"));
  EXPECT_EQ(order(), "CAB");
  Dialogs.Shown.clear();
  ClickButton(Button(*Window, "BackBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより後ろにいくことができません。");
  EXPECT_EQ(order(), "CAB");
  ClickButton(Button(*Window, "FrontBtn"));
  EXPECT_EQ(order(), "ACB");
  EXPECT_EQ(Last().TargetType, ActionKind::Front);
  EXPECT_EQ(Records(), 6);
}

TEST_F(EditCommands, EveryCommandDropsAnUnfinishedTextChange) {
  PlaceText(*Window, {100, 80}, "abc");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  ASSERT_NE(S().SelectedFig, nullptr);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  TypeText(*Window, "xyz");
  ClickButton(Button(*Window, "ThickBtn"));
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(TextBox(*Window)->text().isEmpty());
  EXPECT_EQ(S().SelectedFig->Text, "abc");
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change}));
}

}  // namespace

namespace {

class FigureIdentity : public WindowTest {};

// A figure drawn where a deleted or cleared one was kept in memory must not
// inherit that figure's ID: its moves would replay on the wrong figure.
TEST_F(FigureIdentity, ANewFigureNeverTakesTheIDOfOneThatWasRemoved) {
  for (int round = 0; round < 2; ++round) {
    DrawRect(*Window, {10, 10}, {60, 60});
    EnterEditMode(*Window);
    CanvasClick(*Window, 30, 30);
    ASSERT_NE(S().SelectedFig, nullptr);
    if (round == 0) {
      ClickButton(Button(*Window, "DeleteBtn"));
    } else {
      ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "ClearImageMenu")));
    }
    EnterDrawMode(*Window);
    DrawRect(*Window, {10, 10}, {60, 60});
    const int32_t id = S().History().Last().TargetID;
    EnterEditMode(*Window);
    CanvasDrag(*Window, {30, 30}, {80, 50});
    ASSERT_EQ(S().History().Last().TargetType, ActionKind::Move);
    EXPECT_EQ(S().History().Last().TargetID, id) << "round " << round;
    // What the view mode rebuilds is what was on the screen.
    CanvasClick(*Window, 600, 400);  // nothing selected: no frame
    const QImage shown = Canvas(*Window)->Picture().copy();
    GoToStep(MutableState(*Window), S().History().Count());
    EXPECT_EQ(Canvas(*Window)->Picture(), shown);
    EnterDrawMode(*Window);
  }
}

}  // namespace
