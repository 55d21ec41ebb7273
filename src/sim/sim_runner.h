// Plays the matches tarvelis-sim was asked for and reports on them.
#pragma once

#include <array>
#include <ostream>

#include "engine/turn_loop.h"
#include "player/expert_knowledge.h"
#include "sim/sim_check.h"
#include "sim/sim_options.h"
#include "sim/sim_port.h"

namespace tarvelis::sim {

struct Stats {
  long Matches = 0;
  long Hands = 0;
  long Moves = 0;
  long TiedHands = 0;
  std::array<long, 3> PairWins{}, PairHandWins{}, PairPoints{};
  std::array<long, 5> SeatWins{}, SeatHandWins{}, SeatPoints{};
};

class Simulator : public EngineHooks {
 public:
  Simulator(const SimOptions& options, std::ostream& out, std::ostream& err);

  // Plays and reports; returns the exit status of the program.
  int Run();

  const Stats& Totals() const { return stats_; }

 private:
  bool ChooseMove(GameState& state, TablePort* port) override;
  void HandDealt(GameState& state) override;
  void MoveMade(GameState& state) override;
  void HandScored(const GameState& state, const HandSummary& summary) override;

  bool Setup();
  bool PlayMatch(bool resume);
  void TraceHand(const GameState& state, const std::string& heading);
  void SaveIfDue(GameState& state);
  void Report(double seconds);

  const SimOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  GameState state_;
  SimPort port_;
  Random dealRng_;
  Random strategyRng_;
  Random ruleRng_;
  expert::Rng searchRng_;  // seeds of the searching strategies' decisions
  EngineContext ctx_;
  MoveChecker checker_;
  Stats stats_;
  int handsThisRun_ = 0;  // deals since the run began
  bool handDealtHere_ = false;
  bool saved_ = false;
  long printedViolations_ = 0;
  double cpuSeconds_ = 0;
};

}  // namespace tarvelis::sim
