#include "sim/sim_check.h"

#include <sstream>

#include "model/consistency.h"
#include "model/move_record.h"
#include "storage/state_file.h"

namespace tarvelis::sim {
namespace {

bool SameSlots(const GameState& a, const GameState& b) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& x = a.Hand[seat][slot];
      const HandSlot& y = b.Hand[seat][slot];
      if (x.PipA != y.PipA || x.PipB != y.PipB || x.State != y.State) return false;
    }
  }
  return true;
}

bool SameLog(const HandLogEntry& x, const HandLogEntry& y) {
  return x.Text == y.Text && x.PairUnits == y.PairUnits && x.PairTens == y.PairTens &&
         x.SeatUnits == y.SeatUnits && x.SeatTens == y.SeatTens;
}

}  // namespace

std::string FirstFileFieldDifference(const GameState& a, const GameState& b) {
#define TARVELIS_SAME(field) \
  if (!(a.field == b.field)) return #field
  TARVELIS_SAME(SeatName);
  TARVELIS_SAME(SeatLevel);
  TARVELIS_SAME(SeatTilesShown);
  TARVELIS_SAME(SeatControl);
  TARVELIS_SAME(RulePauseBetweenMoves);
  TARVELIS_SAME(RulePlayedTilesShown);
  TARVELIS_SAME(RuleDirection);
  TARVELIS_SAME(RuleSound);
  TARVELIS_SAME(RuleMoveList);
  TARVELIS_SAME(RuleDealing);
  TARVELIS_SAME(RuleFiveDoubles);
  TARVELIS_SAME(RuleFirstLead);
  TARVELIS_SAME(RuleNextLead);
  TARVELIS_SAME(RuleScoring);
  TARVELIS_SAME(RuleCountedPips);
  TARVELIS_SAME(RuleScoringPair);
  TARVELIS_SAME(RuleTieWinner);
  TARVELIS_SAME(RuleTieLead);
  TARVELIS_SAME(RuleMode);
  TARVELIS_SAME(MatchTarget);
  TARVELIS_SAME(GameSpeed);
  TARVELIS_SAME(MatchInProgress);
  TARVELIS_SAME(HandInProgress);
  TARVELIS_SAME(HandNumber);
  TARVELIS_SAME(MoveNumber);
  TARVELIS_SAME(CurrentSeat);
  TARVELIS_SAME(LeadSeat);
  TARVELIS_SAME(HandWinner);
  TARVELIS_SAME(NoticeShown);
  TARVELIS_SAME(DirectionStep);
  TARVELIS_SAME(SeatTileCount);
  TARVELIS_SAME(SeatDoubles);
  TARVELIS_SAME(SeatPipCount);
  TARVELIS_SAME(SeatPipMark);
  TARVELIS_SAME(SeatPipRank);
  TARVELIS_SAME(DoubleHolder);
  TARVELIS_SAME(EndPips);
  TARVELIS_SAME(EndCount);
  TARVELIS_SAME(EndHeading);
  TARVELIS_SAME(EndCol);
  TARVELIS_SAME(EndRow);
#undef TARVELIS_SAME
  if (!SameSlots(a, b)) return "Hand";
  for (int h = 1; h < a.HandNumber && h <= kHandLogSize; ++h) {
    if (!SameLog(a.HandLog[h], b.HandLog[h])) return "HandLog " + std::to_string(h);
  }
  for (int m = 1; m < a.MoveNumber; ++m) {
    const bool inA = m < static_cast<int>(a.MoveRecord.size());
    const bool inB = m < static_cast<int>(b.MoveRecord.size());
    if (inA != inB || (inA && a.MoveRecord[m] != b.MoveRecord[m])) {
      return "MoveRecord " + std::to_string(m);
    }
  }
  return {};
}

std::vector<std::string> MoveChecker::AfterMove(GameState& s, bool replayMarks) {
  CheckOptions options;
  options.MovesInForce = s.MoveNumber;
  options.ReplayMarks = replayMarks;
  std::vector<std::string> out = CheckState(s, options);
  ++counts_.State;
  RoundTrip(s, out);
  UndoRedo(s, out);
  counts_.Violations += static_cast<long>(out.size());
  return out;
}

// The state as it is saved while the next move is awaited: the turn has
// passed on. Written and read back, it must come back field for field.
void MoveChecker::RoundTrip(GameState& s, std::vector<std::string>& out) {
  AdvanceTurn(s);
  std::istringstream in(StateFileText(s));
  const ReadOutcome outcome = ReadState(readBack_, in);
  if (outcome.ErrorNumber != 0 || outcome.MatchDropped) {
    out.push_back("state file read back with error " + std::to_string(outcome.ErrorNumber) +
                  (outcome.MatchDropped ? ", match dropped" : ""));
  } else if (std::string field = FirstFileFieldDifference(s, readBack_); !field.empty()) {
    out.push_back("state file read back differs in " + field);
  }
  TurnBack(s);
  ++counts_.FileRoundTrip;
}

// The move stepped back and forward again, as the recorder does it.
void MoveChecker::UndoRedo(GameState& s, std::vector<std::string>& out) {
  const auto hand = s.Hand;
  const auto tiles = s.SeatTileCount;
  const auto marks = s.SeatPipMark;
  const auto pips = s.EndPips;
  const auto count = s.EndCount;
  const auto heading = s.EndHeading;
  const auto col = s.EndCol;
  const auto row = s.EndRow;
  const i16 seat = s.CurrentSeat;
  const i16 move = s.MoveNumber;
  const i16 live = s.LiveMoveNumber;
  AdvanceTurn(s);
  const bool back = RetrocedeJugada(s, nullptr);
  s.LiveMoveNumber = static_cast<i16>(s.MoveNumber + 1);
  const bool forward = AvanzaJugada(s, nullptr);
  TurnBack(s);
  s.LiveMoveNumber = live;
  ++counts_.UndoRedo;
  if (!back || !forward) {
    out.push_back("the move could not be stepped back and forward");
    return;
  }
  bool sameHand = true;
  for (int t = 1; t <= kSeats; ++t) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      sameHand = sameHand && hand[t][slot].State == s.Hand[t][slot].State;
    }
  }
  if (!sameHand || tiles != s.SeatTileCount) out.push_back("undo and redo changed the hands");
  if (marks != s.SeatPipMark) out.push_back("undo and redo changed the marks");
  if (pips != s.EndPips || count != s.EndCount) out.push_back("undo and redo changed the ends");
  if (heading != s.EndHeading || col != s.EndCol || row != s.EndRow) {
    out.push_back("undo and redo moved the chain cursors");
  }
  if (seat != s.CurrentSeat || move != s.MoveNumber) out.push_back("undo and redo moved the turn");
}

}  // namespace tarvelis::sim
