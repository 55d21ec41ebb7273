// The command line of tarvelis-sim.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvelis::sim {

enum class Strategy : std::uint8_t {
  kEngine,
  kRandom,
  kHeaviest,
  kDoubles,  // doubles first, then the heaviest tile
  kVariety,  // doubles first, then keep the most suits, then the heaviest
  kSampled,  // the plain sampled search, doubles-first play-outs
  kExpert,
};

struct SimOptions {
  int Matches = 1;
  std::uint32_t Seed = 1;
  std::string SettingsFile;
  int SaveAfterMove = 0;  // 0: do not save
  std::string SaveFile;
  int ScreenWidth = 800;
  int ScreenHeight = 600;
  bool HaveLevels = false;
  std::array<int, 5> Levels{};           // [seat 1..4]
  std::array<Strategy, 5> Strategies{};  // [seat 1..4]
  int ExpertDeals = 500;                 // most deals per expert decision
  int SampledDeals = 1000;               // deals per sampled-search decision
  int ExpertExactTiles = -1;             // -1: the expert's own choice
  int ExpertPlayout = -1;                // -1: own choice; 0 doubles, 1 greedy
  // The expert as it was before it read the other seats' play: uniform deals,
  // play-outs by one policy for every seat.
  bool ExpertUniform = false;
  // Every seat automatic, so the computer seats are read as computers (the
  // default settings leave seat 4 to a person).
  bool Automatic = false;
  std::vector<std::pair<std::string, int>> Rules;  // --rule Name=Value, in order
  bool VaryRules = false;
  bool Trace = false;
  bool Explain = false;  // with --trace: the scores behind every weighed move
  bool Check = false;
  bool Json = false;
  // Timings differ from run to run, so they are printed only when asked for;
  // without them the same seed and options print the same bytes.
  bool Time = false;
  bool Help = false;
};

// Parses the arguments after the program name. False with `error` set when
// an argument is unknown or its value is not valid.
bool ParseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The usage text printed by --help and after a bad argument.
const char* UsageText();

}  // namespace tarvelis::sim
