#include "player/expert.h"

#include <algorithm>
#include <cmath>

#include "model/move_rules.h"

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
bool OneMoveIsClearlyBest(const std::vector<std::array<int, 14>>& values, int deals, int count,
                          int best) {
  for (int m = 0; m < count; ++m) {
    if (m == best) continue;
    double sum = 0;
    double squares = 0;
    for (int d = 0; d < deals; ++d) {
      const double diff = values[d][best] - values[d][m];
      sum += diff;
      squares += diff * diff;
    }
    const double mean = sum / deals;
    const double variance = std::max(0.0, squares / deals - mean * mean);
    if (variance == 0 && mean >= 0) continue;
    if (mean - kClearMargin * std::sqrt(variance / (deals - 1)) <= 0) return false;
  }
  return true;
}

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
  return o;
}

Weighing WeighMoves(const GameState& rules, const Knowledge& k, const ExpertOptions& options,
                    std::uint64_t seed) {
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
  Rng rng(seed);
  std::vector<double> sums(list.Count, 0.0);
  std::vector<double> scored(list.Count, 0.0);
  std::vector<std::array<int, 14>> values;
  values.reserve(options.Deals);
  const int most = std::max(1, options.Deals);
  for (int d = 0; d < most; ++d) {
    Position deal = root;
    sampler.Draw(rng, deal.Hands);
    std::array<int, 14>& row = values.emplace_back();
    for (int i = 0; i < list.Count; ++i) {
      Position q = deal;
      const int ended = Apply(q, list.Items[i]);
      if (ended != 0) {
        row[i] = scorer.Value(q, ended);
      } else if (TilesLeft(q) <= options.ExactTiles) {
        row[i] = SearchExact(q, scorer, result.Nodes);
      } else {
        row[i] = PlayOut(q, options.Playout, scorer);
      }
      sums[i] += row[i];
      scored[i] += Scorer::Scored(row[i]);
    }
    result.Deals = d + 1;
    if (options.EarlyStop && result.Deals >= options.MinDeals && result.Deals % kCheckEvery == 0 &&
        OneMoveIsClearlyBest(values, result.Deals, list.Count, BestOf(sums, list))) {
      break;
    }
  }
  for (int i = 0; i < list.Count; ++i) {
    result.Moves[i].Mean = scored[i] / result.Deals / scorer.Scale();
  }
  result.Best = BestOf(sums, list);
  return result;
}

void ChooseExpertMove(GameState& s, const ExpertOptions& options, std::uint64_t seed) {
  s.PlayEvaluated = false;
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
  const Knowledge k = KnowledgeAt(s, s.CurrentSeat, s.MoveNumber);
  const Weighing w = WeighMoves(s, k, options, seed);
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
