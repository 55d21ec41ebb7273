// "TARVE32.HIS": one fixed-width record of 63 characters per finished match,
// appended when the user agrees at the end of a match, read whole by the
// history viewer for its pages and its totals.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"

namespace tarvelis {

inline constexpr char kHistoryFileName[] = "TARVE32.HIS";
// The matches played at a server's table, in records of the same format. They
// are a file of their own rather than marked records in TARVE32.HIS: a
// record has no spare character for a mark, and any mark that changed its
// shape would be read by older copies of the game as a damaged record, or
// worse as a local match with wrong fields. Every reader of TARVE32.HIS goes
// on reading exactly what it read before.
inline constexpr char kNetworkHistoryFileName[] = "TARVRED.HIS";
inline constexpr int kHistoryRecordSize = 63;
// The characters of a record before its line end.
inline constexpr int kHistoryFieldsSize = 61;

struct DateTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
};

// The record of the match that has just ended, in Windows-1252 bytes with its
// CR LF: date and time, four names of nine characters (longer names are cut),
// four points right-aligned in three, and "P" for pairs or "I" for an
// individual match. Pairs: the winning pair (lower seat first), then the
// losers. Individual: the winner, then the others by points, highest first.
// The winner is the one the final message of the match named.
std::string HistoryRecord(const GameState& state, const DateTime& when);

// Appends the record to the history file of `folder` in one write; false when
// it cannot, and then the file is exactly as it was.
bool AppendHistory(const GameState& state, const std::filesystem::path& folder,
                   const DateTime& when);

// Appends `record` (a record's 61 characters, without the line end) unless it
// is already the history's last record: a record written before a crash is
// not written again. True when the history ends with it.
bool AppendHistoryOnce(const std::filesystem::path& folder, std::string_view record);

// One match of the history as the viewer and the totals read it.
struct HistoryMatch {
  // The 61 characters before the line end, as written (Windows-1252). Their
  // text order is time order, date and time coming first.
  std::string Text;
  // Names 1-4 in UTF-8 without the spaces around them: pairs: the winners,
  // then the losers; individual: the winner, then the others.
  std::array<std::string, 4> Names;
  // Points 1-4; in a pairs match the winners' and the losers' points, and
  // points 3 and 4 are not used.
  std::array<int, 4> Points{};
  bool Pairs = false;
  // Played at a server's table (read from kNetworkHistoryFileName).
  bool Networked = false;

  std::string Date() const;  // "dd-mm-yyyy"
  std::string Time() const;  // "hh:mm"
};

// The matches of a history file's bytes, in file order: the one reader of the
// file, for the viewer, the totals and whatever checks the file. Records end in
// CR LF, in LF or in CR alone; the last may have no line end. A record is one line
// whose date and time are digits. Damage costs only what it touches: a record
// cut short by a failed write is skipped, the whole records after it are found
// again at their line ends, and a cut tail is dropped.
std::vector<HistoryMatch> ParseHistory(std::string_view bytes);

// The matches of the history file of `folder`, in file order; none when the
// file is missing, is not a plain file or cannot be read. A history longer
// than any player could have played is read no further than
// kMaxHistoryFileBytes.
inline constexpr std::size_t kMaxHistoryFileBytes = std::size_t{64} << 20;
std::vector<HistoryMatch> ReadHistory(const std::filesystem::path& folder);

// The networked match just ended, appended to kNetworkHistoryFileName in one
// write; false when it cannot, and then the file is exactly as it was.
bool AppendNetworkHistory(const GameState& state, const std::filesystem::path& folder,
                          const DateTime& when);
// The matches of both files, the local ones first, each file in its order;
// those of the networked file marked Networked.
std::vector<HistoryMatch> ReadAllHistory(const std::filesystem::path& folder);

// The matches newest first: in descending order of their date and time, and
// those of the same minute in reverse file order.
std::vector<HistoryMatch> NewestFirst(std::vector<HistoryMatch> matches);

}  // namespace tarvelis
