// Properties of whole chains on every table size. Where a tile goes depends
// only on which end each tile goes to and which tiles are doubles, so seeded
// chains of random ends and doubles (never two doubles running on one arm, at
// most seven) stand for every hand the game can lay.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "layout/hand_layout.h"
#include "model/board_geometry.h"

namespace tarvelis {
namespace {

Rect RectOf(const MoveEntry& e) {
  return Rect{e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]};
}

// How deep two rectangles overlap: the thinner side of their intersection.
int OverlapDepth(const Rect& a, const Rect& b) {
  const int w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
  const int h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
  return w > 0 && h > 0 ? std::min(w, h) : 0;
}

// What a table of a given size guarantees. A narrow table folds long arms back
// next to the first row and, past 13 tiles, over earlier tiles; an 800 x 600
// table holds 17; from 1024 x 768 on no hand of the game (at most 25 tiles)
// overlaps itself. The few pixels a long chain reaches into a hand area are a
// crosswise double on a side column or on the top or bottom row.
struct TableLimits {
  int width, height;
  int clearOverlapUpTo;  // chains of up to this many tiles never overlap by more than 2 px
  int clearHandsUpTo;    // ... and stay out of the hand areas
  int maxIntrusion;      // how far any chain may reach into a hand area
};

TEST(ChainPatterns, EachTableSizeKeepsItsLimits) {
  const TableLimits limits[] = {{640, 480, 13, 20, 28},
                                {800, 600, 17, 15, 3},
                                {1024, 768, 25, 13, 5},
                                {1920, 1080, 25, 25, 0}};
  std::mt19937 rng(7);
  for (const TableLimits& t : limits) {
    SCOPED_TRACE(::testing::Message() << t.width << "x" << t.height);
    for (int chain = 0; chain < 3000; ++chain) {
      GameState s;
      s.Table = ComputeTableGeometry(t.width, t.height);
      s.MoveRecord.resize(26);
      ResetChainCursors(s);
      bool lastDouble[3] = {false, false, false};
      int doubles = 0;
      for (int n = 1; n <= 25; ++n) {
        const int end = n == 1 ? 1 : static_cast<int>(rng() % 2) + 1;
        const bool dbl = !lastDouble[end] && doubles < 7 && rng() % 3 == 0;
        s.MoveNumber = static_cast<i16>(n);
        s.PlayEnd = static_cast<i16>(end);
        s.PlayIsDouble = dbl;
        MoveEntry& e = s.MoveRecord[n];
        e[kFEnd] = static_cast<i16>(end);
        LayTile(s, e);
        lastDouble[end] = dbl;
        if (n == 1) lastDouble[2] = dbl;  // both ends show the lead's pips
        doubles += dbl;
        // Laid again from the record's "before" fields (a stepped-back and
        // replayed move) the tile lands where it did.
        GameState again = s;
        again.EndCol[end] = e[kFColBefore];
        again.EndRow[end] = e[kFRowBefore];
        again.EndHeading[end] = e[kFHeadingBefore];
        MoveEntry relaid = e;
        LayTile(again, relaid);
        ASSERT_EQ(relaid, e) << "move " << n;
        const Rect r = RectOf(e);
        ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= t.width && r.y + r.h <= t.height);
        for (int k = 1; k < n && n <= t.clearOverlapUpTo; ++k) {
          ASSERT_LE(OverlapDepth(r, RectOf(s.MoveRecord[k])), 2) << "moves " << k << ", " << n;
        }
        for (int seat = 1; seat <= kSeats; ++seat) {
          const int in = OverlapDepth(r, HandArea(s.Table, seat));
          ASSERT_LE(in, n <= t.clearHandsUpTo ? 0 : t.maxIntrusion) << "move " << n;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvelis
