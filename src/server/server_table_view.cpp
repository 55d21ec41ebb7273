// What a table tells its seats and watchers: the seats, the totals, the
// whole table as one message, the question put to the seat asked, and the
// news of the deal, the moves and the hand's end as the turn loop plays.
#include "engine/hand_end.h"
#include "model/move_rules.h"
#include "server/server_table.h"

namespace tarvelis::server {

Json ServerTable::SeatsJson() const {
  Json seats = Json::Array();
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = seats_[seat];
    Json item = Json::Object()
                    .Set("seat", seat)
                    .Set("kind", SeatKindName(p.Kind))
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
        .Set("lead", static_cast<int>(s.LeadSeat));
    // Seat 0 is a watcher's: it holds no tiles.
    if (seat >= 1 && seat <= kSeats) view.Set("tiles", HeldTilesJson(s, seat));
    view.Set("ends",
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

void ServerTable::HandClosed(bool domino) {
  handClosed_ = true;
  Json hands = Json::Array();
  for (int seat = 1; seat <= kSeats; ++seat) hands.Push(HeldTilesJson(state_, seat));
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

void ServerTable::HandDealt(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    Send(seat, Message("dealt")
                   .Set("hand", static_cast<int>(s.HandNumber))
                   .Set("lead", static_cast<int>(s.LeadSeat))
                   .Set("tiles", HeldTilesJson(s, seat)));
  }
  if (watched_) {
    outbox_.push_back({0, Message("dealt")
                              .Set("hand", static_cast<int>(s.HandNumber))
                              .Set("lead", static_cast<int>(s.LeadSeat))
                              .Dump()});
  }
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

}  // namespace tarvelis::server
