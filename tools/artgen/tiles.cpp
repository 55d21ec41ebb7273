// The tile faces, the pip patterns and the side seats' small faces.
//
// Pips are copied as they are onto a face, so the face is one flat ivory
// everywhere a pip cell can land; the shading, the rounded corners, the
// divider and the tile's thickness all live in the few pixels around the pip
// cells.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "artgen.h"
#include "layer.h"
#include "palette.h"
#include "pips.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

// One tile of the face strip: its outline, the thickness bands on its sides
// (the "edge" seen in perspective) and where the line between its halves is.
struct TileShape {
  QRect outer;
  int left = 0, right = 0, top = 0, bottom = 0;
  bool sideBySide = true;  // halves side by side (a flat tile)
  int divider = 0;         // column (side by side) or row of the divider
  double corner = 4.5;     // radius of the rounded corners
};

void PaintBands(QPainter& p, const TileShape& t, const QRect& face) {
  const QRect o = t.outer;
  if (t.right > 0) {
    QLinearGradient g(face.right() + 1, 0, o.right() + 1, 0);
    g.setColorAt(0, kEdgeLight);
    g.setColorAt(1, kEdgeDark);
    p.fillRect(QRect(face.right() + 1, o.top(), t.right, o.height()), g);
  }
  if (t.left > 0) {
    QLinearGradient g(o.left(), 0, face.left(), 0);
    g.setColorAt(0, kEdgeDark);
    g.setColorAt(1, kEdgeLight);
    p.fillRect(QRect(o.left(), o.top(), t.left, o.height()), g);
  }
  if (t.bottom > 0) {
    QLinearGradient g(0, face.bottom() + 1, 0, o.bottom() + 1);
    g.setColorAt(0, kEdgeLight);
    g.setColorAt(1, kEdgeDark);
    p.fillRect(QRect(o.left(), face.bottom() + 1, o.width(), t.bottom), g);
  }
  if (t.top > 0) {
    // The top of a standing tile, seen from the player's chair: lit.
    QLinearGradient g(0, o.top(), 0, face.top());
    g.setColorAt(0, kIvoryShade);
    g.setColorAt(1, kEdgeLight);
    p.fillRect(QRect(o.left(), o.top(), o.width(), t.top), g);
  }
  // A fine crease where the face meets each band.
  const QColor crease(0x8E, 0x7D, 0x58);
  if (t.right > 0) p.fillRect(QRect(face.right() + 1, face.top(), 1, face.height()), crease);
  if (t.left > 0) p.fillRect(QRect(face.left() - 1, face.top(), 1, face.height()), crease);
  if (t.bottom > 0) p.fillRect(QRect(face.left(), face.bottom() + 1, face.width(), 1), crease);
  if (t.top > 0) p.fillRect(QRect(face.left(), face.top() - 1, face.width(), 1), crease);
}

// Light on the face's outer top and left borders, shade on its outer bottom
// and right ones: one pixel inside the outline, outside every pip cell.
void PaintFaceBevel(QPainter& p, const TileShape& t, const QRect& face) {
  const int x0 = face.left() + 2, x1 = face.right() - 2;
  const int y0 = face.top() + 2, y1 = face.bottom() - 2;
  if (t.top == 0) p.fillRect(QRect(x0, face.top() + 1, x1 - x0 + 1, 1), kIvoryLight);
  if (t.left == 0) p.fillRect(QRect(face.left() + 1, y0, 1, y1 - y0 + 1), kIvoryLight);
  if (t.bottom == 0) p.fillRect(QRect(x0, face.bottom() - 1, x1 - x0 + 1, 1), kIvoryShade);
  if (t.right == 0) p.fillRect(QRect(face.right() - 1, y0, 1, y1 - y0 + 1), kIvoryShade);
}

void PaintRivet(QPainter& p, QPointF c) {
  QRadialGradient g(c, 2.6, c - QPointF(0.8, 0.9));
  g.setColorAt(0, kBrassLight);
  g.setColorAt(1, kBrassDark);
  p.setPen(QPen(QColor(0x5A, 0x42, 0x14), 0.6));
  p.setBrush(g);
  p.drawEllipse(c, 2.2, 2.2);
}

void PaintDivider(QPainter& p, const TileShape& t, const QRect& face) {
  const QColor light = kIvoryLight;
  if (t.sideBySide) {
    const int y0 = face.top() + 4, len = face.height() - 8;
    p.fillRect(QRect(t.divider, y0, 1, len), kDividerDark);
    p.fillRect(QRect(t.divider + 1, y0, 1, len), light);
    PaintRivet(p, QPointF(t.divider + 0.5, face.top() + face.height() / 2.0));
  } else {
    const int x0 = face.left() + 4, len = face.width() - 8;
    p.fillRect(QRect(x0, t.divider, len, 1), kDividerDark);
    p.fillRect(QRect(x0, t.divider + 1, len, 1), light);
    PaintRivet(p, QPointF(face.left() + face.width() / 2.0, t.divider + 0.5));
  }
}

QImage PaintTile(const TileShape& t, int w, int h) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  BeginPainter(p, layer);
  const QRect face = t.outer.adjusted(t.left, t.top, -t.right, -t.bottom);
  QPainterPath body;
  body.addRoundedRect(QRectF(t.outer), t.corner, t.corner);
  p.setClipPath(body);
  p.fillRect(t.outer, kEdgeLight);
  PaintBands(p, t, face);
  p.fillRect(face, kIvory);
  PaintFaceBevel(p, t, face);
  PaintDivider(p, t, face);
  p.setClipping(false);
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(t.outer).adjusted(0.5, 0.5, -0.5, -0.5), t.corner - 0.5, t.corner - 0.5);
  p.end();
  return layer;
}

void PutTile(QImage& strip, const TileShape& t, art::Cell cell) {
  PutMasked(strip, PaintTile(t, cell.w, cell.h), cell, art::MaskOf(cell), kOutline);
}

QImage MakeDibujos() {
  QImage strip = NewStrip(art::kDibujosSize.w, art::kDibujosSize.h);
  // The bottom seat's tiles stand facing the player, so the thickness seen is
  // their top.
  // Their corners are tighter: a played tile is shown by inverting its whole
  // rectangle, table corners included.
  for (int s = 1; s <= 7; ++s) {
    TileShape t{QRect(4, 0, 36, 77), 0, 0, 4, 0, false, 40, 2.5};
    PutTile(strip, t, art::kSeatFace[s]);
  }
  PutTile(strip, {QRect(0, 0, 40, 77), 0, 4, 0, 4, false, 36}, art::kChainUprightLeft);
  PutTile(strip, {QRect(0, 0, 40, 77), 4, 0, 0, 4, false, 36}, art::kChainUprightRight);
  PutTile(strip, {QRect(0, 0, 77, 40), 0, 4, 0, 4, true, 36}, art::kChainFlatLeft);
  PutTile(strip, {QRect(0, 0, 77, 40), 4, 0, 0, 4, true, 40}, art::kChainFlatRight);
  return strip;
}

QImage MakePunNeg() {
  QImage strip = NewStrip(art::kPunNegSize.w, art::kPunNegSize.h);
  strip.fill(kIvory);
  QPainter p;
  BeginPainter(p, strip);
  for (int row = 0; row <= 1; ++row) {
    for (int v = 1; v <= 6; ++v) {
      const art::Cell c = art::PipCell(v, row);
      const QPointF centre(c.x + c.w / 2.0, c.y + c.h / 2.0);
      DrawPipPattern(p, v, row == 0, centre, 8.6, 3.15, true);
    }
  }
  p.end();
  return strip;
}

// The small faces are plain copies, so they are drawn pixel by pixel: an
// outline, a one-pixel band on the side that faces the table's middle, and
// the divider.
struct SmallFace {
  art::Cell cell;
  bool sideBySide;
  int divider;  // column or row inside the face
  char band;    // 'l', 'r' or 'b': the side edge besides the bottom one
};

void PaintSmallFace(QPainter& p, const SmallFace& f) {
  const QRect r(f.cell.x, f.cell.y, f.cell.w, f.cell.h);
  p.fillRect(r, kIvory);
  const int x0 = r.left(), x1 = r.right(), y0 = r.top(), y1 = r.bottom();
  p.fillRect(QRect(x0 + 1, y0 + 1, r.width() - 2, 1), kIvoryLight);
  if (f.band != 'l') p.fillRect(QRect(x0 + 1, y0 + 1, 1, r.height() - 2), kIvoryLight);
  if (f.band == 'r') p.fillRect(QRect(x1 - 1, y0 + 1, 1, r.height() - 2), kEdgeDark);
  if (f.band == 'l') p.fillRect(QRect(x0 + 1, y0 + 1, 1, r.height() - 2), kEdgeDark);
  if (f.band != 'r') p.fillRect(QRect(x1 - 1, y0 + 2, 1, r.height() - 4), kIvoryShade);
  p.fillRect(QRect(x0 + 1, y1 - 1, r.width() - 2, 1), kEdgeDark);
  if (f.sideBySide) {
    p.fillRect(QRect(x0 + f.divider, y0 + 3, 1, r.height() - 6), kDividerDark);
    p.fillRect(QRect(x0 + f.divider + 1, y0 + 3, 1, r.height() - 6), kIvoryLight);
  } else {
    p.fillRect(QRect(x0 + 3, y0 + f.divider, r.width() - 6, 1), kDividerDark);
    p.fillRect(QRect(x0 + 3, y0 + f.divider + 1, r.width() - 6, 1), kIvoryLight);
  }
  p.setPen(QPen(kOutline, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
  // Softened corners: a plain copy cannot cut them away, so they are only
  // lightened towards the outline's neighbours.
  const QColor corner(0x6E, 0x63, 0x50);
  for (QPoint q : {QPoint(x0, y0), QPoint(x1, y0), QPoint(x0, y1), QPoint(x1, y1)}) {
    p.fillRect(QRect(q, QSize(1, 1)), corner);
  }
}

QImage MakePuntitos() {
  QImage strip = NewStrip(art::kPuntitosSize.w, art::kPuntitosSize.h);
  QPainter p;
  BeginPainter(p, strip);
  for (int row = 0; row <= 1; ++row) {
    for (int v = 1; v <= 6; ++v) {
      const art::Cell c = art::SmallPipCell(v, row);
      p.fillRect(QRect(c.x, c.y, c.w, c.h), kIvory);
      DrawPipPattern(p, v, row == 0, QPointF(c.x + 8.0, c.y + 8.0), 4.4, 1.65, false);
    }
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  PaintSmallFace(p, {art::kSmallFace[1], true, 20, 'r'});
  PaintSmallFace(p, {art::kSmallFace[3], true, 21, 'l'});
  PaintSmallFace(p, {art::kSmallFace[2], false, 20, 'b'});
  p.end();
  return strip;
}

}  // namespace

void MakeTileStrips(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  SavePng(MakeDibujos(), outDir + "/strips/dibujos.png");
  SavePng(MakePunNeg(), outDir + "/strips/punneg.png");
  SavePng(MakePuntitos(), outDir + "/strips/puntitos.png");
}

}  // namespace artgen
