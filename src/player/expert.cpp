#include "player/expert.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/move_rules.h"
#include "player/expert_inference.h"

namespace tarvelis::expert {
namespace {

// Two moves are told apart once the better one's lead over the other, deal by
// deal on the same deals, is this many standard errors above zero.
constexpr double kClearMargin = 3.0;
constexpr int kCheckEvery = 8;

Position RootPosition(const GameState& rules, const Knowledge& k) {
  Position p;
  p.Hands[k.Seat] = k.Own;
  p.End1 = k.Ends[1];
  p.End2 = k.Ends[2];
  p.ToMove = k.Seat;
  p.Step = rules.DirectionStep < 0 ? -1 : 1;
  p.SixDoubleLead = k.MoveNumber == 1 && SixDoubleForced(rules);
  return p;
}

WeighedMove Describe(const SearchMove& m) {
  WeighedMove w;
  if (m.Matching < 0) {
    w.Lead = true;
    w.PipA = TileHigh(m.Tile);
    w.PipB = TileLow(m.Tile);
  } else {
    w.PipA = m.Matching;
    w.PipB = TileHigh(m.Tile) == m.Matching ? TileLow(m.Tile) : TileHigh(m.Tile);
  }
  return w;
}

// True when the best move leads every other by a clear margin on the deals
// weighed so far, or ties it on every one of them (the two are then as good).
// Deals count by their weights; the spread by the weights' effective number.
bool OneMoveIsClearlyBest(const std::vector<std::array<int, 14>>& values,
                          const std::vector<double>& weights, int count, int best) {
  double total = 0;
  double squaredWeights = 0;
  for (double w : weights) {
    total += w;
    squaredWeights += w * w;
  }
  const double effective = total * total / squaredWeights;
  if (effective <= 1) return false;
  for (int m = 0; m < count; ++m) {
    if (m == best) continue;
    double sum = 0;
    double squares = 0;
    for (std::size_t d = 0; d < values.size(); ++d) {
      const double diff = values[d][best] - values[d][m];
      sum += weights[d] * diff;
      squares += weights[d] * diff * diff;
    }
    const double mean = sum / total;
    const double variance = std::max(0.0, squares / total - mean * mean);
    if (variance == 0 && mean >= 0) continue;
    if (mean - kClearMargin * std::sqrt(variance / (effective - 1)) <= 0) return false;
  }
  return true;
}

// A deal that missed some computer seat's moves, kept in case too few fit;
// the replay stops counting after kMostMisses + 1.
struct NearDeal {
  PerSeat<TileSet> Hands{};
  int Misses = 0;
  double Weight = 1;
};
constexpr int kMostMisses = 2;
constexpr std::size_t kNearDealsKept = 256;

// The move with the best total; on a tie the double or the heavier tile, as
// shedding weight is the safer side of an even choice.
int BestOf(const std::vector<double>& sums, const MoveList& list) {
  int best = 0;
  for (int i = 1; i < list.Count; ++i) {
    const bool heavier =
        (TileIsDouble(list.Items[i].Tile) ? 100 : 0) + TilePips(list.Items[i].Tile) >
        (TileIsDouble(list.Items[best].Tile) ? 100 : 0) + TilePips(list.Items[best].Tile);
    if (sums[i] > sums[best] || (sums[i] == sums[best] && heavier)) best = i;
  }
  return best;
}

}  // namespace

ExpertOptions SampledSearchOptions(int deals) {
  ExpertOptions o;
  o.Deals = deals;
  o.MinDeals = deals;
  o.EarlyStop = false;
  o.ExactTiles = 0;
  o.Playout = Policy::kDoublesFirst;
  o.SeatPlayouts = false;
  o.ReadsPlay = false;
  return o;
}

Weighing WeighMoves(const GameState& rules, const Knowledge& k, const ExpertOptions& options,
                    std::uint64_t seed, const std::atomic<bool>* cancel) {
  Weighing result;
  const Position root = RootPosition(rules, k);
  const MoveList list = LegalMoves(root);
  for (int i = 0; i < list.Count; ++i) result.Moves.push_back(Describe(list.Items[i]));
  if (list.Count == 0) return result;
  if (list.Count == 1) {
    result.Best = 0;
    return result;
  }
  const DealSampler sampler(k);
  const Scorer scorer(rules, k.Seat);
  const bool reads = options.ReadsPlay && k.MoveNumber > 1;
  std::unique_ptr<ImaginedTable> table;
  if (reads || options.SeatPlayouts) table = std::make_unique<ImaginedTable>(rules, k);
  Rng rng(seed);
  std::vector<double> sums(list.Count, 0.0);
  std::vector<double> scored(list.Count, 0.0);
  std::vector<std::array<int, 14>> values;
  std::vector<double> weights;
  std::vector<NearDeal> near;
  double total = 0;
  const int most = std::max(1, options.Deals);
  // Weighs every move on one deal; `replayed` says the imagined table already
  // stands at the decision under it.
  auto weigh = [&](const PerSeat<TileSet>& hands, double weight, bool replayed) {
    Position deal = root;
    deal.Hands = hands;
    std::array<int, 14>& row = values.emplace_back();
    for (int i = 0; i < list.Count; ++i) {
      Position q = deal;
      const int ended = Apply(q, list.Items[i]);
      if (ended != 0) {
        row[i] = scorer.Value(q, ended);
      } else if (TilesLeft(q) <= options.ExactTiles) {
        row[i] = SearchExact(q, scorer, result.Nodes);
      } else if (table) {
        if (!replayed) table->Replay(hands, false, 0);
        replayed = true;
        row[i] = table->PlayOut(list.Items[i], scorer);
      } else {
        row[i] = PlayOut(q, options.Playout, scorer);
      }
      sums[i] += weight * row[i];
      scored[i] += weight * Scorer::Scored(row[i]);
    }
    weights.push_back(weight);
    total += weight;
    ++result.Deals;
  };
  const int draws = reads ? std::max(most, options.Draws) : most;
  for (int d = 0; d < draws && result.Deals < most; ++d) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) break;
    PerSeat<TileSet> hands{};
    sampler.Draw(rng, hands);
    ++result.Drawn;
    double weight = 1;
    if (reads) {
      const ImaginedTable::Fit fit = table->Replay(hands, true, kMostMisses);
      if (fit.Misses > 0) {
        // A deal stopped at its third miss counts as three.
        if (near.size() < kNearDealsKept) {
          near.push_back(NearDeal{hands, fit.Misses, fit.Weight});
        }
        continue;
      }
      weight = fit.Weight;
    }
    weigh(hands, weight, reads);
    if (options.EarlyStop && result.Deals >= options.MinDeals && result.Deals % kCheckEvery == 0 &&
        OneMoveIsClearlyBest(values, weights, list.Count, BestOf(sums, list))) {
      break;
    }
  }
  // Too few deals explain every move seen: the nearest ones fill in, weighed
  // down by their misses, so what was seen still counts.
  if (result.Deals < options.MinDeals && !near.empty()) {
    std::stable_sort(near.begin(), near.end(),
                     [](const NearDeal& a, const NearDeal& b) { return a.Misses < b.Misses; });
    for (const NearDeal& n : near) {
      if (result.Deals >= options.MinDeals) break;
      if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) break;
      weigh(n.Hands, n.Weight * std::pow(kMissWeight, n.Misses), false);
      ++result.Fallback;
    }
  }
  if (total <= 0) total = 1;
  for (int i = 0; i < list.Count; ++i) {
    result.Moves[i].Mean = scored[i] / total / scorer.Scale();
  }
  result.Best = BestOf(sums, list);
  return result;
}

void ChooseExpertMove(GameState& s, const ExpertOptions& options, std::uint64_t seed,
                      const std::atomic<bool>* cancel) {
  s.PlayEvaluated = false;
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
  const Knowledge k = KnowledgeAt(s, s.CurrentSeat, s.MoveNumber);
  const Weighing w = WeighMoves(s, k, options, seed, cancel);
  if (w.Best < 0) return;
  const WeighedMove& m = w.Moves[w.Best];
  if (m.Lead) {
    const int slot = BuscaHueco(s, m.PipA, m.PipB, s.CurrentSeat);
    s.PlayPipA = s.Hand[s.CurrentSeat][slot].PipA;
    s.PlayPipB = s.Hand[s.CurrentSeat][slot].PipB;
    s.PlayEnd = 1;
    return;
  }
  TakeCandidate(s, Candidate{static_cast<i16>(m.PipA), static_cast<i16>(m.PipB)});
}

std::vector<MoveReview> ReviewHand(const GameState& s, int lastMove, const ExpertOptions& options,
                                   const std::function<bool(int, int)>& progress) {
  std::vector<MoveReview> reviews;
  const int last = std::min<int>(lastMove, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = 1; n <= last; ++n) {
    const MoveEntry& e = s.MoveRecord[n];
    MoveReview r;
    r.Move = n;
    r.Seat = e[kFSeat];
    if (r.Seat < 1 || r.Seat > kSeats) break;
    if (e[kFEnd] != kPassEnd) {
      r.Played.PipA = e[kFPipA];
      r.Played.PipB = e[kFPipB];
      r.Played.Lead = n == 1;
      const Knowledge k = KnowledgeAt(s, r.Seat, n);
      // Each move gets a seed of its own, so one move's review never depends
      // on how many deals another took.
      const Weighing w = WeighMoves(s, k, options, 0x5EED0000ull + static_cast<unsigned>(n));
      if (w.Moves.size() >= 2 && w.Best >= 0) {
        const int tile = TileIndex(r.Played.PipA, r.Played.PipB);
        for (const WeighedMove& m : w.Moves) {
          const bool same =
              TileIndex(m.PipA, m.PipB) == tile && (m.Lead || m.PipA == r.Played.PipA);
          if (!same) continue;
          r.Weighed = true;
          r.Played.Mean = m.Mean;
          r.BestMove = w.Moves[w.Best];
          r.Loss = std::max(0.0, r.BestMove.Mean - m.Mean);
          break;
        }
      }
    }
    reviews.push_back(r);
    if (progress && !progress(n, last)) break;
  }
  return reviews;
}

}  // namespace tarvelis::expert
