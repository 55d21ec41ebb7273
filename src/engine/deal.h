// The start of a hand: shuffle and deal (or let the user deal), the
// five-doubles rule, what the deal tells the computer player, the leading seat
// and the empty chain.
#pragma once

#include "engine/turn_loop.h"
#include "model/deal_statistics.h"
#include "model/game_state.h"
#include "model/random.h"

namespace tarvelis {

// Prepares the next hand for its first move: on return HandInProgress is
// true, MoveNumber is 0 and CurrentSeat is one step before LeadSeat. False
// when the loop must stop while the deal waited; the state is then only
// partly dealt and is not to be played.
bool DealHand(EngineContext& ctx);

// The steps of DealHand, each on its own for the tests.

// Empties the hands and forgets what the last deal told.
void ClearHands(GameState& state);

// Shuffles the 28 tiles into 28 slots and deals them one at a time to random
// seats, seven each, drawing from `rng` exactly as the game always has.
void ShuffleAndDeal(GameState& state, Random& rng);

// The first seat 1..4 dealt five doubles or more; 0 when none.
int FirstSeatWithFiveDoubles(const GameState& state);

// Which of the two seats of `pair` leads: the longer top suit, then fewer
// doubles for the lower seat, otherwise the higher seat.
int PairLeader(const GameState& state, int pair);

// The leader of a hand after the first when no one is asked: the rotation,
// the winner, or the loser as the rules say. After a replayed tie there is no
// winner, so the rotation decides, which is what the tie's message announced
// ("sale el mismo jugador" or "se corre el turno de salida").
int LeaderByRule(const GameState& state);

// The chain, the cursors, the record and the turn, ready for the lead.
void ResetForPlay(GameState& state);

// Which of the leader's two longest suits it treats as its first.
void PrepareLead(GameState& state, Random& rng);

// Wraps any seat number into 1..4.
int WrapSeat(int seat);

}  // namespace tarvelis
