// A preview of the artwork as the game composes it: an 800 x 600 table drawn
// only with raster copies (mask AND, picture XOR, pips copied as they are,
// inversion for played tiles), plus a band with the cover, the message
// pictures and the cursors. For looking at; never part of the resources.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <utility>

#include "artgen.h"
#include "layer.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

enum class Op { Copy, And, Xor, Invert };

void Blit(QImage& dst, int dx, int dy, const QImage& src, art::Cell c, Op op) {
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) {
      const int tx = dx + x, ty = dy + y;
      if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
      const QRgb d = dst.pixel(tx, ty);
      const QRgb s = op == Op::Invert ? 0 : src.pixel(c.x + x, c.y + y);
      QRgb out = d;
      switch (op) {
        case Op::Copy:
          out = s;
          break;
        case Op::And:
          out = d & s;
          break;
        case Op::Xor:
          out = d ^ (s & 0x00FFFFFFu);
          break;
        case Op::Invert:
          out = d ^ 0x00FFFFFFu;
          break;
      }
      dst.setPixel(tx, ty, out | 0xFF000000u);
    }
  }
}

void Masked(QImage& dst, int x, int y, const QImage& strip, art::Cell image, art::Cell mask) {
  Blit(dst, x, y, strip, mask, Op::And);
  Blit(dst, x, y, strip, image, Op::Xor);
}

struct Strips {
  QImage dib, pun, pt, dorsos, vario, piezas, grab, manos, mensajes, careta, marmol;
};

QImage Open(const QString& dir, const char* path) {
  return QImage(dir + QString(path).mid(1)).convertToFormat(QImage::Format_ARGB32);
}

// One chain tile, as the table draws it from a move's record.
void ChainTile(QImage& t, const Strips& s, art::Cell face, int left, int top, int a, QPoint pa,
               int b, QPoint pb) {
  Masked(t, left, top, s.dib, face, art::MaskOf(face));
  const int orientation = face.w == 40 ? 1 : 0;
  if (a > 0) Blit(t, pa.x() + 3, pa.y() + 3, s.pun, art::PipCell(a, orientation), Op::Copy);
  if (b > 0) Blit(t, pb.x() + 3, pb.y() + 3, s.pun, art::PipCell(b, orientation), Op::Copy);
}

void DrawChain(QImage& t, const Strips& s) {
  const int y = 261;
  ChainTile(t, s, art::kChainFlatRight, 401, y, 6, {405, y}, 4, {442, y});
  ChainTile(t, s, art::kChainFlatRight, 478, y, 4, {482, y}, 2, {519, y});
  ChainTile(t, s, art::kChainUprightRight, 555, y - 18, 2, {559, y - 18}, 2, {559, y + 19});
  ChainTile(t, s, art::kChainFlatRight, 595, y, 2, {599, y}, 5, {636, y});
  ChainTile(t, s, art::kChainUprightRight, 632, y + 41, 5, {636, y + 41}, 0, {636, y + 78});
  ChainTile(t, s, art::kChainFlatLeft, 326, y, 6, {363, y}, 1, {326, y});
  ChainTile(t, s, art::kChainFlatLeft, 249, y, 1, {286, y}, 3, {249, y});
  ChainTile(t, s, art::kChainUprightLeft, 209, y - 18, 3, {209, y - 18}, 3, {209, y + 19});
  ChainTile(t, s, art::kChainUprightLeft, 209, y - 96, 3, {209, y - 59}, 6, {209, y - 96});
}

void DrawHands(QImage& t, const Strips& s) {
  const int W = t.width(), H = t.height(), T1 = 164, L2 = 265, L4 = 246;
  const int pips[8][2] = {{0, 0}, {6, 6}, {5, 3}, {4, 1}, {2, 0}, {6, 2}, {3, 3}, {1, 0}};
  for (int i = 0; i < 7; ++i) {
    const int slot = i + 1;
    // Seat 4: faces up; slot 3 played and shown inverted, slot 5 gone.
    if (slot != 5) {
      const int x = L4 + 44 * i, yy = H - 77;
      Masked(t, x, yy, s.dib, art::kSeatFace[slot], art::kSeatFaceMask[slot]);
      const int a = pips[slot][0], b = pips[slot][1];
      if (a) Blit(t, x + 7, yy + 7, s.pun, art::PipCell(a, 1), Op::Copy);
      if (b) Blit(t, x + 7, yy + 44, s.pun, art::PipCell(b, 1), Op::Copy);
      if (slot == 3) Blit(t, x + 4, yy, s.pun, {0, 0, 36, 77}, Op::Invert);
    }
    // Seats 1 to 3 hide their tiles; slot 6 of seat 1 has been played.
    if (slot != 6) Masked(t, 0, T1 + 39 * i, s.dorsos, art::kBack[1], art::kBackMask[1]);
    Masked(t, W - 42, T1 + 39 * i, s.dorsos, art::kBack[3], art::kBackMask[3]);
    Masked(t, L2 + 39 * i, 0, s.dorsos, art::kBack[2], art::kBackMask[2]);
  }
  // Their names, spelt in the strip the standing tiles leave free.
  QPainter p(&t);
  QFont font = DejaVu(12, true);
  font.setKerning(false);
  p.setFont(font);
  p.setPen(QColor(0xF2, 0xE8, 0xC8));
  const int ascent = QFontMetrics(font).ascent();
  for (int n = 0; n < 8; ++n) {
    const int step = 10 + 16 * n;
    p.drawText(3, T1 + step + ascent, QString("Jugador1").mid(n, 1));
    p.drawText(W - 13, T1 + step + ascent, QString("Jugador3").mid(n, 1));
    p.drawText(L2 + step, 3 + ascent, QString("Jugador2").mid(n, 1));
  }
  p.end();
  // A face-down bottom hand, to see seat 4's back on the table too.
  Masked(t, 64, 420, s.dorsos, art::kBack[4], art::kBackMask[4]);
  Masked(t, 108, 420, s.dorsos, art::kBack[4], art::kBackMask[4]);
  // The thinking hand over seat 1's fifth tile and the tutor over seat 4's.
  Masked(t, 1, T1 + 39 * 4 + 5, s.manos, art::kThinkingHand[1], art::kThinkingHandMask[1]);
  Masked(t, W - 33, T1 + 39 * 5 + 5, s.manos, art::kThinkingHand[3], art::kThinkingHandMask[3]);
  Masked(t, L2 + 39 * 4 + 5, 0, s.manos, art::kThinkingHand[2], art::kThinkingHandMask[2]);
  Masked(t, L4 + 44 * 1 + 4, H - 32, s.manos, art::kThinkingHand[4], art::kThinkingHandMask[4]);
  Masked(t, L4 + 44 * 5 + 7, H - 110, s.piezas, art::kTutorMarker[4], art::kTutorMarkerMask[4]);
  Masked(t, 43, T1 + 39 * 1 + 3, s.piezas, art::kTutorMarker[1], art::kTutorMarkerMask[1]);
}

void DrawControls(QImage& t, const Strips& s) {
  const int W = t.width(), H = t.height();
  const QPoint at[7] = {{0, 0}, {5, 80}, {5, 4}, {85, 4}, {W - 135, 4}, {W - 54, 4}, {W - 40, 80}};
  for (int n = 1; n <= 6; ++n) {
    Masked(t, at[n].x(), at[n].y(), s.vario, art::kButtonImage[n], art::kButtonMask[n]);
  }
  QPainter p(&t);
  p.setFont(DejaVu(12, true));
  const QFontMetrics fm(p.font());
  const auto text = [&](int x, int y, const QString& str, QColor c) {
    p.setPen(c);
    p.drawText(x, y + fm.ascent(), str);
  };
  const int bx = W - 40, by = 80;
  text(bx + 6, by + 8, "N   E", Qt::black);
  text(bx + 2, by + 10, "__ __", Qt::black);
  text(bx + 10 - fm.horizontalAdvance("85") / 2, by + 26, "85", Qt::blue);
  text(bx + 27 - fm.horizontalAdvance("40") / 2, by + 26, "40", Qt::blue);
  p.end();
  Masked(t, 358, 470, s.piezas, art::kContinueButton, art::kContinueButtonMask);
  QPainter q(&t);
  q.setFont(DejaVu(12, true));
  q.drawText(QRect(358, 470, 83, 24), Qt::AlignCenter, "Continuar");
  q.end();
  Blit(t, W - 58, H - 76, s.grab, art::kRecorderPanelOn, Op::Copy);
  const art::Cell area = art::kRecorderControlArea[3];
  Blit(t, W - 58 + area.x, H - 76 + area.y, s.grab, art::kRecorderControlPressed[3], Op::Copy);
  Masked(t, W - 100, 200, s.piezas, art::kPassSign, art::kPassSignMask);
  Masked(t, 673, 263, s.piezas, art::kArrowRight, art::kArrowRightMask);
  Masked(t, 175, 225, s.piezas, art::kArrowLeft, art::kArrowLeftMask);
  Masked(t, 340, 360, s.piezas, art::kDomino, art::kDominoMask);
  Masked(t, 260, 90, s.piezas, art::kLeaderPanel, art::kLeaderPanelMask);
  QPainter r(&t);
  r.setFont(DejaVu(12, true));
  r.drawText(QRect(260, 90, 281, 61), Qt::AlignCenter, "Elija el jugador que va a salir");
}

void DrawBand(QImage& sheet, const Strips& s, const QString& dir, int top) {
  QPainter p(&sheet);
  p.fillRect(0, top, sheet.width(), sheet.height() - top, QColor(0xD8, 0xD8, 0xD8));
  p.fillRect(0, top, 300, sheet.height() - top, QColor(QRgb(art::kCoverBackgroundRgb)));
  p.drawImage(27, top + 10, s.careta, art::kCoverLogo.x, art::kCoverLogo.y, 97, 44);
  p.drawImage(210, top + 14, s.careta, art::kCoverIcon.x, art::kCoverIcon.y, 36, 37);
  p.drawImage(27, top + 60, s.careta, 0, 44, 238, 74);
  // The side seats' small faces, which the table above shows face down.
  const auto face = [&](int seat, int x, int y, int a, int b) {
    const art::Cell f = art::kSmallFace[seat];
    p.drawImage(x, y, s.pt, f.x, f.y, f.w, f.h);
    const int row = seat == 2 ? 1 : 0;
    const QPoint pa = seat == 3 ? QPoint(1, 0) : QPoint(0, 0);
    const QPoint pb = seat == 2 ? QPoint(0, 21) : QPoint(seat == 3 ? 22 : 21, 0);
    for (auto [v, d] : {std::pair{a, pa}, std::pair{b, pb}}) {
      const art::Cell c = art::SmallPipCell(v, row);
      p.drawImage(x + d.x() + 2, y + d.y() + 2, s.pt, c.x, c.y, c.w, c.h);
    }
  };
  face(1, 136, top + 12, 6, 3);
  face(3, 136, top + 36, 5, 1);
  face(2, 184, top + 12, 4, 2);
  p.drawImage(310, top + 10, s.mensajes, 0, 100, 300, 50);
  QImage panel(300, 50, QImage::Format_ARGB32);
  panel.fill(QColor(0x30, 0x30, 0x60));
  for (int n = 1; n <= 6; ++n) {
    Masked(panel, 50 * (n - 1), 0, s.mensajes, art::MessagePicture(n), art::MessageMask(n));
  }
  p.drawImage(310, top + 70, panel);
  const char* names[] = {"manoindice", "manoverde", "manoroja", "ordenar", "girar", "manocerrada"};
  for (int i = 0; i < 6; ++i) {
    const QImage c(dir + "/cursors/" + names[i] + ".png");
    p.drawImage(QRect(630 + (i % 3) * 56, top + 10 + (i / 3) * 56, 48, 48), c);
  }
  p.drawImage(640, top + 125, QImage(dir + "/icons/tarvelis.png").scaled(40, 40));
}

}  // namespace

void MakePreview(const QString& outDir, const QString& previewFile) {
  Strips s{Open(outDir, art::kDibujosPath),   Open(outDir, art::kPunNegPath),
           Open(outDir, art::kPuntitosPath),  Open(outDir, art::kDorsosPath),
           Open(outDir, art::kBmpVarioPath),  Open(outDir, art::kPiezasPath),
           Open(outDir, art::kGrabadoraPath), Open(outDir, art::kManosPath),
           Open(outDir, art::kMensajesPath),  Open(outDir, art::kCaretaPath),
           Open(outDir, art::kMarmolPath)};
  QImage table(800, 600, QImage::Format_ARGB32);
  {
    QPainter p(&table);
    p.drawTiledPixmap(0, 0, 800, 600, QPixmap::fromImage(s.marmol));
  }
  DrawChain(table, s);
  DrawHands(table, s);
  DrawControls(table, s);
  QImage sheet(800, 780, QImage::Format_ARGB32);
  {
    QPainter p(&sheet);
    p.drawImage(0, 0, table);
  }
  DrawBand(sheet, s, outDir, 600);
  SavePng(sheet.convertToFormat(QImage::Format_RGB32), previewFile);
}

}  // namespace artgen
