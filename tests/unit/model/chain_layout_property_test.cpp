// Properties of whole chains. Where a tile goes depends only on which end each
// tile goes to and which tiles are doubles, so every pattern of doubles along
// each arm is tried: that covers every chain a hand can lay, and finds the
// shortest chain that breaks a property rather than hoping a random hand
// stumbles on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
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

int HandIntrusion(const TableGeometry& g, const Rect& r) {
  int deepest = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    deepest = std::max(deepest, OverlapDepth(r, HandArea(g, seat)));
  }
  return deepest;
}

bool InsideTable(const TableGeometry& g, const Rect& r) {
  return r.x >= 0 && r.y >= 0 && r.x + r.w <= g.ScreenWidthPx && r.y + r.h <= g.ScreenHeightPx;
}

// What a table of a given size guarantees, as measured on the rules.
struct TableLimits {
  int width, height;
  int clearOverlapUpTo;  // chains of up to this many tiles never overlap by more than 2 px
  int clearHandsUpTo;    // ... and stay out of the hand areas
  int maxIntrusion;      // how far any chain may reach into a hand area
};

// A narrow table folds long arms back next to the first row and, past 13
// tiles, over earlier tiles; an 800 x 600 table holds 17; from 1024 x 768 on no
// hand of the game (at most 25 tiles) overlaps itself. The few pixels a long
// chain reaches into a hand area are a crosswise double on a side column or
// on the top or bottom row.
const TableLimits kLimits[] = {
    {640, 480, 13, 20, 28},
    {800, 600, 17, 15, 3},
    {1024, 768, 25, 13, 5},
    {1920, 1080, 25, 25, 0},
};

// ---------------------------------------------------------------------------
// Every pattern of doubles on each arm.

struct ArmTile {
  Rect r;
  bool firstIsDouble;  // arm 1: the lead; arm 2: its first tile
  bool operator<(const ArmTile& o) const {
    return std::tie(r.x, r.y, r.w, r.h, firstIsDouble) <
           std::tie(o.r.x, o.r.y, o.r.w, o.r.h, o.firstIsDouble);
  }
};

struct PatternSearch {
  static constexpr int kMaxArm = 25;
  GameState s;
  // [end][tiles on the arm] -> each distinct last tile and the fewest doubles
  // the arm needs to put it there.
  std::map<ArmTile, int> last[3][kMaxArm + 1];
  std::vector<Rect> path;
  int firstSelfOverlap = 99;  // in tiles of the whole chain
  int firstIntrusion = 99;
  int maxIntrusion = 0;
  bool allInside = true;
  bool relaysDiffer = false;

  explicit PatternSearch(int w, int h) {
    s.Table = ComputeTableGeometry(w, h);
    s.MoveRecord.resize(kMaxArm + 1);
    for (int end = 1; end <= 2; ++end) {
      ResetChainCursors(s);
      Grow(end, 0, 0, false, false);
    }
  }

  // The chain needs the lead on arm 1 before arm 2 has any tile.
  static int ChainLength(int end, int armTiles) { return end == 1 ? armTiles : armTiles + 1; }

  // A double can never follow a double on the same arm (its end shows the
  // double's pips, which only that double carries twice), and there are 7.
  void Grow(int end, int laid, int doubles, bool prevDouble, bool firstDouble) {
    if (laid == kMaxArm) return;
    for (int dbl = 0; dbl < 2; ++dbl) {
      if ((dbl && prevDouble) || doubles + dbl > 7) continue;
      const i16 col = s.EndCol[end], row = s.EndRow[end], head = s.EndHeading[end];
      const Rect r = Lay(end, laid + 1, dbl);
      const bool first = laid == 0 ? dbl : firstDouble;
      Note(end, laid + 1, r, doubles + dbl, first);
      path.push_back(r);
      Grow(end, laid + 1, doubles + dbl, dbl, first);
      path.pop_back();
      s.EndCol[end] = col;
      s.EndRow[end] = row;
      s.EndHeading[end] = head;
    }
  }

  Rect Lay(int end, int move, bool dbl) {
    s.MoveNumber = static_cast<i16>(move);
    s.PlayEnd = static_cast<i16>(end);
    s.PlayIsDouble = dbl;
    MoveEntry& e = s.MoveRecord[move];
    e = MoveEntry{};
    e[kFEnd] = static_cast<i16>(end);
    LayTile(s, e);
    Relay(e);
    return RectOf(e);
  }

  // Stepping a move back restores the end from the record's "before" fields;
  // laying the same tile again from there must give the same record, or a
  // stepped-back and replayed hand would draw differently.
  void Relay(const MoveEntry& e) {
    const int end = e[kFEnd];
    const i16 col = s.EndCol[end], row = s.EndRow[end], head = s.EndHeading[end];
    s.EndCol[end] = e[kFColBefore];
    s.EndRow[end] = e[kFRowBefore];
    s.EndHeading[end] = e[kFHeadingBefore];
    MoveEntry relaid = e;
    LayTile(s, relaid);
    relaysDiffer = relaysDiffer || relaid != e;
    s.EndCol[end] = col;
    s.EndRow[end] = row;
    s.EndHeading[end] = head;
  }

  void Note(int end, int tiles, const Rect& r, int doubles, bool first) {
    auto [it, fresh] = last[end][tiles].try_emplace(ArmTile{r, first}, doubles);
    if (!fresh) it->second = std::min(it->second, doubles);
    const int n = ChainLength(end, tiles);
    for (const Rect& o : path) {
      if (OverlapDepth(r, o) > 2) firstSelfOverlap = std::min(firstSelfOverlap, n);
    }
    const int in = HandIntrusion(s.Table, r);
    if (in > 0) firstIntrusion = std::min(firstIntrusion, n);
    maxIntrusion = std::max(maxIntrusion, in);
    allInside = allInside && InsideTable(s.Table, r);
  }

  // The shortest chain in which a tile of arm 1 and a tile of arm 2 overlap by
  // more than 2 px. A double lead cannot be followed by a double on end 2.
  int FirstCrossOverlap() const {
    int best = 99;
    for (int i = 1; i <= kMaxArm; ++i) {
      for (int j = 1; j <= kMaxArm && i + j < best; ++j) {
        if (ArmsMeet(i, j)) best = i + j;
      }
    }
    return best;
  }

  bool ArmsMeet(int i, int j) const {
    for (const auto& [a, da] : last[1][i]) {
      for (const auto& [b, db] : last[2][j]) {
        if (da + db > 7 || (a.firstIsDouble && b.firstIsDouble)) continue;
        if (OverlapDepth(a.r, b.r) > 2) return true;
      }
    }
    return false;
  }
};

TEST(ChainPatterns, EachTableSizeKeepsItsLimits) {
  for (const TableLimits& t : kLimits) {
    SCOPED_TRACE(::testing::Message() << t.width << "x" << t.height);
    const PatternSearch p(t.width, t.height);
    EXPECT_TRUE(p.allInside);
    EXPECT_FALSE(p.relaysDiffer);
    EXPECT_GT(std::min(p.firstSelfOverlap, p.FirstCrossOverlap()), t.clearOverlapUpTo);
    EXPECT_GT(p.firstIntrusion, t.clearHandsUpTo);
    EXPECT_LE(p.maxIntrusion, t.maxIntrusion);
  }
}

}  // namespace
}  // namespace tarvelis
