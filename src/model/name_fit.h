// Seat names are the players' own texts, up to twenty characters, and every
// place that shows one has its own room: beside a hand, in the score report's
// columns, on the continue button. A name is shown whole where it fits; one
// cut to its room keeps the mark of the cut, and two different names are never
// cut to the same text, so "Jugador1" and "Jugador3" can always be told apart.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarvelis {

// The mark a cut name ends with (or carries before the end it keeps).
inline constexpr char kCutMark[] = "\u2026";

// How wide name `index` would be drawn as `text`, in whatever unit its room
// is counted in (pixels, or characters of an even font).
using NameWidth = std::function<int(int index, const std::string& text)>;

// What each name shows in its room (UTF-8, whole characters): the name whole
// when it fits; else its longest beginning that fits with the cut mark; and
// where two different names would show the same text, each shows the
// beginning, the mark and as many of its last characters as tell them apart.
// A room too small for even one character and the mark shows nothing.
std::vector<std::string> FitNames(const std::vector<std::string>& names,
                                  const std::vector<int>& rooms, const NameWidth& width);

// Characters of an even font: the width function for a room counted in them.
int CharacterCount(const std::string& text);

}  // namespace tarvelis
