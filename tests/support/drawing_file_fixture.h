// Drawing files written from histories built record by record and read
// back: the fixture, its figures, and ways to compare and look into files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/missing_pictures.h"
#include "support/scripted_dialogs.h"
#include "support/fakes.h"

// A state whose dialogs are scripted (the locating question is answered No).
struct DrawingFile : ::testing::Test {
  AppState S;
  ScriptedDialogs Dialogs;
  DrawingFile() { S.Dialogs = &Dialogs; }

  ReadReport Report;

  // Reads `text` as a load does: a fault is shown with its message, and
  // the pictures not found are asked about.
  int Read(const std::string& text) {
    const int result = ReadHistory(S, text, &Report);
    if (Report.Fault) Dialogs.ShowMessage(ReadFaultMessage(*Report.Fault));
    AskForMissingPictures(S, Report.MissingPictures, Dialogs, S.OpenBGDialog);
    return result;
  }

  const Action& Record(int32_t step) const { return S.History().At(step); }

  Action& Add(ActionKind type, int32_t id, const Figure& fig = Figure()) {
    Action& a = Source.Add(fig);
    a.TargetType = type;
    a.TargetID = id;
    a.ActionTime = At(10, 20, 30, 40);
    return a;
  }

  HistoryList Source;  // histories built by hand, written, then read into S
};

inline Figure Fig(ToolKind tool) {
  Figure f;
  f.DrawingTool = tool;
  f.PenWidth = 4;
  f.PenColor = clBlack;
  f.BrushColor = clBtnFace;
  f.BrushStyle = 1;
  f.TextSize = 12;
  f.TextColor = 0x00123456;
  f.Text = "a b";
  f.Start = {10, 20};
  f.End = {110, 220};
  return f;
}

inline void ExpectSameFigure(const Figure& a, const Figure& b, const std::string& where);

inline void ExpectSameList(const std::vector<Figure>& a, const std::vector<Figure>& b, const std::string& where) {
  ASSERT_EQ(a.size(), b.size()) << where;
  for (size_t i = 0; i < a.size(); ++i) ExpectSameFigure(a[i], b[i], where + "/" + std::to_string(i));
}

inline void ExpectSameFigure(const Figure& a, const Figure& b, const std::string& where) {
  EXPECT_EQ(a.DrawingTool, b.DrawingTool) << where;
  EXPECT_EQ(a.PenWidth, b.PenWidth) << where;
  EXPECT_EQ(a.PenColor, b.PenColor) << where;
  EXPECT_EQ(a.BrushColor, b.BrushColor) << where;
  EXPECT_EQ(a.TextSize, b.TextSize) << where;
  EXPECT_EQ(a.TextColor, b.TextColor) << where;
  EXPECT_EQ(a.Text, b.Text) << where;
  EXPECT_EQ(a.Start, b.Start) << where;
  EXPECT_EQ(a.End, b.End) << where;
  EXPECT_EQ(a.PointData.Points, b.PointData.Points) << where;
  ExpectSameList(a.StampData, b.StampData, where + " stamp");
}

// The lines of record `step`'s block in `text`, without "begin ActionData"
// and "end ActionData".
inline std::vector<std::string> BlockLines(const std::string& text, int step) {
  std::vector<std::string> all;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t e = text.find("\r\n", pos);
    all.push_back(text.substr(pos, e - pos));
    pos = e + 2;
  }
  int k = 0;
  std::vector<std::string> block;
  for (const auto& l : all) {
    if (l == "begin ActionData") {
      ++k;
      continue;
    }
    if (k == step && l == "end ActionData") break;
    if (k == step) block.push_back(l);
  }
  return block;
}
