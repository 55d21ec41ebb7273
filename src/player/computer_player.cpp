#include "player/computer_player.h"

#include <cstdio>

#include "model/table_port.h"
#include "player/lead_choice.h"

namespace tarvelis {
namespace {

Evaluation& LastEvaluationSlot() {
  thread_local Evaluation last;
  return last;
}

void ThinkingPause(TablePort* port, int seat) {
  if (port != nullptr) port->ThinkingPause(seat);
}

// The lead: the double six when it is forced (nothing to choose, so no pause),
// otherwise the lead choice, after the pause of an automatic seat.
ChosenMove Lead(const GameState& s, TablePort* port, int seat) {
  if (SixDoubleForced(s)) return ChosenMove{6, 6, 1};
  const LeadChoice lead = ChooseLead(s, seat);
  if (s.SeatControl[seat] == kAutomatic) ThinkingPause(port, seat);
  if (lead.Slot == 0) return ChosenMove{};
  const HandSlot& t = s.Hand[seat][lead.Slot];
  return ChosenMove{t.PipA, t.PipB, 1};
}

}  // namespace

Evaluation EvaluateMove(const GameState& s, int seat, const CandidateList& list) {
  Evaluation e;
  e.HandNumber = s.HandNumber;
  e.MoveNumber = s.MoveNumber;
  e.Seat = seat;
  e.Level = s.SeatLevel[seat];
  const Position position = ReadPosition(s, seat);
  for (int i = 0; i < list.Count; ++i) {
    e.Candidates[i] = EvaluateCandidate(position, list.Items[i]);
    // Only a strictly greater score displaces the earlier candidate.
    if (e.Chosen < 0 || e.Candidates[i].Score > e.Candidates[e.Chosen].Score) e.Chosen = i;
  }
  e.Count = list.Count;
  return e;
}

const Evaluation& LastEvaluation() {
  return LastEvaluationSlot();
}

namespace {}  // namespace

ChosenMove EligeJugada(const GameState& s, TablePort* port) {
  const int seat = s.CurrentSeat;
  if (seat < 1 || seat > kSeats) return ChosenMove{};
  if (s.MoveNumber == 1) return Lead(s, port, seat);
  // Nothing to weigh with no candidate or one.
  const CandidateList list = ListCandidates(s, seat);
  if (list.Count == 0) return ChosenMove{};
  if (list.Count == 1) return MoveOfCandidate(s, list.Items[0]);
  // Weigh them all; the first best wins.
  ThinkingPause(port, seat);
  Evaluation& e = LastEvaluationSlot();
  e = EvaluateMove(s, seat, list);
  ChosenMove chosen = MoveOfCandidate(s, e.Candidates[e.Chosen].Move);
  chosen.Evaluated = true;
  return chosen;
}

std::string ExplainEvaluation(const Evaluation& e) {
  std::string out;
  char line[96];
  std::snprintf(line, sizeof line, "explain hand %d move %d seat %d level %d: %d candidates\n",
                e.HandNumber, e.MoveNumber, e.Seat, e.Level, e.Count);
  out += line;
  for (int i = 0; i < e.Count; ++i) {
    const Breakdown& b = e.Candidates[i];
    std::snprintf(line, sizeof line, "%c %d-%d end %d: %d =", i == e.Chosen ? '*' : ' ',
                  b.Move.Matching, b.Move.Other, b.End, b.Score);
    out += line;
    for (int col = 0; col < kColumnsUsed; ++col) {
      if (b.Columns[col] == 0 && col != kColBase) continue;
      std::snprintf(line, sizeof line, " %s %+d", ColumnName(col), b.Columns[col]);
      out += line;
    }
    out += '\n';
  }
  return out;
}

Suggestion Suggest(const GameState& s) {
  const int seat = s.CurrentSeat;
  ChosenMove m;
  if (seat >= 1 && seat <= kSeats && s.SeatControl[seat] == kManual) {
    // A manual seat is told the move of full strength, whatever its own level.
    GameState strong = s;
    strong.SeatLevel[seat] = 100;
    m = EligeJugada(strong, nullptr);
  } else {
    m = EligeJugada(s, nullptr);
  }
  Suggestion out;
  if (m.End == kPassEnd) return out;
  out.Pass = false;
  out.Slot = BuscaHueco(s, m.PipA, m.PipB, seat);
  out.End = m.End;
  const bool crosswise = (m.PipA == s.EndPips[1] && m.PipB == s.EndPips[2]) ||
                         (m.PipB == s.EndPips[1] && m.PipA == s.EndPips[2]);
  out.ShowsArrow = s.MoveNumber != 1 && m.PipA != m.PipB && crosswise;
  return out;
}

}  // namespace tarvelis
