// The settings-and-state format: one text file carries the whole game state,
// settings, match, hand and move record, so that a match left unfinished can be
// continued. "TARVE32.INI" and the saved games (*.man) share it.
#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "model/game_state.h"

namespace tarvelis {

// No hand needs this many moves (28 tiles and at most three passes after
// each); a larger count in a file is damage, and refusing it keeps a damaged
// file from making the reader allocate without bound.
inline constexpr int kMaxMoveNumber = 1000;
// Hands 1..HandNumber-1 are in the log, which holds 500.
inline constexpr int kMaxHandNumber = kHandLogSize + 1;

struct ReadOutcome {
  int ErrorNumber = 0;        // 0, or the number of the trouble that stopped the read
  bool MatchDropped = false;  // the file held a match that cannot be resumed
};

// The file's text, Windows-1252 with CR LF line ends.
std::string StateFileText(const GameState& state);
void WriteState(const GameState& state, std::ostream& out);

// Reads a whole state and repairs it. A read that stops part way keeps what it
// read, repairs it, reports why it stopped and drops the match; a complete read
// whose hand or move record does not hold together drops the match too, since
// resuming it would play a corrupt hand. Afterwards MoveRecord always has room
// for MoveNumber + 40 records and MoveNumber, HandNumber are in range.
ReadOutcome ReadState(GameState& state, std::istream& in);

// Out-of-range settings go back to their defaults; names are re-capitalised;
// a DirectionStep that is neither 1 nor -1 follows RuleDirection again.
void RepairLoadedSettings(GameState& state);

// Writes `state` to `file` through a new file beside it that replaces the old
// one only once it is completely written, so a full disk or a crash never
// leaves a damaged or empty file behind. False when anything failed.
bool SaveStateFile(const GameState& state, const std::filesystem::path& file);

// Writes `bytes` to `out`, flushes and closes it; false when any of that failed.
bool WriteAndClose(std::ofstream& out, std::string_view bytes);

// Reads `file` into `state`. When it cannot be opened the state is untouched
// and the error is the open's (see OpenErrorNumber).
ReadOutcome LoadStateFile(GameState& state, const std::filesystem::path& file);

// The load of a saved game: all or nothing. The state changes only when the
// file reads completely; the hand in progress then has its log record
// cleared, since it is replayed from the move record.
bool LoadSavedGame(GameState& state, const std::filesystem::path& file);

}  // namespace tarvelis
