#include "icons.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "layer.h"
#include "palette.h"
#include "pips.h"

namespace artgen {

void DrawMiniDomino(QPainter& p, const QRectF& r, int a, int b, double degrees) {
  p.save();
  p.translate(r.center());
  p.rotate(degrees);
  const QRectF t(-r.width() / 2, -r.height() / 2, r.width(), r.height());
  const double round = r.width() * 0.16;
  // Thickness first, a little down and right, then the face over it.
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(kEdgeDark);
  p.drawRoundedRect(t.translated(1.6, 1.6), round, round);
  QLinearGradient face(t.topLeft(), t.bottomRight());
  face.setColorAt(0, kIvoryLight);
  face.setColorAt(1, kIvoryShade);
  p.setBrush(face);
  p.drawRoundedRect(t, round, round);
  p.setPen(QPen(kDividerDark, 0.9));
  const double inset = t.width() * 0.16;
  p.drawLine(QPointF(t.left() + inset, 0), QPointF(t.right() - inset, 0));
  const double half = t.height() / 4.0;
  const double step = t.width() * 0.26;
  const double pip = t.width() * 0.095;
  DrawPipPattern(p, a, false, QPointF(0, -half), step, pip, false);
  DrawPipPattern(p, b, false, QPointF(0, half), step, pip, false);
  p.restore();
}

void DrawGear(QPainter& p, QPointF c, double r, int teeth, QColor light, QColor dark,
              double degrees) {
  QPainterPath gear;
  const double inner = r * 0.74;
  const int steps = teeth * 4;
  for (int i = 0; i < steps; ++i) {
    // Each tooth: two points out, two points in, slightly tapered.
    const double a0 = qDegreesToRadians(degrees + 360.0 * i / steps);
    const int phase = i % 4;
    const double rad = (phase == 1 || phase == 2) ? r : inner;
    const double taper = (phase == 1) ? 0.06 : (phase == 2 ? -0.06 : 0.0);
    const QPointF q = c + QPointF(std::cos(a0 + taper), std::sin(a0 + taper)) * rad;
    if (i == 0) {
      gear.moveTo(q);
    } else {
      gear.lineTo(q);
    }
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, r * 0.3, r * 0.3);
  gear = gear.subtracted(hole);
  QLinearGradient g(c - QPointF(r, r), c + QPointF(r, r));
  g.setColorAt(0, light);
  g.setColorAt(1, dark);
  p.setPen(QPen(QColor(0x1E, 0x22, 0x2A), 1.0));
  p.setBrush(g);
  p.drawPath(gear);
  p.setPen(QPen(QColor(255, 255, 255, 90), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, r * 0.52, r * 0.52);
}

void DrawBulb(QPainter& p, QPointF c, double r) {
  // Rays behind the glass.
  p.setPen(QPen(QColor(0xF2, 0x9A, 0x12), 1.6, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 7; ++i) {
    const double a = qDegreesToRadians(-180.0 + 30.0 * i);
    const QPointF d(std::cos(a), std::sin(a));
    p.drawLine(c + d * (r + 2.5), c + d * (r + 5.5));
  }
  QPainterPath glass;
  glass.addEllipse(c, r, r);
  QPainterPath neck;
  neck.moveTo(c + QPointF(-r * 0.62, r * 0.7));
  neck.lineTo(c + QPointF(-r * 0.42, r * 1.35));
  neck.lineTo(c + QPointF(r * 0.42, r * 1.35));
  neck.lineTo(c + QPointF(r * 0.62, r * 0.7));
  neck.closeSubpath();
  glass = glass.united(neck);
  QRadialGradient light(c - QPointF(r * 0.3, r * 0.35), r * 1.5);
  light.setColorAt(0, QColor(0xFF, 0xFF, 0xE8));
  light.setColorAt(0.45, QColor(0xFF, 0xE8, 0x5A));
  light.setColorAt(1, QColor(0xF0, 0xA8, 0x10));
  p.setPen(QPen(QColor(0x6A, 0x44, 0x06), 1.0));
  p.setBrush(light);
  p.drawPath(glass);
  // Filament.
  p.setPen(QPen(QColor(0xC0, 0x5A, 0x06), 0.9));
  p.setBrush(Qt::NoBrush);
  QPainterPath fil;
  fil.moveTo(c + QPointF(-r * 0.3, r * 0.9));
  fil.lineTo(c + QPointF(-r * 0.3, r * 0.1));
  fil.quadTo(c + QPointF(0, -r * 0.45), c + QPointF(r * 0.3, r * 0.1));
  fil.lineTo(c + QPointF(r * 0.3, r * 0.9));
  p.drawPath(fil);
  // Screw base.
  const double bw = r * 0.86, top = c.y() + r * 1.35;
  for (int i = 0; i < 3; ++i) {
    QLinearGradient metal(c.x() - bw / 2, 0, c.x() + bw / 2, 0);
    metal.setColorAt(0, QColor(0x9A, 0x9E, 0xA6));
    metal.setColorAt(0.4, QColor(0xF2, 0xF4, 0xF6));
    metal.setColorAt(1, QColor(0x5A, 0x5E, 0x66));
    p.setPen(QPen(QColor(0x2A, 0x2C, 0x30), 0.8));
    p.setBrush(metal);
    const double w = bw - i * 1.2;
    p.drawRoundedRect(QRectF(c.x() - w / 2, top + i * 2.6, w, 2.8), 1.2, 1.2);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x34));
  p.drawEllipse(QPointF(c.x(), top + 8.6), 1.8, 1.2);
}

void DrawDisc(QPainter& p, QPointF c, double r, QColor light, QColor dark) {
  QRadialGradient g(c - QPointF(r * 0.35, r * 0.45), r * 1.4);
  g.setColorAt(0, light);
  g.setColorAt(1, dark);
  p.setPen(QPen(dark.darker(170), 1.0));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  // Gloss on the upper half.
  QLinearGradient gloss(0, c.y() - r, 0, c.y());
  gloss.setColorAt(0, QColor(255, 255, 255, 150));
  gloss.setColorAt(1, QColor(255, 255, 255, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawEllipse(QRectF(c.x() - r * 0.72, c.y() - r * 0.92, r * 1.44, r * 0.95));
}

void DrawSign(QPainter& p, QPointF c, int pixelSize, const QString& sign) {
  const QFont font = DejaVu(pixelSize, true);
  QPainterPath path;
  path.addText(0, 0, font, sign);
  const QRectF box = path.boundingRect();
  path.translate(c - box.center());
  p.fillPath(path.translated(0.8, 1.0), QColor(0, 0, 0, 110));
  p.fillPath(path, Qt::white);
}

void DrawButtonBody(QPainter& p, const QRectF& r, double radius) {
  const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient g(0, r.top(), 0, r.bottom());
  g.setColorAt(0, kButtonTop);
  g.setColorAt(0.55, QColor(0xF4, 0xE6, 0xC2));
  g.setColorAt(1, kButtonBottom);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(body, radius, radius);
  // Gloss over the upper half, and a lit inner rim.
  QLinearGradient gloss(0, r.top(), 0, r.center().y());
  gloss.setColorAt(0, QColor(255, 255, 255, 150));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setBrush(gloss);
  p.drawRoundedRect(
      QRectF(body.left() + 2, body.top() + 1.5, body.width() - 4, body.height() * 0.48),
      radius - 1.5, radius - 1.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
  p.drawRoundedRect(body.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
  p.setPen(QPen(QColor(0x9A, 0x7C, 0x40, 150), 1.0));
  p.drawLine(QPointF(body.left() + radius, body.bottom() - 1.0),
             QPointF(body.right() - radius, body.bottom() - 1.0));
  p.setPen(QPen(kButtonRim, 1.2));
  p.drawRoundedRect(body, radius, radius);
}

}  // namespace artgen
