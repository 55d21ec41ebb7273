#include "model/game_state.h"

namespace tarvelis {

void ApplyDefaults(GameState& s) {
  static_cast<SeatOptions&>(s) = SeatOptions{};
  static_cast<HouseRules&>(s) = HouseRules{};
  s.MatchInProgress = false;
  SyncDirectionStep(s);
}

namespace {

template <class Part>
bool Same(const GameState& a, const GameState& b) {
  return static_cast<const Part&>(a) == static_cast<const Part&>(b);
}

}  // namespace

std::string FirstCarriedDifference(const GameState& a, const GameState& b) {
  if (!Same<SeatOptions>(a, b)) return "seat options";
  if (!Same<HouseRules>(a, b)) return "house rules";
  if (!Same<MatchFlags>(a, b)) return "match flags";
  if (!Same<DealtHands>(a, b)) return "hands";
  if (!Same<ChainEnds>(a, b)) return "chain ends";
  for (int h = 1; h < a.HandNumber && h <= kHandLogSize; ++h) {
    if (a.HandLog[h] != b.HandLog[h]) return "hand log " + std::to_string(h);
  }
  for (int m = 1; m < a.MoveNumber; ++m) {
    const bool inA = m < static_cast<int>(a.MoveRecord.size());
    const bool inB = m < static_cast<int>(b.MoveRecord.size());
    if (inA != inB || (inA && a.MoveRecord[m] != b.MoveRecord[m])) {
      return "move record " + std::to_string(m);
    }
  }
  return {};
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
