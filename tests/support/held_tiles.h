// The tiles a seat still holds, as the expert's set of tiles: what the
// player tests deal again, swap or compare with what the expert drew.
#pragma once

#include "model/game_state.h"
#include "player/expert_knowledge.h"

namespace tarvelis::expert {

inline TileSet HeldBy(const GameState& s, int seat) {
  TileSet t = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& h = s.Hand[seat][slot];
    if (h.State == 0) t |= 1u << TileIndex(h.PipA, h.PipB);
  }
  return t;
}

}  // namespace tarvelis::expert
