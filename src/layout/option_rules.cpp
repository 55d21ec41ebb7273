#include "layout/option_rules.h"

#include <algorithm>

#include "model/trimmed.h"
#include "model/utf8_text.h"

namespace tarvelis {
namespace {

std::string Padded(const std::string& text) {
  return text + std::string(std::max(0, kLabelLength - Utf8Length(text)), ' ');
}

const std::string& Blank() {
  static const std::string blank(kLabelLength, ' ');
  return blank;
}

int SeatOf(int index) {
  return index > kSelControl ? index - kSelControl : index - kSelTilesShown;
}

// The points of a hand are scored once the first hand is over.
bool PointsScored(const GameState& s) {
  if (!s.MatchInProgress) return false;
  return !(s.HandNumber == 0 || (s.HandNumber == 1 && s.HandInProgress));
}

// The direction may change until the hand's first move, and between hands.
bool DirectionLocked(const GameState& s) {
  return s.MatchInProgress && s.HandInProgress && s.MoveNumber >= 2;
}

void ClickSeatTiles(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  const int seat = SeatOf(index);
  AdvanceSelector(s, labels, index, events);
  if (s.MatchInProgress) events.SeatTilesChanged(seat);
  if (s.SeatControl[seat] != kManual || s.SeatTilesShown[seat] != kTilesHidden) return;
  if (events.Show({kIncompatibleTitle, kHiddenOverManual, kButtonsQuestion, kPictureTrophy})) {
    ClickSelector(s, labels, kSelControl + seat, events);
  } else {
    ClickSelector(s, labels, index, events);
  }
}

void ClickSeatControl(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  const int seat = SeatOf(index);
  AdvanceSelector(s, labels, index, events);
  if (s.SeatControl[seat] != kManual || s.SeatTilesShown[seat] != kTilesHidden) return;
  if (events.Show({kIncompatibleTitle, kManualOverHidden, kButtonsQuestion, kPictureTrophy})) {
    if (s.SeatTilesShown[seat] == kTilesHidden) {
      ClickSelector(s, labels, kSelTilesShown + seat, events);
    }
  } else {
    ClickSelector(s, labels, index, events);
  }
}

// The rules a match is played by, as they stand now: "Puntos que se anotan"
// and "Pareja que se anota los puntos" count in pairs only, "En caso de
// empate sale" only while a blocked hand is repeated. "Sistema de reparto"
// is not one of them: it only chooses how the next tiles reach the seats
// (and is the way out of a manual deal under way). "Primera mano de la
// partida" has nothing left to decide once a hand is scored; the direction
// and the scoring system keep their own refusals.
bool ChangesMatchRules(const GameState& s, int index) {
  switch (index) {
    case kSelMode:
    case kSelFiveDoubles:
    case kSelTieWinner:
    case kSelNextLead:
      return true;
    case kSelCountedPips:
    case kSelScoringPair:
      return s.RuleMode == kModePairs;
    case kSelTieLead:
      return s.RuleTieWinner == kTieRepeat;
    default:
      return false;
  }
}

// The one way a rule changes under a match. Until a hand's points are scored
// every hand will be scored under the new rule and it moves freely. After,
// the hands before and after would be scored by different rules, so the
// player is asked to leave the match for a new one; once agreed it is left at
// once, so that it is neither saved nor asked about again, and the table
// starts a new one when the window closes. A refusal changes nothing. The
// mode asks from the deal on: it changes who plays with whom in the hand on
// the table, not only how hands are counted.
bool MatchChangeAgreed(GameState& s, const std::string& title, const char* question,
                       OptionEvents& events, bool fromTheDeal = false) {
  if (!(fromTheDeal ? s.MatchInProgress : PointsScored(s))) return true;
  if (!events.Show({title, question, kButtonsQuestion, kPictureQuestion})) return false;
  s.MatchInProgress = false;
  s.HandInProgress = false;
  return true;
}

void ClickMode(GameState& s, OptionLabels& labels, OptionEvents& events) {
  AdvanceSelector(s, labels, kSelMode, events);
  events.ScoreboardChanged();
  RelabelForMode(labels, s.RuleMode);
  events.Relabelled();
  // A value still valid comes back unchanged; one whose label went becomes 1.
  for (int index : {kSelTieWinner, kSelNextLead}) {
    i16& value = SelectorValue(s, index);
    value = static_cast<i16>(value - 1);
    AdvanceSelector(s, labels, index, events);
  }
}

}  // namespace

bool IsSelector(int index) {
  return (index >= 1 && index <= kSelMode) || (index > kSelTilesShown && index <= kSelControl + 4);
}

const char* SelectorTitle(int index) {
  if (index > kSelControl && index <= kSelControl + kSeats) return kControlTitle;
  if (index > kSelTilesShown && index <= kSelTilesShown + kSeats) return kTilesShownTitle;
  return index >= 1 && index <= kSelMode ? kSelectorWords[index].Title : "";
}

void RelabelForMode(OptionLabels& labels, i16 mode) {
  auto& tie = labels.Label[kSelTieWinner];
  auto& next = labels.Label[kSelNextLead];
  if (mode == kModeIndividual) {
    tie[2] = Padded(kTieLeadingSeatValue);
    tie[3] = Blank();
    next[3] = Padded(kWinningSeatValue);
    next[4] = Blank();
  } else {
    for (int v : {2, 3}) tie[v] = Padded(kSelectorWords[kSelTieWinner].Values[v - 1]);
    for (int v : {3, 4}) next[v] = Padded(kSelectorWords[kSelNextLead].Values[v - 1]);
  }
}

OptionLabels BuildOptionLabels(const GameState& state) {
  OptionLabels labels;
  for (auto& row : labels.Label) row.fill(Blank());
  // Selector 12 and 14 start with their pairs-mode labels; RelabelForMode
  // changes them for individual play.
  for (int index = 1; index <= kSelMode; ++index) {
    for (int v = 1; v <= 4; ++v) {
      const char* value = kSelectorWords[index].Values[v - 1];
      if (value != nullptr) labels.Label[index][v] = Padded(value);
    }
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    labels.Label[kSelTilesShown + seat][kTilesHidden] = Padded(kHiddenValue);
    labels.Label[kSelTilesShown + seat][kTilesVisible] = Padded(kVisibleValue);
    labels.Label[kSelControl + seat][kAutomatic] = Padded(kAutomaticValue);
    labels.Label[kSelControl + seat][kManual] = Padded(kManualValue);
  }
  RelabelForMode(labels, state.RuleMode);
  return labels;
}

bool IsBlankLabel(const std::string& label) {
  return label.find_first_not_of(' ') == std::string::npos;
}

std::string TrimmedLabel(const std::string& label) {
  return Trimmed(label);
}

const std::string& LabelOf(const OptionLabels& labels, int index, int value) {
  if (index < 0 || index >= kSelectorSlots || value < 0 || value >= kValueSlots) return Blank();
  return labels.Label[index][value];
}

i16& SelectorValue(GameState& s, int index) {
  if (index > kSelControl) return s.SeatControl[index - kSelControl];
  if (index > kSelTilesShown) return s.SeatTilesShown[index - kSelTilesShown];
  switch (index) {
    case kSelPause:
      return s.RulePauseBetweenMoves;
    case kSelPlayedTiles:
      return s.RulePlayedTilesShown;
    case kSelDirection:
      return s.RuleDirection;
    case kSelSound:
      return s.RuleSound;
    case kSelMoveList:
      return s.RuleMoveList;
    case kSelFiveDoubles:
      return s.RuleFiveDoubles;
    case kSelDealing:
      return s.RuleDealing;
    case kSelFirstLead:
      return s.RuleFirstLead;
    case kSelScoring:
      return s.RuleScoring;
    case kSelCountedPips:
      return s.RuleCountedPips;
    case kSelScoringPair:
      return s.RuleScoringPair;
    case kSelTieWinner:
      return s.RuleTieWinner;
    case kSelTieLead:
      return s.RuleTieLead;
    case kSelNextLead:
      return s.RuleNextLead;
    default:
      return s.RuleMode;
  }
}

i16 SelectorValue(const GameState& s, int index) {
  return SelectorValue(const_cast<GameState&>(s), index);
}

void AdvanceSelector(GameState& s, const OptionLabels& labels, int index, OptionEvents& events) {
  i16& value = SelectorValue(s, index);
  value = static_cast<i16>(value + 1);
  if (IsBlankLabel(LabelOf(labels, index, value))) value = 1;
  events.Advanced(index);
}

void ClickSelector(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  if (!IsSelector(index)) return;
  if (index > kSelControl) return ClickSeatControl(s, labels, index, events);
  if (index > kSelTilesShown) return ClickSeatTiles(s, labels, index, events);
  if (ChangesMatchRules(s, index) &&
      !MatchChangeAgreed(s, SelectorMessageTitle(SelectorTitle(index)),
                         index == kSelMode ? kModeMidMatchQuestion : kRuleMidMatchQuestion, events,
                         index == kSelMode)) {
    return;
  }
  switch (index) {
    case kSelDirection:
      if (DirectionLocked(s)) {
        events.Show({kImproperTitle, kDirectionRefused, kButtonsNotice, kPictureWarning});
        return;
      }
      AdvanceSelector(s, labels, index, events);
      SyncDirectionStep(s);
      events.DirectionChanged();
      return;
    case kSelPlayedTiles:
      AdvanceSelector(s, labels, index, events);
      if (s.MatchInProgress) events.AllTilesChanged();
      return;
    case kSelScoring:
      if (PointsScored(s)) {
        events.Show({kImproperTitle, kScoringRefused, kButtonsNotice, kPictureWarning});
        return;
      }
      AdvanceSelector(s, labels, index, events);
      events.ScoreboardChanged();
      return;
    case kSelCountedPips:
    case kSelScoringPair:
      if (s.RuleMode == kModeIndividual) {
        events.Show({kIrrelevantTitle, kOnlyInPairs, kButtonsNotice, kPictureWarning});
      }
      AdvanceSelector(s, labels, index, events);
      return;
    case kSelTieLead:
      if (s.RuleTieWinner != kTieRepeat)
        events.Show({kIrrelevantTitle, kOnlyOnRepeat, kButtonsNotice, kPictureWarning});
      AdvanceSelector(s, labels, index, events);
      return;
    case kSelMode:
      ClickMode(s, labels, events);
      return;
    default:
      AdvanceSelector(s, labels, index, events);
      return;
  }
}

void NormaliseToLabels(GameState& s, const OptionLabels& labels) {
  for (int index = 1; index < kSelectorSlots; ++index) {
    if (!IsSelector(index)) continue;
    i16& value = SelectorValue(s, index);
    if (IsBlankLabel(LabelOf(labels, index, value))) value = 1;
  }
  SyncDirectionStep(s);
}

int DragSliderValue(int value, int dx) {
  value = std::clamp(value, 0, 100);
  return value + std::clamp(dx, -value, 100 - value);
}

i16 StepMatchTarget(i16 value, int step) {
  const int v = std::clamp<int>(value, 1, kMatchTargetCap);
  return static_cast<i16>(std::clamp(v + (step > 0 ? 1 : -1), 1, kMatchTargetCap));
}

// Before any points are scored the target has decided nothing yet and moves
// freely. After, a lowered target may already be passed between hands, and
// the final message names the last hand's winner as the match's, which
// would then name a side that never reached it; a raised one turns a match
// played to one target into another. So the match is left, or kept as it is.
TargetPress PressMatchTarget(GameState& s, OptionEvents& events) {
  if (!PointsScored(s)) return TargetPress::Free;
  return MatchChangeAgreed(s, SelectorMessageTitle(kTargetTitle), kTargetMidMatchQuestion, events)
             ? TargetPress::Agreed
             : TargetPress::Refused;
}

std::string FinalSeatName(const std::string& name, int seat) {
  const auto last = name.find_last_not_of(' ');
  if (last == std::string::npos) return DefaultSeatName(seat);
  return name.substr(0, last + 1);
}

}  // namespace tarvelis
