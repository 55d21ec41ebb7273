#include "table/options_menu_rules.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(OptionsMenu, OffersArrangingOnAHandAndGamesElsewhere) {
  GameState s;
  s.MatchInProgress = true;
  s.HandInProgress = true;
  s.NoticeShown = true;
  OptionFlags hand = EnabledOptions(s, true);
  EXPECT_TRUE(hand[kOrderTiles] && hand[kTurnTiles]);
  EXPECT_FALSE(hand[kSaveGame] || hand[kLoadGame] || hand[kDeleteGame]);
  OptionFlags table = EnabledOptions(s, false);
  EXPECT_TRUE(table[kSaveGame] && table[kLoadGame] && table[kDeleteGame]);
  EXPECT_FALSE(table[kOrderTiles]);
}

TEST(OptionsMenu, NothingWhilePlayRunsOrTheUserIsBusy) {
  GameState s;
  s.MatchInProgress = true;
  s.HandInProgress = true;
  s.NoticeShown = false;  // a tile is travelling, a seat is thinking
  EXPECT_EQ(EnabledOptions(s, false), OptionFlags{});
  s.NoticeShown = true;
  s.ChoosingLeader = true;
  EXPECT_EQ(EnabledOptions(s, true), OptionFlags{});
}

TEST(OptionsMenu, WithoutAMatchOnlyLoadingAndDeleting) {
  GameState s;
  OptionFlags on = EnabledOptions(s, false);
  EXPECT_FALSE(on[kSaveGame]);
  EXPECT_TRUE(on[kLoadGame] && on[kDeleteGame]);
  EXPECT_EQ(EnabledOptions(s, true), OptionFlags{});  // no hand to arrange
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
