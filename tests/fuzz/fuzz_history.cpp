// Any bytes as a history file, and any names in a record: every record the
// reader keeps is one whole line, and every record the writer makes is one line of
// exactly 63 bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/history_file.h"
#include "storage/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvelis;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const HistoryMatch& match : ParseHistory(bytes)) {
    if (match.Text.size() != kHistoryFieldsSize || match.Text.find('\n') != std::string::npos ||
        match.Text.find_first_not_of("0123456789") < 12) {
      std::abort();
    }
  }

  // The same bytes as four names (split at the first three '|').
  GameState s;
  ApplyDefaults(s);
  std::string_view rest = bytes;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::size_t bar = seat < kSeats ? rest.find('|') : std::string_view::npos;
    s.SeatName[seat] = std::string(rest.substr(0, bar));
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  }
  s.RuleMode = size % 2 == 0 ? kModePairs : kModeIndividual;
  s.HandWinner = static_cast<i16>(size % 5);
  const std::string record = HistoryRecord(s, DateTime{2026, 12, 6, 12, 0});
  if (record.size() != kHistoryRecordSize || record.find_first_of("\r\n") != 61 ||
      record.find('\0') != std::string::npos || ParseHistory(record).size() != 1) {
    std::fprintf(stderr, "a record of %zu bytes\n", record.size());
    std::abort();
  }
  return 0;
}
