// The end of a hand: who won it, the points, the messages, the log and the
// totals, and then the next hand or the end of the match.
#pragma once

#include "engine/turn_loop.h"
#include "model/game_state.h"
#include "model/hand_score.h"
#include "model/match_result.h"

namespace tarvelis {

enum class HandEndOutcome : std::uint8_t {
  kReopened,  // the user stepped back from a message: the hand goes on
  kNextHand,  // scored (or to be replayed); the next hand is to be dealt
  kMatchOver,
  kStop,  // the loop must stop
};

// Closes the hand that the last move (by CurrentSeat, at MoveNumber) ended.
HandEndOutcome EndHand(EngineContext& ctx);

// Section by section, for the tests.

// SeatPipsLeft: the pips each seat still holds.
void RecomputePipsLeft(GameState& state);

// SeatPipsLeft of `seat` as the whole number it always is.
int PipsLeft(const GameState& state, int seat);

// PairTotal and SeatTotal from the hand log, each capped at 999.
void RecomputeTotals(GameState& state);

// Some pair (pairs mode) or seat (individual mode) has reached MatchTarget.
bool MatchReached(const GameState& state);

// The match has ended: the result is told, the history offered, and the
// table goes back to its idle state.
void EndMatch(EngineContext& ctx);

// The last move is taken back and its seat is to move again.
void ReopenHand(EngineContext& ctx);

// Makes hand `hand` fit the 500 records of the hand log: while it would not,
// the two oldest hands are merged into one record, which leaves every total as
// it was, and HandNumber moves down with the records.
void MakeRoomInHandLog(GameState& state, int hand);

}  // namespace tarvelis
