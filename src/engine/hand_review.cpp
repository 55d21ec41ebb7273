#include "engine/hand_review.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/recorder.h"
#include "model/texts.h"
#include "player/computer_player.h"

namespace tarvelis {
namespace {

// Recorder lines are at most this wide (two for the number, nine for the
// name, the tile and " ???"); the loss is printed in the columns after them.
constexpr std::size_t kLineColumns = 20;
constexpr std::size_t kLossColumns = kReviewedLineColumns - kLineColumns;

// A marked line: the loss right-aligned in its own column after the line,
// or, where the list is too narrow for that, in place of the " ???" that says
// the computer chose by scoring, right-aligned in the columns there are.
std::string MarkedText(std::string line, const std::string& loss, std::size_t columns) {
  if (columns >= kReviewedLineColumns) {
    line.resize(std::max(line.size(), kLineColumns), ' ');
    return line + std::string(kLossColumns - std::min(kLossColumns, loss.size()), ' ') + loss;
  }
  if (line.ends_with(" ???")) line.resize(line.size() - 4);
  const std::size_t room =
      columns > line.size() + loss.size() ? columns - line.size() - loss.size() : 1;
  return line + std::string(room, ' ') + loss;
}

ReviewedEntry EntryOf(const GameState& s, int move) {
  const MoveEntry& e = s.MoveRecord[static_cast<std::size_t>(move)];
  return ReviewedEntry{e[kFSeat], e[kFPipA], e[kFPipB], e[kFEnd]};
}

ReviewedDeal DealOf(const GameState& s) {
  ReviewedDeal d;
  d.HandNumber = s.HandNumber;
  d.LeadSeat = s.LeadSeat;
  d.DirectionStep = s.DirectionStep;
  d.SeatControl = s.SeatControl;
  d.SeatLevel = s.SeatLevel;
  d.SeatExpert = s.SeatExpert;
  d.Rules = {s.RuleMode,      s.RuleScoring, s.RuleScoringPair, s.RuleCountedPips,
             s.RuleTieWinner, s.RuleTieLead, s.RuleFiveDoubles, s.RuleFirstLead};
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      d.Dealt[seat][slot] = {s.Hand[seat][slot].PipA, s.Hand[seat][slot].PipB};
    }
  }
  return d;
}

}  // namespace

int ReviewableMoves(const GameState& s) {
  return static_cast<int>(MoveListLines(s).size());
}

HandReview ReviewSubject(const GameState& s, int moves) {
  HandReview r;
  r.Deal = DealOf(s);
  r.Scoring = s.RuleScoring;
  moves = std::clamp(moves, 0, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = 1; n <= moves; ++n) r.Entries.push_back(EntryOf(s, n));
  return r;
}

expert::ExpertOptions ReviewOptions() {
  return ExpertAtTheTable();
}

HandReview ReviewWholeHand(const GameState& s, const std::function<bool(int, int)>& progress) {
  const int moves = ReviewableMoves(s);
  HandReview r = ReviewSubject(s, moves);
  if (moves == 0) return r;
  r.Reviews = expert::ReviewHand(s, moves, ReviewOptions(), progress);
  // A stopped review keeps the moves it weighed and covers no more.
  r.Entries.resize(std::min(r.Entries.size(), r.Reviews.size()));
  return r;
}

bool ReviewHolds(const HandReview& r, const GameState& s, int move) {
  if (move < 1 || move > static_cast<int>(r.Reviews.size()) ||
      move > static_cast<int>(r.Entries.size()) || move >= static_cast<int>(s.MoveRecord.size())) {
    return false;
  }
  if (!(r.Deal == DealOf(s)) || r.Scoring != s.RuleScoring) return false;
  for (int n = 1; n <= move; ++n) {
    if (r.Entries[static_cast<std::size_t>(n - 1)] != EntryOf(s, n)) return false;
  }
  return true;
}

bool ReviewCoversHand(const HandReview& r, const GameState& s) {
  const int moves = ReviewableMoves(s);
  return moves > 0 && static_cast<int>(r.Reviews.size()) == moves && ReviewHolds(r, s, moves);
}

bool LossMarked(double loss, i16 scoring) {
  // Judged on the loss as the player reads it: half a ten, or five points.
  return scoring == kScoreUnits ? std::lround(loss) >= 5 : std::lround(loss * 10) >= 5;
}

std::string LossText(double loss, i16 scoring) {
  if (scoring == kScoreUnits) return std::to_string(static_cast<long>(std::lround(loss)));
  const long tenths = std::lround(loss * 10);
  return std::to_string(tenths / 10) + "," + std::to_string(std::labs(tenths % 10));
}

std::string TileText(int pipA, int pipB) {
  return std::to_string(pipA) + "-" + std::to_string(pipB);
}

std::vector<ReviewedLine> ReviewedLines(const HandReview& r, const GameState& s,
                                        const std::vector<std::string>& lines, int columns) {
  std::vector<ReviewedLine> out;
  out.reserve(lines.size());
  // The whole prefix is compared once; a move holds while every move before
  // it does.
  int holds = 0;
  while (holds < static_cast<int>(lines.size()) && ReviewHolds(r, s, holds + 1)) ++holds;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ReviewedLine line;
    line.Text = lines[i];
    if (static_cast<int>(i) >= holds) {
      line.Verdict = kMoveNotReviewed;
      out.push_back(line);
      continue;
    }
    const expert::MoveReview& m = r.Reviews[i];
    const bool pass = r.Entries[i][3] == kPassEnd;
    if (!m.Weighed) {
      line.Verdict = pass ? kForcedPass : kOnlyMove;
    } else if (LossMarked(m.Loss, r.Scoring)) {
      line.Marked = true;
      line.Text = MarkedText(line.Text, "-" + LossText(m.Loss, r.Scoring),
                             static_cast<std::size_t>(std::max(columns, 0)));
      line.Verdict = BetterMoveText(TileText(m.BestMove.PipA, m.BestMove.PipB),
                                    LossText(m.Loss, r.Scoring), r.Scoring == kScoreUnits);
    } else if (std::lround(m.Loss * (r.Scoring == kScoreUnits ? 1 : 10)) == 0) {
      line.Verdict = kGoodMove;
    } else {
      // A small loss is said, not marked: the player sees what each move cost.
      line.Verdict = NearlyBestMoveText(TileText(m.BestMove.PipA, m.BestMove.PipB),
                                        LossText(m.Loss, r.Scoring), r.Scoring == kScoreUnits);
    }
    out.push_back(line);
  }
  return out;
}

std::string ProgressText(int done, int total) {
  return ReviewProgressText(done, total);
}

std::string SummaryText(const std::vector<ReviewedLine>& lines) {
  const int marked = static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [](const ReviewedLine& l) { return l.Marked; }));
  return ReviewSummaryText(marked);
}

}  // namespace tarvelis
