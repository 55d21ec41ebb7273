// A rich, self-consistent game state for the storage tests and the benchmark:
// accented names, every setting away from its default, a log of finished hands,
// and a hand in progress reached by real play, so every cross-check of the
// loader (tiles dealt once, played tiles recorded, ends following the record)
// holds until a test breaks one on purpose.
#pragma once

#include <cstdint>
#include <string>

#include "engine/deal.h"
#include "engine/headless_play.h"
#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/game_state.h"

namespace tarvelis::sample {

inline void FillLog(GameState& s, int finishedHands) {
  for (int h = 1; h <= finishedHands; ++h) {
    HandLogEntry& e = s.HandLog[h];
    e.Text = "Mano " + std::to_string(h) + ": ganó Begoña y Íñigo";
    for (int p = 1; p <= 2; ++p) {
      e.PairUnits[p] = static_cast<i16>(h * 7 + p);
      e.PairTens[p] = static_cast<i16>(h + p);
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
      e.SeatUnits[seat] = static_cast<i16>(h * 3 + seat);
      e.SeatTens[seat] = static_cast<i16>(-seat);
    }
  }
}

// The first hand of a match played in reverse order, `moves` moves in and
// waiting for the next (0: dealt and waiting for the lead); the first seed
// whose hand is still going then.
inline GameState HandInProgress(int moves) {
  for (std::uint32_t seed = 1;; ++seed) {
    GameState s;
    ApplyDefaults(s);
    s.RuleDirection = kReverse;
    s.RuleFirstLead = kFirstLeadDraw;
    SyncDirectionStep(s);
    if (moves > 0) {
      PlayHeadlessTo(s, moves, seed);
    } else {
      HeadlessPort port(&s);
      Random rng(seed);
      EngineContext ctx(s, port, rng);
      ctx.SeedFromClock = false;
      s.MatchInProgress = true;
      DealHand(ctx);
      AdvanceTurn(s);
    }
    bool going = s.HandNumber == 1 && s.HandInProgress && s.MoveNumber == moves + 1;
    for (int seat = 1; seat <= kSeats; ++seat) going = going && s.SeatTileCount[seat] > 0;
    if (going) return s;
  }
}

// Every carried field away from its default, names with accents,
// `finishedHands` hands in the log and a hand in progress after `moves` moves.
inline GameState RichState(int moves = 30, int finishedHands = 5) {
  GameState s = HandInProgress(moves);
  s.SeatName = {"", "José", "Begoña", "Íñigo Ñandú", "Raúl  Güemes"};
  s.SeatLevel = {0, 0, 35, 70, 100};
  s.SeatTilesShown = {0, 2, 1, 2, 2};
  s.SeatControl = {0, 1, 1, 2, 2};
  s.RulePauseBetweenMoves = 2;
  s.RulePlayedTilesShown = 2;
  s.RuleSound = 2;
  s.RuleMoveList = 1;
  s.RuleDealing = 2;
  s.RuleFiveDoubles = 2;
  s.RuleNextLead = 4;
  s.RuleScoring = 2;
  s.RuleCountedPips = 2;
  s.RuleScoringPair = 2;
  s.RuleTieWinner = 3;
  s.RuleTieLead = 2;
  s.RuleMode = 1;
  s.MatchTarget = 15;
  s.GameSpeed = 80;
  s.HandNumber = static_cast<i16>(finishedHands + 1);
  s.HandWinner = 2;
  s.NoticeShown = true;
  FillLog(s, finishedHands);
  return s;
}

}  // namespace tarvelis::sample
