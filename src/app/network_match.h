// A match at a server's table, played on the table window. The server's
// messages are read into the mirror (net/remote_table) and shown through the
// same port calls a local match makes; when the seat is asked, the player
// answers by the same clicks as a manual seat, and the answer goes back as a
// "move". The waits of the port end early through this match's own loop
// control, so leaving, a closing program or a lost connection never leave a
// wait behind.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/turn_loop.h"
#include "model/random.h"
#include "net/joined_table.h"
#include "net/remote_table.h"

namespace tarvelis {

class Mesa;
class NetLink;
class PresenceLine;
class QtTablePort;
class TableChat;

enum class NetOutcome : std::uint8_t {
  kFinished,  // the match was played to its end
  kLeft,      // the player left it
  kLost,      // the server could not be reached again
  kRefused,   // the server refused this seat
  kClosing,   // the program is closing
};

class NetworkMatch {
 public:
  // A seat of 0 in `joined` watches the table. `folder` is the data folder,
  // where the chat's being hidden is remembered.
  NetworkMatch(GameState& state, Mesa& mesa, QtTablePort& port, const net::JoinedTable& joined,
               std::unique_ptr<NetLink> link, const std::filesystem::path& folder);
  ~NetworkMatch();

  // Plays until the match ends or is left; the state then holds the mirror,
  // which the caller replaces with its own.
  NetOutcome Play();

  // The player leaves: the server is told, and every wait unwinds.
  void Leave();
  bool Watching() const { return remote_.Watching(); }
  // The program closes: every wait unwinds, the seat is kept for a return.
  void Close();

 private:
  void Present(const net::NetEvent& e);
  void AskPlayer();
  // Another seat's move, paced as a local match paces it.
  void PaceMove(const net::NetEvent& e);
  // A fault of the link or a refusal, told even before the table is drawn.
  void SayFault(const std::string& text);
  // Waits, keeping the window answering, until a message comes, the link
  // drops or the match must stop.
  void WaitForLink();
  bool Reconnect();
  // The link ended because the server sent more than it takes: said once,
  // and the server is not tried again.
  bool SayOverflow();
  // The line beside the continue button for a seat or the link (0).
  void SetLine(int subject, const std::string& text, int ms);
  void ClearLine(int subject);
  // Sleeps `ms` keeping the window answering; false when the match must stop.
  bool Pause(int ms);
  bool Stopping() const { return ctx_.Control.Unwinding(); }
  // The table's keys for the chat and the kept hands; true when taken.
  bool OnKey(int key);
  // The match is over: its last hand waits at "Continuar", the others on call.
  void AtMatchEnd();
  // The closed hand as the game drew it, move by move, in the server's seats.
  void LogHandRecord() const;
  // Puts the closed hand `n` (1-based) of the match on the table, for the
  // recorder and the review.
  void ShowKeptHand(int n);
  // The kept hand before (-1) or after (1) the one shown, from the keys or
  // the steps beside its line; true when the match is over with hands kept.
  bool StepKeptHand(int by);
  void Say(const std::string& text);
  void Log(const QString& line) const;

  // The presence line's subjects besides the link and the seats: what is
  // watched, and the kept hand on the table once the match is over.
  static constexpr int kWatchLine = 5;
  static constexpr int kKeptLine = 6;

  GameState& state_;
  Mesa& mesa_;
  QtTablePort& port_;
  net::JoinedTable joined_;
  std::unique_ptr<NetLink> link_;
  std::unique_ptr<PresenceLine> line_;
  std::unique_ptr<TableChat> chat_;
  std::filesystem::path folder_;
  int shownKept_ = 0;  // the kept hand on the table once the match is over
  net::RemoteTable remote_;
  Random rng_;
  EngineContext ctx_;
  bool refused_ = false;
  bool left_ = false;
};

// Joins seat `seat` of table `code` at `address` over `link`, waits for the
// seat and for the match to start (sending "start" once every person's seat
// is taken), and leaves the link's next message the match's first. False,
// with the player's words in `why`, when the server is not there or refuses.
bool JoinTable(NetLink& link, const net::ServerAddress& address, const std::string& code, int seat,
               const std::string& name, net::JoinedTable& joined, std::string& why,
               const std::function<bool()>& stop);

// Watches public table `code` at `address` over `link`: sends "watch" and
// waits for "watching", leaving the table's view, the next message, unread.
// False, with the player's words in `why`, when the server is not there or
// refuses (a private table or none).
bool WatchTable(NetLink& link, const net::ServerAddress& address, const std::string& code,
                net::JoinedTable& watched, std::string& why, const std::function<bool()>& stop);
std::string WatchRequest(const std::string& code);

}  // namespace tarvelis
