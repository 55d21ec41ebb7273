// The tile backs of the face-down hands: lacquered red with a fine gold
// border, a faint lattice and a small gold emblem, so a hidden hand reads at
// once as tiles seen from behind.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "artgen.h"
#include "layer.h"
#include "palette.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

void PaintLattice(QPainter& p, const QRectF& area) {
  p.save();
  p.setClipRect(area);
  p.setPen(QPen(QColor(0x30, 0x02, 0x08, 90), 1.0));
  const double span = area.width() + area.height();
  for (double d = -span; d < span; d += 6.0) {
    p.drawLine(QPointF(area.left() + d, area.top()),
               QPointF(area.left() + d + area.height(), area.bottom()));
    p.drawLine(QPointF(area.left() + d, area.bottom()),
               QPointF(area.left() + d + area.height(), area.top()));
  }
  p.restore();
}

void PaintEmblem(QPainter& p, QPointF c, double r) {
  QPainterPath diamond;
  diamond.moveTo(c + QPointF(0, -r));
  diamond.lineTo(c + QPointF(r * 0.8, 0));
  diamond.lineTo(c + QPointF(0, r));
  diamond.lineTo(c + QPointF(-r * 0.8, 0));
  diamond.closeSubpath();
  QLinearGradient g(c - QPointF(r, r), c + QPointF(r, r));
  g.setColorAt(0, kBrassLight);
  g.setColorAt(1, kGoldDark);
  p.setPen(QPen(QColor(0x3A, 0x1A, 0x04), 0.9));
  p.setBrush(g);
  p.drawPath(diamond);
  QRadialGradient ruby(c, r * 0.35, c - QPointF(r * 0.12, r * 0.12));
  ruby.setColorAt(0, QColor(0xFF, 0x6A, 0x6A));
  ruby.setColorAt(1, QColor(0x7A, 0x06, 0x10));
  p.setPen(Qt::NoPen);
  p.setBrush(ruby);
  p.drawEllipse(c, r * 0.3, r * 0.3);
}

QImage PaintBack(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF outer(0, 0, w, h);
  QPainterPath body;
  body.addRoundedRect(outer, 4.5, 4.5);
  QLinearGradient lacquer(0, 0, w * 0.6, h);
  lacquer.setColorAt(0, kBackLight);
  lacquer.setColorAt(1, kBackDark);
  p.fillPath(body, lacquer);
  // A soft sheen across the upper part of the lacquer.
  QRadialGradient sheen(QPointF(w * 0.3, h * 0.2), std::max(w, h) * 0.6);
  sheen.setColorAt(0, QColor(255, 255, 255, 45));
  sheen.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillPath(body, sheen);
  const QRectF inner = outer.adjusted(3.5, 3.5, -3.5, -3.5);
  PaintLattice(p, inner);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 0.9));
  p.drawRoundedRect(inner, 2.0, 2.0);
  p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
  p.drawLine(QPointF(2.5, 1.5), QPointF(w - 2.5, 1.5));
  p.drawLine(QPointF(1.5, 2.5), QPointF(1.5, h - 2.5));
  p.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
  p.drawLine(QPointF(2.5, h - 1.5), QPointF(w - 2.5, h - 1.5));
  p.drawLine(QPointF(w - 1.5, 2.5), QPointF(w - 1.5, h - 2.5));
  PaintEmblem(p, QPointF(w / 2.0, h / 2.0), std::min(w, h) * 0.26);
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 4.0, 4.0);
  p.end();
  return layer;
}

}  // namespace

void MakeBacks(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kDorsosSize.w, art::kDorsosSize.h);
  for (int seat = 1; seat <= 4; ++seat) {
    const art::Cell c = art::kBack[seat];
    PutMasked(strip, PaintBack(c.w, c.h), c, art::kBackMask[seat], kOutline);
  }
  SavePng(strip, outDir + "/strips/dorsos.png");
}

}  // namespace artgen
