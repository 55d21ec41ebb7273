#include "storage/history_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

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

// Nine bytes: the name in the file's code page, cut or padded with spaces.
std::string NameField(const std::string& utf8) {
  std::string name = Utf8To1252(utf8);
  name.resize(9, ' ');
  return name;
}

}  // namespace

std::string HistoryRecord(const GameState& s, const DateTime& when) {
  std::array<int, 4> seats{};
  std::array<int, 4> points{};
  const bool pairs = s.RuleMode == kModePairs;
  if (pairs) {
    const int winner = s.HandWinner == 2 ? 2 : 1;
    const int loser = 3 - winner;
    // Pair 1 is seats 2 and 4, pair 2 seats 1 and 3.
    seats = winner == 1 ? std::array{2, 4, 1, 3} : std::array{1, 3, 2, 4};
    points = {s.PairTotal[winner], s.PairTotal[loser], 0, 0};
  } else {
    const int winner = s.HandWinner >= 1 && s.HandWinner <= kSeats ? s.HandWinner : 1;
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
  std::ofstream out(folder / kHistoryFileName, std::ios::binary | std::ios::app);
  if (!out) return false;
  out << HistoryRecord(state, when);
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace tarvelis
