#include "engine/loaded_game.h"

#include "engine/hand_end.h"
#include "engine/recorder.h"

namespace tarvelis {

void SettleLoadedGame(GameState& s) {
  ResetRecorder(s);
  s.NoticeShown = false;
  RecomputeTotals(s);
  RecomputePipsLeft(s);
}

void ResumeLoadedGame(EngineContext& ctx) {
  // Resuming moves the turn back one seat before the loop advances it, so the
  // seat saved as the one to move is the one that moves.
  RunMatch(ctx, LoopEntry::kResumeHand);
}

}  // namespace tarvelis
