#include "ui/icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>
#include <map>

#include "render/canvas.h"

namespace {

// Every picture is drawn in a box 100 units high; W is its width in units
// (100 for a square button picture, more for the wide edit buttons). The
// main motif sits in the middle.
using Painter = std::function<void(QPainter&, qreal W)>;

const QColor kInk(30, 30, 30);
const QColor kRed(220, 40, 40);
const QColor kGreen(40, 170, 60);
const QColor kBlue(40, 90, 220);
const QColor kYellow(250, 200, 30);

QPen Ink(qreal width, QColor color = kInk) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Dot(QPainter& p, QPointF at, qreal r = 6, QColor color = kBlue) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawEllipse(at, r, r);
}

void Letter(QPainter& p, QRectF box, const QString& text, const QPen& pen, int pixelSize) {
  QFont f(kFigureFontFamily);
  f.setPixelSize(pixelSize);
  f.setBold(true);
  p.setFont(f);
  p.setPen(pen);
  p.drawText(box, Qt::AlignCenter, text);
}

// An arrow from `a` to `b` with a filled head.
void Arrow(QPainter& p, QPointF a, QPointF b, QColor color, qreal width = 8) {
  p.setPen(Ink(width, color));
  QLineF line(a, b);
  QLineF back = QLineF(b, a);
  back.setLength(width * 2.2);
  QPointF base = back.p2();
  p.drawLine(a, base);
  QLineF normal = back.normalVector();
  normal.setLength(width * 1.6);
  QPointF side = normal.p2() - normal.p1();
  QPolygonF head;
  head << b << base + side << base - side;
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(head);
}

void TrashCan(QPainter& p, qreal cx) {
  p.setPen(Ink(4));
  p.setBrush(QColor(170, 175, 185));
  QPolygonF body;
  body << QPointF(cx - 26, 34) << QPointF(cx + 26, 34) << QPointF(cx + 20, 94) << QPointF(cx - 20, 94);
  p.drawPolygon(body);
  p.drawRoundedRect(QRectF(cx - 32, 22, 64, 12), 3, 3);  // lid
  p.drawLine(QPointF(cx - 8, 22), QPointF(cx - 6, 14));
  p.drawLine(QPointF(cx - 6, 14), QPointF(cx + 6, 14));
  p.drawLine(QPointF(cx + 6, 14), QPointF(cx + 8, 22));
  for (qreal x : {cx - 10, cx, cx + 10}) p.drawLine(QPointF(x, 44), QPointF(x * 0.98 + cx * 0.02, 84));
}

void Stamp(QPainter& p, QPointF at, qreal s) {
  // A rubber stamp: knob, stem and block, with its print below.
  p.setPen(Ink(3 * s));
  p.setBrush(QColor(200, 120, 60));
  p.drawEllipse(QPointF(at.x(), at.y() - 34 * s), 11 * s, 11 * s);
  p.drawRect(QRectF(at.x() - 6 * s, at.y() - 26 * s, 12 * s, 18 * s));
  p.setBrush(QColor(120, 70, 40));
  p.drawRoundedRect(QRectF(at.x() - 28 * s, at.y() - 10 * s, 56 * s, 16 * s), 3, 3);
  p.setBrush(kRed);
  p.drawRect(QRectF(at.x() - 26 * s, at.y() + 6 * s, 52 * s, 6 * s));
}

QPolygonF Star(QPointF c, qreal r) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    qreal a = -M_PI / 2 + i * M_PI / 5;
    qreal rr = i % 2 ? r * 0.45 : r;
    star << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
  }
  return star;
}

void TwoSquares(QPainter& p, qreal cx, bool redInFront) {
  QRectF back(cx - 34, 14, 48, 48), front(cx - 14, 38, 48, 48);
  QColor grey(175, 180, 190);
  auto square = [&](QRectF r, QColor c) {
    p.setPen(Ink(4));
    p.setBrush(c);
    p.drawRect(r);
  };
  if (redInFront) {
    square(back, grey);
    square(front, kRed);
  } else {
    square(front, kRed);
    square(back, grey);
  }
}

// A thick arrow bending over the top: back to the left, or on to the right.
void CurvedArrow(QPainter& p, qreal cx, bool back) {
  const qreal d = back ? 1 : -1;  // which way the head points: -d in x
  QPainterPath path(QPointF(cx + 30 * d, 82));
  path.cubicTo(QPointF(cx + 44 * d, 40), QPointF(cx + 20 * d, 16), QPointF(cx - 2 * d, 22));
  path.lineTo(QPointF(cx - 14 * d, 26));
  p.setPen(QPen(back ? kBlue : kGreen, 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  QPolygonF head;
  head << QPointF(cx - 44 * d, 36) << QPointF(cx - 8 * d, 6) << QPointF(cx - 4 * d, 52);
  p.setPen(Qt::NoPen);
  p.setBrush(back ? kBlue : kGreen);
  p.drawPolygon(head);
}

const std::map<QString, Painter>& Painters() {
  static const std::map<QString, Painter> painters = {
      {"SelectionBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(QPen(kBlue, 3, Qt::DashLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(cx - 42, 8, 60, 54));
         QPolygonF arrow;
         arrow << QPointF(0, 0) << QPointF(0, 62) << QPointF(15, 48) << QPointF(26, 72) << QPointF(37, 67)
               << QPointF(26, 43) << QPointF(46, 43);
         arrow.translate(cx - 8, 24);
         p.setPen(Ink(4));
         p.setBrush(Qt::white);
         p.drawPolygon(arrow);
       }},
      {"TextBtn", [](QPainter& p, qreal W) { Letter(p, QRectF(0, 0, W, 100), "あ", QPen(kBlue), 84); }},
      {"LineBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(Ink(9));
         p.drawLine(QPointF(cx - 36, 84), QPointF(cx + 36, 16));
         Dot(p, QPointF(cx - 36, 84), 8, kRed);
         Dot(p, QPointF(cx + 36, 16), 8, kRed);
       }},
      {"FreeBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         QPainterPath path(QPointF(cx - 42, 70));
         path.cubicTo(QPointF(cx - 30, 0), QPointF(cx - 10, 110), QPointF(cx + 5, 45));
         path.cubicTo(QPointF(cx + 15, 5), QPointF(cx + 35, 40), QPointF(cx + 42, 22));
         p.setPen(Ink(9));
         p.setBrush(Qt::NoBrush);
         p.drawPath(path);
       }},
      {"OvalBtn",
       [](QPainter& p, qreal W) {
         p.setPen(Ink(8));
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(W / 2, 50), 42, 34);
       }},
      {"RectBtn",
       [](QPainter& p, qreal W) {
         p.setPen(Ink(8, kInk));
         p.setBrush(Qt::white);
         p.drawRect(QRectF(W / 2 - 40, 18, 80, 64));
       }},
      {"PolylineBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         QPolygonF zig;
         zig << QPointF(cx - 42, 82) << QPointF(cx - 18, 20) << QPointF(cx + 10, 74) << QPointF(cx + 42, 18);
         p.setPen(Ink(8));
         p.setBrush(Qt::NoBrush);
         p.drawPolyline(zig);
         for (QPointF v : zig) Dot(p, v, 7, kRed);
       }},
      {"PolygonBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         QPolygonF shape;
         shape << QPointF(cx - 10, 12) << QPointF(cx + 42, 40) << QPointF(cx + 24, 88) << QPointF(cx - 30, 80)
               << QPointF(cx - 42, 34);
         p.setPen(Ink(8));
         p.setBrush(Qt::white);
         p.drawPolygon(shape);
         for (QPointF v : shape) Dot(p, v, 7, kRed);
       }},
      {"StampBtn",
       [](QPainter& p, qreal W) {
         Stamp(p, QPointF(W / 2 - 8, 60), 1.0);
         p.setPen(Ink(2));
         p.setBrush(kYellow);
         p.drawPolygon(Star(QPointF(W / 2 + 30, 80), 16));
       }},
      {"SetStampBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(QPen(kBlue, 5, Qt::DashLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(cx - 44, 8, 88, 84));
         p.setPen(Ink(3));
         p.setBrush(kYellow);
         p.drawPolygon(Star(QPointF(cx - 14, 38), 22));
         p.setBrush(kRed);
         p.drawEllipse(QPointF(cx + 18, 66), 16, 16);
       }},
      {"DupBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(Ink(4));
         p.setBrush(QColor(120, 170, 240));
         p.drawRect(QRectF(cx - 46, 14, 44, 44));
         p.drawRect(QRectF(cx - 24, 40, 44, 44));
         Dot(p, QPointF(cx + 40, 30), 18, kGreen);
         p.setPen(Ink(6, Qt::white));
         p.drawLine(QPointF(cx + 30, 30), QPointF(cx + 50, 30));
         p.drawLine(QPointF(cx + 40, 20), QPointF(cx + 40, 40));
       }},
      {"DeleteBtn",
       [](QPainter& p, qreal W) {
         TrashCan(p, W / 2 + 14);
         p.setPen(Ink(4));
         p.setBrush(QColor(120, 170, 240));
         p.drawRect(QRectF(W / 2 - 52, 4, 30, 30));
         Arrow(p, QPointF(W / 2 - 30, 40), QPointF(W / 2 - 12, 58), kRed, 6);
       }},
      {"UndoBtn",
       [](QPainter& p, qreal W) {
         TrashCan(p, W / 2 - 14);
         p.setPen(Ink(4));
         p.setBrush(QColor(120, 170, 240));
         p.drawRect(QRectF(W / 2 + 22, 4, 30, 30));
         Arrow(p, QPointF(W / 2 + 8, 60), QPointF(W / 2 + 28, 40), kGreen, 6);
       }},
      {"FrontBtn",
       [](QPainter& p, qreal W) {
         TwoSquares(p, W / 2 - 10, true);
         Arrow(p, QPointF(W / 2 + 46, 90), QPointF(W / 2 + 46, 20), kGreen, 7);
       }},
      {"BackBtn",
       [](QPainter& p, qreal W) {
         TwoSquares(p, W / 2 - 10, false);
         Arrow(p, QPointF(W / 2 + 46, 20), QPointF(W / 2 + 46, 90), kGreen, 7);
       }},
      {"ThinBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(Ink(18));
         p.drawLine(QPointF(cx - 60, 50), QPointF(cx - 22, 50));
         Arrow(p, QPointF(cx - 12, 50), QPointF(cx + 12, 50), kGreen, 6);
         p.setPen(Ink(4));
         p.drawLine(QPointF(cx + 24, 50), QPointF(cx + 62, 50));
       }},
      {"ThickBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         p.setPen(Ink(4));
         p.drawLine(QPointF(cx - 60, 50), QPointF(cx - 22, 50));
         Arrow(p, QPointF(cx - 12, 50), QPointF(cx + 12, 50), kGreen, 6);
         p.setPen(Ink(22));
         p.drawLine(QPointF(cx + 26, 50), QPointF(cx + 60, 50));
       }},
      {"LineColorBtn",
       [](QPainter& p, qreal W) {
         QRectF r(W / 2 - 38, 14, 76, 72);
         p.setBrush(Qt::NoBrush);
         const QColor colors[4] = {kRed, kYellow, kGreen, kBlue};
         const QPointF corners[5] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(), r.topLeft()};
         for (int i = 0; i < 4; ++i) {
           p.setPen(QPen(colors[i], 12, Qt::SolidLine, Qt::SquareCap));
           p.drawLine(corners[i], corners[i + 1]);
         }
       }},
      {"BodyColorBtn",
       [](QPainter& p, qreal W) {
         QRectF r(W / 2 - 38, 14, 76, 72);
         QLinearGradient g(r.topLeft(), r.bottomRight());
         g.setColorAt(0, kRed);
         g.setColorAt(0.35, kYellow);
         g.setColorAt(0.65, kGreen);
         g.setColorAt(1, kBlue);
         p.setPen(Ink(4));
         p.setBrush(g);
         p.drawRect(r);
       }},
      {"ChangeTextBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         Letter(p, QRectF(cx - 80, 0, 70, 100), "あ", QPen(kInk), 66);
         Arrow(p, QPointF(cx - 14, 52), QPointF(cx + 14, 52), kGreen, 6);
         Letter(p, QRectF(cx + 10, 0, 70, 100), "い", QPen(kBlue), 66);
       }},
      {"TextColorBtn",
       [](QPainter& p, qreal W) {
         qreal cx = W / 2;
         const QColor colors[3] = {kRed, kGreen, kBlue};
         for (int i = 0; i < 3; ++i)
           Letter(p, QRectF(cx - 90 + 60 * i, 0, 60, 100), "あ", QPen(colors[i]), 62);
       }},
      {"UndoStepBtn", [](QPainter& p, qreal W) { CurvedArrow(p, W / 2, true); }},
      {"RedoStepBtn", [](QPainter& p, qreal W) { CurvedArrow(p, W / 2, false); }},
      {"PlayBtn",
       [](QPainter& p, qreal W) {
         QPolygonF triangle;
         triangle << QPointF(W / 2 - 30, 12) << QPointF(W / 2 + 40, 50) << QPointF(W / 2 - 30, 88);
         p.setPen(Ink(6, kGreen));
         p.setBrush(kGreen);
         p.drawPolygon(triangle);
       }},
      {"PauseBtn",
       [](QPainter& p, qreal W) {
         p.setPen(Ink(4, kBlue));
         p.setBrush(kBlue);
         p.drawRoundedRect(QRectF(W / 2 - 34, 12, 24, 76), 4, 4);
         p.drawRoundedRect(QRectF(W / 2 + 10, 12, 24, 76), 4, 4);
       }},
  };
  return painters;
}

}  // namespace

QIcon ButtonIcon(const QString& buttonName, QSize size) {
  const auto& painters = Painters();
  auto it = painters.find(buttonName);
  if (it == painters.end() || size.isEmpty()) return QIcon();
  QIcon icon;
  for (int ratio : {1, 2}) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal scale = size.height() / 100.0;
    p.scale(scale, scale);
    it->second(p, size.width() / scale);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
