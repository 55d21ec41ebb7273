// The server's tables and the clients bound to their seats, without any
// network: a connection is a number, a message is text in and text out. The
// WebSocket front (server_main.cpp) only carries the text, so every rule of
// the protocol is here and testable without sockets.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "protocol/protocol.h"
#include "server/ratings_port.h"
#include "server/room.h"
#include "server/server_table.h"

namespace tarvelis::server {

class MovePool;
class RatingsPort;

struct HallOptions {
  TableTimers Timers;
  std::size_t MaxTables = 5000;
  // Where each table's file is kept; empty keeps none.
  std::filesystem::path Folder;
  // The deals' seed of the first table (the next get the following
  // numbers), for a run to be repeated; 0 takes every seed from the system.
  std::uint32_t Seed = 0;
  // A table's file is written again at most this long after its last: a
  // crash loses at most these last seconds of a table's play, and a
  // thousand tables busy at once cost the disk two hundred files a second,
  // not one for every move.
  std::int64_t FileSpacingMs = 5000;
  double MessagesPerSecond = 20;
  double MessageBurst = 40;
  // Weighs the computer's moves off the caller's thread (see move_pool.h);
  // null weighs them inline, as each message is handled.
  MovePool* Pool = nullptr;
  // Per address (an IPv4 address or an IPv6 /64, as the front names it; an
  // empty address, a hall used without a network, has no such limits).
  int MaxConnectionsPerAddress = 64;
  int TablesPerMinute = 10;
  // Joins and resumes naming no table or no seat: the guesses of a code.
  int FailedLookupsPerMinute = 10;
  // A connection without a seat that says nothing this long is closed.
  std::int64_t UnseatedIdleMs = 60000;
  // A table never started and with no seated connection this long is gone.
  std::int64_t UnstartedTableMs = 600000;
  // The players' ratings, found by their keys as they enter the room; null
  // keeps none, and every person in the room is a newcomer at 1500.
  RatingsPort* Ratings = nullptr;
  // People in the room at once.
  std::size_t MaxRoom = 5000;
  // Watchers of one table.
  std::size_t MaxWatchers = 200;
  // A public table not started may give its free chairs to the computer
  // this long after it was made.
  std::int64_t FillMs = 60000;
  // Chat lines per connection, beyond the message limit.
  double ChatPerSecond = 1;
  double ChatBurst = 5;
  // The room's news of people and tables goes out at most this often, each
  // one's last change only (see Room::HoldNews); 0 sends each at once.
  std::int64_t RoomNewsMs = 0;
};

// What the server's log line tells of the hall.
struct HallCounts {
  std::size_t Tables = 0;
  std::size_t Connections = 0;
  std::size_t Addresses = 0;
  std::size_t People = 0;           // in the room
  std::uint64_t Expired = 0;        // tables never started and left
  std::uint64_t Refused = 0;        // connections over their address's limit
  std::uint64_t FailedLookups = 0;  // joins and resumes that found nothing
  std::uint64_t FailedWrites = 0;   // table files not written (each retried)
};

class Hall {
 public:
  explicit Hall(HallOptions options) : options_(std::move(options)) {
    room_.HoldNews(options_.RoomNewsMs > 0);
  }

  // A new connection from `address`; false when that address has its
  // connections already, and the caller closes it unheard.
  bool Opened(int conn, std::int64_t now = 0, std::string address = {});
  void Closed(int conn, std::int64_t now);
  void Received(int conn, std::string_view text, std::int64_t now);
  // Plays, by the computer, seats away or silent past their time; lets go
  // of idle connections and of tables nobody came to play.
  void Tick(std::int64_t now);
  // The room's held news and the newcomers' listings, once RoomNewsMs has
  // passed since the last round; Tick does it too. The caller's timer, finer
  // than the tables' tick, sets how late a change of the room may go out.
  void RoomRound(std::int64_t now);
  // A newcomer's listing goes on as fast as its connection reads: the caller
  // tells how many bytes each connection may take now, hands what it sent to
  // the system, and continues the listings (those connections) again while
  // they take more. Without it, the listing goes Room::kListingBytes a round.
  void PaceListings(Room::ListingRoom room) { listingRoom_ = std::move(room); }
  std::vector<int> ListingConnections() const { return room_.Listings(); }
  void ContinueListings() { room_.ContinueListings(listingRoom_); }
  // Connections the hall is done with: the caller closes them once their
  // last texts are sent.
  std::vector<int> TakeCloses() { return std::exchange(closes_, {}); }
  // The files of at most `most` tables changed since their last one and not
  // written in the last FileSpacingMs before `now`, taken in turn so every
  // table gets its file within a few rounds; a finished
  // table nobody sits at any more is dropped, and its file with it (a job
  // with no text). The caller writes them (WriteFileJob) off the loop that
  // answers the moves: a disk wait never holds up a table.
  //
  // A table whose hand just closed comes first, whatever its spacing, and
  // its news waits until its file is written (FileWritten): a restart never
  // goes back into a hand whose tiles were shown.
  struct FileJob {
    std::string Code;
    std::filesystem::path Path;
    std::string Text;  // empty: remove the file
  };
  std::vector<FileJob> TakeFileJobs(std::size_t most, std::int64_t now);
  // Only the jobs that hold news back: those of hands just closed, and of
  // tables gone.
  std::vector<FileJob> TakeUrgentFileJobs(std::int64_t now);
  // The outcome of a job taken: a file not written, or not removed, is
  // tried again.
  void FileWritten(const std::string& code, bool ok, std::int64_t now);
  // Takes back the tables whose files are in the folder. Returns how many;
  // a damaged file is moved into damaged/ and its reason added to `problems`.
  int Load(std::int64_t now, std::vector<std::string>* problems = nullptr);
  // Plays the moves the pool has weighed, each at the table waiting for it;
  // one whose table has gone or moved on is dropped.
  void MovesComputed(std::int64_t now);

  // Texts to send, each to its connection, in order.
  std::vector<std::pair<int, std::string>> TakeSends();
  std::size_t TableCount() const { return tables_.size(); }
  // The connection is known by this key hash from now on, as entering the
  // room makes it: a seat it takes is rated under it, and it may ask for
  // its own page (hall_ratings.cpp).
  void Identified(int conn, std::string keyHash);
  HallCounts Counts() const;
  ServerTable* Find(std::string_view code);

 private:
  struct Conn {
    std::string Code;
    int Seat = 0;
    FloodGate Gate;
    std::string Address;
    std::int64_t HeardAt = 0;
    bool Warned = false;  // told too_fast since its last message admitted
    // Who entered the room on it: the player's key hash (empty before it
    // enters, or with no ratings kept; a seat it takes is rated under it),
    // the name cleaned as a seat's, the rating rounded.
    bool InRoom = false;
    std::string KeyHash;
    std::string Name;
    int Rating = 0;
    std::string Watching;  // the code of the table watched
    FloodGate Chat;
  };
  // What one address may still do; kept a while after its last connection
  // closes, so reconnecting does not refill it.
  struct Visitor {
    int Open = 0;
    FloodGate Creates;
    FloodGate Lookups;
    std::int64_t SeenAt = 0;
  };
  struct Place {
    std::unique_ptr<ServerTable> Table;
    PerSeat<int> Conn{};       // the connection of each seat; 0 for none
    bool Written = false;      // its file written (or read) at WrittenAt
    bool InFlight = false;     // a job taken and its outcome not yet known
    bool Retry = false;        // the last job failed
    bool Urgent = false;       // a hand closed: written before its news goes
    bool UrgentTaken = false;  // the job in flight is that urgent one
    bool Holding = false;      // news held until the urgent file is written
    bool Recorded = false;     // its finished match handed to the ratings
    std::int64_t WrittenAt = 0;
    std::int64_t SeatedAt = 0;                      // last time a connection sat or was seated
    std::vector<std::pair<int, std::string>> Held;  // news waiting for the file
    // A public table: listed in the room, watched, started by itself.
    bool Public = false;
    bool Listed = false;    // in the room's list now
    bool FillSent = false;  // its people told they may fill it
    std::int64_t MadeAt = 0;
    std::string RulesLine;
    PerSeat<int> Rating{};  // of the person who took each seat, from the room
    std::vector<int> Watchers;
  };
  using Tables = std::map<std::string, Place, std::less<>>;

  void Error(int conn, ErrorCode code);
  // A text for a connection of the table's, held while the table's news is.
  void Post(Place& place, int conn, std::string text);
  void Deliver(Place& place);
  // Hands the table's waiting computer move, if any, to the pool.
  void Dispatch(ServerTable& table);
  void Bind(Place& place, int conn, int seat, std::int64_t now);
  // The table where the connection sits; the end, the connection told
  // `not_seated`, when it sits nowhere.
  Tables::iterator SeatedTable(int conn, const Conn& c);
  bool Bound(const Place& place) const;
  std::filesystem::path FileOf(const std::string& code) const;
  Visitor* VisitorOf(const Conn& c);
  // The guesses of an address: false when it has had its share.
  bool MayLookUp(const Conn& c, std::int64_t now);
  // A join or a resume: from a connection not seated yet, within its
  // address's guesses; otherwise refused, and false.
  bool MaySit(int conn, const Conn& c, std::int64_t now);
  void LookupFailed(int conn, const Conn& c, std::int64_t now);
  Tables::iterator Drop(Tables::iterator it);
  std::optional<FileJob> JobFor(Place& place, std::int64_t now);

  void OnCreate(int conn, Conn& c, const Request& r, std::int64_t now);
  void OnJoin(int conn, Conn& c, const Request& r, std::int64_t now);
  void OnResume(int conn, Conn& c, const Request& r, std::int64_t now);
  // "look": the seats of a table by its code, to a client not yet seated
  // (hall_look.cpp); a code that names nothing is a failed look-up like a
  // join's or a resume's.
  void OnLook(int conn, Conn& c, const Request& r, std::int64_t now);
  void Seated(int conn, Place& place, int seat, const std::string& token);
  // The ratings (hall_ratings.cpp): a finished match rated and kept once,
  // and the requests that read the ratings.
  void RecordMatch(Place& place);
  void OnLeaderboard(int conn, const Request& r);
  void OnPlayer(int conn, const Conn& c);
  void OnSeated(int conn, Conn& c, const Request& r, std::int64_t now);
  // A new table from a create or a quick seat, or null when refused (the
  // refusal sent).
  Place* MakeTable(int conn, Conn& c, const TableSetup& setup, bool open, std::int64_t now);
  // Sends a message of a table's to the connection of its seat, or to its
  // watchers (seat 0).
  void Route(Place& place, Outgoing out, int skipSeat = 0);
  void SendError(int conn, ErrorCode code, const char* text);

  // The room (hall_room.cpp).
  void OnRoom(int conn, Conn& c, const Request& r, std::int64_t now);
  void OnEnter(int conn, Conn& c, const Request& r);
  void OnQuick(int conn, Conn& c, const Request& r, std::int64_t now);
  void OnFill(int conn, Conn& c, std::int64_t now);
  void OnSay(int conn, Conn& c, const Request& r, std::int64_t now);
  // A public table as the room lists it, sent to the room when it changed,
  // or its end.
  void Publish(Place& place);
  // Starts a public table once every person's chair is taken.
  void StartWhenFull(Place& place, std::int64_t now);
  void TellFill(Place& place, int conn);
  std::string WhereOf(const Conn& c) const;
  // Watchers (hall_watch.cpp).
  void OnWatch(int conn, Conn& c, const Request& r);
  void StopWatching(int conn, Conn& c);
  void DropWatchers(Place& place);

  HallOptions options_;
  std::unordered_map<int, Conn> conns_;
  std::unordered_map<std::string, Visitor> visitors_;
  Tables tables_;
  std::vector<std::pair<int, std::string>> sends_;
  std::vector<int> closes_;
  std::vector<FileJob> removals_;
  std::vector<std::string> urgent_;  // codes of tables with a hand just closed
  std::vector<std::pair<std::int64_t, FileJob>> retries_;  // removals that failed, and when
  std::string saveFrom_;  // the code the next round of files starts from
  std::int64_t sweptAt_ = 0;
  std::int64_t newsAt_ = 0;
  HallCounts counts_;
  Room room_;
  Room::ListingRoom listingRoom_;
};

// Makes the tables' folder if need be, private to its owner, and proves it
// can be written. An empty text, or why the server cannot keep its tables.
std::string PrepareFolder(const std::filesystem::path& folder);

// A finished table's match as the ratings take it: today's date, the rules'
// line, and each seat's person (its key hash) or the computer's fixed rating.
FinishedMatch FinishedMatchOf(const ServerTable& table);

// Writes one job: the new file beside the old, then renamed over it, and
// readable by its owner only (it holds the seats' secrets).
bool WriteFileJob(const Hall::FileJob& job);

}  // namespace tarvelis::server
