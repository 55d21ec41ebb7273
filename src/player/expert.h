// The expert player: for every legal move of the seat to move (the lead
// included) it estimates the hand's expected result for its side, over deals
// of the unseen tiles that agree with what the seat knows, and picks the best.
// A deal must also explain how the computer seats played (they would have
// chosen the same moves under it) and is weighed down by each move of a person
// the rules would not have made. Every move is weighed on the same deals. It
// never reads another seat's held tiles. Also the review of a recorded
// hand, which weighs every move the same way from the mover's point of view.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/game_state.h"
#include "player/expert_knowledge.h"
#include "player/expert_search.h"

namespace tarvelis::expert {

struct ExpertOptions {
  int Deals = 500;  // most deals weighed per decision
  int MinDeals = 24;
  bool EarlyStop = true;
  // Deals with at most this many tiles still held are searched exactly; the
  // others are played out, by every seat as it plays when `SeatPlayouts`,
  // otherwise by `Playout`.
  int ExactTiles = 14;
  Policy Playout = Policy::kDoublesFirst;
  bool SeatPlayouts = true;
  // Deals are drawn until `Deals` of them explain the computer seats' moves,
  // or `Draws` were drawn; short of `MinDeals`, the deals that missed fewest
  // moves make up the rest, weighed down by kMissWeight for each miss.
  bool ReadsPlay = true;
  int Draws = 4000;
};

// How much each move of a computer seat that a fallback deal cannot explain
// weighs it down.
inline constexpr double kMissWeight = 0.05;

// The plain sampled search: a fixed number of deals, every seat playing
// doubles first to the end of the hand.
ExpertOptions SampledSearchOptions(int deals);

// One weighed move, in the form the table lays it: the lead (PipA-PipB, end
// 1) or a tile whose `PipA` meets the chain and whose `PipB` becomes the end.
struct WeighedMove {
  int PipA = 0;
  int PipB = 0;
  bool Lead = false;
  double Mean = 0;  // expected result for the mover's side, in points scored
};

struct Weighing {
  std::vector<WeighedMove> Moves;  // in the order the search lists them
  int Best = -1;                   // index into Moves; -1 when nothing to weigh
  int Deals = 0;                   // deals weighed
  int Drawn = 0;                   // deals drawn, those that did not fit included
  int Fallback = 0;                // deals weighed that missed a computer seat's move
  long Nodes = 0;                  // positions the exact searches visited
};

// Weighs every legal move of the seat to move in `knowledge`, judged under
// the house rules and leader of `rules`. The same seed gives the same result.
// Besides the rules, `rules` gives the seats' settings and the record of the
// moves before the decision, which the reading of the play needs; `cancel`,
// when given and set, makes the weighing stop early with what it has.
Weighing WeighMoves(const GameState& rules, const Knowledge& knowledge,
                    const ExpertOptions& options, std::uint64_t seed,
                    const std::atomic<bool>* cancel = nullptr);

// Chooses the move of CurrentSeat in `state` and writes it into the move in
// hand (PlayPipA, PlayPipB, PlayEnd), a pass when nothing fits.
void ChooseExpertMove(GameState& state, const ExpertOptions& options, std::uint64_t seed,
                      const std::atomic<bool>* cancel = nullptr);

// The review of one move of a recorded hand.
struct MoveReview {
  int Move = 0;
  int Seat = 0;
  bool Weighed = false;  // the mover had a choice
  double Loss = 0;       // expected points the move gave up against the best
  WeighedMove Played;
  WeighedMove BestMove;
};

// Reviews moves 1 .. lastMove of the hand in `state` (its dealt hands and move
// record). `progress(done, total)` is called after each move; returning false
// stops the review, which then returns the moves reviewed so far.
std::vector<MoveReview> ReviewHand(const GameState& state, int lastMove,
                                   const ExpertOptions& options,
                                   const std::function<bool(int, int)>& progress = {});

}  // namespace tarvelis::expert
