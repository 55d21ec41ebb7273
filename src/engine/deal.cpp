#include "engine/deal.h"

#include <utility>

#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "engine/recorder.h"
#include "model/board_geometry.h"
#include "model/move_record.h"

namespace tarvelis {
namespace {

// The table is cleared and, for a random deal, the shuffle is heard.
void ClearTable(EngineContext& ctx, bool random) {
  ResetRecorder(ctx.State);
  ctx.Port.ClearTableForDeal();
  if (!random) return;
  ctx.Port.PlaySound(Sound::kNewHand);
  if (ctx.State.RuleSound == kOn) ctx.Port.Wait(600);
}

// Every hand is shown, each dealt tile heard in a random deal.
void ShowHands(EngineContext& ctx, bool random) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    ctx.Port.DrawHand(seat);
    if (random) ctx.Port.PlaySound(Sound::kTileMoves);
    ctx.Port.Wait(120);
  }
}

// A seat dealt five doubles may give them back. Returns true to keep
// the deal.
bool KeepDespiteFiveDoubles(EngineContext& ctx) {
  GameState& s = ctx.State;
  if (s.RuleFiveDoubles != kFiveDoublesReturn) return true;
  const int seat = FirstSeatWithFiveDoubles(s);
  if (seat == 0) return true;
  if (s.SeatControl[seat] == kManual) {
    return Ask(ctx, kFiveDoublesTitle, FiveDoublesQuestion(s.SeatName[seat]));
  }
  Tell(ctx, kFiveDoublesTitle, FiveDoublesGivenBack(s.SeatName[seat]));
  return false;
}

// The deal, shown and heard, repeated until one is kept. False when the loop
// must stop.
bool DealTiles(EngineContext& ctx) {
  GameState& s = ctx.State;
  bool forceRandom = false;
  for (;;) {
    const bool random = s.RuleDealing != kDealManual || forceRandom;
    ClearTable(ctx, random);
    if (ctx.MustStop()) return false;
    ClearHands(s);
    if (random) {
      SeedFromClock(ctx);
      ShuffleAndDeal(s, ctx.Rng);
    } else {
      const bool dealt = ctx.Port.RunManualDeal();
      if (ctx.MustStop()) return false;
      if (!dealt) {
        // The rule was switched to "Aleatorio" during the wait, or the table
        // cannot deal by hand: start over with a random deal.
        forceRandom = true;
        continue;
      }
      for (int seat = 1; seat <= kSeats; ++seat) {
        if (s.SeatTilesShown[seat] == kTilesHidden) ctx.Port.DrawHand(seat);
      }
    }
    ComputeDealStatistics(s);
    ShowHands(ctx, random);
    if (ctx.MustStop()) return false;
    const bool keep = KeepDespiteFiveDoubles(ctx);
    if (ctx.MustStop()) return false;
    if (keep) return true;
  }
}

// False when the loop must stop.
bool ChooseLeadSeat(EngineContext& ctx) {
  GameState& s = ctx.State;
  if (s.HandNumber == 1 && s.RuleNextLead != kNextLeadChoose) {
    std::string text;
    if (s.RuleFirstLead == kFirstLeadSixDouble) {
      s.LeadSeat = s.DoubleHolder[6];
      text = SixDoubleLeadText(Trimmed(s.SeatName[s.LeadSeat]));
    } else {
      s.LeadSeat = static_cast<i16>(ctx.Rng.Draw(4));
      text = DrawnLeadText(s.SeatName[s.LeadSeat]);
    }
    Tell(ctx, kFirstHandTitle, text);
    return !ctx.MustStop();
  }
  if (s.RuleNextLead == kNextLeadChoose) {
    const int seat = ctx.Port.ChooseLeader();
    if (ctx.MustStop()) return false;
    s.LeadSeat = static_cast<i16>(seat >= 1 && seat <= kSeats ? seat : LeaderByRule(s));
    return true;
  }
  s.LeadSeat = static_cast<i16>(LeaderByRule(s));
  return true;
}

}  // namespace

int WrapSeat(int seat) {
  return ((seat - 1) % kSeats + kSeats) % kSeats + 1;
}

void ClearHands(GameState& s) {
  s.MoveNumber = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatTileCount[seat] = 0;
    for (int slot = 1; slot <= kSlots; ++slot) s.Hand[seat][slot].State = 0;
    s.SeatPipCount[seat].fill(0);
    s.SeatPipMark[seat].fill(0);
    s.SeatDoubles[seat] = 0;
  }
  s.DoubleHolder.fill(0);
}

void ShuffleAndDeal(GameState& s, Random& rng) {
  // The deck: which of the 28 slots holds a tile, and which tile.
  std::array<bool, kTiles + 1> taken{};
  std::array<HandSlot, kTiles + 1> deck{};
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= i; ++j) {
      int r;
      do r = rng.Draw(kTiles);
      while (taken[r]);
      taken[r] = true;
      deck[r] = HandSlot{static_cast<i16>(i), static_cast<i16>(j), 0};
    }
  }
  for (int dealt = 0; dealt < kTiles; ++dealt) {
    int r;
    do r = rng.Draw(kTiles);
    while (!taken[r]);
    int seat;
    do seat = rng.Draw(kSeats);
    while (s.SeatTileCount[seat] >= kSlots);
    taken[r] = false;
    const int slot = ++s.SeatTileCount[seat];
    s.Hand[seat][slot] = deck[r];
  }
}

int FirstSeatWithFiveDoubles(const GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (s.SeatDoubles[seat] >= 5) return seat;
  }
  return 0;
}

int PairLeader(const GameState& s, int pair) {
  const int a = pair == 1 ? 2 : 1;
  const int b = a + 2;
  const int countA = s.SeatPipCount[a][s.SeatPipRank[a][1]];
  const int countB = s.SeatPipCount[b][s.SeatPipRank[b][1]];
  if (countA != countB) return countA > countB ? a : b;
  return s.SeatDoubles[a] < s.SeatDoubles[b] ? a : b;
}

int LeaderByRule(const GameState& s) {
  const bool pairs = s.RuleMode == kModePairs;
  const int winner = s.HandWinner;
  switch (s.RuleNextLead) {
    case kNextLeadWinner:
      if (pairs && (winner == 1 || winner == 2)) return PairLeader(s, winner);
      if (!pairs && winner >= 1 && winner <= kSeats) return winner;
      break;
    case kNextLeadLoser:
      // Only offered in pairs mode; elsewhere it falls back to the rotation,
      // as the settings window turns it back to "Turno rotatorio".
      if (pairs && (winner == 1 || winner == 2)) return PairLeader(s, 3 - winner);
      break;
    default:
      break;
  }
  return WrapSeat(s.LeadSeat + s.DirectionStep);
}

void ResetForPlay(GameState& s) {
  s.CurrentSeat = static_cast<i16>(s.LeadSeat - s.DirectionStep);
  ResetChainCursors(s);
  s.MoveRecord.assign(kMoveRecordInitial, MoveEntry{});
  s.HandInProgress = true;
}

void PrepareLead(GameState& s, Random& rng) {
  const int k = rng.Draw(3);
  const int seat = s.LeadSeat;
  if (seat < 1 || seat > kSeats) return;
  auto& rank = s.SeatPipRank[seat];
  auto sameCount = [&] { return s.SeatPipCount[seat][rank[1]] == s.SeatPipCount[seat][rank[2]]; };
  if (sameCount() && k == 1) std::swap(rank[1], rank[2]);
  if (sameCount() && s.DoubleHolder[rank[1]] != seat) std::swap(rank[1], rank[2]);
}

bool DealHand(EngineContext& ctx) {
  GameState& s = ctx.State;
  if (!DealTiles(ctx)) return false;
  ComputeRanks(s);
  s.EndPips[1] = s.EndPips[2] = kNoPip;
  s.EndCount[1] = s.EndCount[2] = 0;
  MakeRoomInHandLog(s, s.HandNumber + 1);
  ++s.HandNumber;
  if (!ChooseLeadSeat(ctx)) return false;
  ResetForPlay(s);
  PrepareLead(s, ctx.Rng);
  if (ctx.Hooks != nullptr) ctx.Hooks->HandDealt(s);
  return true;
}

}  // namespace tarvelis
