#include "sim/sim_runner.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iomanip>

#include "engine/hand_end.h"
#include "model/table_geometry.h"
#include "player/computer_player.h"
#include "player/expert.h"
#include "sim/sim_rules.h"
#include "sim/strategies.h"
#include "storage/state_file.h"

namespace tarvelis::sim {
namespace {

// Separate streams for the deal, the baselines and the rules: a baseline
// seat changes nothing of the deals another run with the same seed sees.
constexpr std::uint32_t kStrategyStream = 0x9E3779B9u;
constexpr std::uint32_t kRuleStream = 0x85EBCA6Bu;
constexpr std::uint64_t kSearchStream = 0xC2B2AE3D27D4EB4Full;

void WriteList(std::ostream& out, const long* values, int count) {
  out << '[';
  for (int i = 0; i < count; ++i) out << (i > 0 ? "," : "") << values[i];
  out << ']';
}

void WriteSplit(std::ostream& out, const char* name, const std::array<long, 3>& pairs,
                const std::array<long, 5>& seats) {
  out << '"' << name << "\":{\"pairs\":";
  WriteList(out, pairs.data() + 1, 2);
  out << ",\"seats\":";
  WriteList(out, seats.data() + 1, 4);
  out << '}';
}

void WriteSplitText(std::ostream& out, const char* name, const std::array<long, 3>& pairs,
                    const std::array<long, 5>& seats) {
  out << name << ": pairs " << pairs[1] << ' ' << pairs[2] << "; seats " << seats[1] << ' '
      << seats[2] << ' ' << seats[3] << ' ' << seats[4] << '\n';
}

}  // namespace

Simulator::Simulator(const SimOptions& options, std::ostream& out, std::ostream& err)
    : options_(options),
      out_(out),
      err_(err),
      port_(&state_, options.Trace ? &out : nullptr),
      dealRng_(options.Seed),
      strategyRng_(options.Seed ^ kStrategyStream),
      ruleRng_(options.Seed ^ kRuleStream),
      searchRng_(options.Seed ^ kSearchStream),
      ctx_(state_, port_, dealRng_) {
  ctx_.SeedFromClock = false;
  ctx_.Hooks = this;
}

bool Simulator::Setup() {
  ApplyDefaults(state_);
  // The file's chain is checked against, and laid for, the table it is played on.
  state_.Table = ComputeTableGeometry(options_.ScreenWidth, options_.ScreenHeight);
  if (!options_.SettingsFile.empty()) {
    const ReadOutcome outcome = LoadStateFile(state_, options_.SettingsFile);
    if (outcome.ErrorNumber != 0) {
      err_ << "tarvelis-sim: cannot read " << options_.SettingsFile << " (error "
           << outcome.ErrorNumber << ")\n";
      return false;
    }
  }
  if (options_.HaveLevels) {
    for (int seat = 1; seat <= kSeats; ++seat) {
      state_.SeatLevel[seat] = static_cast<i16>(options_.Levels[seat]);
    }
  }
  for (const auto& [name, value] : options_.Rules) {
    if (!SetRule(state_, name, value)) {
      err_ << "tarvelis-sim: unknown rule " << name << '\n';
      return false;
    }
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (options_.Automatic) state_.SeatControl[seat] = kAutomatic;
    // A seat played by another strategy is no rules player: the expert must
    // not read its moves as one's, and the settings say so as they would of
    // an expert seat.
    state_.SeatExpert[seat] = options_.Strategies[seat] != Strategy::kEngine;
  }
  return true;
}

bool Simulator::ChooseMove(GameState& s, TablePort*) {
  switch (options_.Strategies[s.CurrentSeat]) {
    case Strategy::kRandom:
      ChooseRandom(s, strategyRng_);
      return true;
    case Strategy::kHeaviest:
      ChooseHeaviest(s);
      return true;
    case Strategy::kDoubles:
      ChooseDoublesFirst(s);
      return true;
    case Strategy::kVariety:
      ChooseVariety(s);
      return true;
    case Strategy::kSampled:
      expert::ChooseExpertMove(s, expert::SampledSearchOptions(options_.SampledDeals),
                               searchRng_.Next());
      return true;
    case Strategy::kExpert: {
      expert::ExpertOptions o;
      o.Deals = options_.ExpertDeals;
      o.MinDeals = std::min(o.MinDeals, o.Deals);
      if (options_.ExpertExactTiles >= 0) o.ExactTiles = options_.ExpertExactTiles;
      if (options_.ExpertPlayout >= 0) {
        o.Playout =
            options_.ExpertPlayout == 1 ? expert::Policy::kGreedy : expert::Policy::kDoublesFirst;
      }
      if (options_.ExpertUniform) o.ReadsPlay = o.SeatPlayouts = false;
      expert::ChooseExpertMove(s, o, searchRng_.Next());
      return true;
    }
    case Strategy::kEngine:
      break;
  }
  return false;
}

void Simulator::TraceHand(const GameState& s, const std::string& heading) {
  out_ << heading << '\n';
  for (int seat = 1; seat <= kSeats; ++seat) {
    out_ << "deal seat " << seat << ':';
    for (int slot = 1; slot <= kSlots; ++slot) {
      out_ << ' ' << s.Hand[seat][slot].PipA << '-' << s.Hand[seat][slot].PipB;
    }
    out_ << '\n';
  }
}

void Simulator::HandDealt(GameState& s) {
  ++stats_.Hands;
  ++handsThisRun_;
  handDealtHere_ = true;
  if (options_.Trace) {
    TraceHand(s, "hand " + std::to_string(s.HandNumber) + " lead " + std::to_string(s.LeadSeat));
  }
  if (options_.SaveAfterMove > 0 && handsThisRun_ > 1) ctx_.Control.ExitRequested = true;
}

void Simulator::SaveIfDue(GameState& s) {
  if (options_.SaveAfterMove != s.MoveNumber || handsThisRun_ != 1) return;
  // Saved as the game saves while the next move is awaited.
  AdvanceTurn(s);
  saved_ = SaveStateFile(s, options_.SaveFile);
  TurnBack(s);
  ctx_.Control.ExitRequested = true;
}

void Simulator::MoveMade(GameState& s) {
  ++stats_.Moves;
  if (options_.Trace && options_.Explain && s.MoveRecord[s.MoveNumber][kFEvaluated] != 0) {
    const Evaluation& e = LastEvaluation();
    if (e.HandNumber == s.HandNumber && e.MoveNumber == s.MoveNumber) out_ << ExplainEvaluation(e);
  }
  if (options_.Check) {
    for (const std::string& v : checker_.AfterMove(s, handDealtHere_)) {
      if (printedViolations_++ < 20) {
        err_ << "violation: match " << stats_.Matches + 1 << " hand " << s.HandNumber << " move "
             << s.MoveNumber << ": " << v << '\n';
      }
    }
  }
  if (options_.SaveAfterMove > 0) SaveIfDue(s);
}

void Simulator::HandScored(const GameState& s, const HandSummary& summary) {
  if (summary.Tied) ++stats_.TiedHands;
  if (summary.Winner == 0) return;
  if (s.RuleMode == kModePairs) {
    ++stats_.PairHandWins[summary.Winner];
  } else {
    ++stats_.SeatHandWins[summary.Winner];
  }
}

bool Simulator::PlayMatch(bool resume) {
  if (options_.Trace) out_ << "match " << stats_.Matches + 1 << '\n';
  if (resume) {
    // The hand left in the settings file goes on where it stands.
    ++stats_.Hands;
    ++handsThisRun_;
    handDealtHere_ = false;
    if (options_.Trace) {
      TraceHand(state_, "hand " + std::to_string(state_.HandNumber) + " resumed at move " +
                            std::to_string(state_.MoveNumber));
    }
    RunMatch(ctx_, LoopEntry::kResumeHand);
  } else {
    if (options_.VaryRules) VaryRules(state_, ruleRng_);
    RunMatch(ctx_, LoopEntry::kNewMatch);
  }
  if (ctx_.Control.ExitRequested) return false;
  if (state_.MatchInProgress) {
    err_ << "tarvelis-sim: the match could not be played on\n";
    return false;
  }
  ++stats_.Matches;
  const int winner = MatchWinner(state_);
  if (state_.RuleMode == kModePairs) {
    ++stats_.PairWins[winner];
    for (int p = 1; p <= 2; ++p) stats_.PairPoints[p] += state_.PairTotal[p];
  } else {
    ++stats_.SeatWins[winner];
    for (int t = 1; t <= kSeats; ++t) stats_.SeatPoints[t] += state_.SeatTotal[t];
  }
  return true;
}

int Simulator::Run() {
  if (!Setup()) return 2;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  bool resume = state_.MatchInProgress && state_.HandInProgress;
  bool failed = false;
  for (int match = 0; match < options_.Matches; ++match) {
    if (!PlayMatch(resume)) {
      failed = !ctx_.Control.ExitRequested;
      break;
    }
    resume = false;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  cpuSeconds_ = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  checker_.AddViolations(ctx_.IllegalChoices);
  if (options_.SaveAfterMove > 0) {
    if (!saved_) {
      err_ << "tarvelis-sim: the first hand did not reach move " << options_.SaveAfterMove
           << " or the file could not be written\n";
      return 1;
    }
    if (!options_.Json) out_ << "saved after move " << options_.SaveAfterMove << '\n';
    return 0;
  }
  Report(seconds);
  if (failed) return 1;
  return options_.Check && checker_.Counts().Violations > 0 ? 1 : 0;
}

void Simulator::Report(double seconds) {
  const Stats& s = stats_;
  const CheckCounts& c = checker_.Counts();
  if (options_.Json) {
    out_ << "{\"matches\":" << s.Matches << ",\"hands\":" << s.Hands << ",\"moves\":" << s.Moves
         << ',';
    WriteSplit(out_, "wins", s.PairWins, s.SeatWins);
    out_ << ',';
    WriteSplit(out_, "hand_wins", s.PairHandWins, s.SeatHandWins);
    out_ << ",\"tied_hands\":" << s.TiedHands << ',';
    WriteSplit(out_, "points", s.PairPoints, s.SeatPoints);
    if (options_.Check) {
      out_ << ",\"checks\":{\"state\":" << c.State << ",\"file_round_trip\":" << c.FileRoundTrip
           << ",\"undo_redo\":" << c.UndoRedo << ",\"violations\":" << c.Violations << '}';
    }
    if (options_.Time) {
      out_ << ",\"seconds\":" << std::fixed << std::setprecision(3) << seconds
           << ",\"cpu_seconds\":" << cpuSeconds_;
    }
    out_ << "}\n";
    return;
  }
  out_ << "matches " << s.Matches << " hands " << s.Hands << " moves " << s.Moves << '\n';
  WriteSplitText(out_, "match wins", s.PairWins, s.SeatWins);
  WriteSplitText(out_, "hand wins", s.PairHandWins, s.SeatHandWins);
  out_ << "tied hands " << s.TiedHands << '\n';
  WriteSplitText(out_, "points", s.PairPoints, s.SeatPoints);
  if (options_.Check) {
    out_ << "checks: state " << c.State << " file round trip " << c.FileRoundTrip << " undo-redo "
         << c.UndoRedo << " violations " << c.Violations << '\n';
  }
  if (options_.Time) {
    out_ << "seconds " << std::fixed << std::setprecision(3) << seconds;
    if (seconds > 0) out_ << " (" << std::setprecision(0) << s.Matches / seconds << " matches/s)";
    out_ << '\n';
    // The processor's time, which other work on the machine does not inflate.
    out_ << "cpu seconds " << std::setprecision(3) << cpuSeconds_;
    if (cpuSeconds_ > 0) {
      out_ << " (" << std::setprecision(0) << s.Hands / cpuSeconds_ << " hands per cpu second)";
    }
    out_ << '\n';
  }
}

}  // namespace tarvelis::sim
