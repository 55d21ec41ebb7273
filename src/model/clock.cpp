#include <chrono>

#include "model/random.h"

namespace tarvelis {

std::uint32_t ClockSeed() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace tarvelis
