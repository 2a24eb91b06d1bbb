// Setting a stamp: the figures inside a dragged rectangle become the current
// stamp, a group that the stamp tool places again and again as one figure.
#include <QToolButton>
#include <algorithm>

#include "render/paint.h"
#include "ui/main_window.h"
#include "document/hit_test.h"
#include "ui/paintbox.h"
#include "ui/panels/draw_panel.h"

void MainWindow::MakeStamp(Point A, Point B) {
  if (S.Figures().IsEmpty()) {
    S.Dialogs->ShowMessage("選択できる図形がありません");
    S.CurrentTool = ToolKind::None;
    DrawPanel->CheckTool(ToolKind::None);
    return;  // the current stamp stays
  }

  Point topLeft{kCanvasWidth, kCanvasHeight};
  Point bottomRight{0, 0};
  QImage scratch(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
  scratch.fill(Qt::white);
  RasterCanvas scratchCanvas(&scratch);

  const Point r1{std::min(A.X, B.X), std::min(A.Y, B.Y)};
  const Point r2{std::max(A.X, B.X), std::max(A.Y, B.Y)};

  // The previous stamp goes; figures placed from it keep their own copies.
  std::vector<Figure> stamp;
  for (const Figure& f : S.Figures()) {
    if (!HitTest(r1, r2, f.Start) || !HitTest(r1, r2, f.End)) continue;
    const Figure& d = stamp.emplace_back(StoredCopy(f));
    DrawFigure(scratchCanvas, &d, 0, 0, DrawMode::Copy);
    topLeft.X = std::min({topLeft.X, d.Start.X, d.End.X});
    topLeft.Y = std::min({topLeft.Y, d.Start.Y, d.End.Y});
    bottomRight.X = std::max({bottomRight.X, d.Start.X, d.End.X});
    bottomRight.Y = std::max({bottomRight.Y, d.Start.Y, d.End.Y});
  }

  if (stamp.empty()) {
    S.CurrentStamp.reset();
    BlankStampImage();
    return;
  }

  S.StampTopLeft = topLeft;
  S.StampBottomRight = bottomRight;
  for (Figure& f : stamp) f.Offset(WrapSub(0, topLeft.X), WrapSub(0, topLeft.Y));
  S.CurrentStamp = std::move(stamp);
  DrawPanel->SetStampUsable(true);

  // The preview: the stamp's box widened by 3 pixels, stretched to the image.
  const QRect from(QPoint(topLeft.X - 3, topLeft.Y - 3), QPoint(bottomRight.X + 2, bottomRight.Y + 2));
  DrawPanel->Preview()->ShowStretched(scratch, from);
}
