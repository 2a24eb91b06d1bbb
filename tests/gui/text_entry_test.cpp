// The text box: new texts in the draw mode, changed texts in the edit mode.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QToolButton>

#include "support/gui_helpers.h"

namespace {

class TextEntry : public WindowTest {
 protected:
  // Opens the box with the text tool at (x, y).
  void OpenTextBox(int x, int y) {
    ChooseTool(Button(*Window, "TextBtn"));
    CanvasClick(*Window, x, y);
  }
  int32_t Width(const std::string& text, int32_t size) { return Window->FigureTextWidth(text, size); }
};

TEST_F(TextEntry, EnterInTheDrawModeMakesAMeasuredText) {
  OpenTextBox(100, 80);
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_EQ(TextBox(*Window)->pos(), QPoint(100, 80));
  TypeText(*Window, "abc");
  EXPECT_EQ(S().History().Count(), 0);  // typing alone makes nothing
  PressKey(*Window, Qt::Key_Return);

  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(TextBox(*Window)->text().isEmpty());
  ASSERT_EQ(S().Figures().Count(), 1);
  const Figure& t = S().Figures().Last();
  EXPECT_EQ(t.DrawingTool, ToolKind::Text);
  EXPECT_EQ(t.Text, "abc");
  EXPECT_EQ(t.TextSize, 12);
  EXPECT_EQ(t.TextColor, clBlack);
  EXPECT_EQ(t.Start, (Point{100, 80}));
  const int32_t w = Width("abc", 12);
  EXPECT_GT(w, 10);
  EXPECT_EQ(t.End, (Point{100 + w, 92}));
  EXPECT_EQ(ActionKinds(S()), std::vector<ActionKind>{ActionKind::Create});
  EXPECT_EQ(S().History().Last().FigData.Text, "abc");
  // The text is on the canvas: some pixel of its cell is dark.
  bool inked = false;
  for (int y = 80; y < 96 && !inked; ++y)
    for (int x = 100; x < 100 + w && !inked; ++x) inked = CanvasPixel(*Window, x, y) != 0xFFFFFFu;
  EXPECT_TRUE(inked);
}

TEST_F(TextEntry, MeasuredInTheFigureFont) {
  // Wider text measures wider, larger size measures wider.
  EXPECT_LT(Width("abc", 12), Width("abcdef", 12));
  EXPECT_LT(Width("abc", 12), Width("abc", 20));
  EXPECT_EQ(Width("", 12), 0);
}

TEST_F(TextEntry, JapaneseTextFromTheInputMethodIsKept) {
  OpenTextBox(20, 30);
  // What an input method sends: a preedit string, then the committed text.
  QInputMethodEvent preedit(QStringLiteral("ねこ"), {});
  QApplication::sendEvent(TextBox(*Window), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("ねこ"));
  QApplication::sendEvent(TextBox(*Window), &commit);
  PressKey(*Window, Qt::Key_Return);
  ASSERT_EQ(S().Figures().Count(), 1);
  const Figure& t = S().Figures().Last();
  EXPECT_EQ(t.Text, "ねこ");
  EXPECT_EQ(t.End.X, 20 + Width("ねこ", 12));
}

TEST_F(TextEntry, EmptyBoxMakesNothing) {
  OpenTextBox(100, 80);
  PressKey(*Window, Qt::Key_Return);
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_TRUE(Button(*Window, "TextBtn")->isChecked());  // the text tool stays
}

TEST_F(TextEntry, EscapeLeavesTheTextTool) {
  OpenTextBox(100, 80);
  TypeText(*Window, "abc");
  PressKey(*Window, Qt::Key_Escape);
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_TRUE(TextBox(*Window)->text().isEmpty());
  EXPECT_TRUE(S().Figures().IsEmpty());
  EXPECT_EQ(S().History().Count(), 0);
  EXPECT_EQ(S().CurrentTool, ToolKind::None);
  EXPECT_TRUE(Button(*Window, "SelectionBtn")->isChecked());
}

TEST_F(TextEntry, ChangingATextWidensItAndRecordsOneChange) {
  PlaceText(*Window, {100, 80}, "abc");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  Figure* f = S().SelectedFig;
  ASSERT_NE(f, nullptr);
  const int32_t oldEnd = f->End.X;
  ClickButton(Button(*Window, "ChangeTextBtn"));
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  EXPECT_EQ(TextBox(*Window)->pos(), QPoint(100, 80));
  EXPECT_EQ(TextBox(*Window)->width(), oldEnd - 100 + 30);
  EXPECT_EQ(TextBox(*Window)->text(), QStringLiteral("abc"));
  EXPECT_EQ(S().History().Count(), 1);  // opening records nothing

  TextBox(*Window)->end(false);
  TypeText(*Window, "def");
  PressKey(*Window, Qt::Key_Return);
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_EQ(f->Text, "abcdef");
  EXPECT_EQ(f->Start, (Point{100, 80}));
  EXPECT_EQ(f->End, (Point{100 + Width("abcdef", 12), 92}));
  EXPECT_GT(f->End.X, oldEnd);
  ASSERT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Change}));
  const Action& c = S().History().Last();
  EXPECT_EQ(c.Parameter, ParameterKind::Text);
  EXPECT_EQ(c.TargetID, 1);
  EXPECT_EQ(c.FigData.Text, "abcdef");
}

TEST_F(TextEntry, ChangeTextIgnoresOtherKinds) {
  DrawRect(*Window, {10, 10}, {50, 40});
  EnterEditMode(*Window);
  CanvasClick(*Window, 30, 25);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  EXPECT_FALSE(TextBox(*Window)->isVisible());
}

TEST_F(TextEntry, EnterAfterTheSelectionMovedOnChangesNothing) {
  PlaceText(*Window, {100, 80}, "abc");
  PlaceText(*Window, {300, 200}, "xyz");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  TypeText(*Window, "!");
  CanvasClick(*Window, 302, 205);  // another text becomes the selection
  ASSERT_EQ(S().SelectedFig, &S().Figures().Last());
  PressKey(*Window, Qt::Key_Return);
  EXPECT_FALSE(TextBox(*Window)->isVisible());
  EXPECT_EQ(S().Figures().First().Text, "abc");
  EXPECT_EQ(S().Figures().Last().Text, "xyz");
  EXPECT_EQ(S().History().Count(), 2);

  // Nothing selected at all: the same.
  CanvasClick(*Window, 102, 85);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  CanvasClick(*Window, 600, 400);
  ASSERT_EQ(S().SelectedFig, nullptr);
  PressKey(*Window, Qt::Key_Return);
  EXPECT_EQ(S().History().Count(), 2);
}

TEST_F(TextEntry, TextOpenedInTheDrawModeDoesNothingInTheEditMode) {
  PlaceText(*Window, {100, 80}, "abc");
  OpenTextBox(300, 200);
  TypeText(*Window, "zzz");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  if (TextBox(*Window)->isVisible()) PressKey(*Window, Qt::Key_Return);
  EXPECT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(S().Figures().Last().Text, "abc");
  EXPECT_EQ(S().History().Count(), 1);
}

TEST_F(TextEntry, OtherKeysTypeNormally) {
  OpenTextBox(10, 10);
  TypeText(*Window, "ab");
  PressKey(*Window, Qt::Key_Backspace);
  TypeText(*Window, "c");
  EXPECT_EQ(TextBox(*Window)->text(), QStringLiteral("ac"));
  EXPECT_TRUE(TextBox(*Window)->isVisible());
}

// The box opened on one text and then hidden by another command must not
// carry that text into a later, unrelated box.
TEST_F(TextEntry, AHiddenBoxForgetsTheTextItWasOpenedOn) {
  PlaceText(*Window, {100, 80}, "abc");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  Figure* a = S().SelectedFig;
  ASSERT_NE(a, nullptr);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  ASSERT_TRUE(TextBox(*Window)->isVisible());
  ClickButton(Button(*Window, "DupBtn"));  // hides the box
  ASSERT_FALSE(TextBox(*Window)->isVisible());

  // A new text typed in the draw mode, its box still open on the switch.
  EnterDrawMode(*Window);
  OpenTextBox(300, 300);
  TypeText(*Window, "XYZ");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  ASSERT_EQ(S().SelectedFig, a);
  if (TextBox(*Window)->isVisible()) PressKey(*Window, Qt::Key_Return);
  EXPECT_EQ(a->Text, "abc");
  for (const Figure* f : Figures(S().Figures())) EXPECT_NE(f->Text, "XYZ");
  EXPECT_EQ(ActionKinds(S()), (std::vector<ActionKind>{ActionKind::Create, ActionKind::Duplicate}));
}

TEST_F(TextEntry, AModeChangeForgetsTheTextBeingChanged) {
  PlaceText(*Window, {100, 80}, "abc");
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  // Through the view mode and back: the figures are rebuilt, and a rebuilt
  // figure may even sit where the old one was.
  EnterPlayMode(*Window);
  EnterEditMode(*Window);
  CanvasClick(*Window, 102, 85);
  ASSERT_NE(S().SelectedFig, nullptr);
  TextBox(*Window)->show();  // whatever shows the box again, it is not a change
  TextBox(*Window)->setText(QStringLiteral("XYZ"));
  PressKey(*Window, Qt::Key_Return);
  EXPECT_EQ(S().SelectedFig->Text, "abc");
  EXPECT_EQ(S().History().Count(), 1);
}

}  // namespace

namespace {

// The box grows and shrinks with the canvas, also while it is open, so the
// child types at the size the canvas shows; Enter places the text at the
// tapped canvas pixel all the same.
TEST_F(TextEntry, TheBoxFollowsTheCanvasSize) {
  QLineEdit* box = TextBox(*Window);
  auto expectBox = [&](double scale, const char* where) {
    SCOPED_TRACE(where);
    const QWidget* canvas = Canvas(*Window);
    ASSERT_EQ(canvas->width(), qRound(640 * scale));
    EXPECT_EQ(box->font().pixelSize(), qRound(16 * scale));
    EXPECT_EQ(box->height(), qRound(24 * scale));
    EXPECT_EQ(box->pos() - canvas->pos(), QPoint(qRound(100 * scale), qRound(80 * scale)));  // both in the canvas field
  };
  OpenTextBox(100, 80);
  expectBox(1, "at the opening size");
  const int width = box->width();
  Window->resize(800 + 640, 580 + 480);  // the canvas twice as large
  QApplication::processEvents();
  expectBox(2, "grown while open");
  EXPECT_EQ(box->width(), 2 * width);
  TypeText(*Window, "abc");
  PressKey(*Window, Qt::Key_Return);
  ASSERT_EQ(S().Figures().Count(), 1);
  EXPECT_EQ(S().Figures().Last().Start, (Point{100, 80}));

  CanvasClick(*Window, 200, 160);  // widget pixels: canvas pixel (100, 80)
  expectBox(2, "opened large");
  Window->resize(800, 580);
  QApplication::processEvents();
  expectBox(1, "back at the opening size");
  EXPECT_EQ(box->width(), width);
}

}  // namespace
