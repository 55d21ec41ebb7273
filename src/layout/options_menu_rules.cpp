#include "layout/options_menu_rules.h"

namespace tarvelis {

OptionFlags EnabledOptions(const GameState& s, const TableModes& modes, bool inHand,
                           HandReviewStatus review) {
  OptionFlags on{};
  const bool still = !s.MatchInProgress || s.RecorderOn || s.NoticeShown;
  if (!still || modes.Busy()) return on;
  if (!inHand) {
    // Saved games belong to the local match.
    on[kSaveGame] = s.HandInProgress && !modes.Networked;
    on[kLoadGame] = (s.HandInProgress || !s.MatchInProgress) && !modes.Networked;
    on[kDeleteGame] = !modes.Networked;
    // While the recorder is on, the menu is about the hand it shows.
    on[kWindowedTable] = !s.RecorderOn;
    on[kClassicTable] = !s.RecorderOn;
    // One table at a time: the networked match holds the only place for one.
    on[kNetworkPlay] = !s.RecorderOn && !modes.Networked;
  } else if (s.HandInProgress && !modes.Watching) {
    on[kOrderTiles] = true;
    on[kTurnTiles] = true;
  }
  // The recorder is on only over a hand on the table, played or just finished.
  on[kAnalyseHand] = s.RecorderOn && !s.RecorderBusy && s.LiveMoveNumber >= 2 &&
                     review == HandReviewStatus::kNone && !(modes.Networked && s.HandInProgress);
  return on;
}

void ToggleArrangeMode(TableModes& m, OptionEntry entry) {
  if (entry == kOrderTiles) {
    m.OrderMode = !m.OrderMode;
    if (m.OrderMode) m.TurnMode = false;
  } else if (entry == kTurnTiles) {
    m.TurnMode = !m.TurnMode;
    if (m.TurnMode) m.OrderMode = false;
  }
}

}  // namespace tarvelis
