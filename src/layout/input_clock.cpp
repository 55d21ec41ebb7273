#include "layout/input_clock.h"

namespace tarvelis {
namespace {

// No event waits this long in a queue: a larger jump is the window system's
// clock starting again (it wraps after 49 days), and the gap is taken afresh.
constexpr std::int64_t kClockJumpMs = 3'600'000;

}  // namespace

bool InputClock::Stale(std::uint64_t eventMs, std::int64_t nowMs) {
  const std::int64_t gap = nowMs - static_cast<std::int64_t>(eventMs);
  if (!known_ || gap < gap_ || gap - gap_ > kClockJumpMs) {
    gap_ = gap;
    known_ = true;
  }
  return static_cast<std::int64_t>(eventMs) + gap_ < settledAt_;
}

}  // namespace tarvelis
