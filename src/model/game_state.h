// The whole game lives in one plain-data state. Every rule and option is read
// from it at the moment it is used, so a change made in the settings window
// takes effect at the next use. Pure functions take a GameState& so that tests
// and the simulator can build as many instances as they like; the windows share
// the one instance returned by TheGameState().
//
// Indexing follows the game's own model: arrays that count seats, slots, moves,
// hands, ends or pairs are indexed from 1 (element 0 is unused); arrays indexed
// by pip value run 0..6.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/table_geometry.h"
#include "model/texts.h"

namespace tarvelis {

using i16 = std::int16_t;

inline constexpr int kSeats = 4;
inline constexpr int kSlots = 7;
inline constexpr int kPips = 7;  // pip values 0..6
inline constexpr int kTiles = 28;
inline constexpr int kNoPip = 9;    // an end of an empty chain
inline constexpr int kPassEnd = 9;  // PlayEnd of a pass
inline constexpr int kHandLogSize = 500;
inline constexpr int kTotalCap = 999;
inline constexpr int kRecordFields = 26;
inline constexpr int kSetPips = 168;  // pips of the whole double-six set

template <class T>
using PerSeat = std::array<T, kSeats + 1>;  // [1..4]
template <class T>
using PerPip = std::array<T, kPips>;  // [0..6]
template <class T>
using PerEnd = std::array<T, 3>;  // [1..2]
template <class T>
using PerPair = std::array<T, 3>;  // [1..2]

// Option values are small integers from 1; these name the ones the code tests.
enum : i16 { kTilesHidden = 1, kTilesVisible = 2 };           // SeatTilesShown
enum : i16 { kAutomatic = 1, kManual = 2 };                   // SeatControl
enum : i16 { kModePairs = 1, kModeIndividual = 2 };           // RuleMode
enum : i16 { kScoreTens = 1, kScoreUnits = 2 };               // RuleScoring
enum : i16 { kDealRandom = 1, kDealManual = 2 };              // RuleDealing
enum : i16 { kFiveDoublesPlay = 1, kFiveDoublesReturn = 2 };  // RuleFiveDoubles
enum : i16 { kFirstLeadSixDouble = 1, kFirstLeadDraw = 2 };   // RuleFirstLead
enum : i16 {                                                  // RuleNextLead
  kNextLeadRotate = 1,
  kNextLeadChoose = 2,
  kNextLeadWinner = 3,
  kNextLeadLoser = 4
};
enum : i16 { kCountAll = 1, kCountLosers = 2 };                      // RuleCountedPips
enum : i16 { kScoringWinners = 1, kScoringLosers = 2 };              // RuleScoringPair
enum : i16 { kTieRepeat = 1, kTieLeaders = 2, kTieNonLeaders = 3 };  // RuleTieWinner
enum : i16 { kTieSameLead = 1, kTieRotateLead = 2 };                 // RuleTieLead
enum : i16 { kPlayedVanish = 1, kPlayedInverted = 2 };               // RulePlayedTilesShown
enum : i16 { kMoveListAlways = 1, kMoveListWithRecorder = 2 };       // RuleMoveList
enum : i16 { kOn = 1, kOff = 2 };          // RulePauseBetweenMoves, RuleSound
enum : i16 { kDirect = 1, kReverse = 2 };  // RuleDirection

// Headings of a chain arm on the table.
enum : i16 { kHeadLeft = 1, kHeadUp = 2, kHeadRight = 3, kHeadDown = 4 };

// One slot of a hand: the tile dealt into it, and whether it has been played.
// A tile keeps its slot for the whole hand so visible hands can show it played.
struct HandSlot {
  i16 PipA = 0;
  i16 PipB = 0;
  i16 State = 0;  // 0 held, 1 played
  bool operator==(const HandSlot&) const = default;
};

// Field numbers of a move record.
enum MoveField : int {
  kFSeat = 0,
  kFPipA = 1,
  kFPipB = 2,
  kFEnd = 3,
  kFEvaluated = 4,
  kFTileLeft = 5,
  kFTileTop = 6,
  kFTileWidth = 7,
  kFTileHeight = 8,
  kFTileSide = 9,
  kFTileImageX = 10,
  kFPipAX = 11,
  kFPipAY = 12,
  kFPipBX = 13,
  kFPipBY = 14,
  kFPipOrientation = 15,
  kFIsDouble = 16,
  kFCrosswise = 17,
  kFColBefore = 18,
  kFRowBefore = 19,
  kFColAfter = 20,
  kFRowAfter = 21,
  kFEnd1PipsBefore = 22,
  kFEnd2PipsBefore = 23,
  kFHeadingBefore = 24,
  kFHeadingAfter = 25,
};

using MoveEntry = std::array<i16, kRecordFields>;

// One finished hand of the match. Both the units and the tens are logged; the
// totals use whichever RuleScoring selects.
struct HandLogEntry {
  std::string Text;
  PerPair<i16> PairUnits{};
  PerPair<i16> PairTens{};
  PerSeat<i16> SeatUnits{};
  PerSeat<i16> SeatTens{};
  bool operator==(const HandLogEntry&) const = default;
};

// The state comes in parts, each compared as a whole, so that a test or the
// simulator can ask "the same settings?" or "the same chain?" without listing
// fields. The defaults below are those of a brand-new settings file; they are
// written here only.

// Who sits where and how each seat is played.
struct SeatOptions {
  PerSeat<std::string> SeatName{"", DefaultSeatName(1), DefaultSeatName(2), DefaultSeatName(3),
                                DefaultSeatName(4)};
  PerSeat<i16> SeatLevel{0, 50, 50, 50, 100};  // 0..100
  PerSeat<i16> SeatTilesShown{0, kTilesHidden, kTilesHidden, kTilesHidden, kTilesVisible};
  PerSeat<i16> SeatControl{0, kAutomatic, kAutomatic, kAutomatic, kManual};
  bool operator==(const SeatOptions&) const = default;
};

// A computer seat played by the expert instead of at SeatLevel, and a tutor
// that suggests the expert's move. Kept in a file of their own beside the
// settings file, which has no line for them, so neither the settings file
// nor a saved game carries or resets them.
struct ExpertSeats {
  PerSeat<bool> SeatExpert{};
  bool TutorExpert = false;
  bool operator==(const ExpertSeats&) const = default;
};

// The house rules and the presentation.
struct HouseRules {
  i16 RulePauseBetweenMoves = kOn;
  i16 RulePlayedTilesShown = kPlayedVanish;
  i16 RuleDirection = kDirect;
  i16 RuleSound = kOn;
  i16 RuleMoveList = kMoveListWithRecorder;
  i16 RuleDealing = kDealRandom;
  i16 RuleFiveDoubles = kFiveDoublesPlay;
  i16 RuleFirstLead = kFirstLeadSixDouble;
  i16 RuleNextLead = kNextLeadRotate;
  i16 RuleScoring = kScoreTens;
  i16 RuleCountedPips = kCountAll;
  i16 RuleScoringPair = kScoringWinners;
  i16 RuleTieWinner = kTieRepeat;
  i16 RuleTieLead = kTieSameLead;
  i16 RuleMode = kModePairs;
  i16 MatchTarget = 5;
  i16 GameSpeed = 50;
  bool operator==(const HouseRules&) const = default;
};

// Where the match stands.
struct MatchFlags {
  bool MatchInProgress = false;
  bool HandInProgress = false;
  i16 HandNumber = 0;
  i16 MoveNumber = 0;
  i16 CurrentSeat = 0;
  i16 LeadSeat = 0;
  i16 HandWinner = 0;
  bool NoticeShown = false;
  i16 DirectionStep = 1;
  PerSeat<i16> Partner{0, 3, 4, 1, 2};
  bool operator==(const MatchFlags&) const = default;
};

// The hands and what the deal revealed about them.
struct DealtHands {
  PerSeat<std::array<HandSlot, kSlots + 1>> Hand{};  // [seat][slot 1..7]
  PerSeat<i16> SeatTileCount{};
  PerSeat<i16> SeatDoubles{};
  PerSeat<PerPip<i16>> SeatPipCount{};
  PerSeat<std::array<i16, kSlots + 1>> SeatPipRank{};  // [seat][rank 1..7]
  PerSeat<PerPip<i16>> SeatPipMark{};
  PerPip<i16> DoubleHolder{};
  bool operator==(const DealtHands&) const = default;
};

// The two ends of the chain.
struct ChainEnds {
  PerEnd<i16> EndPips{0, kNoPip, kNoPip};
  PerEnd<i16> EndCount{};
  PerEnd<i16> EndHeading{0, kHeadRight, kHeadLeft};
  PerEnd<i16> EndCol{};
  PerEnd<i16> EndRow{};
  bool operator==(const ChainEnds&) const = default;
};

// The move in hand, written by whoever chooses it and carried out by the engine.
struct MoveInHand {
  i16 PlayPipA = kNoPip;
  i16 PlayPipB = kNoPip;
  i16 PlayEnd = kPassEnd;
  bool PlayIsDouble = false;
  bool PlayEvaluated = false;
  bool operator==(const MoveInHand&) const = default;
};

// The record of the hand and the log of the match, with what is derived from
// them: the pips left at a hand's end and the totals (capped at 999).
struct MatchRecord {
  // Move n of the hand in record n; record 0 stays all zeros.
  std::vector<MoveEntry> MoveRecord = std::vector<MoveEntry>(41, MoveEntry{});
  // Finished hands of the match, [1..500].
  std::array<HandLogEntry, kHandLogSize + 1> HandLog{};
  PerSeat<float> SeatPipsLeft{};
  PerPair<i16> PairTotal{};
  PerSeat<i16> SeatTotal{};
  bool operator==(const MatchRecord&) const = default;
};

// The move recorder.
struct RecorderState {
  bool RecorderOn = false;
  bool RecorderBusy = false;
  i16 LiveMoveNumber = 0;
  bool operator==(const RecorderState&) const = default;
};

struct GameState : SeatOptions,
                   ExpertSeats,
                   HouseRules,
                   MatchFlags,
                   DealtHands,
                   ChainEnds,
                   MoveInHand,
                   MatchRecord,
                   RecorderState {
  // The table the chain is laid on; the move record carries its pixels.
  TableGeometry Table = ComputeTableGeometry(800, 600);
  bool operator==(const GameState&) const = default;
};

// The first part in which two states differ among those the settings-and-state
// file carries (settings, match flags, hands, ends, the log of the hands before
// the current one and the moves before the current one); empty when none does.
// A state written and read back must give an empty answer.
std::string FirstCarriedDifference(const GameState& a, const GameState& b);

// The settings a brand-new settings file carries.
void ApplyDefaults(GameState& state);

// The one instance the windows share.
GameState& TheGameState();

// Play passes from seat s to s + DirectionStep, wrapping 5 to 1 and 0 to 4.
int NextSeat(int seat, int step);
void AdvanceTurn(GameState& state);
void TurnBack(GameState& state);

// DirectionStep follows RuleDirection: +1 "Directo", -1 "Inverso".
void SyncDirectionStep(GameState& state);

// Pair 1 is seats 2 and 4, pair 2 is seats 1 and 3.
inline int PairOfSeat(int seat) {
  return seat % 2 == 0 ? 1 : 2;
}

}  // namespace tarvelis
