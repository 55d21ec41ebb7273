#include "protocol/rules_line.h"

#include <array>
#include <cctype>
#include <string_view>
#include <utility>

#include "model/texts.h"

namespace tarvelis::server {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string ValueWord(int selector, int value) {
  const auto& values = kSelectorWords[selector].Values;
  return value >= 1 && value <= 4 && values[value - 1] != nullptr ? values[value - 1] : "?";
}

}  // namespace

std::string RoomRulesLine(const HouseRules& rules) {
  const bool pairs = rules.RuleMode == kModePairs;
  std::string scoring = ValueWord(9, rules.RuleScoring);
  scoring[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(scoring[0])));
  std::string line = ValueWord(15, rules.RuleMode) + ", " + kNetworkMatchOf + " " +
                     std::to_string(rules.MatchTarget) + " " + kNetworkPointsWord + ", " + scoring;
  // Those a server's table plays; the pace, the sound and the look are each
  // screen's own, and a server always deals at random.
  const HouseRules defaults;
  const std::array<std::pair<int, i16 HouseRules::*>, 8> shown{{
      {3, &HouseRules::RuleDirection},
      {6, &HouseRules::RuleFiveDoubles},
      {8, &HouseRules::RuleFirstLead},
      {10, &HouseRules::RuleCountedPips},
      {11, &HouseRules::RuleScoringPair},
      {12, &HouseRules::RuleTieWinner},
      {13, &HouseRules::RuleTieLead},
      {14, &HouseRules::RuleNextLead},
  }};
  for (const auto& [selector, field] : shown) {
    const int value = rules.*field;
    if (value == defaults.*field) continue;
    std::string word = ValueWord(selector, value);
    // Seats, not pairs, win and lead when every seat plays for itself.
    if (!pairs && selector == 12 && value == 2) word = kTieLeadingSeatValue;
    if (!pairs && selector == 14 && value == 3) word = kWinningSeatValue;
    line += "; ";
    line += Trimmed(kSelectorWords[selector].Title);
    line += ": " + word;
  }
  return line;
}

}  // namespace tarvelis::server
