// Which clicks and keys still count. The table drops input the user made while
// a run of the recorder, a replay or a tile's travel was under way: such
// input waits in the window system's queue and would otherwise act later, on
// a table that has moved on. An event carries the time it was made on the
// window system's clock; the table knows its own. The two are tied by the
// smallest gap seen between an event's time and its arrival, which an event
// handled at once shows exactly, and which is never too small: an event is
// only ever taken for newer than it is, never dropped when it should count.
#pragma once

#include <cstdint>

namespace tarvelis {

class InputClock {
 public:
  // An event made at `eventMs` (the window system's clock) arrives at
  // `nowMs` (the table's). True when it was made before the current step
  // began, and must be dropped.
  bool Stale(std::uint64_t eventMs, std::int64_t nowMs);

  // A step of the table begins or ends at `nowMs`: input made before it is
  // stale from now on.
  void Settle(std::int64_t nowMs) { settledAt_ = nowMs; }

 private:
  bool known_ = false;
  std::int64_t gap_ = 0;  // the table's time minus the window system's
  std::int64_t settledAt_ = INT64_MIN;
};

}  // namespace tarvelis
