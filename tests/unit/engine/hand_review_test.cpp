#include "engine/hand_review.h"

#include <gtest/gtest.h>

#include "engine/headless_play.h"
#include "engine/recorder.h"

namespace tarvelis {
namespace {

GameState Played(int moves, std::uint32_t seed, i16 scoring = kScoreTens) {
  GameState s;
  ApplyDefaults(s);
  s.RuleScoring = scoring;
  s.RuleFirstLead = kFirstLeadDraw;
  PlayHeadlessTo(s, moves, seed);
  s.NoticeShown = true;
  return s;
}

// A review of the hand in `s` whose every move is given `loss` against a best
// move of 6-3, without weighing anything.
HandReview Faked(const GameState& s, double loss) {
  HandReview r = ReviewSubject(s, ReviewableMoves(s));
  for (std::size_t i = 0; i < r.Entries.size(); ++i) {
    expert::MoveReview m;
    m.Move = static_cast<int>(i) + 1;
    m.Weighed = r.Entries[i][3] != kPassEnd;
    m.Loss = loss;
    m.BestMove.PipA = 6;
    m.BestMove.PipB = 3;
    r.Reviews.push_back(m);
  }
  return r;
}

// One ten marks a move under tens, ten units under units; the loss is printed
// with a decimal comma in tens and whole in units.
TEST(HandReview, WhichLossesAreMarkedAndHowTheyRead) {
  struct Case {
    double loss;
    i16 scoring;
    bool marked;
    const char* text;
  } const cases[] = {
      {0.0, kScoreTens, false, "0,0"}, {0.96, kScoreTens, false, "1,0"},
      {1.0, kScoreTens, true, "1,0"},  {1.44, kScoreTens, true, "1,4"},
      {1.46, kScoreTens, true, "1,5"}, {12.97, kScoreTens, true, "13,0"},
      {9.6, kScoreUnits, false, "10"}, {10.0, kScoreUnits, true, "10"},
      {23.4, kScoreUnits, true, "23"}, {1.4, kScoreUnits, false, "1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LossMarked(c.loss, c.scoring), c.marked) << c.loss << " scoring " << c.scoring;
    EXPECT_EQ(LossText(c.loss, c.scoring), c.text) << c.loss << " scoring " << c.scoring;
  }
}

// Each line's mark and what the line under the list says of it, by the kind
// of move and the scoring.
TEST(HandReview, LinesAndVerdicts) {
  struct Case {
    i16 scoring;
    double loss;
    bool weighed;
    bool marked;
    const char* suffix;   // the end of a marked line
    const char* verdict;  // for a tile laid (passes say "Pase obligado")
  } const cases[] = {
      {kScoreTens, 1.44, true, true, "  -1,4", "Mejor 6-3: 1,4 decenas más"},
      {kScoreTens, 0.4, true, false, "", "Jugada acertada"},
      {kScoreTens, 3.0, false, false, "", "Única jugada posible"},
      {kScoreUnits, 14.2, true, true, "   -14", "Mejor 6-3: 14 puntos más"},
      {kScoreUnits, 9.0, true, false, "", "Jugada acertada"},
  };
  for (const Case& c : cases) {
    const GameState s = Played(12, 3, c.scoring);
    HandReview r = Faked(s, c.loss);
    for (expert::MoveReview& m : r.Reviews) m.Weighed = m.Weighed && c.weighed;
    const std::vector<std::string> plain = MoveListLines(s);
    const std::vector<ReviewedLine> lines = ReviewedLines(r, s, plain);
    ASSERT_EQ(lines.size(), plain.size());
    int marks = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const bool pass = r.Entries[i][3] == kPassEnd;
      SCOPED_TRACE(plain[i]);
      EXPECT_EQ(lines[i].Marked, c.marked && !pass);
      EXPECT_EQ(lines[i].Verdict, pass ? std::string("Pase obligado") : std::string(c.verdict));
      if (!lines[i].Marked) {
        EXPECT_EQ(lines[i].Text, plain[i]);
        continue;
      }
      ++marks;
      // The recorder line is kept whole and every loss ends in one column.
      EXPECT_EQ(lines[i].Text.rfind(plain[i], 0), 0u);
      EXPECT_EQ(lines[i].Text.size(), 26u);
      EXPECT_EQ(lines[i].Text.substr(20), c.suffix);
    }
    EXPECT_EQ(SummaryText(lines), marks == 0
                                      ? "Análisis: ninguna jugada marcada"
                                      : "Análisis: " + std::to_string(marks) + " jugadas marcadas");
  }
}

// Marks belong to the hand and the moves they were weighed on: a changed
// move leaves the moves before it marked, another deal or scoring none.
TEST(HandReview, MarksHoldOnlyOnTheMovesTheyWeighed) {
  const GameState reviewed = Played(10, 8);
  const HandReview r = Faked(reviewed, 2.0);
  const int n = ReviewableMoves(reviewed);
  ASSERT_GE(n, 8);
  struct Case {
    const char* what;
    void (*change)(GameState&);
    int holding;  // lines still held, -1 for all
  } const cases[] = {
      {"nothing", [](GameState&) {}, -1},
      {"move 6 played otherwise", [](GameState& s) { s.MoveRecord[6][kFPipA] ^= 1; }, 5},
      {"another deal", [](GameState& s) { std::swap(s.Hand[1][1], s.Hand[2][1]); }, 0},
      {"scored by units", [](GameState& s) { s.RuleScoring = kScoreUnits; }, 0},
      {"the next hand", [](GameState& s) { ++s.HandNumber; }, 0},
  };
  for (const Case& c : cases) {
    GameState s = reviewed;
    c.change(s);
    const std::vector<ReviewedLine> lines = ReviewedLines(r, s, MoveListLines(reviewed));
    const int holding = c.holding < 0 ? n : c.holding;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(lines[static_cast<std::size_t>(i)].Verdict == "Jugada sin analizar", i >= holding)
          << c.what << ", line " << i;
    }
    EXPECT_EQ(ReviewCoversHand(r, s), c.holding < 0) << c.what;
  }
  // A move played after the review is not covered by it.
  GameState later = Played(11, 8);
  EXPECT_TRUE(ReviewHolds(r, later, n));
  EXPECT_FALSE(ReviewCoversHand(r, later));
}

// A real review weighs every listed move, reports each, and stops when told;
// a stopped review covers only what it weighed.
TEST(HandReview, WholeHandReviewedAndStopped) {
  GameState s = Played(14, 21);
  const int n = ReviewableMoves(s);
  std::vector<int> seen;
  const HandReview whole = ReviewWholeHand(s, [&](int done, int total) {
    EXPECT_EQ(total, n);
    seen.push_back(done);
    return true;
  });
  ASSERT_EQ(static_cast<int>(whole.Reviews.size()), n);
  for (int i = 0; i < n; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i + 1);
  EXPECT_TRUE(ReviewCoversHand(whole, s));
  for (const expert::MoveReview& m : whole.Reviews) EXPECT_GE(m.Loss, 0.0);

  const HandReview stopped = ReviewWholeHand(s, [](int done, int) { return done < 3; });
  EXPECT_EQ(stopped.Reviews.size(), 3u);
  EXPECT_FALSE(ReviewCoversHand(stopped, s));
  EXPECT_TRUE(ReviewHolds(stopped, s, 3));
  // Each move has its own seed: the stopped review agrees with the whole one.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(stopped.Reviews[static_cast<std::size_t>(i)].Loss,
              whole.Reviews[static_cast<std::size_t>(i)].Loss);
  }
}

}  // namespace
}  // namespace tarvelis
