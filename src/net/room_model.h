// A server's room as the game sees it: the public tables with their chairs,
// the people present, the room's chat and the answers about ratings, read
// from the server's messages as a stranger's text. However many people,
// tables or lines a server names, the model keeps a bounded number of each,
// names no longer than a seat's, and numbers within their ranges, so the
// window that draws it never meets more than it can draw. The requests the
// room takes are written here too; the window only carries them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "net/chat_text.h"
#include "net/lobby.h"
#include "protocol/json.h"

namespace tarvelis::net {

// What the model keeps at most; a server naming more is cut short.
inline constexpr std::size_t kRoomMostPeople = 300;
inline constexpr std::size_t kRoomMostTables = 200;
inline constexpr std::size_t kRoomChatLines = 100;
inline constexpr std::size_t kRoomMostRanked = 100;
inline constexpr std::size_t kRoomMostHistory = 50;
inline constexpr std::size_t kTagBytes = 16;
inline constexpr std::size_t kRulesLineBytes = 200;
// Ratings are Glicko-2's, around 1500; nothing real comes near these bounds.
inline constexpr int kRatingMost = 10000;

struct RoomChair {
  SeatKind Kind = SeatKind::kPerson;
  int Level = 50;    // a computer's
  std::string Name;  // a taken person's chair; empty when free
  int Rating = 0;
  bool Free() const { return Kind == SeatKind::kPerson && Name.empty(); }
};

struct RoomTable {
  std::string Code;
  std::string Rules;
  std::array<RoomChair, kSeats> Chairs{};  // seat 1 first
  bool Started = false;
  int Watchers = 0;
  int FreeChairs() const;
};

struct RoomPerson {
  int Id = 0;
  std::string Name;
  std::string Tag;
  int Rating = 0;
  std::string Where;  // the table's code, or empty
};

struct ChatLine {
  bool ToRoom = true;
  int From = 0;
  std::string Name;
  std::string Tag;
  std::string Text;
};

struct RankedPlayer {
  std::string Name;
  std::string Tag;
  int Rating = 0;
  int Deviation = 0;
  int Matches = 0;
  int Hands = 0;
  int HandsWon = 0;
};

struct PastMatch {
  std::string Date;
  int Total = 0;
  int Before = 0;
  int After = 0;
};

struct PlayerPage {
  RankedPlayer Self;
  std::vector<PastMatch> History;  // newest first
};

// The room's requests, as sent.
std::string EnterRequest(std::string_view key, std::string_view name);
std::string LeaveRoomRequest();
// The quick seat, at a table of the house rules in force.
std::string QuickRequest(const GameState& settings);
std::string WatchRequest(std::string_view code);
std::string SayRequest(bool toRoom, std::string_view text);
std::string LeaderboardRequest(int most);
std::string PlayerRequest();

class RoomModel {
 public:
  enum class Heard : std::uint8_t {
    kNothing,  // not a room message, or not one of the shape the room reads
    kRoom,
    kPerson,
    kTable,
    kChat,
    kLeaderboard,
    kPlayer,
    kCanFill,
    kError,  // the server refused a request: LastError() names why
  };

  // Reads one server message; what it changed.
  Heard Read(std::string_view text);

  bool Entered() const { return entered_; }
  int You() const { return you_; }
  const std::vector<RoomTable>& Tables() const { return tables_; }
  const std::vector<RoomPerson>& People() const { return people_; }
  const std::deque<ChatLine>& Chat() const { return chat_; }
  const std::vector<RankedPlayer>& Leaderboard() const { return ranked_; }
  const std::optional<PlayerPage>& Page() const { return page_; }
  // The public table whose free chairs may now go to the computer.
  const std::string& FillCode() const { return fillCode_; }
  // The code of the server's last refusal (`too_fast`, `not_ready`...).
  const std::string& LastError() const { return error_; }

  const RoomTable* TableOf(std::string_view code) const;
  const RoomPerson* PersonOf(int id) const;
  // A person's name, with the tag beside it only when another person present
  // bears the same name.
  std::string ShownName(const RoomPerson& person) const;

  // A muted person's lines are dropped, now and from then on; by tag, which
  // outlives the person's leaving and coming back.
  void SetMutes(std::set<std::string> tags);
  const std::set<std::string>& Mutes() const { return mutes_; }
  void Mute(const std::string& tag);
  void Unmute(const std::string& tag);

 private:
  Heard ReadRoom(const server::Json& message);
  Heard ReadPerson(const server::Json& message);
  Heard ReadTable(const server::Json& message);
  Heard ReadChat(const server::Json& message);
  Heard ReadLeaderboard(const server::Json& message);
  Heard ReadPlayer(const server::Json& message);

  bool entered_ = false;
  int you_ = 0;
  std::vector<RoomTable> tables_;
  std::vector<RoomPerson> people_;
  std::deque<ChatLine> chat_;
  std::vector<RankedPlayer> ranked_;
  std::optional<PlayerPage> page_;
  std::string fillCode_;
  std::string error_;
  std::set<std::string> mutes_;
};

// Mutes as TARVRED.INI keeps them: tags separated by blanks; anything that is
// not a tag is left out.
std::string MutesText(const std::set<std::string>& tags);
std::set<std::string> ParseMutes(std::string_view text);

}  // namespace tarvelis::net
