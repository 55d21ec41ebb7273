// The tile backs of the face-down hands: lacquered red with a fine gold
// border, a faint lattice and a small gold emblem, so a hidden hand reads at
// once as tiles seen from behind.
//
// The bottom hand shows its backs whole. The side and top hands stand their
// tiles on edge facing their players, so from above each is a narrow block:
// the ivory long edge on the player's side and a foreshortened strip of the
// red back facing the table's middle. The half of the cell on the table's
// edge stays empty for the seat's name, spelt beside the hand.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

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

// How a standing tile lies in its cell. The block is painted in its own frame,
// u along the hand (0..kStandLength) and v across it from the player's side
// (0) to the table's middle (kStandDepth), then mapped into the cell so that
// u = 0 is always the upper or left end, where the light comes from.
constexpr double kStandLength = 36.0;
constexpr double kStandDepth = 21.0;
constexpr double kStandEdge = 8.0;  // the ivory edge; the back takes the rest

QTransform StandingFrame(int seat) {
  switch (seat) {
    case 1:  // left edge: player at x 21, middle at x 42
      return QTransform(0, 1, 1, 0, 21, 1);
    case 3:  // right edge: player at x 21, middle at x 0
      return QTransform(0, 1, -1, 0, 21, 1);
    default:  // top edge: player at y 21, middle at y 42
      return QTransform(1, 0, 0, 1, 0, 21);
  }
}

// The tile's long edge, seen from straight above: bone, rounded over towards
// the player and with a thin line of the red lacquer where the back begins.
void PaintStandingEdge(QPainter& p) {
  const QRectF edge(0, 0, kStandLength, kStandEdge);
  QLinearGradient across(0, 0, 0, kStandEdge);
  across.setColorAt(0.0, kEdgeDark);
  across.setColorAt(0.2, kEdgeLight);
  across.setColorAt(0.4, kIvoryLight);
  across.setColorAt(0.62, kIvory);
  across.setColorAt(0.85, kIvoryShade);
  across.setColorAt(1.0, kEdgeLight);
  p.fillRect(edge, across);
  // The ends curve away too, so the edge darkens a little towards them.
  QLinearGradient along(0, 0, kStandLength, 0);
  along.setColorAt(0.0, QColor(0x6A, 0x55, 0x30, 70));
  along.setColorAt(0.12, QColor(0x6A, 0x55, 0x30, 0));
  along.setColorAt(0.88, QColor(0x6A, 0x55, 0x30, 0));
  along.setColorAt(1.0, QColor(0x6A, 0x55, 0x30, 90));
  p.fillRect(edge, along);
  // The seam between the bone and the lacquered back.
  p.fillRect(QRectF(0, kStandEdge - 1.0, kStandLength, 1.0), kDividerDark);
  p.fillRect(QRectF(0, kStandEdge, kStandLength, 1.0), kBackDark.darker(130));
}

// The back, tilted away from the viewer: lit where it meets the edge and
// darker towards the table, framed in gold with a flattened emblem.
void PaintStandingBackFace(QPainter& p) {
  const QRectF back(0, kStandEdge + 1.0, kStandLength, kStandDepth - kStandEdge - 1.0);
  QLinearGradient lacquer(0, back.top(), 0, back.bottom());
  lacquer.setColorAt(0, kBackLight);
  lacquer.setColorAt(1, kBackDark);
  p.fillRect(back, lacquer);
  QLinearGradient sheen(0, 0, kStandLength, 0);
  sheen.setColorAt(0.0, QColor(255, 255, 255, 40));
  sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
  p.fillRect(back, sheen);
  const QRectF inner = back.adjusted(2.5, 2.0, -2.5, -2.0);
  PaintLattice(p, inner);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 0.8));
  p.drawRoundedRect(inner, 1.5, 1.5);
  const QPointF c(kStandLength / 2.0, inner.center().y());
  p.save();
  p.translate(c);
  p.scale(1.0, 0.62);
  PaintEmblem(p, QPointF(0, 0), 5.2);
  p.restore();
}

QImage PaintStandingBack(int seat, int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  p.setTransform(StandingFrame(seat));
  const QRectF block(0, 0, kStandLength, kStandDepth);
  QPainterPath body;
  body.addRoundedRect(block, 3.5, 3.5);
  p.setClipPath(body);
  PaintStandingEdge(p);
  PaintStandingBackFace(p);
  p.setClipping(false);
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(block.adjusted(0.5, 0.5, -0.5, -0.5), 3.0, 3.0);
  p.end();
  return layer;
}

}  // namespace

void MakeBacks(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kDorsosSize.w, art::kDorsosSize.h);
  for (int seat = 1; seat <= 4; ++seat) {
    const art::Cell c = art::kBack[seat];
    const QImage back = seat == 4 ? PaintBack(c.w, c.h) : PaintStandingBack(seat, c.w, c.h);
    PutMasked(strip, back, c, art::kBackMask[seat], kOutline);
  }
  SavePng(strip, outDir + "/strips/dorsos.png");
}

}  // namespace artgen
