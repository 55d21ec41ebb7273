// One table of the server: a match played by the engine's own turn loop, with
// people answering from afar. The loop runs until a person's seat must move
// and no answer is in hand; the table's port then asks the loop to unwind, the
// way closing the game does, and the state is left exactly as a saved game
// waiting for that move. When the answer arrives the loop is entered again to
// resume the hand: it comes back to the same wait, takes the answer as the
// click of that seat, and plays on. So the rules, the computer seats and the
// scoring are the engine's, and a thousand tables need no thread each. A
// move the computer must weigh (an expert's, or a person's seat it plays) can
// stop the loop the same way, to be weighed elsewhere (DeferMoves).
#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/turn_loop.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/table_port.h"
#include "protocol/json.h"
#include "protocol/protocol.h"

namespace tarvelis::server {

// A message for the client of one seat, or (seat 0) for the table's
// watchers.
struct Outgoing {
  int Seat = 0;
  std::string Text;
};

struct TableTimers {
  // A person who dropped is played by the computer after this long.
  std::int64_t AbsentMs = 60000;
  // A person present but silent has this move played by the computer after
  // this long; 0 waits for ever.
  std::int64_t MoveMs = 120000;
};

// Who weighs a computer's move at a server table.
enum class MovePlayer : std::uint8_t {
  kExpert,      // an expert's seat
  kPersonSeat,  // a person's seat played by the computer (auto, absent, silent)
};

// A computer's move to weigh away from the table: a copy of the table's state
// at the move, and who plays it. The players it names read only what the seat
// to move may know; the copy's other hands are never looked at.
struct MoveJob {
  std::string Code;
  std::uint64_t Ticket = 0;  // the table's wait this answers; unique in the process
  MovePlayer Player = MovePlayer::kExpert;
  GameState State;
};

// The move weighed, for the table whose wait it answers.
struct MoveResult {
  std::string Code;
  std::uint64_t Ticket = 0;
  int Hand = 0;
  int Move = 0;
  int Seat = 0;
  int PipA = kNoPip;
  int PipB = kNoPip;
  int End = kPassEnd;
};

// Weighs a job's move. `cancel`, when set, makes the weighing stop early with
// what it has: still a legal move.
MoveResult ComputeMove(const MoveJob& job, const std::atomic<bool>* cancel = nullptr);

struct SeatPlace {
  SeatKind Kind = SeatKind::kComputer;
  int Level = 50;
  std::string Name;
  std::string Token;  // empty while nobody has taken the seat
  bool Present = false;
  bool Covered = false;  // the computer plays it until the person returns
  std::int64_t AbsentSince = 0;
  // The key hash of the person who last sat here having entered the room:
  // who is rated for the seat when the match ends. Empty for nobody.
  std::string KeyHash;
};

class ServerTable : private TablePort, private EngineHooks {
 public:
  ServerTable(std::string code, const TableSetup& setup, std::uint32_t seed,
              TableTimers timers = {});
  ~ServerTable() override = default;
  ServerTable(const ServerTable&) = delete;
  ServerTable& operator=(const ServerTable&) = delete;

  const std::string& Code() const { return code_; }
  bool Started() const { return started_; }
  bool Finished() const { return finished_; }
  int Violations() const { return violations_; }
  const GameState& State() const { return state_; }
  const SeatPlace& Seat(int seat) const { return seats_[seat]; }
  // The rated person of a seat from now on (server_table_rated.cpp).
  void SetKeyHash(int seat, std::string keyHash);
  // Listed in the server's room; kept in the table's file, so a restart
  // lists it again.
  bool Public() const { return public_; }
  void SetPublic(bool open);
  // The hands a seat won (in pairs, those its pair won), repeated ties not.
  int HandsWon(int seat) const { return handsWon_[seat]; }

  // Takes a free person's seat; `token` receives the seat's secret.
  bool Join(int seat, std::string_view name, const std::string& token, ErrorCode& error);
  // The seat whose secret is `token`, or 0.
  int SeatOfToken(std::string_view token) const;
  // A seat's client came (back) or went; a seat left stays the computer's
  // until its person resumes it.
  void Arrived(int seat, std::int64_t now);
  void Dropped(int seat, std::int64_t now);
  void Left(int seat, std::int64_t now);

  bool Start(ErrorCode& error, std::int64_t now);
  // The person's seats nobody took go to the computer at `level`, as a
  // public table does when its people would rather not wait.
  void GiveFreeSeatsToComputer(int level);
  // Whether every person's seat is taken.
  bool SeatsTaken() const;
  // While watched, the table also writes for its watchers (seat 0) every
  // message the seats get that tells no seat's tiles.
  void SetWatched(bool watched) { watched_ = watched; }
  // The answer of a seat to the move it was asked.
  bool Answer(int seat, const Request& move, ErrorCode& error, std::int64_t now);
  // Plays the asked seat by the computer once its person has been away or
  // silent too long. True when anything changed.
  bool Tick(std::int64_t now);
  // When Tick next has something to do; -1 for never.
  std::int64_t NextDeadline() const;

  // What a seat may see now, as one "table" message (seat 0: a watcher, who
  // holds no tiles); and the question put to it, if it is the seat asked.
  std::string ViewFor(int seat) const;
  std::string QuestionFor(int seat) const;
  // Who sits where, as every "seats" message lists them: never a token.
  Json SeatsJson() const;

  std::vector<Outgoing> TakeOutbox() { return std::exchange(outbox_, {}); }
  // Whether a hand closed since the last call: its file is then written
  // before the news of it goes out.
  bool TakeHandClosed() { return std::exchange(handClosed_, false); }
  // Set whenever the table changed since the last file written.
  bool Dirty() const { return dirty_; }
  // The table's file: its seats and the match in the state file's format.
  std::string FileText();
  // `deferMoves` as DeferMoves below, in force as the table resumes.
  static std::unique_ptr<ServerTable> FromFileText(std::string_view text, std::uint32_t seed,
                                                   TableTimers timers, std::int64_t now,
                                                   bool deferMoves = false);

  // With deferred moves, a computer's move that needs weighing (an expert's,
  // or a person's seat played by the computer) is not weighed inline: the
  // table stops before it, as it does for a person's answer, and leaves a job
  // for TakeMoveJob. ApplyMove plays the job's result and goes on; a result
  // for any other wait is refused. Without, every move is weighed inline.
  void DeferMoves(bool defer) { deferMoves_ = defer; }
  std::optional<MoveJob> TakeMoveJob() { return std::exchange(job_, std::nullopt); }
  bool WaitingForMove() const { return moveTicket_ != 0; }
  bool ApplyMove(const MoveResult& result, std::int64_t now);

 private:
  // Runs the loop until a person must answer or the match ends.
  void Advance(LoopEntry entry, std::int64_t now);
  void Broadcast(const Json& message);
  void Send(int seat, const Json& message);
  Json Message(const char* type) const;
  Json TotalsJson() const;
  bool SeatHasChoice(int seat) const;
  // Who weighs the move of the seat to move, when anyone must.
  std::optional<MovePlayer> PlayerFor(int seat) const;

  // The lines of the file between the seats and the state: the seats' key
  // hashes and the hands each won, none of them in older files.
  void WriteRatedLines(std::ostream& out) const;
  // One such line read back; false when it is not one of them.
  bool ReadRatedLine(std::string_view line);
  void CountHandWon(int winner);

  // TablePort: nothing is drawn; the waits end at once, but a person's move.
  void YieldToWindows() override {}
  bool ShowMessage(const std::string& title, const std::string& text, int picture,
                   int buttons) override;
  int WaitForNotice(std::string_view label) override;
  void ClearTableForDeal() override {}
  void DrawHand(int) override {}
  void DrawScoreboard() override {}
  void HandClosed(bool domino) override;
  void ShowLaidTile(int move) override;
  void TakeBackTile(int) override {}
  void ShowPassSign(int seat) override;
  int AskEnd() override { return answerEnd_ == 2 ? 2 : 1; }
  void ThinkingPause(int) override {}
  int ChooseLeader() override { return 0; }
  bool RunManualDeal() override { return false; }
  void PlaySound(Sound) override {}
  void GameLoaded() override {}
  void Wait(int) override {}
  void RecorderLineAdded(int, const std::string&) override {}
  bool ShowsRecorderLines() const override { return false; }
  void RecorderSelect(int) override {}
  void AppendHistory() override {}

  // EngineHooks
  bool ChooseMove(GameState& state, TablePort* port) override;
  void HandDealt(GameState& state) override;
  void MoveMade(GameState& state) override;
  void HandScored(const GameState& state, const HandSummary& summary) override;

  std::string code_;
  TableTimers timers_;
  GameState state_;
  Random rng_;
  EngineContext ctx_;
  PerSeat<SeatPlace> seats_{};
  bool started_ = false;
  bool finished_ = false;
  bool watched_ = false;
  bool dirty_ = true;
  bool public_ = false;
  bool handClosed_ = false;
  int violations_ = 0;
  PerSeat<int> handsWon_{};
  // The question out: the seat asked and the move it answers.
  bool asked_ = false;
  int askedSeat_ = 0;
  std::int64_t askedAt_ = 0;
  // The answer being played: a slot (0: the computer plays the turn).
  bool answered_ = false;
  int answerSlot_ = 0;
  int answerEnd_ = 0;
  // A computer's move out to be weighed (its ticket, 0 for none), the job
  // not yet taken, and the result in hand as the loop comes back to the move.
  bool deferMoves_ = false;
  std::uint64_t moveTicket_ = 0;
  std::optional<MoveJob> job_;
  std::optional<MoveResult> computed_;
  std::vector<Outgoing> outbox_;
};

// The tiles a seat holds unplayed, as a message lists them.
Json HeldTilesJson(const GameState& s, int seat);
// The end a playable tile goes to when its player has no choice.
int OnlyEnd(const GameState& s, const HandSlot& t);

// A seat's kind as the messages and the files name it, and back.
const char* SeatKindName(SeatKind kind);
bool SeatKindFromName(std::string_view name, SeatKind& kind);

// The system's source of chance, opened once.
std::random_device& SystemSource();

// A new secret for a seat, and a new table code, from the system's source.
std::string NewToken();
std::string NewCode();

}  // namespace tarvelis::server
