// The six buttons of the table's bar: cream lacquered keys with a coloured
// icon each, and the score button, a plain paper panel the score is printed on.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>

#include "artgen.h"
#include "icons.h"
#include "layer.h"
#include "palette.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

void PaintHelp(QPainter& p, const QRectF& r) {
  const QPointF c = r.center() + QPointF(0, -0.5);
  DrawDisc(p, c, 13.0, QColor(0x6C, 0xB6, 0xFF), QColor(0x12, 0x4A, 0xA8));
  DrawSign(p, c + QPointF(0, 0.5), 20, "?");
}

void PaintNewMatch(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  DrawMiniDomino(p, QRectF(c.x() - 17, c.y() - 15, 15, 29), 6, 3, -14);
  DrawMiniDomino(p, QRectF(c.x() - 5, c.y() - 16, 15, 29), 5, 2, 12);
  const QPointF badge = c + QPointF(15, 8.5);
  DrawDisc(p, badge, 7.5, QColor(0x7E, 0xE0, 0x6C), QColor(0x16, 0x7A, 0x22));
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(badge + QPointF(-3.6, 0), badge + QPointF(3.6, 0));
  p.drawLine(badge + QPointF(0, -3.6), badge + QPointF(0, 3.6));
}

void PaintSettings(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  DrawGear(p, c + QPointF(8.5, 7.0), 9.0, 8, QColor(0xF6, 0xD2, 0x7A), QColor(0x9A, 0x62, 0x12),
           11.0);
  DrawGear(p, c + QPointF(-5.5, -2.5), 14.0, 10, QColor(0xD8, 0xE2, 0xF0), QColor(0x4A, 0x5C, 0x7A),
           0.0);
}

void PaintTutor(QPainter& p, const QRectF& r) {
  DrawBulb(p, r.center() + QPointF(0, -5.5), 10.0);
}

void PaintExit(QPainter& p, const QRectF& r) {
  const double x = r.left(), y = r.top();
  // The doorway, dark, inside its frame.
  const QRectF frame(x + 9, y + 8, 19, 32);
  p.setPen(QPen(QColor(0x2E, 0x1C, 0x0C), 1.0));
  QLinearGradient dark(frame.topLeft(), frame.bottomRight());
  dark.setColorAt(0, QColor(0x3A, 0x2C, 0x22));
  dark.setColorAt(1, QColor(0x12, 0x0C, 0x08));
  p.setBrush(dark);
  p.drawRect(frame);
  // The door, swung open towards us on its left hinge.
  QPainterPath door;
  door.moveTo(x + 9, y + 8);
  door.lineTo(x + 20, y + 11);
  door.lineTo(x + 20, y + 43);
  door.lineTo(x + 9, y + 40);
  door.closeSubpath();
  QLinearGradient wood(x + 9, 0, x + 20, 0);
  wood.setColorAt(0, QColor(0xC8, 0x7A, 0x3A));
  wood.setColorAt(1, QColor(0x7A, 0x3E, 0x14));
  p.setBrush(wood);
  p.drawPath(door);
  p.setBrush(QColor(0xF4, 0xD0, 0x60));
  p.drawEllipse(QPointF(x + 17.5, y + 27), 1.3, 1.6);
  // The way out.
  QPainterPath arrow;
  const double ay = y + 25;
  arrow.moveTo(x + 23, ay - 3.2);
  arrow.lineTo(x + 32, ay - 3.2);
  arrow.lineTo(x + 32, ay - 8.5);
  arrow.lineTo(x + 42, ay);
  arrow.lineTo(x + 32, ay + 8.5);
  arrow.lineTo(x + 32, ay + 3.2);
  arrow.lineTo(x + 23, ay + 3.2);
  arrow.closeSubpath();
  QLinearGradient red(0, ay - 8, 0, ay + 8);
  red.setColorAt(0, QColor(0xFF, 0x7A, 0x5A));
  red.setColorAt(1, QColor(0xB8, 0x14, 0x10));
  p.setPen(QPen(QColor(0x5A, 0x06, 0x04), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(red);
  p.drawPath(arrow);
}

// The score button: a flat paper panel so that the numbers printed on it
// stay crisp; only its outer two pixels are frame.
void PaintScorePanel(QPainter& p, const QRectF& r) {
  const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(kButtonRim, 1.0));
  p.setBrush(QColor(0xFB, 0xF7, 0xEA));
  p.drawRoundedRect(body, 3.0, 3.0);
  p.setPen(QPen(QColor(0xD8, 0xC4, 0x8C), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 2.0, 2.0);
}

QImage PaintButton(int n, int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF r(0, 0, w, h);
  if (n == 6) {
    PaintScorePanel(p, r);
  } else {
    DrawButtonBody(p, r, 7.0);
    switch (n) {
      case 1:
        PaintHelp(p, r);
        break;
      case 2:
        PaintNewMatch(p, r);
        break;
      case 3:
        PaintSettings(p, r);
        break;
      case 4:
        PaintTutor(p, r);
        break;
      case 5:
        PaintExit(p, r);
        break;
      default:
        break;
    }
  }
  p.end();
  return layer;
}

}  // namespace

void MakeButtons(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kBmpVarioSize.w, art::kBmpVarioSize.h);
  for (int n = 1; n <= 6; ++n) {
    const art::Cell c = art::kButtonImage[n];
    PutMasked(strip, PaintButton(n, c.w, c.h), c, art::kButtonMask[n], kButtonRim);
  }
  SavePng(strip, outDir + "/strips/bmpvario.png");
}

}  // namespace artgen
