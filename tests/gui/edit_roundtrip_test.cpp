// What the edit commands, the text box and the sliders record rebuilds the
// same drawing when the history is replayed.
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "history/play.h"
#include "history/actions.h"
#include "support/gui_helpers.h"
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

class EditRoundTrip : public WindowTest {};

TEST_F(EditRoundTrip, ReplayRebuildsWhatTheCommandsMade) {
  DrawRect(*Window, {10, 10}, {50, 40});     // A
  DrawEllipse(*Window, {100, 10}, {160, 60});  // B
  PlaceText(*Window, {200, 200}, "abc");  // T

  // A stamp with a rectangle, a text and a polyline inside, and a polyline.
  BuiltFigure r = rect({0, 0}, {20, 10});
  r.PenWidth = 2;
  r.BrushColor = 0x00FF00;
  BuiltFigure t = text("s", {5, 12}, 12);
  t.End = {15, 24};
  BuiltFigure p = polyline({{0, 30}, {13, 40}, {30, 35}});
  CreateFigure(MutableState(*Window), stamp({300, 300}, {330, 340}, {r, t, p}));
  p.Offset(400, 100);
  CreateFigure(MutableState(*Window), p);

  EnterEditMode(*Window);
  CanvasClick(*Window, 30, 25);  // A
  ClickButton(Button(*Window, "ThickBtn"));
  QTest::mouseClick(ColorPanel(*Window, 2), Qt::LeftButton);
  ClickButton(Button(*Window, "LineColorBtn"));
  Slider(*Window, "HTrackBar")->setValue(12);
  Slider(*Window, "VTrackBar")->setValue(-3);
  ClickButton(Button(*Window, "DupBtn"));  // A', selected
  QTest::mouseClick(Swatch(*Window, "ClearPanel"), Qt::LeftButton);
  ClickButton(Button(*Window, "BodyColorBtn"));
  CanvasClick(*Window, 130, 35);  // B
  ClickButton(Button(*Window, "BackBtn"));
  ClickButton(Button(*Window, "DeleteBtn"));
  CanvasClick(*Window, 202, 205);  // T
  Slider(*Window, "VTrackBar")->setValue(-6);
  ClickButton(Button(*Window, "ChangeTextBtn"));
  TextBox(*Window)->end(false);
  TypeText(*Window, "de");
  PressKey(*Window, Qt::Key_Return);
  QTest::mouseClick(ColorPanel(*Window, 10), Qt::LeftButton);
  ClickButton(Button(*Window, "TextColorBtn"));
  CanvasClick(*Window, 315, 320);  // the stamp
  Slider(*Window, "HTrackBar")->setValue(15);
  Slider(*Window, "VTrackBar")->setValue(5);
  CanvasClick(*Window, 413, 135);  // the polyline
  Slider(*Window, "HTrackBar")->setValue(-4);
  Slider(*Window, "VTrackBar")->setValue(9);
  ClickButton(Button(*Window, "UndoBtn"));  // B comes back in front
  ClickButton(Button(*Window, "FrontBtn"));
  EnterDrawMode(*Window);  // records the last pending resize
  ASSERT_FALSE(S().ResizePending());
  ASSERT_TRUE(Dialogs.Shown.empty()) << Dialogs.LastText();

  FigureList before;
  for (const Figure* f : Figures(S().Figures())) before.Add(*f);
  FigureList deletedBefore;
  for (const Figure* f : Figures(S().DeletedFigures())) deletedBefore.Add(*f);
  ASSERT_EQ(before.Count(), 6);

  MutableState(*Window).SelectedFig = MutableState(*Window).MarkedFig = nullptr;
  GoToStep(MutableState(*Window), S().History().Count());
  ExpectSameList(S().Figures(), before);
  ExpectSameList(S().DeletedFigures(), deletedBefore);
}

}  // namespace
