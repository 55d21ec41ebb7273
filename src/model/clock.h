// Time for waits and pauses. Waits are measured on a monotonic clock so that a
// wait across midnight, or across a change of the wall clock, still ends.
#pragma once

#include <chrono>

namespace tarvelis {

using MonoClock = std::chrono::steady_clock;

// Seconds that Espera(n) lasts at a game speed of 0..100: n hundredths of a
// second at speed 0, nothing at speed 100.
inline double WaitSeconds(int hundredths, int gameSpeed) {
  if (hundredths <= 0 || gameSpeed >= 100) return 0.0;
  return hundredths / 100.0 * (100 - gameSpeed) / 100.0;
}

}  // namespace tarvelis
