// A long drawing session as a history, for the benchmarks that write, read
// and load drawing files.
#pragma once

#include <memory>
#include <string>
#include <random>
#include <vector>

#include "history/history.h"

// A long drawing session: figures of every kind with vertex lists and
// stamps, then moves, changes of every parameter, deletions and restores,
// reordering and a few branches. With `japanese`, text boxes hold hiragana
// (the file is then CP932); otherwise every text is ASCII.
inline std::unique_ptr<HistoryList> MakeHistory(int32_t records, bool japanese) {
  auto h = std::make_unique<HistoryList>();
  std::mt19937 rng(2024);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const ColorRef palette[] = {clBlack, clWhite, 0x000000FF, 0x000080FF, 0x00FF8000, clBtnFace, 0x00C0DCC0};
  std::vector<int32_t> ids;  // figures created so far
  std::vector<ToolKind> tools;
  std::vector<Figure> stampContents;
  Vertex vertexBuffer;

  auto figure = [&](ToolKind tool) {
    Figure f;
    f.DrawingTool = tool;
    f.PenWidth = 1 + 2 * pick(5);
    f.PenColor = palette[pick(7)];
    f.BrushColor = palette[pick(7)];
    f.TextSize = 12 + pick(30);
    f.TextColor = palette[pick(7)];
    f.Start = {pick(600), pick(440)};
    f.End = {f.Start.X + pick(200), f.Start.Y + pick(200)};
    if (tool == ToolKind::Text) f.Text = japanese ? "おえかき たのしいね" : "drawing is fun";
    if (IsPointFigure(tool)) {
      vertexBuffer.Reset();
      const int n = 4 + pick(30);
      for (int i = 0; i < n; ++i) vertexBuffer.AddPoint(pick(640), pick(480));
      f.PointData = vertexBuffer;
    }
    if (tool == ToolKind::Stamp) f.StampData = stampContents;
    return f;
  };
  for (int i = 0; i < 3; ++i) stampContents.push_back(StoredCopy(figure(static_cast<ToolKind>(static_cast<int>(ToolKind::Line) + i))));

  auto add = [&](ActionKind type, int32_t id, const Figure& f) -> Action& {
    Action& a = h->Add(f);
    a.TargetType = type;
    a.TargetID = id;
    a.ActionTime.Hour = static_cast<uint8_t>(pick(24));
    a.ActionTime.Min = static_cast<uint8_t>(pick(60));
    a.ActionTime.Sec = static_cast<uint8_t>(pick(60));
    a.ActionTime.Hund = static_cast<uint8_t>(pick(100));
    return a;
  };

  while (h->Count() < records) {
    const int r = pick(100);
    if (ids.empty() || r < 40) {
      const ToolKind tool = static_cast<ToolKind>(static_cast<int>(ToolKind::Text) + pick(8));
      ids.push_back(h->NextFigID++);
      tools.push_back(tool);
      add(ActionKind::Create, ids.back(), figure(tool));
      continue;
    }
    const size_t k = static_cast<size_t>(pick(static_cast<int>(ids.size())));
    if (r < 60) {
      add(ActionKind::Move, ids[k], figure(tools[k]));
    } else if (r < 85) {
      add(ActionKind::Change, ids[k], figure(tools[k])).Parameter = static_cast<ParameterKind>(pick(6));
    } else if (r < 95) {
      const ActionKind kinds[] = {ActionKind::Delete, ActionKind::Front, ActionKind::Back};
      add(kinds[pick(3)], ids[k], Figure());
    } else if (r < 98) {
      add(ActionKind::Duplicate, h->NextFigID, figure(tools[k]));
      ids.push_back(h->NextFigID++);
      tools.push_back(tools[k]);
    } else if (r < 99) {
      add(ActionKind::ClearBG, 0, Figure());
    } else {
      add(ActionKind::Branch, pick(h->Count()), Figure());
    }
  }
  return h;
}

// A drawing file of MakeHistory(100000, true) in a temporary folder, made
// once per run (by a child process); empty when it could not be made.
const std::string& Drawing100000File();
