// What the edit commands, the text box and the sliders record rebuilds the
// same drawing when the history is replayed.
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "history/play.h"
#include "history/actions.h"
#include "support/form_fixture.h"
#include "support/builders.h"

namespace {

void ExpectSameFigure(const Figure& a, const Figure& b, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(a.DrawingTool, b.DrawingTool);
  EXPECT_EQ(a.PenWidth, b.PenWidth);
  EXPECT_EQ(a.PenColor, b.PenColor);
  EXPECT_EQ(a.BrushColor, b.BrushColor);
  EXPECT_EQ(a.TextSize, b.TextSize);
  EXPECT_EQ(a.TextColor, b.TextColor);
  EXPECT_EQ(a.Text, b.Text);
  EXPECT_EQ(a.Start, b.Start);
  EXPECT_EQ(a.End, b.End);
  ASSERT_EQ(a.PointData.Count(), b.PointData.Count());
  for (int32_t i = 0; i < a.PointData.Count(); ++i)
    EXPECT_EQ(a.PointData.Points[i], b.PointData.Points[i]) << "vertex " << i;
  ASSERT_EQ(a.StampData.size(), b.StampData.size());
  for (size_t i = 0; i < a.StampData.size(); ++i)
    ExpectSameFigure(a.StampData[i], b.StampData[i], where + " / " + std::to_string(i));
}

void ExpectSameList(const FigureList& a, const FigureList& b) {
  ASSERT_EQ(a.Count(), b.Count());
  auto y = b.begin();
  int i = 0;
  for (const Figure& x : a) ExpectSameFigure(x, *y++, std::to_string(i++));
}

class EditRoundTrip : public FormTest {};

TEST_F(EditRoundTrip, ReplayRebuildsWhatTheCommandsMade) {
  DrawRect(*Form, {10, 10}, {50, 40});     // A
  DrawEllipse(*Form, {100, 10}, {160, 60});  // B
  ChooseTool(Button(*Form, "TextBtn"));
  CanvasClick(*Form, 200, 200);
  TypeText(*Form, "abc");
  PressKey(*Form, Qt::Key_Return);  // T

  // A stamp with a rectangle, a text and a polyline inside, and a polyline.
  BuiltFigure r = rect({0, 0}, {20, 10});
  r.PenWidth = 2;
  r.BrushColor = 0x00FF00;
  BuiltFigure t = text("s", {5, 12}, 12);
  t.End = {15, 24};
  BuiltFigure p = polyline({{0, 30}, {13, 40}, {30, 35}});
  CreateFigure(MutableState(*Form), stamp({300, 300}, {330, 340}, {r, t, p}));
  p.Offset(400, 100);
  CreateFigure(MutableState(*Form), p);

  EnterEditMode(*Form);
  CanvasClick(*Form, 30, 25);  // A
  ClickButton(Button(*Form, "ThickBtn"));
  QTest::mouseClick(ColorPanel(*Form, 2), Qt::LeftButton);
  ClickButton(Button(*Form, "LineColorBtn"));
  Slider(*Form, "HTrackBar")->setValue(12);
  Slider(*Form, "VTrackBar")->setValue(-3);
  ClickButton(Button(*Form, "DupBtn"));  // A', selected
  QTest::mouseClick(Swatch(*Form, "ClearPanel"), Qt::LeftButton);
  ClickButton(Button(*Form, "BodyColorBtn"));
  CanvasClick(*Form, 130, 35);  // B
  ClickButton(Button(*Form, "BackBtn"));
  ClickButton(Button(*Form, "DeleteBtn"));
  CanvasClick(*Form, 202, 205);  // T
  Slider(*Form, "VTrackBar")->setValue(-6);
  ClickButton(Button(*Form, "ChangeTextBtn"));
  TextBox(*Form)->end(false);
  TypeText(*Form, "de");
  PressKey(*Form, Qt::Key_Return);
  QTest::mouseClick(ColorPanel(*Form, 10), Qt::LeftButton);
  ClickButton(Button(*Form, "TextColorBtn"));
  CanvasClick(*Form, 315, 320);  // the stamp
  Slider(*Form, "HTrackBar")->setValue(15);
  Slider(*Form, "VTrackBar")->setValue(5);
  CanvasClick(*Form, 413, 135);  // the polyline
  Slider(*Form, "HTrackBar")->setValue(-4);
  Slider(*Form, "VTrackBar")->setValue(9);
  ClickButton(Button(*Form, "UndoBtn"));  // B comes back in front
  ClickButton(Button(*Form, "FrontBtn"));
  EnterDrawMode(*Form);  // records the last pending resize
  ASSERT_FALSE(S().PendingResize);
  ASSERT_TRUE(Dialogs.Shown.empty()) << Dialogs.LastText();

  FigureList before;
  for (const Figure* f : Figures(S().DrawingFigs)) before.Add(*f);
  FigureList deletedBefore;
  for (const Figure* f : Figures(S().DeletedFigs)) deletedBefore.Add(*f);
  ASSERT_EQ(before.Count(), 6);

  MutableState(*Form).SelectedFig = MutableState(*Form).MarkedFig = nullptr;
  MutableState(*Form).CurrentStep = S().History.Count();
  GoToStep(MutableState(*Form));
  ExpectSameList(S().DrawingFigs, before);
  ExpectSameList(S().DeletedFigs, deletedBefore);
}

}  // namespace
