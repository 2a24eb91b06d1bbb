// A change record copies exactly the attribute it names onto the figure.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "history/play.h"
#include "support/builders.h"

namespace {

// The names of the plain fields in which two figures differ.
std::string Differences(const Figure& a, const Figure& b) {
  std::string d;
  if (a.DrawingTool != b.DrawingTool) d += "DrawingTool ";
  if (a.PenWidth != b.PenWidth) d += "PenWidth ";
  if (a.PenColor != b.PenColor) d += "PenColor ";
  if (a.BrushColor != b.BrushColor) d += "BrushColor ";
  if (a.BrushStyle != b.BrushStyle) d += "BrushStyle ";
  if (a.TextSize != b.TextSize) d += "TextSize ";
  if (a.TextColor != b.TextColor) d += "TextColor ";
  if (a.Text != b.Text) d += "Text ";
  if (!(a.Start == b.Start)) d += "Start ";
  if (!(a.End == b.End)) d += "End ";
  return d;
}

Figure FigureWithValue(int32_t v) {
  Figure f;
  f.DrawingTool = ToolKind::Text;
  f.PenWidth = v;
  f.PenColor = v + 1;
  f.BrushColor = v + 2;
  f.BrushStyle = static_cast<uint8_t>(v % 2);
  f.TextSize = v + 3;
  f.TextColor = v + 4;
  f.Text = "t" + std::to_string(v);
  f.Start = {v, v};
  f.End = {v + 50, v + 20};
  return f;
}

struct ChangeCase {
  ParameterKind Parameter;
  const char* Changed;
  const char* Name;  // the case's name in the test list: never the bytes of Changed
};

// The parameter as gtest prints it (by default the bytes of the struct,
// whose pointers differ from run to run).
void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.Name; }

class ChangeEach : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeEach, CopiesOnlyItsAttribute) {
  FigureList list;
  Figure* target = &*list.Add(FigureWithValue(10));
  HistoryList h;
  Figure wanted = FigureWithValue(77);
  Action& rec = h.Add(wanted);
  rec.TargetType = ActionKind::Change;
  rec.Parameter = GetParam().Parameter;
  const Figure before = *target;
  ApplyChange(rec, *target);
  EXPECT_EQ(Differences(before, *target), GetParam().Changed);
  // ...and they now hold the record's values.
  const std::string left = Differences(*target, wanted);
  std::istringstream changed(GetParam().Changed);
  for (std::string field; changed >> field;) EXPECT_EQ(left.find(field + " "), std::string::npos) << field;
}

INSTANTIATE_TEST_SUITE_P(Parameters, ChangeEach,
                         ::testing::Values(ChangeCase{ParameterKind::BodyColor, "BrushColor ", "BodyColor"},
                                           ChangeCase{ParameterKind::LineWidth, "PenWidth ", "LineWidth"},
                                           ChangeCase{ParameterKind::LineColor, "PenColor ", "LineColor"},
                                           ChangeCase{ParameterKind::TextColor, "TextColor ", "TextColor"},
                                           ChangeCase{ParameterKind::Text, "Text Start End ", "Text"},
                                           ChangeCase{ParameterKind::Size, "TextSize Start End ", "Size"},
                                           ChangeCase{ParameterKind::None, "", "None"},
                                           ChangeCase{static_cast<ParameterKind>(99), "", "Unknown"}),
                         [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.Name); });

TEST(ApplyChange, SizeCopiesTheVerticesAndTheirBounds) {
  FigureList list;
  Figure* target = &*list.Add(polygon({{0, 0}, {10, 10}}));
  HistoryList h;
  Action& rec = h.Add(polygon({{0, 0}, {30, 20}}));
  rec.Parameter = ParameterKind::Size;
  ApplyChange(rec, *target);
  const Vertex& p = target->PointData;
  EXPECT_EQ(p.Points[1], (Point{30, 20}));
  EXPECT_EQ(p.MaxX, 30);
  EXPECT_EQ(p.MaxY, 20);
  EXPECT_EQ(target->End, (Point{30, 20}));
}

// A damaged file may give the record fewer vertices than the figure.
TEST(ApplyChange, SizeWithFewerRecordedVerticesCopiesTheCommonOnes) {
  FigureList list;
  Figure* target = &*list.Add(freeLine({{1, 1}, {2, 2}, {3, 3}}));
  HistoryList h;
  Action& rec = h.Add(freeLine({{9, 9}}));
  rec.Parameter = ParameterKind::Size;
  ApplyChange(rec, *target);
  EXPECT_EQ(target->PointData.Count(), 3);
  EXPECT_EQ(target->PointData.Points[0], (Point{9, 9}));
  EXPECT_EQ(target->PointData.Points[2], (Point{3, 3}));
  rec.FigData.PointData.Reset();  // and none at all
  ApplyChange(rec, *target);
  EXPECT_EQ(target->PointData.Count(), 3);
  EXPECT_EQ(target->PointData.Points[0], (Point{9, 9}));
}

TEST(ApplyChange, SizeReplacesStampContentsWithCopies) {
  FigureList list;
  Figure* target = &*list.Add(stamp({}, {FigureWithValue(1)}));
  HistoryList h;
  Action& rec = h.Add(stamp({}, {FigureWithValue(2), FigureWithValue(3)}));
  rec.Parameter = ParameterKind::Size;
  ApplyChange(rec, *target);
  std::vector<Figure>& got = target->StampData;
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].Text, "t2");
  got[0].Text = "changed";  // copies, not the record's own contents
  EXPECT_EQ(rec.FigData.StampData[0].Text, "t2");
}

}  // namespace
