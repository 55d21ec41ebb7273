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

TEST_F(LayTileTest, PlainLeadAndFirstTileOfEndTwoOverlapByTwo) {
  Table(800, 600);
  const MoveEntry lead = Lay(1, 5, 3);
  EXPECT_EQ(RectTuple(lead), std::make_tuple(401, s.Table.ChainOriginY, 77, 40));
  EXPECT_EQ(lead[kFPipAX], 405);
  EXPECT_EQ(lead[kFPipBX], 442);
  EXPECT_EQ(std::make_tuple(lead[kFColBefore], lead[kFColAfter], s.EndCol[2]),
            std::make_tuple(400, 477, 403));
  EXPECT_EQ(lead[kFHeadingAfter], kHeadRight);
  // The first tile of end 2 has no previous tile on its own arm, so it is not
  // shifted although the lead lies in the other half; the two share 2 px.
  const MoveEntry& first = Lay(2, 5, 1);
  EXPECT_EQ(first[kFTileLeft], 326);
  EXPECT_EQ(first[kFTileSide], 2);
  EXPECT_EQ(first[kFPipBX], 326);  // pip B is the outer, left half growing left
  EXPECT_EQ(s.EndCol[2], 326);
}

TEST_F(LayTileTest, DoubleLeadStandsAcrossTheTrack) {
  Table(800, 600);
  const int y = s.Table.ChainOriginY;
  const MoveEntry lead = Lay(1, 4, 4);
  EXPECT_EQ(RectTuple(lead), std::make_tuple(401, y - 18, 40, 77));
  EXPECT_EQ(lead[kFPipBY], y - 18 + 37);
  EXPECT_EQ(lead[kFCrosswise], 1);
  EXPECT_EQ(s.EndCol[1], 440);
  EXPECT_EQ(s.EndRow[1], y);  // the track stays where it was
  EXPECT_EQ(Lay(1, 4, 2)[kFTileLeft], 441) << "the next tile touches the double";
}

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

// Where an arm crosses the middle of the table, the first tile in the new half
// is pulled 2 px back over the previous one.
TEST_F(LayTileTest, TileCrossingTheMiddleMovesTwoPixelsBack) {
  Table(800, 600);
  PutCursor(2, 350, 100, kHeadRight);  // the top row of end 2, running right
  const MoveEntry left = Lay(2, 1, 2);
  ASSERT_EQ(left[kFTileSide], 2);
  const MoveEntry& right = Lay(2, 2, 3);
  EXPECT_EQ(right[kFTileSide], 1);
  EXPECT_EQ(right[kFTileLeft], 351 + 77 - 2);
  EXPECT_EQ(right[kFPipAX], 351 + 77 - 2 + 4);  // pips follow the moved tile
  EXPECT_EQ(s.EndCol[2], 351 + 77 - 2 + 76);
  EXPECT_EQ(Lay(2, 3, 4)[kFTileLeft], 351 + 77 - 2 + 77);  // then tiles touch again
}

// The rows that come back towards the middle of a narrow table are held next
// to the first row; a wide table leaves them where the turn put them.
TEST_F(LayTileTest, NarrowTableHoldsReturningRowsNearTheFirstRow) {
  struct Case {
    int end, y, heading, narrowRow, wideRow;
  };
  const Case cases[] = {
      {1, 318, kHeadUp, 274, 278},    // just past: y - 40, held at 274
      {1, 230, kHeadUp, 243, 230},    // far past: y kept, raised to 243
      {2, 110, kHeadDown, 127, 111},  // just past: y + 1, lowered to 127
      {2, 210, kHeadDown, 161, 170},  // far past: y - 40, held at 161
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    Table(640, 480);
    PutCursor(c.end, 300, c.y, c.heading);
    EXPECT_EQ(Lay(c.end, 1, 2)[kFTileTop], c.narrowRow);
    Table(1024, 768);  // limits: heading 2 end 1 at 463, heading 4 end 2 at 249
    PutCursor(c.end, 300, c.y + 144, c.heading);
    EXPECT_EQ(Lay(c.end, 1, 2)[kFTileTop], c.wideRow + 144);
  }
}

// Before any window exists the state carries the 800 x 600 table.
TEST(TableGeometry, DefaultIsTheEightHundredTable) {
  const TableGeometry d;
  const TableGeometry g = ComputeTableGeometry(800, 600);
  EXPECT_EQ(std::make_tuple(d.ChainOriginX, d.ChainOriginY, d.T1, d.L2, d.L4),
            std::make_tuple(g.ChainOriginX, g.ChainOriginY, g.T1, g.L2, g.L4));
  EXPECT_TRUE(std::equal(&d.TurnLimit[0][0], &d.TurnLimit[4][3], &g.TurnLimit[0][0]));
}

}  // namespace
}  // namespace tarvelis
