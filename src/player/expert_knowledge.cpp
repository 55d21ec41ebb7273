#include "player/expert_knowledge.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace tarvelis::expert {
namespace {

struct TileTables {
  std::array<int, kTiles> High{};
  std::array<int, kTiles> Low{};
  std::array<TileSet, kPips> Suit{};
  TileSet Doubles = 0;
  TileTables() {
    for (int a = 0; a < kPips; ++a) {
      for (int b = 0; b <= a; ++b) {
        const int t = a * (a + 1) / 2 + b;
        High[t] = a;
        Low[t] = b;
        Suit[a] |= 1u << t;
        Suit[b] |= 1u << t;
        if (a == b) Doubles |= 1u << t;
      }
    }
  }
};

const TileTables& Tables() {
  static const TileTables tables;
  return tables;
}

// n! / (x0! x1! x2!) for n <= 21.
double Multinomial(int x0, int x1, int x2) {
  double r = 1;
  int n = 0;
  for (int x : {x0, x1, x2}) {
    for (int i = 1; i <= x; ++i) r = r * ++n / i;
  }
  return r;
}

}  // namespace

int TileIndex(int a, int b) {
  if (a < b) std::swap(a, b);
  return a * (a + 1) / 2 + b;
}
int TileHigh(int tile) {
  return Tables().High[tile];
}
int TileLow(int tile) {
  return Tables().Low[tile];
}
TileSet SuitTiles(int p) {
  return Tables().Suit[p];
}
TileSet TilesWithPips(unsigned pips) {
  TileSet t = 0;
  for (int p = 0; p < kPips; ++p) {
    if ((pips >> p) & 1u) t |= Tables().Suit[p];
  }
  return t;
}
int PipSum(TileSet tiles) {
  int sum = 0;
  while (tiles != 0) {
    sum += TilePips(std::countr_zero(tiles));
    tiles &= tiles - 1;
  }
  return sum;
}

Knowledge KnowledgeAt(const GameState& s, int seat, int move) {
  Knowledge k;
  k.Seat = seat;
  k.MoveNumber = move;
  TileSet dealt = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    dealt |= 1u << TileIndex(s.Hand[seat][slot].PipA, s.Hand[seat][slot].PipB);
  }
  for (int t = 1; t <= kSeats; ++t) {
    k.Count[t] = kSlots;
    k.FiveDoublesReturned[t] = s.RuleFiveDoubles == kFiveDoublesReturn &&
                               s.SeatControl[t] == kAutomatic && s.HandNumber >= 1;
  }
  TileSet played = 0;
  const int last = std::min<int>(move - 1, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = 1; n <= last; ++n) {
    const MoveEntry& e = s.MoveRecord[n];
    const int mover = e[kFSeat];
    if (mover < 1 || mover > kSeats) break;
    // Every record carries the ends as they stood before it; the lead lays
    // its first pips at end 2 and its second at end 1.
    if (n > 1) {
      k.Ends[1] = e[kFEnd1PipsBefore];
      k.Ends[2] = e[kFEnd2PipsBefore];
    }
    if (e[kFEnd] == kPassEnd) {
      for (int end = 1; end <= 2; ++end) {
        if (k.Ends[end] >= 0 && k.Ends[end] < kPips) k.Void[mover] |= 1u << k.Ends[end];
      }
      continue;
    }
    const int a = e[kFPipA];
    const int b = e[kFPipB];
    const int tile = TileIndex(a, b);
    played |= 1u << tile;
    k.Played[mover] |= 1u << tile;
    --k.Count[mover];
    if (n == 1) {
      k.Ends[1] = b;
      k.Ends[2] = a;
    } else {
      k.Ends[e[kFEnd] == 2 ? 2 : 1] = b;
    }
  }
  k.Own = dealt & ~played;
  k.Unseen = kAllTiles & ~dealt & ~played;
  k.ToMove = last >= 1 ? NextSeat(s.MoveRecord[last][kFSeat], s.DirectionStep) : s.LeadSeat;
  return k;
}

DealSampler::DealSampler(const Knowledge& knowledge) : k_(knowledge) {
  int i = 0;
  for (int step = 1; step < kSeats; ++step) {
    others_[i] = (k_.Seat - 1 + step) % kSeats + 1;
    need_[i] = std::clamp(k_.Count[others_[i]], 0, kSlots);
    ++i;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    classSize_.fill(0);
    TileSet unseen = k_.Unseen;
    while (unseen != 0) {
      const int t = std::countr_zero(unseen);
      unseen &= unseen - 1;
      int cls = 0;
      for (int o = 0; o < 3; ++o) {
        const unsigned pips = (1u << TileHigh(t)) | (1u << TileLow(t));
        const bool allowed = relaxed_ || (pips & k_.Void[others_[o]]) == 0;
        if (allowed) cls |= 1 << o;
      }
      classTiles_[cls][classSize_[cls]++] = t;
    }
    restAfter_[kClasses] = 0;
    for (int c = kClasses - 1; c >= 0; --c) restAfter_[c] = restAfter_[c + 1] + classSize_[c];
    for (auto& level : ways_) {
      for (auto& row : level) row.fill(0);
    }
    ways_[kClasses][0][0] = 1;
    for (int c = kClasses - 1; c >= 0; --c) {
      const int n = classSize_[c];
      for (int a = 0; a <= kSlots; ++a) {
        for (int b = 0; b <= kSlots; ++b) {
          const int third = restAfter_[c] - a - b;
          if (third < 0) continue;
          double w = 0;
          for (int x0 = 0; x0 <= std::min(n, a); ++x0) {
            if (x0 > 0 && (c & 1) == 0) break;
            for (int x1 = 0; x1 <= std::min(n - x0, b); ++x1) {
              if (x1 > 0 && (c & 2) == 0) break;
              const int x2 = n - x0 - x1;
              if (x2 > third || (x2 > 0 && (c & 4) == 0)) continue;
              w += Multinomial(x0, x1, x2) * ways_[c + 1][a - x0][b - x1];
            }
          }
          ways_[c][a][b] = w;
        }
      }
    }
    const bool countsAgree = restAfter_[0] == need_[0] + need_[1] + need_[2];
    if (!countsAgree || DealCount() > 0 || relaxed_) break;
    // A pass the counts cannot explain (only a damaged record could hold one):
    // deal as if nobody had passed rather than not at all.
    relaxed_ = true;
  }
}

bool DealSampler::Acceptable(const PerSeat<TileSet>& hands) const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (!k_.FiveDoublesReturned[seat]) continue;
    if (std::popcount((hands[seat] | k_.Played[seat]) & Tables().Doubles) >= 5) return false;
  }
  return true;
}

void DealSampler::Draw(Rng& rng, PerSeat<TileSet>& hands) const {
  // Rejecting the deals a seat would have given back keeps the rest uniform;
  // they are rare, so a few tries nearly always suffice.
  for (int attempt = 0; attempt < 64; ++attempt) {
    hands.fill(0);
    hands[k_.Seat] = k_.Own;
    if (DealCount() <= 0) return;
    int a = need_[0];
    int b = need_[1];
    for (int c = 0; c < kClasses; ++c) {
      const int n = classSize_[c];
      if (n == 0) continue;
      const int third = restAfter_[c] - a - b;
      // Choose how many of this class each seat takes, in proportion to the
      // number of whole deals each choice leaves.
      double pick = rng.Unit() * ways_[c][a][b];
      int x0 = 0;
      int x1 = 0;
      bool chosen = false;
      for (int y0 = 0; y0 <= std::min(n, a) && !chosen; ++y0) {
        if (y0 > 0 && (c & 1) == 0) break;
        for (int y1 = 0; y1 <= std::min(n - y0, b); ++y1) {
          if (y1 > 0 && (c & 2) == 0) break;
          const int y2 = n - y0 - y1;
          if (y2 > third || (y2 > 0 && (c & 4) == 0)) continue;
          const double w = Multinomial(y0, y1, y2) * ways_[c + 1][a - y0][b - y1];
          if (w <= 0) continue;
          x0 = y0;
          x1 = y1;
          pick -= w;
          if (pick < 0) {
            chosen = true;
            break;
          }
        }
      }
      // Which tiles of the class go where: a uniform shuffle.
      std::array<int, kTiles> tiles = classTiles_[c];
      for (int i = n - 1; i > 0; --i) std::swap(tiles[i], tiles[rng.Below(i + 1)]);
      for (int i = 0; i < n; ++i) {
        const int o = i < x0 ? 0 : (i < x0 + x1 ? 1 : 2);
        hands[others_[o]] |= 1u << tiles[i];
      }
      a -= x0;
      b -= x1;
    }
    if (Acceptable(hands)) return;
  }
}

}  // namespace tarvelis::expert
