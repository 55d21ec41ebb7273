// The room where people meet before they sit: who is present (name, tag,
// rating, where), the public tables with their free chairs, and the room's
// chat. Entering gives the whole room once; after that each change goes out
// as one small message about the one person or table that changed, so a room
// of thousands costs each change a line, never the whole list again. Plain
// C++: a connection is a number and a message is text, as in the hall.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "protocol/json.h"

namespace tarvelis::server {

// A chat line as the others will read it: control characters and the marks
// that turn text around (which would let a line pass for another's) dropped,
// runs of blanks made one, cut to `maxBytes` on a character's boundary. The
// text is already valid UTF-8 (the JSON reader refuses any other).
std::string CleanChatText(std::string_view text, std::size_t maxBytes);

// The short tag that tells apart two present people of the same name (the
// game shows it only then): the first characters of the player's key hash,
// the same in every session.
std::string TagOf(std::string_view keyHash);

struct RoomSeat {
  std::string Kind;  // "person", "computer" or "expert"
  int Level = 0;     // a computer seat's level
  std::string Name;  // empty while a person's seat is free
  int Rating = 0;    // the person's, rounded; 0 for none
  bool operator==(const RoomSeat&) const = default;
};

struct RoomTable {
  std::string Code;
  std::string Rules;  // the house rules in one line
  std::array<RoomSeat, 4> Seats;
  bool Started = false;
  int Watchers = 0;
  bool operator==(const RoomTable&) const = default;
};

struct RoomPerson {
  std::string Name;
  std::string KeyHash;
  int Rating = 0;
  std::string Where;  // the code of the table where the person sits or watches
  bool operator==(const RoomPerson&) const = default;
};

class Room {
 public:
  // The connection enters: it receives the whole room, the others hear of it.
  // A room of thousands is more than one message may hold, and more than a
  // connection may leave unread: `room` carries what fits in kListingBytes,
  // and the rest follows as the `room_person` and `room_table` lines a
  // change would send, a share at a time (ContinueListings), each no more
  // than the connection may take on top of what it has not yet read.
  void Enter(int conn, RoomPerson person);
  // The bytes a connection's listing may add now. Without one, kListingBytes.
  using ListingRoom = std::function<std::size_t(int conn)>;
  void ContinueListings(const ListingRoom& room = {});
  bool Listing(int conn) const { return listings_.count(conn) != 0; }
  std::vector<int> Listings() const;
  // The connection left the room (or closed): the others hear of it.
  void Leave(int conn);
  bool Inside(int conn) const { return people_.count(conn) != 0; }
  // The room's number for the person on `conn`; 0 outside the room.
  int IdOf(int conn) const;
  // The person moved to a table or back to the room ("").
  void Moved(int conn, std::string where);
  // A public table made, changed, started, watched: those present hear of it
  // only when something they see changed.
  void Table(const RoomTable& table);
  void TableGone(const std::string& code);
  // A line of the room's chat from a connection inside it, with the
  // speaker's name and tag; false when the cleaned line is empty.
  bool Say(int conn, std::string_view text);

  std::size_t People() const { return people_.size(); }
  std::size_t Tables() const { return tables_.size(); }
  // The tables, for the quick seat to choose among.
  const std::map<std::string, RoomTable, std::less<>>& PublicTables() const { return tables_; }

  // Texts to send, each to its connection, in order.
  std::vector<std::pair<int, std::string>> TakeSends() { return std::exchange(sends_, {}); }

  // Held news: the changes of people and tables wait for SendNews, each
  // person's or table's last change only, so a busy room costs everyone one
  // write a round instead of one for every change. The chat is never held.
  void HoldNews(bool hold) { hold_ = hold; }
  void SendNews();

  static constexpr std::size_t kMaxChatBytes = 200;
  static constexpr std::size_t kListingBytes = 32 * 1024;

 private:
  struct Present {
    int Id = 0;  // the room's own number for the person, never the connection's
    RoomPerson Person;
  };
  static Json PersonJson(const Present& present);
  // Where a newcomer's listing goes on: the people from the connection
  // `Person`, then the tables from the code `Table`.
  struct Cursor {
    int Person = 0;
    bool PeopleDone = false;
    std::string Table;
  };
  // Lists from the cursor into `people` and `tables` (or, when null, as
  // lines to `conn`) until `budget` bytes; false when the cursor is not done.
  bool List(int conn, Cursor& at, Json* people, Json* tables, std::size_t budget);
  void ToAll(const std::string& text, int except = 0);
  // A change of one person ("p" and its id) or table ("t" and its code):
  // sent to all now, or held in place of that subject's last held change.
  void News(std::string subject, std::string text, int except = 0);

  std::map<int, Present> people_;
  std::map<std::string, RoomTable, std::less<>> tables_;
  int nextId_ = 1;
  std::vector<std::pair<int, std::string>> sends_;
  std::map<int, Cursor> listings_;
  bool hold_ = false;
  std::vector<std::string> news_;
  std::map<std::string, std::size_t, std::less<>> newsAt_;  // a subject's place in news_
};

Json RoomTableJson(const RoomTable& table);

// Where the quick seat ("Jugar ya") sits a player: among the public tables not
// started, played by the rules the player prefers (their line, as the room
// shows it), the one that the fewest free people's chairs keep from starting,
// the oldest code first on a tie, and its first free chair. Nothing when no
// table fits: the player opens a new one.
struct QuickChoice {
  std::string Code;
  int Seat = 0;
};
std::optional<QuickChoice> QuickSeat(const Room& room, std::string_view rules);

}  // namespace tarvelis::server
