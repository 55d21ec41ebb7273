// The settings-and-state format: one text file carries the whole game state,
// settings, match, hand and move record, so that a match left unfinished can be
// continued. "TARVE32.INI" and the saved games (*.man) share it.
#pragma once

#include <cstddef>
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

// A legitimate state file is some tens of kilobytes (a full hand log and the
// longest move record); the reader looks no further than this, so a huge file
// costs neither time nor memory.
inline constexpr std::size_t kMaxStateFileBytes = std::size_t{1} << 20;

struct ReadOutcome {
  int ErrorNumber = 0;        // 0, or the number of the trouble that stopped the read
  bool MatchDropped = false;  // the file held a match that cannot be resumed
  std::string Fault;          // why a completely read match cannot be resumed
  bool Opened = false;        // the file was there and was read (in part or whole)
  // The history record (its 61 characters, Windows-1252) of a match that
  // ended and whose record may not have reached the history yet; empty when
  // none. See StateFileText.
  std::string PendingRecord;
};

// The file's text, Windows-1252 with CR LF line ends. A non-empty
// `pendingRecord` (a history record's 61 characters) follows the state as one
// more text line: the file that ends a match carries the match's record until
// it is surely in the history, so that a crash between the two never appends
// it twice nor loses it. Readers that do not know the line stop before it.
std::string StateFileText(const GameState& state, std::string_view pendingRecord = {});
void WriteState(const GameState& state, std::ostream& out);

// Reads a whole state and repairs it. A read that stops part way keeps what it
// read, repairs it, reports why it stopped and drops the match. A complete
// read is checked with CheckState against the table already in `state`: a
// match that does not hold together, or whose tiles the table could not draw,
// is dropped too, since resuming it would play a corrupt hand. A sound chain
// laid for a table of another size is laid again for this one. Afterwards
// MoveRecord always has room for MoveNumber + 40 records and MoveNumber,
// HandNumber are in range.
ReadOutcome ReadState(GameState& state, std::istream& in);

// Why a match just read cannot be resumed, in CheckState's words; empty when
// it can. A sound chain laid for a table of another size is first laid again
// for the state's table. The hands of a hand already over are not judged:
// nothing of them is played on.
std::string ResumeFault(GameState& state);

// Out-of-range settings go back to their defaults; names are re-capitalised;
// a DirectionStep that is neither 1 nor -1 follows RuleDirection again.
void RepairLoadedSettings(GameState& state);

// Writes `state` to `file` through a new file beside it that replaces the old
// one only once it is completely written, so a full disk or a crash never
// leaves a damaged or empty file behind (see ReplaceFile). False when anything
// failed.
bool SaveStateFile(const GameState& state, const std::filesystem::path& file,
                   std::string_view pendingRecord = {});

// Writes `bytes` to `out`, flushes and closes it; false when any of that failed.
bool WriteAndClose(std::ofstream& out, std::string_view bytes);

// Reads `file` into `state`. When it cannot be opened, or is not a regular
// file, the state is untouched and the error is the open's (see
// OpenErrorNumber).
ReadOutcome LoadStateFile(GameState& state, const std::filesystem::path& file);

// The load of a saved game: all or nothing. The state changes only when the
// file reads completely; the hand in progress then has its log record
// cleared, since it is replayed from the move record.
bool LoadSavedGame(GameState& state, const std::filesystem::path& file);

}  // namespace tarvelis
