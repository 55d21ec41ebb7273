// The computer player: chooses the lead, one candidate or a pass for the seat
// to move. Deterministic: the same position always gives the same move. Its
// strength switches rules of the evaluation on by thresholds and adds no noise.
#pragma once

#include <array>
#include <string>

#include "model/game_state.h"
#include "model/move_rules.h"
#include "player/evaluation.h"
#include "player/expert.h"

namespace tarvelis {

class TablePort;

// The move of CurrentSeat; the state is only read, and the turn loop puts the
// move in hand. `port` shows the thinking pause; it may be null (no pause).
// A seat set to the expert (SeatExpert) is played by the expert player, on a
// thread of its own while `port` keeps the table answering.
ChosenMove EligeJugada(const GameState& state, TablePort* port);

// The expert's options at the table, for its seats, the tutor and the review
// of a hand alike.
expert::ExpertOptions ExpertAtTheTable();

// The seed of the expert's deals for `seat`'s move, which only the seat itself
// could compute: the hand, the move and its own dealt tiles. The same position
// plays the same.
std::uint64_t ExpertSeed(const GameState& state, int seat);

// Every candidate of one evaluated decision with its score and breakdown.
struct Evaluation {
  int HandNumber = 0;
  int MoveNumber = 0;
  int Seat = 0;
  int Level = 0;
  int Count = 0;    // candidates scored
  int Chosen = -1;  // index of the first candidate with the highest score
  std::array<Breakdown, kMaxCandidates> Candidates{};
};

// Scores every candidate in `list` for `seat` and picks the first best; the
// state is only read.
Evaluation EvaluateMove(const GameState& state, int seat, const CandidateList& list);

// The last decision EligeJugada scored (two or more candidates) on this
// thread; Count is 0 before the first one.
const Evaluation& LastEvaluation();

// The evaluation as text, one line per candidate, chosen one marked with '*':
//   explain hand 1 move 6 seat 3 level 50: 2 candidates
//   * 4-2 end 1: 16 = base 9 marks+ 3 r1 ...
// Only the columns that contributed are listed.
std::string ExplainEvaluation(const Evaluation& evaluation);

// The tutor's suggestion for the seat to move, computed with no pause and, for
// a manual seat, at full strength, or by the expert when TutorExpert is set.
// The state is only read.
struct Suggestion {
  bool Pass = true;
  int Slot = 0;             // the suggested tile's slot in the seat's hand
  int End = 0;              // 1 or 2
  bool ShowsArrow = false;  // a non-double that could go on either end
};
Suggestion Suggest(const GameState& state);

}  // namespace tarvelis
