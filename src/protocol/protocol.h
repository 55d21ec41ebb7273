// The messages between the table server and its clients (docs/PROTOCOL.md):
// the reader that turns a client's text into a checked request, and the
// error codes with the words a player reads. Plain C++: fuzzed and tested
// without Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/game_state.h"
#include "protocol/json.h"

namespace tarvelis::server {

inline constexpr int kProtocolVersion = 1;
// No request needs more; a longer one is refused unread.
inline constexpr std::size_t kMaxMessageBytes = 2048;
// A code is what a person reads out to the others at the table: ten
// characters of 32 (50 bits), long enough that guessing at the rate a
// server allows finds no table in a year (docs/PROTOCOL.md).
inline constexpr std::size_t kCodeLength = 10;
inline constexpr std::size_t kTokenLength = 32;
// A player's personal key: 256 random bits in hex, made by the game.
inline constexpr std::size_t kKeyLength = 64;
// A chat line as sent, before it is cleaned and cut to the room's length.
inline constexpr std::size_t kMaxSaidBytes = 1024;

enum class RequestType : std::uint8_t {
  kCreate,
  kJoin,
  kResume,
  kStart,
  kMove,
  kLeave,
  kLook,
  // The room's requests.
  kEnter,
  kLeaveRoom,
  kQuick,
  kFill,
  kWatch,
  kSay,
  kLeaderboard,
  kPlayer,
};
enum class SeatKind : std::uint8_t { kPerson, kComputer, kExpert };

struct SeatSetup {
  SeatKind Kind = SeatKind::kComputer;
  int Level = 50;  // 0..100, for a computer seat
};

// What a new table plays: who sits where and the house rules.
struct TableSetup {
  PerSeat<SeatSetup> Seats{};
  HouseRules Rules{};
};

struct Request {
  RequestType Type = RequestType::kLeave;
  TableSetup Setup;     // create; quick (its rules)
  bool Public = false;  // create
  std::string Code;     // join, resume, look, watch
  int Seat = 0;         // join
  std::string Name;     // join, enter
  std::string Token;    // resume
  std::string Key;      // enter
  bool ToRoom = false;  // say: to the room, or to the table
  std::string Text;     // say, as sent
  // move: the hand and move answered, and the tile and end, or the computer
  // asked to play the turn.
  int Hand = 0;
  int Move = 0;
  int PipA = 0;
  int PipB = 0;
  int End = 0;  // 0 lets the server pick the only end the tile fits
  bool Auto = false;
  int Most = 20;  // leaderboard: how many players, 1..100
};

// The errors a client can meet; each has a fixed code and Spanish words.
enum class ErrorCode : std::uint8_t {
  kBadMessage,
  kVersion,
  kNoTable,
  kSeatTaken,
  kNotPerson,
  kNotSeated,
  kNotReady,
  kStarted,
  kNotAsked,
  kStale,
  kIllegal,
  kTooFast,
  kFull,
  kFinished,
  kTakenOver,
  kNotInRoom,
};

const char* ErrorName(ErrorCode code);
const char* ErrorText(ErrorCode code);

struct ReadOutcome {
  bool Ok = false;
  Request Value;
  ErrorCode Error = ErrorCode::kBadMessage;
};

// Checks size, shape, field types and ranges of one client message before
// anything of it is used. Unknown members are refused, so a typo never passes
// silently for a default.
ReadOutcome ReadRequest(std::string_view text);

// The rule names of the protocol with their values, as written in "rules".
Json RulesJson(const HouseRules& rules);
// The other way: the rules named in `j` written over `rules`; false when a
// name or a value is not one of the protocol's.
bool RulesFromJson(const Json& j, HouseRules& rules);

// A code or a token as the server makes them: only these characters.
bool IsCodeText(std::string_view text);
bool IsTokenText(std::string_view text);
bool IsKeyText(std::string_view text);

// Per connection (and per address, for the costlier requests): a bucket that refills at `perSecond`
// up to `burst` messages. A message that finds it empty is refused, which slows a flood to the
// refill rate without costing the other connections anything.
class FloodGate {
 public:
  explicit FloodGate(double perSecond = 20, double burst = 40)
      : rate_(perSecond), burst_(burst), tokens_(burst) {}
  bool Admit(std::int64_t nowMs);
  // Whether a message now would be admitted, without taking it.
  bool Ready(std::int64_t nowMs);

 private:
  void Refill(std::int64_t nowMs);

  double rate_;
  double burst_;
  double tokens_;
  std::int64_t last_ = -1;
};

}  // namespace tarvelis::server
