// What the table is doing with the mouse while the turn loop waits: dealing by
// hand, asking for the leader or an end, arranging a hand. The table switches
// these on and off and passes them to the rules that depend on them; none of
// it belongs to the game, so none of it is kept in the game state or its file.
#pragma once

namespace tarvelis {

struct TableModes {
  bool AllTilesFaceUp = false;  // the user is dealing the tiles by hand
  bool ChoosingLeader = false;  // the user is picking the seat that leads
  bool WaitingForEnd = false;   // the end arrows are up
  bool OrderMode = false;       // "Ordenar fichas": a held tile is dragged to a new slot
  bool TurnMode = false;        // "Girar fichas": a click turns a held tile
  bool DragActive = false;      // a held tile is being dragged
  int DragSeat = 0;             // whose tile, and from which slot
  int DragSlot = 0;
  // The match on the table is played at a server's table: what would let
  // one seat see more than the others (the tutor, the recorder in a hand)
  // or change the match locally (saved games, the settings) is off.
  bool Networked = false;
  // The networked table is only watched: no seat is this game's, so nothing
  // on the table is arranged or played, only looked at.
  bool Watching = false;

  // The table is taken up by something other than play: the recorder and the
  // tutor wait, the options menu offers nothing.
  bool Busy() const { return AllTilesFaceUp || ChoosingLeader || WaitingForEnd || DragActive; }
  bool operator==(const TableModes&) const = default;
};

}  // namespace tarvelis
