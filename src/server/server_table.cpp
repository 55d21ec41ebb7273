#include "server/server_table.h"

#include <random>
#include <sstream>

#include "engine/hand_end.h"
#include "model/consistency.h"
#include "model/match_result.h"
#include "model/move_rules.h"
#include "player/expert.h"
#include "storage/clean_text.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

constexpr const char* kFileHeading = "TARVELIS-TABLE 1";
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

const char* KindName(SeatKind kind) {
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

bool KindFromName(std::string_view name, SeatKind& kind) {
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

Json HeldTiles(const GameState& s, int seat) {
  Json tiles = Json::Array();
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State == 0) tiles.Push(TileJson(t.PipA, t.PipB));
  }
  return tiles;
}

bool TileFits(const GameState& s, const HandSlot& t, int end) {
  return t.PipA == s.EndPips[end] || t.PipB == s.EndPips[end];
}

// The end a playable tile goes to when its player has no choice.
int OnlyEnd(const GameState& s, const HandSlot& t) {
  if (s.MoveNumber == 1 || s.EndPips[1] == s.EndPips[2]) return 1;
  return TileFits(s, t, 1) ? 1 : 2;
}

}  // namespace

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
}

Json ServerTable::SeatsJson() const {
  Json seats = Json::Array();
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = seats_[seat];
    Json item = Json::Object()
                    .Set("seat", seat)
                    .Set("kind", KindName(p.Kind))
                    .Set("name", p.Name)
                    .Set("taken", Json::Bool(!p.Token.empty()))
                    .Set("present", Json::Bool(p.Present));
    // Every client names a computer seat as its creator does: by its level.
    if (p.Kind == SeatKind::kComputer) item.Set("level", p.Level);
    seats.Push(std::move(item));
  }
  return seats;
}

Json ServerTable::TotalsJson() const {
  return Json::Object()
      .Set("pairs", Json::Array()
                        .Push(Json::Number(state_.PairTotal[1]))
                        .Push(Json::Number(state_.PairTotal[2])))
      .Set("seats", Json::Array()
                        .Push(Json::Number(state_.SeatTotal[1]))
                        .Push(Json::Number(state_.SeatTotal[2]))
                        .Push(Json::Number(state_.SeatTotal[3]))
                        .Push(Json::Number(state_.SeatTotal[4])));
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

bool ServerTable::Start(ErrorCode& error, std::int64_t now) {
  if (started_) {
    error = ErrorCode::kStarted;
    return false;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seats_[seat].Kind == SeatKind::kPerson && seats_[seat].Token.empty()) {
      error = ErrorCode::kNotReady;
      return false;
    }
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

int ServerTable::WaitForNotice(const std::string&) {
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

void ServerTable::HandClosed(bool domino) {
  handClosed_ = true;
  Json hands = Json::Array();
  for (int seat = 1; seat <= kSeats; ++seat) hands.Push(HeldTiles(state_, seat));
  Broadcast(Message("hand_closed")
                .Set("hand", static_cast<int>(state_.HandNumber))
                .Set("domino", Json::Bool(domino))
                .Set("hands", std::move(hands)));
}

void ServerTable::ShowLaidTile(int move) {
  const MoveEntry& e = state_.MoveRecord[static_cast<std::size_t>(move)];
  Broadcast(Message("laid")
                .Set("hand", static_cast<int>(state_.HandNumber))
                .Set("move", move)
                .Set("seat", static_cast<int>(e[kFSeat]))
                .Set("tile", TileJson(e[kFPipA], e[kFPipB]))
                .Set("end", static_cast<int>(e[kFEnd])));
}

void ServerTable::ShowPassSign(int seat) {
  Broadcast(Message("passed")
                .Set("hand", static_cast<int>(state_.HandNumber))
                .Set("move", static_cast<int>(state_.MoveNumber))
                .Set("seat", seat));
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

void ServerTable::HandDealt(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    Send(seat, Message("dealt")
                   .Set("hand", static_cast<int>(s.HandNumber))
                   .Set("lead", static_cast<int>(s.LeadSeat))
                   .Set("tiles", HeldTiles(s, seat)));
  }
}

void ServerTable::MoveMade(GameState& s) {
  if (!CheckState(s, CheckOptions{s.MoveNumber, false}).empty()) ++violations_;
}

void ServerTable::HandScored(const GameState& s, const HandSummary& summary) {
  if (!summary.Repeated) CountHandWon(summary.Winner);
  // The totals are brought up to date just before this call.
  Broadcast(Message("hand_end")
                .Set("hand", static_cast<int>(s.HandNumber))
                .Set("domino", Json::Bool(summary.Domino))
                .Set("tied", Json::Bool(summary.Tied))
                .Set("repeated", Json::Bool(summary.Repeated))
                .Set("winner", summary.Winner)
                .Set("points", summary.Points)
                .Set("totals", TotalsJson()));
}

std::string ServerTable::ViewFor(int seat) const {
  const GameState& s = state_;
  Json view = Message("table")
                  .Set("seat", seat)
                  .Set("started", Json::Bool(started_))
                  .Set("finished", Json::Bool(finished_))
                  .Set("rules", RulesJson(s))
                  .Set("seats", SeatsJson())
                  .Set("totals", TotalsJson())
                  .Set("hand", static_cast<int>(s.HandNumber));
  if (started_ && s.HandInProgress) {
    view.Set("move", static_cast<int>(s.MoveNumber))
        .Set("turn", static_cast<int>(s.CurrentSeat))
        .Set("lead", static_cast<int>(s.LeadSeat))
        .Set("tiles", HeldTiles(s, seat))
        .Set("ends",
             Json::Array().Push(Json::Number(s.EndPips[1])).Push(Json::Number(s.EndPips[2])));
    Json counts = Json::Array();
    for (int t = 1; t <= kSeats; ++t) counts.Push(Json::Number(s.SeatTileCount[t]));
    view.Set("counts", std::move(counts));
    // The moves in force: those before the move awaited.
    Json moves = Json::Array();
    for (int n = 1; n < s.MoveNumber && n < static_cast<int>(s.MoveRecord.size()); ++n) {
      const MoveEntry& e = s.MoveRecord[static_cast<std::size_t>(n)];
      Json m = Json::Object().Set("seat", static_cast<int>(e[kFSeat]));
      if (e[kFEnd] == kPassEnd) {
        m.Set("pass", Json::Bool(true));
      } else {
        m.Set("tile", TileJson(e[kFPipA], e[kFPipB])).Set("end", static_cast<int>(e[kFEnd]));
      }
      moves.Push(std::move(m));
    }
    view.Set("moves", std::move(moves));
  }
  return view.Dump();
}

std::string ServerTable::QuestionFor(int seat) const {
  if (!asked_ || seat != askedSeat_) return {};
  const GameState& s = state_;
  Json playable = Json::Array();
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (!EsJugable(s, seat, slot)) continue;
    const HandSlot& t = s.Hand[seat][slot];
    Json ends = Json::Array();
    if (UserChoosesEnd(s, seat, t)) {
      ends.Push(Json::Number(1)).Push(Json::Number(2));
    } else {
      ends.Push(Json::Number(OnlyEnd(s, t)));
    }
    playable.Push(
        Json::Object().Set("tile", TileJson(t.PipA, t.PipB)).Set("ends", std::move(ends)));
  }
  return Message("asked")
      .Set("hand", static_cast<int>(s.HandNumber))
      .Set("move", static_cast<int>(s.MoveNumber))
      .Set("seat", seat)
      .Set("ms", static_cast<int>(timers_.MoveMs))
      .Set("playable", std::move(playable))
      .Dump();
}

std::string ServerTable::FileText() {
  std::ostringstream out;
  out << kFileHeading << '\n' << "code " << code_ << '\n';
  out << "started " << (started_ ? 1 : 0) << '\n';
  out << "violations " << violations_ << '\n';
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = seats_[seat];
    out << "seat " << seat << ' ' << KindName(p.Kind) << ' ' << p.Level << ' '
        << (p.Token.empty() ? "-" : p.Token) << ' ' << p.Name << '\n';
  }
  WriteRatedLines(out);
  out << "state\n" << StateFileText(state_);
  dirty_ = false;
  return out.str();
}

std::unique_ptr<ServerTable> ServerTable::FromFileText(std::string_view text, std::uint32_t seed,
                                                       TableTimers timers, std::int64_t now,
                                                       bool deferMoves) {
  auto nextLine = [&text]() -> std::string_view {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      const std::string_view line = text;
      text = {};
      return line;
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
  };
  if (nextLine() != kFileHeading) return nullptr;
  const std::string_view codeLine = nextLine();
  if (codeLine.substr(0, 5) != "code " || !IsCodeText(codeLine.substr(5))) return nullptr;
  const std::string code(codeLine.substr(5));
  const std::string_view startedLine = nextLine();
  if (startedLine != "started 0" && startedLine != "started 1") return nullptr;
  const bool started = startedLine == "started 1";
  std::istringstream violationsLine{std::string(nextLine())};
  std::string word;
  int violations = 0;
  if (!(violationsLine >> word >> violations) || word != "violations" || violations < 0)
    return nullptr;
  TableSetup setup;
  PerSeat<std::string> tokens;
  PerSeat<std::string> names;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::string line(nextLine());
    std::istringstream in(line);
    int number = 0;
    std::string kind;
    std::string token;
    int level = -1;
    if (!(in >> word >> number >> kind >> level >> token) || word != "seat" || number != seat ||
        level < 0 || level > 100 || !KindFromName(kind, setup.Seats[seat].Kind) ||
        (token != "-" && !IsTokenText(token)))
      return nullptr;
    setup.Seats[seat].Level = level;
    if (token != "-") tokens[seat] = token;
    std::string name;
    std::getline(in, name);
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);
    names[seat] = BoundedName(name);
  }
  auto table = std::make_unique<ServerTable>(code, setup, seed, timers);
  for (std::string_view line = nextLine(); line != "state"; line = nextLine()) {
    if (text.empty() || !table->ReadRatedLine(line)) return nullptr;
  }
  std::istringstream stateText{std::string(text)};
  const tarvelis::ReadOutcome read = ReadState(table->state_, stateText);
  if (read.ErrorNumber != 0 || read.MatchDropped) return nullptr;
  table->started_ = started;
  table->violations_ = violations;
  table->deferMoves_ = deferMoves;
  for (int seat = 1; seat <= kSeats; ++seat) {
    SeatPlace& p = table->seats_[seat];
    // What the file says of the seats governs: a repaired setting never
    // turns a person's seat into the computer's or back.
    table->state_.SeatControl[seat] = p.Kind == SeatKind::kPerson ? kManual : kAutomatic;
    table->state_.SeatLevel[seat] = static_cast<i16>(p.Level);
    p.Token = tokens[seat];
    p.Name = names[seat];
    table->state_.SeatName[seat] = names[seat];
    p.Present = false;
    p.AbsentSince = now;
  }
  if (started && table->state_.MatchInProgress) {
    // Back to the question the table was waiting on.
    table->Advance(LoopEntry::kResumeHand, now);
  } else if (started) {
    table->finished_ = true;
  }
  table->outbox_.clear();
  table->dirty_ = false;
  table->handClosed_ = false;
  return table;
}

}  // namespace tarvelis::server
