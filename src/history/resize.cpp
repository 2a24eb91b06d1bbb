#include "history/resize.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "history/actions.h"

namespace {

// Truncation toward zero into the 32-bit range (values from a damaged file
// may be far outside it; NaN cannot arise from finite input but maps to 0).
int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  v = std::trunc(v);
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

int32_t& Axis(Point& p, bool horizontal) { return horizontal ? p.X : p.Y; }
int32_t Axis(const Point& p, bool horizontal) { return horizontal ? p.X : p.Y; }

// Lines, ellipses, rectangles: both ends move apart by the position.
void ResizeBox(AppState& S, Figure& F, bool horizontal, int32_t p) {
  Axis(F.Start, horizontal) = WrapSub(Axis(S.ResizeStart, horizontal), p);
  Axis(F.End, horizontal) = WrapAdd(Axis(S.ResizeEnd, horizontal), p);
}

// Free lines, polylines, polygons: the box as above, the vertices stretched
// proportionally between the reference ends. The vertex bounds stay.
void ResizeVertices(AppState& S, Figure& F, bool horizontal, int32_t p) {
  const double s = Axis(S.ResizeStart, horizontal);
  const double e = Axis(S.ResizeEnd, horizontal);
  if (e == s) return;  // no extent to stretch: the axis stays as it is
  ResizeBox(S, F, horizontal, p);
  const int32_t n = std::min(F.PointData.Count(), MaxPoints);
  const int32_t start = Axis(F.Start, horizontal);
  for (int32_t i = 0; i < n; ++i) {
    const double x0 = Axis(S.ResizePoints[i], horizontal);
    const int32_t v = TruncToInt((x0 - s) / (e - s) * 2.0 * p + (x0 - s));
    F.SetPoint(!horizontal, i, WrapAdd(start, v));
  }
}

// Text: the position changes the font size; the box follows the text.
void ResizeText(AppState& S, Figure& F, bool horizontal, int32_t p,
                const TextWidthFn& textWidth) {
  const int32_t d = horizontal ? p : -p;  // raising the vertical thumb enlarges
  if (d == 0) {
    // Back at the middle: exactly the reference, whose box may come from
    // the text entry rather than from this rule.
    F.Start = S.ResizeStart;
    F.End = S.ResizeEnd;
    F.TextSize = S.ResizeTextSize;
    return;
  }
  const int64_t size = static_cast<int64_t>(S.ResizeTextSize) + d;
  if (size <= 5 || size > std::numeric_limits<int32_t>::max()) return;
  F.Start = S.ResizeStart;
  F.TextSize = static_cast<int32_t>(size);
  const int32_t w = textWidth ? textWidth(F.Text, F.TextSize) : 0;
  F.End.X = WrapAdd(F.Start.X, w);
  F.End.Y = TruncToInt(static_cast<double>(S.ResizeStart.Y) + F.TextSize * 1.2);
}

// Stamps: the box as for boxes, the contents stretched from the stamp's
// latest recorded snapshot. The snapshot's contents always fit its own box,
// so the ratio is taken against that box; the box itself is placed from the
// selection-time reference like every other kind, so that a snapshot older
// than the figure's place (after a replay only the creating record points at
// the figure) cannot move the stamp.
void ResizeStamp(AppState& S, Figure& F, bool horizontal, int32_t p) {
  const Figure& R = *S.StampReference;
  if (Axis(R.End, horizontal) == Axis(R.Start, horizontal)) return;  // no extent
  ResizeBox(S, F, horizontal, p);
  ScaleStampContents(R, horizontal, F);
}

// The snapshot a resize of the stamp `stamp` of the drawing scales from:
// its latest record. False when no record knows it.
bool FindStampReference(AppState& S, const Figure& stamp) {
  if (S.StampReference != nullptr) return true;
  const Action* found = S.History().FindLatestFor(&stamp, S.History().Count());
  if (found == nullptr) return false;
  S.StampReference = &found->FigData;
  return true;
}

}  // namespace

void ScaleStampContents(const Figure& reference, bool horizontal, Figure& stamp) {
  const double refExtent =
      static_cast<double>(Axis(reference.End, horizontal)) - Axis(reference.Start, horizontal);
  if (refExtent == 0) return;  // the ratio is undefined: contents stay
  const double ratio =
      (static_cast<double>(Axis(stamp.End, horizontal)) - Axis(stamp.Start, horizontal)) / refExtent;

  const size_t common = std::min(stamp.StampData.size(), reference.StampData.size());
  for (size_t k = 0; k < common; ++k) {
    Figure& L = stamp.StampData[k];
    const Figure& R = reference.StampData[k];
    const double rs = Axis(R.Start, horizontal);
    const double re = Axis(R.End, horizontal);
    switch (L.DrawingTool) {
      case ToolKind::FreeLine:
      case ToolKind::Polyline:
      case ToolKind::Polygon:
        for (int32_t i = 0, n = std::min(L.PointData.Count(), R.PointData.Count()); i < n; ++i)
          L.SetPoint(!horizontal, i, TruncToInt(Axis(R.PointData.Points[i], horizontal) * ratio));
        [[fallthrough]];
      case ToolKind::Line:
      case ToolKind::Ellipse:
      case ToolKind::Rectangle:
        Axis(L.Start, horizontal) = TruncToInt(rs * ratio);
        Axis(L.End, horizontal) = TruncToInt(re * ratio);
        break;
      case ToolKind::Text: {
        // A text keeps its size: it stays centred on its scaled place.
        const double offset = (ratio - 1.0) * ((re - rs) * 0.5);
        Axis(L.Start, horizontal) = TruncToInt(rs * ratio + offset);
        Axis(L.End, horizontal) = TruncToInt(re * ratio + offset);
        break;
      }
      case ToolKind::Stamp:
        Axis(L.Start, horizontal) = TruncToInt(rs * ratio);
        Axis(L.End, horizontal) = TruncToInt(re * ratio);
        ScaleStampContents(R, horizontal, L);
        break;
      default:
        break;
    }
  }
}

void TakeResizeReference(AppState& S) {
  if (S.SelectedFig == nullptr) return;
  const Figure& F = S.Shown(*S.SelectedFig);
  S.ResizeStart = F.Start;
  S.ResizeEnd = F.End;
  S.ResizeTextSize = F.TextSize;
  if (IsPointFigure(F.DrawingTool)) {
    const int32_t n = std::min(F.PointData.Count(), MaxPoints);
    std::copy(F.PointData.Points.begin(), F.PointData.Points.begin() + n, S.ResizePoints.begin());
  }
}

ResizeResult ResizeSelectedFig(AppState& S, bool horizontal, int32_t position,
                                const TextWidthFn& textWidth) {
  Figure* selected = S.SelectedFig;
  if (selected == nullptr) return ResizeResult::NoSelection;

  // Another figure's resize, or a drag, is recorded before this one starts;
  // doing it first also drops that figure's stamp reference before it could
  // be used.
  if (S.Preview.Kind != PreviewKind::None && (S.Preview.Kind != PreviewKind::Resize || S.Preview.Of != selected))
    CommitPreview(S);
  if (selected->DrawingTool == ToolKind::Stamp && !FindStampReference(S, *selected))
    return ResizeResult::StampUnresolved;

  // The drawing keeps the figure as recorded; the preview takes the size.
  if (S.Preview.Kind == PreviewKind::None) S.Preview = FigurePreview{PreviewKind::Resize, selected, *selected};
  Figure& F = S.Preview.Fig;
  switch (F.DrawingTool) {
    case ToolKind::Line:
    case ToolKind::Ellipse:
    case ToolKind::Rectangle:
      ResizeBox(S, F, horizontal, position);
      break;
    case ToolKind::FreeLine:
    case ToolKind::Polyline:
    case ToolKind::Polygon:
      ResizeVertices(S, F, horizontal, position);
      break;
    case ToolKind::Text:
      ResizeText(S, F, horizontal, position, textWidth);
      break;
    case ToolKind::Stamp:
      ResizeStamp(S, F, horizontal, position);
      break;
    default:
      break;
  }
  return ResizeResult::Done;
}
