// Builds a hand in play from a few lines: who holds which tiles, which are
// down, the ends, the marks and the levels. Tiles are written "a-b".
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/deal.h"
#include "model/game_state.h"
#include "model/move_rules.h"

namespace tarvelis::test {

inline std::vector<std::pair<int, int>> ParseTiles(std::string_view text) {
  std::vector<std::pair<int, int>> tiles;
  std::istringstream in{std::string(text)};
  std::string word;
  while (in >> word) tiles.emplace_back(word[0] - '0', word[2] - '0');
  return tiles;
}

class TableBuilder {
 public:
  // Pairs mode, direct play, seat 1 to move in the middle of the second hand of
  // the match, every level 50, every seat automatic, no marks.
  TableBuilder() {
    ApplyDefaults(s);
    for (int seat = 1; seat <= kSeats; ++seat) {
      s.SeatLevel[seat] = 50;
      s.SeatControl[seat] = kAutomatic;
    }
    s.MatchInProgress = s.HandInProgress = true;
    s.HandNumber = 2;
    s.MoveNumber = 9;
    s.CurrentSeat = 1;
    s.LeadSeat = 2;
  }

  // Puts the tiles into the seat's next free slots, in the order given.
  TableBuilder& Give(int seat, std::string_view tiles) {
    for (auto [a, b] : ParseTiles(tiles)) Put(seat, a, b);
    return *this;
  }

  // Deals every tile nobody was given, in set order, to seats 1..4 in turn
  // of their free slots, and derives what the deal derives.
  TableBuilder& Deal() {
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= i; ++j) {
        if (given_[i][j]) continue;
        for (int seat = 1; seat <= kSeats; ++seat) {
          if (filled_[seat] < kSlots) {
            Put(seat, i, j);
            break;
          }
        }
      }
    }
    ComputeDealStatistics(s);
    ComputeRanks(s);
    return *this;
  }

  // Marks the tiles played, wherever they are.
  TableBuilder& Played(std::string_view tiles) {
    for (auto [a, b] : ParseTiles(tiles)) {
      const TileOwner owner = DuenoFicha(s, a, b);
      if (owner.Seat == 0 || owner.Played) {
        ADD_FAILURE() << a << "-" << b << " is not held";
        continue;
      }
      s.Hand[owner.Seat][BuscaHueco(s, a, b, owner.Seat)].State = 1;
      --s.SeatTileCount[owner.Seat];
    }
    return *this;
  }

  TableBuilder& Ends(int e1, int e2) {
    s.EndPips[1] = static_cast<i16>(e1);
    s.EndPips[2] = static_cast<i16>(e2);
    return *this;
  }
  TableBuilder& Move(int n) {
    s.MoveNumber = static_cast<i16>(n);
    return *this;
  }
  TableBuilder& Level(int seat, int level) {
    s.SeatLevel[seat] = static_cast<i16>(level);
    return *this;
  }
  TableBuilder& Mark(int seat, int pip, int value) {
    s.SeatPipMark[seat][pip] = static_cast<i16>(value);
    return *this;
  }
  // The hand was led by `seat` with {a, b} laid as move 1.
  TableBuilder& Lead(int seat, int a, int b) {
    s.LeadSeat = static_cast<i16>(seat);
    s.MoveRecord[1][kFSeat] = static_cast<i16>(seat);
    s.MoveRecord[1][kFPipA] = static_cast<i16>(a);
    s.MoveRecord[1][kFPipB] = static_cast<i16>(b);
    s.MoveRecord[1][kFEnd] = 1;
    return *this;
  }

  GameState s;

 private:
  void Put(int seat, int a, int b) {
    given_[a][b] = given_[b][a] = true;
    HandSlot& t = s.Hand[seat][++filled_[seat]];
    t = HandSlot{static_cast<i16>(a), static_cast<i16>(b), 0};
    ++s.SeatTileCount[seat];
  }

  PerSeat<int> filled_{};
  bool given_[kPips][kPips] = {};
};

}  // namespace tarvelis::test
