#include "layout/focus_ring.h"

#include <cstddef>

namespace tarvelis {

int NextFocusStop(std::span<const bool> open, int from, bool forward) {
  const int n = static_cast<int>(open.size());
  if (n == 0) return -1;
  // From nowhere, Tab starts at the top and Shift+Tab at the bottom.
  int at = from >= 0 && from < n ? from : (forward ? n - 1 : 0);
  for (int step = 0; step < n; ++step) {
    at = forward ? (at + 1) % n : (at + n - 1) % n;
    if (open[static_cast<std::size_t>(at)]) return at;
  }
  return -1;
}

}  // namespace tarvelis
