// Any bytes as a settings-and-state file: the reader must come back with a
// state that is safe to use, a match it keeps must pass the one checker and
// play on headless to the end of its hand without breaking it, and what it
// writes back must read back to the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/consistency.h"
#include "model/random.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"

namespace tarvelis {
namespace {

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

// Checks every move of the resumed hand and ends the run with the hand.
class HandWatch : public EngineHooks {
 public:
  explicit HandWatch(EngineContext& ctx) : ctx_(ctx) {}
  void MoveMade(GameState& s) override {
    const auto faults = CheckState(s, CheckOptions{s.MoveNumber, false});
    if (!faults.empty()) Fail("a resumed hand broke the state", faults.front());
    if (++moves_ > 400) Fail("a resumed hand does not end", std::to_string(moves_));
  }
  void HandScored(const GameState&, const HandSummary&) override {
    ctx_.Control.ExitRequested = true;
  }

 private:
  EngineContext& ctx_;
  int moves_ = 0;
};

std::string ReadAndWrite(GameState& s, const std::string& text) {
  std::istringstream in(text);
  ReadState(s, in);
  return StateFileText(s);
}

}  // namespace
}  // namespace tarvelis

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvelis;
  if (size > kMaxStateFileBytes) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  GameState s;
  ApplyNewFileState(s);
  std::istringstream in(bytes);
  const ReadOutcome outcome = ReadState(s, in);
  if (s.HandInProgress && !outcome.Fault.empty()) Fail("a faulty match was kept", outcome.Fault);
  if (s.HandInProgress) {
    CheckOptions options;
    options.FinishedHand = false;
    const auto faults = CheckState(s, options);
    if (!faults.empty()) Fail("a kept match fails the check", faults.front());
  }

  // Written and read again, the state is a fixed point of the format.
  const std::string text = StateFileText(s);
  GameState again;
  ApplyNewFileState(again);
  const std::string second = ReadAndWrite(again, text);
  if (second != text) Fail("the written state reads back otherwise", second.substr(0, 200));

  if (s.MatchInProgress && s.HandInProgress) {
    for (int seat = 1; seat <= kSeats; ++seat) s.SeatControl[seat] = kAutomatic;
    HeadlessPort port(&s);
    Random rng(7);
    EngineContext ctx(s, port, rng);
    ctx.SeedFromClock = false;
    HandWatch watch(ctx);
    ctx.Hooks = &watch;
    RunMatch(ctx, LoopEntry::kResumeHand);
  }
  return 0;
}
