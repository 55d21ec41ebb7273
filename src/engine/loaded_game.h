// A saved game loaded over the game in play. The load replaces the state while
// the turn loop may be waiting at the continue button; play must then restart
// from the loaded position, with the seat that was to move in the saved game
// moving, and never from the position the loop was waiting in.
#pragma once

#include "engine/turn_loop.h"
#include "model/game_state.h"

namespace tarvelis {

// The one way a saved game comes into play once the file reader has checked
// it and computed its totals: the recorder of the old game does not carry
// over, nor does the notice it waited at; the port brings the table up to
// date; and the one turn loop carries on with the loaded hand. A loop waiting
// further down unwinds and the outermost one restarts from the loaded state;
// with no loop running, play starts here.
void ResumeLoadedGame(EngineContext& ctx);

}  // namespace tarvelis
