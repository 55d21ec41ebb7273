#include "model/game_state.h"

namespace tarvelis {

void ApplyDefaults(GameState& s) {
  static const char* const kNames[] = {"", "Jugador1", "Jugador2", "Jugador3", "Jugador4"};
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatName[seat] = kNames[seat];
    s.SeatLevel[seat] = seat == 4 ? 100 : 50;
    s.SeatTilesShown[seat] = seat == 4 ? kTilesVisible : kTilesHidden;
    s.SeatControl[seat] = seat == 4 ? kManual : kAutomatic;
  }
  s.RulePauseBetweenMoves = 1;
  s.RulePlayedTilesShown = 1;
  s.RuleDirection = 1;
  s.RuleSound = 1;
  s.RuleMoveList = 2;
  s.RuleFiveDoubles = 1;
  s.RuleDealing = 1;
  s.RuleFirstLead = 1;
  s.RuleScoring = 1;
  s.RuleTieWinner = 1;
  s.RuleTieLead = 1;
  s.RuleNextLead = 1;
  s.RuleCountedPips = 1;
  s.RuleScoringPair = 1;
  s.RuleMode = 1;
  s.MatchTarget = 5;
  s.GameSpeed = 50;
  s.MatchInProgress = false;
  SyncDirectionStep(s);
}

GameState& TheGameState() {
  static GameState state;
  return state;
}

int NextSeat(int seat, int step) {
  seat += step;
  if (seat == 5) return 1;
  if (seat == 0) return 4;
  return seat;
}

void AdvanceTurn(GameState& s) {
  s.CurrentSeat = static_cast<i16>(NextSeat(s.CurrentSeat, s.DirectionStep));
  ++s.MoveNumber;
}

void TurnBack(GameState& s) {
  s.CurrentSeat = static_cast<i16>(NextSeat(s.CurrentSeat, -s.DirectionStep));
  --s.MoveNumber;
}

void SyncDirectionStep(GameState& s) {
  s.DirectionStep = s.RuleDirection == kDirect ? 1 : -1;
}

}  // namespace tarvelis
