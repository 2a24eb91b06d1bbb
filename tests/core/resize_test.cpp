#include <gtest/gtest.h>

#include <string>

#include "history/resize.h"
#include "history/actions.h"
#include "support/builders.h"
#include "support/drawing_door.h"

namespace {

// Width of a text as a fixed 5 pixels per byte and point beyond 5, so that
// the size shows in the width.
int32_t FakeWidth(const std::string& text, int32_t size) {
  return static_cast<int32_t>(text.size()) * (size - 5);
}


struct Resize : ::testing::Test {
  AppState S;

  // Draws a figure, selects it and takes it as the resize reference.
  Figure* AddSelected(const Figure& f) {
    Figure* item = CreateFigure(S, f);
    Select(item);
    return item;
  }
  void Select(Figure* item) {
    S.SelectedFig = S.MarkedFig = item;
    TakeResizeReference(S);
  }
  // What the screen shows of `f` once a slider has moved: its preview (the
  // drawing keeps `f` as recorded).
  const Figure& ShownAfter(const Figure*) const { return S.Preview.Fig; }
  ResizeResult H(int32_t p) { return ResizeSelectedFig(S, true, p, FakeWidth); }
  ResizeResult V(int32_t q) { return ResizeSelectedFig(S, false, q, FakeWidth); }
};

TEST_F(Resize, NothingSelectedDoesNothing) {
  EXPECT_EQ(H(10), ResizeResult::NoSelection);
  EXPECT_FALSE(S.ResizePending());
  EXPECT_EQ(S.Preview.Of, nullptr);
}

TEST_F(Resize, BoxGrowsOnBothSidesAgainstTheReference) {
  const Figure& F = ShownAfter(AddSelected(shape(ToolKind::Rectangle, {100, 100}, {200, 150})));
  EXPECT_EQ(H(10), ResizeResult::Done);
  EXPECT_EQ(F.Start, (Point{90, 100}));
  EXPECT_EQ(F.End, (Point{210, 150}));
  V(-20);
  EXPECT_EQ(F.Start, (Point{90, 120}));
  EXPECT_EQ(F.End, (Point{210, 130}));
  H(0);
  EXPECT_EQ(F.Start, (Point{100, 120}));
  EXPECT_EQ(F.End, (Point{200, 130}));
  V(0);
  EXPECT_EQ(F.Start, (Point{100, 100}));
  EXPECT_EQ(F.End, (Point{200, 150}));
}

TEST_F(Resize, ReversedLineUsesTheSameFormulas) {
  const Figure& F = ShownAfter(AddSelected(shape(ToolKind::Line, {200, 50}, {100, 20})));
  H(5);
  EXPECT_EQ(F.Start.X, 195);
  EXPECT_EQ(F.End.X, 105);
}

TEST_F(Resize, VerticesStretchBetweenTheReferenceEnds) {
  Vertex pts;
  pts.AddPoint(0, 0);
  pts.AddPoint(25, 50);
  pts.AddPoint(100, 10);
  Figure f = shape(ToolKind::Polyline, {}, {});
  f.PointData = pts;
  f.SetBoundsFromPoints();
  const Figure& F = ShownAfter(AddSelected(f));
  H(10);
  EXPECT_EQ(F.Start.X, -10);
  EXPECT_EQ(F.End.X, 110);
  EXPECT_EQ(F.PointData.Points[0], (Point{-10, 0}));
  EXPECT_EQ(F.PointData.Points[1], (Point{20, 50}));
  EXPECT_EQ(F.PointData.Points[2], (Point{110, 10}));
  // The bounds of the vertex list are not touched.
  EXPECT_EQ(F.PointData.MinX, 0);
  EXPECT_EQ(F.PointData.MaxX, 100);
  // Vertically: reference 0 … 50, one vertex at 10 and Q = -5 (shrink).
  V(-5);
  EXPECT_EQ(F.Start.Y, 5);
  EXPECT_EQ(F.End.Y, 45);
  EXPECT_EQ(F.PointData.Points[2].Y, 13);  // 5 + trunc(10/50 × −10 + 10)
  // Back at 0 every vertex is exactly where it was.
  H(0);
  V(0);
  EXPECT_EQ(F.PointData.Points[1], (Point{25, 50}));
  EXPECT_EQ(F.PointData.Points[2], (Point{100, 10}));
}

TEST_F(Resize, VertexTruncatesTowardZero) {
  // Reference 0 … 3, vertex at 1. P = 1: −1 + trunc(1.67) = 0. P = −2:
  // 2 + trunc(−0.33) = 2 (rounding down would give 1).
  Vertex pts;
  pts.AddPoint(0, 0);
  pts.AddPoint(1, 0);
  pts.AddPoint(3, 0);
  Figure f = shape(ToolKind::FreeLine, {}, {});
  f.PointData = pts;
  f.SetBoundsFromPoints();
  const Figure& F = ShownAfter(AddSelected(f));
  H(1);
  EXPECT_EQ(F.PointData.Points[1].X, 0);
  H(-2);
  EXPECT_EQ(F.PointData.Points[1].X, 2);
}

TEST_F(Resize, ZeroExtentLeavesThatAxisAlone) {
  Vertex pts;  // a vertical free line: no width to stretch
  pts.AddPoint(50, 10);
  pts.AddPoint(50, 90);
  Figure f = shape(ToolKind::FreeLine, {}, {});
  f.PointData = pts;
  f.SetBoundsFromPoints();
  const Figure& F = ShownAfter(AddSelected(f));
  EXPECT_EQ(H(30), ResizeResult::Done);
  EXPECT_EQ(F.Start, (Point{50, 10}));
  EXPECT_EQ(F.End, (Point{50, 90}));
  EXPECT_EQ(F.PointData.Points[0], (Point{50, 10}));
  V(10);  // the other axis still works
  EXPECT_EQ(F.PointData.Points[0], (Point{50, 0}));
  EXPECT_EQ(F.PointData.Points[1], (Point{50, 100}));
}

TEST_F(Resize, TextChangesItsSizeAndKeepsAtLeastSix) {
  Figure t = shape(ToolKind::Text, {100, 80}, {130, 90});
  t.Text = "abc";
  t.TextSize = 10;
  const Figure& F = ShownAfter(AddSelected(t));
  H(-4);
  EXPECT_EQ(F.TextSize, 6);
  EXPECT_EQ(F.Start, (Point{100, 80}));
  EXPECT_EQ(F.End.X, 100 + 3 * 1);
  EXPECT_EQ(F.End.Y, 87);  // trunc(80 + 7.2)
  H(-5);                   // 5 would be too small: stays as it was
  EXPECT_EQ(F.TextSize, 6);
  EXPECT_EQ(F.End.X, 103);
  V(-10);  // thumb raised: larger
  EXPECT_EQ(F.TextSize, 20);
  EXPECT_EQ(F.End.X, 100 + 3 * 15);
  EXPECT_EQ(F.End.Y, 104);
}

TEST_F(Resize, TextBackAtZeroIsExactlyTheReference) {
  // A text made by typing has End.Y = Start.Y + size, not the resized
  // height: a bar set back to 0 (also by the program) must not change it.
  Figure t = shape(ToolKind::Text, {10, 10}, {37, 22});
  t.Text = "abc";
  t.TextSize = 12;
  const Figure& F = ShownAfter(AddSelected(t));
  H(0);
  EXPECT_EQ(F.End, (Point{37, 22}));
  H(8);
  V(0);
  EXPECT_EQ(F.TextSize, 12);
  EXPECT_EQ(F.End, (Point{37, 22}));
  const int32_t before = S.History().Count();
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), before);
}

TEST_F(Resize, TextOfSizeTenStaysAtMinusFiveFromFresh) {
  Figure t = shape(ToolKind::Text, {10, 10}, {40, 22});
  t.Text = "x";
  t.TextSize = 10;
  const Figure& F = ShownAfter(AddSelected(t));
  H(-5);
  EXPECT_EQ(F.TextSize, 10);
  EXPECT_EQ(F.End, (Point{40, 22}));
}

// A stamp 40 × 20 at (100, 100) holding a rectangle, a text, a polyline and a
// nested stamp, with coordinates relative to the stamp's Start.
struct StampResize : Resize {
  Figure* Stamp = nullptr;
  Figure& Live(int i) { return S.Preview.Fig.StampData.at(i); }
  const Figure& Shown() const { return S.Shown(*Stamp); }
  void SetUp() override {
    std::vector<Figure> contents;
    contents.push_back(shape(ToolKind::Rectangle, {10, 2}, {30, 12}));
    Figure t = shape(ToolKind::Text, {10, 4}, {30, 16});
    t.TextSize = 9;
    t.Text = "ab";
    contents.push_back(t);
    Vertex pts;
    pts.AddPoint(0, 0);
    pts.AddPoint(15, 20);
    Figure p = shape(ToolKind::Polyline, {}, {});
    p.PointData = pts;
    p.SetBoundsFromPoints();
    contents.push_back(p);
    std::vector<Figure> inner;
    inner.push_back(shape(ToolKind::Ellipse, {2, 0}, {6, 4}));
    Figure n = shape(ToolKind::Stamp, {20, 10}, {28, 14});
    n.StampData = inner;
    contents.push_back(n);
    Figure s = shape(ToolKind::Stamp, {100, 100}, {140, 120});
    s.StampData = contents;
    Stamp = AddSelected(s);
  }
};

TEST_F(StampResize, TwiceAsWideDoublesTheContents) {
  const Figure recorded = *Stamp;
  EXPECT_EQ(H(20), ResizeResult::Done);
  EXPECT_EQ(*Stamp, recorded);  // only the preview changes, to any depth
  EXPECT_EQ(Shown().Start, (Point{80, 100}));
  EXPECT_EQ(Shown().End, (Point{160, 120}));
  EXPECT_EQ(Live(0).Start, (Point{20, 2}));
  EXPECT_EQ(Live(0).End, (Point{60, 12}));
  // The text keeps its size and stays centred on its scaled place.
  EXPECT_EQ(Live(1).Start, (Point{30, 4}));
  EXPECT_EQ(Live(1).End, (Point{70, 16}));
  EXPECT_EQ(Live(1).TextSize, 9);
  EXPECT_EQ(Live(2).PointData.Points[1], (Point{30, 20}));
  EXPECT_EQ(Live(2).End.X, 30);
  // The nested stamp and, relative to it, its own contents.
  EXPECT_EQ(Live(3).Start.X, 40);
  EXPECT_EQ(Live(3).End.X, 56);
  Figure& inner = Live(3).StampData.front();
  EXPECT_EQ(inner.Start, (Point{4, 0}));
  EXPECT_EQ(inner.End, (Point{12, 4}));
  // Back at 0 all is as recorded.
  H(0);
  EXPECT_EQ(Live(0).Start, (Point{10, 2}));
  EXPECT_EQ(Live(1).End, (Point{30, 16}));
  EXPECT_EQ(inner.End, (Point{6, 4}));
}

TEST_F(StampResize, VerticalTouchesOnlyY) {
  V(10);  // 20 → 40 high: ratio 2
  EXPECT_EQ(Shown().Start, (Point{100, 90}));
  EXPECT_EQ(Shown().End, (Point{140, 130}));
  EXPECT_EQ(Live(0).Start, (Point{10, 4}));
  EXPECT_EQ(Live(0).End, (Point{30, 24}));
  EXPECT_EQ(Live(2).PointData.Points[1], (Point{15, 40}));
}

TEST_F(StampResize, PlacedFromTheSelectionEvenWhenTheSnapshotIsOlder) {
  // After a replay only the creating record points at the figure, and that
  // record may hold an older place: the stamp must not jump back to it.
  Stamp->Offset(50, 0);
  TakeResizeReference(S);
  H(20);
  EXPECT_EQ(Shown().Start.X, 130);
  EXPECT_EQ(Shown().End.X, 210);
  EXPECT_EQ(Live(0).End.X, 60);
}

TEST_F(StampResize, WithoutAnyRecordItIsLeftAloneAndReported) {
  Writable(S).History.Clear();  // the figures stay, no record knows them
  EXPECT_EQ(H(20), ResizeResult::StampUnresolved);
  EXPECT_EQ(Shown().Start, (Point{100, 100}));
  EXPECT_EQ(Stamp->StampData.at(0).End, (Point{30, 12}));
  EXPECT_FALSE(S.ResizePending());
  EXPECT_EQ(S.Preview.Of, nullptr);
  EXPECT_EQ(S.StampReference, nullptr);
}

TEST(ScaleStamp, ZeroReferenceExtentLeavesContents) {
  Figure ref = shape(ToolKind::Stamp, {0, 5}, {10, 5});
  ref.StampData = {shape(ToolKind::Rectangle, {1, 0}, {3, 0})};
  Figure live = shape(ToolKind::Stamp, {0, 0}, {10, 10});
  live.StampData = {shape(ToolKind::Rectangle, {1, 0}, {3, 0})};
  ScaleStampContents(ref, false, live);
  EXPECT_EQ(live.StampData.back().End, (Point{3, 0}));
}

TEST_F(Resize, ResizingRecordsNothingUntilFlushed) {
  Figure* a = AddSelected(shape(ToolKind::Rectangle, {100, 100}, {200, 150}));
  const int32_t before = S.History().Count();
  for (int p = 1; p <= 30; ++p) H(p);
  EXPECT_EQ(S.History().Count(), before);
  EXPECT_TRUE(S.ResizePending());
  EXPECT_EQ(S.Preview.Of, a);
  CommitPreview(S);
  ASSERT_EQ(S.History().Count(), before + 1);
  EXPECT_EQ(S.History().Last().TargetType, ActionKind::Change);
  EXPECT_EQ(S.History().Last().Parameter, ParameterKind::Size);
  EXPECT_EQ(S.History().Last().FigData.Start, (Point{70, 100}));
  EXPECT_FALSE(S.ResizePending());
}

TEST_F(Resize, AnotherFigureRecordsTheFirstOnceAndStaysPending) {
  Figure* a = AddSelected(shape(ToolKind::Rectangle, {100, 100}, {200, 150}));
  Figure* b = AddSelected(shape(ToolKind::Ellipse, {10, 10}, {50, 40}));
  const int32_t before = S.History().Count();
  Select(a);
  H(10);
  Select(b);
  V(5);
  ASSERT_EQ(S.History().Count(), before + 1);
  EXPECT_EQ(S.History().Last().TargetFig, a);
  EXPECT_EQ(S.History().Last().TargetID, 1);
  EXPECT_EQ(S.Preview.Of, b);
  EXPECT_TRUE(S.ResizePending());
  V(6);  // the same figure again: nothing more recorded
  EXPECT_EQ(S.History().Count(), before + 1);
}

TEST_F(Resize, BroughtBackRecordsNothing) {
  AddSelected(shape(ToolKind::Rectangle, {100, 100}, {200, 150}));
  const int32_t before = S.History().Count();
  H(40);
  H(0);
  CommitPreview(S);
  EXPECT_EQ(S.History().Count(), before);
  EXPECT_EQ(S.Preview.Of, nullptr);
}

TEST_F(StampResize, AnotherStampUsesItsOwnReference) {
  // A pending stamp resize must not lend its reference to the next stamp.
  H(20);
  std::vector<Figure> c;
  c.push_back(shape(ToolKind::Rectangle, {0, 0}, {8, 8}));
  Figure s = shape(ToolKind::Stamp, {300, 300}, {308, 308});
  s.StampData = c;
  Figure* second = AddSelected(s);
  H(4);  // 8 → 16 wide
  const Figure& shown = S.Shown(*second);
  EXPECT_EQ(shown.Start.X, 296);
  EXPECT_EQ(shown.End.X, 312);
  EXPECT_EQ(shown.StampData.back().End.X, 16);
  EXPECT_EQ(shown.StampData.size(), 1u);
}

}  // namespace
