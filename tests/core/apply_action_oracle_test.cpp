// ApplyAction against figure lists written out by hand, one group per kind
// of record. Live editing and replay both go through ApplyAction, so the
// tests that compare the two cannot see a fault inside it; these can.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/play.h"
#include "support/builders.h"

namespace {

struct ApplyOracle : ::testing::Test {
  AppState S;
  HistoryList H;

  // Appends a record of `kind` as the next step: the history is put in
  // place again and every record applied in turn, as the drawing holds it.
  const Action& Apply(ActionKind kind, int32_t id = 0, const Figure& snapshot = Figure(),
                      ParameterKind parameter = ParameterKind::None) {
    addRecord(H, kind, id, snapshot, parameter);
    return ApplyAll();
  }
  const Action& Change(int32_t id, ParameterKind parameter, const Figure& snapshot) {
    return Apply(ActionKind::Change, id, snapshot, parameter);
  }
  const Action& ApplyAll() {
    LoadHistory(S, copyRecords(H));
    for (int32_t k = 1; k <= S.History().Count(); ++k) ApplyAction(S, k);
    return S.History().Last();
  }
  void Expect(const std::vector<Figure>& drawn, const std::vector<Figure>& deleted = {}) {
    EXPECT_EQ(listed(S.Figures()), drawn);
    EXPECT_EQ(listed(S.DeletedFigures()), deleted);
  }
};

const Figure A = rect({10, 10}, {50, 40});
const Figure B = ellipse({100, 100}, {160, 130});
const Figure C = polyline({{0, 0}, {20, 10}, {40, 0}});

TEST_F(ApplyOracle, CreateAndDuplicateAddTheirSnapshotsOnTop) {
  Apply(ActionKind::Create, 1, A);
  Expect({A});
  Apply(ActionKind::Create, 2, C);
  Expect({A, C});
  Figure copy = A;
  copy.Offset(20, 20);
  const Action& dup = Apply(ActionKind::Duplicate, 3, copy);
  Expect({A, C, rect({30, 30}, {70, 60})});
  // The record links the figure it made.
  EXPECT_EQ(dup.TargetFig, &S.Figures().Last());
  // The records' snapshots are copies: changing the figure leaves them.
  Figure wide = A;
  wide.PenWidth = 9;
  Change(1, ParameterKind::LineWidth, wide);
  EXPECT_EQ(S.Figures().First().PenWidth, 9);
  EXPECT_EQ(S.History().At(1).FigData, A);
}

TEST_F(ApplyOracle, MoveShiftsTheFigureToTheRecordedStartWithItsVertices) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Create, 2, C);
  Figure to = A;
  to.Start = {30, 15};  // only the start of the snapshot counts
  to.End = {0, 0};
  Apply(ActionKind::Move, 1, to);
  // A point figure's snapshot starts where its moved vertices do.
  Figure vertices = C;
  vertices.Offset(5, -5);
  Apply(ActionKind::Move, 2, vertices);
  Figure movedC = polyline({{5, -5}, {25, 5}, {45, -5}});
  movedC.PointData.MinX = C.PointData.MinX;  // the bounds stay where they were
  movedC.PointData.MinY = C.PointData.MinY;
  movedC.PointData.MaxX = C.PointData.MaxX;
  movedC.PointData.MaxY = C.PointData.MaxY;
  Expect({rect({30, 15}, {70, 45}), movedC});
  // An ID that no record created moves nothing.
  Apply(ActionKind::Move, 7, A);
  Expect({rect({30, 15}, {70, 45}), movedC});
}

TEST_F(ApplyOracle, DeleteKeepsTheFigureAndUndoBringsBackTheLatestFirst) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Create, 2, B);
  Apply(ActionKind::Create, 3, C);
  Apply(ActionKind::Delete, 1);
  Expect({B, C}, {A});
  Apply(ActionKind::Delete, 3);
  Expect({B}, {A, C});
  // A deleted figure cannot be deleted again.
  Apply(ActionKind::Delete, 1);
  Expect({B}, {A, C});
  // The record's own snapshot is not what comes back.
  Apply(ActionKind::Undo, 4, rect({0, 0}, {1, 1}));
  Expect({B, C}, {A});
  Apply(ActionKind::Undo, 5);
  Expect({B, C, A});
  Apply(ActionKind::Undo, 6);
  Expect({B, C, A});
  // The restored figure answers to the restoring record's ID.
  Apply(ActionKind::Delete, 5);
  Expect({B, C}, {A});
}

TEST_F(ApplyOracle, FrontAndBackMoveTheirFigureOnePlace) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Create, 2, B);
  Apply(ActionKind::Create, 3, C);
  Apply(ActionKind::Front, 1);
  Expect({B, A, C});
  Apply(ActionKind::Front, 1);
  Expect({B, C, A});
  Apply(ActionKind::Front, 1);  // front-most already
  Expect({B, C, A});
  Apply(ActionKind::Back, 3);
  Expect({C, B, A});
  Apply(ActionKind::Back, 3);  // back-most already
  Expect({C, B, A});
  Apply(ActionKind::Front, 9);
  Expect({C, B, A});
}

TEST_F(ApplyOracle, ChangeCopiesTheNamedAttributeOnly) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Create, 2, text("あ", {5, 5}, 12));
  Figure other = rect({1, 2}, {3, 4});
  other.PenColor = 0x0000FF;
  other.PenWidth = 7;
  other.BrushColor = 0x00FF00;
  Change(1, ParameterKind::LineColor, other);
  Change(1, ParameterKind::BodyColor, other);
  Figure a = A;
  a.PenColor = 0x0000FF;
  a.BrushColor = 0x00FF00;
  Figure words = text("いぬ", {8, 9}, 30);
  words.End = {60, 40};
  words.TextColor = 0xFF0000;
  Change(2, ParameterKind::Text, words);
  Change(2, ParameterKind::TextColor, words);
  Figure t = text("いぬ", {8, 9}, 12);
  t.End = {60, 40};
  t.TextColor = 0xFF0000;
  Expect({a, t});
  Change(1, ParameterKind::Size, other);
  a.Start = {1, 2};
  a.End = {3, 4};
  Change(1, ParameterKind::LineWidth, other);
  a.PenWidth = 7;
  Change(3, ParameterKind::LineWidth, other);  // no such figure
  Expect({a, t});
}

TEST_F(ApplyOracle, BackgroundAndClearRecords) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Create, 2, B);
  Apply(ActionKind::Delete, 2);
  addFileRecord(H, ActionKind::ReadBG, "umi.bmp");
  ApplyAll();
  EXPECT_EQ(S.BGFileName(), "umi.bmp");
  Expect({A}, {B});
  Apply(ActionKind::ClearBG);
  EXPECT_EQ(S.BGFileName(), "");
  Expect({A}, {B});
  addFileRecord(H, ActionKind::ReadBG, "sora.bmp");
  Apply(ActionKind::ClearDrawing);
  EXPECT_EQ(S.BGFileName(), "sora.bmp");
  Expect({}, {});
  Apply(ActionKind::Create, 3, C);
  Apply(ActionKind::ClearAll);
  EXPECT_EQ(S.BGFileName(), "");
  Expect({}, {});
}

TEST_F(ApplyOracle, RecordsThatDrawNothingChangeNothing) {
  Apply(ActionKind::Create, 1, A);
  Apply(ActionKind::Delete, 1);
  Apply(ActionKind::Create, 2, B);
  for (ActionKind kind : {ActionKind::SetStamp, ActionKind::ReadData, ActionKind::None, static_cast<ActionKind>(42)}) {
    Apply(kind, 2, C);
    Expect({B}, {A});
    EXPECT_EQ(S.BGFileName(), "");
  }
}

TEST_F(ApplyOracle, BranchShowsTheStepItNamesWhateverCameBetween) {
  Apply(ActionKind::Create, 1, A);       // 1
  Apply(ActionKind::Create, 2, B);       // 2
  Apply(ActionKind::Delete, 1);          // 3
  Figure to = B;
  to.Start = {0, 0};
  Apply(ActionKind::Move, 2, to);        // 4
  Expect({ellipse({0, 0}, {60, 30})}, {A});
  Apply(ActionKind::Branch, 2);          // 5: back to A and B
  Expect({A, B});
  Apply(ActionKind::Branch, 3);          // 6: A deleted again
  Expect({B}, {A});
  Apply(ActionKind::Branch, 5);          // 7: step 5 is step 2
  Expect({A, B});
  Apply(ActionKind::Branch, -4);         // 8: the empty canvas
  Expect({});
  Apply(ActionKind::Branch, 99);         // 9: never forward: step 8
  Expect({});
  Apply(ActionKind::Create, 3, C);       // 10
  Apply(ActionKind::Branch, 4);          // 11
  Expect({ellipse({0, 0}, {60, 30})}, {A});
}

}  // namespace
