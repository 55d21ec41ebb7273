// tarvelis-sim as a user runs it: the program itself, its output and status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

struct SimRun {
  int Status = -1;
  std::string Out;
};

SimRun Sim(const std::string& args) {
  SimRun r;
  const std::string command = std::string(TARVELIS_SIM) + " " + args + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.Out.append(buffer, n);
  const int status = pclose(pipe);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// The lines of `text` after the line starting with `from` and before the next
// hand or the summary.
std::string Between(const std::string& text, const std::string& from) {
  std::istringstream in(text);
  std::string line, kept;
  bool inside = false;
  while (std::getline(in, line)) {
    if (inside && (line.rfind("hand ", 0) == 0 || line.rfind("matches ", 0) == 0)) break;
    if (inside) kept += line + "\n";
    if (!inside && line.rfind(from, 0) == 0) inside = true;
  }
  return kept;
}

TEST(Sim, TwoThousandVariedMatchesWithEveryCheckAndNoViolation) {
  const SimRun r = Sim("--matches 2000 --seed 1 --vary-rules --check --json --no-time");
  EXPECT_EQ(r.Status, 0) << r.Out;
  EXPECT_EQ(r.Out.rfind("{\"matches\":2000,", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("\"violations\":0}"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("seconds"), std::string::npos);
}

TEST(Sim, SimpleAndSearchingBaselinesAndTheExpertPlayLegallyAndRepeatably) {
  const std::string args =
      "--matches 60 --seed 4 --vary-rules --check --json --no-time --strategy 1=doubles "
      "--strategy 2=sampled --strategy 3=expert --strategy 4=variety --sampled-deals 20 "
      "--expert-deals 40";
  const SimRun a = Sim(args);
  EXPECT_EQ(a.Status, 0) << a.Out;
  EXPECT_NE(a.Out.find("\"violations\":0}"), std::string::npos) << a.Out;
  EXPECT_EQ(Sim(args).Out, a.Out);
  // The exact endgame and the other play-out are choices of their own.
  const SimRun b =
      Sim("--matches 20 --seed 4 --check --strategy 1=expert --strategy 3=expert "
          "--strategy 2=random --strategy 4=heaviest --expert-deals 30 --expert-exact 0 "
          "--expert-playout greedy");
  EXPECT_EQ(b.Status, 0) << b.Out;
}

TEST(Sim, ASavedHandResumesExactlyWhereItStood) {
  const std::string file = ::testing::TempDir() + "tarvelis_sim_resume.ini";
  const SimRun saved = Sim("--seed 5 --save-after-move 10 " + file);
  ASSERT_EQ(saved.Status, 0) << saved.Out;
  const SimRun resumed = Sim("--settings " + file + " --matches 1 --trace --no-time");
  ASSERT_EQ(resumed.Status, 0);
  EXPECT_NE(resumed.Out.find("hand 1 resumed at move 11"), std::string::npos);
  const SimRun straight = Sim("--seed 5 --matches 1 --trace --no-time");
  const std::string rest = Between(straight.Out, "10 ");
  EXPECT_FALSE(rest.empty());
  EXPECT_EQ(Between(resumed.Out, "deal seat 4"), rest);
  std::remove(file.c_str());
}

TEST(Sim, AHandSavedAfterItsLastMoveEndsOnResuming) {
  const std::string file = ::testing::TempDir() + "tarvelis_sim_last.ini";
  const SimRun straight = Sim("--seed 5 --matches 1 --trace --no-time");
  // The last move of hand 1 is the line before its first message.
  const std::string hand = Between(straight.Out, "deal seat 4");
  const size_t message = hand.find("message ");
  ASSERT_NE(message, std::string::npos);
  const size_t lastLine = hand.rfind('\n', message - 2);
  const int last = std::stoi(hand.substr(lastLine + 1, 2));
  ASSERT_EQ(Sim("--seed 5 --save-after-move " + std::to_string(last) + " " + file).Status, 0);
  const SimRun resumed = Sim("--settings " + file + " --matches 1 --trace --no-time");
  ASSERT_EQ(resumed.Status, 0);
  EXPECT_EQ(Between(resumed.Out, "deal seat 4"), hand.substr(message));
  std::remove(file.c_str());
}

TEST(Sim, BadArgumentsAreRefused) {
  for (const char* bad :
       {"--matches 0", "--levels 1,2,3", "--strategy 5=random", "--rule NoSuchRule=1",
        "--screen 800", "--frobnicate", "--strategy 1=wizard", "--expert-deals 0",
        "--sampled-deals x", "--expert-exact 29", "--expert-playout fancy"}) {
    EXPECT_EQ(Sim(bad).Status, 2) << bad;
  }
  EXPECT_EQ(Sim("--help").Status, 0);
  // Saving after a move the hand never reaches is a failure.
  const std::string file = ::testing::TempDir() + "tarvelis_sim_never.ini";
  EXPECT_EQ(Sim("--seed 5 --save-after-move 200 " + file).Status, 1);
  std::remove(file.c_str());
}

// The signature of play: these seeded matches, under every rule varied, give
// exactly these totals. A change that alters how the game deals, plays or
// scores changes them; it must update them here and say so in its commit.
TEST(Sim, ThousandSeededMatchesGiveTheirSignature) {
  const SimRun r = Sim("--matches 1000 --seed 19 --vary-rules --json --no-time");
  ASSERT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "{\"matches\":1000,\"hands\":2532,\"moves\":61820,"
            "\"wins\":{\"pairs\":[237,268],\"seats\":[156,116,96,127]},"
            "\"hand_wins\":{\"pairs\":[625,644],\"seats\":[370,286,271,295]},"
            "\"tied_hands\":100,"
            "\"points\":{\"pairs\":[13218,11890],\"seats\":[9127,6748,6189,7044]}}\n");
}

}  // namespace
