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

// The highest total a side of the match under way has reached.
int TotalReached(const GameState& s) {
  int most = 0;
  if (s.RuleMode == kModeIndividual) {
    for (int seat = 1; seat <= kSeats; ++seat) most = std::max<int>(most, s.SeatTotal[seat]);
  } else {
    most = std::max<int>(s.PairTotal[1], s.PairTotal[2]);
  }
  return most;
}

bool Holds(const GameState& s, ChangeWhen when, i16 newTarget) {
  const bool fromSecond = s.MatchInProgress && s.HandNumber >= 2;
  switch (when) {
    case ChangeWhen::HandOnTable:
      return s.MatchInProgress && s.HandInProgress;
    case ChangeWhen::FirstMoveMade:
      return s.MatchInProgress && s.HandInProgress && s.MoveNumber >= 2;
    case ChangeWhen::PointsScored:
      return PointsScored(s);
    case ChangeWhen::FromSecondHand:
      return fromSecond;
    case ChangeWhen::PairsFromSecondHand:
      return fromSecond && s.RuleMode == kModePairs;
    case ChangeWhen::IndividualMode:
      return s.RuleMode == kModeIndividual;
    case ChangeWhen::TieNotRepeated:
      return s.RuleTieWinner != kTieRepeat;
    case ChangeWhen::TargetReached:
      return s.MatchInProgress && newTarget < s.MatchTarget && newTarget <= TotalReached(s);
  }
  return false;
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

// A question agreed leaves the match at once, so that it is neither saved nor
// asked about again.
bool Agreed(GameState& s, const OptionMessage& question, OptionEvents& events) {
  if (!events.Show(question)) return false;
  s.MatchInProgress = false;
  s.HandInProgress = false;
  return true;
}

// After the mode has stepped: the scoreboard, and the two selectors whose
// values depend on the mode.
void ModeChanged(GameState& s, OptionLabels& labels, OptionEvents& events) {
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

// Only what would make the match under way go wrong asks: the mode while a
// hand is on the table changes who plays with whom in it, and a target lowered
// to a total already reached would end the match with the wrong winner. Rules
// that only shape the hands to come change freely, some with advice.
const std::vector<OptionRule>& OptionRuleTable() {
  using enum ChangeKind;
  using enum ChangeWhen;
  static const std::vector<OptionRule> rows = {
      {kSelDirection, FirstMoveMade, Refuse, kImproperTitle, kDirectionRefused, kPictureWarning},
      {kSelScoring, PointsScored, Refuse, kImproperTitle, kScoringRefused, kPictureWarning},
      {kSelMode, HandOnTable, Ask, nullptr, kModeMidMatchQuestion, kPictureQuestion},
      {kSelMode, FromSecondHand, Warn, nullptr, kMidMatchWarning, kPictureError},
      {kSelCountedPips, IndividualMode, Warn, kIrrelevantTitle, kOnlyInPairs, kPictureWarning},
      {kSelCountedPips, PairsFromSecondHand, Warn, nullptr, kMidMatchWarning, kPictureError},
      {kSelScoringPair, IndividualMode, Warn, kIrrelevantTitle, kOnlyInPairs, kPictureWarning},
      {kSelScoringPair, PairsFromSecondHand, Warn, nullptr, kMidMatchWarning, kPictureError},
      {kSelTieLead, TieNotRepeated, Warn, kIrrelevantTitle, kOnlyOnRepeat, kPictureWarning},
      {kTargetRule, TargetReached, Ask, nullptr, kTargetMidMatchQuestion, kPictureQuestion},
  };
  return rows;
}

ChangeVerdict ChangeRuleFor(const GameState& s, int index, i16 newTarget) {
  for (const OptionRule& row : OptionRuleTable()) {
    if (row.index != index || !Holds(s, row.when, newTarget)) continue;
    ChangeVerdict verdict;
    verdict.Kind = row.kind;
    verdict.Message.Title =
        row.title != nullptr
            ? std::string(row.title)
            : SelectorMessageTitle(index == kTargetRule ? kTargetTitle : SelectorTitle(index));
    verdict.Message.Text = row.text;
    verdict.Message.Buttons = row.kind == ChangeKind::Ask ? kButtonsQuestion : kButtonsNotice;
    verdict.Message.Picture = row.picture;
    return verdict;
  }
  return {};
}

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
  const ChangeVerdict verdict = ChangeRuleFor(s, index);
  switch (verdict.Kind) {
    case ChangeKind::Refuse:
      events.Show(verdict.Message);
      return;
    case ChangeKind::Ask:
      if (!Agreed(s, verdict.Message, events)) return;
      break;
    case ChangeKind::Warn:
      events.Show(verdict.Message);
      break;
    case ChangeKind::Free:
      break;
  }
  AdvanceSelector(s, labels, index, events);
  switch (index) {
    case kSelDirection:
      SyncDirectionStep(s);
      events.DirectionChanged();
      return;
    case kSelPlayedTiles:
      if (s.MatchInProgress) events.AllTilesChanged();
      return;
    case kSelScoring:
      events.ScoreboardChanged();
      return;
    case kSelMode:
      ModeChanged(s, labels, events);
      return;
    default:
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

TargetPress PressMatchTarget(GameState& s, int step, OptionEvents& events) {
  const ChangeVerdict verdict = ChangeRuleFor(s, kTargetRule, StepMatchTarget(s.MatchTarget, step));
  if (verdict.Kind != ChangeKind::Ask) return TargetPress::Free;
  return Agreed(s, verdict.Message, events) ? TargetPress::Agreed : TargetPress::Refused;
}

std::string FinalSeatName(const std::string& name, int seat) {
  const auto last = name.find_last_not_of(' ');
  if (last == std::string::npos) return DefaultSeatName(seat);
  return name.substr(0, last + 1);
}

}  // namespace tarvelis
