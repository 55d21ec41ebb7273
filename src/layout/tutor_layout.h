// Where the tutor shows its suggestion: its marker (Ima_IndiTuto) beside the
// suggested tile's slot, and, for a tile that fits either end, the end arrow
// of the end to choose.
#pragma once

#include "layout/hand_layout.h"
#include "model/game_state.h"

namespace tarvelis {

struct TutorMarks {
  int Seat = 0;  // whose marker: each points at its own hand
  Rect Marker;
  int ArrowEnd = 0;  // 0 none, 1 Ima_FlechaDer at end 1, 2 Ima_FlechaIzq at end 2
  Rect Arrow;
  bool operator==(const TutorMarks&) const = default;
};

// The marks for the tile in `slot` of `seat`; `arrowEnd` is the end the
// suggestion lays it on when it could go on either, else 0.
TutorMarks PlaceTutorMarks(const GameState& s, int seat, int slot, int arrowEnd);

}  // namespace tarvelis
