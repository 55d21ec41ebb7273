#include "pips.h"

#include <QRadialGradient>

namespace artgen {

std::vector<QPointF> PipGrid(int pips, bool flat) {
  std::vector<QPointF> g;
  switch (pips) {
    case 1:
      g = {{0, 0}};
      break;
    case 2:
      g = {{1, -1}, {-1, 1}};
      break;
    case 3:
      g = {{1, -1}, {0, 0}, {-1, 1}};
      break;
    case 4:
      g = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
      break;
    case 5:
      g = {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}};
      break;
    case 6:
      g = {{-1, -1}, {-1, 0}, {-1, 1}, {1, -1}, {1, 0}, {1, 1}};
      break;
    default:
      break;
  }
  if (flat) {
    for (QPointF& q : g) q = QPointF(-q.y(), q.x());
  }
  return g;
}

void DrawPip(QPainter& p, QPointF c, double r, bool shine) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(c + QPointF(0.45, 0.55), r + 0.35, r + 0.35);
  QRadialGradient body(c, r, c - QPointF(r * 0.4, r * 0.45));
  body.setColorAt(0.0, QColor(0x55, 0x55, 0x5A));
  body.setColorAt(0.55, QColor(0x1C, 0x1C, 0x20));
  body.setColorAt(1.0, QColor(0x05, 0x05, 0x06));
  p.setBrush(body);
  p.drawEllipse(c, r, r);
  if (shine) {
    p.setBrush(QColor(255, 255, 255, 95));
    p.drawEllipse(c - QPointF(r * 0.38, r * 0.40), r * 0.30, r * 0.26);
  }
  p.restore();
}

void DrawPipPattern(QPainter& p, int pips, bool flat, QPointF centre, double step, double r,
                    bool shine) {
  for (const QPointF& q : PipGrid(pips, flat)) DrawPip(p, centre + q * step, r, shine);
}

}  // namespace artgen
