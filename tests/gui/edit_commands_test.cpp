// The edit buttons and the palette, driven through the real widgets.
#include <QLineEdit>
#include <QToolButton>

#include "history/actions.h"
#include "history/play.h"
#include "support/form_fixture.h"

namespace {

class EditCommands : public FormTest {
 protected:
  // Draws a rectangle in the draw mode, enters the edit mode and selects it
  // with a click inside it.
  Figure* DrawAndSelectRect(QPoint a, QPoint b) {
    DrawRect(*Form, a, b);
    EnterEditMode(*Form);
    CanvasClick(*Form, (a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
    return S().SelectedFig;
  }
  const Action& Last() { return S().History.Last(); }
  int32_t Records() { return S().History.Count(); }
};

TEST_F(EditCommands, ThickStepsUpToThirtyThenRefuses) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->PenWidth, 4);
  for (int i = 1; i <= 13; ++i) {
    ClickButton(Button(*Form, "ThickBtn"));
    EXPECT_EQ(f->PenWidth, 4 + 2 * i);
    EXPECT_EQ(Records(), 1 + i);
    EXPECT_EQ(Last().TargetType, ActionKind::Change);
    EXPECT_EQ(Last().Parameter, ParameterKind::LineWidth);
    EXPECT_EQ(Last().TargetID, 1);
    EXPECT_EQ(Last().FigData.PenWidth, 4 + 2 * i);
  }
  EXPECT_TRUE(Dialogs.Shown.empty());
  ClickButton(Button(*Form, "ThickBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより線を太くできません");
  EXPECT_EQ(f->PenWidth, 30);
  EXPECT_EQ(Records(), 14);
}

TEST_F(EditCommands, ThinStepsDownToZeroThenRefuses) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Form, "ThinBtn"));
  ClickButton(Button(*Form, "ThinBtn"));
  EXPECT_EQ(f->PenWidth, 0);
  EXPECT_EQ(Records(), 3);
  EXPECT_TRUE(Dialogs.Shown.empty());
  ClickButton(Button(*Form, "ThinBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより線を細くできません");
  EXPECT_EQ(f->PenWidth, 0);
  EXPECT_EQ(Records(), 3);
}

TEST_F(EditCommands, PaletteSetsTheChosenColourAndItsHint) {
  EXPECT_EQ(Form->ChosenColor(), clBlack);
  QTest::mouseClick(ColorPanel(*Form, 2), Qt::LeftButton);  // ColorPanel03, red
  EXPECT_EQ(Form->ChosenColor(), 0x0000FF);
  EXPECT_EQ(Swatch(*Form, "ConfirmPanel")->toolTip(), QStringLiteral("色がえらばれています"));
  QTest::mouseClick(Swatch(*Form, "ClearPanel"), Qt::LeftButton);
  EXPECT_EQ(Form->ChosenColor(), clBtnFace);
  EXPECT_EQ(Swatch(*Form, "ConfirmPanel")->toolTip(), QStringLiteral("「ぬりつぶしなし」がえらばれています"));
  QTest::mouseClick(ColorPanel(*Form, 15), Qt::LeftButton);  // black again
  EXPECT_EQ(Form->ChosenColor(), clBlack);
  EXPECT_EQ(Swatch(*Form, "ConfirmPanel")->toolTip(), QStringLiteral("色がえらばれています"));
  EXPECT_EQ(Records(), 0);  // choosing a colour records nothing
}

TEST_F(EditCommands, NoFillMakesABodyHollowButNoLineOrText) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  QTest::mouseClick(Swatch(*Form, "ClearPanel"), Qt::LeftButton);
  ClickButton(Button(*Form, "BodyColorBtn"));
  EXPECT_EQ(f->BrushColor, clBtnFace);
  EXPECT_EQ(Last().Parameter, ParameterKind::BodyColor);
  EXPECT_EQ(Records(), 2);
  // The canvas shows the white background through the hollow body.
  EXPECT_EQ(CanvasPixel(*Form, 30, 25), 0xFFFFFFu);

  ClickButton(Button(*Form, "LineColorBtn"));
  EXPECT_EQ(Dialogs.LastText(), "線はぬりつぶしなしにできません");
  ClickButton(Button(*Form, "TextColorBtn"));
  EXPECT_EQ(Dialogs.LastText(), "文字はぬりつぶしなしにできません");
  EXPECT_EQ(f->PenColor, clBlack);
  EXPECT_EQ(Records(), 2);
}

TEST_F(EditCommands, ColourChangesOnlyWhatReallyChanges) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Form, "LineColorBtn"));  // black on black: nothing
  EXPECT_EQ(Records(), 1);
  QTest::mouseClick(ColorPanel(*Form, 6), Qt::LeftButton);  // ColorPanel07, blue
  ClickButton(Button(*Form, "TextColorBtn"));  // a rectangle has no text: nothing
  EXPECT_EQ(Records(), 1);
  ClickButton(Button(*Form, "LineColorBtn"));
  EXPECT_EQ(f->PenColor, 0xFF0000);
  EXPECT_EQ(Last().Parameter, ParameterKind::LineColor);
  ClickButton(Button(*Form, "BodyColorBtn"));
  EXPECT_EQ(f->BrushColor, 0xFF0000);
  EXPECT_EQ(Last().Parameter, ParameterKind::BodyColor);
  EXPECT_EQ(Records(), 3);
  EXPECT_EQ(CanvasPixel(*Form, 30, 25), 0x0000FFu);  // QRgb is 0xRRGGBB
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(EditCommands, AStampRefusesEveryAttribute) {
  std::vector<Figure> contents;
  Figure r;
  r.DrawingTool = ToolKind::Rectangle;
  r.PenWidth = 4;
  r.BrushColor = clWhite;
  r.End = {20, 20};
  contents.push_back(r);
  Figure stamp;
  stamp.DrawingTool = ToolKind::Stamp;
  stamp.Start = {100, 100};
  stamp.End = {120, 120};
  stamp.StampData = contents;
  CreateFigure(MutableState(*Form), stamp);
  EnterEditMode(*Form);
  CanvasClick(*Form, 110, 110);
  ASSERT_NE(S().SelectedFig, nullptr);
  QTest::mouseClick(Swatch(*Form, "ClearPanel"), Qt::LeftButton);
  for (QAbstractButton* b : {Button(*Form, "ThickBtn"), Button(*Form, "ThinBtn"), Button(*Form, "LineColorBtn"), Button(*Form, "BodyColorBtn"),
                         Button(*Form, "TextColorBtn")}) {
    Dialogs.Shown.clear();
    ClickButton(b);
    ASSERT_EQ(Dialogs.Texts(), std::vector<std::string>{"スタンプは変更できません"})
        << b->objectName().toStdString();
  }
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(S().SelectedFig->BrushColor, 0);
}

TEST_F(EditCommands, DuplicateOffsetsSelectsAndCopiesTheCopy) {
  Figure* original = DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Form, "DupBtn"));
  Figure* copy = S().SelectedFig;
  ASSERT_NE(copy, original);
  EXPECT_EQ(copy, &S().DrawingFigs.Last());
  EXPECT_EQ(S().MarkedFig, copy);
  EXPECT_EQ(copy->Start, (Point{30, 30}));
  EXPECT_EQ(copy->End, (Point{70, 60}));
  EXPECT_EQ(Last().TargetType, ActionKind::Duplicate);
  EXPECT_EQ(Last().TargetID, 2);
  ClickButton(Button(*Form, "DupBtn"));
  EXPECT_EQ(S().SelectedFig->Start, (Point{50, 50}));
  EXPECT_EQ(Last().TargetID, 3);
  EXPECT_EQ(S().DrawingFigs.Count(), 3);
  EXPECT_EQ(original->Start, (Point{10, 10}));
}

TEST_F(EditCommands, DuplicateThenResizeWorksOnTheCopyWhereItIs) {
  DrawAndSelectRect({10, 10}, {50, 40});
  ClickButton(Button(*Form, "DupBtn"));
  Figure* copy = S().SelectedFig;
  Slider(*Form, "HTrackBar")->setValue(5);
  EXPECT_EQ(copy->Start, (Point{25, 30}));
  EXPECT_EQ(copy->End, (Point{75, 60}));
}

TEST_F(EditCommands, WithoutSelectionNothingHappens) {
  DrawRect(*Form, {10, 10}, {50, 40});
  EnterEditMode(*Form);
  for (QAbstractButton* b : {Button(*Form, "DupBtn"), Button(*Form, "DeleteBtn"), Button(*Form, "FrontBtn"), Button(*Form, "BackBtn"), Button(*Form, "ThickBtn"),
                         Button(*Form, "ThinBtn"), Button(*Form, "LineColorBtn"), Button(*Form, "ChangeTextBtn")})
    ClickButton(b);
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(S().DrawingFigs.Count(), 1);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(TextBox(*Form)->isVisible());
}

TEST_F(EditCommands, DeleteAndUndoNewestFirstWithNewIDs) {
  DrawRect(*Form, {10, 10}, {50, 40});    // A, ID 1
  DrawRect(*Form, {100, 10}, {150, 40});  // B, ID 2
  EnterEditMode(*Form);
  CanvasClick(*Form, 30, 25);
  ClickButton(Button(*Form, "DeleteBtn"));
  EXPECT_EQ(S().SelectedFig, nullptr);
  EXPECT_EQ(Last().TargetType, ActionKind::Delete);
  EXPECT_EQ(Last().TargetID, 1);
  CanvasClick(*Form, 120, 25);
  ClickButton(Button(*Form, "DeleteBtn"));
  EXPECT_EQ(Last().TargetID, 2);
  EXPECT_TRUE(S().DrawingFigs.IsEmpty());
  EXPECT_EQ(S().DeletedFigs.Count(), 2);
  EXPECT_EQ(CanvasPixel(*Form, 10, 25), 0xFFFFFFu);

  ClickButton(Button(*Form, "UndoBtn"));
  EXPECT_EQ(S().DrawingFigs.Last().Start, (Point{100, 10}));
  EXPECT_EQ(Last().TargetType, ActionKind::Undo);
  EXPECT_EQ(Last().TargetID, 3);
  ClickButton(Button(*Form, "UndoBtn"));
  EXPECT_EQ(S().DrawingFigs.Last().Start, (Point{10, 10}));
  EXPECT_EQ(Last().TargetID, 4);
  EXPECT_TRUE(S().DeletedFigs.IsEmpty());
  EXPECT_EQ(S().SelectedFig, nullptr);
  ClickButton(Button(*Form, "UndoBtn"));  // nothing left: nothing recorded
  EXPECT_EQ(Records(), 6);
  EXPECT_EQ(CanvasPixel(*Form, 10, 25), 0x000000u);
  // The restored figure can be edited under its new ID.
  CanvasClick(*Form, 30, 25);
  ClickButton(Button(*Form, "ThickBtn"));
  EXPECT_EQ(Last().TargetID, 4);
}

TEST_F(EditCommands, DeleteRecordsAPendingResizeFirst) {
  Figure* f = DrawAndSelectRect({10, 10}, {50, 40});
  Slider(*Form, "HTrackBar")->setValue(7);
  EXPECT_EQ(f->End.X, 57);
  ClickButton(Button(*Form, "DeleteBtn"));
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change, ActionKind::Delete}));
  const Action& size = S().History.At(S().History.Count() - 1);
  EXPECT_EQ(size.Parameter, ParameterKind::Size);
  EXPECT_EQ(size.FigData.End.X, 57);
  EXPECT_EQ(Last().TargetID, 1);
  EXPECT_FALSE(S().PendingResize);
  EXPECT_EQ(S().DeletedFigs.Last().End.X, 57);
}

TEST_F(EditCommands, FrontAndBackMoveOnePlaceAndRefuseAtTheEnds) {
  DrawRect(*Form, {10, 10}, {50, 40});    // A
  DrawRect(*Form, {100, 10}, {150, 40});  // B
  DrawRect(*Form, {200, 10}, {250, 40});  // C
  EnterEditMode(*Form);
  auto order = [this] {
    std::string s;
    for (const Figure* f : Figures(S().DrawingFigs)) s += char('A' + f->Start.X / 100);
    return s;
  };
  CanvasClick(*Form, 220, 25);  // C, the front-most
  ClickButton(Button(*Form, "FrontBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより前にいくことができません。");
  EXPECT_EQ(Records(), 3);
  ClickButton(Button(*Form, "BackBtn"));
  EXPECT_EQ(order(), "ACB");
  EXPECT_EQ(Last().TargetType, ActionKind::Back);
  EXPECT_EQ(Last().TargetID, 3);
  ClickButton(Button(*Form, "BackBtn"));
  EXPECT_EQ(order(), "CAB");
  Dialogs.Shown.clear();
  ClickButton(Button(*Form, "BackBtn"));
  EXPECT_EQ(Dialogs.LastText(), "これより後ろにいくことができません。");
  EXPECT_EQ(order(), "CAB");
  ClickButton(Button(*Form, "FrontBtn"));
  EXPECT_EQ(order(), "ACB");
  EXPECT_EQ(Last().TargetType, ActionKind::Front);
  EXPECT_EQ(Records(), 6);
}

TEST_F(EditCommands, EveryCommandDropsAnUnfinishedTextChange) {
  ChooseTool(Button(*Form, "TextBtn"));
  CanvasClick(*Form, 100, 80);
  TypeText(*Form, "abc");
  PressKey(*Form, Qt::Key_Return);
  EnterEditMode(*Form);
  CanvasClick(*Form, 102, 85);
  ASSERT_NE(S().SelectedFig, nullptr);
  ClickButton(Button(*Form, "ChangeTextBtn"));
  ASSERT_TRUE(TextBox(*Form)->isVisible());
  TypeText(*Form, "xyz");
  ClickButton(Button(*Form, "ThickBtn"));
  EXPECT_FALSE(TextBox(*Form)->isVisible());
  EXPECT_TRUE(TextBox(*Form)->text().isEmpty());
  EXPECT_EQ(S().SelectedFig->Text, "abc");
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change}));
}

}  // namespace

namespace {

class FigureIdentity : public FormTest {};

// A figure drawn where a deleted or cleared one was kept in memory must not
// inherit that figure's ID: its moves would replay on the wrong figure.
TEST_F(FigureIdentity, ANewFigureNeverTakesTheIDOfOneThatWasRemoved) {
  for (int round = 0; round < 2; ++round) {
    DrawRect(*Form, {10, 10}, {60, 60});
    EnterEditMode(*Form);
    CanvasClick(*Form, 30, 30);
    ASSERT_NE(S().SelectedFig, nullptr);
    if (round == 0) {
      ClickButton(Button(*Form, "DeleteBtn"));
    } else {
      ASSERT_TRUE(TriggerMenu(MenuAction(*Form, "ClearImageMenu")));
    }
    EnterDrawMode(*Form);
    DrawRect(*Form, {10, 10}, {60, 60});
    const int32_t id = S().History.Last().TargetID;
    EnterEditMode(*Form);
    CanvasDrag(*Form, {30, 30}, {80, 50});
    ASSERT_EQ(S().History.Last().TargetType, ActionKind::Move);
    EXPECT_EQ(S().History.Last().TargetID, id) << "round " << round;
    // What the view mode rebuilds is what was on the screen.
    CanvasClick(*Form, 600, 400);  // nothing selected: no frame
    const QImage shown = Canvas(*Form)->Image.copy();
    MutableState(*Form).CurrentStep = S().History.Count();
    GoToStep(MutableState(*Form));
    EXPECT_EQ(Canvas(*Form)->Image, shown);
    EnterDrawMode(*Form);
  }
}

}  // namespace
