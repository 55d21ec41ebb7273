#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace artgen {
namespace {

constexpr double kTwoPi = 6.28318530717958647692;
// Every tone ends with a short fade, so that a cut never clicks.
constexpr double kToneRelease = 0.004;

void PutLe(std::FILE* f, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

}  // namespace

double Rng::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return (state_ >> 8) / double(1u << 24);
}

Sound::Sound(double seconds) : s_(static_cast<std::size_t>(seconds * kSampleRate), 0.0) {}

void Sound::Tone(double at, double length, double f0, double f1, double amp, double tau,
                 double attack) {
  const int start = static_cast<int>(at * kSampleRate);
  const int n = static_cast<int>(length * kSampleRate);
  double phase = 0;
  for (int i = 0; i < n && start + i < static_cast<int>(s_.size()); ++i) {
    const double t = double(i) / kSampleRate;
    const double f = f0 + (f1 - f0) * (double(i) / n);
    phase += kTwoPi * f / kSampleRate;
    double env = tau > 0 ? std::exp(-t / tau) : 1.0;
    if (t < attack) env *= t / attack;
    const double left = length - t;
    if (left < kToneRelease) env *= left / kToneRelease;
    s_[start + i] += amp * env * std::sin(phase);
  }
}

void Sound::Rich(double at, double length, double f, int harmonics, double amp, double attack,
                 double release, double vibrato) {
  const int start = static_cast<int>(at * kSampleRate);
  const int n = static_cast<int>(length * kSampleRate);
  double phase = 0;
  for (int i = 0; i < n && start + i < static_cast<int>(s_.size()); ++i) {
    const double t = double(i) / kSampleRate;
    const double fm = f * (1.0 + vibrato * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t / 0.15));
    phase += kTwoPi * fm / kSampleRate;
    double env = 1.0;
    if (t < attack) env = t / attack;
    const double left = length - t;
    if (left < release) env *= left / release;
    // Brighter at the start, mellower as the note settles.
    const double bright = 0.55 + 0.45 * std::exp(-t / 0.08);
    double v = 0;
    for (int k = 1; k <= harmonics; ++k) v += std::pow(bright, k - 1) * std::sin(k * phase) / k;
    s_[start + i] += amp * env * v;
  }
}

void Sound::Noise(Rng& rng, double at, double length, double c0, double c1, double q, double amp,
                  double attack, double tau) {
  const int start = static_cast<int>(at * kSampleRate);
  const int n = static_cast<int>(length * kSampleRate);
  // Chamberlin state-variable filter, band-pass output.
  double low = 0, band = 0;
  for (int i = 0; i < n && start + i < static_cast<int>(s_.size()); ++i) {
    const double t = double(i) / kSampleRate;
    const double c = c0 + (c1 - c0) * (double(i) / n);
    const double fc =
        2.0 * std::sin(3.14159265358979 * std::min(c, kSampleRate / 6.0) / kSampleRate);
    const double x = rng.Between(-1, 1);
    low += fc * band;
    const double high = x - low - q * band;
    band += fc * high;
    double env = tau > 0 ? std::exp(-t / tau) : 1.0;
    if (t < attack) env *= t / attack;
    s_[start + i] += amp * env * band;
  }
}

void Sound::Knock(Rng& rng, double at, double pitch, double amp, double tau) {
  // Modes of a small hard block are far from harmonic.
  Tone(at, tau * 8, pitch, pitch * 0.98, amp, tau, 0.0005);
  Tone(at, tau * 6, pitch * 2.32, pitch * 2.30, amp * 0.55, tau * 0.6, 0.0005);
  Tone(at, tau * 5, pitch * 4.05, pitch * 4.0, amp * 0.25, tau * 0.4, 0.0005);
  Tone(at, tau * 8, pitch * 0.52, pitch * 0.52, amp * 0.35, tau * 1.4, 0.001);
  Noise(rng, at, 0.006, pitch * 3, pitch * 3, 0.7, amp * 1.6, 0.0003, 0.0015);
}

void Sound::Finish(double peak, double fadeIn, double fadeOut) {
  double top = 0;
  for (double v : s_) top = std::max(top, std::fabs(v));
  if (top > 0) {
    for (double& v : s_) v *= peak / top;
  }
  const int in = static_cast<int>(fadeIn * kSampleRate);
  const int out = static_cast<int>(fadeOut * kSampleRate);
  const int n = static_cast<int>(s_.size());
  for (int i = 0; i < in && i < n; ++i) s_[i] *= double(i) / in;
  for (int i = 0; i < out && i < n; ++i) s_[n - 1 - i] *= double(i) / out;
}

bool Sound::WriteWav(const std::string& path) const {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const std::uint32_t data = static_cast<std::uint32_t>(s_.size() * 2);
  std::fputs("RIFF", f);
  PutLe(f, 36 + data, 4);
  std::fputs("WAVEfmt ", f);
  PutLe(f, 16, 4);
  PutLe(f, 1, 2);  // PCM
  PutLe(f, 1, 2);  // mono
  PutLe(f, kSampleRate, 4);
  PutLe(f, kSampleRate * 2, 4);
  PutLe(f, 2, 2);
  PutLe(f, 16, 2);
  std::fputs("data", f);
  PutLe(f, data, 4);
  for (double v : s_) {
    const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    PutLe(f, static_cast<std::uint32_t>(static_cast<std::int16_t>(q)) & 0xFFFF, 2);
  }
  return std::fclose(f) == 0;
}

}  // namespace artgen
