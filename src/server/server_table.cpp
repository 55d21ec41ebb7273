#include "server/server_table.h"

#include <random>

#include "engine/hand_end.h"
#include "model/consistency.h"
#include "model/match_result.h"
#include "model/move_rules.h"
#include "player/expert.h"
#include "storage/clean_text.h"

namespace tarvelis::server {
namespace {

// An expert seat weighs fewer deals than the game's own analysis: a server
// move must come back in milliseconds.
constexpr int kServerExpertDeals = 200;
// A person's seat played by the computer is played by the same expert, on a
// quarter of the deals: it plays far more often (every "auto" answer), and
// so still wins more hands than the rules player, which reads every hand.
constexpr int kPersonSeatDeals = 50;

// Each wait for a weighed move gets a ticket of its own, so a result can only
// ever answer the wait it was made for, whatever table now has that code.
std::atomic<std::uint64_t> g_lastTicket{0};

// The same seed for the same move of the same hand, whatever the hidden
// tiles: the weighing of a position is repeatable.
std::uint64_t MoveSeed(const GameState& s) {
  return (static_cast<std::uint64_t>(s.HandNumber) << 16) ^
         static_cast<std::uint64_t>(s.MoveNumber);
}

// Writes the move `player` chooses for the seat to move into the move in hand.
// Both players reason only from what the seat can see.
void ChooseWeighedMove(GameState& s, MovePlayer player, const std::atomic<bool>* cancel) {
  expert::ExpertOptions options;
  options.Deals = player == MovePlayer::kExpert ? kServerExpertDeals : kPersonSeatDeals;
  expert::ChooseExpertMove(s, options, MoveSeed(s), cancel);
}

}  // namespace

Json HeldTilesJson(const GameState& s, int seat) {
  Json tiles = Json::Array();
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State == 0) tiles.Push(TileJson(t.PipA, t.PipB));
  }
  return tiles;
}

namespace {

bool TileFits(const GameState& s, const HandSlot& t, int end) {
  return t.PipA == s.EndPips[end] || t.PipB == s.EndPips[end];
}

}  // namespace

int OnlyEnd(const GameState& s, const HandSlot& t) {
  if (s.MoveNumber == 1 || s.EndPips[1] == s.EndPips[2]) return 1;
  return TileFits(s, t, 1) ? 1 : 2;
}

const char* SeatKindName(SeatKind kind) {
  switch (kind) {
    case SeatKind::kPerson:
      return "person";
    case SeatKind::kExpert:
      return "expert";
    case SeatKind::kComputer:
      break;
  }
  return "computer";
}

bool SeatKindFromName(std::string_view name, SeatKind& kind) {
  if (name == "person") {
    kind = SeatKind::kPerson;
  } else if (name == "computer") {
    kind = SeatKind::kComputer;
  } else if (name == "expert") {
    kind = SeatKind::kExpert;
  } else {
    return false;
  }
  return true;
}

MoveResult ComputeMove(const MoveJob& job, const std::atomic<bool>* cancel) {
  GameState s = job.State;
  ChooseWeighedMove(s, job.Player, cancel);
  MoveResult r;
  r.Code = job.Code;
  r.Ticket = job.Ticket;
  r.Hand = s.HandNumber;
  r.Move = s.MoveNumber;
  r.Seat = s.CurrentSeat;
  r.PipA = s.PlayPipA;
  r.PipB = s.PlayPipB;
  r.End = s.PlayEnd;
  return r;
}

std::random_device& SystemSource() {
  static std::random_device source;
  return source;
}

std::string NewToken() {
  std::random_device& source = SystemSource();
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  while (token.size() < kTokenLength) {
    const unsigned bits = source();
    for (int i = 0; i < 8 && token.size() < kTokenLength; ++i)
      token += kHex[(bits >> (4 * i)) & 15];
  }
  return token;
}

std::string NewCode() {
  // No 0, 1, I or O: a code is read out loud and typed by hand.
  static constexpr char kLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  std::random_device& source = SystemSource();
  std::string code;
  while (code.size() < kCodeLength) code += kLetters[source() % 32];
  return code;
}

ServerTable::ServerTable(std::string code, const TableSetup& setup, std::uint32_t seed,
                         TableTimers timers)
    : code_(std::move(code)), timers_(timers), rng_(seed), ctx_(state_, *this, rng_) {
  ApplyDefaults(state_);
  static_cast<HouseRules&>(state_) = setup.Rules;
  // Nobody watches a server table: no pauses, no sounds, and every choice a
  // person at one screen would make by hand is made by the rules.
  state_.RulePauseBetweenMoves = kOff;
  state_.RuleSound = kOff;
  state_.RuleDealing = kDealRandom;
  if (state_.RuleNextLead == kNextLeadChoose) state_.RuleNextLead = kNextLeadRotate;
  SyncDirectionStep(state_);
  for (int seat = 1; seat <= kSeats; ++seat) {
    SeatPlace& p = seats_[seat];
    p.Kind = setup.Seats[seat].Kind;
    p.Level = p.Kind == SeatKind::kExpert ? 100 : setup.Seats[seat].Level;
    state_.SeatControl[seat] = p.Kind == SeatKind::kPerson ? kManual : kAutomatic;
    state_.SeatLevel[seat] = static_cast<i16>(p.Level);
    p.Name = state_.SeatName[seat];
  }
  ctx_.SeedFromClock = false;
  ctx_.Hooks = this;
}

Json ServerTable::Message(const char* type) const {
  return Json::Object().Set("v", kProtocolVersion).Set("type", type).Set("code", code_);
}

void ServerTable::Send(int seat, const Json& message) {
  // Only a person's seat has a client to send to.
  if (seats_[seat].Kind == SeatKind::kPerson) outbox_.push_back({seat, message.Dump()});
}

void ServerTable::Broadcast(const Json& message) {
  const std::string text = message.Dump();
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seats_[seat].Kind == SeatKind::kPerson) outbox_.push_back({seat, text});
  }
  // What every seat is told tells no seat's tiles: the watchers hear it too.
  if (watched_) outbox_.push_back({0, text});
}

bool ServerTable::Join(int seat, std::string_view name, const std::string& token,
                       ErrorCode& error) {
  SeatPlace& p = seats_[seat];
  if (p.Kind != SeatKind::kPerson) {
    error = ErrorCode::kNotPerson;
    return false;
  }
  if (!p.Token.empty()) {
    error = ErrorCode::kSeatTaken;
    return false;
  }
  std::string clean = BoundedName(name);
  if (clean.find_first_not_of(' ') == std::string::npos) clean = state_.SeatName[seat];
  p.Name = clean;
  state_.SeatName[seat] = clean;
  p.Token = token;
  p.Present = true;
  dirty_ = true;
  Broadcast(Message("seats").Set("seats", SeatsJson()));
  return true;
}

int ServerTable::SeatOfToken(std::string_view token) const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (!seats_[seat].Token.empty() && seats_[seat].Token == token) return seat;
  }
  return 0;
}

void ServerTable::Arrived(int seat, std::int64_t now) {
  seats_[seat].Present = true;
  seats_[seat].Covered = false;
  // A person back at the seat asked gets the whole move timer to answer.
  if (asked_ && askedSeat_ == seat) askedAt_ = now;
  Broadcast(Message("seats").Set("seats", SeatsJson()));
}

void ServerTable::Dropped(int seat, std::int64_t now) {
  seats_[seat].Present = false;
  seats_[seat].AbsentSince = now;
  Broadcast(Message("seats").Set("seats", SeatsJson()));
}

void ServerTable::Left(int seat, std::int64_t now) {
  seats_[seat].Present = false;
  seats_[seat].Covered = true;
  Broadcast(Message("seats").Set("seats", SeatsJson()));
  if (started_ && !finished_ && asked_ && askedSeat_ == seat) Advance(LoopEntry::kResumeHand, now);
}

bool ServerTable::SeatsTaken() const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seats_[seat].Kind == SeatKind::kPerson && seats_[seat].Token.empty()) return false;
  }
  return true;
}

void ServerTable::GiveFreeSeatsToComputer(int level) {
  if (started_) return;
  for (int seat = 1; seat <= kSeats; ++seat) {
    SeatPlace& p = seats_[seat];
    if (p.Kind != SeatKind::kPerson || !p.Token.empty()) continue;
    p.Kind = SeatKind::kComputer;
    p.Level = level;
    state_.SeatControl[seat] = kAutomatic;
    state_.SeatLevel[seat] = static_cast<i16>(level);
  }
  dirty_ = true;
  Broadcast(Message("seats").Set("seats", SeatsJson()));
}

bool ServerTable::Start(ErrorCode& error, std::int64_t now) {
  if (started_) {
    error = ErrorCode::kStarted;
    return false;
  }
  if (!SeatsTaken()) {
    error = ErrorCode::kNotReady;
    return false;
  }
  started_ = true;
  Broadcast(Message("started").Set("rules", RulesJson(state_)).Set("seats", SeatsJson()));
  Advance(LoopEntry::kNewMatch, now);
  return true;
}

bool ServerTable::Answer(int seat, const Request& move, ErrorCode& error, std::int64_t now) {
  if (finished_) {
    error = ErrorCode::kFinished;
    return false;
  }
  if (!asked_ || askedSeat_ != seat) {
    error = ErrorCode::kNotAsked;
    return false;
  }
  if (move.Hand != state_.HandNumber || move.Move != state_.MoveNumber) {
    error = ErrorCode::kStale;
    return false;
  }
  answerSlot_ = 0;
  answerEnd_ = 0;
  if (!move.Auto) {
    const int slot = BuscaHueco(state_, move.PipA, move.PipB, seat);
    if (slot == 0 || !EsJugable(state_, seat, slot)) {
      error = ErrorCode::kIllegal;
      return false;
    }
    const HandSlot& t = state_.Hand[seat][slot];
    if (UserChoosesEnd(state_, seat, t)) {
      if (move.End == 0) {
        error = ErrorCode::kIllegal;
        return false;
      }
    } else if (move.End != 0 && move.End != OnlyEnd(state_, t)) {
      error = ErrorCode::kIllegal;
      return false;
    }
    answerSlot_ = slot;
    answerEnd_ = move.End;
  }
  answered_ = true;
  Advance(LoopEntry::kResumeHand, now);
  return true;
}

bool ServerTable::Tick(std::int64_t now) {
  if (!asked_ || finished_) return false;
  SeatPlace& p = seats_[askedSeat_];
  if (!p.Present && now - p.AbsentSince >= timers_.AbsentMs) {
    p.Covered = true;
  } else if (p.Present && timers_.MoveMs > 0 && now - askedAt_ >= timers_.MoveMs) {
    answered_ = true;
    answerSlot_ = 0;
  } else {
    return false;
  }
  Advance(LoopEntry::kResumeHand, now);
  return true;
}

std::int64_t ServerTable::NextDeadline() const {
  if (!asked_ || finished_) return -1;
  const SeatPlace& p = seats_[askedSeat_];
  if (!p.Present) return p.AbsentSince + timers_.AbsentMs;
  return timers_.MoveMs > 0 ? askedAt_ + timers_.MoveMs : -1;
}

void ServerTable::Advance(LoopEntry entry, std::int64_t now) {
  asked_ = false;
  askedAt_ = now;
  ctx_.Control = LoopControl{};
  RunMatch(ctx_, entry);
  answered_ = false;
  dirty_ = true;
  if (asked_) {
    const int seat = askedSeat_;
    Send(seat, ParseJson(QuestionFor(seat)).value_or(Json()));
    Json turn = Message("turn")
                    .Set("hand", static_cast<int>(state_.HandNumber))
                    .Set("move", static_cast<int>(state_.MoveNumber))
                    .Set("seat", seat);
    for (int other = 1; other <= kSeats; ++other) {
      if (other != seat) Send(other, turn);
    }
    // A watcher is never asked: it hears whom every move waits for.
    if (watched_) outbox_.push_back({0, turn.Dump()});
  } else if (!state_.MatchInProgress && !finished_) {
    finished_ = true;
    Broadcast(Message("match_end")
                  .Set("winner", MatchWinner(state_))
                  .Set("totals", TotalsJson())
                  .Set("hands", static_cast<int>(state_.HandNumber))
                  .Set("violations", violations_));
  }
}

bool ServerTable::SeatHasChoice(int seat) const {
  return state_.MoveNumber == 1 || ListCandidates(state_, seat).Count > 0;
}

bool ServerTable::ShowMessage(const std::string& title, const std::string& text, int, int) {
  Broadcast(Message("notice").Set("title", title).Set("text", text));
  // A question is answered "go on": nobody steps back into a hand here.
  return true;
}

int ServerTable::WaitForNotice(std::string_view) {
  GameState& s = state_;
  const int seat = s.CurrentSeat;
  // Between hands, and for the computer's seats, play goes straight on.
  const bool person =
      s.HandInProgress && seat >= 1 && seat <= kSeats && s.SeatControl[seat] == kManual;
  if (person && answered_) {
    answered_ = false;
    s.NoticeShown = false;
    return answerSlot_;
  }
  if (person && computed_) {
    // The computer's move for the seat, weighed while the table waited.
    s.NoticeShown = false;
    return 0;
  }
  if (!person || seats_[seat].Covered || !SeatHasChoice(seat)) {
    s.NoticeShown = false;
    return 0;
  }
  // The person must answer: the loop unwinds and the state waits as saved.
  asked_ = true;
  askedSeat_ = seat;
  ctx_.Control.ExitRequested = true;
  return 0;
}

std::optional<MovePlayer> ServerTable::PlayerFor(int seat) const {
  if (seat < 1 || seat > kSeats) return std::nullopt;
  switch (seats_[seat].Kind) {
    case SeatKind::kExpert:
      return MovePlayer::kExpert;
    case SeatKind::kPerson:
      // Only a move the person did not choose reaches the computer.
      return MovePlayer::kPersonSeat;
    case SeatKind::kComputer:
      break;
  }
  // The rules player of a computer seat costs microseconds: it stays inline.
  return std::nullopt;
}

bool ServerTable::ChooseMove(GameState& s, TablePort*) {
  const int seat = s.CurrentSeat;
  const std::optional<MovePlayer> player = PlayerFor(seat);
  if (!player) return false;
  if (computed_) {
    // The weighed move comes back to the very move it was weighed for: the
    // table waited for it and nothing else moves the loop meanwhile.
    const MoveResult r = *std::exchange(computed_, std::nullopt);
    moveTicket_ = 0;
    if (r.Hand == s.HandNumber && r.Move == s.MoveNumber && r.Seat == seat) {
      s.PlayPipA = static_cast<i16>(r.PipA);
      s.PlayPipB = static_cast<i16>(r.PipB);
      s.PlayEnd = static_cast<i16>(r.End);
      s.PlayEvaluated = false;
      return true;
    }
  }
  // Nothing to weigh: a pass, or the one tile that fits, as anyone plays it.
  if (s.MoveNumber != 1) {
    const CandidateList list = ListCandidates(s, seat);
    if (list.Count <= 1) {
      s.PlayEvaluated = false;
      s.PlayPipA = s.PlayPipB = kNoPip;
      s.PlayEnd = kPassEnd;
      if (list.Count == 1) TakeCandidate(s, list.Items[0]);
      return true;
    }
  }
  if (!deferMoves_) {
    ChooseWeighedMove(s, *player, nullptr);
    return true;
  }
  // The loop unwinds before the move, as for a person's answer; the move
  // weighed elsewhere comes back through ApplyMove.
  moveTicket_ = ++g_lastTicket;
  job_ = MoveJob{code_, moveTicket_, *player, s};
  ctx_.Control.ExitRequested = true;
  return true;
}

bool ServerTable::ApplyMove(const MoveResult& result, std::int64_t now) {
  if (finished_ || moveTicket_ == 0 || result.Ticket != moveTicket_ ||
      result.Hand != state_.HandNumber || result.Move != state_.MoveNumber ||
      result.Seat != state_.CurrentSeat)
    return false;
  computed_ = result;
  Advance(LoopEntry::kResumeHand, now);
  return true;
}

void ServerTable::MoveMade(GameState& s) {
  if (!CheckState(s, CheckOptions{s.MoveNumber, false}).empty()) ++violations_;
}

}  // namespace tarvelis::server
