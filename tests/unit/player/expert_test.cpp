// The expert player: deals that agree with what a seat knows and how the
// others played, the look-ahead on a known deal, and the review's weighing
// (legal play: the simulator's test; that it never reads the other hands:
// honesty_test).
#include "player/expert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "engine/deal.h"
#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/move_rules.h"
#include "player/computer_player.h"
#include "player/expert_inference.h"
#include "support/held_tiles.h"

namespace tarvelis::expert {
namespace {

// Copies of the state before decisions of real play at level 100, each with
// the suits every seat has passed on so far in its hand, as the table showed
// them when it passed.
class Collector : public EngineHooks {
 public:
  explicit Collector(std::size_t wanted) : wanted_(wanted) {}
  void HandDealt(GameState&) override { passed_ = {}; }
  void MoveMade(GameState& s) override {
    if (s.MoveRecord[s.MoveNumber][kFEnd] != kPassEnd) return;
    passed_[s.CurrentSeat] |= (1u << s.EndPips[1]) | (1u << s.EndPips[2]);
  }
  bool ChooseMove(GameState& s, TablePort*) override {
    if (States.size() < wanted_ && s.MoveNumber > 1) {
      States.push_back(std::make_unique<GameState>(s));
      Passed.push_back(passed_);
    }
    return false;
  }
  std::vector<std::unique_ptr<GameState>> States;
  std::vector<PerSeat<unsigned>> Passed;

 private:
  std::size_t wanted_;
  PerSeat<unsigned> passed_{};
};

Collector& Played(i16 mode, i16 direction) {
  static std::map<int, std::unique_ptr<Collector>> cache;
  auto& c = cache[mode * 10 + direction];
  if (c) return *c;
  c = std::make_unique<Collector>(300);
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = mode;
  s.RuleDirection = direction;
  s.RuleFiveDoubles = kFiveDoublesReturn;
  SyncDirectionStep(s);
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatLevel[seat] = 100;
    s.SeatControl[seat] = kAutomatic;
  }
  HeadlessPort port(&s);
  Random rng(17 + mode + direction);
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  ctx.Hooks = c.get();
  while (c->States.size() < 300) RunMatch(ctx, LoopEntry::kNewMatch);
  return *c;
}

// Fewer deals than in play: these tests check what is weighed, not how well.
ExpertOptions Quick() {
  ExpertOptions o;
  o.Deals = 200;
  return o;
}

// Every way to hand out `tiles` to the three other seats with their counts and
// voids, found by brute force.
std::map<std::array<TileSet, 3>, int> AllDeals(const Knowledge& k, const std::vector<int>& tiles,
                                               const std::array<int, 3>& seats) {
  std::map<std::array<TileSet, 3>, int> deals;
  const int n = static_cast<int>(tiles.size());
  int power = 1;
  for (int i = 0; i < n; ++i) power *= 3;
  for (int code = 0; code < power; ++code) {
    std::array<TileSet, 3> hands{};
    bool fits = true;
    for (int i = 0, c = code; i < n; ++i, c /= 3) {
      const int o = c % 3;
      const unsigned pips = (1u << TileHigh(tiles[i])) | (1u << TileLow(tiles[i]));
      if (pips & k.Void[seats[o]]) fits = false;
      hands[o] |= 1u << tiles[i];
    }
    for (int o = 0; o < 3; ++o) fits = fits && std::popcount(hands[o]) == k.Count[seats[o]];
    if (fits) deals[hands] = 0;
  }
  return deals;
}

// What a seat knows is what the table showed it: its own tiles, the counts,
// and every suit another seat passed on; no deal drawn from it gives a seat a
// tile of a suit it passed on, or a tile too many or too few.
TEST(ExpertKnowledge, APassTellsWhatTheSeatLacksAndEveryDealHonoursIt) {
  const Collector& played = Played(kModePairs, kDirect);
  int passes = 0;
  Rng rng(5);
  for (std::size_t i = 0; i < played.States.size(); ++i) {
    const GameState& s = *played.States[i];
    const int seat = s.CurrentSeat;
    const Knowledge k = KnowledgeAt(s, seat, s.MoveNumber);
    ASSERT_EQ(k.Own, HeldBy(s, seat));
    const DealSampler sampler(k);
    PerSeat<TileSet> hands{};
    sampler.Draw(rng, hands);
    for (int t = 1; t <= kSeats; ++t) {
      if (t == seat) continue;
      const unsigned passed = played.Passed[i][t];
      passes += passed != 0;
      EXPECT_EQ(k.Void[t] & passed, passed) << "seat " << t << " passed on these suits";
      EXPECT_EQ(hands[t] & TilesWithPips(passed), 0u) << "a tile of a suit seat " << t << " lacks";
      EXPECT_EQ(std::popcount(hands[t]), s.SeatTileCount[t]);
    }
  }
  EXPECT_GT(passes, 20) << "the played hands must hold passes to check";
}

TEST(ExpertKnowledge, EveryConsistentDealIsEquallyLikely) {
  struct Case {
    const char* what;
    std::array<int, 5> counts;      // [seat], seat 1 knows
    std::array<unsigned, 5> voids;  // pips each seat passed on
  };
  const Case cases[] = {
      {"no passes", {0, 1, 2, 2, 2}, {0, 0, 0, 0, 0}},
      {"one seat void in two suits", {0, 1, 2, 3, 2}, {0, 0, 0b000011, 0, 0}},
      {"two seats void, uneven counts", {0, 1, 1, 3, 3}, {0, 0, 0b000100, 0b001000, 0}},
      {"voids that force tiles", {0, 1, 3, 2, 2}, {0, 0, 0, 0b110000, 0b100001}},
  };
  const std::vector<int> unseen = {TileIndex(0, 0), TileIndex(1, 0), TileIndex(2, 1),
                                   TileIndex(3, 2), TileIndex(4, 0), TileIndex(5, 4),
                                   TileIndex(6, 5), TileIndex(3, 3)};
  for (const Case& c : cases) {
    Knowledge k;
    k.Seat = 1;
    k.Own = 1u << TileIndex(6, 6);
    int total = 0;
    for (int t = 2; t <= 4; ++t) total += c.counts[t];
    for (int i = 0; i < total; ++i) k.Unseen |= 1u << unseen[i];
    for (int t = 1; t <= 4; ++t) {
      k.Count[t] = c.counts[t];
      k.Void[t] = c.voids[t];
    }
    const std::vector<int> tiles(unseen.begin(), unseen.begin() + total);
    auto deals = AllDeals(k, tiles, {2, 3, 4});
    ASSERT_FALSE(deals.empty()) << c.what;
    const DealSampler sampler(k);
    EXPECT_DOUBLE_EQ(sampler.DealCount(), static_cast<double>(deals.size())) << c.what;
    Rng rng(99);
    const int draws = 400 * static_cast<int>(deals.size());
    for (int i = 0; i < draws; ++i) {
      PerSeat<TileSet> hands{};
      sampler.Draw(rng, hands);
      auto it = deals.find({hands[2], hands[3], hands[4]});
      ASSERT_NE(it, deals.end()) << c.what << ": a deal that does not fit";
      ++it->second;
    }
    // 400 expected draws each: a uniform sampler stays within 25% of that
    // (five standard deviations), a biased one soon leaves it.
    for (const auto& [hands, seen] : deals) {
      EXPECT_NEAR(seen, 400, 100) << c.what;
    }
  }
}

// The table as a search position with every seat's held tiles.
Position PositionOf(const GameState& s) {
  Position p;
  for (int t = 1; t <= kSeats; ++t) p.Hands[t] = HeldBy(s, t);
  p.End1 = s.EndPips[1];
  p.End2 = s.EndPips[2];
  p.ToMove = s.CurrentSeat;
  p.Step = s.DirectionStep;
  return p;
}

// Plain minimax, no pruning: the reference for the alpha-beta search.
int Minimax(const Position& p, const Scorer& scorer) {
  const MoveList list = LegalMoves(p);
  if (list.Count == 0) {
    Position q = p;
    Pass(q);
    return Minimax(q, scorer);
  }
  int best = scorer.OnSide(p.ToMove) ? -1000000 : 1000000;
  for (int i = 0; i < list.Count; ++i) {
    Position q = p;
    const int ended = Apply(q, list.Items[i]);
    const int v = ended != 0 ? scorer.Value(q, ended) : Minimax(q, scorer);
    best = scorer.OnSide(p.ToMove) ? std::max(best, v) : std::min(best, v);
  }
  return best;
}

TEST(ExpertSearch, AlphaBetaFindsTheMinimaxValueOfRealEndgames) {
  int searched = 0;
  for (i16 mode : {kModePairs, kModeIndividual}) {
    for (const auto& state : Played(mode, kReverse).States) {
      const GameState& s = *state;
      const Position p = PositionOf(s);
      if (TilesLeft(p) > 10) continue;
      const Scorer scorer(s, s.CurrentSeat);
      long nodes = 0;
      EXPECT_EQ(SearchExact(p, scorer, nodes), Minimax(p, scorer));
      ++searched;
    }
  }
  EXPECT_GT(searched, 50);
}

// Reading the computer seats' play is exact: the real deal always explains
// every move seen, while many a deal that fits the passes and counts does not.
// A person's moves only weigh a deal down.
TEST(ExpertInference, TheRealDealAlwaysFitsAndPersonsRuleNothingOut) {
  Rng rng(5);
  int ruledOut = 0;
  int drawn = 0;
  int surprised = 0;
  for (const i16 mode : {kModePairs, kModeIndividual}) {
    for (const auto& state : Played(mode, kReverse).States) {
      const int seat = state->CurrentSeat;
      const Knowledge k = KnowledgeAt(*state, seat, state->MoveNumber);
      PerSeat<TileSet> truth{};
      for (int other = 1; other <= kSeats; ++other) truth[other] = HeldBy(*state, other);
      ImaginedTable table(*state, k);
      ASSERT_EQ(table.Replay(truth, true, 0).Misses, 0)
          << "hand " << state->HandNumber << " move " << state->MoveNumber;
      const DealSampler sampler(k);
      GameState persons = *state;
      for (int other = 1; other <= kSeats; ++other) {
        if (other != seat) persons.SeatControl[other] = kManual;
      }
      ImaginedTable read(persons, KnowledgeAt(persons, seat, state->MoveNumber));
      for (int d = 0; d < 10; ++d) {
        PerSeat<TileSet> hands{};
        sampler.Draw(rng, hands);
        ++drawn;
        if (table.Replay(hands, true, 0).Misses > 0) ++ruledOut;
        const ImaginedTable::Fit fit = read.Replay(hands, true, 0);
        EXPECT_EQ(fit.Misses, 0);
        surprised += fit.Weight < 1 ? 1 : 0;
      }
    }
  }
  EXPECT_GT(ruledOut, drawn / 4);
  EXPECT_GT(surprised, 0);
}

// When hardly any deal explains what was seen, the nearest ones are weighed
// instead of forgetting the reading: the weighing never runs short of deals.
TEST(ExpertInference, FallsBackOnTheNearestDealsWhenTooFewFit) {
  ExpertOptions o = Quick();
  o.Deals = o.Draws = o.MinDeals;
  int fallbacks = 0;
  for (const auto& s : Played(kModePairs, kDirect).States) {
    if (s->MoveNumber < 10 || ListCandidates(*s, s->CurrentSeat).Count < 2) continue;
    const Weighing w = WeighMoves(*s, KnowledgeAt(*s, s->CurrentSeat, s->MoveNumber), o, 3);
    fallbacks += w.Fallback > 0 ? 1 : 0;
    EXPECT_EQ(w.Deals, o.MinDeals);
  }
  EXPECT_GT(fallbacks, 0);
}

// An expert seat is played through the computer player's entry, on a thread
// of its own while the table waits, to the same move as the direct weighing;
// a table that stops waiting (the loop unwinds) gets a pass to discard.
TEST(ExpertAtTheTable, PlaysThroughTheComputerPlayerAndStopsWhenTheTableDoes) {
  struct Waiting : HeadlessPort {
    bool Patient = true;
    bool WaitWhile(const std::function<bool()>& busy) override {
      while (Patient && busy()) std::this_thread::yield();
      return Patient;
    }
  } port;
  int checked = 0;
  for (const auto& state : Played(kModePairs, kDirect).States) {
    if (ListCandidates(*state, state->CurrentSeat).Count < 2 || ++checked > 4) continue;
    GameState direct = *state;
    direct.SeatExpert[direct.CurrentSeat] = true;
    GameState tutor = *state;
    const ChosenMove alone = EligeJugada(direct, nullptr);
    port.Patient = true;
    const ChosenMove threaded = EligeJugada(direct, &port);
    EXPECT_EQ(std::tie(alone.PipA, alone.PipB, alone.End),
              std::tie(threaded.PipA, threaded.PipB, threaded.End));
    port.Patient = false;
    EXPECT_EQ(EligeJugada(direct, &port).End, kPassEnd);
    // The tutor asked for the expert suggests the same move to a person.
    tutor.SeatControl[tutor.CurrentSeat] = kManual;
    tutor.TutorExpert = true;
    const Suggestion hint = Suggest(tutor);
    EXPECT_EQ(hint.Slot, BuscaHueco(tutor, alone.PipA, alone.PipB, tutor.CurrentSeat));
    EXPECT_EQ(hint.End, alone.End);
  }
  EXPECT_GT(checked, 4);
}

// The review of the moves made so far: each choice weighed against the best
// move the seat had, a pass never weighed.
TEST(HandReview, WeighsEveryChoiceAgainstTheBestMove) {
  const auto& states = Played(kModePairs, kDirect).States;
  const GameState& s = **std::find_if(states.begin(), states.end(),
                                      [](const auto& g) { return g->MoveNumber > 12; });
  const auto reviews = ReviewHand(s, s.MoveNumber - 1, Quick());
  ASSERT_EQ(static_cast<int>(reviews.size()), s.MoveNumber - 1);
  int weighed = 0;
  for (const MoveReview& r : reviews) {
    const MoveEntry& e = s.MoveRecord[r.Move];
    EXPECT_EQ(r.Seat, e[kFSeat]);
    EXPECT_TRUE(e[kFEnd] != kPassEnd || !r.Weighed) << "a pass is never weighed";
    if (!r.Weighed) continue;
    ++weighed;
    EXPECT_GE(r.Loss, 0);
    EXPECT_NEAR(r.Loss, r.BestMove.Mean - r.Played.Mean, 1e-9);
  }
  EXPECT_GT(weighed, 0);
}

}  // namespace
}  // namespace tarvelis::expert
