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
  return s;
}

// A review of the hand in `s` giving every move `loss` against a best 6-3.
HandReview Faked(const GameState& s, double loss, bool weighed = true) {
  HandReview r = ReviewSubject(s, ReviewableMoves(s));
  for (const ReviewedEntry& e : r.Entries) {
    expert::MoveReview m;
    m.Weighed = weighed && e[3] != kPassEnd;
    m.Loss = loss;
    m.BestMove.PipA = 6;
    m.BestMove.PipB = 3;
    r.Reviews.push_back(m);
  }
  return r;
}

// Half a ten marks a move under tens, five points under units, as the loss
// reads; a smaller one is told in the verdict. The loss reads with a decimal
// comma in tens and whole in units, in one column after the line.
TEST(HandReview, MarksTextsAndVerdicts) {
  struct Case {
    i16 scoring;
    double loss;
    bool weighed;
    const char* suffix;  // of a marked line; "" for none
    const char* verdict;
  } const cases[] = {
      {kScoreTens, 1.0, true, "  -1,0", "Mejor 6-3: 1,0 decenas más"},
      {kScoreTens, 12.97, true, " -13,0", "Mejor 6-3: 13,0 decenas más"},
      {kScoreTens, 0.46, true, "  -0,5", "Mejor 6-3: 0,5 decenas más"},
      {kScoreTens, 0.44, true, "", "Buena jugada; la mejor, 6-3, 0,4 decenas más"},
      {kScoreTens, 0.04, true, "", "Jugada acertada"},
      {kScoreTens, 3.0, false, "", "Única jugada posible"},
      {kScoreUnits, 14.2, true, "   -14", "Mejor 6-3: 14 puntos más"},
      {kScoreUnits, 4.6, true, "    -5", "Mejor 6-3: 5 puntos más"},
      {kScoreUnits, 4.4, true, "", "Buena jugada; la mejor, 6-3, 4 puntos más"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.verdict);
    const GameState s = Played(12, 3, c.scoring);
    const std::vector<std::string> plain = MoveListLines(s);
    const std::vector<ReviewedLine> lines = ReviewedLines(Faked(s, c.loss, c.weighed), s, plain);
    ASSERT_EQ(lines.size(), plain.size());
    int marks = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const bool pass = plain[i].ends_with("Pasa");
      EXPECT_EQ(lines[i].Verdict, pass ? "Pase obligado" : c.verdict) << plain[i];
      EXPECT_EQ(lines[i].Marked, *c.suffix != 0 && !pass) << plain[i];
      const std::string expected =
          lines[i].Marked ? plain[i] + std::string(20 - plain[i].size(), ' ') + c.suffix : plain[i];
      EXPECT_EQ(lines[i].Text, expected);
      marks += lines[i].Marked;
    }
    EXPECT_EQ(SummaryText(lines), marks ? "Análisis: " + std::to_string(marks) + " jugadas marcadas"
                                        : "Análisis: ninguna jugada marcada");
  }
}

// A list too narrow for the loss's own column shows it in place of " ???",
// right-aligned in the columns it has, and never drops the tile.
TEST(HandReview, NarrowListsKeepTheLossInView) {
  const GameState s = Played(16, 3);
  const std::vector<std::string> plain = MoveListLines(s);
  for (const int columns : {25, 21, 12}) {
    const std::vector<ReviewedLine> lines = ReviewedLines(Faked(s, 1.44), s, plain, columns);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i].Marked) continue;
      std::string head =
          plain[i].ends_with(" ???") ? plain[i].substr(0, plain[i].size() - 4) : plain[i];
      EXPECT_EQ(lines[i].Text,
                head + std::string(std::max<int>(1, columns - head.size() - 4), ' ') + "-1,4");
    }
  }
}

// Marks belong to the deal and moves they were weighed on: a changed move
// leaves the moves before it marked, another deal, scoring or hand none.
TEST(HandReview, MarksHoldOnlyOnTheMovesTheyWeighed) {
  const GameState reviewed = Played(10, 8);
  const HandReview r = Faked(reviewed, 2.0);
  const int n = ReviewableMoves(reviewed);
  struct Case {
    const char* what;
    void (*change)(GameState&);
    int holding;  // lines still held
  } const cases[] = {
      {"nothing", [](GameState&) {}, n},
      {"move 6 otherwise", [](GameState& s) { s.MoveRecord[6][kFPipA] ^= 1; }, 5},
      {"another deal", [](GameState& s) { std::swap(s.Hand[1][1], s.Hand[2][1]); }, 0},
      {"scored by units", [](GameState& s) { s.RuleScoring = kScoreUnits; }, 0},
      {"the next hand", [](GameState& s) { ++s.HandNumber; }, 0},
  };
  for (const Case& c : cases) {
    GameState s = reviewed;
    c.change(s);
    const std::vector<ReviewedLine> lines = ReviewedLines(r, s, MoveListLines(reviewed));
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(lines[i].Verdict == "Jugada sin analizar", i >= c.holding) << c.what << " " << i;
    }
    EXPECT_EQ(ReviewCoversHand(r, s), c.holding == n) << c.what;
  }
  EXPECT_FALSE(ReviewCoversHand(r, Played(11, 8))) << "a move played since";
}

// A real review weighs every listed move in order and stops when told; each
// move has its own seed, so a stopped review agrees with the whole one.
TEST(HandReview, WholeHandReviewedAndStopped) {
  const GameState s = Played(14, 21);
  std::vector<int> seen;
  const HandReview whole = ReviewWholeHand(s, [&](int done, int total) {
    EXPECT_EQ(total, ReviewableMoves(s));
    seen.push_back(done);
    return true;
  });
  ASSERT_EQ(static_cast<int>(whole.Reviews.size()), ReviewableMoves(s));
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<int>(i) + 1);
  EXPECT_TRUE(ReviewCoversHand(whole, s));
  const HandReview stopped = ReviewWholeHand(s, [](int done, int) { return done < 3; });
  ASSERT_EQ(stopped.Reviews.size(), 3u);
  EXPECT_FALSE(ReviewCoversHand(stopped, s));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stopped.Reviews[i].Loss, whole.Reviews[i].Loss);
}

}  // namespace
}  // namespace tarvelis
