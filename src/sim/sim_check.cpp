#include "sim/sim_check.h"

#include <sstream>

#include "model/consistency.h"
#include "model/move_record.h"
#include "storage/state_file.h"

namespace tarvelis::sim {
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
  readBack_.Table = s.Table;
  const ReadOutcome outcome = ReadState(readBack_, in);
  if (outcome.ErrorNumber != 0 || outcome.MatchDropped) {
    out.push_back("state file read back with error " + std::to_string(outcome.ErrorNumber) +
                  (outcome.MatchDropped ? ", match dropped" : ""));
  } else if (std::string field = FirstCarriedDifference(s, readBack_); !field.empty()) {
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
