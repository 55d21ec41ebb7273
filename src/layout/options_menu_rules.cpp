#include "layout/options_menu_rules.h"

namespace tarvelis {

OptionFlags EnabledOptions(const GameState& s, bool inHand) {
  OptionFlags on{};
  const bool still = !s.MatchInProgress || s.RecorderOn || s.NoticeShown;
  if (!still || s.AllTilesFaceUp || s.ChoosingLeader || s.DragActive) return on;
  if (!inHand) {
    on[kSaveGame] = s.HandInProgress;
    on[kLoadGame] = s.HandInProgress || !s.MatchInProgress;
    on[kDeleteGame] = true;
  } else if (s.HandInProgress) {
    on[kOrderTiles] = true;
    on[kTurnTiles] = true;
  }
  return on;
}

void ToggleArrangeMode(GameState& s, OptionEntry entry) {
  if (entry == kOrderTiles) {
    s.OrderMode = !s.OrderMode;
    if (s.OrderMode) s.TurnMode = false;
  } else if (entry == kTurnTiles) {
    s.TurnMode = !s.TurnMode;
    if (s.TurnMode) s.OrderMode = false;
  }
}

}  // namespace tarvelis
