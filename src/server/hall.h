// The server's tables and the clients bound to their seats, without any
// network: a connection is a number, a message is text in and text out. The
// WebSocket front (server_main.cpp) only carries the text, so every rule of
// the protocol is here and testable without sockets.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "protocol/protocol.h"
#include "server/server_table.h"

namespace tarvelis::server {

class MovePool;

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
};

class Hall {
 public:
  explicit Hall(HallOptions options) : options_(std::move(options)) {}

  void Opened(int conn);
  void Closed(int conn, std::int64_t now);
  void Received(int conn, std::string_view text, std::int64_t now);
  // Plays, by the computer, seats away or silent past their time.
  void Tick(std::int64_t now);
  // The files of at most `most` tables changed since their last one and not
  // written in the last FileSpacingMs before `now`, taken in turn so every
  // table gets its file within a few rounds; a finished
  // table nobody sits at any more is dropped, and its file with it (a job
  // with no text). The caller writes them (WriteFileJob) off the loop that
  // answers the moves: a disk wait never holds up a table.
  struct FileJob {
    std::filesystem::path Path;
    std::string Text;  // empty: remove the file
  };
  std::vector<FileJob> TakeFileJobs(std::size_t most, std::int64_t now);
  // Takes back the tables whose files are in the folder. Returns how many.
  int Load(std::int64_t now);
  // Plays the moves the pool has weighed, each at the table waiting for it;
  // one whose table has gone or moved on is dropped.
  void MovesComputed(std::int64_t now);

  // Texts to send, each to its connection, in order.
  std::vector<std::pair<int, std::string>> TakeSends() { return std::exchange(sends_, {}); }
  std::size_t TableCount() const { return tables_.size(); }
  ServerTable* Find(std::string_view code);

 private:
  struct Conn {
    std::string Code;
    int Seat = 0;
    FloodGate Gate;
  };
  struct Place {
    std::unique_ptr<ServerTable> Table;
    PerSeat<int> Conn{};   // the connection of each seat; 0 for none
    bool Written = false;  // its file written (or read) at WrittenAt
    std::int64_t WrittenAt = 0;
  };

  void Error(int conn, ErrorCode code);
  // "look": the seats of a table by its code, to a client not yet seated
  // (hall_look.cpp). False when no table has that code.
  bool Look(int conn, const Request& r);
  void Deliver(Place& place);
  // Hands the table's waiting computer move, if any, to the pool.
  void Dispatch(ServerTable& table);
  void Bind(Place& place, int conn, int seat);
  std::filesystem::path FileOf(const std::string& code) const;

  HallOptions options_;
  std::unordered_map<int, Conn> conns_;
  std::map<std::string, Place, std::less<>> tables_;
  std::vector<std::pair<int, std::string>> sends_;
  std::string saveFrom_;  // the code the next round of files starts from
};

// Writes one job: the new file beside the old, then renamed over it.
bool WriteFileJob(const Hall::FileJob& job);

}  // namespace tarvelis::server
