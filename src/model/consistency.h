// The one consistency check of the state: every tile dealt once, the counts
// agree with the hands, the chain ends and the played tiles agree with the
// move record, every recorded move was legal, the totals are in range. Used by
// the simulator after every move, by the tests, and before a saved hand is
// played on.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"

namespace tarvelis {

struct CheckOptions {
  // Moves of the record in force: MoveNumber right after a move was made,
  // MoveNumber - 1 while the next move is awaited (the state as saved).
  // Negative means the latter.
  int MovesInForce = -1;
  // Also replay the computer player's marks from the deal. Exact only when the
  // lead was never taken back and led again (a withdrawn lead leaves its
  // marks), as in the simulator.
  bool ReplayMarks = false;
};

// The violations found, each a short sentence; empty when the state is sound.
std::vector<std::string> CheckState(const GameState& state, CheckOptions options = {});

}  // namespace tarvelis
