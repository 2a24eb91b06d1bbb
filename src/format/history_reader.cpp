#include "format/history_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "format/codepage.h"
#include "format/format_text.h"
#include "history/play.h"

namespace {

constexpr std::string_view Headers[] = {
    "TAMLO FILE FORMAT 1.0",
    "TAMLO FILE FORMAT 1.1",
    "TAMLO FILE FORMAT 1.2",
};

// Stamps nest one level per stamp block; deeper files are refused rather
// than read with a stack that grows with the file.
constexpr int MaxStampDepth = 1000;

bool IsRegularFile(const std::string& name) {
  if (name.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(name), ec);
}

std::string AbsolutePath(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(name), ec);
  return ec ? name : full.string();
}

// A found line as a message shows it: the first 40 characters at most,
// never cut inside a character.
std::string Shortened(std::string_view line) {
  constexpr size_t Keep = 40;
  if (line.size() <= Keep) return std::string(line);
  size_t end = Keep;
  while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
  return std::string(line.substr(0, end)) + "…";
}

class HistoryReader {
 public:
  HistoryReader(AppState& state, std::string_view text, ReadReport& report)
      : S(state), m_text(text), m_echo(state.ShowProcess), m_report(report) {
    // The records already there stay in front of those read (a journal read
    // on top of its base file).
    for (const Action& a : S.History()) {
      Action& copy = m_history.Add();
      copy = a;
      copy.TargetFig = nullptr;
      copy.TargetItem.reset();
      m_targets.Add(copy);
    }
  }

  int Run() {
    m_history.NextFigID = 1;
    std::string_view line;
    if (!ReadLine(line) || !IsHeader(line)) {
      Fail("TAMLO FILE FORMAT 1.2", line);
      m_report.Fault->What = ReadFault::Kind::NotADrawing;
      m_report.Fault->Line = 1;
      return Failed();
    }
    while (ReadLine(line)) {
      if (line != "begin ActionData") Fail("begin ActionData", line);
      if (m_report.Fault || !ReadAction()) return Failed();
    }
    LoadHistory(S, std::move(m_history));
    return 0;
  }

 private:
  AppState& S;
  HistoryList m_history;  // handed to the drawing once read whole
  std::string_view m_text;
  size_t m_pos = 0;
  int64_t m_line = 0;  // lines taken so far
  const bool m_echo;
  ReadReport& m_report;
  ChangeTargets m_targets;  // the records read so far
  std::vector<Point> m_vertices;  // reused by every point block
  std::map<std::string, std::string> m_located;  // file name read -> name located

  // Nothing partial may be replayed or saved.
  int Failed() {
    LoadHistory(S, HistoryList());
    m_report.MissingPictures.clear();
    return 1;
  }

  // Notes the first fault: `expected` should have stood on the line just
  // taken, which was `found`. Always false.
  bool Fail(std::string_view expected, std::string_view found, ReadFault::Kind what = ReadFault::Kind::BadRecord) {
    if (m_report.Fault) return false;
    ReadFault& f = m_report.Fault.emplace();
    f.What = what;
    f.Line = m_line;
    f.Expected = expected;
    // A colour is named whole, as its message has always named it.
    f.Found = what == ReadFault::Kind::BadColour ? std::string(found) : Shortened(found);
    return false;
  }

  // The text ended where `expected` should have stood. Always false.
  bool FailAtEnd(std::string_view expected) {
    if (m_report.Fault) return false;
    ReadFault& f = m_report.Fault.emplace();
    f.Line = m_line + 1;
    f.AtEnd = true;
    f.Expected = expected;
    return false;
  }

  static bool IsHeader(std::string_view line) {
    for (std::string_view h : Headers)
      if (line == h) return true;
    return false;
  }

  // The next line without its line end (CR LF or LF), whatever its length;
  // false only at the end of the text.
  bool NextLine(std::string_view& line) {
    if (m_pos >= m_text.size()) return false;
    const size_t start = m_pos;
    const size_t lf = m_text.find('\n', start);
    const size_t end = lf == std::string_view::npos ? m_text.size() : lf;
    m_pos = lf == std::string_view::npos ? m_text.size() : lf + 1;
    ++m_line;
    line = m_text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

  bool ReadLine(std::string_view& line) {
    if (!NextLine(line)) return false;
    if (m_echo) {
      if (line == "begin ActionData") S.Memo->AddLine("");
      S.Memo->AddLine(std::string(line));
    }
    return true;
  }

  bool ReadField(const char* label, std::string_view& value) {
    if (!NextLine(value)) return FailAtEnd(label);
    if (m_echo) {
      if (value.empty())
        S.Memo->AddLine(std::string(label) + ":(NULL)");
      else
        S.Memo->AddLine(std::string(label) + ": " + std::string(value));
    }
    return true;
  }

  bool Expect(std::string_view wanted) {
    std::string_view line;
    if (!ReadLine(line)) return FailAtEnd(wanted);
    return line == wanted || Fail(wanted, line);
  }

  // A line that one of the file's words must fill, as `label` names it.
  template <typename T>
  bool WordField(const char* label, bool (*fromWord)(std::string_view, T&), T& value) {
    std::string_view v;
    if (!ReadField(label, v)) return false;
    return fromWord(v, value) || Fail(label, v);
  }

  bool IntField(const char* label, int32_t& value) {
    std::string_view v;
    if (!ReadField(label, v)) return false;
    value = ParseLeadingInt(v);
    return true;
  }

  bool PointField(const char* label, Point& value) {
    std::string_view v;
    if (!ReadField(label, v)) return false;
    value = ParsePoint(v);
    return true;
  }

  bool ColorField(const char* label, ColorRef& value) {
    std::string_view v;
    if (!ReadField(label, v)) return false;
    return TextToColor(v, value) || Fail(label, v, ReadFault::Kind::BadColour);
  }

  // A text no longer than the text box takes; only what is kept is shown.
  bool TextField(const char* label, std::string& value) {
    std::string_view v;
    if (!NextLine(v)) return FailAtEnd(label);
    v = CutText(v);
    if (m_echo) {
      if (v.empty())
        S.Memo->AddLine(std::string(label) + ":(NULL)");
      else
        S.Memo->AddLine(std::string(label) + ": " + std::string(v));
    }
    value.assign(v);
    return true;
  }

  bool ReadAction() {
    Action& d = m_history.Add();
    std::string_view v;
    if (!ReadField("ActionTime", v)) return false;
    d.ActionTime = ParseTime(v);
    if (!WordField("TargetType", ActionFromWord, d.TargetType)) return false;
    if (HasTargetIDLine(d.TargetType)) {
      if (!IntField("TargetID", d.TargetID)) return false;
      // A branch beyond itself, which only a damaged file holds, reads as
      // the step before it, as replay takes it: it must not use up the IDs.
      if (d.TargetType == ActionKind::Branch && d.TargetID > MaxFigureID) d.TargetID = m_history.Count() - 1;
      if (d.TargetID > m_history.NextFigID) m_history.NextFigID = d.TargetID;
    }
    m_targets.Add(d);  // TargetID is final from here on
    if (d.TargetType == ActionKind::Change) {
      if (!WordField("Parameter", ParameterFromWord, d.Parameter)) return false;
    }
    if (HasFileNameLine(d.TargetType)) {
      if (!ReadField("FileName", v)) return false;
      d.FileName = LocateFile(std::string(v));
    }
    if (HasFullFigureBlock(d.TargetType)) {
      if (!Expect("begin FigData") || !ReadFigure(d.FigData, 0) || !Expect("end FigData")) return false;
    } else if (d.TargetType == ActionKind::Change) {
      if (!ReadChange(d)) return false;
    }
    return Expect("end ActionData");
  }

  // The lines of a full figure block between "begin FigData" and "end
  // FigData"; `depth` counts the stamp blocks around.
  bool ReadFigure(Figure& fig, int depth) {
    std::string_view v;
    if (!WordField("DrawingTool", ToolFromWord, fig.DrawingTool)) return false;
    if (!IntField("PenWidth", fig.PenWidth) || !ColorField("PenColor", fig.PenColor) ||
        !ColorField("BrushColor", fig.BrushColor) || !IntField("TextSize", fig.TextSize) ||
        !ColorField("TextColor", fig.TextColor) || !TextField("Text", fig.Text) ||
        !PointField("Start(x,y)", fig.Start) || !PointField("End(x,y)", fig.End))
      return false;
    fig.BrushStyle = 0;
    if (IsPointFigure(fig.DrawingTool)) return ReadPoints(fig.PointData);
    if (fig.DrawingTool == ToolKind::Stamp) return ReadStamp(fig.StampData, depth + 1);
    return true;
  }

  // A point block; vertices beyond the list's limit are dropped. The list
  // is made as long as the block, not at the limit, so memory follows the
  // file.
  bool ReadPoints(Vertex& points) {
    if (!Expect("begin PointData")) return false;
    m_vertices.clear();
    std::string_view line;
    for (;;) {
      if (!ReadLine(line)) return FailAtEnd("end PointData");
      if (line == "end PointData") break;
      if (static_cast<int32_t>(m_vertices.size()) < MaxPoints) m_vertices.push_back(ParsePoint(line));
    }
    points.Reset();
    points.Points.reserve(m_vertices.size());
    for (const Point& p : m_vertices) points.AddPoint(p.X, p.Y);
    return true;
  }

  bool ReadStamp(std::vector<Figure>& contents, int depth) {
    if (!Expect("begin StampData")) return false;
    // Deeper stamps are refused where the block too deep begins.
    if (depth > MaxStampDepth) return Fail("end StampData", "begin StampData");
    std::string_view line;
    for (;;) {
      if (!ReadLine(line)) return FailAtEnd("end StampData");
      if (line == "end StampData") return true;
      if (line != "begin FigData") return Fail("begin FigData", line);
      contents.emplace_back();
      if (!ReadFigure(contents.back(), depth) || !Expect("end FigData")) return false;
    }
  }

  bool ReadChange(Action& change) {
    Figure& f = change.FigData;
    if (!Expect("begin FigData")) return false;
    switch (change.Parameter) {
      case ParameterKind::Size: {
        if (!IntField("TextSize", f.TextSize) || !PointField("Start(x,y)", f.Start) || !PointField("End(x,y)", f.End))
          return false;
        const ToolKind target = m_targets.TargetTool(change);
        if (IsPointFigure(target)) {
          if (!ReadPoints(f.PointData)) return false;
        } else if (target == ToolKind::Stamp) {
          f.StampData.clear();
          if (!ReadStamp(f.StampData, 1)) return false;
        }
        break;
      }
      case ParameterKind::BodyColor:
        if (!ColorField("BrushColor", f.BrushColor)) return false;
        break;
      case ParameterKind::LineWidth:
        if (!IntField("PenWidth", f.PenWidth)) return false;
        break;
      case ParameterKind::LineColor:
        if (!ColorField("PenColor", f.PenColor)) return false;
        break;
      case ParameterKind::Text:
        if (!PointField("Start(x,y)", f.Start) || !PointField("End(x,y)", f.End) || !TextField("Text", f.Text))
          return false;
        break;
      case ParameterKind::TextColor:
        if (!ColorField("TextColor", f.TextColor)) return false;
        break;
      default:
        return Fail("Parameter", ParameterWord(change.Parameter));
    }
    return Expect("end FigData");
  }

  // The name under which a ReadBG / ReadData record's file is found. Each
  // distinct name is looked for once per file, and a missing one reported
  // once: a file naming the same missing picture in every record is one
  // question for whoever asks.
  std::string LocateFile(const std::string& name) {
    const auto known = m_located.find(name);
    if (known != m_located.end()) return known->second;
    std::optional<std::string> found = FoundPicture(name);
    if (!found) m_report.MissingPictures.push_back(name);
    return m_located.emplace(name, found.value_or(name)).first->second;
  }
};

}  // namespace

std::optional<std::string> FoundPicture(const std::string& name) {
  const std::string bare = PathBareName(name);
  if (IsRegularFile(name)) return AbsolutePath(name);
  if (IsRegularFile(bare)) return AbsolutePath(bare);
  return std::nullopt;
}

int ReadHistory(AppState& S, const std::string& text, ReadReport* report) {
  ReadReport quiet;
  ReadReport& r = report ? *report : quiet;
  r = ReadReport();
  if (IsValidUtf8(text)) return HistoryReader(S, text, r).Run();
  const std::string converted = Cp932ToUtf8(text);
  return HistoryReader(S, converted, r).Run();
}

int ReadHistory(AppState& S, std::FILE* file, ReadReport* report) {
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  return ReadHistory(S, text, report);
}

std::string ReadFaultMessage(const ReadFault& fault) {
  switch (fault.What) {
    case ReadFault::Kind::NotADrawing:
      return "データフォーマットが違います";
    case ReadFault::Kind::BadColour:
      return "'" + fault.Found + "' は整数ではありません";
    case ReadFault::Kind::BadRecord:
      break;
  }
  return "ActionItem：読み込みエラー";
}

std::string ReadFaultPlace(const ReadFault& fault) {
  if (fault.What == ReadFault::Kind::NotADrawing) return {};
  const std::string where = std::to_string(fault.Line) + "ぎょうめ：「" + fault.Expected + "」が くるはずの ところ";
  if (fault.AtEnd) return where + "で ファイルが おわっています";
  return where + "に「" + fault.Found + "」が ありました";
}

namespace {

// Opens a regular file (or a link to one) for reading; -1 for anything else.
// The kind is checked before opening, so that no device is opened at all,
// and again on the open file, which cannot block: a pipe put in its place
// meanwhile opens at once and is then refused.
int OpenRegularFile(const std::string& path, struct stat& info) {
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads up to `limit` bytes more; false on a read error or when the file
// holds more than that.
bool ReadAtMost(int fd, uint64_t limit, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (bytes.size() + static_cast<uint64_t>(n) > limit) return false;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace

bool ReadDrawingFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  struct stat info;
  const int fd = OpenRegularFile(path, info);
  if (fd < 0) return false;
  bool ok = static_cast<uint64_t>(info.st_size) <= MaxDrawingFileBytes;
  if (ok) {
    bytes.reserve(static_cast<size_t>(info.st_size));
    // The file may have grown since: the limit holds for what is read.
    ok = ReadAtMost(fd, MaxDrawingFileBytes, bytes);
  }
  ::close(fd);
  if (!ok) std::string().swap(bytes);
  return ok;
}

bool StartsWithDrawingHeader(const std::string& path) {
  struct stat info;
  const int fd = OpenRegularFile(path, info);
  if (fd < 0) return false;
  char start[32];
  size_t got = 0;
  while (got < sizeof start) {
    const ssize_t n = ::read(fd, start + got, sizeof start - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  const std::string_view first(start, got);
  for (std::string_view h : Headers)
    if (first.substr(0, h.size()) == h) return true;
  return false;
}
