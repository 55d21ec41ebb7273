// The turn loop: a match is played here, hand after hand, move after move.
//
// One loop at a time. The loop waits inside the table's event handling, so a
// handler may start a new match, load a game or close the program while the
// loop is suspended in a wait. Such a handler never starts a second loop
// inside the first: it calls RunMatch, which, seeing a loop already running,
// only leaves the request in LoopControl and returns. The suspended loop reads
// the control after every wait, unwinds without touching the state again, and
// the outermost RunMatch carries on from the new request. Closing the program
// sets ExitRequested, which unwinds every level and ends RunMatch.
#pragma once

#include <cstdint>

#include "model/game_state.h"
#include "model/random.h"
#include "model/table_port.h"

namespace tarvelis {

enum class LoopEntry : std::uint8_t {
  kNone,
  kNewMatch,    // start a match from hand 1
  kResumeHand,  // carry on with the hand in the state (start-up, the simulator)
  kLoadedGame,  // the same with a saved game the file reader has checked and totalled
};

struct LoopControl {
  bool Running = false;
  LoopEntry Pending = LoopEntry::kNone;
  bool ExitRequested = false;

  bool Unwinding() const { return Pending != LoopEntry::kNone || ExitRequested; }
};

// What a finished hand amounted to, for whoever measures play.
struct HandSummary {
  bool Domino = false;
  bool Tied = false;      // a blocked hand with equal pips
  bool Repeated = false;  // a tie replayed without points
  int Winner = 0;         // HandWinner: a pair in pairs mode, a seat otherwise
  int Points = 0;
};

// Optional hooks for the simulator and the tests; the game runs without them.
class EngineHooks {
 public:
  virtual ~EngineHooks() = default;
  // Chooses the move in hand instead of the computer player; false leaves the
  // choice to EligeJugada.
  virtual bool ChooseMove(GameState&, TablePort*) { return false; }
  virtual void HandDealt(GameState&) {}
  // After a move has been recorded, applied and shown, before the end test.
  virtual void MoveMade(GameState&) {}
  virtual void HandScored(const GameState&, const HandSummary&) {}
};

struct EngineContext {
  GameState& State;
  TablePort& Port;
  Random& Rng;
  LoopControl Control{};
  // In play the deal seeds the generator from the clock, as the game always
  // has; the simulator keeps one seeded stream so a seed replays a match.
  bool SeedFromClock = true;
  EngineHooks* Hooks = nullptr;
  // Moves in hand that broke the rules and were replaced by a legal one; the
  // computer player never makes one, the simulator counts them as faults.
  int IllegalChoices = 0;
  // The hand in play was closed and opened again by the recorder stepping
  // back: every move waits at the continue button, and the hand ends again
  // where it had ended once its moves in force end it.
  bool HandReopened = false;

  EngineContext(GameState& state, TablePort& port, Random& rng)
      : State(state), Port(port), Rng(rng) {}

  // The loop must stop here: a new request arrived, or the match was left.
  bool MustStop() const { return Control.Unwinding() || !State.MatchInProgress; }
};

// Runs a match from `entry` until it ends, the user leaves it, or the program
// closes. Called while a loop already runs, it only queues the request.
void RunMatch(EngineContext& ctx, LoopEntry entry);

// The loop over the turns of the hand in play, and the hands that follow it.
// Returns when the match ends or the loop must stop.
void PlayHand(EngineContext& ctx);

// Seeds the generator from the clock when the context asks for it.
void SeedFromClock(EngineContext& ctx);

}  // namespace tarvelis
