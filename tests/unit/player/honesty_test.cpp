// A seat that reads only what the table shows it cannot tell two deals apart
// that agree with everything it has seen. These tests put real positions
// beside such twins, the other seats' held tiles dealt again so that counts,
// passes and every computer seat's past moves still fit, and ask the expert
// the same question along each way the game asks it: a seat set to the expert
// at the table (its seed included), the tutor over a person's seat, and the
// review of a hand. Everything it computes must come out the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/deal_statistics.h"
#include "model/move_rules.h"
#include "player/computer_player.h"
#include "player/expert.h"
#include "player/expert_inference.h"
#include "support/held_tiles.h"

namespace tarvelis::expert {
namespace {

// Who sits where in one table of the collection.
struct Table {
  i16 Mode;
  i16 Direction;
  PerSeat<SeatPlay> Plays;
  PerSeat<i16> Levels;
};

// Pairs and individual, both directions, persons and experts at every kind of
// seat, partners of each other or not.
const Table kTables[] = {
    {kModePairs,
     kDirect,
     {SeatPlay::kRules, SeatPlay::kPerson, SeatPlay::kExpert, SeatPlay::kRules, SeatPlay::kExpert},
     {0, 100, 100, 50, 100}},
    {kModePairs,
     kReverse,
     {SeatPlay::kRules, SeatPlay::kExpert, SeatPlay::kRules, SeatPlay::kPerson, SeatPlay::kRules},
     {0, 100, 0, 100, 100}},
    {kModeIndividual,
     kDirect,
     {SeatPlay::kRules, SeatPlay::kRules, SeatPlay::kExpert, SeatPlay::kPerson, SeatPlay::kExpert},
     {0, 50, 100, 100, 100}},
    {kModeIndividual,
     kReverse,
     {SeatPlay::kRules, SeatPlay::kPerson, SeatPlay::kRules, SeatPlay::kExpert, SeatPlay::kRules},
     {0, 100, 100, 100, 0}},
};

// Decisions of real play, leads included, each a copy of the state before a
// choice of two or more moves; and states just after such a move early in a
// hand, for the review. The expert seats play as the computer player here:
// what they chose does not matter, only that the table says they are experts.
class Collector : public EngineHooks {
 public:
  Collector(std::size_t leads, std::size_t moves, std::size_t reviewed)
      : leads_(leads), moves_(moves), reviewed_(reviewed) {}

  bool ChooseMove(GameState& s, TablePort*) override {
    const int seat = s.CurrentSeat;
    const bool lead = s.MoveNumber == 1;
    const bool choice = lead ? !SixDoubleForced(s) : ListCandidates(s, seat).Count >= 2;
    if (choice && lead && Leads.size() < leads_) Leads.push_back(std::make_unique<GameState>(s));
    // Moves late in a hand too: every third decision, so hands differ.
    if (choice && !lead && Moves.size() < moves_ && ++seen_ % 3 == 0) {
      Moves.push_back(std::make_unique<GameState>(s));
    }
    reviewNext_ = choice && s.MoveNumber <= 3 && Reviewed.size() < reviewed_;
    if (!s.SeatExpert[seat]) return false;
    GameState plain = s;
    plain.SeatExpert[seat] = false;
    PutInHand(s, EligeJugada(plain, nullptr));
    return true;
  }
  void MoveMade(GameState& s) override {
    if (reviewNext_) Reviewed.push_back(std::make_unique<GameState>(s));
    reviewNext_ = false;
  }
  bool Full() const {
    return Leads.size() >= leads_ && Moves.size() >= moves_ && Reviewed.size() >= reviewed_;
  }

  std::vector<std::unique_ptr<GameState>> Leads, Moves, Reviewed;

 private:
  std::size_t leads_, moves_, reviewed_;
  long seen_ = 0;
  bool reviewNext_ = false;
};

Collector& Played(const Table& t, std::size_t index) {
  static std::unique_ptr<Collector> cache[std::size(kTables)];
  auto& c = cache[index];
  if (c) return *c;
  c = std::make_unique<Collector>(12, 40, 6);
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = t.Mode;
  s.RuleDirection = t.Direction;
  s.RuleFiveDoubles = kFiveDoublesReturn;
  SyncDirectionStep(s);
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatLevel[seat] = t.Levels[seat];
    s.SeatControl[seat] = t.Plays[seat] == SeatPlay::kPerson ? kManual : kAutomatic;
    s.SeatExpert[seat] = t.Plays[seat] == SeatPlay::kExpert;
  }
  // No thinking over a person's hand: the headless table lets the computer
  // play it at its level, as if the person had.
  HeadlessPort port(&s);
  Random rng(static_cast<std::uint32_t>(31 + index));
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  ctx.Hooks = c.get();
  for (int match = 0; match < 400 && !c->Full(); ++match) RunMatch(ctx, LoopEntry::kNewMatch);
  return *c;
}

// Fewer deals than at the table: a peek shows in any number of them.
ExpertOptions Few() {
  ExpertOptions o;
  o.Deals = 40;
  o.MinDeals = 12;
  o.Draws = 600;
  return o;
}

// The twin of `s` for `seat` before move `move`: the tiles the seat cannot see
// dealt again among the other seats, every count and pass kept, and the deal
// such that every computer seat would have made its moves of this hand under
// it; the slots of each hand in a new order, and everything the deal derives
// from the hands computed again, as the deal computes it, the lead draw's
// order of the leader's two longest suits included. False when none was found.
bool Twin(const GameState& s, int seat, int move, Rng& rng, GameState& twin) {
  const Knowledge k = KnowledgeAt(s, seat, move);
  const DealSampler sampler(k);
  ImaginedTable table(s, k);
  PerSeat<TileSet> truth{};
  for (int t = 1; t <= kSeats; ++t) truth[t] = HeldBy(s, t);
  for (int attempt = 0; attempt < 200; ++attempt) {
    PerSeat<TileSet> hands{};
    sampler.Draw(rng, hands);
    if (hands == truth || table.Replay(hands, true, 0).Misses > 0) continue;
    twin = s;
    for (int t = 1; t <= kSeats; ++t) {
      if (t == seat) continue;
      std::vector<int> slots;
      for (int slot = 1; slot <= kSlots; ++slot) {
        if (s.Hand[t][slot].State == 0) slots.push_back(slot);
      }
      for (std::size_t i = slots.size(); i > 1; --i)
        std::swap(slots[i - 1], slots[rng.Below(static_cast<int>(i))]);
      TileSet left = hands[t];
      for (const int slot : slots) {
        const int tile = std::countr_zero(left);
        left &= left - 1;
        twin.Hand[t][slot] =
            HandSlot{static_cast<i16>(TileHigh(tile)), static_cast<i16>(TileLow(tile)), 0};
      }
    }
    twin.SeatPipCount = {};
    twin.SeatDoubles = {};
    twin.DoubleHolder = {};
    ComputeDealStatistics(twin);
    ComputeRanks(twin);
    // The seat's own order is its own to know, whatever the draw made it.
    twin.SeatPipRank[seat] = s.SeatPipRank[seat];
    const int leader = twin.LeadSeat;
    auto& rank = twin.SeatPipRank[leader];
    if (leader != seat &&
        twin.SeatPipCount[leader][rank[1]] == twin.SeatPipCount[leader][rank[2]] &&
        rng.Below(2) == 1) {
      std::swap(rank[1], rank[2]);
    }
    return true;
  }
  return false;
}

void ExpectSameWeighing(const Weighing& a, const Weighing& b, const std::string& where) {
  ASSERT_EQ(a.Moves.size(), b.Moves.size()) << where;
  EXPECT_EQ(a.Best, b.Best) << where;
  EXPECT_EQ(a.Deals, b.Deals) << where;
  EXPECT_EQ(a.Drawn, b.Drawn) << where;
  EXPECT_EQ(a.Fallback, b.Fallback) << where;
  EXPECT_EQ(a.Nodes, b.Nodes) << where;
  for (std::size_t m = 0; m < a.Moves.size(); ++m) {
    EXPECT_EQ(a.Moves[m].Mean, b.Moves[m].Mean) << where << ", move " << m;
  }
}

std::string Where(const GameState& s, std::size_t table) {
  return "table " + std::to_string(table) + " hand " + std::to_string(s.HandNumber) + " move " +
         std::to_string(s.MoveNumber) + " seat " + std::to_string(s.CurrentSeat);
}

// The seat to move asks as the table would ask for it: as an expert seat, or
// through the tutor over a person's seat. Its seed, its weighing with that
// seed and, for a few, the move the table would make are compared.
TEST(ExpertHonesty, ItsSeatAndTheTutorCannotTellTwinDealsApart) {
  Rng rng(23);
  int compared = 0, leads = 0, persons = 0, experts = 0, tutored = 0, moved = 0;
  for (std::size_t i = 0; i < std::size(kTables); ++i) {
    Collector& played = Played(kTables[i], i);
    std::vector<const GameState*> positions;
    for (const auto& s : played.Leads) positions.push_back(s.get());
    for (const auto& s : played.Moves) positions.push_back(s.get());
    for (const GameState* position : positions) {
      GameState s = *position;
      const int seat = s.CurrentSeat;
      // The seat as each kind the table has: its own, and the others' through
      // the tutor, so that every position is asked about.
      const bool person = s.SeatControl[seat] == kManual;
      s.TutorExpert = person;
      if (!person) s.SeatExpert[seat] = true;
      GameState twin;
      if (!Twin(s, seat, s.MoveNumber, rng, twin)) continue;
      const std::string where = Where(s, i);
      ++compared;
      leads += s.MoveNumber == 1;
      persons += person;
      for (int other = 1; other <= kSeats; ++other) {
        experts += other != seat && s.SeatExpert[other] && s.SeatControl[other] == kAutomatic;
      }
      EXPECT_EQ(ExpertSeed(s, seat), ExpertSeed(twin, seat)) << where;
      const Weighing a =
          WeighMoves(s, KnowledgeAt(s, seat, s.MoveNumber), Few(), ExpertSeed(s, seat));
      const Weighing b =
          WeighMoves(twin, KnowledgeAt(twin, seat, s.MoveNumber), Few(), ExpertSeed(twin, seat));
      ExpectSameWeighing(a, b, where);
      // The table's own call, with its full weighing, on a few positions.
      if (compared % 12 != 0) continue;
      if (person) {
        const Suggestion x = Suggest(s);
        const Suggestion y = Suggest(twin);
        EXPECT_EQ(x.Pass, y.Pass) << where;
        EXPECT_EQ(x.End, y.End) << where;
        EXPECT_EQ(x.Slot, y.Slot) << where;
        ++tutored;
      } else {
        const ChosenMove x = EligeJugada(s, nullptr);
        const ChosenMove y = EligeJugada(twin, nullptr);
        EXPECT_EQ(x.PipA, y.PipA) << where;
        EXPECT_EQ(x.PipB, y.PipB) << where;
        EXPECT_EQ(x.End, y.End) << where;
        ++moved;
      }
    }
  }
  EXPECT_GE(compared, 150);
  EXPECT_GE(leads, 30);
  EXPECT_GE(persons, 20);
  EXPECT_GE(experts, 100);
  EXPECT_GT(tutored, 0);
  EXPECT_GT(moved, 0);
}

// The review weighs each move from its mover's knowledge, though it is handed
// the whole recorded hand: the review of a move cannot tell twins apart for
// its mover either.
TEST(ExpertHonesty, TheReviewOfAMoveCannotTellTwinDealsApart) {
  Rng rng(29);
  int compared = 0;
  for (std::size_t i = 0; i < std::size(kTables); ++i) {
    for (const auto& reviewed : Played(kTables[i], i).Reviewed) {
      const GameState& s = *reviewed;
      const int move = s.MoveNumber;
      const int seat = s.MoveRecord[move][kFSeat];
      GameState twin;
      if (!Twin(s, seat, move, rng, twin)) continue;
      ++compared;
      const std::string where = Where(s, i);
      const std::vector<MoveReview> a = ReviewHand(s, move, Few());
      const std::vector<MoveReview> b = ReviewHand(twin, move, Few());
      ASSERT_EQ(a.size(), static_cast<std::size_t>(move)) << where;
      ASSERT_EQ(b.size(), a.size()) << where;
      const MoveReview& x = a.back();
      const MoveReview& y = b.back();
      EXPECT_EQ(x.Weighed, y.Weighed) << where;
      EXPECT_EQ(x.Loss, y.Loss) << where;
      EXPECT_EQ(x.Played.Mean, y.Played.Mean) << where;
      EXPECT_EQ(x.BestMove.PipA, y.BestMove.PipA) << where;
      EXPECT_EQ(x.BestMove.PipB, y.BestMove.PipB) << where;
      EXPECT_EQ(x.BestMove.Mean, y.BestMove.Mean) << where;
    }
  }
  EXPECT_GE(compared, 15);
}

// The reading of the computer seats' play never rules out the real deal, on
// every table of the collection, leads and persons' seats included.
TEST(ExpertInference, TheRealDealIsNeverRuledOut) {
  int replayed = 0;
  for (std::size_t i = 0; i < std::size(kTables); ++i) {
    Collector& played = Played(kTables[i], i);
    for (const auto* list : {&played.Leads, &played.Moves}) {
      for (const auto& position : *list) {
        const GameState& s = *position;
        const int seat = s.CurrentSeat;
        PerSeat<TileSet> truth{};
        for (int t = 1; t <= kSeats; ++t) truth[t] = HeldBy(s, t);
        ImaginedTable table(s, KnowledgeAt(s, seat, s.MoveNumber));
        EXPECT_EQ(table.Replay(truth, true, 0).Misses, 0) << Where(s, i);
        ++replayed;
      }
    }
  }
  EXPECT_GE(replayed, 150);
}

// Positions just after a move of a leader whose two longest suits were equally
// long and that the lead draw put in the other order than the deal's count
// does: the reading must allow that order at each of the leader's moves.
class SwappedLeaders : public EngineHooks {
 public:
  void HandDealt(GameState& s) override {
    GameState counted = s;
    ComputeRanks(counted);
    swapped_ = counted.SeatPipRank[s.LeadSeat] != s.SeatPipRank[s.LeadSeat];
  }
  bool ChooseMove(GameState& s, TablePort*) override {
    const int last = s.MoveNumber - 1;
    if (swapped_ && last >= 2 && s.MoveRecord[last][kFSeat] == s.LeadSeat &&
        s.MoveRecord[last][kFEnd] != kPassEnd && States.size() < 300) {
      States.push_back(std::make_unique<GameState>(s));
    }
    return false;
  }
  std::vector<std::unique_ptr<GameState>> States;

 private:
  bool swapped_ = false;
};

TEST(ExpertInference, TheLeadersSuitsInTheDrawnOrderNeverRuleTheRealDealOut) {
  SwappedLeaders leaders;
  GameState s;
  ApplyDefaults(s);
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatLevel[seat] = static_cast<i16>(seat % 2 == 0 ? 100 : 50);
    s.SeatControl[seat] = kAutomatic;
  }
  HeadlessPort port(&s);
  Random rng(41);
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  ctx.Hooks = &leaders;
  for (int match = 0; match < 2000 && leaders.States.size() < 300; ++match) {
    RunMatch(ctx, LoopEntry::kNewMatch);
  }
  ASSERT_EQ(leaders.States.size(), 300u);
  for (const auto& position : leaders.States) {
    const GameState& p = *position;
    PerSeat<TileSet> truth{};
    for (int t = 1; t <= kSeats; ++t) truth[t] = HeldBy(p, t);
    ImaginedTable table(p, KnowledgeAt(p, p.CurrentSeat, p.MoveNumber));
    EXPECT_EQ(table.Replay(truth, true, 0).Misses, 0) << Where(p, 0);
  }
}

}  // namespace
}  // namespace tarvelis::expert
