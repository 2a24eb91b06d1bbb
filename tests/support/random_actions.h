// Random drawing sessions for the core tests: every kind of record the
// window makes, through the same recorders, one record per Step(). Two
// sessions with the same seed record identical histories, time stamps
// included, so a test can rebuild what a killed process had recorded.
// Tests with a mix of commands of their own use the pieces: Pick, Select
// and Create.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "history/actions.h"
#include "history/savehistory.h"
#include "history/play.h"
#include "support/fakes.h"
#include "support/random_figure.h"

// What every command leaves: the framed figure is none or the selected one,
// and the selected figure is one of the drawing's (never a freed one).
inline void ExpectSoundSelection(const AppState& S, const std::string& where) {
  EXPECT_TRUE(S.MarkedFig == nullptr || S.MarkedFig == S.SelectedFig) << where;
  if (S.SelectedFig == nullptr) return;
  bool found = false;
  for (const Figure& f : S.Figures()) found = found || &f == S.SelectedFig;
  EXPECT_TRUE(found) << where;
}

class RandomSession {
 public:
  // `ascii`: texts without Japanese characters.
  RandomSession(AppState& state, uint32_t seed, bool ascii = false) : S(state), m_rng(seed), m_ascii(ascii) {
    S.Clock = &m_clock;
    Figure part;
    part.DrawingTool = ToolKind::Rectangle;
    part.PenWidth = 2;
    part.Start = {0, 0};
    part.End = {10, 8};
    m_stamp.push_back(part);
    part.DrawingTool = ToolKind::Ellipse;
    part.Start = {4, 4};
    part.End = {20, 12};
    m_stamp.push_back(part);
  }

  // Records exactly one action (commands that refuse are tried again).
  void Step() {
    const int32_t before = S.History().Count();
    while (S.History().Count() == before) Try();
    ExpectSoundSelection(S, "after record " + std::to_string(before + 1));
  }

  // A number from 0 to n - 1.
  int Pick(int n) { return static_cast<int>(m_rng() % static_cast<uint32_t>(n)); }

  // A click on a figure of the canvas, framing what it hits (the front-most
  // figure there) as the selection; null when the canvas is empty.
  Figure* Select() {
    const FigureList& figs = S.Figures();
    Figure* hit = nullptr;
    if (!figs.IsEmpty()) {
      const Figure& f = S.Shown(*std::next(figs.begin(), Pick(figs.Count())));
      hit = FrontFigureAt(S, {f.Start.X / 2 + f.End.X / 2, f.Start.Y / 2 + f.End.Y / 2});
    }
    return S.SelectedFig = S.MarkedFig = hit;
  }

  // A new figure of any kind, drawn with random pens and colours; its text
  // one of the session's.
  Figure* Create() {
    Figure f = RandomFigure(m_rng, kEveryKind[Pick(8)], m_points);
    if (f.DrawingTool == ToolKind::Text) f.Text = Text();
    if (f.DrawingTool == ToolKind::Stamp) f.StampData = m_stamp;
    return CreateFigure(S, f);
  }

 private:
  AppState& S;
  std::mt19937 m_rng;
  bool m_ascii;
  FakeClock m_clock = FakeClock::Ticking();
  std::vector<Figure> m_stamp;
  Vertex m_points;

  std::string Text() {
    static const char* const ascii[] = {"Tamlo", "end ActionData", "begin ActionData", "a b  c", ""};
    static const char* const japanese[] = {"おえかき〜たのしいね", "ｶﾀｶﾅ", "えんぴつ", "🎨 え"};
    return Pick(2) || m_ascii ? ascii[Pick(5)] : japanese[Pick(4)];
  }

  void Try() {
    switch (Pick(14)) {
      case 0:
      case 1:
      case 2:
        Create();
        break;
      case 3:
        if (Figure* f = Select()) {
          f->Offset(Pick(9) - 4, Pick(9) - 4);
          RecordMoveOfSelected(S);
        }
        break;
      case 4:
        Select();
        DeleteSelected(S);
        break;
      case 5:
        RestoreDeleted(S);
        break;
      case 6:
        Select();
        DuplicateSelected(S);
        break;
      case 7:
        Select();
        if (Pick(2))
          MoveSelectedFront(S);
        else
          MoveSelectedBack(S);
        break;
      case 8:
        if (Figure* f = Select()) {
          static const ParameterKind params[] = {ParameterKind::BodyColor, ParameterKind::LineWidth, ParameterKind::LineColor, ParameterKind::TextColor, ParameterKind::Text};
          Figure changed = *f;
          changed.PointData.Reset();
          changed.StampData.clear();
          changed.PenWidth = 1 + Pick(9);
          changed.PenColor = static_cast<ColorRef>(m_rng() & 0xFFFFFF);
          changed.BrushColor = Pick(3) ? static_cast<ColorRef>(m_rng() & 0xFFFFFF) : clBtnFace;
          changed.TextColor = static_cast<ColorRef>(m_rng() & 0xFFFFFF);
          changed.Text = Text();
          ChangeSelected(S, params[Pick(5)], changed);
        }
        break;
      case 9:
        if (Figure* f = Select()) {
          if (S.Preview.Of != f) CommitPreview(S);
          if (!S.ResizePending()) S.Preview = FigurePreview{PreviewKind::Resize, f, *f};
          S.Preview.Fig.End.X = WrapAdd(S.Preview.Fig.End.X, 5 + Pick(20));
          CommitPreview(S);
        }
        break;
      case 10:
        SetBackground(S, "/nonexistent/tamlo-test/picture-" + std::to_string(Pick(1000)) + ".bmp");
        break;
      case 11: {
        static const ActionKind clears[] = {ActionKind::ClearBG, ActionKind::ClearDrawing, ActionKind::ClearAll};
        ClearDrawing(S, clears[Pick(3)]);
        break;
      }
      default:
        BranchTo(S, Pick(S.History().Count() + 1));
        break;
    }
  }
};
