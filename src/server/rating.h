// Players' ratings by the Glicko-2 system (Glickman, "Example of the Glicko-2
// system"): a rating, its deviation (how unsure it is) and its volatility (how
// much it moves), updated once a match among people ends. Plain C++ so the
// arithmetic is tested against the published worked example.
#pragma once

#include <array>
#include <vector>

namespace tarvelis::server {

struct Rating {
  double Value = 1500.0;
  double Deviation = 350.0;
  double Volatility = 0.06;
  bool operator==(const Rating&) const = default;
};

// One game of a rating period: the opponent as rated before it, and the
// result for the player rated (1 a win, 0.5 a draw, 0 a loss).
struct RatedGame {
  Rating Opponent;
  double Score = 0.0;
};

// The system's constant: how much volatility may change in one period.
// Glickman suggests 0.3 to 1.2; the smaller, the steadier the ratings.
inline constexpr double kRatingTau = 0.5;

// The player's rating after a period with these games. With no game, only
// the deviation grows, as a player unseen for a while is less known.
Rating Rated(const Rating& player, const std::vector<RatedGame>& games, double tau = kRatingTau);

// A pair met as one opponent: the partners' mean rating, with the deviation
// that the mean of their variances gives.
Rating PairAsOne(const Rating& a, const Rating& b);

// The ratings of the four seats after a finished match, each seat's period
// holding its games of that match. In pairs (seats 1 and 3 against 2 and 4)
// each partner plays the other pair as one opponent, so partners move
// together; every seat for itself, each seat plays each other seat and scores
// by their final totals. `totals` are the seats' match totals (in pairs, both
// partners carry their pair's total).
std::array<Rating, 4> RatedMatch(const std::array<Rating, 4>& before,
                                 const std::array<int, 4>& totals, bool pairs);

}  // namespace tarvelis::server
