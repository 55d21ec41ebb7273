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
};

struct GameState {
  // Seat options.
  PerSeat<std::string> SeatName{};
  PerSeat<i16> SeatLevel{};       // 0..100
  PerSeat<i16> SeatTilesShown{};  // kTilesHidden / kTilesVisible
  PerSeat<i16> SeatControl{};     // kAutomatic / kManual

  // House rules.
  i16 RulePauseBetweenMoves = 1;
  i16 RulePlayedTilesShown = 1;
  i16 RuleDirection = 1;
  i16 RuleSound = 1;
  i16 RuleMoveList = 2;
  i16 RuleDealing = 1;
  i16 RuleFiveDoubles = 1;
  i16 RuleFirstLead = 1;
  i16 RuleNextLead = 1;
  i16 RuleScoring = 1;
  i16 RuleCountedPips = 1;
  i16 RuleScoringPair = 1;
  i16 RuleTieWinner = 1;
  i16 RuleTieLead = 1;
  i16 RuleMode = 1;
  i16 MatchTarget = 5;
  i16 GameSpeed = 50;

  // Match and hand flags.
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

  // Hands and what the deal revealed about them.
  PerSeat<std::array<HandSlot, kSlots + 1>> Hand{};  // [seat][slot 1..7]
  PerSeat<i16> SeatTileCount{};
  PerSeat<float> SeatPipsLeft{};
  PerSeat<i16> SeatDoubles{};
  PerSeat<PerPip<i16>> SeatPipCount{};
  PerSeat<std::array<i16, kSlots + 1>> SeatPipRank{};  // [seat][rank 1..7]
  PerSeat<PerPip<i16>> SeatPipMark{};
  PerPip<i16> DoubleHolder{};

  // The chain.
  PerEnd<i16> EndPips{0, kNoPip, kNoPip};
  PerEnd<i16> EndCount{};
  PerEnd<i16> EndHeading{0, kHeadRight, kHeadLeft};
  PerEnd<i16> EndCol{};
  PerEnd<i16> EndRow{};

  // The move in hand.
  i16 PlayPipA = kNoPip;
  i16 PlayPipB = kNoPip;
  i16 PlayEnd = kPassEnd;
  bool PlayIsDouble = false;
  bool PlayEvaluated = false;

  // Move n of the hand in record n; record 0 stays all zeros.
  std::vector<MoveEntry> MoveRecord = std::vector<MoveEntry>(41, MoveEntry{});

  // Finished hands of the match, [1..500].
  std::array<HandLogEntry, kHandLogSize + 1> HandLog{};

  // Match totals, derived from the log after every hand, capped at 999.
  PerPair<i16> PairTotal{};
  PerSeat<i16> SeatTotal{};

  // Shared with the windows while the turn loop waits.
  bool DialogAnswer = false;
  bool ChoosingLeader = false;
  bool AllTilesFaceUp = false;
  bool HandReopened = false;
  bool MoveFound = false;
  i16 ChosenSlot = 0;
  bool WaitingForEnd = false;
  bool SuggestionAsked = false;
  bool RefreshRequest = false;
  bool OrderMode = false;
  bool TurnMode = false;
  bool DragActive = false;
  i16 DragSlot = 0;

  // The table the chain is laid on; the move record carries its pixels.
  TableGeometry Table = ComputeTableGeometry(800, 600);

  // The move recorder.
  bool RecorderOn = false;
  bool RecorderBusy = false;
  i16 LiveMoveNumber = 0;
};

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
