// The review of a recorded hand ("Analizar la mano") as the move list shows
// it: what a review was made of, so its marks are shown only on the hand and
// the moves it weighed; which moves are marked, and every text the list and
// the line beside it print. The weighing itself is the expert's ReviewHand;
// the window runs it in the background and only shows what is decided here.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "player/expert.h"

namespace tarvelis {

// Everything the weighing of a move reads besides the record: the dealt
// tiles, the rules that decide a hand's result, and how each seat plays (the
// expert reads the others' moves by it). A review holds only while
// these stay the same.
struct ReviewedDeal {
  i16 HandNumber = 0;
  i16 LeadSeat = 0;
  i16 DirectionStep = 1;
  PerSeat<i16> SeatControl{};
  PerSeat<i16> SeatLevel{};
  PerSeat<bool> SeatExpert{};
  std::array<i16, 8> Rules{};
  PerSeat<std::array<std::array<i16, 2>, kSlots + 1>> Dealt{};
  bool operator==(const ReviewedDeal&) const = default;
};

// What move n was: seat, pip A, pip B and end.
using ReviewedEntry = std::array<i16, 4>;

struct HandReview {
  ReviewedDeal Deal;
  std::vector<ReviewedEntry> Entries;       // moves 1.. in order
  std::vector<expert::MoveReview> Reviews;  // one per entry
  i16 Scoring = kScoreTens;                 // the scoring the losses are in
};

// The moves a review takes: every recorded move of the hand, as many as the
// move list shows (up to the live move while the recorder is on).
int ReviewableMoves(const GameState& state);

// The deal and entries of the hand in `state`, for its first `moves` moves.
HandReview ReviewSubject(const GameState& state, int moves);

// The expert's options at the table, so a verdict agrees with the expert's
// own play (reading the others' moves included): a whole hand takes a
// fraction of a second.
expert::ExpertOptions ReviewOptions();

// Weighs every reviewable move of the hand in `state` (which the caller owns:
// a copy when this runs in the background). `progress(done, total)` follows
// each move; returning false stops, and the result then covers fewer moves.
HandReview ReviewWholeHand(const GameState& state,
                           const std::function<bool(int, int)>& progress = {});

// The review's move n (1-based) still describes move n of `state`: the same
// deal and rules and the same moves 1..n. Moves played after the review, or
// after "play on from here", are not covered.
bool ReviewHolds(const HandReview& review, const GameState& state, int move);

// The review covers the hand as it stands, every listed move included: a new
// one would say nothing more.
bool ReviewCoversHand(const HandReview& review, const GameState& state);

// The loss that earns a mark, as the list prints it: half a ten ("0,5"), or
// five points when scoring by units. A smaller loss is told in the verdict.
bool LossMarked(double loss, i16 scoring);

// The loss as the list prints it, with a decimal comma: tens to one decimal
// ("1,4"), units whole ("14").
std::string LossText(double loss, i16 scoring);

// A tile as the list writes it: pip A (the one that meets the chain) first.
std::string TileText(int pipA, int pipB);

// One line of the move list after a review.
struct ReviewedLine {
  std::string Text;     // the recorder line, with the loss in its column when marked
  bool Marked = false;  // drawn as a mistake
  std::string Verdict;  // what the line under the list says when it is selected
};

// The columns a marked line takes when the list has room: the recorder line
// and the loss in a column of its own.
inline constexpr std::size_t kReviewedLineColumns = 26;

// The lines of the move list with the review's marks: `lines` as
// MoveListLines gives them, `columns` the characters the list shows whole;
// lines the review does not hold for keep their text and say they were not
// analysed.
std::vector<ReviewedLine> ReviewedLines(const HandReview& review, const GameState& state,
                                        const std::vector<std::string>& lines,
                                        int columns = kReviewedLineColumns);

// The line shown while the review runs: "Analizando la mano: 12 de 28".
std::string ProgressText(int done, int total);

// The line shown once it is done when no reviewed move is selected:
// "Análisis: 3 jugadas marcadas".
std::string SummaryText(const std::vector<ReviewedLine>& lines);

}  // namespace tarvelis
