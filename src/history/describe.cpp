#include "history/describe.h"

#include <cstdio>

namespace {

const char* ActionWord(ActionKind kind) {
  switch (kind) {
    case atCreate: return "Create";
    case atSetStamp: return "Set stamp data";
    case atMove: return "Move";
    case atDuplicate: return "Duplicate";
    case atDelete: return "Delete";
    case atUndo: return "Undo";
    case atFront: return "Move front";
    case atBack: return "Move back";
    case atChange: return "Change";
    case atReadData: return "Read data file";
    case atReadBG: return "Read BG file";
    case atClearBG: return "Clear background";
    case atClearDrawing: return "Clear drawing";
    case atClearAll: return "Clear all";
    case atBranch: return "Branch";
    default: return "WARNING: Action ?";
  }
}

const char* FigureWord(ToolKind tool) {
  switch (tool) {
    case dtText: return "Text box";
    case dtLine: return "Line";
    case dtFreeLine: return "Free line";
    case dtEllipse: return "Ellipse";
    case dtRectangle: return "Rectangle";
    case dtPolyline: return "Polyline";
    case dtPolygon: return "Polygon";
    case dtStamp: return "Stamp";
    default: return "Unknown";
  }
}

const char* ParameterWord(ParameterKind parameter) {
  switch (parameter) {
    case ptSize: return "Size";
    case ptBodyColor: return "Body color ";  // the trailing space is part of the word
    case ptLineWidth: return "Line width";
    case ptLineColor: return "Line color";
    case ptText: return "Text";
    case ptTextColor: return "Text color";
    default: return "WARNING: Parameter ?";
  }
}

}  // namespace

std::vector<std::string> DescribeAction(const Action& record) {
  std::vector<std::string> lines;
  if (record.TargetType == atNone) return lines;

  const std::string action = ActionWord(record.TargetType);
  const std::string id = std::to_string(record.TargetID);
  switch (record.TargetType) {
    case atCreate:
    case atMove:
    case atDuplicate:
      lines.push_back(action + " " + FigureWord(record.FigData.DrawingTool) + " (ID = " + id + ")");
      break;
    case atDelete:
    case atFront:
    case atBack:
      lines.push_back(action + " figure (ID = " + id + ")");
      break;
    case atChange:
      lines.push_back(action + " figure (ID = " + id + ")");
      lines.push_back(std::string("Parameter: ") + ParameterWord(record.Parameter));
      break;
    case atReadBG:
      lines.push_back(action + " (" + record.FileName + ")");
      break;
    case atBranch:
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
