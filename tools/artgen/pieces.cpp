// The table's other pieces: the leader-choice panel, the domino banner, the
// continue button, the pass sign, the end arrows and the tutor's markers.
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

// A framed parchment panel: gold-brown moulding, a flat light middle for text.
QImage PaintLeaderPanel(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF r(0.5, 0.5, w - 1, h - 1);
  QLinearGradient frame(0, 0, 0, h);
  frame.setColorAt(0, QColor(0xE8, 0xC8, 0x72));
  frame.setColorAt(0.5, QColor(0xB0, 0x82, 0x2E));
  frame.setColorAt(1, QColor(0x7A, 0x52, 0x14));
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(frame);
  p.drawRoundedRect(r, 8, 8);
  const QRectF paper = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(QColor(0x5A, 0x3C, 0x0E), 1.0));
  p.setBrush(QColor(0xFB, 0xF6, 0xE6));
  p.drawRoundedRect(paper, 5, 5);
  p.setPen(QPen(QColor(0xD6, 0xBC, 0x7A), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(paper.adjusted(3, 3, -3, -3), 3, 3);
  DrawMiniDomino(p, QRectF(10, h / 2.0 - 14, 14, 27), 6, 6, -12);
  DrawMiniDomino(p, QRectF(w - 24, h / 2.0 - 14, 14, 27), 3, 1, 12);
  p.end();
  return layer;
}

// The banner of a hand won by domino.
QImage PaintDomino(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF r(0.5, 0.5, w - 1, h - 1);
  QLinearGradient red(0, 0, 0, h);
  red.setColorAt(0, QColor(0xD8, 0x2A, 0x30));
  red.setColorAt(1, QColor(0x6A, 0x06, 0x10));
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(red);
  p.drawRoundedRect(r, 10, 10);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.4));
  p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 7.5, 7.5);
  p.setPen(QPen(QColor(0xF6, 0xDC, 0x8C, 140), 0.8));
  p.drawRoundedRect(r.adjusted(5.5, 5.5, -5.5, -5.5), 5.5, 5.5);
  QLinearGradient gold(0, 12, 0, 38);
  gold.setColorAt(0, QColor(0xFF, 0xF6, 0xC0));
  gold.setColorAt(0.5, QColor(0xF6, 0xCC, 0x48));
  gold.setColorAt(1, QColor(0xC0, 0x82, 0x10));
  OutlinedText(p, DejaVu(21, true), QString::fromUtf8("DOMINÓ"), w / 2.0, 34, gold,
               QColor(0x3A, 0x0A, 0x02), 1.6);
  p.end();
  return layer;
}

QImage PaintContinue(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  DrawButtonBody(p, QRectF(0, 0, w, h), 6.0);
  p.end();
  return layer;
}

QImage PaintPass(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF r(0.5, 0.5, w - 1, h - 1);
  QLinearGradient red(0, 0, 0, h);
  red.setColorAt(0, QColor(0xF2, 0x5A, 0x46));
  red.setColorAt(1, QColor(0x9E, 0x10, 0x0C));
  p.setPen(QPen(QColor(0x3E, 0x04, 0x02), 1.0));
  p.setBrush(red);
  p.drawRoundedRect(r, 5, 5);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 220), 1.0));
  p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
  OutlinedText(p, DejaVu(13, true), "Paso", w / 2.0, 15.5, QBrush(Qt::white),
               QColor(0x5A, 0x06, 0x02), 0.9);
  p.end();
  return layer;
}

// An amber disc with a white arrow: "lay it here", pointing right or left.
QImage PaintArrow(bool right) {
  QImage layer = NewLayer(32, 32);
  QPainter p;
  BeginPainter(p, layer);
  const QPointF c(16, 16);
  DrawDisc(p, c, 14.5, QColor(0xFF, 0xE8, 0x8A), QColor(0xD0, 0x74, 0x06));
  p.translate(c);
  if (!right) p.scale(-1, 1);
  QPainterPath arrow;
  arrow.moveTo(-9, -3.2);
  arrow.lineTo(1, -3.2);
  arrow.lineTo(1, -8.5);
  arrow.lineTo(10, 0);
  arrow.lineTo(1, 8.5);
  arrow.lineTo(1, 3.2);
  arrow.lineTo(-9, 3.2);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(0x5A, 0x2C, 0x02), 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  p.end();
  return layer;
}

// A bold golden arrow pointing at the suggested tile; drawn pointing up and
// turned for each seat.
QImage PaintTutorMarker(int seat) {
  QImage layer = NewLayer(32, 32);
  QPainter p;
  BeginPainter(p, layer);
  p.translate(16, 16);
  const double turn[5] = {0, -90, 0, 90, 180};
  p.rotate(turn[seat]);
  QPainterPath arrow;
  arrow.moveTo(0, -14.5);
  arrow.lineTo(12.5, -1.5);
  arrow.lineTo(5, -1.5);
  arrow.lineTo(5, 13.5);
  arrow.lineTo(-5, 13.5);
  arrow.lineTo(-5, -1.5);
  arrow.lineTo(-12.5, -1.5);
  arrow.closeSubpath();
  QLinearGradient gold(-10, 0, 10, 0);
  gold.setColorAt(0, QColor(0xFF, 0xF8, 0x9A));
  gold.setColorAt(0.5, QColor(0xFF, 0xD2, 0x2A));
  gold.setColorAt(1, QColor(0xE0, 0x86, 0x00));
  p.setPen(QPen(QColor(0x4A, 0x26, 0x00), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(gold);
  p.drawPath(arrow);
  p.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
  p.drawLine(QPointF(-1.5, -10.5), QPointF(-8.5, -3.2));
  p.end();
  return layer;
}

void Put(QImage& strip, const QImage& layer, art::Cell image, art::Cell mask) {
  PutMasked(strip, layer, image, mask, kOutline);
}

}  // namespace

void MakePieces(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kPiezasSize.w, art::kPiezasSize.h);
  Put(strip, PaintLeaderPanel(art::kLeaderPanel.w, art::kLeaderPanel.h), art::kLeaderPanel,
      art::kLeaderPanelMask);
  Put(strip, PaintDomino(art::kDomino.w, art::kDomino.h), art::kDomino, art::kDominoMask);
  Put(strip, PaintContinue(art::kContinueButton.w, art::kContinueButton.h), art::kContinueButton,
      art::kContinueButtonMask);
  Put(strip, PaintPass(art::kPassSign.w, art::kPassSign.h), art::kPassSign, art::kPassSignMask);
  Put(strip, PaintArrow(true), art::kArrowRight, art::kArrowRightMask);
  Put(strip, PaintArrow(false), art::kArrowLeft, art::kArrowLeftMask);
  for (int seat = 1; seat <= 4; ++seat) {
    Put(strip, PaintTutorMarker(seat), art::kTutorMarker[seat], art::kTutorMarkerMask[seat]);
  }
  SavePng(strip, outDir + "/strips/piezas.png");
}

}  // namespace artgen
