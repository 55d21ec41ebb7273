// A hand played by the engine to `moves` moves and waiting at the continue
// button on an 800 x 600 table, at full speed and without sound: the table
// the recorder and review tests start from.
#pragma once

#include <cstdint>

#include "engine/headless_play.h"
#include "model/game_state.h"

namespace tarvelis::testing {

inline GameState WaitingHand(int moves, std::uint32_t seed) {
  GameState s;
  ApplyDefaults(s);
  s.RuleSound = kOff;
  s.RuleFirstLead = kFirstLeadDraw;
  s.GameSpeed = 100;
  s.Table = ComputeTableGeometry(800, 600);
  PlayHeadlessTo(s, moves, seed);
  s.NoticeShown = true;
  return s;
}

}  // namespace tarvelis::testing
