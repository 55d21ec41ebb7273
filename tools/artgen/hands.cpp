// Hands: the six pointers of the table and the thinking hands of the seats.
// Every hand is built from rounded shapes on a 32 x 32 grid, pointing up;
// the thinking hands are the pointing hand turned towards each seat.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>

#include "artgen.h"
#include "layer.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

QPainterPath Rounded(double x0, double y0, double x1, double y1, double r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(x0, y0, x1 - x0, y1 - y0), r, r);
  return path;
}

// A rounded bar turned by `degrees` about its centre.
QPainterPath TurnedBar(QPointF c, double w, double h, double degrees) {
  QPainterPath bar;
  bar.addRoundedRect(QRectF(-w / 2, -h / 2, w, h), w / 2, w / 2);
  QTransform t;
  t.translate(c.x(), c.y());
  t.rotate(degrees);
  return t.map(bar);
}

struct HandShape {
  QPainterPath skin;  // everything but the cuff, as one outline
  QPainterPath cuff;
  QPainterPath creases;  // lines drawn inside the skin
};

// The pointing hand: index finger up, the other fingers curled, thumb left.
HandShape PointingHand() {
  HandShape h;
  h.skin = Rounded(9.5, 0.5, 15.5, 18, 3)
               .united(Rounded(15, 9.5, 20, 20, 2.5))
               .united(Rounded(19.5, 11, 24, 21, 2.3))
               .united(Rounded(23.5, 12.5, 27.5, 21.5, 2))
               .united(Rounded(8, 15, 27.5, 27.5, 5))
               .united(TurnedBar(QPointF(7.2, 18.5), 5.2, 12, -38));
  h.cuff = Rounded(10, 26.5, 25.5, 31.5, 1.2);
  h.creases.moveTo(15.3, 13);
  h.creases.lineTo(15.3, 17.5);
  h.creases.moveTo(19.8, 14);
  h.creases.lineTo(19.8, 18.5);
  h.creases.moveTo(23.8, 15.5);
  h.creases.lineTo(23.8, 19.5);
  h.creases.moveTo(9.5, 21.5);
  h.creases.quadTo(11.5, 23.5, 14, 22.5);
  return h;
}

// The open hand: four fingers up and a little apart, thumb out to the left.
HandShape OpenHand() {
  HandShape h;
  h.skin = TurnedBar(QPointF(9.6, 10.5), 4.6, 15, -7)
               .united(TurnedBar(QPointF(14.2, 8.6), 4.8, 17, -2))
               .united(TurnedBar(QPointF(18.9, 9.3), 4.6, 16, 3))
               .united(TurnedBar(QPointF(23.1, 11.8), 4.2, 13, 9))
               .united(Rounded(7.5, 13.5, 25.5, 27.5, 5))
               .united(TurnedBar(QPointF(6.2, 18.2), 4.8, 12, -42));
  h.cuff = Rounded(9.5, 26.5, 23.5, 31.5, 1.2);
  h.creases.moveTo(10.5, 22.5);
  h.creases.quadTo(13, 24.5, 15.5, 23.5);
  return h;
}

// The closed hand, holding a tile: a fist seen from the back.
HandShape ClosedHand() {
  HandShape h;
  h.skin = Rounded(7, 8.5, 26, 25.5, 5)
               .united(Rounded(8.5, 6.5, 13, 13.5, 2.2))
               .united(Rounded(12.8, 5.5, 17.3, 12.5, 2.2))
               .united(Rounded(17.1, 6, 21.6, 13, 2.2))
               .united(Rounded(21.4, 7.5, 25.6, 14, 2.1))
               .united(TurnedBar(QPointF(9.5, 17.5), 5, 11, -60));
  h.cuff = Rounded(9.5, 24.5, 23.5, 29.5, 1.2);
  h.creases.moveTo(12.9, 8.5);
  h.creases.lineTo(12.9, 11.5);
  h.creases.moveTo(17.2, 8.0);
  h.creases.lineTo(17.2, 11.5);
  h.creases.moveTo(21.5, 9.0);
  h.creases.lineTo(21.5, 12.0);
  return h;
}

struct HandPaint {
  QColor light, dark, outline, cuffLight, cuffDark;
};

const HandPaint kWhiteGlove{QColor(0xFF, 0xFF, 0xFF), QColor(0xD6, 0xDA, 0xE2),
                            QColor(0x10, 0x10, 0x14), QColor(0x7A, 0xA8, 0xE8),
                            QColor(0x1E, 0x4C, 0x9A)};
const HandPaint kGreenGlove{QColor(0xC8, 0xFF, 0xA8), QColor(0x3C, 0xB0, 0x2A),
                            QColor(0x0C, 0x30, 0x08), QColor(0xF0, 0xF0, 0xF0),
                            QColor(0x9A, 0xA0, 0xA8)};
const HandPaint kRedGlove{QColor(0xFF, 0xB8, 0xA8), QColor(0xD2, 0x26, 0x1C),
                          QColor(0x3A, 0x04, 0x02), QColor(0xF0, 0xF0, 0xF0),
                          QColor(0x9A, 0xA0, 0xA8)};
const HandPaint kSkin{QColor(0xFF, 0xE6, 0xCC), QColor(0xE2, 0xA2, 0x72), QColor(0x4A, 0x28, 0x12),
                      QColor(0xF6, 0xF6, 0xF8), QColor(0xA8, 0xAE, 0xB8)};

void PaintHand(QPainter& p, const HandShape& h, const HandPaint& paint, bool shadow) {
  if (shadow) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(h.skin.united(h.cuff).translated(1.2, 1.4));
  }
  QLinearGradient cuff(0, 0, 32, 0);
  cuff.setColorAt(0, paint.cuffLight);
  cuff.setColorAt(1, paint.cuffDark);
  p.setPen(QPen(paint.outline, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(cuff);
  p.drawPath(h.cuff);
  QLinearGradient skin(4, 0, 30, 28);
  skin.setColorAt(0, paint.light);
  skin.setColorAt(1, paint.dark);
  p.setBrush(skin);
  p.drawPath(h.skin);
  p.setPen(QPen(paint.outline, 0.8, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(h.creases);
}

QImage HandCursor(const HandShape& h, const HandPaint& paint) {
  QImage image = NewLayer(32, 32);
  QPainter p;
  BeginPainter(p, image);
  PaintHand(p, h, paint, true);
  p.end();
  return image;
}

// A white arrow with a black outline along `path`, plus its shadow.
void PaintArrowPath(QPainter& p, const QPainterPath& path) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawPath(path.translated(1.2, 1.4));
  p.setPen(QPen(QColor(0x10, 0x10, 0x14), 1.1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::white);
  p.drawPath(path);
}

// Sorting: two arrows, right above and left below: tiles change places.
QImage SortCursor() {
  QImage image = NewLayer(32, 32);
  QPainter p;
  BeginPainter(p, image);
  const auto arrow = [](double y, double dir) {
    QPainterPath a;
    const double x0 = 16 - dir * 12, x1 = 16 + dir * 12;
    a.moveTo(x0, y - 2);
    a.lineTo(x1 - dir * 6, y - 2);
    a.lineTo(x1 - dir * 6, y - 6);
    a.lineTo(x1, y);
    a.lineTo(x1 - dir * 6, y + 6);
    a.lineTo(x1 - dir * 6, y + 2);
    a.lineTo(x0, y + 2);
    a.closeSubpath();
    return a;
  };
  PaintArrowPath(p, arrow(9.5, 1));
  PaintArrowPath(p, arrow(21.5, -1));
  p.end();
  return image;
}

// Turning: two curved arrows chasing each other round a circle.
QImage TurnCursor() {
  QImage image = NewLayer(32, 32);
  QPainter p;
  BeginPainter(p, image);
  for (int half = 0; half < 2; ++half) {
    QPainterPath band;
    const QPointF c(16, 16);
    const double outer = 12.5, inner = 8.0;
    const double start = half * 180.0 + 20.0, sweep = 120.0;
    band.arcMoveTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), start);
    band.arcTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), start, sweep);
    // The head, at the end of the sweep (counter-clockwise in Qt's angles).
    const double end = qDegreesToRadians(start + sweep);
    const QPointF dir(-std::sin(end), -std::cos(end));  // tangent, on screen
    const QPointF radial(std::cos(end), -std::sin(end));
    const QPointF mid = c + radial * ((outer + inner) / 2);
    band.lineTo(mid + radial * 7.0);
    band.lineTo(mid + dir * 7.0);
    band.lineTo(mid - radial * 7.0);
    band.arcTo(QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), start + sweep, -sweep);
    band.closeSubpath();
    PaintArrowPath(p, band);
  }
  p.end();
  return image;
}

QImage ThinkingHands() {
  QImage strip = NewStrip(art::kManosSize.w, art::kManosSize.h);
  // Seat 1's hand is seat 3's seen in a mirror, so both keep the thumb up.
  const double turn[5] = {0, 90, 0, 90, 180};
  for (int seat = 1; seat <= 4; ++seat) {
    QImage layer = NewLayer(32, 32);
    QPainter p;
    BeginPainter(p, layer);
    p.translate(16, 16);
    if (seat == 1) p.scale(-1, 1);
    p.rotate(turn[seat]);
    p.translate(-16, -16);
    PaintHand(p, PointingHand(), kSkin, false);
    p.end();
    PutMasked(strip, layer, art::kThinkingHand[seat], art::kThinkingHandMask[seat], kSkin.outline);
  }
  return strip;
}

}  // namespace

void MakeHands(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QDir().mkpath(outDir + "/cursors");
  SavePng(ThinkingHands(), outDir + "/strips/manos.png");
  SavePng(HandCursor(PointingHand(), kWhiteGlove), outDir + "/cursors/manoindice.png");
  SavePng(HandCursor(OpenHand(), kGreenGlove), outDir + "/cursors/manoverde.png");
  SavePng(HandCursor(OpenHand(), kRedGlove), outDir + "/cursors/manoroja.png");
  SavePng(SortCursor(), outDir + "/cursors/ordenar.png");
  SavePng(TurnCursor(), outDir + "/cursors/girar.png");
  SavePng(HandCursor(ClosedHand(), kWhiteGlove), outDir + "/cursors/manocerrada.png");
}

}  // namespace artgen
