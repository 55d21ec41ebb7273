#include "table/table_painter.h"

#include <QPainter>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/manual_deal.h"
#include "layout/placement.h"
#include "layout/table_view.h"
#include "model/name_fit.h"
#include "model/texts.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "table/score_face.h"
#include "table/strips.h"

namespace tarvelis {
namespace {

// The continue button writes a long name down to this size before cutting it.
constexpr int kSmallestLabelPx = 10;

}  // namespace

TablePainter::TablePainter(const GameState& state, const TableModes& modes, QImage& surface,
                           const QImage& marmol)
    : state_(state), modes_(modes), surface_(surface), marmol_(marmol) {}

void TablePainter::Restore(const Rect& r) {
  Blit(surface_, r.x, r.y, r.w, r.h, marmol_, r.x, r.y, RasterOp::Copy);
}

void TablePainter::Restore(const QRect& r) {
  Restore(Rect{r.x(), r.y(), r.width(), r.height()});
}

void TablePainter::Drawn(int x, int y, int w, int h) {
  if (w > 0 && h > 0) drawn_ += QRect(x, y, w, h);
}

void TablePainter::DrawnText(int x, int y, const QString& text, int px, bool bold) {
  // A glyph's smoothed edge may reach a pixel or two past its advance.
  Drawn(x - 2, y - 2, TextWidth(text, px, bold) + 4, TextHeight(px, bold) + 4);
}

void TablePainter::PictureReplaced() {
  drawn_ = QRegion();
  wholeDrawn_ = false;
}

void TablePainter::DrawAll() {
  // Only what was drawn since the table was last clear goes back to the
  // background: on a 4K screen a whole copy is 33 MB, most of a redraw's time.
  if (wholeDrawn_) {
    Blit(surface_, 0, 0, surface_.width(), surface_.height(), marmol_, 0, 0, RasterOp::Copy);
  } else {
    for (const QRect& r : drawn_) Restore(r);
  }
  PictureReplaced();
  dominoShown_ = false;
  if (!Revealed) dominoPlace_ = QRect();
  // Between hands, and while a new one is dealt, the table is clear; a hand
  // just finished stays as it ended (a window resized at its end draws it
  // again).
  if (state_.HandInProgress || Revealed) {
    DrawChain(LastLaidMove());
    DrawHands();
  }
  DrawSeatNames();
  DrawButtonsAndScore();
  DrawRecorderPanel(0);
  FollowEndMarks();
}

void TablePainter::DrawPips(const PipCell& cell) {
  if (!cell.Draw) return;
  Drawn(cell.Dst.x, cell.Dst.y, cell.Dst.w, cell.Dst.h);
  Blit(surface_, cell.Dst.x, cell.Dst.y, cell.Dst.w, cell.Dst.h, TheStrips().Of(cell.From),
       cell.Src.x, cell.Src.y, RasterOp::Copy);
}

void TablePainter::DrawChainTile(int move) {
  if (move < 1 || move >= static_cast<int>(state_.MoveRecord.size())) return;
  const MoveEntry& e = state_.MoveRecord[move];
  if (e[kFEnd] != 1 && e[kFEnd] != 2) return;
  const QImage& dibujos = TheStrips().Dibujos;
  Drawn(e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]);
  MaskedBlit(surface_, e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight], dibujos,
             e[kFTileImageX], 0, e[kFTileImageX], art::kDibujosMaskRow);
  DrawPips(TablePipCell(e[kFPipA], Point{e[kFPipAX], e[kFPipAY]}, e[kFPipOrientation]));
  DrawPips(TablePipCell(e[kFPipB], Point{e[kFPipBX], e[kFPipBY]}, e[kFPipOrientation]));
}

void TablePainter::DrawChain(int last) {
  last = std::min(last, static_cast<int>(state_.MoveRecord.size()) - 1);
  for (int move = 1; move <= last; ++move) DrawChainTile(move);
}

QImage TablePainter::ComposeTile(int move) const {
  // The travelling tile is the chain tile with its pips, transparent where
  // its mask is white, so it passes over the table with its rounded corners.
  const MoveEntry& e = state_.MoveRecord[move];
  const double scale = surface_.devicePixelRatio();
  if (scale != 1.0) {
    // On a blown-up table it is composed at the picture's own scale, as
    // sharp on its way as once laid.
    QImage tile(ScaledEdge(e[kFTileWidth], scale), ScaledEdge(e[kFTileHeight], scale),
                QImage::Format_ARGB32);
    tile.fill(Qt::transparent);
    tile.setDevicePixelRatio(scale);
    MaskedBlit(tile, 0, 0, e[kFTileWidth], e[kFTileHeight], TheStrips().Dibujos, e[kFTileImageX], 0,
               e[kFTileImageX], art::kDibujosMaskRow);
    auto pip = [&](int pips, int x, int y) {
      if (pips < 1 || pips > 6) return;
      Blit(tile, x - e[kFTileLeft] + 3, y - e[kFTileTop] + 3, 30, 30, TheStrips().PunNeg,
           (pips - 1) * 30, e[kFPipOrientation] * 30, RasterOp::Copy);
    };
    pip(e[kFPipA], e[kFPipAX], e[kFPipAY]);
    pip(e[kFPipB], e[kFPipBX], e[kFPipBY]);
    return tile;
  }
  QImage strip = TheStrips().Dibujos.copy();
  auto pip = [&](int pips, int x, int y) {
    if (pips < 1 || pips > 6) return;
    Blit(strip, e[kFTileImageX] + x - e[kFTileLeft] + 3, y - e[kFTileTop] + 3, 30, 30,
         TheStrips().PunNeg, (pips - 1) * 30, e[kFPipOrientation] * 30, RasterOp::Copy);
  };
  pip(e[kFPipA], e[kFPipAX], e[kFPipAY]);
  pip(e[kFPipB], e[kFPipBX], e[kFPipBY]);
  return CutOut(strip, e[kFTileImageX], 0, e[kFTileWidth], e[kFTileHeight], e[kFTileImageX],
                art::kDibujosMaskRow);
}

void TablePainter::DrawHand(int seat) {
  const GameState* view = &state_;
  GameState revealed;
  if (Revealed) {
    // The end of a hand shows every hand as if it were visible, without
    // touching the seats' own options.
    revealed = state_;
    for (int s = 1; s <= kSeats; ++s) revealed.SeatTilesShown[s] = kTilesVisible;
    view = &revealed;
  }
  const Rect area = HandArea(state_.Table, seat);
  Restore(area);
  Drawn(area.x, area.y, area.w, area.h);
  const Strips& strips = TheStrips();
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (modes_.AllTilesFaceUp && state_.Hand[seat][slot].PipA == kNoPip) {
      DrawEmptySlot(FaceUpRect(state_.Table, seat, slot));
      continue;
    }
    const HandTileLook look = LookOfHandTile(*view, seat, slot, modes_);
    if (look.Show == TileShow::FaceUp) {
      Drawn(look.Face.x, look.Face.y, look.Face.w, look.Face.h);
      const QImage& from = strips.Of(look.FaceStrip);
      if (look.FaceMasked) {
        MaskedBlit(surface_, look.Face.x, look.Face.y, look.Face.w, look.Face.h, from,
                   look.FaceSrc.x, look.FaceSrc.y, look.FaceMaskSrc.x, look.FaceMaskSrc.y);
      } else {
        Blit(surface_, look.Face.x, look.Face.y, look.Face.w, look.Face.h, from, look.FaceSrc.x,
             look.FaceSrc.y, RasterOp::Copy);
      }
      DrawPips(look.PipA);
      DrawPips(look.PipB);
      if (look.Inverted)
        InvertRect(surface_, look.Invert.x, look.Invert.y, look.Invert.w, look.Invert.h);
    } else if (look.Show == TileShow::FaceDown) {
      Drawn(look.Back.x, look.Back.y, look.Back.w, look.Back.h);
      MaskedBlit(surface_, look.Back.x, look.Back.y, look.Back.w, look.Back.h, strips.Dorsos,
                 look.BackSrc.x, look.BackSrc.y, look.BackMaskSrc.x, look.BackMaskSrc.y);
    }
  }
}

void TablePainter::DrawEmptySlot(const Rect& r) {
  Drawn(r.x, r.y, r.w, r.h);
  QPainter painter(&surface_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0xF2, 0xE8, 0xC8, 150), 1, Qt::DashLine));
  painter.setBrush(QColor(0xF2, 0xE8, 0xC8, 28));
  painter.drawRoundedRect(QRectF(r.x + 1.5, r.y + 1.5, r.w - 3, r.h - 3), 4, 4);
}

void TablePainter::DrawHands() {
  for (int seat = 1; seat <= kSeats; ++seat) DrawHand(seat);
  DrawSeatNames();
}

int TablePainter::LastLaidMove() const {
  if (!state_.HandInProgress && !Revealed) return 0;
  // In play the move in hand is not on the table yet; a closed hand shows all.
  // The recorder counts a finished hand from the move after its last, as in
  // a hand being played.
  const int laid =
      state_.HandInProgress || state_.RecorderOn ? state_.MoveNumber - 1 : state_.MoveNumber;
  return std::min<int>(laid, static_cast<int>(state_.MoveRecord.size()) - 1);
}

std::vector<Rect> TablePainter::LaidTiles() const {
  std::vector<Rect> tiles;
  for (int move = 1; move <= LastLaidMove(); ++move) {
    const MoveEntry& e = state_.MoveRecord[move];
    if (e[kFEnd] == 1 || e[kFEnd] == 2)
      tiles.push_back(Rect{e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]});
  }
  return tiles;
}

void TablePainter::RestoreUnderChain(const Rect& r) {
  Restore(r);
  // A laid tile may reach into a name's place on a small table: the tiles
  // under the area are drawn again into a copy of it, in the order they were
  // laid, and only the area is copied back, so no tile loses a corner and no
  // neighbour is drawn over.
  bool under = false;
  for (const Rect& t : LaidTiles()) under = under || CoveredArea(r, t) > 0;
  if (!under) return;
  const int last = LastLaidMove();
  QImage scratch = marmol_.copy();
  TablePainter onScratch(state_, modes_, scratch, marmol_);
  onScratch.DrawChain(last);
  Blit(surface_, r.x, r.y, r.w, r.h, scratch, r.x, r.y, RasterOp::Copy);
}

void TablePainter::DrawSeatNames() {
  const TableGeometry& g = state_.Table;
  const QColor ink(0xF2, 0xE8, 0xC8);
  std::vector<std::string> names(kSeats);
  std::vector<int> rooms(kSeats);
  PerSeat<bool> hidden{};
  PerSeat<Rect> clear{};
  const std::vector<Rect> laid = LaidTiles();
  for (int seat = 1; seat <= kSeats; ++seat) {
    names[seat - 1] = QString::fromStdString(state_.SeatName[seat]).trimmed().toStdString();
    hidden[seat] =
        state_.SeatTilesShown[seat] == kTilesHidden && !Revealed && !modes_.AllTilesFaceUp;
    if (hidden[seat]) {
      rooms[seat - 1] = SpacedLetterRoom(seat);
    } else {
      // The right-hand name moves left into its room, keeping off the edge.
      const Rect area = clear[seat] = NameAreaClearOf(g, seat, laid);
      rooms[seat - 1] =
          seat == 3 ? area.w - 2 - kNameInkBefore : area.x + area.w - WholeNamePoint(g, seat).x - 1;
    }
  }
  // Spelt letters count one each; written names by their width.
  const std::vector<std::string> fitted =
      FitNames(names, rooms, [&](int i, const std::string& text) {
        return hidden[i + 1] ? CharacterCount(text)
                             : TextWidth(QString::fromStdString(text), kSmallTextPx, false);
      });
  for (int seat = 1; seat <= kSeats; ++seat) {
    const QString shown = QString::fromStdString(fitted[seat - 1]);
    const Rect area = WholeNameArea(g, seat);
    RestoreUnderChain(area);
    // The side strips lie inside their hand areas, which the hand's own
    // redraw restores; the bottom one lies above its hand.
    if (hidden[seat] || seat == 4) RestoreUnderChain(SpacedNameStrip(g, seat));
    if (hidden[seat]) {
      // Spelt along the hand, one letter every 16 pixels.
      for (int i = 0; i < shown.size(); ++i) {
        const Point p = SpacedLetterPoint(g, seat, i + 1);
        DrawnText(p.x, p.y, shown.mid(i, 1), kTextPx, true);
        DrawText(surface_, p.x, p.y, shown.mid(i, 1), kTextPx, true, ink);
      }
      continue;
    }
    Point p = WholeNamePoint(g, seat);
    if (seat == 3) {
      const Rect& room = clear[seat];
      p.x = std::min(p.x, room.x + room.w - 2 - TextWidth(shown, kSmallTextPx, false));
      p.x = std::max(p.x, room.x + kNameInkBefore);
    }
    DrawnText(p.x, p.y, shown, kSmallTextPx, false);
    DrawText(surface_, p.x, p.y, shown, kSmallTextPx, false, ink);
  }
}

void TablePainter::DrawButtonsAndScore() {
  const Strips& strips = TheStrips();
  for (int n = 1; n <= kBarButtons; ++n) {
    const ButtonPlace p = PlaceOfButton(n, state_.Table);
    Restore(Rect{p.x, p.y, p.w, p.h});
    Drawn(p.x - 2, p.y - 2, p.w + 4, p.h + 4);
    const ButtonCell c = CellOfButton(n);
    MaskedBlit(surface_, p.x, p.y, p.w, p.h, strips.BmpVario, c.imageX, c.imageY, c.maskX, c.maskY);
  }
  const ButtonPlace b = PlaceOfButton(kScoreButton, state_.Table);
  Drawn(b.x - 2, b.y - 2, b.w + 4, b.h + 4);
  PaintScore(surface_, QPoint(b.x, b.y), state_);
}

void TablePainter::DrawPiece(int imageX, int imageY, int w, int h, int maskX, int maskY, int x,
                             int y) {
  Drawn(x, y, w, h);
  MaskedBlit(surface_, x, y, w, h, TheStrips().Piezas, imageX, imageY, maskX, maskY);
}

void TablePainter::DrawThinkingHand(int seat, int slot) {
  const Point at = ThinkingHandPoint(state_.Table, seat, slot);
  const Point image = ThinkingHandImage(seat);
  const Point mask = ThinkingHandMask(seat);
  Drawn(at.x, at.y, kThinkingHandSize, kThinkingHandSize);
  MaskedBlit(surface_, at.x, at.y, kThinkingHandSize, kThinkingHandSize, TheStrips().Manos, image.x,
             image.y, mask.x, mask.y);
}

QRect TablePainter::ContinueButtonRect() const {
  // Bottom right, between the bottom hand and the recorder panel, above the
  // bottom seat's name, where the chain never reaches.
  const TableGeometry& g = state_.Table;
  return QRect(g.ScreenWidthPx - 58 - art::kContinueButton.w - 12, g.ScreenHeightPx - 62,
               art::kContinueButton.w, art::kContinueButton.h);
}

QRect TablePainter::PassSignRect(int seat) const {
  const TableGeometry& g = state_.Table;
  const int w = art::kPassSign.w;
  const int h = art::kPassSign.h;
  switch (seat) {
    case 1:
      return QRect(48, g.T1 - 30, w, h);
    case 2:
      return QRect(g.L2 - w - 8, 12, w, h);
    case 3:
      return QRect(g.ScreenWidthPx - 48 - w, g.T1 - 30, w, h);
    default:
      return QRect(g.L4 - w - 8, g.ScreenHeightPx - 50, w, h);
  }
}

QRect TablePainter::DominoRect() const {
  const QRect b = ContinueButtonRect();
  const Rect r = DominoPlace(state_, Rect{b.x(), b.y(), b.width(), b.height()});
  return QRect(r.x, r.y, r.w, r.h);
}

QRect TablePainter::LeaderPanelRect() const {
  const TableGeometry& g = state_.Table;
  return QRect(g.ScreenWidthPx / 2 - 140, g.ScreenHeightPx / 2 - 30, art::kLeaderPanel.w,
               art::kLeaderPanel.h);
}

void TablePainter::DrawContinueButton(const QString& label) {
  const QRect r = ContinueButtonRect();
  Restore(r);
  DrawPiece(art::kContinueButton.x, art::kContinueButton.y, r.width(), r.height(),
            art::kContinueButtonMask.x, art::kContinueButtonMask.y, r.x(), r.y());
  // A long name is first written smaller; one that still does not fit is cut
  // so that it never reads like another seat's name.
  const int room = r.width() - 8;
  int px = kTextPx;
  while (px > kSmallestLabelPx && TextWidth(label, px, true) > room) --px;
  std::vector<std::string> names = {label.toStdString()};
  for (int seat = 1; seat <= kSeats; ++seat)
    names.push_back(QString::fromStdString(state_.SeatName[seat]).trimmed().toStdString());
  const QString shown = QString::fromStdString(
      FitNames(names, std::vector<int>(names.size(), room), [px](int, const std::string& text) {
        return TextWidth(QString::fromStdString(text), px, true);
      })[0]);
  const int w = TextWidth(shown, px, true);
  DrawText(surface_, r.x() + (r.width() - w) / 2, r.y() + (r.height() - TextHeight(px, true)) / 2,
           shown, px, true, Qt::black);
}

void TablePainter::DrawPassSign(int seat) {
  const QRect r = PassSignRect(seat);
  DrawPiece(art::kPassSign.x, art::kPassSign.y, r.width(), r.height(), art::kPassSignMask.x,
            art::kPassSignMask.y, r.x(), r.y());
}

void TablePainter::DrawDomino() {
  dominoPlace_ = DominoRect();
  dominoShown_ = false;
  FollowEndMarks();
}

// A finished hand shows its end while the recorder is off or back at the live
// move; a hand being played has no end to show.
bool TablePainter::AtHandEnd() const {
  if (state_.HandInProgress || !Revealed) return false;
  return !state_.RecorderOn || state_.MoveNumber >= state_.LiveMoveNumber;
}

QRect TablePainter::FollowEndMarks() {
  const bool wanted = !dominoPlace_.isEmpty() && AtHandEnd();
  if (wanted == dominoShown_) return {};
  const QRect& r = dominoPlace_;
  if (wanted) {
    DrawPiece(art::kDomino.x, art::kDomino.y, r.width(), r.height(), art::kDominoMask.x,
              art::kDominoMask.y, r.x(), r.y());
  } else {
    // The sign was placed clear of every tile of the hand: the marble alone
    // was under it.
    Restore(r);
  }
  dominoShown_ = wanted;
  return r;
}

void TablePainter::DrawLeaderPanel() {
  const QRect r = LeaderPanelRect();
  DrawPiece(art::kLeaderPanel.x, art::kLeaderPanel.y, r.width(), r.height(),
            art::kLeaderPanelMask.x, art::kLeaderPanelMask.y, r.x(), r.y());
  const QString text = QString::fromUtf8(kChooseLeaderText);
  const int w = TextWidth(text, kTextPx, true);
  DrawText(surface_, r.x() + (r.width() - w) / 2,
           r.y() + (r.height() - TextHeight(kTextPx, true)) / 2, text, kTextPx, true, Qt::black);
}

}  // namespace tarvelis

namespace tarvelis {

QImage TablePainter::SmallUprightTile(int pipA, int pipB) const {
  const Strips& strips = TheStrips();
  const art::Cell face = art::kSmallFace[2];
  QImage tile = strips.Puntitos.copy(face.x, face.y, face.w, face.h);
  auto pips = [&](int n, int y) {
    if (n < 1 || n > 6) return;
    const art::Cell cell = art::SmallPipCell(n, 1);
    Blit(tile, 2, y + 2, cell.w, cell.h, strips.Puntitos, cell.x, cell.y, RasterOp::Copy);
  };
  pips(pipA, 0);
  pips(pipB, 21);
  return tile;
}

void TablePainter::DrawDealingArea(const ManualDeal& deal) {
  const TableGeometry& g = state_.Table;
  const Rect area = DealingArea(g);
  Restore(Rect{area.x - 60, area.y - 24, area.w + 120, area.h + 24});
  Drawn(area.x - 60, area.y - 24, area.w + 120, area.h + 24);
  // A face-down tile of the area is the bottom hand's back at the size of
  // the small faces.
  static const QImage back = [] {
    const art::Cell b = art::kBack[4];
    const art::Cell m = art::kBackMask[4];
    QImage picture = CutOut(TheStrips().Dorsos, b.x, b.y, b.w, b.h, m.x, m.y);
    return picture.scaled(20, 42, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }();
  for (int row = 0; row < kDealRows; ++row) {
    for (int col = 0; col < kDealCols; ++col) {
      if (!deal.CellHoldsTile(row, col)) continue;
      const Rect cell = DealingCell(g, row, col);
      Drawn(cell.x, cell.y, back.width(), back.height());
      QPainter(&surface_).drawImage(cell.x, cell.y, back);
    }
  }
  const QString hint = QString::fromUtf8(deal.Carrying() ? kDealToSeatText : kManualDealText);
  const int w = TextWidth(hint, kTextPx, true);
  DrawnText(g.ScreenWidthPx / 2 - w / 2, area.y - 20, hint, kTextPx, true);
  DrawText(surface_, g.ScreenWidthPx / 2 - w / 2, area.y - 20, hint, kTextPx, true,
           QColor(0xF2, 0xE8, 0xC8));
}

}  // namespace tarvelis
