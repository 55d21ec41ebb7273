#include "player/expert_inference.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "model/deal_statistics.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "player/computer_player.h"
#include "player/lead_choice.h"

namespace tarvelis::expert {
namespace {

// The strength a person or another expert is modelled at.
constexpr i16 kModelLevel = 100;

bool IsTileMove(const MoveEntry& e) {
  return e[kFEnd] != kPassEnd;
}

// Whether the computer player, deciding in `s` for the seat to move, could
// have chosen the tile move `seen` (the record's pip A meets the chain), with
// the leader's suits in the order they stand. Among equally scored candidates
// the first one listed wins, and the list follows the slots, whose order in
// another seat's hand no deal can tell: any of the best counts as chosen.
bool ChosenInThisOrder(const GameState& s, int seat, const MoveEntry& seen) {
  const int tile = TileIndex(seen[kFPipA], seen[kFPipB]);
  if (s.MoveNumber == 1) {
    const LeadChoice lead = ChooseLead(s, seat);
    const HandSlot& h = s.Hand[seat][lead.Slot];
    return lead.Slot != 0 && TileIndex(h.PipA, h.PipB) == tile;
  }
  const CandidateList list = ListCandidates(s, seat);
  if (list.Count < 2) return true;
  const Evaluation e = EvaluateMove(s, seat, list);
  const int best = e.Candidates[e.Chosen].Score;
  for (int i = 0; i < e.Count; ++i) {
    const Candidate& c = e.Candidates[i].Move;
    if (TileIndex(c.Matching, c.Other) == tile && c.Matching == seen[kFPipA]) {
      return e.Candidates[i].Score >= best;
    }
  }
  return false;
}

// Whether the computer player could have chosen `seen`. The leader's two
// longest suits, when equally long, are put in an order drawn at random as
// the hand begins, and that order holds for the whole hand: at the lead and
// at every later move of the leader either order may be the one it played by.
bool RulesCouldChoose(GameState& s, int seat, const MoveEntry& seen) {
  if (s.MoveNumber == 1 && SixDoubleForced(s)) return true;
  auto& rank = s.SeatPipRank[seat];
  const bool leader = s.MoveRecord.size() > 1 && s.MoveRecord[1][kFSeat] == seat;
  const bool tied = leader && s.SeatPipCount[seat][rank[1]] == s.SeatPipCount[seat][rank[2]];
  if (ChosenInThisOrder(s, seat, seen)) return true;
  if (!tied) return false;
  std::swap(rank[1], rank[2]);
  const bool other = ChosenInThisOrder(s, seat, seen);
  std::swap(rank[1], rank[2]);
  return other;
}

// Lays the move in hand of the seat to move as the turn loop does: turned
// towards its end, written into the record and applied.
void LayMoveInHand(GameState& s) {
  const int seat = s.CurrentSeat;
  const int n = s.MoveNumber;
  if (s.PlayEnd != kPassEnd && n == 1) {
    s.EndPips[2] = s.PlayPipA;
    s.SeatPipMark[seat][s.PlayPipA] = 4;
    s.SeatPipMark[seat][s.PlayPipB] = 4;
  }
  OrientMove(s);
  if (!EnsureMoveRecordCapacity(s, n)) return;
  MoveEntry& e = s.MoveRecord[n];
  e = MoveEntry{};
  e[kFSeat] = static_cast<i16>(seat);
  e[kFPipA] = s.PlayEnd != kPassEnd ? s.PlayPipA : kNoPip;
  e[kFPipB] = s.PlayEnd != kPassEnd ? s.PlayPipB : kNoPip;
  e[kFEnd] = s.PlayEnd;
  e[kFEnd1PipsBefore] = s.EndPips[1];
  e[kFEnd2PipsBefore] = s.EndPips[2];
  AplicaJugada(s, kApply, n);
}

}  // namespace

SeatPlay PlayOf(const GameState& s, int seat) {
  if (s.SeatControl[seat] != kAutomatic) return SeatPlay::kPerson;
  return s.SeatExpert[seat] ? SeatPlay::kExpert : SeatPlay::kRules;
}

struct ImaginedTable::States {
  GameState Decision;  // the table at the decision
  GameState Work;      // a play-out's table
};

ImaginedTable::ImaginedTable(const GameState& s, const Knowledge& k)
    : k_(k), states_(std::make_unique<States>()) {
  GameState& d = states_->Decision;
  static_cast<SeatOptions&>(d) = s;
  static_cast<ExpertSeats&>(d) = s;
  static_cast<HouseRules&>(d) = s;
  static_cast<MatchFlags&>(d) = s;
  for (int seat = 1; seat <= kSeats; ++seat) {
    plays_[seat] = PlayOf(s, seat);
    if (plays_[seat] != SeatPlay::kRules) d.SeatLevel[seat] = kModelLevel;
  }
  const int moves = std::max(0, k.MoveNumber - 1);
  d.MoveRecord.assign(std::max<std::size_t>(kMoveRecordInitial, moves + 1), MoveEntry{});
  for (int n = 1; n <= moves && n < static_cast<int>(s.MoveRecord.size()); ++n) {
    d.MoveRecord[n] = s.MoveRecord[n];
  }
  // Which of its own tiles sits in which slot the knowing seat sees; the
  // order of the others' slots is nobody's to know.
  for (int slot = 1; slot <= kSlots; ++slot) d.Hand[k.Seat][slot] = s.Hand[k.Seat][slot];
}

ImaginedTable::~ImaginedTable() = default;

const GameState& ImaginedTable::AtDecision() const {
  return states_->Decision;
}

ImaginedTable::Fit ImaginedTable::Replay(const PerSeat<TileSet>& hands, bool check,
                                         int mostMisses) {
  GameState& s = states_->Decision;
  // The deal.
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seat != k_.Seat) {
      TileSet dealt = hands[seat] | k_.Played[seat];
      for (int slot = 1; slot <= kSlots; ++slot) {
        const int t = dealt != 0 ? std::countr_zero(dealt) : 0;
        dealt &= dealt - 1;
        s.Hand[seat][slot] =
            HandSlot{static_cast<i16>(TileHigh(t)), static_cast<i16>(TileLow(t)), 0};
      }
    } else {
      for (int slot = 1; slot <= kSlots; ++slot) s.Hand[seat][slot].State = 0;
    }
    s.SeatTileCount[seat] = kSlots;
    s.SeatPipCount[seat].fill(0);
    s.SeatPipMark[seat].fill(0);
    s.SeatDoubles[seat] = 0;
  }
  s.DoubleHolder.fill(0);
  ComputeDealStatistics(s);
  ComputeRanks(s);
  s.EndPips[1] = s.EndPips[2] = kNoPip;
  s.EndCount[1] = s.EndCount[2] = 0;
  // The record, move by move, each move of another seat chosen again.
  Fit fit;
  const int moves = k_.MoveNumber - 1;
  for (int n = 1; n <= moves; ++n) {
    const MoveEntry& e = s.MoveRecord[n];
    const int seat = e[kFSeat];
    if (seat < 1 || seat > kSeats) break;  // a damaged record ends where the knowledge does
    s.MoveNumber = static_cast<i16>(n);
    s.CurrentSeat = static_cast<i16>(seat);
    if (check && seat != k_.Seat && IsTileMove(e) && !RulesCouldChoose(s, seat, e)) {
      if (plays_[seat] == SeatPlay::kRules) {
        if (++fit.Misses > mostMisses) return fit;
      } else {
        fit.Weight *= kPersonSurprise;
      }
    }
    if (n == 1 && IsTileMove(e)) {
      s.EndPips[2] = e[kFPipA];
      s.SeatPipMark[seat][e[kFPipA]] = 4;
      s.SeatPipMark[seat][e[kFPipB]] = 4;
    }
    AplicaJugada(s, kApply, n);
  }
  s.MoveNumber = static_cast<i16>(k_.MoveNumber);
  s.CurrentSeat = static_cast<i16>(k_.ToMove);
  return fit;
}

int ImaginedTable::PlayOut(const SearchMove& move, const Scorer& scorer) {
  const GameState& d = states_->Decision;
  GameState& s = states_->Work;
  // Only what play changes is copied; the log of the match is never read.
  static_cast<SeatOptions&>(s) = d;
  static_cast<HouseRules&>(s) = d;
  static_cast<MatchFlags&>(s) = d;
  static_cast<DealtHands&>(s) = d;
  static_cast<ChainEnds&>(s) = d;
  s.MoveRecord = d.MoveRecord;
  if (move.Matching < 0) {
    s.PlayPipA = static_cast<i16>(TileHigh(move.Tile));
    s.PlayPipB = static_cast<i16>(TileLow(move.Tile));
    s.PlayEnd = 1;
  } else {
    const int other =
        TileHigh(move.Tile) == move.Matching ? TileLow(move.Tile) : TileHigh(move.Tile);
    TakeCandidate(s, Candidate{static_cast<i16>(move.Matching), static_cast<i16>(other)});
  }
  int passes = 0;
  int ended = 0;
  for (;;) {
    const int seat = s.CurrentSeat;
    const bool tile = s.PlayEnd != kPassEnd;
    LayMoveInHand(s);
    passes = tile ? 0 : passes + 1;
    if (tile && s.SeatTileCount[seat] == 0) {
      ended = seat;
      break;
    }
    if (ChainBlocked(s) || passes >= kSeats || s.MoveNumber >= kMoveRecordLimit) {
      ended = -1;
      break;
    }
    s.CurrentSeat = static_cast<i16>(NextSeat(seat, s.DirectionStep));
    ++s.MoveNumber;
    const int next = s.CurrentSeat;
    const CandidateList list = ListCandidates(s, next);
    s.PlayEnd = kPassEnd;
    s.PlayPipA = s.PlayPipB = kNoPip;
    if (list.Count == 1) {
      TakeCandidate(s, list.Items[0]);
    } else if (list.Count >= 2) {
      const Evaluation e = EvaluateMove(s, next, list);
      TakeCandidate(s, e.Candidates[e.Chosen].Move);
    }
  }
  Position end;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& h = s.Hand[seat][slot];
      if (h.State == 0) end.Hands[seat] |= 1u << TileIndex(h.PipA, h.PipB);
    }
  }
  return scorer.Value(end, ended);
}

}  // namespace tarvelis::expert
