#include "engine/hand_messages.h"

#include "engine/hand_end.h"
#include "engine/turn_loop.h"

namespace tarvelis {
namespace {

std::string TieText(const GameState& s) {
  const bool pairs = s.RuleMode == kModePairs;
  switch (TieRule(s)) {
    case kTieLeaders:
      return pairs ? kTieLeadingPair : kTieLeadingSeat;
    case kTieNonLeaders:
      return kTieOtherPair;
    default:
      return TieRepeatedText(s.RuleTieLead == kTieSameLead);
  }
}

std::string WinnersText(const GameState& s) {
  const auto& n = s.SeatName;
  if (s.RuleMode == kModePairs) {
    return s.HandWinner == 1 ? PairWonHandText(true, n[2], n[4])
                             : PairWonHandText(false, n[1], n[3]);
  }
  if (s.HandWinner == 4) return UserWonHandText(n[4]);
  const int seat = s.HandWinner >= 1 && s.HandWinner <= kSeats ? s.HandWinner : 0;
  return SeatWonHandText(n[seat]);
}

}  // namespace

void Tell(EngineContext& ctx, const std::string& title, const std::string& text) {
  ctx.Port.ShowMessage(title, text, kPictureInformation, kButtonsNotice);
}

bool Ask(EngineContext& ctx, const std::string& title, const std::string& text) {
  return ctx.Port.ShowMessage(title, text, kPictureQuestion, kButtonsQuestion);
}

std::string BlockedHandText(const GameState& s, bool tied) {
  const auto& n = s.SeatName;
  std::string text;
  if (s.RuleMode == kModePairs) {
    text = PairPipsLine(n[2], n[4], PipsLeft(s, 4) + PipsLeft(s, 2)) + kLineBreak +
           PairPipsLine(n[1], n[3], PipsLeft(s, 3) + PipsLeft(s, 1));
  } else {
    for (int seat = 1; seat <= kSeats; ++seat) {
      if (seat > 1) text += kLineBreak;
      text += SeatPipsLine(n[seat], PipsLeft(s, seat));
    }
  }
  if (tied) text += kLineBreak + TieText(s);
  return text + kLineBreak + kStepBackHint;
}

std::string HandResultText(const GameState& s, int points, int tens) {
  return HandPointsLine(points, tens, s.RuleScoring == kScoreTens) + kLineBreak + WinnersText(s) +
         kLineBreak + kStepBackHint;
}

std::string MatchResultText(const GameState& s, int winner) {
  const auto& n = s.SeatName;
  if (s.RuleMode == kModePairs) {
    return winner == 1 ? PairWonMatchText(true, n[2], n[4]) : PairWonMatchText(false, n[1], n[3]);
  }
  if (winner == 4) return UserWonMatchText(n[4]);
  return SeatWonMatchText(n[winner >= 1 && winner <= kSeats ? winner : 0]);
}

}  // namespace tarvelis
