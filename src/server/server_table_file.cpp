// A table's file: its seats (kind, level, secret and name) in a few lines,
// then the match in the state file's format, so a restarted server resumes
// every table where it stood.
#include <sstream>

#include "server/server_table.h"
#include "storage/clean_text.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

constexpr const char* kFileHeading = "TARVELIS-TABLE 1";

}  // namespace

std::string ServerTable::FileText() {
  std::ostringstream out;
  out << kFileHeading << '\n' << "code " << code_ << '\n';
  out << "started " << (started_ ? 1 : 0) << '\n';
  out << "violations " << violations_ << '\n';
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = seats_[seat];
    out << "seat " << seat << ' ' << SeatKindName(p.Kind) << ' ' << p.Level << ' '
        << (p.Token.empty() ? "-" : p.Token) << ' ' << p.Name << '\n';
  }
  WriteRatedLines(out);
  out << "state\n" << StateFileText(state_);
  dirty_ = false;
  return out.str();
}

std::unique_ptr<ServerTable> ServerTable::FromFileText(std::string_view text, std::uint32_t seed,
                                                       TableTimers timers, std::int64_t now,
                                                       bool deferMoves) {
  auto nextLine = [&text]() -> std::string_view {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      const std::string_view line = text;
      text = {};
      return line;
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
  };
  if (nextLine() != kFileHeading) return nullptr;
  const std::string_view codeLine = nextLine();
  if (codeLine.substr(0, 5) != "code " || !IsCodeText(codeLine.substr(5))) return nullptr;
  const std::string code(codeLine.substr(5));
  const std::string_view startedLine = nextLine();
  if (startedLine != "started 0" && startedLine != "started 1") return nullptr;
  const bool started = startedLine == "started 1";
  std::istringstream violationsLine{std::string(nextLine())};
  std::string word;
  int violations = 0;
  if (!(violationsLine >> word >> violations) || word != "violations" || violations < 0)
    return nullptr;
  TableSetup setup;
  PerSeat<std::string> tokens;
  PerSeat<std::string> names;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::string line(nextLine());
    std::istringstream in(line);
    int number = 0;
    std::string kind;
    std::string token;
    int level = -1;
    if (!(in >> word >> number >> kind >> level >> token) || word != "seat" || number != seat ||
        level < 0 || level > 100 || !SeatKindFromName(kind, setup.Seats[seat].Kind) ||
        (token != "-" && !IsTokenText(token)))
      return nullptr;
    setup.Seats[seat].Level = level;
    if (token != "-") tokens[seat] = token;
    std::string name;
    std::getline(in, name);
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);
    names[seat] = BoundedName(name);
  }
  auto table = std::make_unique<ServerTable>(code, setup, seed, timers);
  for (std::string_view line = nextLine(); line != "state"; line = nextLine()) {
    if (text.empty() || !table->ReadRatedLine(line)) return nullptr;
  }
  std::istringstream stateText{std::string(text)};
  const tarvelis::ReadOutcome read = ReadState(table->state_, stateText);
  if (read.ErrorNumber != 0 || read.MatchDropped) return nullptr;
  table->started_ = started;
  table->violations_ = violations;
  table->deferMoves_ = deferMoves;
  for (int seat = 1; seat <= kSeats; ++seat) {
    SeatPlace& p = table->seats_[seat];
    // What the file says of the seats governs: a repaired setting never
    // turns a person's seat into the computer's or back.
    table->state_.SeatControl[seat] = p.Kind == SeatKind::kPerson ? kManual : kAutomatic;
    table->state_.SeatLevel[seat] = static_cast<i16>(p.Level);
    p.Token = tokens[seat];
    p.Name = names[seat];
    table->state_.SeatName[seat] = names[seat];
    p.Present = false;
    p.AbsentSince = now;
  }
  if (started && table->state_.MatchInProgress) {
    // Back to the question the table was waiting on.
    table->Advance(LoopEntry::kResumeHand, now);
  } else if (started) {
    table->finished_ = true;
  }
  table->outbox_.clear();
  table->dirty_ = false;
  table->handClosed_ = false;
  return table;
}

}  // namespace tarvelis::server
