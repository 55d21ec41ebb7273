#include "engine/totaliser.h"

namespace tarvelis {
namespace {

bool Played(const GameState& s, int a, int b) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (((t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a)) && t.State == 1) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

int PipsOnTable(const GameState& s) {
  int sum = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.State == 1) sum += t.PipA + t.PipB;
    }
  }
  return sum;
}

std::string TotaliserText(const GameState& s) {
  const int onTable = PipsOnTable(s);
  std::string text = TotaliserHead(onTable, kSetPips - onTable);
  // One row per higher pip value, so the list reads as the set is built.
  for (int i = 0; i <= 6; ++i) {
    std::string row;
    for (int j = 0; j <= i; ++j) {
      if (Played(s, i, j)) continue;
      if (!row.empty()) row += "   ";
      row += std::to_string(i) + "/" + std::to_string(j);
    }
    if (!row.empty()) text += kLineBreak + ("       " + row);
  }
  return text;
}

}  // namespace tarvelis
