// What tarvelis-sim --check verifies after every move.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"

namespace tarvelis::sim {

struct CheckCounts {
  long State = 0;          // consistency checks of the whole state
  long FileRoundTrip = 0;  // states written and read back
  long UndoRedo = 0;       // moves stepped back and forward again
  long Violations = 0;
};

class MoveChecker {
 public:
  // Checks the state right after a move; returns the violations found and
  // counts the checks made. `replayMarks` when the hand was dealt in this run,
  // so its marks can be replayed from the deal.
  std::vector<std::string> AfterMove(GameState& state, bool replayMarks);

  const CheckCounts& Counts() const { return counts_; }
  void AddViolations(long n) { counts_.Violations += n; }

 private:
  void RoundTrip(GameState& state, std::vector<std::string>& out);
  void UndoRedo(GameState& state, std::vector<std::string>& out);

  CheckCounts counts_;
  GameState readBack_;  // reused: reading into it allocates nothing new
};

}  // namespace tarvelis::sim
