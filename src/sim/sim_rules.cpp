#include "sim/sim_rules.h"

namespace tarvelis::sim {
namespace {

struct RuleField {
  const char* Name;
  i16 GameState::*Field;
};

constexpr RuleField kRules[] = {
    {"RulePauseBetweenMoves", &GameState::RulePauseBetweenMoves},
    {"RulePlayedTilesShown", &GameState::RulePlayedTilesShown},
    {"RuleDirection", &GameState::RuleDirection},
    {"RuleSound", &GameState::RuleSound},
    {"RuleMoveList", &GameState::RuleMoveList},
    {"RuleDealing", &GameState::RuleDealing},
    {"RuleFiveDoubles", &GameState::RuleFiveDoubles},
    {"RuleFirstLead", &GameState::RuleFirstLead},
    {"RuleNextLead", &GameState::RuleNextLead},
    {"RuleScoring", &GameState::RuleScoring},
    {"RuleCountedPips", &GameState::RuleCountedPips},
    {"RuleScoringPair", &GameState::RuleScoringPair},
    {"RuleTieWinner", &GameState::RuleTieWinner},
    {"RuleTieLead", &GameState::RuleTieLead},
    {"RuleMode", &GameState::RuleMode},
    {"MatchTarget", &GameState::MatchTarget},
    {"GameSpeed", &GameState::GameSpeed},
};

i16 Pick(Random& rng, int count) {
  return static_cast<i16>(rng.Draw(count));
}

}  // namespace

bool SetRule(GameState& s, const std::string& name, int value) {
  for (const RuleField& rule : kRules) {
    if (name != rule.Name) continue;
    s.*rule.Field = static_cast<i16>(value);
    if (rule.Field == &GameState::RuleDirection) SyncDirectionStep(s);
    return true;
  }
  return false;
}

void VaryRules(GameState& s, Random& rng) {
  s.RuleMode = Pick(rng, 2);
  const bool pairs = s.RuleMode == kModePairs;
  s.RuleScoring = Pick(rng, 2);
  s.RuleCountedPips = Pick(rng, 2);
  s.RuleScoringPair = Pick(rng, 2);
  s.RuleTieWinner = Pick(rng, pairs ? 3 : 2);
  s.RuleTieLead = Pick(rng, 2);
  s.RuleNextLead = Pick(rng, pairs ? 4 : 3);
  s.RuleFirstLead = Pick(rng, 2);
  s.RuleDirection = Pick(rng, 2);
  SyncDirectionStep(s);
  s.RuleFiveDoubles = Pick(rng, 2);
  s.RuleDealing = Pick(rng, 2);
  s.RulePauseBetweenMoves = Pick(rng, 2);
  // Short matches keep a run of thousands quick: a few tens, or a few dozen
  // points.
  s.MatchTarget = s.RuleScoring == kScoreTens ? Pick(rng, 8) : static_cast<i16>(10 + rng.Draw(90));
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatControl[seat] = Pick(rng, 2);
    s.SeatTilesShown[seat] =
        s.SeatControl[seat] == kManual ? static_cast<i16>(kTilesVisible) : Pick(rng, 2);
    s.SeatLevel[seat] = static_cast<i16>(rng.Draw(101) - 1);
  }
}

}  // namespace tarvelis::sim
