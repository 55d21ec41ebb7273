#include "engine/hand_end.h"

#include <algorithm>
#include <cmath>

#include "engine/deal.h"
#include "engine/hand_messages.h"
#include "model/consistency.h"
#include "model/move_record.h"

namespace tarvelis {
namespace {

// The winner and the points of the hand the last move ended, scored from the
// pips every seat still holds; sets HandWinner.
HandScore JudgeHand(GameState& s, bool domino) {
  PerSeat<int> pips{};
  for (int seat = 1; seat <= kSeats; ++seat) pips[seat] = PipsLeft(s, seat);
  const HandScore score = ScoreHand(s, pips, domino ? s.CurrentSeat : 0);
  s.HandWinner = static_cast<i16>(score.Winner);
  return score;
}

// The hand's line of the log. The record is rewritten whole, so
// nothing of an earlier use of it survives.
void LogHand(GameState& s, int points, int tens) {
  MakeRoomInHandLog(s, s.HandNumber);
  if (s.HandNumber < 1) return;
  HandLogEntry& entry = s.HandLog[s.HandNumber];
  entry = HandLogEntry{};
  if (s.LeadSeat >= 1 && s.LeadSeat <= kSeats) entry.Text = s.SeatName[s.LeadSeat];
  const auto units = static_cast<i16>(points);
  const auto tensValue = static_cast<i16>(tens);
  if (s.RuleMode == kModePairs) {
    const bool toPair1 = (s.RuleScoringPair == kScoringWinners && s.HandWinner == 1) ||
                         (s.RuleScoringPair == kScoringLosers && s.HandWinner == 2);
    const int pair = toPair1 ? 1 : 2;
    entry.PairUnits[pair] = units;
    entry.PairTens[pair] = tensValue;
  } else if (s.HandWinner >= 1 && s.HandWinner <= kSeats) {
    entry.SeatUnits[s.HandWinner] = units;
    entry.SeatTens[s.HandWinner] = tensValue;
  }
}

}  // namespace

// The end of the match: its result, and whether it goes into the history.
void EndMatch(EngineContext& ctx) {
  GameState& s = ctx.State;
  const int winner = MatchWinner(s);
  ctx.Port.PlaySound(Sound::kDomino);
  Tell(ctx, kMatchOverTitle, MatchResultText(s, winner));
  if (ctx.MustStop()) return;
  const bool keep = Ask(ctx, kHistoryTitle, kKeepInHistoryQuestion);
  if (ctx.MustStop()) return;
  if (keep) ctx.Port.AppendHistory();
  s.MatchInProgress = false;
  s.MoveNumber = 0;
}

void RecomputePipsLeft(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    float pips = 0;
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.State == 0) pips += static_cast<float>(t.PipA + t.PipB);
    }
    s.SeatPipsLeft[seat] = pips;
  }
}

int PipsLeft(const GameState& s, int seat) {
  return static_cast<int>(std::lround(s.SeatPipsLeft[seat]));
}

void RecomputeTotals(GameState& s) {
  RecomputeTotalsFromLog(s);
}

bool MatchReached(const GameState& s) {
  if (s.RuleMode == kModePairs) {
    return s.PairTotal[1] >= s.MatchTarget || s.PairTotal[2] >= s.MatchTarget;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (s.SeatTotal[seat] >= s.MatchTarget) return true;
  }
  return false;
}

void ReopenHand(EngineContext& ctx) {
  GameState& s = ctx.State;
  s.HandInProgress = true;
  ctx.HandReopened = true;
  for (int seat = 1; seat <= kSeats; ++seat) ctx.Port.DrawHand(seat);
  AdvanceTurn(s);
  RetrocedeJugada(s, &ctx.Port);
  TurnBack(s);
}

void MakeRoomInHandLog(GameState& s, int hand) {
  // Totals are capped at 999, so a merged value is capped there too without
  // changing any total, and never overflows its 16 bits.
  auto merge = [](i16 a, i16 b) { return static_cast<i16>(std::min(a + b, kTotalCap)); };
  for (; hand > kHandLogSize; --hand) {
    HandLogEntry& first = s.HandLog[1];
    const HandLogEntry& second = s.HandLog[2];
    for (int p = 1; p <= 2; ++p) {
      first.PairUnits[p] = merge(first.PairUnits[p], second.PairUnits[p]);
      first.PairTens[p] = merge(first.PairTens[p], second.PairTens[p]);
    }
    for (int t = 1; t <= kSeats; ++t) {
      first.SeatUnits[t] = merge(first.SeatUnits[t], second.SeatUnits[t]);
      first.SeatTens[t] = merge(first.SeatTens[t], second.SeatTens[t]);
    }
    std::move(s.HandLog.begin() + 3, s.HandLog.end(), s.HandLog.begin() + 2);
    s.HandLog[kHandLogSize] = HandLogEntry{};
    --s.HandNumber;
  }
}

HandEndOutcome EndHand(EngineContext& ctx) {
  GameState& s = ctx.State;
  // The hand is closed and every hand shown.
  s.HandInProgress = false;
  const bool domino = s.SeatTileCount[s.CurrentSeat] == 0;
  RecomputePipsLeft(s);
  bool repeat = false;
  ctx.HandReopened = false;
  s.HandWinner = 0;
  if (domino) ctx.Port.PlaySound(Sound::kDomino);
  ctx.Port.HandClosed(domino);
  if (ctx.MustStop()) return HandEndOutcome::kStop;

  HandSummary summary;
  summary.Domino = domino;
  const HandScore score = JudgeHand(s, domino);
  if (!domino) {
    // A blocked chain: the pips are counted, and the user may go back into the hand.
    summary.Tied = score.Tied;
    repeat = score.Repeated;
    const bool goOn = Ask(ctx, kBlockedTitle, BlockedHandText(s, summary.Tied));
    if (ctx.MustStop()) return HandEndOutcome::kStop;
    if (!goOn) {
      ReopenHand(ctx);
      return HandEndOutcome::kReopened;
    }
    if (s.RuleMode == kModePairs && !summary.Tied && s.HandWinner != PairOfSeat(s.CurrentSeat)) {
      ctx.Port.PlaySound(Sound::kBlockLost);
    }
  }

  // The points go to the winners and into the log.
  if (!repeat) {
    summary.Points = score.Points;
    const bool goOn =
        Ask(ctx, kHandResultTitle, HandResultText(s, summary.Points, Tens(summary.Points)));
    if (ctx.MustStop()) return HandEndOutcome::kStop;
    if (!goOn) {
      ReopenHand(ctx);
      return HandEndOutcome::kReopened;
    }
    LogHand(s, summary.Points, Tens(summary.Points));
  }
  summary.Repeated = repeat;
  summary.Winner = s.HandWinner;
  // The totals are brought up to date before the score is drawn, so the
  // scoreboard shows this hand's points while the table waits.
  RecomputeTotals(s);
  ctx.Port.DrawScoreboard();
  if (ctx.Hooks != nullptr) ctx.Hooks->HandScored(s, summary);
  // The state is made ready for the next deal before the table waits, so
  // that leaving the program here keeps a match that goes on with that deal.
  // A replayed tie keeps its number and, under "sale el mismo jugador", its
  // leader: one seat back, so the rotation brings the same seat again.
  if (repeat) {
    if (s.RuleTieLead == kTieSameLead)
      s.LeadSeat = static_cast<i16>(WrapSeat(s.LeadSeat - s.DirectionStep));
    --s.HandNumber;
  }
  s.NoticeShown = true;
  ctx.Port.WaitForNotice(kContinueLabel);
  if (ctx.MustStop()) return HandEndOutcome::kStop;
  if (MatchReached(s)) {
    EndMatch(ctx);
    return HandEndOutcome::kMatchOver;
  }
  return HandEndOutcome::kNextHand;
}

}  // namespace tarvelis
