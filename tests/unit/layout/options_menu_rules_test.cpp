#include "layout/options_menu_rules.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(OptionsMenu, ArrangingOnAHandGamesElsewhereAndNothingWhileBusy) {
  GameState s;
  TableModes modes;
  OptionFlags on = EnabledOptions(s, modes, false);  // no match: load and delete only
  EXPECT_FALSE(on[kSaveGame]);
  EXPECT_TRUE(on[kLoadGame] && on[kDeleteGame] && on[kNetworkPlay]);
  EXPECT_EQ(EnabledOptions(s, modes, true), OptionFlags{});  // no hand to arrange
  s.MatchInProgress = s.HandInProgress = true;
  EXPECT_EQ(EnabledOptions(s, modes, false), OptionFlags{}) << "a tile travels, a seat thinks";
  s.NoticeShown = true;
  on = EnabledOptions(s, modes, true);
  EXPECT_TRUE(on[kOrderTiles] && on[kTurnTiles]);
  EXPECT_FALSE(on[kSaveGame] || on[kLoadGame] || on[kDeleteGame]);
  on = EnabledOptions(s, modes, false);
  EXPECT_TRUE(on[kSaveGame] && on[kLoadGame] && on[kDeleteGame] && on[kNetworkPlay]);
  EXPECT_FALSE(on[kOrderTiles]);
  // At a server's table no saved game is offered, nor a second table.
  modes.Networked = true;
  on = EnabledOptions(s, modes, false);
  EXPECT_FALSE(on[kSaveGame] || on[kLoadGame] || on[kDeleteGame] || on[kNetworkPlay]);
  // A watched table's hands are nobody's here: nothing to arrange.
  EXPECT_TRUE(EnabledOptions(s, modes, true)[kOrderTiles]);
  modes.Watching = true;
  EXPECT_EQ(EnabledOptions(s, modes, true), OptionFlags{});
  modes.Watching = false;
  modes.Networked = false;
  // Whatever else holds the table (dealing by hand, the leader to choose, a
  // drag, the end arrows) the menu offers nothing.
  for (bool TableModes::*busy : {&TableModes::AllTilesFaceUp, &TableModes::ChoosingLeader,
                                 &TableModes::DragActive, &TableModes::WaitingForEnd}) {
    TableModes held;
    held.*busy = true;
    EXPECT_EQ(EnabledOptions(s, held, true), OptionFlags{});
    EXPECT_EQ(EnabledOptions(s, held, false), OptionFlags{});
  }
}

}  // namespace
}  // namespace tarvelis
