#include "storage/history_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "model/match_result.h"
#include "model/trimmed.h"
#include "storage/clean_text.h"
#include "storage/file_access.h"
#include "storage/text_codec.h"

namespace tarvelis {
namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, std::clamp(value, 0, 9999));
  return buffer;
}

std::string Points(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%3d", std::clamp(value, 0, 999));
  return buffer;
}

// Nine bytes: the name in the file's code page, cut or padded with spaces. A
// control character would break the record's line, so it becomes a space.
std::string NameField(const std::string& utf8) {
  std::string name = Utf8To1252(WithoutControlCharacters(utf8));
  name = std::string(TrimmedView(name));
  name.resize(9, ' ');
  return name;
}

// Points as written, right-aligned in three: spaces first, then digits; any
// other character ends the number.
int ParsePoints(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  int value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    value = value * 10 + (field[i] - '0');
  }
  return value;
}

// A record is taken when its date and time are digits and it holds no line
// end: anything else is a piece of a damaged record.
bool ParseRecord(std::string_view text, HistoryMatch& match) {
  for (int i = 0; i < 12; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  if (text.find_first_of("\r\n") != std::string_view::npos) return false;
  match.Text = std::string(text);
  for (int k = 0; k < 4; ++k) {
    match.Names[k] = Utf8From1252(TrimmedView(text.substr(12 + 9 * k, 9)));
    match.Points[k] = ParsePoints(text.substr(48 + 3 * k, 3));
  }
  match.Pairs = text[60] == 'P';
  return true;
}

// The length of the line end at the start of `rest`, or -1 when it does not
// start with one. The end of the file ends the last record too.
int LineEndAt(std::string_view rest) {
  if (rest.empty()) return 0;
  if (rest.starts_with("\r\n")) return 2;
  // A lone CR ends a line too, as an old Mac editor leaves it.
  if (rest[0] == '\n' || rest[0] == '\r') return 1;
  return -1;
}

}  // namespace

std::string HistoryRecord(const GameState& s, const DateTime& when) {
  std::array<int, 4> seats{};
  std::array<int, 4> points{};
  const bool pairs = s.RuleMode == kModePairs;
  const int winner = MatchWinner(s);
  if (pairs) {
    const int loser = 3 - winner;
    // Pair 1 is seats 2 and 4, pair 2 seats 1 and 3.
    seats = winner == 1 ? std::array{2, 4, 1, 3} : std::array{1, 3, 2, 4};
    points = {s.PairTotal[winner], s.PairTotal[loser], 0, 0};
  } else {
    seats[0] = winner;
    int n = 1;
    for (int seat = 1; seat <= kSeats; ++seat) {
      if (seat != winner) seats[n++] = seat;
    }
    std::stable_sort(seats.begin() + 1, seats.end(),
                     [&](int a, int b) { return s.SeatTotal[a] > s.SeatTotal[b]; });
    for (int i = 0; i < 4; ++i) points[i] = s.SeatTotal[seats[i]];
  }
  std::string record = Digits(when.Year, 4) + Digits(when.Month, 2) + Digits(when.Day, 2) +
                       Digits(when.Hour, 2) + Digits(when.Minute, 2);
  for (int seat : seats) record += NameField(s.SeatName[seat]);
  for (int p : points) record += Points(p);
  record += pairs ? "P" : "I";
  record += "\r\n";
  return record;
}

bool AppendHistory(const GameState& state, const std::filesystem::path& folder,
                   const DateTime& when) {
  return AppendWhole(folder / kHistoryFileName, HistoryRecord(state, when));
}

bool AppendHistoryOnce(const std::filesystem::path& folder, std::string_view record) {
  const FileBytes file = ReadRegularFile(folder / kHistoryFileName, kMaxHistoryFileBytes);
  if (file.ErrorNumber == 0) {
    const std::vector<HistoryMatch> matches = ParseHistory(file.Bytes);
    if (!matches.empty() && matches.back().Text == record) return true;
  }
  return AppendWhole(folder / kHistoryFileName, std::string(record) + "\r\n");
}

std::string HistoryMatch::Date() const {
  return Text.substr(6, 2) + "-" + Text.substr(4, 2) + "-" + Text.substr(0, 4);
}

std::string HistoryMatch::Time() const {
  return Text.substr(8, 2) + ":" + Text.substr(10, 2);
}

std::vector<HistoryMatch> ParseHistory(std::string_view bytes) {
  std::vector<HistoryMatch> matches;
  matches.reserve(bytes.size() / kHistoryRecordSize + 1);
  const size_t n = bytes.size();
  size_t p = 0;
  while (p < n) {
    HistoryMatch match;
    if (n - p >= static_cast<size_t>(kHistoryFieldsSize)) {
      const int end = LineEndAt(bytes.substr(p + kHistoryFieldsSize));
      if (end >= 0 && ParseRecord(bytes.substr(p, kHistoryFieldsSize), match)) {
        matches.push_back(std::move(match));
        p += kHistoryFieldsSize + end;
        continue;
      }
    }
    // Out of step: a write that failed half way leaves a piece of a record
    // glued to the front of the next one. The next line end closes that
    // record, whose fields are the characters just before it.
    const size_t end = bytes.find_first_of("\r\n", p);
    if (end == std::string_view::npos) break;
    if (end - p >= static_cast<size_t>(kHistoryFieldsSize) &&
        ParseRecord(bytes.substr(end - kHistoryFieldsSize, kHistoryFieldsSize), match)) {
      matches.push_back(std::move(match));
    }
    p = end + static_cast<size_t>(LineEndAt(bytes.substr(end)));
  }
  return matches;
}

std::vector<HistoryMatch> ReadHistory(const std::filesystem::path& folder) {
  // Only a plain file is read, and only so far: a pipe or a device in its
  // place would hang the viewer or never end.
  const FileBytes file = ReadRegularFile(folder / kHistoryFileName, kMaxHistoryFileBytes);
  if (file.ErrorNumber != 0) return {};
  return ParseHistory(file.Bytes);
}

bool AppendNetworkHistory(const GameState& state, const std::filesystem::path& folder,
                          const DateTime& when) {
  return AppendWhole(folder / kNetworkHistoryFileName, HistoryRecord(state, when));
}

std::vector<HistoryMatch> ReadAllHistory(const std::filesystem::path& folder) {
  std::vector<HistoryMatch> matches = ReadHistory(folder);
  const FileBytes file = ReadRegularFile(folder / kNetworkHistoryFileName, kMaxHistoryFileBytes);
  if (file.ErrorNumber != 0) return matches;
  for (HistoryMatch& m : ParseHistory(file.Bytes)) {
    m.Networked = true;
    matches.push_back(std::move(m));
  }
  return matches;
}

std::vector<HistoryMatch> NewestFirst(std::vector<HistoryMatch> matches) {
  // A record's time goes to the minute only, and the names after it say
  // nothing of order: matches of the same minute keep the order they were
  // appended in, the later one first.
  constexpr std::size_t kWhenSize = 12;  // yyyymmddhhmm
  std::reverse(matches.begin(), matches.end());
  std::stable_sort(matches.begin(), matches.end(),
                   [](const HistoryMatch& a, const HistoryMatch& b) {
                     return a.Text.substr(0, kWhenSize) > b.Text.substr(0, kWhenSize);
                   });
  return matches;
}

}  // namespace tarvelis
