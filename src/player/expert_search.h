// The look-ahead of the expert player on one fully known deal: the legal
// moves, play-outs by a fixed policy, and an exact alpha-beta search of the
// rest of the hand when few tiles are left. Values are the hand's result for
// one side, in the scoring in force.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "model/game_state.h"
#include "player/expert_knowledge.h"

namespace tarvelis::expert {

// A tile laid against an end that shows `Matching`; the lead has Matching -1.
struct SearchMove {
  std::int8_t Tile = 0;
  std::int8_t Matching = -1;
};

struct MoveList {
  std::array<SearchMove, 14> Items{};
  int Count = 0;
};

struct Position {
  PerSeat<TileSet> Hands{};
  int End1 = kNoPip;  // kNoPip on both ends before the lead
  int End2 = kNoPip;
  int ToMove = 1;
  int Step = 1;                // +1 or -1, as DirectionStep
  int Passes = 0;              // passes in a row
  bool SixDoubleLead = false;  // the lead must be the double six
};

// The legal moves of the seat to move; empty means it passes. Moves that
// leave the same ends are listed once.
MoveList LegalMoves(const Position& p);

// How a play-out chooses among the legal moves.
enum class Policy : std::uint8_t {
  kDoublesFirst,  // a double if any, then the heaviest tile
  kGreedy,        // the move that leaves the next opponent least to play
};

// Lays the move; returns the seat that went out, -1 for a blocked chain, or 0
// when the hand goes on.
int Apply(Position& p, const SearchMove& m);
// Passes the turn on.
void Pass(Position& p);

// Scores finished hands for one seat's side. `rules` supplies the house
// rules and the leader (for ties); it must outlive the scorer.
class Scorer {
 public:
  Scorer(const GameState& rules, int seat);
  // The result for the side, times Scale(), with the points as a finer
  // tie-break below it; `ended` as Apply returns it.
  int Value(const Position& p, int ended) const;
  // The scored result in a Value: Scored(v) / Scale() points scored.
  static int Scored(int value) {
    return value >= 0 ? (value + kUnitScale / 2) / kUnitScale
                      : -((-value + kUnitScale / 2) / kUnitScale);
  }
  // Values are whole numbers: individual play scores a win as 3 times the
  // points and another seat's win as minus the points, so Scale() is 3 then.
  int Scale() const { return pairs_ ? 1 : 3; }
  static constexpr int kUnitScale = 1024;
  bool OnSide(int seat) const {
    return pairs_ ? PairOfSeat(seat) == PairOfSeat(seat_) : seat == seat_;
  }

 private:
  const GameState& rules_;
  int seat_;
  bool pairs_;
  bool fine_;
};

// Plays the hand to its end with every seat following `policy`.
int PlayOut(Position p, Policy policy, const Scorer& scorer);

// The exact value of the position for the scorer's side, every seat playing
// its best with all hands known. `nodes` counts positions searched.
int SearchExact(const Position& p, const Scorer& scorer, long& nodes);

inline int TilesLeft(const Position& p) {
  return std::popcount(p.Hands[1] | p.Hands[2] | p.Hands[3] | p.Hands[4]);
}

}  // namespace tarvelis::expert
