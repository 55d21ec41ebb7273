// A rich, self-consistent game state for the storage tests and the benchmark:
// accented names, a log of finished hands, and a hand in progress whose move
// record was produced by actually playing the tiles, so every cross-check of
// the loader (tiles dealt once, played tiles recorded, ends following the
// record) holds until a test breaks one on purpose.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/game_state.h"

namespace tarvelis::sample {

// A small fixed generator: the deal must not depend on the library's shuffle.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : x_(seed * 2654435761u + 1) {}
  int Below(int n) {
    x_ = x_ * 1664525u + 1013904223u;
    return static_cast<int>((x_ >> 8) % static_cast<std::uint32_t>(n));
  }

 private:
  std::uint32_t x_;
};

inline void Deal(GameState& s, std::uint32_t seed) {
  std::array<HandSlot, kTiles> deck{};
  int n = 0;
  for (int i = 0; i < kPips; ++i) {
    for (int j = 0; j <= i; ++j) deck[n++] = HandSlot{static_cast<i16>(i), static_cast<i16>(j), 0};
  }
  Lcg rng(seed);
  for (int i = kTiles - 1; i > 0; --i) std::swap(deck[i], deck[rng.Below(i + 1)]);
  s.SeatPipCount = {};
  s.SeatDoubles = {};
  s.DoubleHolder = {};
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int k = 1; k <= kSlots; ++k) {
      const HandSlot t = deck[(seat - 1) * kSlots + k - 1];
      s.Hand[seat][k] = t;
      ++s.SeatPipCount[seat][t.PipA];
      if (t.PipA == t.PipB) {
        ++s.SeatDoubles[seat];
        s.DoubleHolder[t.PipA] = static_cast<i16>(seat);
      } else {
        ++s.SeatPipCount[seat][t.PipB];
      }
    }
    s.SeatTileCount[seat] = kSlots;
    int rank = 1;
    for (int count = 7; count >= 0; --count) {
      for (int pip = 6; pip >= 0; --pip) {
        if (s.SeatPipCount[seat][pip] == count) s.SeatPipRank[seat][rank++] = static_cast<i16>(pip);
      }
    }
    for (int pip = 0; pip < kPips; ++pip) s.SeatPipMark[seat][pip] = static_cast<i16>(seat - pip);
  }
  s.EndPips = {0, kNoPip, kNoPip};
  s.EndCount = {};
  s.EndHeading = {0, kHeadRight, kHeadLeft};
  s.EndCol = {0, 400, 403};
  s.EndRow = {0, 261, 261};
  s.MoveRecord.assign(41, MoveEntry{});
  s.MoveNumber = 1;
  s.HandInProgress = true;
}

// The first held tile of the seat that meets an end, end 1 tried first.
inline bool FindPlay(const GameState& s, int seat, int& slot, int& end) {
  for (slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State != 0) continue;
    for (end = 1; end <= 2; ++end) {
      if (t.PipA == s.EndPips[end] || t.PipB == s.EndPips[end]) return true;
    }
  }
  return false;
}

// Plays the move of CurrentSeat the way the engine records it, then passes the
// turn on. False when the move ended the hand.
inline bool PlayOneMove(GameState& s) {
  const int seat = s.CurrentSeat;
  const int n = s.MoveNumber;
  if (n + 1 >= static_cast<int>(s.MoveRecord.size())) s.MoveRecord.resize(n + 41);
  MoveEntry& m = s.MoveRecord[n];
  m = MoveEntry{};
  m[kFSeat] = static_cast<i16>(seat);
  int slot = 1;
  int end = 1;
  bool tile = true;
  if (n == 1) {
    s.EndPips[2] = s.Hand[seat][1].PipA;  // the lead's pip A shows at end 2 at once
  } else {
    tile = FindPlay(s, seat, slot, end);
  }
  m[kFEnd1PipsBefore] = s.EndPips[1];
  m[kFEnd2PipsBefore] = s.EndPips[2];
  if (!tile) {
    m[kFPipA] = m[kFPipB] = kNoPip;
    m[kFEnd] = kPassEnd;
  } else {
    HandSlot& t = s.Hand[seat][slot];
    const bool turned = n > 1 && t.PipA != s.EndPips[end];
    const i16 a = turned ? t.PipB : t.PipA;
    const i16 b = turned ? t.PipA : t.PipB;
    m[kFPipA] = a;
    m[kFPipB] = b;
    m[kFEnd] = static_cast<i16>(end);
    m[kFEvaluated] = static_cast<i16>(n % 3 == 0);
    for (int f = kFTileLeft; f <= kFPipOrientation; ++f) m[f] = static_cast<i16>(n * 17 + f);
    m[kFIsDouble] = static_cast<i16>(a == b);
    m[kFCrosswise] = static_cast<i16>(a == b && n % 2 == 0);
    m[kFColBefore] = s.EndCol[end];
    m[kFRowBefore] = s.EndRow[end];
    m[kFHeadingBefore] = s.EndHeading[end];
    t.State = 1;
    --s.SeatTileCount[seat];
    ++s.EndCount[end];
    s.EndPips[end] = b;
    s.EndCol[end] = static_cast<i16>(s.EndCol[end] + (end == 1 ? 36 : -36));
    s.EndRow[end] = static_cast<i16>(s.EndRow[end] - n);
    if (s.EndCount[end] % 5 == 0) s.EndHeading[end] = static_cast<i16>(s.EndHeading[end] % 4 + 1);
    m[kFColAfter] = s.EndCol[end];
    m[kFRowAfter] = s.EndRow[end];
    m[kFHeadingAfter] = s.EndHeading[end];
    s.SeatPipMark[seat][b] = static_cast<i16>(s.SeatPipMark[seat][b] + 2);
    if (s.SeatTileCount[seat] == 0) return false;
  }
  s.CurrentSeat = static_cast<i16>(NextSeat(seat, s.DirectionStep));
  ++s.MoveNumber;
  return true;
}

// Deals and plays `moves` moves of a hand that is still going afterwards.
inline void PlayHandInProgress(GameState& s, int moves) {
  for (std::uint32_t seed = 1;; ++seed) {
    Deal(s, seed);
    s.LeadSeat = s.CurrentSeat = 2;
    bool going = true;
    for (int i = 0; i < moves && going; ++i) going = PlayOneMove(s);
    if (going) return;
  }
}

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

// Every carried field away from its default, names with accents, five
// finished hands and a hand in progress after `moves` moves.
inline GameState RichState(int moves = 30, int finishedHands = 5) {
  GameState s;
  ApplyDefaults(s);
  s.SeatName = {"", "José", "Begoña", "Íñigo Ñandú", "Raúl  Güemes"};
  s.SeatLevel = {0, 0, 35, 70, 100};
  s.SeatTilesShown = {0, 2, 1, 2, 2};
  s.SeatControl = {0, 1, 1, 2, 2};
  s.RulePauseBetweenMoves = 2;
  s.RulePlayedTilesShown = 2;
  s.RuleDirection = 2;
  s.RuleSound = 2;
  s.RuleMoveList = 1;
  s.RuleDealing = 2;
  s.RuleFiveDoubles = 2;
  s.RuleFirstLead = 2;
  s.RuleNextLead = 4;
  s.RuleScoring = 2;
  s.RuleCountedPips = 2;
  s.RuleScoringPair = 2;
  s.RuleTieWinner = 3;
  s.RuleTieLead = 2;
  s.RuleMode = 1;
  s.MatchTarget = 15;
  s.GameSpeed = 80;
  SyncDirectionStep(s);
  s.MatchInProgress = true;
  s.HandNumber = static_cast<i16>(finishedHands + 1);
  s.HandWinner = 2;
  s.NoticeShown = true;
  FillLog(s, finishedHands);
  PlayHandInProgress(s, moves);
  return s;
}

}  // namespace tarvelis::sample
