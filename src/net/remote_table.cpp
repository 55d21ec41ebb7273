#include "net/remote_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

#include "engine/deal.h"
#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "model/board_geometry.h"
#include "model/hand_score.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "model/names.h"
#include "model/texts.h"
#include "net/remote_incoming.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "storage/clean_text.h"

namespace tarvelis::net {

using server::Json;

namespace {

// A whole table's view lists every move of a hand: more than a request may hold.
constexpr server::JsonLimits kServerLimits{kMaxServerMessageBytes, 8, 256};

}  // namespace

RemoteTable::RemoteTable(GameState& state, int serverSeat) : state_(state), seat_(serverSeat) {}

int RemoteTable::LocalSeat(int serverSeat) const {
  if (serverSeat < 1 || serverSeat > kSeats) return 0;
  return (serverSeat - seat_ + kOwnLocalSeat - 1 + 2 * kSeats) % kSeats + 1;
}

int RemoteTable::ServerSeat(int localSeat) const {
  if (localSeat < 1 || localSeat > kSeats) return 0;
  return (localSeat - kOwnLocalSeat + seat_ - 1 + 2 * kSeats) % kSeats + 1;
}

int RemoteTable::LocalPair(int serverPair) const {
  // Server pair 1 is its seats 2 and 4, pair 2 its seats 1 and 3.
  return PairOfSeat(LocalSeat(serverPair == 1 ? 2 : 1));
}

int RemoteTable::LocalWinner(int serverWinner) const {
  if (serverWinner <= 0) return 0;
  if (state_.RuleMode == kModePairs) return serverWinner <= 2 ? LocalPair(serverWinner) : 0;
  return LocalSeat(serverWinner);
}

void RemoteTable::ReadSeats(const SeatsView& v, std::vector<NetEvent>& events) {
  for (int server = 1; server <= kSeats; ++server) {
    const int local = LocalSeat(server);
    state_.SeatName[local] = v.Name[server];
    play_[local] = SeatPlay{v.Person[server], v.Expert[server], v.Level[server]};
    // A watcher owns no seat: every hand is drawn by its backs.
    const bool own = local == kOwnLocalSeat && !Watching();
    state_.SeatControl[local] = own ? kManual : kAutomatic;
    state_.SeatTilesShown[local] = own ? kTilesVisible : kTilesHidden;
    state_.SeatExpert[local] = false;
    const SeatPresence now = v.Presence[server];
    const SeatPresence was = presence_[local];
    // Somebody who sat at the table went away or came back.
    if (presenceKnown_ && !own && was != now && was != SeatPresence::kComputer &&
        now != SeatPresence::kComputer) {
      const std::string name = Trimmed(v.Name[server]);
      NetEvent e{NetEventKind::kSeats};
      e.Seat = local;
      e.Text = now == SeatPresence::kPresent ? NetSeatBackText(name) : NetSeatAwayText(name);
      events.push_back(std::move(e));
    }
    presence_[local] = now;
  }
  state_.TutorExpert = false;
  presenceKnown_ = true;
}

void RemoteTable::TakeTotals(const PerPair<int>& pairs, const PerSeat<int>& seats) {
  for (int p = 1; p <= 2; ++p) state_.PairTotal[LocalPair(p)] = static_cast<i16>(pairs[p]);
  for (int seat = 1; seat <= kSeats; ++seat) {
    state_.SeatTotal[LocalSeat(seat)] = static_cast<i16>(seats[seat]);
  }
}

std::vector<NetEvent> RemoteTable::Read(std::string_view text) {
  using Reader = void (RemoteTable::*)(const Incoming&, Events&);
  static constexpr std::pair<std::string_view, Reader> kReaders[] = {
      {"started", &RemoteTable::OnStarted},
      {"seats", &RemoteTable::OnSeats},
      {"dealt", &RemoteTable::OnDealt},
      {"laid", &RemoteTable::OnLaid},
      {"passed", &RemoteTable::OnPassed},
      {"notice", &RemoteTable::OnNotice},
      {"hand_closed", &RemoteTable::OnHandClosed},
      {"hand_end", &RemoteTable::OnHandEnd},
      {"turn", &RemoteTable::OnTurn},
      {"asked", &RemoteTable::OnAsked},
      {"table", &RemoteTable::OnTable},
      {"match_end", &RemoteTable::OnMatchEnd},
      {"error", &RemoteTable::OnError},
      {"chat", &RemoteTable::OnChat},
  };
  Events events;
  const auto parsed = server::ParseJson(text, kServerLimits);
  if (!parsed || !parsed->IsObject()) return events;
  const Json& j = *parsed;
  const auto type = j.StringAt("type", 32);
  if (!type) return events;
  const auto reader = std::find_if(std::begin(kReaders), std::end(kReaders),
                                   [&](const auto& r) { return r.first == *type; });
  if (reader == std::end(kReaders)) return events;
  if (const auto code = j.StringAt("code", 16)) code_ = *code;
  const Incoming m{j, j.IntAt("hand", 0, kMaxHand).value_or(0),
                   j.IntAt("move", 0, kMoveRecordLimit).value_or(0),
                   LocalSeat(j.IntAt("seat", 1, kSeats).value_or(0))};
  (this->*(reader->second))(m, events);
  if (!beforeFirstDeal_ && !heldNotices_.empty()) {
    for (NetEvent& held : heldNotices_) events.push_back(std::move(held));
    heldNotices_.clear();
  }
  return events;
}

void RemoteTable::ReadRules(const Json* rules) {
  GameState& s = state_;
  HouseRules read = s;
  if (rules != nullptr && server::RulesFromJson(*rules, read)) {
    static_cast<HouseRules&>(s) = read;
  }
  // A server's table deals at random and leads by rotation.
  s.RuleDealing = kDealRandom;
  if (s.RuleNextLead == kNextLeadChoose) s.RuleNextLead = kNextLeadRotate;
  SyncDirectionStep(s);
  s.Partner = {0, 3, 4, 1, 2};
}

void RemoteTable::ReadTotals(const Json* totals) {
  if (totals == nullptr) return;
  // Totals out of range are a damaged message: the scoreboard keeps its own.
  const auto pairs = NumbersOf(totals->Find("pairs"), 2, 0, kMaxTotal);
  const auto seats = NumbersOf(totals->Find("seats"), kSeats, 0, kMaxTotal);
  if (!pairs || !seats) return;
  const std::vector<int>& p = *pairs;
  const std::vector<int>& t = *seats;
  TakeTotals({0, p[0], p[1]}, {0, t[0], t[1], t[2], t[3]});
}

void RemoteTable::OnStarted(const Incoming& m, Events& events) {
  GameState& s = state_;
  ReadRules(m.J.Find("rules"));
  OnSeats(m, events);
  started_ = true;
  s.MatchInProgress = true;
  s.HandInProgress = false;
  s.HandNumber = 0;
  s.MoveNumber = 0;
  for (HandLogEntry& entry : s.HandLog) entry = HandLogEntry{};
  TakeTotals({}, {});
  beforeFirstDeal_ = true;
  heldNotices_.clear();
  events.push_back({NetEventKind::kStarted});
}

void RemoteTable::OnSeats(const Incoming& m, Events& events) {
  const SeatsView v = ReadSeatsView(m.J.Find("seats"));
  if (v.Valid) ReadSeats(v, events);
}

void RemoteTable::OnDealt(const Incoming& m, Events& events) {
  // A watcher is sent no tiles; any named are not its own.
  const std::vector<HandSlot> own =
      Watching() ? std::vector<HandSlot>{} : TilesOf(m.J.Find("tiles"));
  Deal(m.Hand, m.J.IntAt("lead", 1, kSeats).value_or(1), own);
  asked_ = false;
  events.push_back({NetEventKind::kDealt});
  beforeFirstDeal_ = false;
}

void RemoteTable::OnLaid(const Incoming& m, Events& events) {
  const auto tile = TileOf(m.J.Find("tile"));
  const int end = m.J.IntAt("end", 1, 2).value_or(1);
  // A move the mirror cannot take (a damaged message) is not shown.
  if (!tile || m.Move < 1 || !Lay(m.Seat, m.Move, tile->PipA, tile->PipB, end)) return;
  if (m.Move >= askedMove_) asked_ = false;
  NetEvent e{NetEventKind::kLaid};
  e.Move = m.Move;
  e.Seat = m.Seat;
  events.push_back(e);
}

void RemoteTable::OnPassed(const Incoming& m, Events& events) {
  if (m.Move < 1 || !Pass(m.Seat, m.Move)) return;
  if (m.Move >= askedMove_) asked_ = false;
  NetEvent e{NetEventKind::kPassed};
  e.Move = m.Move;
  e.Seat = m.Seat;
  events.push_back(e);
}

void RemoteTable::OnNotice(const Incoming& m, Events& events) {
  NetEvent e{NetEventKind::kNotice};
  e.Title = m.J.StringAt("title", 1024).value_or("");
  e.Text = m.J.StringAt("text", 4096).value_or("");
  // The server's question about the history is not this game's: a match
  // at a server's table stays out of the local history.
  if (e.Title == kHistoryTitle) return;
  // Here nobody steps back into a hand: the hint to do so goes.
  const std::string hint = std::string(kLineBreak) + kStepBackHint;
  if (e.Text.size() >= hint.size() &&
      e.Text.compare(e.Text.size() - hint.size(), hint.size(), hint) == 0) {
    e.Text.resize(e.Text.size() - hint.size());
  }
  if (beforeFirstDeal_) {
    heldNotices_.push_back(std::move(e));
    return;
  }
  events.push_back(std::move(e));
}

void RemoteTable::OnHandClosed(const Incoming& m, Events& events) {
  GameState& s = state_;
  s.HandInProgress = false;
  // A closed hand stands at its last move, as the local match leaves it.
  if (s.MoveNumber > 1) TurnBack(s);
  const Json* hands = m.J.Find("hands");
  bool shown =
      hands != nullptr && hands->IsArray() && hands->Items().size() == kSeats && s.HandNumber >= 1;
  if (shown) {
    for (int server = 1; server <= kSeats; ++server) {
      shown = Reveal(LocalSeat(server),
                     TilesOf(&hands->Items()[static_cast<std::size_t>(server - 1)])) &&
              shown;
    }
  }
  RecomputePipsLeft(s);
  // Every tile of the deal is known now: the hand is kept for the review.
  // A match holds a few dozen hands; a damaged flood of them keeps no more.
  constexpr std::size_t kMostKept = 500;
  if (shown && WholeDeal(s) && kept_.size() < kMostKept) kept_.push_back(KeepHand(s, play_));
  asked_ = false;
  NetEvent e{NetEventKind::kHandClosed};
  e.Domino = FlagOf(m.J, "domino");
  events.push_back(e);
}

void RemoteTable::OnHandEnd(const Incoming& m, Events& events) {
  GameState& s = state_;
  const bool repeat = FlagOf(m.J, "repeated");
  s.HandWinner = static_cast<i16>(LocalWinner(m.J.IntAt("winner", 0, kSeats).value_or(0)));
  const int points = m.J.IntAt("points", 0, kMaxPoints).value_or(0);
  if (!repeat && m.Hand >= 1 && m.Hand <= kHandLogSize) {
    // The hand's line of the log, as the local match writes it, for the
    // score report; the totals are still the server's.
    HandLogEntry& entry = s.HandLog[static_cast<std::size_t>(m.Hand)];
    entry = HandLogEntry{};
    if (s.LeadSeat >= 1 && s.LeadSeat <= kSeats) entry.Text = s.SeatName[s.LeadSeat];
    const auto units = static_cast<i16>(points);
    const auto tens = static_cast<i16>(Tens(points));
    if (s.RuleMode == kModePairs && (s.HandWinner == 1 || s.HandWinner == 2)) {
      const bool toWinners = s.RuleScoringPair == kScoringWinners;
      const int pair = toWinners ? s.HandWinner : 3 - s.HandWinner;
      entry.PairUnits[pair] = units;
      entry.PairTens[pair] = tens;
    } else if (s.HandWinner >= 1 && s.HandWinner <= kSeats) {
      entry.SeatUnits[s.HandWinner] = units;
      entry.SeatTens[s.HandWinner] = tens;
    }
  }
  ReadTotals(m.J.Find("totals"));
  events.push_back({NetEventKind::kScore});
}

void RemoteTable::OnTurn(const Incoming& m, Events& events) {
  if (m.Seat == 0 || m.Move < 1) return;
  state_.CurrentSeat = static_cast<i16>(m.Seat);
  state_.MoveNumber = static_cast<i16>(m.Move);
  NetEvent e{NetEventKind::kTurn};
  e.Seat = m.Seat;
  e.Move = m.Move;
  events.push_back(e);
}

void RemoteTable::OnAsked(const Incoming& m, Events& events) {
  // A watcher is never asked; a question sent to one is not its to answer.
  if (Watching()) return;
  playable_.clear();
  const Json* playable = m.J.Find("playable");
  if (playable != nullptr && playable->IsArray()) {
    for (const Json& p : playable->Items()) {
      const auto tile = TileOf(p.Find("tile"));
      if (!tile || playable_.size() >= kSlots) continue;
      PlayableTile t{tile->PipA, tile->PipB};
      const Json* ends = p.Find("ends");
      if (ends != nullptr && ends->IsArray()) {
        for (const Json& end : ends->Items()) {
          t.End1 = t.End1 || (end.IsNumber() && end.AsNumber() == 1);
          t.End2 = t.End2 || (end.IsNumber() && end.AsNumber() == 2);
        }
      }
      playable_.push_back(t);
    }
  }
  asked_ = m.Move >= 1;
  askedHand_ = m.Hand;
  askedMove_ = m.Move;
  state_.CurrentSeat = kOwnLocalSeat;
  state_.MoveNumber = static_cast<i16>(m.Move);
  NetEvent e{NetEventKind::kAsked};
  e.Move = m.Move;
  e.Seat = kOwnLocalSeat;
  e.Playable = playable_;
  events.push_back(std::move(e));
}

void RemoteTable::OnTable(const Incoming& m, Events& events) {
  GameState& s = state_;
  // Back after a drop: a hand already dealt shows at once.
  if (m.Hand >= 1) beforeFirstDeal_ = false;
  ReadRules(m.J.Find("rules"));
  OnSeats(m, events);
  ReadTotals(m.J.Find("totals"));
  started_ = FlagOf(m.J, "started");
  finished_ = FlagOf(m.J, "finished");
  s.MatchInProgress = started_;
  s.HandNumber = static_cast<i16>(m.Hand);
  asked_ = false;
  const Json* moves = m.J.Find("moves");
  if (started_ && moves != nullptr && moves->IsArray()) {
    RebuildHand(m);
  } else {
    ClearTable();
  }
  events.push_back({NetEventKind::kTableLoaded});
}

void RemoteTable::OnChat(const Incoming& m, Events& events) {
  // Only the table's own chat is shown at the table.
  if (m.J.StringAt("to", 16).value_or("") != "table") return;
  // Over-long texts are cut, not refused: the line is still somebody's.
  const auto text = [&](std::string_view key) {
    const Json* j = m.J.Find(key);
    return j != nullptr && j->IsString() ? std::string_view(j->AsString()) : std::string_view();
  };
  NetEvent e{NetEventKind::kChat};
  e.Title = BoundedName(text("name").substr(0, 4 * kMaxNameLength));
  const std::string tag = CleanChatText(text("tag").substr(0, 64));
  // Two seats of one name are told apart by the tag the room gives their
  // people, written as the room writes it; one name alone needs none.
  int namesake = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    namesake += Trimmed(state_.SeatName[seat]) == e.Title ? 1 : 0;
  }
  if (!tag.empty() && namesake >= 2)
    e.Title += " #" + tag.substr(0, std::min<std::size_t>(tag.size(), 8));
  e.Text = CleanChatText(text("text"));
  if (e.Text.empty()) return;
  events.push_back(std::move(e));
}

void RemoteTable::OnMatchEnd(const Incoming& m, Events& events) {
  ReadTotals(m.J.Find("totals"));
  finished_ = true;
  asked_ = false;
  matchWinner_ = LocalWinner(m.J.IntAt("winner", 0, kSeats).value_or(0));
  events.push_back({NetEventKind::kMatchEnd});
}

void RemoteTable::OnError(const Incoming& m, Events& events) {
  NetEvent e{NetEventKind::kError};
  e.Title = m.J.StringAt("error", 64).value_or("");
  e.Text = m.J.StringAt("text", 1024).value_or("");
  // A move the server refused leaves the question standing.
  if (e.Title == "illegal" && askedMove_ == state_.MoveNumber && !Watching()) asked_ = true;
  events.push_back(std::move(e));
}

std::string RemoteTable::MoveMessage(int pipA, int pipB, int end) const {
  Json m = Json::Object()
               .Set("v", server::kProtocolVersion)
               .Set("type", "move")
               .Set("hand", askedHand_)
               .Set("move", askedMove_)
               .Set("tile", server::TileJson(pipA, pipB));
  if (end == 1 || end == 2) m.Set("end", end);
  return m.Dump();
}

std::string RemoteTable::AutoMoveMessage() const {
  return Json::Object()
      .Set("v", server::kProtocolVersion)
      .Set("type", "move")
      .Set("hand", askedHand_)
      .Set("move", askedMove_)
      .Set("auto", Json::Bool(true))
      .Dump();
}

}  // namespace tarvelis::net
