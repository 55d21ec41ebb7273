// "TARVE32.HIS": one fixed-width record of 63 characters per finished match,
// appended when the user agrees at the end of a match.
#pragma once

#include <filesystem>
#include <string>

#include "model/game_state.h"

namespace tarvelis {

inline constexpr char kHistoryFileName[] = "TARVE32.HIS";
inline constexpr int kHistoryRecordSize = 63;

struct DateTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
};

// The record of the match that has just ended, in Windows-1252 bytes with its
// CR LF: date and time, four names of nine characters (longer names are cut),
// four points right-aligned in three, and "P" for pairs or "I" for an
// individual match. Pairs: the winning pair (lower seat first), then the
// losers. Individual: the winner, then the others by points, highest first.
std::string HistoryRecord(const GameState& state, const DateTime& when);

// Appends the record to the history file of `folder`; false when it cannot.
bool AppendHistory(const GameState& state, const std::filesystem::path& folder,
                   const DateTime& when);

}  // namespace tarvelis
