// The options and house rules the settings window edits: the labels of every
// selector, which value comes next, and what a click refuses, forces or only
// warns about. The window draws and routes the mouse; every decision is here,
// so it can be tried without a display.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "model/table_port.h"
#include "model/texts.h"

namespace tarvelis {

inline constexpr int kSelectorSlots = 29;  // indexes 0..28; 1..15 global, 21..28 per seat
inline constexpr int kValueSlots = 6;      // values 0..5; 1..4 can hold a label
inline constexpr int kLabelLength = 22;

// Selector indexes by what they set.
enum Selector : int {
  kSelPause = 1,
  kSelPlayedTiles = 2,
  kSelDirection = 3,
  kSelSound = 4,
  kSelMoveList = 5,
  kSelFiveDoubles = 6,
  kSelDealing = 7,
  kSelFirstLead = 8,
  kSelScoring = 9,
  kSelCountedPips = 10,
  kSelScoringPair = 11,
  kSelTieWinner = 12,
  kSelTieLead = 13,
  kSelNextLead = 14,
  kSelMode = 15,
  kSelTilesShown = 20,  // + seat: 21..24
  kSelControl = 24,     // + seat: 25..28
};

// Every label is kLabelLength characters, padded with spaces; a label of
// spaces alone is a value the selector does not have.
struct OptionLabels {
  std::array<std::array<std::string, kValueSlots>, kSelectorSlots> Label;
};

// The table for the mode the state is in now.
OptionLabels BuildOptionLabels(const GameState& state);

// Selectors 12 and 14 name pairs in pairs mode and single seats in individual
// mode, where one value of each goes away.
void RelabelForMode(OptionLabels& labels, i16 mode);

bool IsBlankLabel(const std::string& label);
// The label without its padding, as the selector prints it.
std::string TrimmedLabel(const std::string& label);
const std::string& LabelOf(const OptionLabels& labels, int index, int value);

// The title printed over selector `index`, with its spaces.
const char* SelectorTitle(int index);
bool IsSelector(int index);

// The state value behind selector `index` (a valid index only).
i16& SelectorValue(GameState& state, int index);
i16 SelectorValue(const GameState& state, int index);

// What a click shows: a title, a text, the button set (a notice or a
// question) and the picture.
struct OptionMessage {
  std::string Title;
  std::string Text;
  int Buttons = kButtonsNotice;
  int Picture = kPictureWarning;
};

// What the rules ask of the window while they run. The window answers through
// the message dialog and redraws; tests answer from a script and record.
class OptionEvents {
 public:
  virtual ~OptionEvents() = default;
  // Shows a message; for a question, true when the user accepted.
  virtual bool Show(const OptionMessage& message) = 0;
  // Selector `index` has just taken its new value: the click's animation.
  virtual void Advanced(int index) = 0;
  // Selector 12 and 14's labels changed with the mode.
  virtual void Relabelled() {}
  // The table must show the change at once.
  virtual void SeatTilesChanged(int /*seat*/) {}
  virtual void AllTilesChanged() {}
  virtual void ScoreboardChanged() {}
  virtual void DirectionChanged() {}
};

// What changing a setting does to a match under way. Free: it changes.
// Warn: it changes after a message. Ask: a question; agreeing leaves the match
// (it is neither saved nor asked about again, and the table starts a new one
// when the window closes), refusing changes nothing. Refuse: nothing changes,
// and a message says why.
enum class ChangeKind : std::uint8_t { Free, Warn, Ask, Refuse };

// When a row of the rules applies.
enum class ChangeWhen : std::uint8_t {
  HandOnTable,          // a match's hand from the deal to its end
  FirstMoveMade,        // a hand on the table with its first move made
  PointsScored,         // a match whose first hand has been scored
  FromSecondHand,       // a match at its second hand or later
  PairsFromSecondHand,  // the same, played in pairs
  IndividualMode,       // the rule counts in pairs only
  TieNotRepeated,       // the rule counts only while a blocked hand is repeated
  TargetReached,        // the target lowered to a total already reached
};

// The selector index that stands for the points of the match in the rules.
inline constexpr int kTargetRule = 0;

// One row: for `index`, when `when` holds, `kind` with this message. A null
// title stands for "Selector '<the selector's title>'".
struct OptionRule {
  int index;
  ChangeWhen when;
  ChangeKind kind;
  const char* title;
  const char* text;
  int picture;
};

// Every row, checked in order: the first that holds for the setting decides;
// a setting with no row that holds changes freely.
const std::vector<OptionRule>& OptionRuleTable();

struct ChangeVerdict {
  ChangeKind Kind = ChangeKind::Free;
  OptionMessage Message;
};

// What a change of `index` meets now; for the target, `newTarget` is the
// value it would take.
ChangeVerdict ChangeRuleFor(const GameState& state, int index, i16 newTarget = 0);

// One step of a selector: the next value, or 1 after the last one.
void AdvanceSelector(GameState& state, const OptionLabels& labels, int index, OptionEvents& events);

// A click on selector `index`, with every rule that guards it.
void ClickSelector(GameState& state, OptionLabels& labels, int index, OptionEvents& events);

// Values the current mode has no label for (left from a file written in the
// other mode) go back to 1, so that no selector ever shows an empty value.
void NormaliseToLabels(GameState& state, const OptionLabels& labels);

// The sliders: a thumb dragged by `dx` pixels moves the value as far, stopping
// exactly at 0 or 100.
int DragSliderValue(int value, int dx);

// The points that win the match: one step up or down, never below 1 nor above
// the three digits the box shows.
inline constexpr int kMatchTargetCap = 999;
i16 StepMatchTarget(i16 value, int step);

// One step of the target's arrows (`step` +1 up, -1 down), by the rules
// above. Free: the target may step and a held arrow repeat; Agreed: the match
// was left, the target steps once (the button came up in the question);
// Refused: nothing changes.
enum class TargetPress : std::uint8_t { Free, Agreed, Refused };
TargetPress PressMatchTarget(GameState& state, int step, OptionEvents& events);

// The name a seat keeps when the field is left empty or with spaces alone:
// its default name (DefaultSeatName, model/texts).
std::string FinalSeatName(const std::string& name, int seat);

}  // namespace tarvelis
