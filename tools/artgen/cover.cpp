// The start-up cover's pictures (logo, icon and the three title bands) and the
// application icon.
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

QLinearGradient GoldText(double top, double bottom) {
  QLinearGradient gold(0, top, 0, bottom);
  gold.setColorAt(0, QColor(0xFF, 0xF8, 0xD0));
  gold.setColorAt(0.45, QColor(0xF6, 0xCE, 0x52));
  gold.setColorAt(1, QColor(0xB8, 0x78, 0x10));
  return gold;
}

// The logo: the name on a small lacquered plaque.
QImage PaintLogo(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRectF r(1.5, 3.5, w - 3, h - 7);
  QLinearGradient red(0, r.top(), 0, r.bottom());
  red.setColorAt(0, QColor(0xB0, 0x1C, 0x28));
  red.setColorAt(1, QColor(0x58, 0x06, 0x10));
  p.setPen(QPen(QColor(0x1A, 0x02, 0x04), 1.0));
  p.setBrush(red);
  p.drawRoundedRect(r, 6, 6);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.2));
  p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 4, 4);
  OutlinedText(p, DejaVu(16, true, true), "TARVELIS", w / 2.0, 28.5, GoldText(14, 29),
               QColor(0x2A, 0x04, 0x02), 1.2);
  p.setPen(Qt::NoPen);
  p.setBrush(kGold);
  for (int i = -1; i <= 1; ++i) p.drawEllipse(QPointF(w / 2.0 + i * 7, 33.5), 1.3, 1.3);
  p.end();
  return layer;
}

QImage PaintIcon(int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  DrawMiniDomino(p, QRectF(w / 2.0 - 9, 2.5, 17, 31), 6, 6, 14);
  p.end();
  return layer;
}

QImage PaintBand(int w, int h, int band) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  if (band == 1) {
    p.save();
    p.translate(1.5, 2.0);
    OutlinedText(p, DejaVu(38, true), "TARVELIS", w / 2.0, 36, QBrush(QColor(0, 0, 0, 110)),
                 QColor(0, 0, 0, 110), 1.5);
    p.restore();
    OutlinedText(p, DejaVu(38, true), "TARVELIS", w / 2.0, 36, GoldText(8, 37),
                 QColor(0x2A, 0x10, 0x02), 1.5);
  } else if (band == 2) {
    OutlinedText(p, DejaVu(13, true), QString::fromUtf8("Dominó español"), w / 2.0, 12.5,
                 QBrush(QColor(0xF6, 0xF1, 0xE2)), QColor(0, 0, 0, 0), 0);
  } else {
    OutlinedText(p, DejaVu(12, false), "para Linux", w / 2.0, 11.5,
                 QBrush(QColor(0xB8, 0xDC, 0xC4)), QColor(0, 0, 0, 0), 0);
  }
  p.end();
  return layer;
}

// The application icon: a domino leaning on a disc of green baize.
// Drawn on a 64-pixel grid and scaled, so that the desktop's sizes are as
// sharp as the game's own icon.
QImage PaintAppIcon(int size) {
  QImage icon = NewLayer(size, size);
  QPainter p;
  BeginPainter(p, icon);
  p.scale(size / double(art::kAppIconSize.w), size / double(art::kAppIconSize.h));
  QRadialGradient felt(QPointF(26, 22), 40);
  felt.setColorAt(0, QColor(0x3E, 0x9A, 0x64));
  felt.setColorAt(1, QColor(0x0C, 0x44, 0x28));
  p.setPen(QPen(QColor(0x08, 0x22, 0x14), 1.2));
  p.setBrush(felt);
  p.drawRoundedRect(QRectF(2.5, 2.5, 59, 59), 13, 13);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGold, 1.6));
  p.drawRoundedRect(QRectF(5.5, 5.5, 53, 53), 10.5, 10.5);
  DrawMiniDomino(p, QRectF(19, 6.5, 26, 50), 6, 3, 18);
  p.end();
  return icon;
}

}  // namespace

void MakeCover(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QDir().mkpath(outDir + "/icons");
  const QColor background{QRgb(art::kCoverBackgroundRgb)};
  QImage strip = NewStrip(art::kCaretaSize.w, art::kCaretaSize.h);
  strip.fill(background);
  PutOpaque(strip, PaintLogo(art::kCoverLogo.w, art::kCoverLogo.h), art::kCoverLogo, background);
  PutOpaque(strip, PaintIcon(art::kCoverIcon.w, art::kCoverIcon.h), art::kCoverIcon, background);
  for (int band = 1; band <= 3; ++band) {
    const art::Cell c = art::kCoverTitleBand[band];
    PutOpaque(strip, PaintBand(c.w, c.h, band), c, background);
  }
  SavePng(strip, outDir + "/strips/careta.png");
  if (Scale() > 1) return;  // the icons have their own sizes
  SavePng(PaintAppIcon(art::kAppIconSize.w), outDir + "/icons/tarvelis.png");
  for (int size : {16, 32, 48, 128, 256}) {
    const QString folder = QString("%1/icons/hicolor/%2x%2").arg(outDir).arg(size);
    QDir().mkpath(folder);
    SavePng(PaintAppIcon(size), folder + "/tarvelis.png");
  }
}

}  // namespace artgen
