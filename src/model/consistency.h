// The one consistency check of the state: the match flags and numbers in
// range, every tile dealt once, the counts agree with the hands, the chain
// ends and the played tiles agree with the move record, every recorded move
// was legal and was made in turn, every laid tile is one the table can draw
// where the table can draw it, the totals agree with the log. Used by the
// simulator after every move, by the engine, by the reader of the state file
// before a match is resumed, and by the tests.
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
  // Also check where the laid tiles lie on this state's table and that each
  // arm runs on from its previous tile. The shape of every laid tile (its
  // picture, size, pip cells and flags) is checked always.
  bool TilePositions = true;
  // Between hands, also check the hands of the hand that ended. Nothing of
  // them is played on again, so a state read between hands does not need it.
  bool FinishedHand = true;
};

// The match totals the hand log gives: the tens or the units RuleScoring
// selects, summed over hands 1..HandNumber, each held within 0..999.
struct LogTotals {
  PerPair<i16> Pair{};
  PerSeat<i16> Seat{};
};
LogTotals TotalsOfLog(const GameState& state);
void RecomputeTotalsFromLog(GameState& state);

// The violations found, each a short sentence; empty when the state is sound.
std::vector<std::string> CheckState(const GameState& state, CheckOptions options = {});

}  // namespace tarvelis
