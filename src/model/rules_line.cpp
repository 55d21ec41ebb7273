#include "model/rules_line.h"

#include <cctype>

#include "model/texts.h"

namespace tarvelis {

std::string RulesLine(const HouseRules& s) {
  const auto word = [](int selector, int value) -> std::string {
    const auto& values = kSelectorWords[selector].Values;
    return value >= 1 && value <= 4 && values[value - 1] != nullptr ? values[value - 1] : "";
  };
  std::string scoring = word(9, s.RuleScoring);
  if (!scoring.empty()) scoring[0] = static_cast<char>(std::tolower(scoring[0]));
  std::string line = word(15, s.RuleMode) + ", " + kNetworkMatchOf + " " +
                     std::to_string(s.MatchTarget) + " " + kNetworkPointsWord + ", " + scoring;
  // A server deals at random and leads by rotation: nobody sits at one screen.
  if (s.RuleDealing == kDealManual || s.RuleNextLead == kNextLeadChoose) {
    line += "; ";
    line += kNetworkDealtAtRandom;
  }
  line += "; ";
  line += kNetworkRulesNote;
  return line;
}

}  // namespace tarvelis
