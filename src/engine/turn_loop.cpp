#include "engine/turn_loop.h"

#include <cassert>
#include <utility>

#include "engine/deal.h"
#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "model/board_geometry.h"
#include "model/consistency.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "player/computer_player.h"

namespace tarvelis {
namespace {

void StartNewMatch(GameState& s) {
  s.MatchInProgress = true;
  s.NoticeShown = false;
  s.HandNumber = 0;
  s.LeadSeat = 0;
  s.HandInProgress = false;
  // Only the entries a match wrote are cleared: the log is long, and most
  // of it is empty already.
  for (HandLogEntry& entry : s.HandLog) {
    int points = 0;
    for (const i16 v : entry.PairUnits) points |= v;
    for (const i16 v : entry.PairTens) points |= v;
    for (const i16 v : entry.SeatUnits) points |= v;
    for (const i16 v : entry.SeatTens) points |= v;
    if (points != 0 || !entry.Text.empty()) entry = HandLogEntry{};
  }
  RecomputeTotals(s);
}

// A manual seat, the pause between moves, or a reopened hand stop play
// until the continue button is dismissed. Returns the slot of the tile the
// user clicked to dismiss it, 0 for none; -1 when the loop must stop.
int StopBeforeMove(EngineContext& ctx) {
  GameState& s = ctx.State;
  const int seat = s.CurrentSeat;
  int clicked = 0;
  if (s.SeatControl[seat] == kManual || s.RulePauseBetweenMoves == kOn || ctx.HandReopened) {
    s.NoticeShown = true;
    clicked = ctx.Port.WaitForNotice(TrimmedView(s.SeatName[seat]));
  }
  return ctx.MustStop() ? -1 : clicked;
}

// A reopened hand whose moves in force already end it (its last move
// was stepped forward again, or it was saved right after that move) ends again
// where it had ended. The moves in force decide, not a move number, so a hand
// is never closed with its last move taken back.
bool MovesInForceEndHand(const GameState& s) {
  const int last = s.MoveNumber - 1;
  if (last < 1 || last >= static_cast<int>(s.MoveRecord.size())) return false;
  const MoveEntry& e = s.MoveRecord[last];
  if (e[kFEnd] == kPassEnd || e[kFSeat] < 1 || e[kFSeat] > kSeats) return false;
  return s.SeatTileCount[e[kFSeat]] == 0 || ChainBlocked(s);
}

// The playable tile a manual seat clicked is its move, turned towards the end
// it goes to. False when the loop must stop.
bool TakeClickedTile(EngineContext& ctx, int slot) {
  GameState& s = ctx.State;
  const int seat = s.CurrentSeat;
  const HandSlot& t = s.Hand[seat][slot];
  s.PlayPipA = t.PipA;
  s.PlayPipB = t.PipB;
  s.PlayEnd = 1;
  // The user chose this tile, not the computer's scoring.
  s.PlayEvaluated = false;
  const int e1 = s.EndPips[1];
  const int e2 = s.EndPips[2];
  if (e1 == e2) {
    if (s.PlayPipA != e1) CambiaFicha(s);
    return true;
  }
  if (UserChoosesEnd(s, seat, t)) {
    const int end = ctx.Port.AskEnd();
    if (ctx.MustStop()) return false;
    s.PlayEnd = static_cast<i16>(end == 2 ? 2 : 1);
    return true;
  }
  if (t.PipA == e2 || t.PipB == e2) s.PlayEnd = 2;
  return true;
}

// The move in hand obeys the rules: a held tile that may lead or that fits the
// end it is given, or a pass by a seat that cannot play.
// A pass is legal when no held tile fits an end.
bool HoldsNoFit(const GameState& s, int seat) {
  const int e1 = s.EndPips[1];
  const int e2 = s.EndPips[2];
  bool fit = false;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    fit |= (t.State == 0) & ((t.PipA == e1) | (t.PipA == e2) | (t.PipB == e1) | (t.PipB == e2));
  }
  return !fit;
}

bool MoveIsLegal(const GameState& s) {
  const int seat = s.CurrentSeat;
  if (s.PlayEnd == kPassEnd) return s.MoveNumber != 1 && HoldsNoFit(s, seat);
  if (s.PlayEnd != 1 && s.PlayEnd != 2) return false;
  const int slot = BuscaHueco(s, s.PlayPipA, s.PlayPipB, seat);
  if (!EsJugable(s, seat, slot)) return false;
  const int end = s.EndPips[s.PlayEnd];
  return s.MoveNumber == 1 || s.EndPips[1] == s.EndPips[2] || s.PlayPipA == end ||
         s.PlayPipB == end;
}

// A legal move in place of a faulty choice: the first tile that may lead (any
// held tile when the state leaves none, as the lead is never a pass), or the
// first candidate, or a pass.
void FallBackMove(GameState& s) {
  const int seat = s.CurrentSeat;
  s.PlayEnd = kPassEnd;
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEvaluated = false;
  if (s.MoveNumber == 1) {
    int lead = 0;
    for (int slot = 1; slot <= kSlots && lead == 0; ++slot) {
      if (EsJugable(s, seat, slot)) lead = slot;
    }
    for (int slot = 1; slot <= kSlots && lead == 0; ++slot) {
      if (s.Hand[seat][slot].State == 0) lead = slot;
    }
    if (lead == 0) return;
    s.PlayPipA = s.Hand[seat][lead].PipA;
    s.PlayPipB = s.Hand[seat][lead].PipB;
    s.PlayEnd = 1;
    return;
  }
  const CandidateList list = ListCandidates(s, seat);
  if (list.Count > 0) TakeCandidate(s, list.Items[0]);
}

// The move in hand, with the slot of the tile the user clicked (0 for none). False when
// the loop must stop.
bool ChooseMove(EngineContext& ctx, int clicked) {
  GameState& s = ctx.State;
  if (clicked != 0 && EsJugable(s, s.CurrentSeat, clicked)) {
    // A tile the user has clicked is the move.
    if (!TakeClickedTile(ctx, clicked)) return false;
  } else {
    const bool chosen = ctx.Hooks != nullptr && ctx.Hooks->ChooseMove(s, &ctx.Port);
    // A click the rules refuse leaves the turn to the computer, which shows
    // no thinking over the user's hand.
    if (!chosen) PutInHand(s, EligeJugada(s, clicked != 0 ? nullptr : &ctx.Port));
    if (ctx.MustStop()) return false;
  }
  if (!MoveIsLegal(s)) {
    ++ctx.IllegalChoices;
    FallBackMove(s);
  }
  return true;
}

// The tile is turned, laid and recorded, and the entry applied; or
// the pass is recorded. False when the record cannot take the move.
bool CarryOutMove(EngineContext& ctx) {
  GameState& s = ctx.State;
  const bool tile = s.PlayEnd != kPassEnd;
  MoveEntry layout{};
  if (tile) {
    if (s.MoveNumber == 1) {
      // End 2 shows the lead's pip A from now on; end 1 takes pip B when the
      // entry is applied. The leader's two suits are marked as its own.
      s.EndPips[2] = s.PlayPipA;
      s.SeatPipMark[s.CurrentSeat][s.PlayPipA] = 4;
      s.SeatPipMark[s.CurrentSeat][s.PlayPipB] = 4;
    }
    OrientMove(s);
    LayTile(s, layout);
  } else {
    s.PlayPipA = s.PlayPipB = kNoPip;
    s.PlayIsDouble = false;
  }
  if (!GrabaJugada(s, layout, &ctx.Port)) return false;
  AplicaJugada(s, kApply, s.MoveNumber);
  if (tile) {
    ctx.Port.ShowLaidTile(s.MoveNumber);
  } else {
    ctx.Port.ShowPassSign(s.CurrentSeat);
  }
  return true;
}

// The seat that moved has played out, or nobody can play.
bool HandIsOver(const GameState& s) {
  return s.SeatTileCount[s.CurrentSeat] == 0 || ChainBlocked(s);
}

// A state that cannot be played on (a corrupt record) ends the match rather
// than writing past the record.
void AbandonMatch(GameState& s) {
  s.HandInProgress = false;
  s.MatchInProgress = false;
}

}  // namespace

void SeedFromClock(EngineContext& ctx) {
  if (ctx.SeedFromClock) ctx.Rng.Seed(ClockSeed());
}

void PlayHand(EngineContext& ctx) {
  GameState& s = ctx.State;
  while (!ctx.MustStop()) {
    // The turn passes to the next seat.
    s.PlayPipA = s.PlayPipB = kNoPip;
    s.PlayEnd = kPassEnd;
    AdvanceTurn(s);
    ctx.Port.YieldToWindows();
    if (ctx.MustStop()) return;
    // Room in the record for the move.
    if (!EnsureMoveRecordCapacity(s, s.MoveNumber)) {
      AbandonMatch(s);
      return;
    }
    // The notice before a move.
    const int clicked = StopBeforeMove(ctx);
    if (clicked < 0) return;
    HandEndOutcome outcome;
    if (ctx.HandReopened && MovesInForceEndHand(s)) {
      // A reopened hand whose moves in force end it ends again.
      TurnBack(s);
      outcome = EndHand(ctx);
    } else {
      // The move is chosen, carried out and checked, and the hand may be over.
      if (!ChooseMove(ctx, clicked)) return;
      if (!CarryOutMove(ctx)) {
        AbandonMatch(s);
        return;
      }
      assert(CheckState(s, CheckOptions{s.MoveNumber, false}).empty());
      if (ctx.Hooks != nullptr) ctx.Hooks->MoveMade(s);
      if (ctx.MustStop()) return;
      if (!HandIsOver(s)) continue;
      outcome = EndHand(ctx);
    }
    switch (outcome) {
      case HandEndOutcome::kReopened:
        continue;
      case HandEndOutcome::kNextHand:
        if (!DealHand(ctx)) return;
        continue;
      case HandEndOutcome::kMatchOver:
      case HandEndOutcome::kStop:
        return;
    }
  }
}

void RunMatch(EngineContext& ctx, LoopEntry entry) {
  LoopControl& c = ctx.Control;
  if (entry == LoopEntry::kNone) return;
  if (c.Running) {
    c.Pending = entry;
    return;
  }
  c.Running = true;
  c.Pending = entry;
  GameState& s = ctx.State;
  while (c.Pending != LoopEntry::kNone && !c.ExitRequested) {
    const LoopEntry next = std::exchange(c.Pending, LoopEntry::kNone);
    // A reopened hand belongs to the state that was left.
    ctx.HandReopened = false;
    if (next == LoopEntry::kNewMatch) {
      StartNewMatch(s);
      SeedFromClock(ctx);
      if (!DealHand(ctx)) continue;
    } else {
      // The totals are not kept in the files; the log gives them back. Only a
      // consistent hand is played on: a damaged file must not lead the loop
      // out of its arrays. A loaded game comes from the reader, which did both.
      const bool checked = next == LoopEntry::kLoadedGame;
      if (!checked) RecomputeTotals(s);
      if (s.MatchInProgress && !s.HandInProgress) {
        // Left between two hands: the match goes on with the next deal, or
        // ends if the last hand reached the target before the user went on.
        if (MatchReached(s)) {
          EndMatch(ctx);
          continue;
        }
        SeedFromClock(ctx);
        if (!DealHand(ctx)) continue;
        PlayHand(ctx);
        continue;
      }
      if (!s.MatchInProgress || !s.HandInProgress) continue;
      if (!checked && !CheckState(s).empty()) {
        // Shown with nobody to move and saved back as it was, it would come
        // back stuck at every start; it is dropped instead.
        AbandonMatch(s);
        continue;
      }
      SeedFromClock(ctx);
      // A hand saved right after its last move ends where it stood, as a
      // reopened hand stepped forward to its end does.
      ctx.HandReopened = MovesInForceEndHand(s);
      TurnBack(s);
    }
    PlayHand(ctx);
  }
  c.Running = false;
}

}  // namespace tarvelis
