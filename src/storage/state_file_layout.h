// The order of the fields of the settings-and-state file, written once for
// both directions: `Io` is a FieldWriter (with a const state) or a FieldReader,
// so the reader can never drift out of step with the writer.
#pragma once

#include "model/game_state.h"
#include "storage/state_file_fields.h"

namespace tarvelis::layout {

template <class Io, class State>
void SettingsLine(Io& io, State& s) {
  for (int seat = 1; seat <= kSeats; ++seat) io.Text(s.SeatName[seat]);
  for (int seat = 1; seat <= kSeats; ++seat) io.Int(s.SeatLevel[seat], kRepairMe);
  io.Int(s.RulePauseBetweenMoves, kRepairMe);
  io.Int(s.RulePlayedTilesShown, kRepairMe);
  io.Int(s.RuleDirection, kRepairMe);
  io.Int(s.RuleSound, kRepairMe);
  for (int seat = 1; seat <= kSeats; ++seat) io.Int(s.SeatTilesShown[seat], kRepairMe);
  for (int seat = 1; seat <= kSeats; ++seat) io.Int(s.SeatControl[seat], kRepairMe);
  io.Int(s.RuleDealing, kRepairMe);
  io.Int(s.RuleFiveDoubles, kRepairMe);
  io.Int(s.RuleFirstLead, kRepairMe);
  io.Int(s.RuleScoring, kRepairMe);
  io.Int(s.RuleCountedPips, kRepairMe);
  io.Int(s.RuleScoringPair, kRepairMe);
  io.Int(s.RuleTieWinner, kRepairMe);
  io.Int(s.RuleTieLead, kRepairMe);
  io.Int(s.RuleNextLead, kRepairMe);
  io.Int(s.RuleMoveList, kRepairMe);
  io.Int(s.RuleMode, kRepairMe);
  io.EndLine();
}

template <class Io, class State>
void MatchLine(Io& io, State& s) {
  io.Int(s.MatchTarget, kRepairMe);
  io.Int(s.GameSpeed, kRepairMe);
  io.Bool(s.MatchInProgress);
  io.Bool(s.HandInProgress);
  io.Int(s.HandNumber);
  io.Int(s.MoveNumber);
  io.Int(s.CurrentSeat);
  io.Int(s.LeadSeat);
  io.Int(s.HandWinner);
  io.Bool(s.NoticeShown);
  io.Int(s.DirectionStep, kRepairMe);
  io.EndLine();
}

template <class Io, class Entry>
void LogLine(Io& io, Entry& e) {
  io.Text(e.Text);
  for (int pair = 1; pair <= 2; ++pair) {
    io.Int(e.PairUnits[pair]);
    io.Int(e.PairTens[pair]);
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    io.Int(e.SeatUnits[seat]);
    io.Int(e.SeatTens[seat]);
  }
  io.EndLine();
}

template <class Io, class State>
void EndLines(Io& io, State& s) {
  for (int end = 1; end <= 2; ++end) {
    io.Int(s.EndPips[end]);
    io.Int(s.EndHeading[end]);
    io.Int(s.EndCount[end]);
    io.Int(s.EndCol[end]);
    io.Int(s.EndRow[end]);
    io.EndLine();
  }
}

template <class Io, class State>
void SeatBlock(Io& io, State& s, int seat) {
  io.Int(s.SeatTileCount[seat]);
  io.Int(s.SeatDoubles[seat]);
  io.EndLine();
  for (int k = 1; k <= kSlots; ++k) {
    io.Int(s.SeatPipCount[seat][k - 1]);
    io.Int(s.SeatPipMark[seat][k - 1]);
    io.Int(s.SeatPipRank[seat][k]);
    io.EndLine();
    io.Int(s.Hand[seat][k].PipA);
    io.EndLine();
    io.Int(s.Hand[seat][k].PipB);
    io.EndLine();
    io.Int(s.Hand[seat][k].State);
    io.EndLine();
  }
}

template <class Io, class State>
void DoubleLines(Io& io, State& s) {
  for (int pip = 0; pip < kPips; ++pip) {
    io.Int(s.DoubleHolder[pip]);
    io.EndLine();
  }
}

// Fields 0..17, then the ends before the move and the headings (22..25), then
// the cursors before and after (18..21).
template <class Io, class Entry>
void MoveLine(Io& io, Entry& m) {
  for (int f = 0; f <= 17; ++f) io.Int(m[f]);
  for (int f = 22; f <= 25; ++f) io.Int(m[f]);
  for (int f = 18; f <= 21; ++f) io.Int(m[f]);
  io.EndLine();
}

}  // namespace tarvelis::layout
