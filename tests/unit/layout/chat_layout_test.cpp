// The chat's place on a networked table: never over a hand, a name, the
// chain's reach or the table's controls, at the smallest, the classic and a
// wide table; folded on a small one; beside the move list while it shows.
#include "layout/chat_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/headless_play.h"
#include "layout/recorder_layout.h"
#include "layout/table_view.h"

namespace tarvelis {
namespace {

struct Size {
  int W;
  int H;
};

std::vector<Rect> Obstacles(const TableGeometry& g) {
  std::vector<Rect> taken{ChainReach(g), RecorderPanelRect(g)};
  for (int seat = 1; seat <= kSeats; ++seat) {
    taken.push_back(HandArea(g, seat));
    taken.push_back(SpacedNameStrip(g, seat));
    taken.push_back(WholeNameArea(g, seat));
  }
  return taken;
}

std::vector<Rect> Parts(const ChatPlace& p) {
  return {p.Toggle, p.Lines, p.Input};
}

TEST(ChatLayout, NeverCoversAHandANameOrTheChain) {
  // 1920 x 1080 is laid out as its logical table, 1365 x 768.
  const TableSize wide = LogicalTableFor(1920, 1080, TableLook::kScaled);
  for (const Size size : {Size{640, 480}, Size{800, 600}, Size{wide.w, wide.h}, Size{1024, 768}}) {
    const TableGeometry g = ComputeTableGeometry(size.W, size.H);
    const Rect list = MoveListRect(g, false);
    for (const Rect* shown : {static_cast<const Rect*>(nullptr), &list}) {
      const ChatPlace p = PlaceChat(g, shown);
      const std::string at = std::to_string(size.W) + "x" + std::to_string(size.H) +
                             (shown != nullptr ? " with the list" : "");
      for (const Rect& part : Parts(p)) {
        EXPECT_GE(part.x, 0) << at;
        EXPECT_LE(part.x + part.w, size.W) << at;
        EXPECT_LE(part.y + part.h, size.H) << at;
        for (const Rect& taken : Obstacles(g)) EXPECT_FALSE(Overlap(part, taken)) << at;
        if (shown != nullptr) {
          EXPECT_FALSE(Overlap(part, *shown)) << at;
        }
      }
      if (shown == nullptr) {
        EXPECT_GT(p.Toggle.w, 0) << at;
        EXPECT_GT(p.Input.w, 0) << at;
      }
    }
  }
}

// The chain's reach holds every tile of real chains, at every table size.
TEST(ChatLayout, TheChainStaysInsideItsReach) {
  for (const Size size : {Size{640, 480}, Size{800, 600}, Size{1365, 768}}) {
    const TableGeometry g = ComputeTableGeometry(size.W, size.H);
    const Rect reach = ChainReach(g);
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
      GameState s;
      s.Table = g;
      PlayHeadlessTo(s, 40, seed);
      for (int n = 1; n < static_cast<int>(s.MoveRecord.size()); ++n) {
        const MoveEntry& e = s.MoveRecord[static_cast<std::size_t>(n)];
        if ((e[kFEnd] != 1 && e[kFEnd] != 2) || e[kFTileWidth] == 0) continue;
        EXPECT_GE(e[kFTileLeft], reach.x) << size.W << " seed " << seed;
        EXPECT_GE(e[kFTileTop], reach.y) << size.W << " seed " << seed;
        EXPECT_LE(e[kFTileLeft] + e[kFTileWidth], reach.x + reach.w) << size.W;
        EXPECT_LE(e[kFTileTop] + e[kFTileHeight], reach.y + reach.h) << size.W;
      }
    }
  }
}

TEST(ChatLayout, FoldsToOneRowOnASmallTable) {
  const ChatPlace small = PlaceChat(ComputeTableGeometry(640, 480));
  EXPECT_TRUE(small.Folded);
  EXPECT_EQ(small.Lines.y, small.Input.y);
  const ChatPlace wide = PlaceChat(ComputeTableGeometry(1365, 768));
  EXPECT_FALSE(wide.Folded);
  EXPECT_GE(wide.LineCount, 2);
  EXPECT_LT(wide.Lines.y + wide.Lines.h, wide.Input.y + 1);
}

}  // namespace
}  // namespace tarvelis
