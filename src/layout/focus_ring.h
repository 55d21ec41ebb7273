// The keyboard's round of a dialog drawn by hand: its stops (fields, a list,
// painted buttons) in reading order, Tab going to the next one that takes
// the keyboard now and Shift+Tab to the one before, round the end.
#pragma once

#include <span>

namespace tarvelis {

// The stop after `from` (before it when `forward` is false) whose `open` is
// true, going round; from -1, the first (or last) open one. `from` itself
// when it is the only open stop, -1 when none is.
int NextFocusStop(std::span<const bool> open, int from, bool forward);

}  // namespace tarvelis
