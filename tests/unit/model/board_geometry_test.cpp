#include "model/board_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace tarvelis {
namespace {

// A hand on a table of the given size with the move in hand set up for the
// next move; earlier moves go straight into the record.
std::tuple<int, int, int, int> RectTuple(const MoveEntry& e) {
  return {e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]};
}

class LayTileTest : public ::testing::Test {
 protected:
  GameState s;

  void Table(int w, int h) {
    s.Table = ComputeTableGeometry(w, h);
    ResetChainCursors(s);
    s.MoveNumber = 0;
  }

  // Lays a tile as move MoveNumber + 1 on `end` and returns its record.
  const MoveEntry& Lay(int end, int a, int b) {
    ++s.MoveNumber;
    if (static_cast<int>(s.MoveRecord.size()) <= s.MoveNumber)
      s.MoveRecord.resize(s.MoveNumber + 1);
    s.PlayEnd = static_cast<i16>(end);
    s.PlayPipA = static_cast<i16>(a);
    s.PlayPipB = static_cast<i16>(b);
    s.PlayIsDouble = a == b;
    MoveEntry& e = s.MoveRecord[s.MoveNumber];
    e = MoveEntry{};
    e[kFEnd] = static_cast<i16>(end);
    LayTile(s, e);
    return e;
  }

  // Moves an end's cursor as if its arm had grown there.
  void PutCursor(int end, int x, int y, int heading) {
    s.EndCol[end] = static_cast<i16>(x);
    s.EndRow[end] = static_cast<i16>(y);
    s.EndHeading[end] = static_cast<i16>(heading);
  }
};

// Each old heading's just-past turn with a double: laid lengthwise along the
// new heading and centred on the old 40-pixel track.
TEST_F(LayTileTest, DoubleOnATurnIsLengthwiseAndCentredOnTheOldTrack) {
  struct Case {
    int end, x, y, heading;
    int left, top, w, h, newHeading;
  };
  const Case cases[] = {
      // Right arm of end 1 past 663: turns down, the double stands on x+1
      // with its middle on the track's middle (y .. y+39).
      {1, 700, 262, kHeadRight, 701, 262 - 19, 40, 77, kHeadDown},
      // Left arm of end 2 past 136: turns up.
      {2, 130, 262, kHeadLeft, 90, 262 - 18, 40, 77, kHeadUp},
      // Up arm of end 2 past 136: turns right, flat and centred on x .. x+39.
      {2, 100, 120, kHeadUp, 100 - 19, 80, 77, 40, kHeadRight},
      // Down arm of end 1 past 425: turns left.
      {1, 700, 430, kHeadDown, 700 - 18, 431, 77, 40, kHeadLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    Table(800, 600);
    PutCursor(c.end, c.x, c.y, c.heading);
    const MoveEntry& e = Lay(c.end, 3, 3);
    EXPECT_EQ(e[kFCrosswise], 0);
    EXPECT_EQ(RectTuple(e), std::make_tuple(c.left, c.top, c.w, c.h));
    EXPECT_EQ(e[kFHeadingAfter], c.newHeading);
    EXPECT_EQ(s.EndHeading[c.end], c.newHeading);
    // Centred on the old track: 77 and 40 differ by an odd number, so the
    // middles are half a pixel apart (compared doubled, in whole numbers).
    const bool across = c.heading == kHeadRight || c.heading == kHeadLeft;
    const int start = across ? e[kFTileTop] : e[kFTileLeft];
    const int track = across ? c.y : c.x;
    EXPECT_EQ(std::abs((2 * start + 76) - (2 * track + 39)), 1);
  }
}

}  // namespace
}  // namespace tarvelis
