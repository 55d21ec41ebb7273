// The game's one source of chance: uniform single-precision numbers in [0, 1).
// The deal seeds it from the clock in play; the simulator and the tests seed it
// from a number so a match can be reproduced exactly.
#pragma once

#include <array>
#include <cstdint>

namespace tarvelis {

// The 32-bit Mersenne twister, number for number the standard library's
// std::mt19937, kept on 32-bit words and made a whole block at a time: the
// library's keeps its words in 64 bits and twists them one by one, and a
// simulated deal draws a few hundred numbers, which made that a sixth of the
// engine's time.
class Mt19937 {
 public:
  explicit Mt19937(std::uint32_t seed) { Seed(seed); }

  void Seed(std::uint32_t seed) {
    words_[0] = seed;
    for (std::uint32_t i = 1; i < kWords; ++i)
      words_[i] = 1812433253u * (words_[i - 1] ^ (words_[i - 1] >> 30)) + i;
    next_ = kWords;
  }

  std::uint32_t operator()() {
    if (next_ == kWords) Refill();
    return out_[next_++];
  }

 private:
  static constexpr std::uint32_t kWords = 624;
  static constexpr std::uint32_t kShift = 397;

  static std::uint32_t Twisted(std::uint32_t upper, std::uint32_t lower, std::uint32_t far) {
    const std::uint32_t y = (upper & 0x80000000u) | (lower & 0x7fffffffu);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & 0x9908b0dfu);
  }

  // The next block of words, and each one tempered into the output.
  void Refill() {
    std::uint32_t i = 0;
    for (; i < kWords - kShift; ++i)
      words_[i] = Twisted(words_[i], words_[i + 1], words_[i + kShift]);
    for (; i < kWords - 1; ++i)
      words_[i] = Twisted(words_[i], words_[i + 1], words_[i + kShift - kWords]);
    words_[kWords - 1] = Twisted(words_[kWords - 1], words_[0], words_[kShift - 1]);
    for (i = 0; i < kWords; ++i) {
      std::uint32_t y = words_[i];
      y ^= y >> 11;
      y ^= (y << 7) & 0x9d2c5680u;
      y ^= (y << 15) & 0xefc60000u;
      out_[i] = y ^ (y >> 18);
    }
    next_ = 0;
  }

  std::array<std::uint32_t, kWords> words_;
  std::array<std::uint32_t, kWords> out_{};
  std::uint32_t next_ = kWords;
};

class Random {
 public:
  explicit Random(std::uint32_t seed = 1) : engine_(seed) {}

  void Seed(std::uint32_t seed) { engine_.Seed(seed); }

  // 24 random bits scaled into [0, 1): every value is exact in a float, so the
  // result can never round up to 1.
  float Uniform() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

  // floor(u * n + 1): a number from 1 to n, the way the deal draws slots and seats.
  int Draw(int n) { return static_cast<int>(Uniform() * static_cast<float>(n)) + 1; }

 private:
  Mt19937 engine_;
};

// A seed taken from the clock, for play.
std::uint32_t ClockSeed();

}  // namespace tarvelis
