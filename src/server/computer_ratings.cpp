#include "server/computer_ratings.h"

#include <algorithm>
#include <array>

namespace tarvelis::server {
namespace {

struct Measured {
  int Level;
  double Value;
};

// scripts/measure-ratings.sh on the engine of December 2026: pairs matches
// to 5 between levels 0, 25, 50, 75 and 100 (20,000 a pairing) and the
// expert (1,000 a pairing), both seatings, fitted with level 50 at 1500.
// The standard errors are 2 points for the levels and 6 for the expert;
// docs/RATINGS.md has the matches and the intervals.
constexpr std::array<Measured, 5> kLevels = {{
    {0, 1488},
    {25, 1488},
    {50, 1500},
    {75, 1523},
    {100, 1570},
}};
constexpr double kExpert = 1672;

// The computer's play is the same from match to match, so its rating never
// moves. The deviation it is met with is wider than the measurement's own
// error, which holds only for the rules it was measured under; at this
// size Glicko-2 still weighs a match against it as one against a player
// known for certain (g = 0.998).
constexpr double kFixedDeviation = 20;
constexpr double kFixedVolatility = 0.06;

}  // namespace

Rating FixedRating(bool expert, int level) {
  if (expert) return {kExpert, kFixedDeviation, kFixedVolatility};
  level = std::clamp(level, kLevels.front().Level, kLevels.back().Level);
  for (std::size_t i = 1; i < kLevels.size(); ++i) {
    const Measured& lo = kLevels[i - 1];
    const Measured& hi = kLevels[i];
    if (level > hi.Level) continue;
    const double t = static_cast<double>(level - lo.Level) / (hi.Level - lo.Level);
    return {lo.Value + t * (hi.Value - lo.Value), kFixedDeviation, kFixedVolatility};
  }
  return {kLevels.back().Value, kFixedDeviation, kFixedVolatility};
}

}  // namespace tarvelis::server
