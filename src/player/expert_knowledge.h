// What one seat knows of a hand in play, and deals of the tiles it cannot see
// drawn uniformly among those that agree with what it knows. The expert
// player reasons only from this: its own tiles, the tiles on the table and
// who laid them, the ends each seat passed on, and how many tiles each holds.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"

namespace tarvelis::expert {

// Tiles are numbered 0..27, tile {a, b} with a >= b at a * (a + 1) / 2 + b;
// a set of tiles is a bit mask.
using TileSet = std::uint32_t;
inline constexpr TileSet kAllTiles = (1u << kTiles) - 1;

int TileIndex(int a, int b);
int TileHigh(int tile);
int TileLow(int tile);
inline int TilePips(int tile) {
  return TileHigh(tile) + TileLow(tile);
}
inline bool TileIsDouble(int tile) {
  return TileHigh(tile) == TileLow(tile);
}
// The tiles that show pip p.
TileSet SuitTiles(int p);
// The tiles that show any pip of the bit set `pips` (bit p for pip p).
TileSet TilesWithPips(unsigned pips);
int PipSum(TileSet tiles);

// A small, fast generator for the look-ahead; the same seed gives the same
// numbers on every machine.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1.
  int Below(int n) {
    return static_cast<int>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
  }
  // [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

 private:
  std::uint64_t state_;
};

struct Knowledge {
  int Seat = 0;  // the seat that knows, 1..4
  int ToMove = 0;
  int MoveNumber = 0;  // the move about to be made; 1 is the lead
  PerEnd<int> Ends{0, kNoPip, kNoPip};
  TileSet Own = 0;            // the tiles the seat holds
  TileSet Unseen = 0;         // held by the other seats
  PerSeat<int> Count{};       // tiles each seat holds
  PerSeat<unsigned> Void{};   // bit p: the seat passed with p at an end
  PerSeat<TileSet> Played{};  // tiles each seat has laid
  // No seat that would give back five doubles kept them (see the deal).
  PerSeat<bool> FiveDoublesReturned{};
};

// What `seat` knows just before move `move` of the hand in `state`: its own
// dealt tiles and the records of moves 1 .. move-1. Only the seat's own slots
// and the move record are read, never another seat's held tiles.
Knowledge KnowledgeAt(const GameState& state, int seat, int move);

// Draws the unseen tiles into the other hands. Every deal that gives each
// seat its count of tiles and no seat a tile of a suit it passed on is drawn
// with the same probability.
class DealSampler {
 public:
  explicit DealSampler(const Knowledge& knowledge);

  // The number of such deals (before the five-doubles condition); 0 when the
  // knowledge contradicts itself.
  double DealCount() const { return ways_[0][need_[0]][need_[1]]; }

  // Fills hands[1..4] (the knowing seat gets its own tiles).
  void Draw(Rng& rng, PerSeat<TileSet>& hands) const;

 private:
  bool Acceptable(const PerSeat<TileSet>& hands) const;

  static constexpr int kClasses = 8;  // which of the three other seats may hold a tile
  Knowledge k_;
  std::array<int, 3> others_{};  // the other seats in table order
  std::array<int, 3> need_{};    // tiles each other seat holds
  std::array<std::array<int, kTiles>, kClasses> classTiles_{};
  std::array<int, kClasses> classSize_{};
  std::array<int, kClasses + 1> restAfter_{};  // tiles in classes k.. to the end
  // ways_[k][a][b]: ways to hand out classes k.. when the first other seat
  // still takes a tiles and the second b (the third takes the rest).
  std::array<std::array<std::array<double, 8>, 8>, kClasses + 1> ways_{};
  bool relaxed_ = false;  // the passes contradicted the counts and were set aside
};

}  // namespace tarvelis::expert
