// The browser's table drawn: the marble, the chain and the hands, the seats'
// names, the score, what the seat is asked and the notice over the table.
#include <algorithm>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "model/move_record.h"
#include "model/table_geometry.h"
#include "model/trimmed.h"
#include "model/utf8_text.h"
#include "web/draw_list.h"
#include "web/web_table.h"

namespace tarvelis::web {

std::string WebTable::DrawList() const {
  DrawOps list;
  const TableGeometry& g = state_.Table;
  const int w = g.ScreenWidthPx;
  const int h = g.ScreenHeightPx;
  // The marble, repeated without a seam.
  for (int y = 0; y < h; y += art::kMarmolSize.h) {
    for (int x = 0; x < w; x += art::kMarmolSize.w) {
      list.Copy(WebStrip::Marmol, 0, 0, std::min(art::kMarmolSize.w, w - x),
                std::min(art::kMarmolSize.h, h - y), x, y);
    }
  }
  const bool onTable = state_.HandInProgress || revealed_;
  if (onTable) DrawTiles(list);
  DrawNames(list, onTable);
  DrawScore(list);
  DrawPrompts(list);
  DrawNotice(list);
  return list.Dump();
}

void WebTable::DrawTiles(DrawOps& list) const {
  for (int move = 1; move <= LastLaidMove(); ++move) {
    const MoveEntry& e = state_.MoveRecord[static_cast<std::size_t>(move)];
    if (e[kFEnd] != 1 && e[kFEnd] != 2) continue;
    list.Tag(move, e[kFPipA], e[kFPipB]);
    list.Masked(WebStrip::Dibujos, e[kFTileImageX], 0, e[kFTileWidth], e[kFTileHeight],
                e[kFTileImageX], art::kDibujosMaskRow, e[kFTileLeft], e[kFTileTop]);
    list.Pips(TablePipCell(e[kFPipA], Point{e[kFPipAX], e[kFPipAY]}, e[kFPipOrientation]));
    list.Pips(TablePipCell(e[kFPipB], Point{e[kFPipBX], e[kFPipBY]}, e[kFPipOrientation]));
  }
  GameState view = state_;
  if (revealed_) {
    for (int s = 1; s <= kSeats; ++s) view.SeatTilesShown[s] = kTilesVisible;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandTileLook look = LookOfHandTile(view, seat, slot);
      if (look.Show == TileShow::FaceUp) {
        const int strip = StripOf(look.FaceStrip);
        if (look.FaceMasked) {
          list.Masked(static_cast<WebStrip>(strip), look.FaceSrc.x, look.FaceSrc.y, look.Face.w,
                      look.Face.h, look.FaceMaskSrc.x, look.FaceMaskSrc.y, look.Face.x,
                      look.Face.y);
        } else {
          list.Copy(strip, look.FaceSrc.x, look.FaceSrc.y, look.Face.w, look.Face.h, look.Face.x,
                    look.Face.y);
        }
        list.Pips(look.PipA);
        list.Pips(look.PipB);
        if (look.Inverted) list.Invert(look.Invert);
      } else if (look.Show == TileShow::FaceDown) {
        list.Masked(WebStrip::Dorsos, look.BackSrc.x, look.BackSrc.y, look.Back.w, look.Back.h,
                    look.BackMaskSrc.x, look.BackMaskSrc.y, look.Back.x, look.Back.y);
      }
    }
  }
}

void WebTable::DrawNames(DrawOps& list, bool onTable) const {
  const TableGeometry& g = state_.Table;
  // The seats' names, written beside their hands.
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::string name = Trimmed(state_.SeatName[seat]);
    if (name.empty()) continue;
    const bool hidden = onTable && !revealed_ && state_.SeatTilesShown[seat] == kTilesHidden;
    if (hidden) {
      // Spelt along the hand, one letter every 16 pixels.
      std::vector<std::string> letters;
      for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 || letters.empty())
          letters.emplace_back();
        letters.back() += c;
      }
      const int count = std::min<int>(SpacedLetterRoom(seat), static_cast<int>(letters.size()));
      for (int i = 0; i < count; ++i) {
        const Point p = SpacedLetterPoint(g, seat, i + 1);
        list.Text(p.x, p.y, kTextPx, true, kInk, letters[static_cast<std::size_t>(i)]);
      }
    } else {
      const Point p = WholeNamePoint(g, seat);
      list.Text(p.x, p.y, kSmallTextPx, false, kInk, name);
    }
  }
}

void WebTable::DrawScore(DrawOps& list) const {
  const TableGeometry& g = state_.Table;
  // Of the bar only the score: the other buttons (a new match, the
  // settings, the tutor, the exit) belong to the game at home.
  const ButtonPlace b = PlaceOfButton(kScoreButton, g);
  const ButtonCell c = CellOfButton(kScoreButton);
  list.Masked(WebStrip::BmpVario, c.imageX, c.imageY, b.w, b.h, c.maskX, c.maskY, b.x, b.y);
  const art::Cell a = art::kScoreArea;
  const bool pairs = state_.RuleMode == kModePairs;
  const int n = pairs ? 2 : kSeats;
  for (int i = 1; i <= n; ++i) {
    const int total = pairs ? state_.PairTotal[i] : state_.SeatTotal[i];
    const int rowH = a.h / n;
    list.Text(b.x + a.x + 4, b.y + a.y + (i - 1) * rowH + (rowH - kSmallTextPx) / 2, kSmallTextPx,
              true, "#102cb8", std::to_string(total));
  }
}

void WebTable::DrawPrompts(DrawOps& list) const {
  const TableGeometry& g = state_.Table;
  if (passSeat_ != 0 && state_.HandInProgress) {
    const Rect hand = HandArea(g, passSeat_);
    const int pw = art::kPassSign.w;
    const int ph = art::kPassSign.h;
    Point at{hand.x + (hand.w - pw) / 2, hand.y + (hand.h - ph) / 2};
    list.Masked(WebStrip::Piezas, art::kPassSign.x, art::kPassSign.y, pw, ph, art::kPassSignMask.x,
                art::kPassSignMask.y, at.x, at.y);
  }
  if (revealed_ && domino_) {
    const Rect c = ContinueButton();
    list.Masked(WebStrip::Piezas, art::kDomino.x, art::kDomino.y, art::kDomino.w, art::kDomino.h,
                art::kDominoMask.x, art::kDominoMask.y, c.x + c.w - art::kDomino.w,
                c.y - art::kDomino.h - 8);
  }
  if (remote_ && remote_->Asked()) {
    // The continue button with the seat's name: pressed, the computer
    // chooses the move.
    const Rect c = ContinueButton();
    list.Masked(WebStrip::Piezas, art::kContinueButton.x, art::kContinueButton.y, c.w, c.h,
                art::kContinueButtonMask.x, art::kContinueButtonMask.y, c.x, c.y);
    const std::string label = Utf8Prefix(Trimmed(state_.SeatName[net::kOwnLocalSeat]), 10);
    list.Text(c.x + 6, c.y + (c.h - kTextPx) / 2 - 1, kTextPx, true, "#000000", label);
    if (endSlot_ != 0) {
      const Rect r1 = ArrowRect(1);
      const Rect r2 = ArrowRect(2);
      list.Masked(WebStrip::Piezas, art::kArrowRight.x, art::kArrowRight.y, r1.w, r1.h,
                  art::kArrowRightMask.x, art::kArrowRightMask.y, r1.x, r1.y);
      list.Masked(WebStrip::Piezas, art::kArrowLeft.x, art::kArrowLeft.y, r2.w, r2.h,
                  art::kArrowLeftMask.x, art::kArrowLeftMask.y, r2.x, r2.y);
    }
  }
}

void WebTable::DrawNotice(DrawOps& list) const {
  if (notices_.empty()) return;
  // The notice over the table's middle, as the desktop's message shows it.
  const auto& [title, text] = notices_.front();
  const std::vector<std::string> lines = Wrapped(text, kNoticeChars);
  const Rect panel = NoticePanel();
  const int pw = panel.w;
  list.Fill(panel, "#f3efe4", 240);
  list.Fill(Rect{panel.x, panel.y, pw, 22}, "#0e3b27", 255);
  list.Text(panel.x + 8, panel.y + 4, kTextPx, true, kInk, title);
  const art::Cell pic = art::MessagePictureOpaque(1);
  list.Copy(static_cast<int>(WebStrip::Mensajes), pic.x, pic.y, pic.w, pic.h, panel.x + 8,
            panel.y + 28);
  int y = panel.y + 32;
  for (const std::string& line : lines) {
    list.Text(panel.x + 8 + pic.w + 8, y, kTextPx, false, "#000000", line);
    y += 16;
  }
}

}  // namespace tarvelis::web
