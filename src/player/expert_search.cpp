#include "player/expert_search.h"

#include <algorithm>
#include <bit>

#include "model/hand_score.h"

namespace tarvelis::expert {
namespace {

int Other(int tile, int matching) {
  return TileHigh(tile) == matching ? TileLow(tile) : TileHigh(tile);
}

int NextSeatOf(const Position& p) {
  return (p.ToMove - 1 + p.Step + kSeats) % kSeats + 1;
}

// Doubles first, then heavy tiles: the order the play-outs prefer and the one
// that makes alpha-beta cut soonest.
int MoveRank(const SearchMove& m) {
  return (TileIsDouble(m.Tile) ? 100 : 0) + TilePips(m.Tile);
}

int PlayableCount(TileSet hand, int e1, int e2) {
  return std::popcount(hand & (SuitTiles(e1) | SuitTiles(e2)));
}

}  // namespace

MoveList LegalMoves(const Position& p) {
  MoveList list;
  const TileSet hand = p.Hands[p.ToMove];
  if (p.End1 == kNoPip) {
    TileSet t = p.SixDoubleLead ? hand & (1u << TileIndex(6, 6)) : hand;
    while (t != 0) {
      list.Items[list.Count++] = SearchMove{static_cast<std::int8_t>(std::countr_zero(t)), -1};
      t &= t - 1;
    }
    return list;
  }
  TileSet t = hand & (SuitTiles(p.End1) | SuitTiles(p.End2));
  while (t != 0) {
    const int tile = std::countr_zero(t);
    t &= t - 1;
    const int hi = TileHigh(tile);
    const int lo = TileLow(tile);
    const int ends = p.End1 == p.End2 ? 1 : 2;
    for (int i = 0; i < ends; ++i) {
      const int end = i == 0 ? p.End1 : p.End2;
      if (end != hi && end != lo) continue;
      list.Items[list.Count++] =
          SearchMove{static_cast<std::int8_t>(tile), static_cast<std::int8_t>(end)};
      if (hi == lo) break;
    }
  }
  return list;
}

int Apply(Position& p, const SearchMove& m) {
  const int seat = p.ToMove;
  p.Hands[seat] &= ~(1u << m.Tile);
  if (m.Matching < 0) {
    p.End1 = TileHigh(m.Tile);
    p.End2 = TileLow(m.Tile);
  } else if (p.End1 == m.Matching) {
    p.End1 = Other(m.Tile, m.Matching);
  } else {
    p.End2 = Other(m.Tile, m.Matching);
  }
  p.Passes = 0;
  p.ToMove = NextSeatOf(p);
  if (p.Hands[seat] == 0) return seat;
  if (p.End1 == p.End2 &&
      ((p.Hands[1] | p.Hands[2] | p.Hands[3] | p.Hands[4]) & SuitTiles(p.End1)) == 0) {
    return -1;
  }
  return 0;
}

void Pass(Position& p) {
  ++p.Passes;
  p.ToMove = NextSeatOf(p);
}

Scorer::Scorer(const GameState& rules, int seat)
    : rules_(rules),
      seat_(seat),
      pairs_(rules.RuleMode == kModePairs),
      fine_(rules.RuleScoring != kScoreUnits) {}

int Scorer::Value(const Position& p, int ended) const {
  PerSeat<int> pips{};
  for (int seat = 1; seat <= kSeats; ++seat) pips[seat] = PipSum(p.Hands[seat]);
  const HandScore score = ScoreHand(rules_, pips, ended > 0 ? ended : 0);
  if (score.Repeated) return 0;
  // The points themselves break ties between equal scored results: a hand
  // won by more is better even within the same ten.
  const int v = ScoredValue(rules_, score.Points) * kUnitScale + (fine_ ? score.Points : 0);
  if (pairs_) return score.Winner == PairOfSeat(seat_) ? v : -v;
  return score.Winner == seat_ ? 3 * v : -v;
}

int PlayOut(Position p, Policy policy, const Scorer& scorer) {
  for (;;) {
    const MoveList list = LegalMoves(p);
    if (list.Count == 0) {
      // Four passes in a row cannot happen in a whole deal; a guard all the same.
      if (p.Passes >= kSeats) return scorer.Value(p, -1);
      Pass(p);
      continue;
    }
    int best = 0;
    if (policy == Policy::kDoublesFirst) {
      for (int i = 1; i < list.Count; ++i) {
        if (MoveRank(list.Items[i]) > MoveRank(list.Items[best])) best = i;
      }
    } else {
      // Leave the next seat (an opponent in pairs) as little to play as
      // possible, and the partner as much; then doubles, then heavy tiles.
      const int next = NextSeatOf(p);
      const int partner = (p.ToMove + 1) % kSeats + 1;
      int bestScore = -1000000;
      for (int i = 0; i < list.Count; ++i) {
        Position q = p;
        const SearchMove& m = list.Items[i];
        if (Apply(q, m) != 0) {
          best = i;
          break;
        }
        const int score = -100 * PlayableCount(q.Hands[next], q.End1, q.End2) +
                          40 * std::min(1, PlayableCount(q.Hands[partner], q.End1, q.End2)) +
                          MoveRank(m);
        if (score > bestScore) {
          bestScore = score;
          best = i;
        }
      }
    }
    const int ended = Apply(p, list.Items[best]);
    if (ended != 0) return scorer.Value(p, ended);
  }
}

namespace {

int AlphaBeta(const Position& p, const Scorer& scorer, int alpha, int beta, long& nodes) {
  ++nodes;
  const MoveList list = LegalMoves(p);
  if (list.Count == 0) {
    if (p.Passes >= kSeats) return scorer.Value(p, -1);
    Position q = p;
    Pass(q);
    return AlphaBeta(q, scorer, alpha, beta, nodes);
  }
  std::array<int, 14> order{};
  for (int i = 0; i < list.Count; ++i) order[i] = i;
  std::sort(order.begin(), order.begin() + list.Count,
            [&](int x, int y) { return MoveRank(list.Items[x]) > MoveRank(list.Items[y]); });
  const bool maximizing = scorer.OnSide(p.ToMove);
  int best = maximizing ? -1000000 : 1000000;
  for (int i = 0; i < list.Count; ++i) {
    Position q = p;
    const int ended = Apply(q, list.Items[order[i]]);
    const int v = ended != 0 ? scorer.Value(q, ended) : AlphaBeta(q, scorer, alpha, beta, nodes);
    if (maximizing) {
      best = std::max(best, v);
      alpha = std::max(alpha, v);
    } else {
      best = std::min(best, v);
      beta = std::min(beta, v);
    }
    if (alpha >= beta) break;
  }
  return best;
}

}  // namespace

int SearchExact(const Position& p, const Scorer& scorer, long& nodes) {
  return AlphaBeta(p, scorer, -1000000, 1000000, nodes);
}

}  // namespace tarvelis::expert
