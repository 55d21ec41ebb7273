#include "player/evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace tarvelis {

SeatRoles PairRoles(const GameState& s, int seat) {
  SeatRoles r;
  const int partner = s.Partner[seat];
  // The pair plays for whichever member is closer to going out.
  r.Key = s.SeatTileCount[seat] > s.SeatTileCount[partner] ? partner : seat;
  r.Second = r.Key == seat ? partner : seat;
  r.FirstOpponent = NextSeat(seat, s.DirectionStep);
  r.SecondOpponent = s.Partner[r.FirstOpponent];
  // A stronger seat watches the opponent closer to going out rather than the
  // one who merely plays next.
  if (s.SeatLevel[seat] >= 21 &&
      s.SeatTileCount[r.FirstOpponent] > s.SeatTileCount[r.SecondOpponent]) {
    std::swap(r.FirstOpponent, r.SecondOpponent);
  }
  return r;
}

std::array<int, 3> RankOthers(const GameState& s, int seat) {
  // Each seat's key is the text "<tiles held><turn distance><seat>". Every part
  // is one digit, so the keys sort as text exactly as their values as numbers.
  std::array<int, 3> keys{};
  int other = seat;
  for (int distance = 1; distance <= 3; ++distance) {
    other = NextSeat(other, s.DirectionStep);
    keys[distance - 1] = s.SeatTileCount[other] * 100 + distance * 10 + other;
  }
  std::sort(keys.begin(), keys.end());
  return {keys[0] % 10, keys[1] % 10, keys[2] % 10};
}

int BlockMargin(int level) {
  return static_cast<int>(std::lround((100 - level) / 5.0 + 2.0));
}

Position ReadPosition(const GameState& s, int seat) {
  Position p;
  p.State = &s;
  p.Seat = seat;
  p.Level = s.SeatLevel[seat];
  p.Pairs = s.RuleMode == kModePairs;
  if (p.Pairs) {
    p.Roles = PairRoles(s, seat);
    p.MarkSeats = {p.Roles.Key, p.Roles.Second, p.Roles.FirstOpponent, p.Roles.SecondOpponent};
    p.MarkWeights = {6, 2, -2, -1};
  } else {
    p.Roles.Ranked = RankOthers(s, seat);
    p.MarkSeats = {seat, p.Roles.Ranked[0], p.Roles.Ranked[1], p.Roles.Ranked[2]};
    p.MarkWeights = {6, -3, -2, -1};
  }
  p.Suits = AnalizaPalos(s, seat);
  p.Margin = BlockMargin(p.Level);
  p.Next = NextSeat(seat, s.DirectionStep);
  if (s.MoveRecord.size() > 1) {
    p.LeadA = s.MoveRecord[1][kFPipA];
    p.LeadB = s.MoveRecord[1][kFPipB];
  }
  p.SixDoubleOpening = s.HandNumber == 1 && s.RuleFirstLead == kFirstLeadSixDouble;
  return p;
}

namespace {

// One candidate as the rules see it.
struct Move {
  const Position& P;
  int m;  // pips the move covers
  int o;  // pips the move opens
  bool Double;
  int OpenEnd;  // pips of the end the move leaves alone
  bool EndsDiffer;

  const GameState& S() const { return *P.State; }
  const SuitAnalysis& Suit(int x) const { return P.Suits[x]; }
  int Played(int x) const { return P.Suits[x].Played; }
  int Own(int x) const { return P.Suits[x].Held[P.Seat]; }  // the candidate included
  bool DoubleDown(int x) const { return P.Suits[x].DoublePlayed; }
};

// The move leaves suit x with no tile to come but, at most, its double: the
// hand is about to block on x.
bool IsClosingOf(const Move& c, int x) {
  return (!c.DoubleDown(x) && c.Played(x) == 5 && !c.Double) ||
         (c.DoubleDown(x) && c.Played(x) == 6);
}

// Suit x has one tile left to come besides its double.
bool SuitNearlyOut(const Move& c, int x) {
  return (c.DoubleDown(x) && c.Played(x) == 6) || (!c.DoubleDown(x) && c.Played(x) == 5);
}

// The last tile a seat holds; null when it holds none.
const HandSlot* LastTile(const GameState& s, int seat) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (s.Hand[seat][slot].State == 0) return &s.Hand[seat][slot];
  }
  return nullptr;
}

// Pips every seat and side would be caught with when the hand blocks.
struct PipLedger {
  PerSeat<int> Seat{};
  std::array<int, 3> Side{};
};

void TakeOff(PipLedger& l, const Position& p, int seat, int pips) {
  if (seat < 1 || seat > kSeats) return;
  l.Seat[seat] -= pips;
  l.Side[SideOf(*p.State, p.Seat, seat)] -= pips;
}

PipLedger LedgerAfterMove(const Move& c, const SuitAnalysis& a) {
  PipLedger l{a.SeatPips, a.SidePips};
  TakeOff(l, c.P, c.P.Seat, c.m + c.o);
  return l;
}

// A block favours the deciding seat when even with the margin granted, every
// other seat (or the other side) is left with more pips.
bool BlockFavours(const Position& p, const PipLedger& l) {
  if (p.Pairs) return p.Margin + l.Side[kOtherSide] > l.Side[kOwnSide];
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seat != p.Seat && !(p.Margin + l.Seat[seat] > l.Seat[p.Seat])) return false;
  }
  return true;
}

// Rule 16: the move closes the suit it opens.
int ClosingOfOpenedSuit(const Move& c) {
  if (!IsClosingOf(c, c.o)) return 0;
  const SuitAnalysis& a = c.Suit(c.o);
  PipLedger l = LedgerAfterMove(c, a);
  // The double still out will be laid by its holder before the block.
  if (!a.DoublePlayed) TakeOff(l, c.P, c.S().DoubleHolder[c.o], 2 * c.o);
  return BlockFavours(c.P, l) ? 600 : -600;
}

// Rule 17: the move closes the suit it covers, stranding its double if it is out.
int ClosingOfCoveredSuit(const Move& c) {
  if (!IsClosingOf(c, c.m)) return 0;
  if (c.Played(c.m) == 6) return -400;
  const int holder = c.S().DoubleHolder[c.m];
  const bool ours = c.P.Pairs ? c.Suit(c.m).DoubleSide == kOwnSide : holder == c.P.Seat;
  if (ours) return -400;
  // An opponent left with that double alone can no longer go out.
  const bool stranded = holder >= 1 && holder <= kSeats && c.S().SeatTileCount[holder] == 1;
  return 90 + (stranded && c.P.Level > 90 ? 500 : 0);
}

// Rules 20 and 21: after this move the tile {o, p} would join the two ends and
// close suit x. Who would be caught with more pips then?
bool LookAheadFavours(const Move& c, int x) {
  const int p = c.OpenEnd;
  const SuitAnalysis& a = c.Suit(x);
  PipLedger l = LedgerAfterMove(c, a);
  TakeOff(l, c.P, DuenoFicha(c.S(), c.o, p).Seat, c.o + p);
  // A tile leaves a hand once: the double of x may be the candidate itself or
  // the joining tile, and then it has been taken off already.
  const bool doubleCounted = (c.m == x && c.o == x) || (c.o == x && p == x);
  if (!a.DoublePlayed && !doubleCounted) TakeOff(l, c.P, c.S().DoubleHolder[x], 2 * x);
  return BlockFavours(c.P, l);
}

int LookAheadOnOpenEnd(const Move& c) {
  const int p = c.OpenEnd;
  if (!c.EndsDiffer || c.Suit(p).Seen[c.o] || !SuitNearlyOut(c, p)) return 0;
  return LookAheadFavours(c, p) ? 50 : -50;
}

int LookAheadOnOpenedSuit(const Move& c) {
  const int p = c.OpenEnd;
  if (!c.EndsDiffer || c.Suit(c.o).Seen[p] || !SuitNearlyOut(c, c.o)) return 0;
  return LookAheadFavours(c, c.o) ? 50 : -50;
}

// Rule 8: the leader's partner, third to move, should not open a suit it holds
// together with a lead pip while keeping that lead pip covered.
int LeadPipsKeptBack(const Move& c) {
  if (!c.P.Pairs || c.S().MoveNumber != 3 || c.Double) return 0;
  const bool leadDouble = c.P.LeadA == c.P.LeadB;
  int amount = 0;
  for (int lead : {c.P.LeadA, c.P.LeadB}) {
    if (DuenoFicha(c.S(), c.o, lead).Seat == c.P.Seat && c.m != lead) amount -= 15;
    if (leadDouble) break;
  }
  return amount;
}

// Rule 15: the next seat is down to one tile; never open one of its pips.
int FeedsNextSeat(const Move& c) {
  if (c.S().SeatTileCount[c.P.Next] != 1) return 0;
  const HandSlot* t = LastTile(c.S(), c.P.Next);
  if (t == nullptr) return 0;
  return -160 * ((t->PipA == c.o) + (t->PipB == c.o));
}

// Rule 19: the partner is down to one tile {p, q}; open its pips.
int FeedsPartner(const Move& c) {
  const int partner = c.S().Partner[c.P.Seat];
  if (!c.P.Pairs || c.S().SeatTileCount[partner] != 1) return 0;
  const HandSlot* t = LastTile(c.S(), partner);
  if (t == nullptr) return 0;
  const int p = t->PipA, q = t->PipB;
  int amount = 0;
  for (int pip : {p, q}) {
    if (c.o == pip) {
      amount += 40;
      if (p != q && c.Played(pip) >= 4) amount += 160;
    }
    // The next seat may well answer with {o, pip} and open the partner's pips.
    const TileOwner bridge = DuenoFicha(c.S(), c.o, pip);
    if (bridge.Seat == c.P.Next && !bridge.Played) amount += 20;
  }
  return amount;
}

// A level gate: a rule counts only for seats strong enough to know it.
struct LevelGate {
  enum Kind : std::uint8_t { kNone, kAtLeast, kAbove } kind = kNone;
  int level = 0;
  constexpr bool Open(int l) const {
    return kind == kNone || (kind == kAtLeast ? l >= level : l > level);
  }
};
constexpr LevelGate Always() {
  return {LevelGate::kNone, 0};
}
constexpr LevelGate AtLeast(int level) {
  return {LevelGate::kAtLeast, level};
}
constexpr LevelGate Above(int level) {
  return {LevelGate::kAbove, level};
}

struct Rule {
  int Number;
  const char* Name;
  LevelGate Gate;
  bool SkippedInSixDoubleOpening;  // meaningless when the lead was forced
  int (*Amount)(const Move&);
};

// The rule block, in the order it is applied. Each entry: number, what it
// looks for, its level gate, and the amount it adds.
constexpr std::array<Rule, kRuleCount> kRuleBlock{{
    {1, "a double", Always(), false, [](const Move& c) { return c.Double ? 15 : 0; }},
    {2, "a double, 3 of its suit down", AtLeast(41), false,
     [](const Move& c) { return c.Double && c.Played(c.m) == 3 ? 20 : 0; }},
    {3, "a double, last of its suit held, 5 down", Above(40), false,
     [](const Move& c) { return c.Double && c.Own(c.m) == 1 && c.Played(c.m) == 5 ? 90 : 0; }},
    {4, "no tile of the opened suit kept", Always(), false,
     [](const Move& c) { return c.Own(c.o) == 1 ? -10 : 0; }},
    {5, "no tile of the covered suit kept", Always(), false,
     [](const Move& c) { return c.Own(c.m) == 1 ? -5 : 0; }},
    {6, "second move, no tile of the covered suit kept", Always(), false,
     [](const Move& c) { return c.S().MoveNumber == 2 && c.Own(c.m) == 1 ? -15 : 0; }},
    {7, "third move, double on a double lead", AtLeast(61), true,
     [](const Move& c) {
       return c.P.Pairs && c.S().MoveNumber == 3 && c.P.LeadA == c.P.LeadB && c.Double ? -35 : 0;
     }},
    {8, "third move, opens beside a lead pip still covered", AtLeast(81), true, LeadPipsKeptBack},
    {9, "leader's second tile, back to its lead pip", AtLeast(61), true,
     [](const Move& c) {
       const Position& p = c.P;
       const bool leadPip = c.OpenEnd == p.LeadA || c.OpenEnd == p.LeadB;
       return c.S().LeadSeat == p.Seat && c.S().SeatTileCount[p.Seat] == 6 && p.LeadA != p.LeadB &&
                      !c.Double && leadPip && c.o == c.OpenEnd
                  ? 20
                  : 0;
     }},
    {10, "both ends to a strong suit of ours", Always(), false,
     [](const Move& c) {
       return c.EndsDiffer && c.Own(c.o) >= 2 && c.Played(c.o) >= 3 && c.o == c.OpenEnd ? 40 : 0;
     }},
    {11, "a double, last of its suit held, 5 down", Above(60), false,
     [](const Move& c) { return c.Double && c.Played(c.m) == 5 && c.Own(c.m) == 1 ? 90 : 0; }},
    {12, "a double, 4 down, 2 held", Above(80), false,
     [](const Move& c) { return c.Double && c.Played(c.m) == 4 && c.Own(c.m) == 2 ? 600 : 0; }},
    {13, "a double, 4 down, 3 held", Above(70), false,
     [](const Move& c) { return c.Double && c.Played(c.m) == 4 && c.Own(c.m) == 3 ? 600 : 0; }},
    {14, "covers a suit of which we hold the last 2", AtLeast(41), false,
     [](const Move& c) {
       return c.Own(c.m) == 2 && c.Played(c.m) == 5 ? (c.Double ? -200 : -700) : 0;
     }},
    {15, "opens the next seat's last tile", Above(95), false, FeedsNextSeat},
    {16, "closes the opened suit", Always(), false, ClosingOfOpenedSuit},
    {17, "closes the covered suit", AtLeast(51), false, ClosingOfCoveredSuit},
    {18, "two tiles left, sets up our own double", Always(), false,
     [](const Move& c) {
       return c.S().SeatTileCount[c.P.Seat] == 2 && c.Own(c.o) == 2 && c.Played(c.o) == 5 &&
                      !c.DoubleDown(c.o)
                  ? (c.Double ? -500 : 2000)
                  : 0;
     }},
    {19, "opens the partner's last tile", Above(95), false, FeedsPartner},
    {20, "look-ahead: block on the other end", AtLeast(81), false, LookAheadOnOpenEnd},
    {21, "look-ahead: block on the opened suit", AtLeast(81), false, LookAheadOnOpenedSuit},
}};

int BaseScore(const GameState& s, int seat, int o) {
  int rank = kSlots;
  for (int k = 1; k <= kSlots; ++k) {
    if (s.SeatPipRank[seat][k] == o) {
      rank = k;
      break;
    }
  }
  return 12 - rank;
}

int MarksOn(const Position& p, int pips) {
  int sum = 0;
  for (int i = 0; i < 4; ++i) sum += p.MarkWeights[i] * p.State->SeatPipMark[p.MarkSeats[i]][pips];
  return sum;
}

}  // namespace

const char* ColumnName(int column) {
  static const char* const kNames[kColumnsUsed] = {
      "base", "marks-", "marks+", "r1",  "r2",  "r3",  "r4",  "r5",  "r6",  "r7",  "r8",  "r9",
      "r10",  "r11",    "r12",    "r13", "r14", "r15", "r16", "r17", "r18", "r19", "r20", "r21"};
  return column >= 0 && column < kColumnsUsed ? kNames[column] : "";
}

const char* RuleName(int rule) {
  return rule >= 1 && rule <= kRuleCount ? kRuleBlock[rule - 1].Name : "";
}

Breakdown EvaluateCandidate(const Position& p, const Candidate& candidate) {
  const GameState& s = *p.State;
  const int covered = EndForCandidate(s, candidate);
  const Move c{p,
               candidate.Matching,
               candidate.Other,
               candidate.Matching == candidate.Other,
               s.EndPips[3 - covered],
               s.EndPips[1] != s.EndPips[2]};
  Breakdown b;
  b.Move = candidate;
  b.End = covered;
  b.Columns[kColBase] = BaseScore(s, p.Seat, c.o);
  if (!c.Double) b.Columns[kColMarksCovered] = -MarksOn(p, c.m);
  b.Columns[kColMarksOpened] = MarksOn(p, c.o);
  for (const Rule& rule : kRuleBlock) {
    if (!rule.Gate.Open(p.Level)) continue;
    if (rule.SkippedInSixDoubleOpening && p.SixDoubleOpening) continue;
    b.Columns[kColFirstRule + rule.Number - 1] = rule.Amount(c);
  }
  b.Score = 0;
  for (int v : b.Columns) b.Score += v;
  return b;
}

}  // namespace tarvelis
