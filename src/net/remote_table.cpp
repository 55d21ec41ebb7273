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
#include "model/texts.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "storage/clean_text.h"

namespace tarvelis::net {
namespace {

using server::Json;

// A whole table's view lists every move of a hand: more than a request may hold.
constexpr server::JsonLimits kServerLimits{kMaxServerMessageBytes, 8, 256};

std::optional<HandSlot> TileOf(const Json* j) {
  if (j == nullptr || !j->IsArray() || j->Items().size() != 2) return std::nullopt;
  HandSlot t;
  for (int i = 0; i < 2; ++i) {
    const Json& pip = j->Items()[static_cast<std::size_t>(i)];
    if (!pip.IsNumber() || !(pip.AsNumber() >= 0 && pip.AsNumber() <= 6) ||
        std::floor(pip.AsNumber()) != pip.AsNumber()) {
      return std::nullopt;
    }
    (i == 0 ? t.PipA : t.PipB) = static_cast<i16>(pip.AsNumber());
  }
  return t;
}

bool SameTile(const HandSlot& t, int a, int b) {
  return (t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a);
}

// One more tile of a seat's hand: the set holds every tile once, so a tile
// named twice (a damaged message) is taken once, or the seat's count and the
// tiles it holds would part at its next move.
void AddTile(std::vector<HandSlot>& tiles, const HandSlot& t) {
  const bool known = std::any_of(tiles.begin(), tiles.end(), [&](const HandSlot& held) {
    return SameTile(held, t.PipA, t.PipB);
  });
  if (!known && tiles.size() < kSlots) tiles.push_back(t);
}

std::vector<HandSlot> TilesOf(const Json* j) {
  std::vector<HandSlot> tiles;
  if (j == nullptr || !j->IsArray()) return tiles;
  for (const Json& item : j->Items()) {
    if (const auto t = TileOf(&item)) AddTile(tiles, *t);
  }
  return tiles;
}

// The whole numbers of an array of `n`, each in [lo, hi]; nothing when the
// array is missing, shorter, or holds anything else.
std::optional<std::vector<int>> NumbersOf(const Json* j, std::size_t n, int lo, int hi) {
  if (j == nullptr || !j->IsArray() || j->Items().size() < n) return std::nullopt;
  std::vector<int> out(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const Json& item = j->Items()[i];
    const double v = item.IsNumber() ? item.AsNumber() : -1.0;
    if (!item.IsNumber() || !(v >= lo && v <= hi) || std::floor(v) != v) return std::nullopt;
    out[i] = static_cast<int>(v);
  }
  return out;
}

bool FlagOf(const Json& j, std::string_view key) {
  const Json* flag = j.Find(key);
  return flag != nullptr && flag->IsBool() && flag->AsBool();
}

// Hand numbers, totals and points go into the state's 16-bit fields.
constexpr int kMaxHand = 32767;
constexpr int kMaxTotal = 32767;
constexpr int kMaxPoints = 9999;

}  // namespace

struct SeatsView {
  PerSeat<std::string> Name;
  PerSeat<SeatPresence> Presence{};
  PerSeat<bool> Person{};
  bool Valid = false;
};

namespace {

SeatsView ReadSeatsView(const Json* j) {
  SeatsView v;
  if (j == nullptr || !j->IsArray() || j->Items().size() != kSeats) return v;
  for (const Json& s : j->Items()) {
    const auto seat = s.IntAt("seat", 1, kSeats);
    const Json* name = s.Find("name");
    const auto kind = s.StringAt("kind", 16);
    if (!seat || name == nullptr || !name->IsString() || !kind) return v;
    // A name longer than anybody can type would only cost time to fit.
    v.Name[*seat] = BoundedName(name->AsString());
    v.Person[*seat] = *kind == "person";
    const bool here = FlagOf(s, "present");
    const bool seated = FlagOf(s, "taken");
    v.Presence[*seat] = !v.Person[*seat] || !seated ? SeatPresence::kComputer
                        : here                      ? SeatPresence::kPresent
                                                    : SeatPresence::kAway;
  }
  v.Valid = true;
  return v;
}

}  // namespace

// A message being read: its JSON and the members most types carry, already
// in range (0 where missing or out of range).
struct Incoming {
  const Json& J;
  int Hand = 0;
  int Move = 0;
  int Seat = 0;  // local
};

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
    const bool own = local == kOwnLocalSeat;
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

void RemoteTable::Deal(int hand, int lead, const std::vector<HandSlot>& own) {
  GameState& s = state_;
  ClearHands(s);
  // Every tile this seat does not hold stands in, in order, for the others'.
  std::vector<HandSlot> others;
  for (int a = 6; a >= 0; --a) {
    for (int b = a; b >= 0; --b) {
      const bool mine =
          std::any_of(own.begin(), own.end(), [&](const HandSlot& t) { return SameTile(t, a, b); });
      if (!mine) others.push_back(HandSlot{static_cast<i16>(a), static_cast<i16>(b), 0});
    }
  }
  std::size_t next = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      HandSlot t{kNoPip, kNoPip, 1};
      if (seat == kOwnLocalSeat) {
        if (slot <= static_cast<int>(own.size())) t = own[static_cast<std::size_t>(slot - 1)];
      } else if (next < others.size()) {
        t = others[next++];
      }
      t.State = t.PipA == kNoPip ? 1 : 0;
      s.Hand[seat][slot] = t;
      if (t.State == 0) ++s.SeatTileCount[seat];
    }
  }
  s.HandNumber = static_cast<i16>(hand);
  s.LeadSeat = static_cast<i16>(LocalSeat(lead));
  s.HandInProgress = true;
  s.HandWinner = 0;
  s.EndPips[1] = s.EndPips[2] = kNoPip;
  s.EndCount[1] = s.EndCount[2] = 0;
  ResetChainCursors(s);
  s.MoveRecord.assign(kMoveRecordInitial, MoveEntry{});
  s.SeatPipsLeft = {};
  s.MoveNumber = 1;
  s.CurrentSeat = s.LeadSeat;
  s.NoticeShown = false;
}

bool RemoteTable::TakesMove(int seat, int move) {
  // Only the move the hand stands at, in a dealt hand: a move outside one, or
  // one played again, would count tiles nobody holds.
  return state_.HandInProgress && seat >= 1 && seat <= kSeats && move == state_.MoveNumber &&
         EnsureMoveRecordCapacity(state_, move);
}

bool RemoteTable::Lay(int seat, int move, int a, int b, int end) {
  GameState& s = state_;
  if (!TakesMove(seat, move)) return false;
  auto& hand = s.Hand[seat];
  const auto held = [&](const HandSlot& t) { return t.State == 0; };
  // A tile already on the chain cannot be laid again: the record would find
  // the laid one and the seat's count would part from the tiles it holds.
  for (int other = 1; other <= kSeats; ++other) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[other][slot];
      if (!held(t) && SameTile(t, a, b)) return false;
    }
  }
  const bool inHand = std::any_of(hand.begin() + 1, hand.end(),
                                  [&](const HandSlot& t) { return held(t) && SameTile(t, a, b); });
  if (!inHand) {
    // The seat's last stand-in becomes the tile; the seat whose stand-in was
    // that tile takes the stand-in's value, so every tile is held once.
    int mine = 0;
    for (int slot = kSlots; slot >= 1 && mine == 0; --slot) {
      if (held(hand[slot])) mine = slot;
    }
    if (mine == 0) return false;
    for (int other = 1; other <= kSeats; ++other) {
      for (int slot = 1; slot <= kSlots; ++slot) {
        HandSlot& t = s.Hand[other][slot];
        if (other != seat && held(t) && SameTile(t, a, b)) {
          t.PipA = hand[mine].PipA;
          t.PipB = hand[mine].PipB;
        }
      }
    }
    hand[mine].PipA = static_cast<i16>(a);
    hand[mine].PipB = static_cast<i16>(b);
  }
  // The move as the turn loop carries it out: turned, laid, recorded, applied.
  s.MoveNumber = static_cast<i16>(move);
  s.CurrentSeat = static_cast<i16>(seat);
  s.PlayPipA = static_cast<i16>(a);
  s.PlayPipB = static_cast<i16>(b);
  s.PlayEnd = static_cast<i16>(end == 2 ? 2 : 1);
  s.PlayEvaluated = false;
  if (move == 1) s.EndPips[2] = s.PlayPipA;
  OrientMove(s);
  MoveEntry layout{};
  LayTile(s, layout);
  GrabaJugada(s, layout, nullptr);
  AplicaJugada(s, kApply, move);
  AdvanceTurn(s);
  return true;
}

bool RemoteTable::Pass(int seat, int move) {
  GameState& s = state_;
  if (!TakesMove(seat, move)) return false;
  s.MoveNumber = static_cast<i16>(move);
  s.CurrentSeat = static_cast<i16>(seat);
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
  s.PlayIsDouble = false;
  s.PlayEvaluated = false;
  GrabaJugada(s, MoveEntry{}, nullptr);
  AplicaJugada(s, kApply, move);
  AdvanceTurn(s);
  return true;
}

void RemoteTable::Reveal(int seat, const std::vector<HandSlot>& tiles) {
  std::size_t next = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    HandSlot& t = state_.Hand[seat][slot];
    if (t.State != 0) continue;
    if (next < tiles.size()) {
      t.PipA = tiles[next].PipA;
      t.PipB = tiles[next].PipB;
      ++next;
    }
  }
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
  const std::vector<HandSlot> own = TilesOf(m.J.Find("tiles"));
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
  if (hands != nullptr && hands->IsArray() && hands->Items().size() == kSeats) {
    for (int server = 1; server <= kSeats; ++server) {
      Reveal(LocalSeat(server), TilesOf(&hands->Items()[static_cast<std::size_t>(server - 1)]));
    }
  }
  RecomputePipsLeft(s);
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

void RemoteTable::RebuildHand(const Incoming& m) {
  GameState& s = state_;
  const std::vector<Json>& moves = m.J.Find("moves")->Items();
  // The hand as it stands: this seat's tiles are those it holds and those
  // it laid; the others' are their laid tiles and stand-ins.
  std::vector<HandSlot> own = TilesOf(m.J.Find("tiles"));
  for (const Json& move : moves) {
    const auto tile = TileOf(move.Find("tile"));
    if (tile && LocalSeat(move.IntAt("seat", 1, kSeats).value_or(0)) == kOwnLocalSeat) {
      AddTile(own, *tile);
    }
  }
  Deal(m.Hand, m.J.IntAt("lead", 1, kSeats).value_or(1), own);
  int n = 0;
  for (const Json& move : moves) {
    ++n;
    const int by = LocalSeat(move.IntAt("seat", 1, kSeats).value_or(0));
    const auto tile = TileOf(move.Find("tile"));
    if (tile) {
      Lay(by, n, tile->PipA, tile->PipB, move.IntAt("end", 1, 2).value_or(1));
    } else {
      Pass(by, n);
    }
  }
  s.MoveNumber = static_cast<i16>(std::min(std::max(m.Move, n + 1), kMoveRecordLimit));
  const int turn = LocalSeat(m.J.IntAt("turn", 1, kSeats).value_or(0));
  if (turn != 0) s.CurrentSeat = static_cast<i16>(turn);
}

void RemoteTable::ClearTable() {
  // Between two hands, or before the first: no hand on the table.
  GameState& s = state_;
  ClearHands(s);
  for (int t = 1; t <= kSeats; ++t) {
    for (int slot = 1; slot <= kSlots; ++slot) s.Hand[t][slot] = HandSlot{kNoPip, kNoPip, 1};
  }
  s.HandInProgress = false;
  s.EndPips[1] = s.EndPips[2] = kNoPip;
  s.EndCount[1] = s.EndCount[2] = 0;
  ResetChainCursors(s);
  s.MoveRecord.assign(kMoveRecordInitial, MoveEntry{});
  s.MoveNumber = 0;
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
  if (e.Title == "illegal" && askedMove_ == state_.MoveNumber) asked_ = true;
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
