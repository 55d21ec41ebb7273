// The pieces of the settings window: the direction-of-play pictures, the
// selector button, the match-points arrows, the slider's thumb and track, and
// the page buttons. Everything is opaque on the panels' grey, the etched look
// of the window around them.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "artgen.h"
#include "icons.h"
#include "layer.h"
#include "palette.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

const QColor kGrey(QRgb(0xFF000000 | art::kPanelGreyRgb));
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);

void Put(QImage& strip, const QImage& layer, art::Cell at) {
  PutOpaque(strip, layer, at, kGrey);
}

// A small table with the four seats, and a ring of arrows going round it from
// seat to seat: clockwise on the screen for "Directo" (left, top, right,
// bottom), the other way for "Inverso".
QImage Direction(bool forward) {
  const art::Cell c = art::kDirectionForward;
  QImage layer = NewLayer(c.w, c.h);
  QPainter p;
  BeginPainter(p, layer);
  const QPointF centre(c.w / 2.0, c.h / 2.0);
  // The felt.
  QRadialGradient felt(centre, 26);
  felt.setColorAt(0, QColor(0x3C, 0x8C, 0x50));
  felt.setColorAt(1, QColor(0x1C, 0x52, 0x2C));
  p.setPen(QPen(QColor(0x10, 0x30, 0x18), 1.0));
  p.setBrush(felt);
  p.drawRoundedRect(QRectF(centre.x() - 22, centre.y() - 22, 44, 44), 5, 5);
  // The seats: a small domino at each edge, as the hands sit at the table.
  DrawMiniDomino(p, QRectF(centre.x() - 19, centre.y() - 7, 7, 14), 3, 1, 0);
  DrawMiniDomino(p, QRectF(centre.x() - 3.5, centre.y() - 19, 7, 14), 5, 2, 90);
  DrawMiniDomino(p, QRectF(centre.x() + 12, centre.y() - 7, 7, 14), 4, 4, 0);
  DrawMiniDomino(p, QRectF(centre.x() - 3.5, centre.y() + 5, 7, 14), 6, 0, 90);
  // Four arcs between the seats, each with its head towards the next seat.
  const double r = 38;
  const QColor ink(0xC8, 0x2A, 0x1E);
  for (int k = 0; k < 4; ++k) {
    // Seat angles on the screen (y grows downwards): left 180, top 270,
    // right 0, bottom 90 degrees; the turn goes by +90 forward, -90 reverse.
    const double from = 180 + 90 * k + (forward ? 14 : -14);
    const double sweep = forward ? 62 : -62;
    QPainterPath arc;
    for (int i = 0; i <= 24; ++i) {
      const double a = (from + sweep * i / 24) * M_PI / 180;
      const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
      if (i == 0) {
        arc.moveTo(pt);
      } else {
        arc.lineTo(pt);
      }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arc);
    const double end = (from + sweep) * M_PI / 180;
    const QPointF tip(centre.x() + r * std::cos(end), centre.y() + r * std::sin(end));
    const double dir = forward ? 1 : -1;
    const QPointF along(-std::sin(end) * dir, std::cos(end) * dir);  // the way the arc goes
    const QPointF across(std::cos(end), std::sin(end));
    QPainterPath head;
    head.moveTo(tip + along * 7);
    head.lineTo(tip - along * 3 + across * 6);
    head.lineTo(tip - along * 3 - across * 6);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(head);
  }
  p.end();
  return layer;
}

// The selector's button: a raised grey key with a small triangle pointing
// to the value it steps on; pressed, sunk by one pixel.
QImage SelectorButton(bool pressed) {
  const art::Cell c = art::kSelectorButton;
  QImage layer = NewLayer(c.w, c.h);
  layer.fill(kGrey);
  QPainter p(&layer);
  const QColor light = pressed ? kDarkShadow : Qt::white;
  const QColor dark = pressed ? Qt::white : kDarkShadow;
  p.fillRect(0, 0, c.w, 1, light);
  p.fillRect(0, 0, 1, c.h, light);
  p.fillRect(0, c.h - 1, c.w, 1, dark);
  p.fillRect(c.w - 1, 0, 1, c.h, dark);
  p.fillRect(1, c.h - 2, c.w - 2, 1, pressed ? kGrey : kShadow);
  p.fillRect(c.w - 2, 1, 1, c.h - 2, pressed ? kGrey : kShadow);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double shift = pressed ? 1 : 0;
  QPainterPath t;
  t.moveTo(10 + shift, 5 + shift);
  t.lineTo(19 + shift, 10 + shift);
  t.lineTo(10 + shift, 15 + shift);
  t.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1A, 0x3C, 0x9C));
  p.drawPath(t);
  p.end();
  return layer;
}

// An arrow of the match-points box, pointing up or down, on the panel grey.
QImage Arrow(bool up, bool pressed) {
  const art::Cell c = art::kArrowUp;
  QImage layer = NewLayer(c.w, c.h);
  QPainter p;
  BeginPainter(p, layer);
  QPainterPath t;
  const double top = 1.5, bottom = c.h - 1.5, mid = c.w / 2.0;
  if (up) {
    t.moveTo(mid, top);
    t.lineTo(c.w - 2.5, bottom);
    t.lineTo(2.5, bottom);
  } else {
    t.moveTo(2.5, top);
    t.lineTo(c.w - 2.5, top);
    t.lineTo(mid, bottom);
  }
  t.closeSubpath();
  QLinearGradient fill(0, 0, 0, c.h);
  fill.setColorAt(0, pressed ? QColor(0xE0, 0x50, 0x30) : QColor(0x5C, 0x84, 0xE0));
  fill.setColorAt(1, pressed ? QColor(0x90, 0x20, 0x10) : QColor(0x1A, 0x36, 0x9A));
  p.setPen(QPen(QColor(0x10, 0x18, 0x40), 1.0));
  p.setBrush(fill);
  p.drawPath(t);
  p.end();
  return layer;
}

QImage Thumb() {
  const art::Cell c = art::kSliderThumb;
  QImage layer = NewLayer(c.w, c.h);
  layer.fill(kGrey);
  QPainter p(&layer);
  p.fillRect(0, 0, c.w, 1, Qt::white);
  p.fillRect(0, 0, 1, c.h, Qt::white);
  p.fillRect(0, c.h - 1, c.w, 1, kDarkShadow);
  p.fillRect(c.w - 1, 0, 1, c.h, kDarkShadow);
  p.fillRect(1, c.h - 2, c.w - 2, 1, kShadow);
  p.fillRect(c.w - 2, 1, 1, c.h - 2, kShadow);
  p.fillRect(3, 4, c.w - 6, c.h - 8, QColor(0xD8, 0xD8, 0xD8));
  for (int y = 6; y < c.h - 6; y += 3) {
    p.fillRect(3, y, c.w - 6, 1, kShadow);
    p.fillRect(3, y + 1, c.w - 6, 1, Qt::white);
  }
  p.end();
  return layer;
}

// The groove the thumb runs in, with a tick every ten units.
QImage Track() {
  const art::Cell c = art::kSliderTrack;
  QImage layer = NewLayer(c.w, c.h);
  layer.fill(kGrey);
  QPainter p(&layer);
  const int mid = c.h / 2;
  p.fillRect(2, mid - 2, c.w - 4, 1, kShadow);
  p.fillRect(2, mid - 1, c.w - 4, 1, kDarkShadow);
  p.fillRect(2, mid, c.w - 4, 1, QColor(0xE8, 0xE8, 0xE8));
  p.fillRect(2, mid + 1, c.w - 4, 1, Qt::white);
  for (int v = 0; v <= 100; v += 10) p.fillRect(6 + v, c.h - 3, 1, v % 50 == 0 ? 3 : 2, kShadow);
  p.end();
  return layer;
}

QImage PageButton(const QString& label) {
  const art::Cell c = art::kRulesButton;
  QImage layer = NewLayer(c.w, c.h);
  QPainter p;
  BeginPainter(p, layer);
  DrawButtonBody(p, QRectF(0.5, 0.5, c.w - 1, c.h - 1), 7);
  OutlinedText(p, DejaVu(14, true), label, c.w / 2.0, 20.5, QColor(0x3A, 0x24, 0x0C),
               QColor(255, 250, 235), 0);
  p.end();
  return layer;
}

}  // namespace

void MakePersonal(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kPersonalSize.w, art::kPersonalSize.h);
  Put(strip, Direction(true), art::kDirectionForward);
  Put(strip, Direction(false), art::kDirectionReverse);
  Put(strip, SelectorButton(false), art::kSelectorButton);
  Put(strip, SelectorButton(true), art::kSelectorButtonPressed);
  Put(strip, Arrow(true, false), art::kArrowUp);
  Put(strip, Arrow(true, true), art::kArrowUpPressed);
  Put(strip, Arrow(false, false), art::kArrowDown);
  Put(strip, Arrow(false, true), art::kArrowDownPressed);
  Put(strip, Thumb(), art::kSliderThumb);
  Put(strip, Track(), art::kSliderTrack);
  Put(strip, PageButton(QStringLiteral("Reglas")), art::kRulesButton);
  Put(strip, PageButton(QStringLiteral("Salir")), art::kExitButton);
  SavePng(strip, outDir + "/strips/personal.png");
}

}  // namespace artgen
