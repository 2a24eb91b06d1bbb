#include "format/history_writer.h"

#include <charconv>

#include "format/codepage.h"
#include "format/format_text.h"

namespace {

constexpr const char* Header = "TAMLO FILE FORMAT 1.2";

// Builds the file text in UTF-8; the code page is chosen afterwards.
// `targets` indexes the records that decide what a size change carries.
class HistoryWriter {
 public:
  explicit HistoryWriter(const ChangeTargets& targets) : m_targets(targets) {}

  // The UTF-8 text, or "" when some record cannot be written.
  std::string Run(const HistoryList& history) {
    Line(Header);
    for (const Action& a : history) WriteAction(a);
    return Result();
  }

  // One record's block alone, or "" when it cannot be written.
  std::string RunBlock(const Action& record) {
    WriteAction(record);
    return Result();
  }

 private:
  std::string m_out;
  const ChangeTargets& m_targets;
  bool m_refused = false;

  std::string Result() {
    if (m_refused) return std::string();
    return std::move(m_out);
  }

  void Line(std::string_view text) {
    m_out.append(text);
    m_out.append("\r\n");
  }

  // A text or file name: one line of the file, which has no way to hold a
  // line break inside it. A CR or LF would split the record when read.
  void FreeLine(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos) m_refused = true;
    Line(text);
  }

  void AppendInt(int32_t v) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    m_out.append(buf, r.ptr);
  }

  void IntLine(int32_t v) {
    AppendInt(v);
    m_out.append("\r\n");
  }

  void PointLine(Point p) {
    AppendInt(p.X);
    m_out += ' ';
    AppendInt(p.Y);
    m_out.append("\r\n");
  }

  void ColorLine(ColorRef c) {
    if (const char* name = ColorName(c))
      Line(name);
    else
      Line(ColorToText(c));
  }

  void TimeLine(const TimeOfDay& t) {
    const int parts[4] = {t.Hour, t.Min, t.Sec, t.Hund};
    for (int i = 0; i < 4; ++i) {
      if (i > 0) m_out += ' ';
      if (parts[i] < 10) m_out += '0';
      AppendInt(parts[i]);
    }
    m_out.append("\r\n");
  }

  void WriteAction(const Action& d) {
    Line("begin ActionData");
    TimeLine(d.ActionTime);
    Line(ActionWord(d.TargetType));
    if (HasTargetIDLine(d.TargetType)) IntLine(d.TargetID);
    if (d.TargetType == ActionKind::Change) Line(ParameterWord(d.Parameter));
    if (HasFileNameLine(d.TargetType)) FreeLine(d.FileName);
    if (HasFullFigureBlock(d.TargetType)) {
      WriteFigure(d.FigData);
    } else if (d.TargetType == ActionKind::Change) {
      WriteChange(d);
    }
    Line("end ActionData");
  }

  void WriteFigure(const Figure& f) {
    Line("begin FigData");
    if (const char* tool = ToolWord(f.DrawingTool)) Line(tool);
    IntLine(f.PenWidth);
    ColorLine(f.PenColor);
    ColorLine(f.BrushColor);
    IntLine(f.TextSize);
    ColorLine(f.TextColor);
    FreeLine(f.Text);
    PointLine(f.Start);
    PointLine(f.End);
    if (IsPointFigure(f.DrawingTool)) WritePoints(f.PointData);
    if (f.DrawingTool == ToolKind::Stamp) WriteStamp(f.StampData);
    Line("end FigData");
  }

  void WritePoints(const Vertex& points) {
    Line("begin PointData");
    for (const Point& p : points.Points) PointLine(p);
    Line("end PointData");
  }

  void WriteStamp(const std::vector<Figure>& contents) {
    Line("begin StampData");
    for (const Figure& f : contents) WriteFigure(f);
    Line("end StampData");
  }

  void WriteChange(const Action& change) {
    const Figure& f = change.FigData;
    Line("begin FigData");
    switch (change.Parameter) {
      case ParameterKind::Size: {
        IntLine(f.TextSize);
        PointLine(f.Start);
        PointLine(f.End);
        const ToolKind target = m_targets.TargetTool(change);
        if (IsPointFigure(target))
          WritePoints(f.PointData);
        else if (target == ToolKind::Stamp)
          WriteStamp(f.StampData);
        break;
      }
      case ParameterKind::BodyColor:
        ColorLine(f.BrushColor);
        break;
      case ParameterKind::LineWidth:
        IntLine(f.PenWidth);
        break;
      case ParameterKind::LineColor:
        ColorLine(f.PenColor);
        break;
      case ParameterKind::Text:
        PointLine(f.Start);
        PointLine(f.End);
        FreeLine(f.Text);
        break;
      case ParameterKind::TextColor:
        ColorLine(f.TextColor);
        break;
      default:
        break;
    }
    Line("end FigData");
  }
};

}  // namespace

std::string HistoryHeaderText() { return std::string(Header) + "\r\n"; }

std::string ActionBlockText(const Action& record, const ChangeTargets& targets) {
  return HistoryWriter(targets).RunBlock(record);
}

std::string HistoryFileText(const HistoryList& history) {
  ChangeTargets targets;  // the whole history
  for (const Action& a : history) targets.Add(a);
  const std::string text = HistoryWriter(targets).Run(history);
  if (text.empty()) return text;
  return Utf8ToFileBytes(text);
}

int WriteHistory(const HistoryList& history, std::FILE* file) {
  const std::string text = HistoryFileText(history);
  if (text.empty()) return 2;
  std::fwrite(text.data(), 1, text.size(), file);
  return history.Count() == 0 ? 1 : 0;
}
