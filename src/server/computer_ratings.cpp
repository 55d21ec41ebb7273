#include "server/computer_ratings.h"

#include <algorithm>
#include <array>

namespace tarvelis::server {
namespace {

struct Measured {
  int Level;
  double Value;
  double Deviation;  // the measurement's standard error, at least kLeastDeviation
};

// scripts/measure-ratings.sh: pairs matches between the levels and the
// expert (docs/RATINGS.md has the counts and the intervals).
constexpr std::array<Measured, 5> kLevels = {{
    {0, 1500, 30},
    {25, 1500, 30},
    {50, 1500, 30},
    {75, 1500, 30},
    {100, 1500, 30},
}};
constexpr Measured kExpert = {100, 1600, 30};

// The computer's play does not change from match to match: its volatility is
// the system's least, and its deviation only the measurement's own.
constexpr double kFixedVolatility = 0.06;

}  // namespace

Rating FixedRating(bool expert, int level) {
  if (expert) return {kExpert.Value, kExpert.Deviation, kFixedVolatility};
  level = std::clamp(level, kLevels.front().Level, kLevels.back().Level);
  for (std::size_t i = 1; i < kLevels.size(); ++i) {
    const Measured& lo = kLevels[i - 1];
    const Measured& hi = kLevels[i];
    if (level > hi.Level) continue;
    const double t = static_cast<double>(level - lo.Level) / (hi.Level - lo.Level);
    return {lo.Value + t * (hi.Value - lo.Value), lo.Deviation + t * (hi.Deviation - lo.Deviation),
            kFixedVolatility};
  }
  return {kLevels.back().Value, kLevels.back().Deviation, kFixedVolatility};
}

}  // namespace tarvelis::server
