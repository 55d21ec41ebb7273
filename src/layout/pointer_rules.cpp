#include "layout/pointer_rules.h"

#include "model/move_record.h"
#include "model/move_rules.h"

namespace tarvelis {
namespace {

bool ShownInverted(const GameState& s, const HandSlot& h) {
  return h.State == 1 && s.RulePlayedTilesShown == kPlayedInverted;
}

// Rule 1 holds while a manual seat is to move in a running hand and nothing
// else (the recorder away from the live move or replaying, arranging, manual
// deal) owns the mouse.
bool NormalPlay(const GameState& s, const TableModes& m) {
  const int seat = s.CurrentSeat;
  return seat >= 1 && seat <= kSeats && s.SeatControl[seat] == kManual && s.MatchInProgress &&
         s.HandInProgress && !RecorderHoldsPlay(s) && !m.OrderMode && !m.TurnMode &&
         !m.AllTilesFaceUp;
}

// Green over a tile the seat may play now, red over a held tile it may not.
// A played tile is no longer the seat's to play, so it never shows red: not
// when it stays inverted in its slot, nor when its slot is empty.
CursorKind NormalPlayPointer(const GameState& s, Point p, const PointerFlags& f) {
  const HandHit hit = HitTestHand(s.Table, p, true);
  if (hit.HitSeat != s.CurrentSeat || hit.HitSlot == 0 || f.ArrowsShowing) return kCursorNormal;
  if (EsJugable(s, hit.HitSeat, hit.HitSlot)) return kCursorManoVerde;
  const HandSlot& h = s.Hand[hit.HitSeat][hit.HitSlot];
  return h.State == 0 ? kCursorManoRoja : kCursorNormal;
}

// Arranging: any visible hand's tile may be dragged or turned, except a played
// tile still shown inverted, which stays where it is.
CursorKind ArrangePointer(const GameState& s, Point p, CursorKind kind) {
  const HandHit hit = HitTestHand(s.Table, p, true);
  if (hit.HitSlot == 0 || s.SeatTilesShown[hit.HitSeat] != kTilesVisible) return kCursorNormal;
  const HandSlot& h = s.Hand[hit.HitSeat][hit.HitSlot];
  if (h.PipA == kNoPip || ShownInverted(s, h)) return kCursorNormal;
  return kind;
}

CursorKind ManualDealPointer(const GameState& s, Point p, const PointerFlags& f) {
  if (f.CarryingTile) return kCursorManoCerrada;
  const HandHit hit = HitTestHand(s.Table, p, true);
  if (hit.HitSlot != 0 && s.Hand[hit.HitSeat][hit.HitSlot].PipA != kNoPip) {
    return kCursorManoVerde;
  }
  const DealCell cell = HallaFilyCol(s.Table, p);
  if (cell.Row != 9 && cell.Col != 9 && f.DealCellHoldsTile &&
      f.DealCellHoldsTile(cell.Row, cell.Col)) {
    return kCursorOrdenar;
  }
  return kCursorNormal;
}

}  // namespace

CursorKind ChoosePointer(const GameState& s, const TableModes& m, Point p, const PointerFlags& f) {
  // Buttons are pictures: the pointing hand says they can be pressed. A tile
  // being carried keeps the closed hand wherever it goes.
  if (f.OverControl && !m.DragActive && !f.CarryingTile) return kCursorManoIndice;
  if (NormalPlay(s, m)) return NormalPlayPointer(s, p, f);
  if (m.OrderMode) return m.DragActive ? kCursorManoCerrada : ArrangePointer(s, p, kCursorOrdenar);
  if (m.TurnMode) return ArrangePointer(s, p, kCursorGirar);
  if (!m.AllTilesFaceUp) {
    const bool onHand = m.ChoosingLeader && HitTestHand(s.Table, p, false).HitSeat != 0;
    return onHand ? kCursorManoIndice : kCursorNormal;
  }
  return ManualDealPointer(s, p, f);
}

}  // namespace tarvelis
