// A server's table as one seat sees it, kept in a GameState the table window
// draws as it draws a local match. The server's messages are read one by one;
// each changes the mirror and says what the table must show for it.
//
// The seat played here is drawn at the bottom, where the local player's seat
// is: the server's seat numbers are turned round so that this seat is seat 4,
// which keeps partners facing each other. The other seats' tiles are not
// known until the hand is closed: their slots hold stand-ins, shown only by
// their backs, and a tile a seat lays takes the place of one of that seat's
// stand-ins, so its animation leaves from that hand. The moves go into the
// move record by the model's own steps, so the chain, the move list and the
// scoreboard are those of a local match. Scores are never computed here: the
// totals are those the server sends.
//
// A watcher mirrors the table from seat 0: it holds no tile, so every hand is
// stand-ins drawn by their backs, the server's seats are drawn where their
// numbers put them (seat 4 at the bottom), and nothing is ever asked of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "net/kept_hands.h"
#include "net/remote_reading.h"

namespace tarvelis::server {
class Json;
}

namespace tarvelis::net {

// The longest message a server sends: a whole table's view with every move
// of a hand is a few kilobytes. Longer texts are not the server's.
inline constexpr std::size_t kMaxServerMessageBytes = 1 << 16;

// The seat drawn at the bottom.
inline constexpr int kOwnLocalSeat = 4;

enum class NetEventKind : std::uint8_t {
  kStarted,      // the match began: names, kinds and rules are in the state
  kDealt,        // a new hand: the table is cleared and the hands drawn
  kLaid,         // Move: the tile of that move is laid (the record is written)
  kPassed,       // Seat passed at Move
  kNotice,       // Title, Text
  kHandClosed,   // every hand is shown; Domino
  kScore,        // a hand was scored: the totals are in the state
  kAsked,        // this seat must move: Playable
  kTurn,         // Seat is being waited for
  kSeats,        // Seat (0 for none) dropped, left or came back: Text says so
  kTableLoaded,  // the whole table was read (after joining or resuming)
  kMatchEnd,     // the match is over; the totals are in the state
  kError,        // Title (the error's code), Text (the server's words)
  kChat,         // a line of the table's chat: Title the speaker, Text the line
};

// A tile this seat may lay now, and the ends it may go to.
struct PlayableTile {
  int PipA = 0;
  int PipB = 0;
  bool End1 = false;
  bool End2 = false;
};

struct NetEvent {
  NetEvent(NetEventKind kind = NetEventKind::kNotice) : Kind(kind) {}  // NOLINT: a kind is an event
  NetEventKind Kind;
  int Move = 0;
  int Seat = 0;  // a local seat
  bool Domino = false;
  std::string Title;
  std::string Text;
  std::vector<PlayableTile> Playable;
};

struct Incoming;

class RemoteTable {
 public:
  // `state` keeps the presentation settings it holds (speed, sound, how
  // played tiles show); the rest is the server's from the first message.
  // Seat 0 watches.
  RemoteTable(GameState& state, int serverSeat);

  bool Watching() const { return seat_ == 0; }
  // Every closed hand of the match whose whole deal was shown, in order.
  const std::vector<KeptHand>& KeptHands() const { return kept_; }

  // Reads one message; a text that is not one of the server's messages
  // changes nothing and gives nothing. Whatever the text, every number taken
  // from it is in the range the table's state holds, and every name is cut
  // to the game's longest.
  std::vector<NetEvent> Read(std::string_view text);

  int LocalSeat(int serverSeat) const;
  int ServerSeat(int localSeat) const;

  // The question not yet answered: its hand and move, for the answer.
  bool Asked() const { return asked_; }
  int AskedHand() const { return askedHand_; }
  int AskedMove() const { return askedMove_; }
  const std::vector<PlayableTile>& Playable() const { return playable_; }
  // The answer sent: the question stays until the move comes back.
  void Answered() { asked_ = false; }

  // The "move" message laying a tile at `end` (0: the only end it fits), or
  // leaving the choice to the computer.
  std::string MoveMessage(int pipA, int pipB, int end) const;
  std::string AutoMoveMessage() const;

  bool Started() const { return started_; }
  bool Finished() const { return finished_; }
  // The winner of the match in local numbers (a pair or a seat), 0 until known.
  int MatchWinner() const { return matchWinner_; }
  const std::string& Code() const { return code_; }
  // Whether the computer plays local seat `seat`: nobody sat there, or who
  // did is away.
  bool ComputerPlays(int seat) const {
    return seat >= 1 && seat <= kSeats && presence_[seat] != SeatPresence::kPresent;
  }

 private:
  using Events = std::vector<NetEvent>;
  // One reader per message type.
  void OnStarted(const Incoming& m, Events& events);
  void OnSeats(const Incoming& m, Events& events);
  void OnDealt(const Incoming& m, Events& events);
  void OnLaid(const Incoming& m, Events& events);
  void OnPassed(const Incoming& m, Events& events);
  void OnNotice(const Incoming& m, Events& events);
  void OnHandClosed(const Incoming& m, Events& events);
  void OnHandEnd(const Incoming& m, Events& events);
  void OnTurn(const Incoming& m, Events& events);
  void OnAsked(const Incoming& m, Events& events);
  void OnTable(const Incoming& m, Events& events);
  void OnMatchEnd(const Incoming& m, Events& events);
  void OnError(const Incoming& m, Events& events);
  void OnChat(const Incoming& m, Events& events);

  void ReadRules(const server::Json* rules);
  void ReadTotals(const server::Json* totals);
  void ReadSeats(const SeatsView& seats, std::vector<NetEvent>& events);
  // The hand of a table's view, rebuilt from its moves; or no hand at all.
  void RebuildHand(const Incoming& m);
  void ClearTable();
  void Deal(int hand, int lead, const std::vector<HandSlot>& own);
  // Whether `move` by `seat` is the one the hand awaits.
  bool TakesMove(int seat, int move);
  // False when the move cannot be taken: nothing is then recorded.
  bool Lay(int seat, int move, int a, int b, int end);
  bool Pass(int seat, int move);
  // False when the tiles shown are not as many as the seat holds.
  bool Reveal(int seat, const std::vector<HandSlot>& held);
  void TakeTotals(const PerPair<int>& pairs, const PerSeat<int>& seats);
  int LocalPair(int serverPair) const;
  int LocalWinner(int serverWinner) const;

  GameState& state_;
  int seat_;  // this seat's server number
  std::string code_;
  bool started_ = false;
  bool finished_ = false;
  bool asked_ = false;
  int askedHand_ = 0;
  int askedMove_ = 0;
  int matchWinner_ = 0;
  std::vector<PlayableTile> playable_;
  // The server tells who leads the first hand before it deals; the table
  // shows the tiles first, as a match at home does, and then the notice.
  bool beforeFirstDeal_ = false;
  std::vector<NetEvent> heldNotices_;
  PerSeat<SeatPresence> presence_{};
  bool presenceKnown_ = false;
  PerSeat<SeatPlay> play_{};  // local seats
  std::vector<KeptHand> kept_;
};

}  // namespace tarvelis::net
