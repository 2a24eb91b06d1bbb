#include "history/describe.h"

#include <cstdio>

namespace {

const char* ActionWord(ActionKind kind) {
  switch (kind) {
    case ActionKind::Create: return "Create";
    case ActionKind::SetStamp: return "Set stamp data";
    case ActionKind::Move: return "Move";
    case ActionKind::Duplicate: return "Duplicate";
    case ActionKind::Delete: return "Delete";
    case ActionKind::Undo: return "Undo";
    case ActionKind::Front: return "Move front";
    case ActionKind::Back: return "Move back";
    case ActionKind::Change: return "Change";
    case ActionKind::ReadData: return "Read data file";
    case ActionKind::ReadBG: return "Read BG file";
    case ActionKind::ClearBG: return "Clear background";
    case ActionKind::ClearDrawing: return "Clear drawing";
    case ActionKind::ClearAll: return "Clear all";
    case ActionKind::Branch: return "Branch";
    default: return "WARNING: Action ?";
  }
}

const char* FigureWord(ToolKind tool) {
  switch (tool) {
    case ToolKind::Text: return "Text box";
    case ToolKind::Line: return "Line";
    case ToolKind::FreeLine: return "Free line";
    case ToolKind::Ellipse: return "Ellipse";
    case ToolKind::Rectangle: return "Rectangle";
    case ToolKind::Polyline: return "Polyline";
    case ToolKind::Polygon: return "Polygon";
    case ToolKind::Stamp: return "Stamp";
    default: return "Unknown";
  }
}

const char* ParameterWord(ParameterKind parameter) {
  switch (parameter) {
    case ParameterKind::Size: return "Size";
    case ParameterKind::BodyColor: return "Body color ";  // the trailing space is part of the word
    case ParameterKind::LineWidth: return "Line width";
    case ParameterKind::LineColor: return "Line color";
    case ParameterKind::Text: return "Text";
    case ParameterKind::TextColor: return "Text color";
    default: return "WARNING: Parameter ?";
  }
}

}  // namespace

std::vector<std::string> DescribeAction(const Action& record) {
  std::vector<std::string> lines;
  if (record.TargetType == ActionKind::None) return lines;

  const std::string action = ActionWord(record.TargetType);
  const std::string id = std::to_string(record.TargetID);
  switch (record.TargetType) {
    case ActionKind::Create:
    case ActionKind::Move:
    case ActionKind::Duplicate:
      lines.push_back(action + " " + FigureWord(record.FigData.DrawingTool) + " (ID = " + id + ")");
      break;
    case ActionKind::Delete:
    case ActionKind::Front:
    case ActionKind::Back:
      lines.push_back(action + " figure (ID = " + id + ")");
      break;
    case ActionKind::Change:
      lines.push_back(action + " figure (ID = " + id + ")");
      lines.push_back(std::string("Parameter: ") + ParameterWord(record.Parameter));
      break;
    case ActionKind::ReadBG:
      lines.push_back(action + " (" + record.FileName + ")");
      break;
    case ActionKind::Branch:
      lines.push_back(action + " (STEP = " + id + ")");
      break;
    default:
      lines.push_back(action);
      break;
  }

  const TimeOfDay& t = record.ActionTime;
  char time[32];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d.%02d", t.Hour, t.Min, t.Sec, t.Hund);
  lines.push_back(std::string("at ") + time + ".");
  lines.emplace_back();
  return lines;
}

void ShowAction(AppState& S, const Action& record) {
  if (!S.ShowProcess) return;
  for (const std::string& line : DescribeAction(record)) S.Memo->AddLine(line);
}
