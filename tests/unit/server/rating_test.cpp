#include "server/rating.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvelis::server {
namespace {

// Glickman's worked example: a 1500 player (deviation 200, volatility 0.06)
// beats a 1400 (30), loses to a 1550 (100) and to a 1700 (300), with tau 0.5.
TEST(Rating, FollowsThePublishedWorkedExample) {
  const Rating player{1500, 200, 0.06};
  const Rating after =
      Rated(player, {{{1400, 30, 0.06}, 1.0}, {{1550, 100, 0.06}, 0.0}, {{1700, 300, 0.06}, 0.0}});
  EXPECT_NEAR(after.Value, 1464.06, 0.01);
  EXPECT_NEAR(after.Deviation, 151.52, 0.01);
  EXPECT_NEAR(after.Volatility, 0.05999, 0.00001);
}

TEST(Rating, AnIdlePeriodOnlyWidensTheDeviation) {
  const Rating player{1620, 80, 0.06};
  const Rating after = Rated(player, {});
  EXPECT_EQ(after.Value, 1620);
  EXPECT_NEAR(after.Deviation, std::sqrt(80.0 * 80.0 + (0.06 * 173.7178) * (0.06 * 173.7178)),
              1e-9);
  EXPECT_EQ(after.Volatility, 0.06);
}

TEST(Rating, PartnersMoveTogetherAndTheWinnersGainWhatTheLosersLose) {
  const std::array<Rating, 4> before{};  // four new players
  // Seats 1 and 3 (indices 0 and 2) won the match.
  const auto after = RatedMatch(before, {10, 4, 10, 4}, true);
  EXPECT_EQ(after[0], after[2]);
  EXPECT_EQ(after[1], after[3]);
  EXPECT_GT(after[0].Value, 1500);
  EXPECT_NEAR(after[0].Value - 1500, 1500 - after[1].Value, 1e-6);
  EXPECT_LT(after[0].Deviation, 350);
}

TEST(Rating, EverySeatForItselfRanksByTotals) {
  const std::array<Rating, 4> before{Rating{1500, 100, 0.06}, Rating{1500, 100, 0.06},
                                     Rating{1500, 100, 0.06}, Rating{1500, 100, 0.06}};
  const auto after = RatedMatch(before, {12, 7, 7, 3}, false);
  EXPECT_GT(after[0].Value, after[1].Value);
  EXPECT_NEAR(after[1].Value, 1500, 1e-6);  // a win, a draw and a loss
  EXPECT_EQ(after[1], after[2]);
  EXPECT_LT(after[3].Value, after[1].Value);
}

// Ratings come from a database a server kept for years; even extreme ones
// give finite numbers.
TEST(Rating, ExtremeRatingsStayFinite) {
  const Rating strong{3500, 30, 0.06};
  const Rating weak{100, 350, 0.2};
  for (double score : {0.0, 0.5, 1.0}) {
    const Rating a = Rated(strong, {{weak, score}});
    const Rating b = Rated(weak, {{strong, 1.0 - score}});
    for (const Rating& r : {a, b}) {
      EXPECT_TRUE(std::isfinite(r.Value) && std::isfinite(r.Deviation) &&
                  std::isfinite(r.Volatility));
      EXPECT_GT(r.Deviation, 0);
    }
  }
}

}  // namespace
}  // namespace tarvelis::server
