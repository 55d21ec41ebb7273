#include "engine/headless_play.h"

#include "engine/headless_port.h"
#include "engine/turn_loop.h"

namespace tarvelis {
namespace {

class StopAfter : public EngineHooks {
 public:
  StopAfter(EngineContext& ctx, int moves) : ctx_(ctx), moves_(moves) {}
  void MoveMade(GameState& s) override {
    if (s.MoveNumber >= moves_) ctx_.Control.ExitRequested = true;
  }

 private:
  EngineContext& ctx_;
  int moves_;
};

}  // namespace

void PlayHeadlessTo(GameState& state, int moves, std::uint32_t seed) {
  const PerSeat<i16> control = state.SeatControl;
  for (int seat = 1; seat <= kSeats; ++seat) state.SeatControl[seat] = kAutomatic;
  HeadlessPort port(&state);
  Random rng(seed);
  EngineContext ctx(state, port, rng);
  ctx.SeedFromClock = false;
  StopAfter hooks(ctx, moves);
  ctx.Hooks = &hooks;
  RunMatch(ctx, LoopEntry::kNewMatch);
  AdvanceTurn(state);
  state.SeatControl = control;
}

}  // namespace tarvelis
