// A headless table with a seeded generator, for tests that play or score.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/game_state.h"
#include "model/random.h"

namespace tarvelis::testing {

struct Table {
  GameState s;
  HeadlessPort port{&s};
  Random rng{1};
  EngineContext ctx{s, port, rng};

  explicit Table(std::uint32_t seed = 1) {
    ApplyDefaults(s);
    rng.Seed(seed);
    ctx.SeedFromClock = false;
    port.Record = true;
  }

  // Events that start with `prefix`.
  std::vector<std::string> EventsStarting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& e : port.Events) {
      if (e.rfind(prefix, 0) == 0) found.push_back(e);
    }
    return found;
  }
  bool Heard(int sound) const {
    const std::string e = "sound " + std::to_string(sound);
    return std::find(port.Events.begin(), port.Events.end(), e) != port.Events.end();
  }
};

// The set in order, seven to a seat: seat 1 gets 0-0 1-0 1-1 2-0 2-1 2-2 3-0,
// seat 2 gets 3-1 .. 4-3, seat 3 gets 4-4 .. 5-5, seat 4 gets 6-0 .. 6-6.
inline void DealInOrder(GameState& s) {
  int n = 0;
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= i; ++j, ++n) {
      const int seat = n / 7 + 1;
      s.Hand[seat][n % 7 + 1] = HandSlot{static_cast<i16>(i), static_cast<i16>(j), 0};
    }
  }
  for (int seat = 1; seat <= kSeats; ++seat) s.SeatTileCount[seat] = kSlots;
}

// The seat still holds exactly these slots; its other tiles are on the table.
inline void Holds(GameState& s, int seat, std::initializer_list<int> slots) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const bool held = std::find(slots.begin(), slots.end(), slot) != slots.end();
    s.Hand[seat][slot].State = held ? 0 : 1;
  }
  s.SeatTileCount[seat] = static_cast<i16>(slots.size());
}

}  // namespace tarvelis::testing
