#include "server/rating.h"

#include <cmath>
#include <numbers>

namespace tarvelis::server {
namespace {

// Glicko-2 works on its own scale: 0 for 1500, one unit for 173.7178 points.
constexpr double kScale = 173.7178;
constexpr double kBase = 1500.0;
// Where the volatility's iteration stops.
constexpr double kEpsilon = 0.000001;
// A bound the iterations never reach on sane numbers; it only keeps a
// degenerate input from looping for ever.
constexpr int kMostIterations = 100;

double G(double phi) {
  return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (std::numbers::pi * std::numbers::pi));
}

double Expected(double mu, double muJ, double phiJ) {
  return 1.0 / (1.0 + std::exp(-G(phiJ) * (mu - muJ)));
}

// The new volatility: the root of the paper's f by the Illinois method.
double NewVolatility(double phi, double sigma, double v, double delta, double tau) {
  const double a = std::log(sigma * sigma);
  auto f = [&](double x) {
    const double ex = std::exp(x);
    const double d = phi * phi + v + ex;
    return ex * (delta * delta - phi * phi - v - ex) / (2.0 * d * d) - (x - a) / (tau * tau);
  };
  double lo = a;
  double hi = 0.0;
  if (delta * delta > phi * phi + v) {
    hi = std::log(delta * delta - phi * phi - v);
  } else {
    int k = 1;
    while (f(a - k * tau) < 0 && k < kMostIterations) ++k;
    hi = a - k * tau;
  }
  double fLo = f(lo);
  double fHi = f(hi);
  for (int i = 0; std::abs(hi - lo) > kEpsilon && i < kMostIterations; ++i) {
    const double c = lo + (lo - hi) * fLo / (fHi - fLo);
    const double fC = f(c);
    if (fC * fHi <= 0) {
      lo = hi;
      fLo = fHi;
    } else {
      fLo /= 2.0;
    }
    hi = c;
    fHi = fC;
  }
  return std::exp(lo / 2.0);
}

}  // namespace

Rating Rated(const Rating& player, const std::vector<RatedGame>& games, double tau) {
  const double mu = (player.Value - kBase) / kScale;
  const double phi = player.Deviation / kScale;
  const double sigma = player.Volatility;
  if (games.empty()) {
    const double grown = std::sqrt(phi * phi + sigma * sigma);
    return {player.Value, grown * kScale, sigma};
  }
  double inverseV = 0.0;
  double sum = 0.0;  // the sum of g(phi_j) (s_j - E_j)
  for (const RatedGame& game : games) {
    const double muJ = (game.Opponent.Value - kBase) / kScale;
    const double phiJ = game.Opponent.Deviation / kScale;
    const double g = G(phiJ);
    const double e = Expected(mu, muJ, phiJ);
    inverseV += g * g * e * (1.0 - e);
    sum += g * (game.Score - e);
  }
  const double v = 1.0 / inverseV;
  const double delta = v * sum;
  const double newSigma = NewVolatility(phi, sigma, v, delta, tau);
  const double phiStar = std::sqrt(phi * phi + newSigma * newSigma);
  const double newPhi = 1.0 / std::sqrt(1.0 / (phiStar * phiStar) + 1.0 / v);
  const double newMu = mu + newPhi * newPhi * sum;
  return {newMu * kScale + kBase, newPhi * kScale, newSigma};
}

Rating PairAsOne(const Rating& a, const Rating& b) {
  const double variance = (a.Deviation * a.Deviation + b.Deviation * b.Deviation) / 2.0;
  return {(a.Value + b.Value) / 2.0, std::sqrt(variance), (a.Volatility + b.Volatility) / 2.0};
}

std::array<Rating, 4> RatedMatch(const std::array<Rating, 4>& before,
                                 const std::array<int, 4>& totals, bool pairs) {
  auto score = [](int mine, int theirs) { return mine > theirs ? 1.0 : mine < theirs ? 0.0 : 0.5; };
  std::array<Rating, 4> after{};
  for (int seat = 0; seat < 4; ++seat) {
    std::vector<RatedGame> games;
    if (pairs) {
      // Seats 1 and 3 are one pair, 2 and 4 the other (indices 0, 2 and 1, 3).
      const int left = (seat + 1) % 4;
      const int right = (seat + 3) % 4;
      games.push_back({PairAsOne(before[left], before[right]), score(totals[seat], totals[left])});
    } else {
      for (int other = 0; other < 4; ++other) {
        if (other != seat) games.push_back({before[other], score(totals[seat], totals[other])});
      }
    }
    after[seat] = Rated(before[seat], games);
  }
  return after;
}

}  // namespace tarvelis::server
