#include "layout/options_menu_rules.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(OptionsMenu, ArrangingOnAHandGamesElsewhereAndNothingWhileBusy) {
  GameState s;
  OptionFlags on = EnabledOptions(s, false);  // no match: load and delete only
  EXPECT_FALSE(on[kSaveGame]);
  EXPECT_TRUE(on[kLoadGame] && on[kDeleteGame]);
  EXPECT_EQ(EnabledOptions(s, true), OptionFlags{});  // no hand to arrange
  s.MatchInProgress = s.HandInProgress = true;
  EXPECT_EQ(EnabledOptions(s, false), OptionFlags{}) << "a tile travels, a seat thinks";
  s.NoticeShown = true;
  on = EnabledOptions(s, true);
  EXPECT_TRUE(on[kOrderTiles] && on[kTurnTiles]);
  EXPECT_FALSE(on[kSaveGame] || on[kLoadGame] || on[kDeleteGame]);
  on = EnabledOptions(s, false);
  EXPECT_TRUE(on[kSaveGame] && on[kLoadGame] && on[kDeleteGame]);
  EXPECT_FALSE(on[kOrderTiles]);
  s.ChoosingLeader = true;
  EXPECT_EQ(EnabledOptions(s, true), OptionFlags{});
}

TEST(OptionsMenu, ArrangeModesExcludeEachOther) {
  GameState s;
  ToggleArrangeMode(s, kOrderTiles);
  EXPECT_TRUE(s.OrderMode);
  ToggleArrangeMode(s, kTurnTiles);
  EXPECT_TRUE(s.TurnMode);
  EXPECT_FALSE(s.OrderMode);
  ToggleArrangeMode(s, kTurnTiles);
  EXPECT_FALSE(s.TurnMode || s.OrderMode);
}

}  // namespace
}  // namespace tarvelis
