// The computer player's scoring of one candidate move: a base from the seat's
// own suits, the knowledge marks of every seat, then a block of rules, each a
// fixed amount behind a level gate. Every amount lands in a breakdown column so
// a choice can be explained after the fact.
#pragma once

#include <array>

#include "model/game_state.h"
#include "model/move_rules.h"
#include "player/suit_analysis.h"

namespace tarvelis {

// Who is who for the seat that decides.
struct SeatRoles {
  // Pairs mode.
  int Key = 0;             // the member of the pair whose suits lead the way
  int Second = 0;          // the other member
  int FirstOpponent = 0;   // the opponent who plays next (see PairRoles for the swap)
  int SecondOpponent = 0;  // its partner
  // Individual mode: the three other seats, fewest tiles first.
  std::array<int, 3> Ranked{};
};

SeatRoles PairRoles(const GameState& state, int seat);
std::array<int, 3> RankOthers(const GameState& state, int seat);

// The slack of the blocked-hand tests: a block is judged to favour the seat
// while it holds fewer than this many pips more than the others. 22 at level
// 0, 12 at 50, 2 at 100: a weak seat closes hands it is bound to lose.
int BlockMargin(int level);

// Breakdown columns: base, the two halves of the marks, then rules 1..21.
enum BreakdownColumn : int {
  kColBase = 0,
  kColMarksCovered = 1,  // marks on the pips the move covers
  kColMarksOpened = 2,   // marks on the pips the move opens
  kColFirstRule = 3,     // rule n sits in column kColFirstRule + n - 1
};
inline constexpr int kRuleCount = 21;
inline constexpr int kColumnsUsed = kColFirstRule + kRuleCount;
inline constexpr int kBreakdownColumns = 26;
static_assert(kColumnsUsed <= kBreakdownColumns);

inline constexpr int kStartScore = -9999;

struct Breakdown {
  Candidate Move{};
  int End = 0;  // the end the move goes to, by EndForCandidate
  std::array<int, kBreakdownColumns> Columns{};
  int Score = kStartScore;
};

// A short name of a breakdown column ("base", "marks-", "marks+", "r1".."r21").
const char* ColumnName(int column);
// What a rule of the block looks for, in a few words.
const char* RuleName(int rule);

// Everything the rules read that is the same for every candidate of one
// decision, gathered once.
struct Position {
  const GameState* State = nullptr;
  int Seat = 0;
  int Level = 0;
  bool Pairs = true;
  SeatRoles Roles{};
  std::array<int, 4> MarkSeats{};    // whose marks count, and
  std::array<int, 4> MarkWeights{};  // how much, for the pips a move opens
  std::array<SuitAnalysis, kPips> Suits{};
  int Margin = 0;      // BlockMargin(Level)
  int Next = 0;        // the seat that plays after this one
  int LeadA = kNoPip;  // the lead tile of the hand, as laid
  int LeadB = kNoPip;
  bool SixDoubleOpening = false;  // first hand led by the forced double six
};

Position ReadPosition(const GameState& state, int seat);

// Scores one candidate of the position's seat.
Breakdown EvaluateCandidate(const Position& position, const Candidate& candidate);

// The same for a single candidate of `seat` in `state`.
inline Breakdown EvaluateCandidate(const GameState& state, int seat, const Candidate& candidate) {
  return EvaluateCandidate(ReadPosition(state, seat), candidate);
}

}  // namespace tarvelis
