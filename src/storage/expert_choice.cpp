#include "storage/expert_choice.h"

#include <system_error>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr std::size_t kMostBytes = 4096;

bool AnyChosen(const GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (s.SeatExpert[seat]) return true;
  }
  return s.TutorExpert;
}

}  // namespace

std::string ExpertChoiceText(const GameState& s) {
  std::string text = "Experto=";
  for (int seat = 1; seat <= kSeats; ++seat) {
    text += s.SeatExpert[seat] ? '1' : '0';
    text += seat < kSeats ? "," : "\n";
  }
  text += s.TutorExpert ? "Tutor=1\n" : "Tutor=0\n";
  return text;
}

void ReadExpertChoiceText(GameState& s, std::string_view text) {
  s.SeatExpert = {};
  s.TutorExpert = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with("Experto=")) {
      line.remove_prefix(8);
      // Exactly four flags or none at all.
      if (line.size() != 2 * kSeats - 1) continue;
      PerSeat<bool> seats{};
      bool whole = true;
      for (int seat = 1; seat <= kSeats; ++seat) {
        const char c = line[2 * (seat - 1)];
        if ((c != '0' && c != '1') || (seat < kSeats && line[2 * seat - 1] != ',')) whole = false;
        seats[seat] = c == '1';
      }
      if (whole) s.SeatExpert = seats;
    } else if (line == "Tutor=1") {
      s.TutorExpert = true;
    }
  }
}

void LoadExpertChoice(GameState& s, const std::filesystem::path& folder) {
  const FileBytes file = ReadRegularFile(folder / kExpertFileName, kMostBytes);
  ReadExpertChoiceText(s,
                       file.ErrorNumber == 0 ? std::string_view{file.Bytes} : std::string_view{});
}

bool SaveExpertChoice(const GameState& s, const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kExpertFileName;
  std::error_code error;
  if (!AnyChosen(s) && !std::filesystem::exists(file, error)) return true;
  return ReplaceFile(file, ExpertChoiceText(s));
}

}  // namespace tarvelis
