#include "net/remote_reading.h"

#include <algorithm>
#include <cmath>

#include "storage/clean_text.h"

namespace tarvelis::net {

using server::Json;

std::optional<HandSlot> TileOf(const Json* j) {
  if (j == nullptr || !j->IsArray() || j->Items().size() != 2) return std::nullopt;
  HandSlot t;
  for (int i = 0; i < 2; ++i) {
    const Json& pip = j->Items()[static_cast<std::size_t>(i)];
    if (!pip.IsNumber() || !(pip.AsNumber() >= 0 && pip.AsNumber() <= 6) ||
        std::floor(pip.AsNumber()) != pip.AsNumber()) {
      return std::nullopt;
    }
    (i == 0 ? t.PipA : t.PipB) = static_cast<i16>(pip.AsNumber());
  }
  return t;
}

bool SameTile(const HandSlot& t, int a, int b) {
  return (t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a);
}

void AddTile(std::vector<HandSlot>& tiles, const HandSlot& t) {
  const bool known = std::any_of(tiles.begin(), tiles.end(), [&](const HandSlot& held) {
    return SameTile(held, t.PipA, t.PipB);
  });
  if (!known && tiles.size() < kSlots) tiles.push_back(t);
}

std::vector<HandSlot> TilesOf(const Json* j) {
  std::vector<HandSlot> tiles;
  if (j == nullptr || !j->IsArray()) return tiles;
  for (const Json& item : j->Items()) {
    if (const auto t = TileOf(&item)) AddTile(tiles, *t);
  }
  return tiles;
}

std::optional<std::vector<int>> NumbersOf(const Json* j, std::size_t n, int lo, int hi) {
  if (j == nullptr || !j->IsArray() || j->Items().size() < n) return std::nullopt;
  std::vector<int> out(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const Json& item = j->Items()[i];
    const double v = item.IsNumber() ? item.AsNumber() : -1.0;
    if (!item.IsNumber() || !(v >= lo && v <= hi) || std::floor(v) != v) return std::nullopt;
    out[i] = static_cast<int>(v);
  }
  return out;
}

bool FlagOf(const Json& j, std::string_view key) {
  const Json* flag = j.Find(key);
  return flag != nullptr && flag->IsBool() && flag->AsBool();
}

SeatsView ReadSeatsView(const Json* j) {
  SeatsView v;
  if (j == nullptr || !j->IsArray() || j->Items().size() != kSeats) return v;
  for (const Json& s : j->Items()) {
    const auto seat = s.IntAt("seat", 1, kSeats);
    const Json* name = s.Find("name");
    const auto kind = s.StringAt("kind", 16);
    if (!seat || name == nullptr || !name->IsString() || !kind) return v;
    // A name longer than anybody can type would only cost time to fit.
    v.Name[*seat] = BoundedName(name->AsString());
    v.Person[*seat] = *kind == "person";
    v.Expert[*seat] = *kind == "expert";
    v.Level[*seat] = static_cast<i16>(s.IntAt("level", 0, 100).value_or(50));
    const bool here = FlagOf(s, "present");
    const bool seated = FlagOf(s, "taken");
    v.Presence[*seat] = !v.Person[*seat] || !seated ? SeatPresence::kComputer
                        : here                      ? SeatPresence::kPresent
                                                    : SeatPresence::kAway;
  }
  v.Valid = true;
  return v;
}

}  // namespace tarvelis::net
