#include "engine/loaded_game.h"

#include "engine/hand_end.h"
#include "engine/recorder.h"

namespace tarvelis {

void ResumeLoadedGame(EngineContext& ctx) {
  GameState& s = ctx.State;
  ResetRecorder(s);
  s.NoticeShown = false;
  RecomputePipsLeft(s);
  ctx.Port.GameLoaded();
  // Resuming moves the turn back one seat before the loop advances it, so the
  // seat saved as the one to move is the one that moves.
  RunMatch(ctx, LoopEntry::kLoadedGame);
}

}  // namespace tarvelis
