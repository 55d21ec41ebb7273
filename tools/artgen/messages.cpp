// The pictures of the message dialog: information, question, warning, error,
// a question that warns, and dominoes, each 50 x 50.
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
      // A question that warns: two choices that cannot go together.
      DrawDisc(p, c, 21, QColor(0xFF, 0xD8, 0x7A), QColor(0xC0, 0x6A, 0x08));
      DrawSign(p, c + QPointF(0, 0.5), 30, "?");
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
