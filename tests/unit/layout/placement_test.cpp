#include "layout/placement.h"

#include <gtest/gtest.h>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"

namespace tarvelis {
namespace {

bool Clear(const Rect& r, const std::vector<Rect>& keepClear) {
  for (const Rect& k : keepClear) {
    if (CoveredArea(r, k) > 0) return false;
  }
  return true;
}

// A long chain fills the middle of the table; the picture goes where it
// hides neither a tile nor a hand, a button or a name.
TEST(DominoPlace, HidesNoTileWhileTheTableHasRoom) {
  for (auto [w, h] : {std::pair{640, 480}, std::pair{800, 600}, std::pair{1920, 1080}}) {
    SCOPED_TRACE(w);
    GameState s;
    s.Table = ComputeTableGeometry(w, h);
    s.MoveNumber = 20;
    s.MoveRecord.assign(41, MoveEntry{});
    std::vector<Rect> tiles;
    // A cross of tiles through the middle, and one tile right above the
    // continue button, where the picture would go on an empty table.
    const Rect button{w - 153, h - 62, 83, 24};
    for (int m = 1; m <= 20; ++m) {
      MoveEntry& e = s.MoveRecord[m];
      e[kFEnd] = 1;
      const bool across = m <= 10;
      e[kFTileLeft] = static_cast<i16>(across ? w / 2 - 300 + 60 * (m - 1) : w / 2 - 18);
      e[kFTileTop] = static_cast<i16>(across ? h / 2 - 18 : h / 2 - 200 + 40 * (m - 11));
      e[kFTileWidth] = static_cast<i16>(across ? 62 : 36);
      e[kFTileHeight] = static_cast<i16>(across ? 36 : 42);
      if (m == 20) {
        e[kFTileLeft] = static_cast<i16>(button.x + 20);
        e[kFTileTop] = static_cast<i16>(button.y - 40);
      }
      tiles.push_back(Rect{e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]});
    }
    const Rect r = DominoPlace(s, button);
    EXPECT_TRUE(Clear(r, tiles)) << r.x << "," << r.y;
    EXPECT_EQ(CoveredArea(r, button), 0);
    for (int seat = 1; seat <= kSeats; ++seat)
      EXPECT_EQ(CoveredArea(r, HandArea(s.Table, seat)), 0);
    for (int n = 1; n <= kBarButtons; ++n) {
      const ButtonPlace b = PlaceOfButton(n, s.Table);
      EXPECT_EQ(CoveredArea(r, Rect{b.x, b.y, b.w, b.h}), 0) << "button " << n;
    }
  }
}

TEST(KeepOnTable, ATravellingTileNeverLeavesTheTable) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  struct Case {
    Point in, out;
  };
  const Case cases[] = {
      {{100, 200}, {100, 200}}, {{-30000, 200}, {0, 200}}, {{30000, 30000}, {738, 564}},
      {{762, -5}, {738, 0}},    {{738, 564}, {738, 564}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepOnTable(g, c.in, 62, 36), c.out) << c.in.x << "," << c.in.y;
  }
}

}  // namespace
}  // namespace tarvelis
