// Everything drawn on the table's picture: the chain from the move record, the
// hands from the state, the seat names, the buttons with the score, and the
// table's small pieces. Only raster copies from the strips and text at pixel
// positions; where things go comes from the core's layout functions.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include "layout/hand_layout.h"
#include "model/game_state.h"
#include "model/table_modes.h"

namespace tarvelis {

class TablePainter {
 public:
  TablePainter(const GameState& state, const TableModes& modes, QImage& surface,
               const QImage& marmol);

  // Copies an area back from the table background.
  void Restore(const Rect& r);
  void Restore(const QRect& r);
  // The same, keeping the laid tiles that reach into the area whole.
  void RestoreUnderChain(const Rect& r);
  // The tiles on the table now, in the order they were laid, and the last
  // move among them (0 when none shows).
  std::vector<Rect> LaidTiles() const;
  int LastLaidMove() const;

  // The whole table from the state: background, chain, hands, names, buttons.
  // Only the places drawn on since the table was last clear are brought back
  // from the background first.
  void DrawAll();
  // The picture was made again from the background: nothing is drawn on it.
  void PictureReplaced();

  // One laid tile from its move record; passes draw nothing.
  void DrawChainTile(int move);
  // Moves 1..last of the record, in order, so overlaps come out as laid.
  void DrawChain(int last);

  // One hand area, as the seat's options say (or face up once revealed).
  void DrawHand(int seat);
  void DrawHands();
  void DrawSeatNames();

  // The six bar buttons and the running score on the sixth.
  void DrawButtonsAndScore();

  // The travelling picture of move n's tile: the same copy as on the chain,
  // at the tile's own size.
  QImage ComposeTile(int move) const;

  // A masked piece of the piezas strip at (x, y).
  void DrawPiece(int imageX, int imageY, int w, int h, int maskX, int maskY, int x, int y);

  // The thinking hand of `seat` over `slot`.
  void DrawThinkingHand(int seat, int slot);

  // Where the table's own pieces sit.
  QRect ContinueButtonRect() const;
  QRect PassSignRect(int seat) const;
  QRect DominoRect() const;
  QRect LeaderPanelRect() const;

  // The recorder panel, with control `pressedControl` (1..5) pressed; the
  // marble when no hand is being played.
  QRect RecorderPanelRect() const;
  void DrawRecorderPanel(int pressedControl);

  void DrawContinueButton(const QString& label);
  void DrawPassSign(int seat);
  // The "DOMINÓ" sign of a hand that ended with a player's last tile. It is
  // placed once, at the hand's end, and shown only while the table stands at
  // that position: stepping back through the finished hand takes it away.
  void DrawDomino();
  // Shows or takes away the end-of-hand sign for the position on the table;
  // the area that changed, empty when nothing did.
  QRect FollowEndMarks();
  void DrawLeaderPanel();

  // The manual deal: the tiles still lying face down in the dealing area and
  // the line that tells the user what to do.
  void DrawDealingArea(const class ManualDeal& deal);
  // A tile as it is carried during the manual deal: a small upright face.
  QImage SmallUprightTile(int pipA, int pipB) const;

  // Hands shown face up whatever the seats' options: the end of a hand.
  bool Revealed = false;

 private:
  void DrawPips(const PipCell& cell);
  // Keeps the table rectangle about to be drawn on (text by its place and
  // size), so that DrawAll restores it and no more.
  void Drawn(int x, int y, int w, int h);
  void DrawnText(int x, int y, const QString& text, int px, bool bold);
  bool AtHandEnd() const;
  // The outline of a slot still waiting for its tile in the manual deal.
  void DrawEmptySlot(const Rect& r);
  const GameState& state_;
  const TableModes& modes_;
  QImage& surface_;
  const QImage& marmol_;
  QRegion drawn_;
  QRect dominoPlace_;  // where the hand's "DOMINÓ" sign goes, empty for none
  bool dominoShown_ = false;
  // Until told the picture is a fresh copy of the background, anything may
  // be on it.
  bool wholeDrawn_ = true;
};

}  // namespace tarvelis
