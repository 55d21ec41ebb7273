// The game's one source of chance: uniform single-precision numbers in [0, 1).
// The deal seeds it from the clock in play; the simulator and the tests seed it
// from a number so a match can be reproduced exactly.
#pragma once

#include <cstdint>
#include <random>

namespace tarvelis {

class Random {
 public:
  explicit Random(std::uint32_t seed = 1) : engine_(seed) {}

  void Seed(std::uint32_t seed) { engine_.seed(seed); }

  // 24 random bits scaled into [0, 1): every value is exact in a float, so the
  // result can never round up to 1.
  float Uniform() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

  // floor(u * n + 1): a number from 1 to n, the way the deal draws slots and seats.
  int Draw(int n) { return static_cast<int>(Uniform() * static_cast<float>(n)) + 1; }

 private:
  std::mt19937 engine_;
};

// A seed taken from the clock, for play.
std::uint32_t ClockSeed();

}  // namespace tarvelis
