// The pictures of the message dialog: information, question, warning, error,
// victory and dominoes, each 50 x 50.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "artgen.h"
#include "icons.h"
#include "layer.h"
#include "palette.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

void PaintWarning(QPainter& p) {
  QPainterPath tri;
  tri.moveTo(25, 4);
  tri.lineTo(46.5, 43);
  tri.lineTo(3.5, 43);
  tri.closeSubpath();
  QPainterPathStroker round;
  round.setWidth(5);
  round.setJoinStyle(Qt::RoundJoin);
  tri = tri.united(round.createStroke(tri));
  QLinearGradient amber(0, 4, 0, 46);
  amber.setColorAt(0, QColor(0xFF, 0xEC, 0x7A));
  amber.setColorAt(1, QColor(0xF0, 0xA4, 0x0A));
  p.setPen(QPen(QColor(0x5A, 0x3A, 0x02), 1.2));
  p.setBrush(amber);
  p.drawPath(tri);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1E, 0x16, 0x08));
  p.drawRoundedRect(QRectF(22.6, 16, 4.8, 16), 2.2, 2.2);
  p.drawEllipse(QPointF(25, 37.5), 2.8, 2.8);
}

void PaintError(QPainter& p) {
  const QPointF c(25, 25);
  DrawDisc(p, c, 21, QColor(0xFF, 0x8A, 0x7A), QColor(0xB0, 0x10, 0x0C));
  p.setPen(QPen(QColor(0, 0, 0, 90), 5.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c + QPointF(-8, -7), c + QPointF(9, 10));
  p.drawLine(c + QPointF(9, -7), c + QPointF(-8, 10));
  p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c + QPointF(-8.5, -8.5), c + QPointF(8.5, 8.5));
  p.drawLine(c + QPointF(8.5, -8.5), c + QPointF(-8.5, 8.5));
}

void PaintTrophy(QPainter& p) {
  QLinearGradient gold(8, 0, 42, 0);
  gold.setColorAt(0, QColor(0xB8, 0x7C, 0x10));
  gold.setColorAt(0.35, QColor(0xFF, 0xF0, 0x9A));
  gold.setColorAt(0.7, QColor(0xF2, 0xC2, 0x32));
  gold.setColorAt(1, QColor(0x9A, 0x62, 0x08));
  const QPen rim(QColor(0x4A, 0x2C, 0x02), 1.1);
  // Handles behind the cup.
  p.setPen(QPen(QColor(0x4A, 0x2C, 0x02), 4.6));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4.5, 9, 13, 15), 90 * 16, 180 * 16);
  p.drawArc(QRectF(32.5, 9, 13, 15), 270 * 16, 180 * 16);
  p.setPen(QPen(QColor(0xF2, 0xC2, 0x32), 2.4));
  p.drawArc(QRectF(4.5, 9, 13, 15), 90 * 16, 180 * 16);
  p.drawArc(QRectF(32.5, 9, 13, 15), 270 * 16, 180 * 16);
  QPainterPath cup;
  cup.moveTo(11, 5);
  cup.lineTo(39, 5);
  cup.cubicTo(39, 22, 33, 29, 25, 30);
  cup.cubicTo(17, 29, 11, 22, 11, 5);
  cup.closeSubpath();
  p.setPen(rim);
  p.setBrush(gold);
  p.drawPath(cup);
  p.drawRect(QRectF(22.5, 29.5, 5, 7));
  p.drawRoundedRect(QRectF(15, 36, 20, 4), 1.5, 1.5);
  QLinearGradient wood(0, 40, 0, 47);
  wood.setColorAt(0, QColor(0x8A, 0x4A, 0x1E));
  wood.setColorAt(1, QColor(0x4A, 0x22, 0x0A));
  p.setBrush(wood);
  p.drawRoundedRect(QRectF(12, 40, 26, 7), 1.5, 1.5);
  // A star on the cup.
  QPainterPath star;
  const QPointF c(25, 15);
  for (int i = 0; i < 10; ++i) {
    const double a = qDegreesToRadians(-90.0 + 36.0 * i);
    const double r = (i % 2 == 0) ? 5.6 : 2.4;
    const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * r;
    if (i == 0) {
      star.moveTo(q);
    } else {
      star.lineTo(q);
    }
  }
  star.closeSubpath();
  p.setPen(QPen(QColor(0x8A, 0x56, 0x02), 0.8));
  p.setBrush(QColor(0xFF, 0xFC, 0xE0));
  p.drawPath(star);
}

QImage PaintPicture(int n) {
  QImage layer = NewLayer(50, 50);
  QPainter p;
  BeginPainter(p, layer);
  const QPointF c(25, 25);
  switch (n) {
    case 1:
      DrawDisc(p, c, 21, QColor(0x8C, 0xC8, 0xFF), QColor(0x10, 0x48, 0xA8));
      DrawSign(p, c + QPointF(0, 0.5), 30, "i");
      break;
    case 2:
      DrawDisc(p, c, 21, QColor(0x8A, 0xE6, 0xA6), QColor(0x0E, 0x72, 0x3A));
      DrawSign(p, c + QPointF(0, 0.5), 30, "?");
      break;
    case 3:
      PaintWarning(p);
      break;
    case 4:
      PaintError(p);
      break;
    case 5:
      PaintTrophy(p);
      break;
    case 6:
      DrawMiniDomino(p, QRectF(6, 7, 18, 35), 6, 4, -16);
      DrawMiniDomino(p, QRectF(24, 6, 18, 35), 5, 1, 14);
      break;
    default:
      break;
  }
  p.end();
  return layer;
}

}  // namespace

void MakeMessages(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kMensajesSize.w, art::kMensajesSize.h);
  const QColor background{QRgb(art::kMessageBackgroundRgb)};
  for (int n = 1; n <= art::kMessagePictureCount; ++n) {
    const QImage picture = PaintPicture(n);
    PutMasked(strip, picture, art::MessagePicture(n), art::MessageMask(n), kOutline);
    PutOpaque(strip, picture, art::MessagePictureOpaque(n), background);
  }
  SavePng(strip, outDir + "/strips/mensajes.png");
}

}  // namespace artgen
