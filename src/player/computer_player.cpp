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

// A suggestion for a manual seat is worked out at full strength; the seat's own
// level comes back however the call ends.
class SuggestionStrength {
 public:
  SuggestionStrength(GameState& s, int seat, bool suggestion)
      : s_(s),
        seat_(seat),
        saved_(s.SeatLevel[seat]),
        raised_(suggestion && s.SeatControl[seat] == kManual) {
    if (raised_) s_.SeatLevel[seat_] = 100;
  }
  ~SuggestionStrength() {
    if (raised_) s_.SeatLevel[seat_] = saved_;
  }
  SuggestionStrength(const SuggestionStrength&) = delete;
  SuggestionStrength& operator=(const SuggestionStrength&) = delete;

 private:
  GameState& s_;
  int seat_;
  i16 saved_;
  bool raised_;
};

void ThinkingPause(TablePort* port, int seat) {
  if (port != nullptr) port->ThinkingPause(seat);
}

void PlayPass(GameState& s) {
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
}

// The lead: the double six when it is forced (nothing to choose, so no pause),
// otherwise the lead choice, after the pause of an automatic seat.
void Lead(GameState& s, TablePort* port, int seat) {
  if (SixDoubleForced(s)) {
    s.PlayPipA = s.PlayPipB = 6;
    s.PlayEnd = 1;
    return;
  }
  const LeadChoice lead = ChooseLead(s, seat);
  if (s.SeatControl[seat] == kAutomatic) ThinkingPause(port, seat);
  if (lead.Slot == 0) {
    PlayPass(s);
    return;
  }
  const HandSlot& t = s.Hand[seat][lead.Slot];
  s.PlayPipA = t.PipA;
  s.PlayPipB = t.PipB;
  s.PlayEnd = 1;
}

// A seed for the expert's deals that only the seat itself could compute: the
// hand, the move and its own dealt tiles. The same position plays the same.
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

// The expert's move. With a table to keep alive, it is weighed on a thread of
// its own over a copy of the state, while the seat's thinking pause shows and
// the table answers; a loop that unwinds meanwhile stops the weighing, and
// the move in hand is then a pass the engine discards.
void ExpertMove(GameState& s, TablePort* port, int seat) {
  const expert::ExpertOptions options = ExpertAtTheTable();
  const std::uint64_t seed = ExpertSeed(s, seat);
  if (port == nullptr) {
    expert::ChooseExpertMove(s, options, seed);
    return;
  }
  auto copy = std::make_unique<GameState>(s);
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
  PlayPass(s);
  s.PlayEvaluated = false;
  if (!wanted) return;
  s.PlayPipA = copy->PlayPipA;
  s.PlayPipB = copy->PlayPipB;
  s.PlayEnd = copy->PlayEnd;
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

void ChooseMove(GameState& s, TablePort* port, bool suggestion) {
  const int seat = s.CurrentSeat;
  s.PlayEvaluated = false;
  if (seat < 1 || seat > kSeats) {
    PlayPass(s);
    return;
  }
  if (ExpertChooses(s, seat, suggestion)) {
    // No pause behind the tutor's question: only the window waits.
    ExpertMove(s, suggestion ? nullptr : port, seat);
    return;
  }
  // A suggestion plays at full strength.
  const SuggestionStrength strength(s, seat, suggestion);
  // The lead.
  if (s.MoveNumber == 1) {
    Lead(s, port, seat);
    return;
  }
  // Nothing to weigh with no candidate or one.
  const CandidateList list = ListCandidates(s, seat);
  if (list.Count == 0) {
    PlayPass(s);
    return;
  }
  if (list.Count == 1) {
    TakeCandidate(s, list.Items[0]);
    return;
  }
  // Weigh them all; the first best wins.
  ThinkingPause(port, seat);
  s.PlayEvaluated = true;
  Evaluation& e = LastEvaluationSlot();
  e = EvaluateMove(s, seat, list);
  TakeCandidate(s, e.Candidates[e.Chosen].Move);
  // The level is restored as `strength` goes out of scope.
}

}  // namespace

void EligeJugada(GameState& s, TablePort* port) {
  ChooseMove(s, port, false);
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

Suggestion Suggest(GameState& s) {
  ChooseMove(s, nullptr, true);
  Suggestion out;
  if (s.PlayEnd == kPassEnd) return out;
  out.Pass = false;
  out.Slot = BuscaHueco(s, s.PlayPipA, s.PlayPipB, s.CurrentSeat);
  out.End = s.PlayEnd;
  const bool crosswise = (s.PlayPipA == s.EndPips[1] && s.PlayPipB == s.EndPips[2]) ||
                         (s.PlayPipB == s.EndPips[1] && s.PlayPipA == s.EndPips[2]);
  out.ShowsArrow = s.MoveNumber != 1 && s.PlayPipA != s.PlayPipB && crosswise;
  return out;
}

}  // namespace tarvelis
