// The way to a server's table, up to the start of its match: the requests
// that create a table from the house rules in force, sit at one of its seats
// and start it, and what the server's answers make of the table (its code,
// our seat and token, who has joined, whether we may start) and of its
// refusals (the words the player reads). The window only types, clicks and
// carries text; every decision is here, tested without sockets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/game_state.h"
#include "model/rules_line.h"
#include "net/joined_table.h"
#include "net/server_address.h"

namespace tarvelis::net {

enum class SeatKind : std::uint8_t { kPerson, kComputer, kExpert };

// The table the player is about to create: who plays each seat, and the seat
// the player takes, always a person's.
struct TablePlan {
  PerSeat<SeatKind> Kinds{};
  int OwnSeat = 4;
  // Listed in the server's room, where anybody may sit or watch; otherwise
  // reached only by its code.
  bool Public = false;

  // Person, computer, expert, in turn; the player's own seat stays a person's.
  void CycleKind(int seat);
  // Sits the player at `seat`, which becomes a person's.
  void SitAt(int seat);
  bool operator==(const TablePlan&) const = default;
};

// The seat the settings give the player (a seat played by hand, the bottom
// one first), the table they describe (seats played by hand are people's, an
// expert's seat the expert's, the rest the computer's), and the player's name.
int LocalSeat(const GameState& settings);
TablePlan PlanFromSettings(const GameState& settings);
std::string DefaultName(const GameState& settings);

// The requests, as sent. A computer seat plays at its level in the settings;
// the rules are the house rules in force.
std::string CreateRequest(const GameState& settings, const TablePlan& plan);
std::string JoinRequest(std::string_view code, int seat, std::string_view name);
std::string StartRequest();
std::string LeaveRequest();
// Who sits at table `code`, asked before sitting down.
std::string LookRequest(std::string_view code);

// What the player typed, checked. The code is read in capitals without its
// blanks; the name follows the settings window's rules and may not be empty.
std::optional<std::string> CheckedCode(std::string_view typed);
std::optional<std::string> CheckedName(const std::u32string& typed);

// The house rules a created table plays, in one line (model/rules_line.h).
using tarvelis::RulesLine;

// Why the way to a table stopped, each with its words (FaultText).
enum class Fault : std::uint8_t {
  kNone,
  kNoServer,  // refused, unreachable or silent past the wait
  kDropped,   // the connection ended on the way
  kNoTable,
  kSeatTaken,
  kNotPerson,
  kFull,
  kVersion,
  kStarted,
  kNotReady,
  kRefused,  // any other refusal, or an answer that is not the server's
};
const char* FaultText(Fault fault);
// The fault of a server's error code; kRefused for one the way to a table
// does not tell apart.
Fault FaultOfError(std::string_view code);

struct LobbySeat {
  SeatKind Kind = SeatKind::kComputer;
  int Level = 50;  // a computer seat's
  std::string Name;
  bool Taken = false;
  bool Present = false;
  // A seat the player may still sit at: a person's nobody has taken.
  bool Free() const { return Kind == SeatKind::kPerson && !Taken; }
};

// How every client names a seat played by the server: the computer by its
// level, as its creator chose it ("Ordenador, nivel 50"), or the expert.
std::string ServerSeatText(const LobbySeat& seat);

// The answer to a look: the table's code, whether its match began, and its
// seats; or the refusal's fault. Anything else read gives nothing.
struct LookAnswer {
  std::string Code;
  bool Started = false;
  PerSeat<LobbySeat> Seats{};
  Fault Refused = Fault::kNone;
};
std::optional<LookAnswer> ReadLookAnswer(std::string_view text);
// The seat to offer on the join page: `wanted` when free, else the first free
// one, else `wanted`.
int OfferedSeat(const PerSeat<LobbySeat>& seats, int wanted);

class Lobby {
 public:
  enum class Stage : std::uint8_t {
    kIdle,      // nothing asked yet, or stopped by a fault: the player may try again
    kCreating,  // create sent
    kJoining,   // join sent
    kSeated,    // at the table, waiting for the others or the start
    kStarting,  // start sent
    kStarted,   // the match began: the window hands the table over
  };

  // The first request once the connection is open.
  std::string BeginCreate(const GameState& settings, const TablePlan& plan, std::string name);
  std::string BeginJoin(std::string code, int seat, std::string name);
  // The room's quick seat: the server chooses the table and the seat.
  std::string BeginQuick(const GameState& settings, std::string name);

  // Reads one server message. Returns the request to send at once (the join
  // after `created`), or "". At kStarted the message that started the match
  // (`started`, or a `table` already under way) is the table window's: the
  // caller leaves it unread.
  std::string Read(std::string_view text);
  // The connection could not be opened, or ended.
  void ConnectionLost(bool wasOpen);
  std::string Start();
  // A public table's free chairs may go to the computer (the server said
  // `can_fill` of this table); Fill() asks for it, once.
  bool MayFill() const { return mayFill_ && stage_ == Stage::kSeated; }
  std::string Fill();

  Stage CurrentStage() const { return stage_; }
  bool Busy() const { return stage_ != Stage::kIdle; }
  Fault LastFault() const { return fault_; }
  bool Host() const { return host_; }
  const std::string& Code() const { return code_; }
  int Seat() const { return seat_; }
  const PerSeat<LobbySeat>& Seats() const { return seats_; }
  bool KnowsSeats() const { return knowsSeats_; }
  // The host, seated, with every person's seat taken.
  bool MayStart() const;
  JoinedTable Joined(const ServerAddress& address) const;

 private:
  void Fail(Fault fault);

  Stage stage_ = Stage::kIdle;
  Fault fault_ = Fault::kNone;
  bool host_ = false;
  std::string code_;
  std::string name_;
  std::string token_;
  int seat_ = 0;
  PerSeat<LobbySeat> seats_{};
  bool knowsSeats_ = false;
  bool mayFill_ = false;
};

}  // namespace tarvelis::net
