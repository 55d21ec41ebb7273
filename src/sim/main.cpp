// tarvelis-sim: whole matches on the core alone, every seat played by the
// computer, to measure the computer player, the engine's speed and its
// invariants. The same seed and options print the same bytes.
#include <iostream>
#include <string>
#include <vector>

#include "sim/sim_options.h"
#include "sim/sim_runner.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  tarvelis::sim::SimOptions options;
  std::string error;
  if (!tarvelis::sim::ParseOptions(args, options, error)) {
    std::cerr << "tarvelis-sim: " << error << '\n' << tarvelis::sim::UsageText();
    return 2;
  }
  if (options.Help) {
    std::cout << tarvelis::sim::UsageText();
    return 0;
  }
  tarvelis::sim::Simulator simulator(options, std::cout, std::cerr);
  const int status = simulator.Run();
  std::cout.flush();
  return status;
}
