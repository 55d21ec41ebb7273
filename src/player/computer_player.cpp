#include "player/computer_player.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "model/table_port.h"
#include "player/expert.h"
#include "player/expert_knowledge.h"
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

// The expert's move. With a table to keep alive, it is weighed on a thread of
// its own over a copy of the state, while the seat's thinking pause shows and
// the table answers; a loop that unwinds meanwhile stops the weighing, and
// the move is then a pass the engine discards.
ChosenMove ExpertMove(const GameState& s, TablePort* port, int seat) {
  const expert::ExpertOptions options = ExpertAtTheTable();
  const std::uint64_t seed = ExpertSeed(s, seat);
  auto copy = std::make_unique<GameState>(s);
  if (port == nullptr) {
    expert::ChooseExpertMove(*copy, options, seed);
    return ChosenMove{copy->PlayPipA, copy->PlayPipB, copy->PlayEnd};
  }
  std::atomic<bool> cancel{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    expert::ChooseExpertMove(*copy, options, seed, &cancel);
    done.store(true);
  });
  port->ThinkingPause(seat);
  const bool wanted = port->WaitWhile([&] { return !done.load(); });
  if (!wanted) cancel.store(true);
  worker.join();
  if (!wanted) return ChosenMove{};
  return ChosenMove{copy->PlayPipA, copy->PlayPipB, copy->PlayEnd};
}

// The expert plays this move: a seat set to it, or the tutor asked for it,
// when there is a choice to weigh (a forced lead, a pass or a single
// candidate are played as the computer player plays them, without a pause).
bool ExpertChooses(const GameState& s, int seat, bool suggestion) {
  const bool chosen =
      suggestion ? s.TutorExpert : s.SeatControl[seat] == kAutomatic && s.SeatExpert[seat];
  if (!chosen) return false;
  if (s.MoveNumber == 1) return !SixDoubleForced(s);
  return ListCandidates(s, seat).Count >= 2;
}

}  // namespace

std::uint64_t ExpertSeed(const GameState& s, int seat) {
  std::uint64_t tiles = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.PipA >= 0 && t.PipA < kPips && t.PipB >= 0 && t.PipB < kPips) {
      tiles |= 1ull << expert::TileIndex(t.PipA, t.PipB);
    }
  }
  return (tiles << 24) ^ (static_cast<std::uint64_t>(s.HandNumber) << 12) ^
         (static_cast<std::uint64_t>(s.MoveNumber) << 4) ^ static_cast<std::uint64_t>(seat);
}

expert::ExpertOptions ExpertAtTheTable() {
  return expert::ExpertOptions{};
}

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

namespace {

// The move of the seat to play; `suggestion` when the tutor asks for it.
ChosenMove ChooseMove(const GameState& s, TablePort* port, bool suggestion) {
  const int seat = s.CurrentSeat;
  if (seat < 1 || seat > kSeats) return ChosenMove{};
  // No pause behind the tutor's question: only the window waits.
  if (ExpertChooses(s, seat, suggestion)) return ExpertMove(s, suggestion ? nullptr : port, seat);
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

}  // namespace

ChosenMove EligeJugada(const GameState& s, TablePort* port) {
  return ChooseMove(s, port, false);
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
    m = ChooseMove(strong, nullptr, true);
  } else {
    m = ChooseMove(s, nullptr, true);
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
