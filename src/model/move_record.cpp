#include "model/move_record.h"

#include <algorithm>

#include "model/move_rules.h"
#include "model/name_fit.h"
#include "model/table_port.h"
#include "model/texts.h"
#include "model/trimmed.h"
#include "model/utf8_text.h"

namespace tarvelis {
namespace {

bool ValidPip(int p) {
  return p >= 0 && p < kPips;
}

using MarkTable = PerSeat<PerPip<i16>>;

void AddMark(MarkTable& marks, int seat, int pip, int delta) {
  if (ValidPip(pip)) marks[seat][pip] = static_cast<i16>(marks[seat][pip] + delta);
}

// An entry the record can apply: a seat, and either a pass or a tile of that
// seat's hand on end 1 or 2.
// The slot of the entry's tile in its seat's hand, 0 for a pass, -1 for an
// entry that is neither.
int AppliedSlot(const GameState& s, int move) {
  if (move < 1 || move >= static_cast<int>(s.MoveRecord.size())) return -1;
  const MoveEntry& e = s.MoveRecord[move];
  if (e[kFSeat] < 1 || e[kFSeat] > kSeats) return -1;
  if (e[kFEnd] == kPassEnd) return 0;
  if (e[kFEnd] != 1 && e[kFEnd] != 2) return -1;
  if (!ValidPip(e[kFPipA]) || !ValidPip(e[kFPipB])) return -1;
  const int slot = BuscaHueco(s, e[kFPipA], e[kFPipB], e[kFSeat]);
  return slot != 0 ? slot : -1;
}

bool Applicable(const GameState& s, int move) {
  return AppliedSlot(s, move) >= 0;
}

// The characters a line gives a seat's name.
constexpr int kLineNameChars = 9;

}  // namespace

void UpdateMarks(const GameState& s, PerSeat<PerPip<i16>>& marks, int move, int sgn) {
  const MoveEntry& e = s.MoveRecord[move];
  const int seat = e[kFSeat];
  const int a = e[kFPipA];
  const int b = e[kFPipB];
  if (e[kFEnd] == kPassEnd) {
    // A pass says the seat holds neither end's suit.
    const int e1 = e[kFEnd1PipsBefore];
    const int e2 = e[kFEnd2PipsBefore];
    AddMark(marks, seat, e1, -6 * sgn);
    if (e2 != e1) AddMark(marks, seat, e2, -6 * sgn);
    return;
  }
  if (move == 1) {
    // The forced double six says nothing about the leader's choice.
    if (s.HandNumber == 1 && s.RuleFirstLead == kFirstLeadSixDouble) return;
    AddMark(marks, seat, a, 3 * sgn);
    AddMark(marks, seat, b, 3 * sgn);
    return;
  }
  if (a == b) {
    AddMark(marks, seat, a, sgn);
    return;
  }
  if (move == 3 && s.RuleMode == kModePairs && s.MoveRecord.size() > 3) {
    // Partners: covering the double the lead opened, after the second seat
    // opened a new suit, tells that the third seat does not want that suit.
    const MoveEntry& lead = s.MoveRecord[1];
    const MoveEntry& second = s.MoveRecord[2];
    if (lead[kFPipA] == lead[kFPipB] && second[kFEnd] != kPassEnd && a == lead[kFPipA]) {
      AddMark(marks, seat, second[kFPipB], -2 * sgn);
    }
  }
  AddMark(marks, seat, a, -2 * sgn);
  AddMark(marks, seat, b, 3 * sgn);
}

bool EnsureMoveRecordCapacity(GameState& s, int move) {
  if (move < 1 || move > kMoveRecordLimit) return false;
  if (s.MoveRecord.empty()) s.MoveRecord.assign(kMoveRecordInitial, MoveEntry{});
  const size_t limit = kMoveRecordLimit + 1;
  // The move about to be made uses the last entry: grow now, so the record
  // always keeps spare entries ahead of play.
  while (s.MoveRecord.size() <= static_cast<size_t>(move) + 1 && s.MoveRecord.size() < limit) {
    s.MoveRecord.resize(std::min(s.MoveRecord.size() + kMoveRecordStep, limit), MoveEntry{});
  }
  return static_cast<size_t>(move) < s.MoveRecord.size();
}

bool GrabaJugada(GameState& s, const MoveEntry& layout, TablePort* port) {
  const int n = s.MoveNumber;
  if (n < 1 || n >= static_cast<int>(s.MoveRecord.size())) return false;
  MoveEntry& e = s.MoveRecord[n];
  e = layout;
  e[kFSeat] = s.CurrentSeat;
  e[kFPipA] = s.PlayPipA;
  e[kFPipB] = s.PlayPipB;
  e[kFEnd] = s.PlayEnd;
  e[kFEvaluated] = s.PlayEvaluated ? 1 : 0;
  e[kFIsDouble] = (s.PlayEnd != kPassEnd && s.PlayIsDouble) ? 1 : 0;
  e[kFEnd1PipsBefore] = s.EndPips[1];
  e[kFEnd2PipsBefore] = s.EndPips[2];
  if (port != nullptr && port->ShowsRecorderLines()) port->RecorderLineAdded(n, RecorderLine(s, n));
  return true;
}

void AplicaJugada(GameState& s, int direction, int move) {
  const int slot = AppliedSlot(s, move);
  if (slot < 0) return;
  const int sgn = direction == kApply ? 1 : -1;
  const MoveEntry& e = s.MoveRecord[move];
  if (e[kFEnd] != kPassEnd) {
    const int seat = e[kFSeat];
    const int end = e[kFEnd];
    s.SeatTileCount[seat] = static_cast<i16>(s.SeatTileCount[seat] - sgn);
    s.EndCount[end] = static_cast<i16>(s.EndCount[end] + sgn);
    s.EndPips[end] = sgn > 0 ? e[kFPipB] : e[kFPipA];
    s.Hand[seat][slot].State = sgn > 0 ? 1 : 0;
  }
  UpdateMarks(s, s.SeatPipMark, move, sgn);
}

bool AvanzaJugada(GameState& s, TablePort* port) {
  const int n = s.MoveNumber;
  if (n >= s.LiveMoveNumber || !Applicable(s, n)) return false;
  AplicaJugada(s, kApply, n);
  const MoveEntry& e = s.MoveRecord[n];
  if (e[kFEnd] != kPassEnd) {
    const int end = e[kFEnd];
    s.EndHeading[end] = e[kFHeadingAfter];
    if (port != nullptr) port->ShowLaidTile(n);
    s.EndCol[end] = e[kFColAfter];
    s.EndRow[end] = e[kFRowAfter];
  } else if (port != nullptr) {
    port->ShowPassSign(e[kFSeat]);
  }
  s.CurrentSeat = static_cast<i16>(NextSeat(s.CurrentSeat, s.DirectionStep));
  ++s.MoveNumber;
  if (port != nullptr) {
    port->RecorderSelect(s.MoveNumber - 2);
    port->Wait(70);
  }
  return true;
}

bool RetrocedeJugada(GameState& s, TablePort* port) {
  if (s.MoveNumber <= 1 || !Applicable(s, s.MoveNumber - 1)) return false;
  s.CurrentSeat = static_cast<i16>(NextSeat(s.CurrentSeat, -s.DirectionStep));
  --s.MoveNumber;
  const int n = s.MoveNumber;
  AplicaJugada(s, kUndo, n);
  const MoveEntry& e = s.MoveRecord[n];
  if (e[kFEnd] != kPassEnd) {
    const int end = e[kFEnd];
    s.EndHeading[end] = e[kFHeadingBefore];
    s.EndCol[end] = e[kFColBefore];
    s.EndRow[end] = e[kFRowBefore];
    if (port != nullptr) port->TakeBackTile(n);
  }
  if (port != nullptr) {
    port->RecorderSelect(n >= 2 ? n - 2 : -1);
    port->Wait(70);
  }
  return true;
}

bool RecorderHoldsPlay(const GameState& s) {
  return s.RecorderBusy || (s.RecorderOn && s.MoveNumber != s.LiveMoveNumber);
}

std::string RecorderLine(const GameState& s, int move) {
  if (move < 0 || move >= static_cast<int>(s.MoveRecord.size())) return {};
  const MoveEntry& e = s.MoveRecord[move];
  std::string line = std::to_string(move);
  if (line.size() < 2) line.insert(0, 2 - line.size(), ' ');
  line += ' ';
  const int seat = e[kFSeat];
  // Names start in their column, and one too long for it is cut so that it
  // still reads apart from the other seats'.
  std::vector<std::string> names;
  for (int other = 1; other <= kSeats; ++other) names.push_back(Trimmed(s.SeatName[other]));
  const std::string name =
      seat >= 1 && seat <= kSeats
          ? FitNames(names, std::vector<int>(kSeats, kLineNameChars),
                     [](int, const std::string& text) { return CharacterCount(text); })[seat - 1]
          : std::string();
  line += name;
  line.append(static_cast<size_t>(kLineNameChars + 1 - CharacterCount(name)), ' ');
  if (e[kFEnd] == kPassEnd) {
    line += kPassWord;
  } else {
    line += std::to_string(e[kFPipA]) + "-" + std::to_string(e[kFPipB]);
  }
  if (e[kFEvaluated] != 0) line += kWeighedMoveMark;
  return line;
}

}  // namespace tarvelis
