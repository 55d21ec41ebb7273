// A tiny synthesiser for the game's sounds: a buffer of samples in [-1, 1]
// with a few ways of adding tones, clicks and filtered noise, and a writer of
// 16-bit mono PCM WAV files. Plain C++ with its own random generator, so the
// same program always writes the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

inline constexpr int kSampleRate = 22050;

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed ? seed : 1u) {}
  double Next();  // uniform in [0, 1)
  double Between(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  std::uint32_t state_;
};

class Sound {
 public:
  explicit Sound(double seconds);

  // A decaying sine: starts at `at` seconds, lasts `length`, amplitude `amp`,
  // e-folding time `tau` (0: no decay), frequency gliding from f0 to f1, with a
  // short attack and a short fade at the end so it never starts or stops with
  // a step.
  void Tone(double at, double length, double f0, double f1, double amp, double tau,
            double attack = 0.002);

  // A tone with harmonics 1..n at 1/k amplitudes: brass for the fanfare.
  void Rich(double at, double length, double f, int harmonics, double amp, double attack,
            double release, double vibrato = 0);

  // Noise through a band-pass filter whose centre glides from c0 to c1 (Hz);
  // the envelope rises over `attack` and decays with `tau`.
  void Noise(Rng& rng, double at, double length, double c0, double c1, double q, double amp,
             double attack, double tau);

  // A short wooden knock: a few inharmonic modes and a tick of noise.
  void Knock(Rng& rng, double at, double pitch, double amp, double tau);

  // Scales the peak to `peak` (0.5 is -6 dBFS) and fades both ends.
  void Finish(double peak, double fadeIn = 0.002, double fadeOut = 0.006);

  // Writes the samples as a 16-bit mono PCM WAV file; false on failure.
  bool WriteWav(const std::string& path) const;

  const std::vector<double>& samples() const { return s_; }

 private:
  std::vector<double> s_;
};

}  // namespace artgen
