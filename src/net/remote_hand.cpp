// The hand as the mirror holds it: dealt (this seat's tiles and stand-ins
// for the others'), each move laid or passed by the model's own steps, the
// tiles shown at the close, and a hand rebuilt from a table's view.
#include <algorithm>

#include "engine/deal.h"
#include "model/board_geometry.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "net/remote_incoming.h"
#include "net/remote_table.h"

namespace tarvelis::net {

using server::Json;

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
      if (seat == kOwnLocalSeat && !Watching()) {
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

bool RemoteTable::Reveal(int seat, const std::vector<HandSlot>& tiles) {
  std::size_t next = 0;
  std::size_t held = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    HandSlot& t = state_.Hand[seat][slot];
    if (t.State != 0) continue;
    ++held;
    if (next < tiles.size()) {
      t.PipA = tiles[next].PipA;
      t.PipB = tiles[next].PipB;
      ++next;
    }
  }
  return held == tiles.size();
}

void RemoteTable::RebuildHand(const Incoming& m) {
  GameState& s = state_;
  const std::vector<Json>& moves = m.J.Find("moves")->Items();
  // The hand as it stands: this seat's tiles are those it holds and those
  // it laid; the others' are their laid tiles and stand-ins.
  std::vector<HandSlot> own = Watching() ? std::vector<HandSlot>{} : TilesOf(m.J.Find("tiles"));
  for (const Json& move : moves) {
    const auto tile = TileOf(move.Find("tile"));
    if (tile && !Watching() &&
        LocalSeat(move.IntAt("seat", 1, kSeats).value_or(0)) == kOwnLocalSeat) {
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

}  // namespace tarvelis::net
