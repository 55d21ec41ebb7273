#include "engine/loaded_game.h"

#include "engine/hand_end.h"
#include "engine/recorder.h"

namespace tarvelis {

void SettleLoadedGame(GameState& s) {
  ResetRecorder(s);
  s.OrderMode = false;
  s.TurnMode = false;
  s.DragActive = false;
  s.DragSlot = 0;
  s.SuggestionAsked = false;
  s.WaitingForEnd = false;
  s.ChoosingLeader = false;
  s.AllTilesFaceUp = false;
  s.MoveFound = false;
  s.HandReopened = false;
  s.NoticeShown = false;
  RecomputeTotals(s);
  RecomputePipsLeft(s);
}

bool AnswerRefreshRequest(EngineContext& ctx) {
  if (!ctx.State.RefreshRequest) return false;
  ctx.State.RefreshRequest = false;
  // Resuming moves the turn back one seat before the loop advances it, so the
  // seat saved as the one to move is the one that moves.
  RunMatch(ctx, LoopEntry::kResumeHand);
  return true;
}

}  // namespace tarvelis
