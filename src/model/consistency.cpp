#include "model/consistency.h"

#include <algorithm>
#include <array>

#include "model/move_record.h"
#include "model/move_rules.h"
#include "model/tile_pictures.h"

namespace tarvelis {
namespace {

using Violations = std::vector<std::string>;

std::string SeatText(int seat) {
  return "seat " + std::to_string(seat);
}
std::string MoveText(int move) {
  return "move " + std::to_string(move);
}
bool ValidPip(int p) {
  return p >= 0 && p < kPips;
}
bool ValidSeat(int s) {
  return s >= 1 && s <= kSeats;
}

void CheckTotals(const GameState& s, Violations& out) {
  const LogTotals sums = TotalsOfLog(s);
  for (int p = 1; p <= 2; ++p) {
    if (s.PairTotal[p] < 0 || s.PairTotal[p] > kTotalCap) {
      out.push_back("pair " + std::to_string(p) + " total out of 0..999");
    } else if (s.PairTotal[p] != sums.Pair[p]) {
      out.push_back("pair " + std::to_string(p) + " total disagrees with the hand log");
    }
  }
  for (int t = 1; t <= kSeats; ++t) {
    if (s.SeatTotal[t] < 0 || s.SeatTotal[t] > kTotalCap) {
      out.push_back(SeatText(t) + " total out of 0..999");
    } else if (s.SeatTotal[t] != sums.Seat[t]) {
      out.push_back(SeatText(t) + " total disagrees with the hand log");
    }
  }
}

// The flags and numbers of the match that every later check indexes with.
// False when they are too far out to look at the hand at all.
bool CheckMatchFlags(const GameState& s, Violations& out) {
  bool sound = true;
  if (s.DirectionStep != 1 && s.DirectionStep != -1) {
    out.push_back("direction step not +1 or -1");
    sound = false;
  }
  if (s.HandNumber < 0 || s.HandNumber > kHandLogSize) {
    out.push_back("hand number out of range");
    sound = false;
  }
  if (s.HandInProgress && !s.MatchInProgress) out.push_back("a hand in progress without a match");
  if (s.HandWinner < 0 || s.HandWinner > kSeats) out.push_back("the last winner is out of range");
  if (s.MatchInProgress && s.HandNumber >= 1 && !ValidSeat(s.LeadSeat)) {
    out.push_back("the leading seat is out of range");
  }
  if (s.HandInProgress && s.HandNumber < 1) {
    out.push_back("a hand in progress before the first deal");
    sound = false;
  }
  if (s.HandInProgress && s.MoveNumber >= 1 && !ValidSeat(s.CurrentSeat)) {
    out.push_back("no seat to move");
  }
  for (int end = 1; end <= 2; ++end) {
    if (s.EndHeading[end] < kHeadLeft || s.EndHeading[end] > kHeadDown) {
      out.push_back("an arm heads nowhere");
      sound = false;
    }
    if (!ValidPip(s.EndPips[end]) && s.EndPips[end] != kNoPip) {
      out.push_back("an end shows no pip value");
      sound = false;
    }
  }
  return sound;
}

// The 28 tiles once each, the counts and what the deal derived from them.
// False when the hands are too damaged to check anything further.
bool CheckHands(const GameState& s, Violations& out) {
  std::array<std::array<int, kPips>, kPips> seen{};
  bool sound = true;
  for (int seat = 1; seat <= kSeats; ++seat) {
    int held = 0;
    int doubles = 0;
    PerPip<int> count{};
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (!ValidPip(t.PipA) || !ValidPip(t.PipB) || (t.State != 0 && t.State != 1)) {
        out.push_back(SeatText(seat) + " slot " + std::to_string(slot) + " holds no tile");
        sound = false;
        continue;
      }
      ++seen[std::max(t.PipA, t.PipB)][std::min(t.PipA, t.PipB)];
      if (t.State == 0) ++held;
      ++count[t.PipA];
      if (t.PipA != t.PipB) ++count[t.PipB];
      if (t.PipA == t.PipB) {
        ++doubles;
        if (s.DoubleHolder[t.PipA] != seat) {
          out.push_back("double " + std::to_string(t.PipA) + " holder is not " + SeatText(seat));
        }
      }
    }
    if (s.SeatTileCount[seat] != held) out.push_back(SeatText(seat) + " tile count disagrees");
    if (s.SeatDoubles[seat] != doubles) out.push_back(SeatText(seat) + " doubles disagree");
    for (int p = 0; p < kPips; ++p) {
      if (s.SeatPipCount[seat][p] != count[p]) {
        out.push_back(SeatText(seat) + " pip count of " + std::to_string(p) + " disagrees");
      }
    }
    std::array<bool, kPips> ranked{};
    for (int r = 1; r <= kSlots; ++r) {
      const int p = s.SeatPipRank[seat][r];
      if (!ValidPip(p) || ranked[p]) {
        out.push_back(SeatText(seat) + " ranks are not the seven pip values");
        break;
      }
      ranked[p] = true;
      if (r > 1 && s.SeatPipCount[seat][p] > s.SeatPipCount[seat][s.SeatPipRank[seat][r - 1]]) {
        out.push_back(SeatText(seat) + " ranks are out of order");
        break;
      }
    }
  }
  for (int i = 0; i < kPips; ++i) {
    for (int j = 0; j <= i; ++j) {
      if (seen[i][j] != 1) {
        out.push_back("tile " + std::to_string(i) + "-" + std::to_string(j) + " dealt " +
                      std::to_string(seen[i][j]) + " times");
        sound = false;
      }
    }
  }
  return sound;
}

// Replays moves 1..m of the record from the deal and compares the result with
// the hands, the ends and, when asked, the marks.
void CheckRecord(const GameState& s, int m, bool replayMarks, Violations& out) {
  if (m < 0 || m >= static_cast<int>(s.MoveRecord.size())) {
    out.push_back("move number outside the move record");
    return;
  }
  PerSeat<std::array<i16, kSlots + 1>> state{};  // slot states as the record has them
  PerEnd<int> pips{0, kNoPip, kNoPip};
  PerEnd<int> count{};
  PerSeat<PerPip<i16>> marks{};
  int previous = 0;
  for (int k = 1; k <= m; ++k) {
    const MoveEntry& e = s.MoveRecord[k];
    const int seat = e[kFSeat];
    const std::string at = MoveText(k) + ": ";
    if (!ValidSeat(seat)) {
      out.push_back(at + "no seat");
      return;
    }
    const int expected = k == 1 ? s.LeadSeat : NextSeat(previous, s.DirectionStep);
    if (seat != expected) out.push_back(at + "out of turn");
    previous = seat;
    if (k > 1 && (e[kFEnd1PipsBefore] != pips[1] || e[kFEnd2PipsBefore] != pips[2])) {
      out.push_back(at + "recorded ends disagree with the chain");
    }
    if (e[kFEnd] == kPassEnd) {
      if (k == 1) out.push_back(at + "the lead is a pass");
      for (int slot = 1; slot <= kSlots; ++slot) {
        const HandSlot& t = s.Hand[seat][slot];
        const bool fits =
            t.PipA == pips[1] || t.PipA == pips[2] || t.PipB == pips[1] || t.PipB == pips[2];
        if (state[seat][slot] == 0 && fits) {
          out.push_back(at + "a pass by a seat that could play");
          break;
        }
      }
    } else {
      const int end = e[kFEnd];
      const int a = e[kFPipA];
      const int b = e[kFPipB];
      const int slot = ValidPip(a) && ValidPip(b) ? BuscaHueco(s, a, b, seat) : 0;
      if ((end != 1 && end != 2) || slot == 0) {
        out.push_back(at + "a tile the seat was not dealt");
        return;
      }
      if (state[seat][slot] != 0) out.push_back(at + "a tile played twice");
      state[seat][slot] = 1;
      if (e[kFIsDouble] != (a == b ? 1 : 0)) out.push_back(at + "double flag wrong");
      if (k == 1) {
        if (e[kFEnd2PipsBefore] != a || end != 1) out.push_back(at + "lead not laid on end 1");
        pips[2] = a;
      } else {
        if (pips[end] != a) out.push_back(at + "tile does not match its end");
        if (pips[1] == pips[2] && end != (count[1] >= count[2] ? 2 : 1)) {
          out.push_back(at + "equal ends but not the shorter arm");
        }
      }
      pips[end] = b;
      ++count[end];
      if (k == 1) marks[seat][a] = marks[seat][b] = 4;
    }
    if (replayMarks) UpdateMarks(s, marks, k, 1);
    if (k < m) {
      int held = 0;
      for (int slot = 1; slot <= kSlots; ++slot) held += state[seat][slot] == 0 ? 1 : 0;
      const bool blocked = pips[1] == pips[2] && pips[1] != kNoPip && [&] {
        int out7 = 0;
        for (int t = 1; t <= kSeats; ++t) {
          for (int slot = 1; slot <= kSlots; ++slot) {
            const HandSlot& h = s.Hand[t][slot];
            if (state[t][slot] == 1 && (h.PipA == pips[1] || h.PipB == pips[1])) ++out7;
          }
        }
        return out7 == 7;
      }();
      if (held == 0 || blocked) out.push_back(at + "play went on after the hand ended");
    }
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      if (s.Hand[seat][slot].State != state[seat][slot]) {
        out.push_back(SeatText(seat) + " slot " + std::to_string(slot) +
                      " played state disagrees with the record");
      }
    }
  }
  for (int end = 1; end <= 2; ++end) {
    if (s.EndCount[end] != count[end]) out.push_back("end count disagrees with the record");
  }
  if (m >= 1 && (s.EndPips[1] != pips[1] || s.EndPips[2] != pips[2])) {
    out.push_back("chain ends disagree with the record");
  }
  if (m == 0 && s.EndPips[1] != s.EndPips[2]) out.push_back("ends differ before the lead");
  if (replayMarks && marks != s.SeatPipMark) out.push_back("marks disagree with the record");
}

// What the table draws of a laid tile: one of the four chain pictures of the
// tile strip at its own size, both pip cells inside the tile, the flags true
// or false. A value outside these would have the table copy from outside its
// pictures or size an image from the file.
void CheckTileShape(const MoveEntry& e, const std::string& at, Violations& out) {
  const int image = e[kFTileImageX];
  const bool upright = image == kChainUprightLeftX || image == kChainUprightRightX;
  const bool flat = image == kChainFlatLeftX || image == kChainFlatRightX;
  const int w = e[kFTileWidth];
  const int h = e[kFTileHeight];
  if (!upright && !flat) {
    out.push_back(at + "a picture outside the tile strip");
    return;
  }
  if ((upright && (w != kTileShort || h != kTileLong || e[kFPipOrientation] != 1)) ||
      (flat && (w != kTileLong || h != kTileShort || e[kFPipOrientation] != 0))) {
    out.push_back(at + "a tile size its picture does not have");
    return;
  }
  for (const int f : {kFEvaluated, kFCrosswise}) {
    if (e[f] != 0 && e[f] != 1) out.push_back(at + "a flag neither true nor false");
  }
  if (e[kFCrosswise] == 1 && e[kFIsDouble] != 1) out.push_back(at + "a plain tile laid across");
  if (e[kFTileSide] < 0 || e[kFTileSide] > 2)
    out.push_back(at + "a side of the table out of range");
  if (e[kFHeadingBefore] < kHeadLeft || e[kFHeadingBefore] > kHeadDown ||
      e[kFHeadingAfter] < kHeadLeft || e[kFHeadingAfter] > kHeadDown) {
    out.push_back(at + "a heading out of range");
  }
  // Pip patterns are 30 x 30 cells drawn 3 pixels into their half.
  for (const auto& [fx, fy] : {std::pair{kFPipAX, kFPipAY}, std::pair{kFPipBX, kFPipBY}}) {
    const int x = e[fx] - e[kFTileLeft];
    const int y = e[fy] - e[kFTileTop];
    if (x < 0 || y < 0 || x + kPipCellReach > w || y + kPipCellReach > h) {
      out.push_back(at + "a pip cell outside its tile");
      break;
    }
  }
}

struct ArmCursor {
  int col, row, heading;
  bool operator==(const ArmCursor&) const = default;
};

// Where the tiles lie: every tile and cursor on this table, and each arm
// running on from where its previous tile left it, from the deal's cursors to
// the ends the state holds.
void CheckTilePositions(const GameState& s, int m, Violations& out) {
  const TableGeometry& g = s.Table;
  const auto onTable = [&](int x, int y) {
    return x >= 0 && y >= 0 && x <= g.ScreenWidthPx && y <= g.ScreenHeightPx;
  };
  PerEnd<ArmCursor> arm{ArmCursor{}, ArmCursor{g.ChainOriginX, g.ChainOriginY, kHeadRight},
                        ArmCursor{g.ChainOriginX + 3, g.ChainOriginY, kHeadLeft}};
  for (int k = 1; k <= m; ++k) {
    const MoveEntry& e = s.MoveRecord[k];
    const int end = e[kFEnd];
    if (end != 1 && end != 2) continue;
    const std::string at = MoveText(k) + ": ";
    if (!onTable(e[kFTileLeft], e[kFTileTop]) ||
        !onTable(e[kFTileLeft] + e[kFTileWidth], e[kFTileTop] + e[kFTileHeight]) ||
        !onTable(e[kFColBefore], e[kFRowBefore]) || !onTable(e[kFColAfter], e[kFRowAfter])) {
      out.push_back(at + "a tile off the table");
    }
    if (ArmCursor{e[kFColBefore], e[kFRowBefore], e[kFHeadingBefore]} != arm[end]) {
      out.push_back(at + "the arm does not run on from its previous tile");
    }
    arm[end] = ArmCursor{e[kFColAfter], e[kFRowAfter], e[kFHeadingAfter]};
  }
  for (int end = 1; end <= 2; ++end) {
    if (ArmCursor{s.EndCol[end], s.EndRow[end], s.EndHeading[end]} != arm[end]) {
      out.push_back("an arm's cursor disagrees with the record");
    }
  }
}

void CheckDrawing(const GameState& s, int m, bool positions, Violations& out) {
  for (int k = 1; k <= m; ++k) {
    const MoveEntry& e = s.MoveRecord[k];
    if (e[kFEnd] == 1 || e[kFEnd] == 2) CheckTileShape(e, MoveText(k) + ": ", out);
  }
  if (positions) CheckTilePositions(s, m, out);
}

}  // namespace

std::vector<std::string> CheckState(const GameState& s, CheckOptions options) {
  Violations out;
  const bool flagsSound = CheckMatchFlags(s, out);
  CheckTotals(s, out);
  const bool dealt = s.HandInProgress || (s.HandNumber >= 1 && options.FinishedHand);
  if (!dealt || !flagsSound) return out;
  if (!CheckHands(s, out) || !s.HandInProgress) return out;
  if (!ValidSeat(s.LeadSeat)) {
    out.push_back("no leading seat");
    return out;
  }
  const int m = options.MovesInForce >= 0 ? options.MovesInForce : std::max(s.MoveNumber - 1, 0);
  const std::size_t before = out.size();
  CheckRecord(s, m, options.ReplayMarks, out);
  if (out.size() == before && m < static_cast<int>(s.MoveRecord.size())) {
    CheckDrawing(s, m, options.TilePositions, out);
  }
  if (s.MoveNumber >= 1 && m >= 1 && m < static_cast<int>(s.MoveRecord.size())) {
    const int mover = s.MoveRecord[m][kFSeat];
    const int expected = m == s.MoveNumber ? mover : NextSeat(mover, s.DirectionStep);
    if (ValidSeat(mover) && s.CurrentSeat != expected) out.push_back("current seat out of turn");
  } else if (s.MoveNumber == 1 && s.CurrentSeat != s.LeadSeat) {
    out.push_back("the lead is due from another seat");
  } else if (s.MoveNumber == 0 && s.CurrentSeat != s.LeadSeat - s.DirectionStep) {
    out.push_back("the turn is not before the leading seat");
  }
  return out;
}

LogTotals TotalsOfLog(const GameState& s) {
  const bool tens = s.RuleScoring == kScoreTens;
  std::array<int, 3> pair{};
  std::array<int, kSeats + 1> seat{};
  const int last = std::min<int>(std::max<int>(s.HandNumber, 0), kHandLogSize);
  for (int h = 1; h <= last; ++h) {
    const HandLogEntry& e = s.HandLog[h];
    for (int p = 1; p <= 2; ++p) pair[p] += tens ? e.PairTens[p] : e.PairUnits[p];
    for (int t = 1; t <= kSeats; ++t) seat[t] += tens ? e.SeatTens[t] : e.SeatUnits[t];
  }
  const auto cap = [](int v) { return static_cast<i16>(std::clamp(v, 0, kTotalCap)); };
  LogTotals totals;
  for (int p = 1; p <= 2; ++p) totals.Pair[p] = cap(pair[p]);
  for (int t = 1; t <= kSeats; ++t) totals.Seat[t] = cap(seat[t]);
  return totals;
}

void RecomputeTotalsFromLog(GameState& s) {
  const LogTotals totals = TotalsOfLog(s);
  s.PairTotal = totals.Pair;
  s.SeatTotal = totals.Seat;
}

}  // namespace tarvelis
